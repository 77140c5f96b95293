// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/game/gameflow.h"
#include "engine/game/history.h"
#include "engine/game/memory.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace zelmo::engine {

// What a game that just ended leaves for the learning views, read in the game flow's end-of-game
// call (GameFlow::gameFinished): the game as the history takes it, and its lesson.

// The game the flow has just told its listeners of, under the grades in force at its end.
HistoryGame historyGame(const FinishedGame& game);

// What the last game taught the computer, for the memory view: every answer it played, with
// its weight before and after the grading and the grade that changed it. Read from the memory
// in the game flow's end-of-game call, before the next game clears the used marks.
struct LessonAnswer {
    int entry = 0;
    int slot = 0;
    int keptCell = 0;              // the answer's cell in the position as kept
    std::optional<int> boardCell;  // the same cell on the game's board, when its turn is known
    std::int32_t weightBefore = 0;
    std::int32_t weightAfter = 0;
    std::int32_t grade = 0;
    bool graded = false;  // false: a weight overflow stopped the grading at or before it
};

struct GameLesson {
    Outcome outcome = Outcome::Draw;
    std::vector<LessonAnswer> answers;  // in the order the computer played them
};

// The lesson of the game that just ended with `outcome` (PositionMemory::lastGraded).
GameLesson lastLesson(const PositionMemory& memory, Outcome outcome);

}  // namespace zelmo::engine
