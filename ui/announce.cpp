// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/announce.h"

#include <QWidget>

#include <utility>

namespace zelmo::ui::announce {

namespace {

Listener& listener() {
    static Listener instance;
    return instance;
}

}  // namespace

void nameChanged(QWidget* control) {
    if (listener()) {
        listener()(control, QAccessible::NameChanged);
    }
    QAccessibleEvent event(control, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

void setListener(Listener newListener) {
    listener() = std::move(newListener);
}

}  // namespace zelmo::ui::announce
