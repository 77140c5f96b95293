// SPDX-License-Identifier: GPL-3.0-or-later
// Games in the real window by clicks, for the window's tests, the crash driver and the
// benchmarks: the play button, then a player's moves on the cells until the game ends.
#pragma once

#include <array>

#include "engine/players.h"
#include "ui/controls.h"
#include "ui/unit1.h"

namespace zelmo::windowgame {

// The first free cell of a fixed order: the same game every time the computer answers alike.
class OrderPlayer : public engine::Player {
  public:
    explicit OrderPlayer(std::array<int, 9> order = {1, 2, 3, 4, 5, 6, 7, 8, 9}) : order_(order) {}
    int move(const engine::Board& board) override {
        for (const int cell : order_) {
            if (board.at(cell).text() == " ") {
                return cell;
            }
        }
        return order_[0];
    }

  private:
    std::array<int, 9> order_;
};

// The rest of the game that runs: the player's moves until the game ends.
inline void finishGame(ui::TForm1& form, engine::Player& player) {
    while (form.acceptingMoves()) {
        form.cellButton(player.move(form.board()))->click();
    }
}

// One whole game: the play button, then the player's moves.
inline void playGame(ui::TForm1& form, engine::Player& player) {
    form.Button2->click();
    finishGame(form, player);
}

}  // namespace zelmo::windowgame
