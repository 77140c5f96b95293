// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/a11y/accessiblepositions.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QItemSelectionModel>
#include <QPointer>

#include "ui/memoryview/positionlist.h"

namespace zelmo::ui::accessible {

namespace {

// One position of the list: its place among positions is its index in the list. It holds no
// row of its own: after the model changed, the same place may be another position, as the
// same row would in a plain list.
class PositionItem : public QAccessibleInterface {
  public:
    PositionItem(PositionList* list, int position) : list_(list), position_(position) {}

    bool isValid() const override { return list_ != nullptr && position_ < list_->positionCount(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        return list_ != nullptr ? list_->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessibleInterface* childAt(int /*x*/, int /*y*/) const override { return nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(list_.data());
    }
    QAccessibleInterface* child(int /*index*/) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface* /*child*/) const override { return -1; }

    QString text(QAccessible::Text t) const override {
        const QModelIndex item = index();
        if (t != QAccessible::Name || !item.isValid()) {
            return {};
        }
        const QString text = item.data(Qt::AccessibleTextRole).toString();
        return text.isEmpty() ? item.data(Qt::DisplayRole).toString() : text;
    }
    void setText(QAccessible::Text /*t*/, const QString& /*text*/) override {}

    QRect rect() const override {
        const QModelIndex item = index();
        if (!item.isValid()) {
            return {};
        }
        const QRect local = list_->visualRect(item);
        return {list_->viewport()->mapToGlobal(local.topLeft()), local.size()};
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override {
        QAccessible::State s;
        const QModelIndex item = index();
        if (!item.isValid()) {
            s.invalid = true;
            return s;
        }
        s.focusable = true;
        s.selectable = true;
        s.focused = list_->hasFocus() && list_->currentIndex() == item;
        s.selected =
            list_->selectionModel() != nullptr && list_->selectionModel()->isSelected(item);
        if (!list_->isVisible() || !list_->viewport()->rect().intersects(list_->visualRect(item))) {
            s.invisible = !list_->isVisible();
            s.offscreen = true;
        }
        return s;
    }

    int position() const { return position_; }
    const PositionList* list() const { return list_.data(); }

  private:
    QModelIndex index() const {
        if (list_ == nullptr || list_->model() == nullptr) {
            return {};
        }
        const int row = list_->rowOfPosition(position_);
        return row >= 0 ? list_->model()->index(row, 0, list_->rootIndex()) : QModelIndex();
    }

    QPointer<PositionList> list_;
    int position_;
};

class Positions : public QAccessibleWidget {
  public:
    explicit Positions(PositionList* list) : QAccessibleWidget(list, QAccessible::List) {}
    ~Positions() override {
        for (const QAccessible::Id id : std::as_const(items_)) {
            QAccessible::deleteAccessibleInterface(id);
        }
    }
    Positions(const Positions&) = delete;
    Positions& operator=(const Positions&) = delete;

    int childCount() const override { return list()->positionCount(); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount()) {
            return nullptr;
        }
        // An item keeps its identity while its place exists, so that a screen reader that holds
        // it reads it afresh.
        const auto known = items_.constFind(index);
        if (known != items_.constEnd()) {
            if (QAccessibleInterface* item = QAccessible::accessibleInterface(known.value())) {
                return item;
            }
        }
        auto* item = new PositionItem(list(), index);
        items_.insert(index, QAccessible::registerAccessibleInterface(item));
        return item;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const auto* item = dynamic_cast<const PositionItem*>(child);
        return item != nullptr && item->list() == list() && item->isValid() ? item->position() : -1;
    }
    QAccessibleInterface* focusChild() const override {
        return list()->hasFocus() ? child(list()->positionOfRow(list()->currentIndex().row()))
                                  : nullptr;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint local = list()->viewport()->mapFromGlobal(QPoint(x, y));
        const QModelIndex item = list()->indexAt(local);
        return item.isValid() ? child(list()->positionOfRow(item.row())) : nullptr;
    }

  private:
    PositionList* list() const { return static_cast<PositionList*>(widget()); }

    mutable QHash<int, QAccessible::Id> items_;
};

}  // namespace

QAccessibleInterface* newPositionList(PositionList* list) {
    return new Positions(list);
}

}  // namespace zelmo::ui::accessible
