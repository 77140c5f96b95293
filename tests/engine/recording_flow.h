#pragma once

#include "engine/gameflow.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace zelmo::engine::test {

// A game flow with a recording display: it keeps what the window would show, answers grade
// readings from settable spinner values (counting the readings) and runs on a settable clock.
// Tests also use it to set up a memory directly.
class RecordingFlow : public GameFlow {
  public:
    RecordingFlow() {
        setClock([this] { return clockMs; });
        for (int k = 0; k <= 9; ++k) {
            cells[k] = Cell();
        }
    }

    // Display state as the window would hold it.
    Cell cells[10];  // index 1..9
    std::int32_t shownGameNumber = -1;
    std::int32_t shownEntryCount = -1;
    std::string status = "<none>";
    bool playEnabled = true;
    std::vector<std::string> scoreLabels;
    std::vector<double> scores;
    std::map<int, std::int32_t> grades = {{1, 3}, {2, 3}, {3, 3}};
    std::map<int, int> gradeReads;
    int scoreSets = 0;
    bool sawSkipMark = false;
    std::uint32_t clockMs = 0;

    MemoryEntry& entry(int j) { return PositionMemory_[j]; }
    void setEntryCount(std::int32_t count) { EntryCount = count; }
    // Places marks on the board as a game would have, keeping MoveCount consistent.
    void setBoard(const std::string& nineCells) {
        int marks = 0;
        for (int k = 1; k <= 9; ++k) {
            Board_.set(k, Cell(nineCells[static_cast<std::size_t>(k - 1)]));
            marks += nineCells[static_cast<std::size_t>(k - 1)] != ' ' ? 1 : 0;
        }
        MoveCount = marks;
    }
    std::string shownBoard() const {
        std::string text;
        for (int k = 1; k <= 9; ++k) {
            text += cells[k].text();
        }
        return text;
    }
    int totalGradeReads() const {
        int total = 0;
        for (const auto& [spinner, count] : gradeReads) {
            total += count;
        }
        return total;
    }

  protected:
    void showCell(int k, const Cell& value) override {
        cells[k] = value;
        sawSkipMark = sawSkipMark || value == kSkip;
    }
    void showGameNumber(std::int32_t number) override { shownGameNumber = number; }
    void showEntryCount(std::int32_t count) override { shownEntryCount = count; }
    void showStatus(const std::string& utf8Text) override { status = utf8Text; }
    void setPlayEnabled(bool enabled) override { playEnabled = enabled; }
    std::int32_t readGrade(int spinner) override {
        ++gradeReads[spinner];
        return grades.at(spinner);
    }
    void addScorePoint(const std::string& utf8Label) override {
        scoreLabels.push_back(utf8Label);
        scores.push_back(0);
    }
    double scoreValue(int index) override { return scores.at(static_cast<std::size_t>(index)); }
    void setScoreValue(int index, double value) override {
        ++scoreSets;
        scores.at(static_cast<std::size_t>(index)) = value;
    }
};

// The state a seed of the clock gives the generator's first draw: Random(8) is the top three
// bits of seed * 134775813 + 1 (mod 2^32). Returns a seed whose first draw is `draw` (0..7).
inline std::uint32_t seedForDraw(int draw) {
    for (std::uint32_t seed = 0;; ++seed) {
        if (static_cast<int>((seed * 134775813u + 1u) >> 29) == draw) {
            return seed;
        }
    }
}

}  // namespace zelmo::engine::test
