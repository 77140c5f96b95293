// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>
#include <QString>

#include "engine/game/history.h"

namespace zelmo::ui {

class HistoryKeeper;

// The history's blocks as a table a screen reader can walk row by row, under the plot of the
// history's window: the games of each block, the shares of player wins, computer wins and
// draws, and the positions remembered at its end. It reads the keeper; refresh() reads it again.
class HistoryTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit HistoryTableModel(const HistoryKeeper& keeper, QObject* parent = nullptr);

    void refresh();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    const HistoryKeeper& keeper_;
    int rows_ = 0;
};

// The whole course in words: «За 2 000 партий победы игрока упали с 48 % до 4 %, победы
// компьютера выросли с 30 % до 0 %, ничьи выросли с 22 % до 96 %», from the first block to the
// last; "" for an empty history.
QString courseSummary(const engine::LearningHistory& history);

}  // namespace zelmo::ui
