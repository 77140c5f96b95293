// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/spin/editkeys.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QString>

namespace zelmo::ui {

namespace {

// A clipboard request from the keyboard: the platform's key sequence, or the classic Ctrl and
// Shift combinations that some platforms leave out of it.
bool isClipboardKey(const QKeyEvent* event, QKeySequence::StandardKey sequence, int ctrlKey,
                    int shiftKey) {
    const auto mods = event->modifiers() & ~Qt::KeypadModifier;
    return event->matches(sequence) || (event->key() == ctrlKey && mods == Qt::ControlModifier) ||
           (event->key() == shiftKey && mods == Qt::ShiftModifier);
}

}  // namespace

bool isPasteKey(const QKeyEvent* event) {
    return isClipboardKey(event, QKeySequence::Paste, Qt::Key_V, Qt::Key_Insert);
}

bool isCutKey(const QKeyEvent* event) {
    return isClipboardKey(event, QKeySequence::Cut, Qt::Key_X, Qt::Key_Delete);
}

// Keys with which the platform's edit box deletes or restores text besides typing, cut and
// paste: Backspace and Delete with any modifiers, the platform's other delete keys (Ctrl+D on
// X11), undo, redo and the word and line deletions. A box whose editor is disabled refuses them.
bool isEditKey(const QKeyEvent* event) {
    if (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete) {
        return true;
    }
    for (const auto sequence :
         {QKeySequence::Delete, QKeySequence::Backspace, QKeySequence::Undo, QKeySequence::Redo,
          QKeySequence::DeleteEndOfLine, QKeySequence::DeleteCompleteLine,
          QKeySequence::DeleteStartOfWord, QKeySequence::DeleteEndOfWord}) {
        if (event->matches(sequence)) {
            return true;
        }
    }
    return false;
}

// Whether the edit box would insert the event's text: the same test as Qt's line edit makes, so
// that no text reaches it without passing the filter. Ctrl and Ctrl+Shift make a command, except
// for format characters, which some platforms type with Ctrl+Shift.
bool insertsText(const QKeyEvent* event) {
    const QString typed = event->text();
    if (typed.isEmpty()) {
        return false;
    }
    const QChar first = typed.at(0);
    if (first.category() == QChar::Other_Format) {
        return true;
    }
    const Qt::KeyboardModifiers mods = event->modifiers();
    if (mods == Qt::ControlModifier || mods == (Qt::ControlModifier | Qt::ShiftModifier)) {
        return false;
    }
    return first.isPrint() || first.category() == QChar::Other_PrivateUse ||
           (first.isHighSurrogate() && typed.size() > 1 && typed.at(1).isLowSurrogate());
}

}  // namespace zelmo::ui
