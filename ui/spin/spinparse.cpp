// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/spin/spinparse.h"

#include <limits>

namespace zelmo::ui {

namespace {

constexpr std::int64_t kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();

int hexDigitValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') {
        return u - u'0';
    }
    if (u >= u'a' && u <= u'f') {
        return u - u'a' + 10;
    }
    if (u >= u'A' && u <= u'F') {
        return u - u'A' + 10;
    }
    return -1;
}

// Digits from `pos` to the end as an unsigned 32-bit pattern; leading zeros are free, a ninth
// significant digit does not fit.
std::optional<std::int32_t> parseHex(const QString& text, qsizetype pos) {
    if (pos >= text.size()) {
        return std::nullopt;
    }
    std::uint32_t pattern = 0;
    int significant = 0;
    for (; pos < text.size(); ++pos) {
        const int digit = hexDigitValue(text.at(pos));
        if (digit < 0) {
            return std::nullopt;
        }
        if (significant == 0 && digit == 0) {
            continue;
        }
        if (++significant > 8) {
            return std::nullopt;
        }
        pattern = (pattern << 4) | static_cast<std::uint32_t>(digit);
    }
    // Eight F digits are -1: the pattern is read as two's complement.
    return static_cast<std::int32_t>(pattern);
}

std::optional<std::int32_t> parseDecimal(const QString& text, qsizetype pos, bool negative) {
    if (pos >= text.size()) {
        return std::nullopt;
    }
    // The magnitude stops growing once past the widest 32-bit value, so it never overflows.
    const std::int64_t limit = negative ? -kInt32Min : kInt32Max;
    std::int64_t magnitude = 0;
    for (; pos < text.size(); ++pos) {
        const QChar c = text.at(pos);
        if (!IsDecimalDigit(c)) {
            return std::nullopt;
        }
        magnitude = magnitude * 10 + (c.unicode() - u'0');
        if (magnitude > limit) {
            return std::nullopt;
        }
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

}  // namespace

std::optional<std::int32_t> ParseInteger(const QString& text) {
    qsizetype pos = 0;
    while (pos < text.size() && text.at(pos) == u' ') {
        ++pos;
    }
    if (pos >= text.size()) {
        return std::nullopt;
    }

    const QChar first = text.at(pos);
    if (first == u'-' || first == u'+') {
        return parseDecimal(text, pos + 1, first == u'-');
    }
    if (first == u'$' || first == u'x' || first == u'X') {
        return parseHex(text, pos + 1);
    }
    if (first == u'0' && pos + 1 < text.size() &&
        (text.at(pos + 1) == u'x' || text.at(pos + 1) == u'X')) {
        return parseHex(text, pos + 2);
    }
    return parseDecimal(text, pos, false);
}

}  // namespace zelmo::ui
