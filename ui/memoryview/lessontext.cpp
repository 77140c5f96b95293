// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/memoryview/lessontext.h"

#include <QStringList>

#include "engine/game/grades.h"
#include "ui/memoryview/memorytexts.h"
#include "ui/widgets/texts.h"

namespace zelmo::ui {

namespace {

QString outcomeName(engine::Outcome outcome) {
    switch (outcome) {
        case engine::Outcome::PlayerWin:
            return memorytexts::kLessonPlayerWin;
        case engine::Outcome::ComputerWin:
            return memorytexts::kLessonComputerWin;
        case engine::Outcome::Draw:
            break;
    }
    return memorytexts::kLessonDraw;
}

// The grade's name as the grade panel shows it.
QString gradeName(engine::Grade grade) {
    switch (grade) {
        case engine::Grade::Win:
            return texts::kWinGrade;
        case engine::Grade::Loss:
            return texts::kLossGrade;
        case engine::Grade::Draw:
            break;
    }
    return texts::kDrawGrade;
}

QString signedNumber(std::int64_t value) {
    return value > 0 ? QStringLiteral("+%1").arg(value) : QString::number(value);
}

}  // namespace

QString lessonText(const engine::GameLesson& lesson) {
    if (lesson.answers.empty()) {
        return memorytexts::kLessonNone.arg(outcomeName(lesson.outcome));
    }
    const QString grade = gradeName(engine::gradeOf(lesson.outcome));
    QStringList answers;
    for (const engine::LessonAnswer& answer : lesson.answers) {
        const int cell = answer.boardCell.value_or(answer.keptCell);
        if (!answer.graded) {
            answers << memorytexts::kLessonUngraded.arg(cell).arg(answer.weightBefore);
            continue;
        }
        answers << memorytexts::kLessonAnswer.arg(cell)
                       .arg(answer.weightBefore)
                       .arg(answer.weightAfter)
                       .arg(grade)
                       .arg(answer.grade)
                       .arg(signedNumber(static_cast<std::int64_t>(answer.weightAfter) -
                                         answer.weightBefore));
    }
    return memorytexts::kLesson.arg(outcomeName(lesson.outcome),
                                    answers.join(QStringLiteral("; ")));
}

}  // namespace zelmo::ui
