// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/memoryview/memorymodel.h"

#include <QStringList>

#include <algorithm>

#include "engine/game/grouping.h"
#include "engine/game/orientation.h"
#include "engine/game/plural.h"
#include "engine/game/texts.h"
#include "ui/a11y/accessible.h"
#include "ui/memoryview/memorytexts.h"

namespace zelmo::ui {

MemoryModel::MemoryModel(const engine::GameFlow& flow, QObject* parent)
    : QAbstractListModel(parent), flow_(flow) {}

MatchBox MemoryModel::boxOf(const engine::MemoryEntry& entry) {
    MatchBox box;
    int empty = 0;
    for (int k = 1; k <= 9; ++k) {
        const char c = entry.Position.at(k).character();
        box.marks[static_cast<std::size_t>(k - 1)] = c == 'X' || c == '0' ? c : ' ';
        empty += c == 'X' || c == '0' ? 0 : 1;
    }
    for (int s = 1; s <= engine::MemoryEntry::kSlots; ++s) {
        const engine::MoveSlot& slot = entry.Slots[s];
        if (slot.Answer < 1 || slot.Answer > 9) {
            continue;
        }
        const auto cell = static_cast<std::size_t>(slot.Answer - 1);
        box.weights[cell] = slot.Weight;
        box.beads[cell] = slot.Weight > 0    ? MatchBox::Bead::Positive
                          : slot.Weight == 0 ? MatchBox::Bead::Zero
                                             : MatchBox::Bead::Negative;
        if (slot.Used) {
            box.played = slot.Answer;
        }
    }
    // The computer's own rule; an entry without answers has nothing to choose.
    const int chosen = entry.filledCount() > 0 ? entry.chosenSlot(empty) : 0;
    box.chosen = chosen != 0 ? entry.Slots[chosen].Answer : 0;
    return box;
}

std::vector<MatchBox> MemoryModel::read() const {
    const int count = std::clamp(flow_.entryCount(), 0, engine::PositionMemory::Capacity);
    const engine::PositionMemory& memory = flow_.memory();
    // Answers marked as played in a memory read from a file belong to a game of another run:
    // nothing is this window's game before its first one starts.
    const bool inGame = flow_.gameNumber() > 0;
    std::vector<MatchBox> rows;
    const std::vector<engine::StageGroup> groups =
        engine::groupEntries(memory, count, engine::EntryOrder::MostPlayed);
    rows.reserve(static_cast<std::size_t>(count) + groups.size());
    for (const engine::StageGroup& group : groups) {
        MatchBox heading;
        heading.stage = group.stage;
        heading.groupSize = static_cast<int>(group.entries.size());
        rows.push_back(heading);
        for (const int j : group.entries) {
            const bool onBoard = inGame && memory.usedTurns(j).has_value();
            MatchBox box = boxOf(onBoard ? engine::entryAsPlayed(memory, j) : memory[j]);
            box.played = inGame ? box.played : 0;
            box.entry = j;
            box.onBoard = onBoard;
            box.plays = memory.plays(j);
            box.stage = group.stage;
            rows.push_back(box);
        }
    }
    return rows;
}

void MemoryModel::refresh() {
    std::vector<MatchBox> rows = read();
    const int count = static_cast<int>(rows.size());
    const int old = static_cast<int>(boxes_.size());
    if (count < old) {
        beginRemoveRows(QModelIndex(), count, old - 1);
        boxes_.resize(static_cast<std::size_t>(count));
        endRemoveRows();
    }
    int firstChanged = -1;
    int lastChanged = -1;
    for (int row = 0; row < std::min(count, old); ++row) {
        MatchBox& box = rows[static_cast<std::size_t>(row)];
        MatchBox& shown = boxes_[static_cast<std::size_t>(row)];
        if (!(box == shown)) {
            shown = box;
            firstChanged = firstChanged < 0 ? row : firstChanged;
            lastChanged = row;
        }
    }
    if (count > old) {
        beginInsertRows(QModelIndex(), old, count - 1);
        boxes_.insert(boxes_.end(), rows.begin() + old, rows.end());
        endInsertRows();
    }
    if (firstChanged >= 0) {
        emit dataChanged(index(firstChanged), index(lastChanged));
    }
}

int MemoryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(boxes_.size());
}

QVariant MemoryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const MatchBox& shown = box(index.row());
    switch (role) {
        case Qt::AccessibleTextRole:
        case Qt::DisplayRole:
        case Qt::ToolTipRole:
            return describe(shown, shown.entry);
        default:
            return {};
    }
}

Qt::ItemFlags MemoryModel::flags(const QModelIndex& index) const {
    // A heading is read in passing: the arrows step over it to the boxes.
    if (index.isValid() && index.row() < rowCount() && box(index.row()).heading()) {
        return Qt::NoItemFlags;
    }
    return QAbstractListModel::flags(index);
}

QString MemoryModel::summary() const {
    using engine::countOf;
    if (boxes_.empty()) {
        return memorytexts::kNothingRemembered;
    }
    int positiveAnswers = 0;
    int positions = 0;
    for (const MatchBox& box : boxes_) {
        positions += box.heading() ? 0 : 1;
        positiveAnswers += static_cast<int>(
            std::count(box.beads.begin(), box.beads.end(), MatchBox::Bead::Positive));
    }
    const engine::GameFlow::Scores& scores = flow_.scores();
    const double gamesPlayed = scores[0] + scores[1] + scores[2];
    return memorytexts::kSummary
        .arg(QString::fromStdString(countOf(positions, memorytexts::kPositions)))
        .arg(engine::PositionMemory::Capacity)
        .arg(QString::fromStdString(countOf(positiveAnswers, memorytexts::kAnswers)))
        .arg(QString::fromStdString(
            countOf(static_cast<std::int64_t>(memoryGames_), engine::texts::kGames)))
        .arg(QString::fromStdString(
            countOf(static_cast<std::int64_t>(gamesPlayed), engine::texts::kGames)));
}

QString MemoryModel::headingText(int stage, int groupSize) {
    const std::size_t index = static_cast<std::size_t>(
        std::clamp(stage, 1, static_cast<int>(memorytexts::kStages.size())) - 1);
    return memorytexts::kHeading.arg(memorytexts::kStages[index])
        .arg(QString::fromStdString(engine::countOf(groupSize, memorytexts::kPositions)));
}

QString MemoryModel::describe(const MatchBox& box, int number) {
    if (box.heading()) {
        return headingText(box.stage, box.groupSize);
    }
    QStringList cells;
    for (int k = 1; k <= 9; ++k) {
        const auto i = static_cast<std::size_t>(k - 1);
        QString cell = memorytexts::kCell.arg(k).arg(accessible::markName(QChar(box.marks[i])));
        if (box.beads[i] != MatchBox::Bead::None) {
            cell += memorytexts::kWeight.arg(box.weights[i]);
        }
        cells << cell;
    }
    QString text = memorytexts::kBoxName.arg(number).arg(cells.join(QStringLiteral(", ")));
    if (box.chosen != 0) {
        text += memorytexts::kChosen.arg(box.chosen);
    }
    if (box.played != 0) {
        text += memorytexts::kPlayed.arg(box.played);
    }
    if (box.onBoard) {
        text += memorytexts::kOnBoard;
    }
    return text;
}

QString MemoryModel::beadLabel(std::int32_t weight) {
    // Up to four digits as they are; beyond, thousands and millions with one decimal while
    // the whole part is a single digit ("12к", "945к", "1,9М", "2147М").
    const std::int64_t magnitude = weight < 0 ? -static_cast<std::int64_t>(weight) : weight;
    if (magnitude < 10000) {
        return QString::number(weight);
    }
    const bool millions = magnitude >= 1000000;
    const std::int64_t unit = millions ? 1000000 : 1000;
    const QString sign = weight < 0 ? QStringLiteral("-") : QString();
    const QString suffix = millions ? memorytexts::kMillions : memorytexts::kThousands;
    if (magnitude < 10 * unit) {
        const std::int64_t tenths = magnitude * 10 / unit;
        return sign + QString::number(tenths / 10) + QLatin1Char(',') +
               QString::number(tenths % 10) + suffix;
    }
    return sign + QString::number(magnitude / unit) + suffix;
}

QColor MemoryModel::beadColour(MatchBox::Bead bead) {
    switch (bead) {
        case MatchBox::Bead::Positive:
            return QColor(0x2e, 0x9e, 0x3a);  // green: it will play it again
        case MatchBox::Bead::Negative:
            return QColor(0xd3, 0x2f, 0x2f);  // red: given up
        case MatchBox::Bead::Zero:
            return QColor(0xf2, 0xc0, 0x1e);  // amber: tried, nothing earned
        case MatchBox::Bead::None:
            break;
    }
    return {};
}

}  // namespace zelmo::ui
