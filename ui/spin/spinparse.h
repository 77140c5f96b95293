// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QChar>
#include <QString>

#include <cstdint>
#include <optional>

namespace zelmo::ui {

// The spin editor's reading of its text as a whole number: decimal with an optional sign, or
// hexadecimal after "$", "x", "X", "0x", "0X"; 32 bits; leading blanks skipped, nothing else
// allowed. TSpinEdit::ParseInteger and the parser's fuzz target use it.
std::optional<std::int32_t> ParseInteger(const QString& text);

// The digits 0 to 9 only, never another script's digits: the parser and the character filter
// agree on them.
inline bool IsDecimalDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

}  // namespace zelmo::ui
