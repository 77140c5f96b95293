// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/history/historytable.h"

#include <QLocale>
#include <QStringList>

#include <array>
#include <cmath>
#include <cstdint>

#include "ui/history/historykeeper.h"
#include "ui/history/historytexts.h"

namespace zelmo::ui {

namespace {

enum Column { kGames, kPlayerWins, kComputerWins, kDraws, kPositions, kColumns };

QString count(std::uint64_t n) {
    return QLocale(QLocale::Russian).toString(static_cast<qulonglong>(n));
}

int percent(std::uint64_t part, std::uint64_t whole) {
    return whole == 0 ? 0
                      : static_cast<int>(std::lround(100.0 * static_cast<double>(part) /
                                                     static_cast<double>(whole)));
}

// «упали с 48 % до 4 %», «выросли с 22 % до 96 %», «остались на 30 %».
QString change(int from, int to) {
    if (from == to) {
        return historytexts::kStayed.arg(to);
    }
    return (to < from ? historytexts::kFell : historytexts::kRose).arg(from).arg(to);
}

}  // namespace

HistoryTableModel::HistoryTableModel(const HistoryKeeper& keeper, QObject* parent)
    : QAbstractTableModel(parent), keeper_(keeper) {
    refresh();
}

void HistoryTableModel::refresh() {
    beginResetModel();
    rows_ = static_cast<int>(keeper_.history().blocks().size());
    endResetModel();
}

int HistoryTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int HistoryTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant HistoryTableModel::data(const QModelIndex& index, int role) const {
    const auto& blocks = keeper_.history().blocks();
    if (!index.isValid() || index.row() >= static_cast<int>(blocks.size()) ||
        (role != Qt::DisplayRole && role != Qt::AccessibleTextRole &&
         role != Qt::TextAlignmentRole)) {
        return {};
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    }
    // The games before this block, to name its first and last game.
    std::uint64_t before = 0;
    for (int row = 0; row < index.row(); ++row) {
        before += blocks[static_cast<std::size_t>(row)].games();
    }
    const engine::HistoryBlock& block = blocks[static_cast<std::size_t>(index.row())];
    const std::uint64_t games = block.games();
    switch (index.column()) {
        case kGames:
            return historytexts::kGameRange.arg(count(before + 1), count(before + games));
        case kPlayerWins:
            return historytexts::kShare.arg(percent(block.playerWins, games));
        case kComputerWins:
            return historytexts::kShare.arg(percent(block.computerWins, games));
        case kDraws:
            return historytexts::kShare.arg(percent(block.draws, games));
        default:
            return QString::number(block.positions);
    }
}

QVariant HistoryTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= kColumns) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    static const QString* const kHeaders[kColumns] = {
        &historytexts::kGamesColumn, &historytexts::kPlayerWins, &historytexts::kComputerWins,
        &historytexts::kDraws, &historytexts::kPositionsColumn};
    return *kHeaders[section];
}

QString courseSummary(const engine::LearningHistory& history) {
    if (history.empty()) {
        return {};
    }
    const engine::HistoryBlock& first = history.blocks().front();
    const engine::HistoryBlock& last = history.blocks().back();
    const auto shares = [](const engine::HistoryBlock& block) {
        return std::array<int, 3>{percent(block.playerWins, block.games()),
                                  percent(block.computerWins, block.games()),
                                  percent(block.draws, block.games())};
    };
    const std::array<int, 3> from = shares(first);
    const std::array<int, 3> to = shares(last);
    const QString games = QString::fromStdString(
        engine::countOf(static_cast<std::int64_t>(history.games()), historytexts::kGamesAfterFor));
    return historytexts::kCourse.arg(games, change(from[0], to[0]), change(from[1], to[1]),
                                     change(from[2], to[2]));
}

}  // namespace zelmo::ui
