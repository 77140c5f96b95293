// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/a11y/quietaccess.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QList>
#include <QPointer>
#include <QWidget>

#include <algorithm>
#include <utility>

#include "ui/a11y/accessible.h"

namespace zelmo::ui::quietaccess {

namespace {

// A change held back: which object (and child of it) and what kind; the last state change of
// each object is kept to tell it again.
struct Held {
    QPointer<QObject> object;
    int child = -1;
    QAccessible::Event type = QAccessible::NameChanged;
    QAccessible::State states;
};

struct Quiet {
    bool on = false;
    QPointer<const QObject> voice;
    QAccessible::UpdateHandler previous = nullptr;
    QList<Held> held;
};

Quiet& state() {
    static Quiet instance;
    return instance;
}

// Qt hands every change to one handler instead of the platform's bridge while one is
// installed; the bridge itself is not public, so a change that goes through is passed on by
// taking the handler away for that one call.
void handle(QAccessibleEvent* event);

void passOn(QAccessibleEvent* event) {
    QAccessible::installUpdateHandler(state().previous);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(&handle);
}

bool holdsBack(const QAccessibleEvent* event) {
    QObject* object = event->object();
    if (object == nullptr || object == state().voice) {
        return false;
    }
    const bool focused = object == QApplication::focusWidget();
    switch (event->type()) {
        case QAccessible::NameChanged:
        case QAccessible::DescriptionChanged:
            return !focused;
        case QAccessible::StateChanged: {
            // The focus and the active window always go through.
            const QAccessible::State changed =
                static_cast<const QAccessibleStateChangeEvent*>(event)->changedStates();
            return !focused && !changed.focused && !changed.active;
        }
        case QAccessible::TableModelChanged:
            // Qt has already brought its own picture of the list up to date.
            return true;
        default:
            return false;
    }
}

void hold(const QAccessibleEvent* event) {
    QList<Held>& held = state().held;
    const auto same = std::find_if(held.begin(), held.end(), [event](const Held& h) {
        return h.object == event->object() && h.child == event->child() && h.type == event->type();
    });
    Held& entry = same != held.end() ? *same : held.emplace_back();
    entry.object = event->object();
    entry.child = event->child();
    entry.type = event->type();
    if (event->type() == QAccessible::StateChanged) {
        entry.states = static_cast<const QAccessibleStateChangeEvent*>(event)->changedStates();
    }
}

void handle(QAccessibleEvent* event) {
    if (state().on && holdsBack(event)) {
        hold(event);
        return;
    }
    passOn(event);
}

// Tells a held-back change as it stands now.
void tell(const Held& held) {
    if (held.object == nullptr) {
        return;
    }
    switch (held.type) {
        case QAccessible::StateChanged: {
            QAccessibleStateChangeEvent event(held.object, held.states);
            QAccessible::updateAccessibility(&event);
            break;
        }
        case QAccessible::TableModelChanged: {
            // What rows came and went is not kept: the list is told to be read anew.
            QAccessibleTableModelChangeEvent event(held.object,
                                                   QAccessibleTableModelChangeEvent::ModelReset);
            QAccessible::updateAccessibility(&event);
            // Read anew, the list's items are new objects: the focused one is told again.
            if (auto* view = qobject_cast<QAbstractItemView*>(held.object.data())) {
                accessible::tellCurrentItem(view);
            }
            break;
        }
        default: {
            QAccessibleEvent event(held.object, held.type);
            if (held.child >= 0) {
                event.setChild(held.child);
            }
            QAccessible::updateAccessibility(&event);
            break;
        }
    }
}

}  // namespace

void begin(const QObject* voice) {
    Quiet& quiet = state();
    quiet.voice = voice;
    if (quiet.on) {
        return;
    }
    quiet.on = true;
    quiet.previous = QAccessible::installUpdateHandler(&handle);
}

void end() {
    Quiet& quiet = state();
    if (!quiet.on) {
        return;
    }
    quiet.on = false;
    QAccessible::installUpdateHandler(quiet.previous);
    quiet.previous = nullptr;
    for (const Held& held : std::exchange(quiet.held, {})) {
        tell(held);
    }
}

bool quiet() {
    return state().on;
}

}  // namespace zelmo::ui::quietaccess
