// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QTextDocument;

// The lines a screen reader reads a long text by (the help): each paragraph cut after its
// sentences, so that a line read aloud ends where a sentence or a list item ends, never where
// the window happens to wrap it. The help's text reports these lines to assistive technology,
// and its Up and Down keys move the caret along them.
namespace zelmo::ui::spokenlines {

// Character offsets into the document, as its cursor counts them (a paragraph break is one).
struct Span {
    int start = 0;
    int end = 0;  // just past the line: its trailing spaces and paragraph break included
};

// The line holding `offset`; the end of the text belongs to the last line.
Span lineAt(const QTextDocument& document, int offset);

// Where the caret goes from `offset` with Down (the next line's start, or the last line's when
// there is none) and with Up (the line before's start, or the first line's).
int nextLine(const QTextDocument& document, int offset);
int previousLine(const QTextDocument& document, int offset);

}  // namespace zelmo::ui::spokenlines
