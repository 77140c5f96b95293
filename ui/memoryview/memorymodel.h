// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractListModel>
#include <QColor>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

#include "engine/game/gameflow.h"

namespace zelmo::ui {

// What the memory view shows of one remembered position, read from the game flow: its marks,
// the weight of every answer tried (by cell), the answer the computer would play now and the
// answer played in the game in progress.
struct MatchBox {
    enum class Bead : std::uint8_t { None, Positive, Zero, Negative };

    std::array<char, 9> marks{};  // ' ', 'X' or '0' for cells 1..9
    std::array<Bead, 9> beads{};
    std::array<std::int32_t, 9> weights{};
    int chosen = 0;  // the cell it would play now (its comp rule), 0 when it would try a new one
    int played = 0;  // the cell played in the game in progress, 0 when not in this game
    int entry = 0;   // the entry's number in the memory (1..), 0 for a heading
    // Turned to the board of the game in progress (its position and answers as the player
    // sees them); false: as the computer keeps it.
    bool onBoard = false;
    std::uint32_t plays = 0;  // the computer's answers in this position so far
    // A group's heading row instead of a position: the computer's answer it heads (1..5) and
    // the positions in the group.
    int stage = 0;
    int groupSize = 0;

    bool heading() const { return stage != 0 && entry == 0; }

    friend bool operator==(const MatchBox&, const MatchBox&) = default;
};

// The computer's memory as a list of match boxes, one per entry in use, for the memory view
// (a QListView), grouped by the computer's answer at which it meets them (engine/game/grouping.h):
// a heading row, then the group's positions, the most played first. The positions of the game
// in progress are turned to its board. It only reads the game flow; refresh() copies what
// changed and tells the view.
class MemoryModel : public QAbstractListModel {
    Q_OBJECT
  public:
    explicit MemoryModel(const engine::GameFlow& flow, QObject* parent = nullptr);

    // Reads the memory again; rows are added or removed as the entry count changed.
    void refresh();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    const MatchBox& box(int row) const { return boxes_.at(static_cast<std::size_t>(row)); }
    // The summary line: positions out of the table's size, answers with a positive weight,
    // the games the memory has seen (its history) and those of this window.
    QString summary() const;
    // The games in the memory's history.
    void setMemoryGames(std::uint64_t games) { memoryGames_ = games; }
    // What a screen reader reads for a box: the position and its weights, in Russian; for a
    // heading, the heading.
    static QString describe(const MatchBox& box, int number);
    static QString headingText(int stage, int groupSize);
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    static QColor beadColour(MatchBox::Bead bead);
    // The number on a bead: short enough to read in it at any weight (the exact weight is in
    // the box's name and tool tip).
    static QString beadLabel(std::int32_t weight);

    // Reads one entry (the model's rule, shared with the benchmark).
    static MatchBox boxOf(const engine::MemoryEntry& entry);

  private:
    // The rows as the memory is now.
    std::vector<MatchBox> read() const;

    const engine::GameFlow& flow_;
    std::vector<MatchBox> boxes_;
    std::uint64_t memoryGames_ = 0;
};

}  // namespace zelmo::ui
