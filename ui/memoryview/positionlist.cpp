// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/memoryview/positionlist.h"

#include <QItemSelection>

#include <algorithm>

namespace zelmo::ui {

PositionList::PositionList(QWidget* parent) : QListView(parent) {}

void PositionList::setModel(QAbstractItemModel* model) {
    if (QAbstractItemModel* old = this->model()) {
        disconnect(old, nullptr, this, nullptr);
    }
    QListView::setModel(model);
    stale_ = true;
    if (model == nullptr) {
        return;
    }
    // Any change may turn a position into a heading or add one: the rows are read again when
    // next asked for.
    const auto restale = [this] { stale_ = true; };
    connect(model, &QAbstractItemModel::rowsInserted, this, restale);
    connect(model, &QAbstractItemModel::rowsRemoved, this, restale);
    connect(model, &QAbstractItemModel::rowsMoved, this, restale);
    connect(model, &QAbstractItemModel::modelReset, this, restale);
    connect(model, &QAbstractItemModel::layoutChanged, this, restale);
    connect(model, &QAbstractItemModel::dataChanged, this, restale);
}

const std::vector<int>& PositionList::positionRows() const {
    if (stale_) {
        rows_.clear();
        const QAbstractItemModel* items = model();
        const int rows = items != nullptr ? items->rowCount(rootIndex()) : 0;
        for (int row = 0; row < rows; ++row) {
            if (items->flags(items->index(row, 0, rootIndex())).testFlag(Qt::ItemIsEnabled)) {
                rows_.push_back(row);
            }
        }
        stale_ = false;
    }
    return rows_;
}

int PositionList::positionCount() const {
    return static_cast<int>(positionRows().size());
}

int PositionList::rowOfPosition(int position) const {
    const std::vector<int>& rows = positionRows();
    return position >= 0 && position < static_cast<int>(rows.size())
               ? rows[static_cast<std::size_t>(position)]
               : -1;
}

int PositionList::positionOfRow(int row) const {
    const std::vector<int>& rows = positionRows();
    const auto found = std::lower_bound(rows.begin(), rows.end(), row);
    return found != rows.end() && *found == row ? static_cast<int>(found - rows.begin()) : -1;
}

void PositionList::tellCurrent() {
    const int position = positionOfRow(currentIndex().row());
    if (!QAccessible::isActive() || !hasFocus() || position < 0) {
        return;
    }
    QAccessibleEvent focus(this, QAccessible::Focus);
    focus.setChild(position);
    QAccessible::updateAccessibility(&focus);
}

void PositionList::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    // QListView's own tells the row, which counts the headings: its base does the rest.
    // NOLINTNEXTLINE(bugprone-parent-virtual-call)
    QAbstractItemView::currentChanged(current, previous);
    if (current.isValid()) {
        tellCurrent();
    }
}

void PositionList::selectionChanged(const QItemSelection& selected,
                                    const QItemSelection& deselected) {
    // As currentChanged: the rows told by QListView would count the headings.
    // NOLINTNEXTLINE(bugprone-parent-virtual-call)
    QAbstractItemView::selectionChanged(selected, deselected);
    if (QAccessible::isActive()) {
        tellSelection(selected, QAccessible::SelectionAdd);
        tellSelection(deselected, QAccessible::SelectionRemove);
    }
}

void PositionList::tellSelection(const QItemSelection& rows, QAccessible::Event type) {
    // One selected item at a time: the first of a range stands for it, as in QListView.
    const QModelIndex first = rows.indexes().value(0);
    const int position = first.isValid() ? positionOfRow(first.row()) : -1;
    if (position >= 0) {
        QAccessibleEvent event(this, type);
        event.setChild(position);
        QAccessible::updateAccessibility(&event);
    }
}

}  // namespace zelmo::ui
