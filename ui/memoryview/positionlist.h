// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessible>
#include <QListView>

#include <vector>

namespace zelmo::ui {

// The memory view's list of match boxes. Its rows are positions and the headings of their
// groups, told apart by the model's flags (a heading is not enabled); assistive technology
// sees the positions alone, numbered among themselves, so that a screen reader counts
// «5 of 312» over positions, while the headings are drawn as they are and spoken when the keys
// enter their group (MemoryView). Its accessible interface is in ui/a11y/accessiblepositions.
class PositionList : public QListView {
    Q_OBJECT
  public:
    explicit PositionList(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;

    int positionCount() const;
    // The row of the position at `position` (0-based) among positions, or -1.
    int rowOfPosition(int position) const;
    // The place of `row` among positions, or -1 for a heading or a row out of range.
    int positionOfRow(int row) const;

    // Tells assistive technology that the current position has the focus, when the list has it.
    void tellCurrent();

  protected:
    // QListView numbers the items it tells of by their rows, headings included; these tell
    // them by their places among positions instead.
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;

  private:
    const std::vector<int>& positionRows() const;
    void tellSelection(const QItemSelection& rows, QAccessible::Event type);

    // The rows of the positions in order, read again after any change of the model.
    mutable std::vector<int> rows_;
    mutable bool stale_ = true;
};

}  // namespace zelmo::ui
