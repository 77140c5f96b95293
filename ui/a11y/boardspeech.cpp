// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/a11y/boardspeech.h"

#include <QStringList>

#include "ui/a11y/accessible.h"
#include "ui/a11y/announcetexts.h"

namespace zelmo::ui::boardspeech {

namespace {

QString count(double score) {
    // Plain digits at any size, as the chart's description has them.
    return QString::number(score, 'f', 0);
}

}  // namespace

QString board(const engine::GameFlow& flow) {
    QStringList rows;
    for (int row = 0; row < 3; ++row) {
        QStringList cells;
        for (int column = 1; column <= 3; ++column) {
            const engine::Cell& cell = flow.board().at(3 * row + column);
            cells.append(accessible::markName(QString::fromStdString(cell.text())));
        }
        rows.append(announcetexts::kRow.arg(row + 1).arg(cells.join(announcetexts::kRowCells)));
    }
    // The computer answers within the player's move, so during a game it is always the
    // player's turn.
    const QString turn = flow.acceptingMoves()   ? announcetexts::kYourMove
                         : flow.computerStarts() ? announcetexts::kComputerBegins
                                                 : announcetexts::kYouBegin;
    const engine::GameFlow::Scores& scores = flow.scores();
    return QStringList{
        rows.join(announcetexts::kRows), turn,
        announcetexts::kScore.arg(count(scores[0]), count(scores[1]), count(scores[2]))}
        .join(QStringLiteral(". "));
}

QString refusedMove(const engine::GameFlow& flow, int cell) {
    if (!flow.acceptingMoves()) {
        return announcetexts::kNoGame;
    }
    if (cell >= 1 && cell <= engine::Board::kCells && !flow.board().is(cell, engine::kEmpty)) {
        return announcetexts::kCellTaken.arg(cell);
    }
    return {};
}

}  // namespace zelmo::ui::boardspeech
