// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractListModel>
#include <QColor>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

#include "engine/gameflow.h"

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

    friend bool operator==(const MatchBox&, const MatchBox&) = default;
};

// The computer's memory as a list of match boxes, one per entry in use, for the memory view
// (a QListView). It only reads the game flow; refresh() copies what changed and tells the view.
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
    // games played.
    QString summary() const;
    // What a screen reader reads for a box: the position and its weights, in Russian.
    static QString describe(const MatchBox& box, int number);
    static QColor beadColour(MatchBox::Bead bead);
    // The number on a bead: short enough to read in it at any weight (the exact weight is in
    // the box's name and tool tip).
    static QString beadLabel(std::int32_t weight);

    // Reads one entry (the model's rule, shared with the benchmark).
    static MatchBox boxOf(const engine::MemoryEntry& entry);

  private:
    const engine::GameFlow& flow_;
    std::vector<MatchBox> boxes_;
};

}  // namespace zelmo::ui
