// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessible>

#include <functional>

class QObject;
class QWidget;

// Tells assistive technology about changes that a screen reader should read out: a new status
// text, a counter, a cell's new mark (the computer's answer among them). The window's controls
// call it; tests listen through the listener, since nothing reaches assistive technology while
// none is running.
namespace zelmo::ui::announce {

using Listener = std::function<void(QObject* source, QAccessible::Event type)>;

// The control's accessible name (its text, where it has no name of its own) has changed.
void nameChanged(QWidget* control);

// Hears every announcement besides assistive technology; an empty listener stops it.
void setListener(Listener listener);

}  // namespace zelmo::ui::announce
