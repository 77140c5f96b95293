// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/a11y/accessible.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>
#include <QSizeGrip>
#include <QTextEdit>

#include "ui/a11y/accessiblepositions.h"
#include "ui/a11y/accessiblespin.h"
#include "ui/a11y/accessibletext.h"
#include "ui/a11y/announce.h"
#include "ui/memoryview/positionlist.h"
#include "ui/spin/spinedit.h"
#include "ui/widgets/controls.h"
#include "ui/widgets/texts.h"

namespace zelmo::ui::accessible {

namespace {

// Controls are recognised by the names the window gives them, which are set right after they are
// built and never change.
const QString kCellPrefix = QStringLiteral("SpeedButton");

// A window or a panel whose caption labels are read as part of another control (a counter's
// caption) or as its own name (the grade panel's heading): they are left out of its children,
// so that no text is read twice.
class Container : public QAccessibleWidget {
  public:
    Container(QWidget* widget, QAccessible::Role role, QStringList merged)
        : QAccessibleWidget(widget, role), merged_(std::move(merged)) {}

    int childCount() const override { return static_cast<int>(shown().size()); }
    QAccessibleInterface* child(int index) const override {
        const QList<QWidget*> children = shown();
        if (index < 0 || index >= children.size()) {
            return nullptr;
        }
        return QAccessible::queryAccessibleInterface(children.at(index));
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (child == nullptr || !child->object() || !child->object()->isWidgetType()) {
            return -1;
        }
        return static_cast<int>(shown().indexOf(static_cast<QWidget*>(child->object())));
    }

  private:
    QList<QWidget*> shown() const {
        QList<QWidget*> children;
        for (QObject* object : widget()->children()) {
            auto* child = qobject_cast<QWidget*>(object);
            if (child != nullptr && !child->isWindow() && !merged_.contains(child->objectName())) {
                children.append(child);
            }
        }
        return children;
    }

    QStringList merged_;
};

// A cell: a button named by its number and its mark, pressed by the digit of its number.
class Cell : public QAccessibleWidget {
  public:
    Cell(QAbstractButton* button, int number)
        : QAccessibleWidget(button, QAccessible::Button), number_(number) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) {
            return cellName(number_, button()->text());
        }
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override { return {pressAction()}; }
    QStringList keyBindingsForAction(const QString& action) const override {
        return action == pressAction() ? QStringList{QString::number(number_)} : QStringList{};
    }
    void doAction(const QString& action) override {
        if (action == pressAction() && button()->isEnabled()) {
            button()->click();
        }
    }

  private:
    QAbstractButton* button() const { return static_cast<QAbstractButton*>(widget()); }
    int number_;
};

// A counter: its caption and its number, read as one label ("Партия: 3").
class Counter : public QAccessibleWidget {
  public:
    Counter(QLabel* label, QString caption)
        : QAccessibleWidget(label, QAccessible::StaticText), caption_(std::move(caption)) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) {
            const QWidget* parent = widget()->parentWidget();
            const auto* caption =
                parent != nullptr ? parent->findChild<QLabel*>(caption_, Qt::FindDirectChildrenOnly)
                                  : nullptr;
            const QString number = static_cast<QLabel*>(widget())->text();
            return caption != nullptr ? counterName(caption->text(), number) : number;
        }
        return QAccessibleWidget::text(t);
    }

  private:
    QString caption_;
};

// A contact link: named by its text, opened by its press action like by a click.
class Link : public QAccessibleWidget {
  public:
    explicit Link(TLabel* label) : QAccessibleWidget(label, QAccessible::Link) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            return static_cast<QLabel*>(widget())->text();
        }
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override {
        if (action == pressAction() && widget()->isEnabled()) {
            emit static_cast<TLabel*>(widget())->clicked();
        }
    }
};

// The announcer: a notification whose name is the message read out last.
class Notification : public QAccessibleWidget {
  public:
    explicit Notification(Announcer* announcer)
        : QAccessibleWidget(announcer, QAccessible::Notification) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) {
            return static_cast<Announcer*>(widget())->message();
        }
        return QAccessibleWidget::text(t);
    }
};

int cellNumber(const QWidget* widget) {
    const QString name = widget->objectName();
    if (!name.startsWith(kCellPrefix)) {
        return 0;
    }
    bool ok = false;
    const int number = name.sliced(kCellPrefix.size()).toInt(&ok);
    return ok && number >= 1 && number <= 9 ? number : 0;
}

QAccessibleInterface* factory(const QString& /*className*/, QObject* object) {
    if (object == nullptr || !object->isWidgetType()) {
        return nullptr;
    }
    auto* widget = static_cast<QWidget*>(object);
    const QString name = widget->objectName();
    if (name == QLatin1String("Form1")) {
        return new Container(widget, QAccessible::Window,
                             {QStringLiteral("Label6"), QStringLiteral("Label7")});
    }
    if (qobject_cast<QSizeGrip*>(widget) != nullptr) {
        return new QAccessibleWidget(widget, QAccessible::Grip, texts::kSizeGripName);
    }
    if (name == QLatin1String("MemoryView") && widget->isWindow()) {
        return new QAccessibleWidget(widget, QAccessible::Window);
    }
    if (name == QLatin1String("HelpText")) {
        auto* help = qobject_cast<QTextEdit*>(widget);
        return help != nullptr ? newSpokenText(help) : nullptr;
    }
    if (auto* positions = qobject_cast<PositionList*>(widget)) {
        return newPositionList(positions);
    }
    if (qobject_cast<TPanel*>(widget) != nullptr) {
        return new Container(widget, QAccessible::Grouping, {QStringLiteral("Label5")});
    }
    if (auto* announcer = qobject_cast<Announcer*>(widget)) {
        return new Notification(announcer);
    }
    if (auto* spin = qobject_cast<TSpinEdit*>(widget)) {
        return newSpinBox(spin);
    }
    if (auto* cell = qobject_cast<TSpeedButton*>(widget)) {
        const int number = cellNumber(cell);
        return number != 0 ? new Cell(cell, number) : nullptr;
    }
    if (auto* label = qobject_cast<TLabel*>(widget)) {
        if (name == QLatin1String("Label2")) {
            return new Counter(label, QStringLiteral("Label6"));
        }
        if (name == QLatin1String("Label8")) {
            return new Counter(label, QStringLiteral("Label7"));
        }
        if (name == QLatin1String("Label9") || name == QLatin1String("Label10")) {
            return new Link(label);
        }
        return nullptr;
    }
    if (name == QLatin1String("Chart1")) {
        return new QAccessibleWidget(widget, QAccessible::Chart);
    }
    return nullptr;
}

}  // namespace

QString counterName(const QString& caption, const QString& number) {
    return caption + QLatin1Char(' ') + number;
}

QString markName(const QString& mark) {
    const QString trimmed = mark.trimmed();
    return trimmed == QLatin1String("X")   ? texts::kCellCross
           : trimmed == QLatin1String("0") ? texts::kCellNought
                                           : texts::kCellEmpty;
}

QString cellName(int number, const QString& caption) {
    return texts::kCellName.arg(number).arg(markName(caption));
}

void tellCurrentItem(QAbstractItemView* view) {
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(view);
    const QModelIndex current = view->currentIndex();
    if (list == nullptr || !current.isValid() || !view->hasFocus()) {
        return;
    }
    // A table's cell by its row and column; a list that numbers its items its own way (the
    // memory view's positions) names its focused item itself.
    QAccessibleInterface* item =
        list->tableInterface() != nullptr
            ? list->tableInterface()->cellAt(current.row(), current.column())
            : list->focusChild();
    if (item == nullptr) {
        return;
    }
    QAccessibleEvent focus(view, QAccessible::Focus);
    focus.setChild(list->indexOfChild(item));
    QAccessible::updateAccessibility(&focus);
}

void installFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(&factory);
        return true;
    }();
    Q_UNUSED(installed);
}

void renew(QWidget* root) {
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* widget : widgets) {
        if (QAccessibleInterface* old = QAccessible::queryAccessibleInterface(widget)) {
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(old));
        }
    }
}

}  // namespace zelmo::ui::accessible
