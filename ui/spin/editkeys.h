// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QKeyEvent;

namespace zelmo::ui {

// What a key event asks of an edit box, so that the spin editor can pass, filter or refuse it
// before its QLineEdit acts: clipboard requests, editing commands and typed text.

// The platform's paste or cut sequence, or the classic Ctrl+V / Shift+Insert and Ctrl+X /
// Shift+Delete that some platforms leave out of it.
bool isPasteKey(const QKeyEvent* event);
bool isCutKey(const QKeyEvent* event);

// Keys with which the edit box deletes or restores text besides typing, cut and paste.
bool isEditKey(const QKeyEvent* event);

// Whether the edit box would insert the event's text (Qt's line edit makes the same test).
bool insertsText(const QKeyEvent* event);

}  // namespace zelmo::ui
