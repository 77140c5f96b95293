// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/game/lesson.h"

#include "engine/game/orientation.h"

#include <algorithm>

namespace zelmo::engine {

HistoryGame historyGame(const FinishedGame& game) {
    return HistoryGame{game.outcome, game.computerBegan, historyGradesOf(game.grades),
                       game.entryCount};
}

GameLesson lastLesson(const PositionMemory& memory, Outcome outcome) {
    GameLesson lesson;
    lesson.outcome = outcome;
    lesson.answers.reserve(memory.lastGraded().size());
    for (const GradedAnswer& graded : memory.lastGraded()) {
        LessonAnswer answer;
        answer.entry = graded.entry;
        answer.slot = graded.slot;
        answer.keptCell = graded.cell;
        if (graded.turns >= 0) {
            answer.boardCell = boardCellOf(answer.keptCell, graded.turns);
        }
        answer.weightBefore = graded.weightBefore;
        answer.weightAfter = graded.weightAfter;
        answer.grade = graded.grade;
        answer.graded = graded.graded;
        lesson.answers.push_back(answer);
    }
    // Graded in the order of the entries; told in the order played. Each move of the computer
    // came on a board with more marks than the one before, so the marks order them.
    const auto marks = [&memory](const LessonAnswer& answer) {
        const Board& position = memory[answer.entry].Position;
        int count = 0;
        for (int k = 1; k <= Board::kCells; ++k) {
            count += position.is(k, kEmpty) ? 0 : 1;
        }
        return count;
    };
    std::stable_sort(
        lesson.answers.begin(), lesson.answers.end(),
        [&marks](const LessonAnswer& a, const LessonAnswer& b) { return marks(a) < marks(b); });
    return lesson;
}

}  // namespace zelmo::engine
