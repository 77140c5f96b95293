// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QAccessibleInterface;
class QTextEdit;

namespace zelmo::ui::accessible {

// A read-only text to be read aloud (the help) as assistive technology sees it: a text with
// its caret and selection whose lines are the spoken lines of ui/a11y/spokenlines (each a
// sentence or a paragraph), not the lines the window wraps it into.
QAccessibleInterface* newSpokenText(QTextEdit* edit);

}  // namespace zelmo::ui::accessible
