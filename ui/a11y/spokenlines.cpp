// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/a11y/spokenlines.h"

#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextDocument>

#include <algorithm>

namespace zelmo::ui::spokenlines {

Span lineAt(const QTextDocument& document, int offset) {
    const int last = std::max(0, document.characterCount() - 1);
    const int at = std::clamp(offset, 0, last);
    QTextBlock block = document.findBlock(at);
    if (!block.isValid()) {
        return {0, last};
    }
    const QString text = block.text();
    const int inBlock = at - block.position();
    // Sentences by Unicode's rules, which keep "ФАЙЛ.bak" and "1.0" whole; a paragraph (a
    // heading, a key of the list) ends a line even without a full stop.
    QTextBoundaryFinder sentences(QTextBoundaryFinder::Sentence, text);
    int start = 0;
    int end = static_cast<int>(text.size());
    if (inBlock < end) {
        sentences.setPosition(inBlock);
        if (!sentences.isAtBoundary()) {
            start = static_cast<int>(sentences.toPreviousBoundary());
            sentences.setPosition(inBlock);
        } else {
            start = inBlock;
        }
        const qsizetype next = sentences.toNextBoundary();
        end = next < 0 ? end : static_cast<int>(next);
    } else if (end > 0) {
        // On the paragraph's break: the paragraph's last sentence.
        sentences.toEnd();
        start = static_cast<int>(sentences.toPreviousBoundary());
    }
    start = std::max(start, 0);
    // The paragraph's break goes with its last line, as a wrapped line's newline does.
    const int breakAfter = end == static_cast<int>(text.size()) && block.next().isValid() ? 1 : 0;
    return {block.position() + start, block.position() + end + breakAfter};
}

int nextLine(const QTextDocument& document, int offset) {
    const Span line = lineAt(document, offset);
    const int last = std::max(0, document.characterCount() - 1);
    return line.end < last ? line.end : lineAt(document, last).start;
}

int previousLine(const QTextDocument& document, int offset) {
    const Span line = lineAt(document, offset);
    return line.start > 0 ? lineAt(document, line.start - 1).start : 0;
}

}  // namespace zelmo::ui::spokenlines
