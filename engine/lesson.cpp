// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/lesson.h"

#include "engine/orientation.h"

namespace zelmo::engine {

HistoryGame historyGame(const FinishedGame& game, const HistoryGrades& grades) {
    return HistoryGame{game.outcome, game.computerBegan, grades, game.entryCount};
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
    return lesson;
}

}  // namespace zelmo::engine
