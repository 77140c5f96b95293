// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <string>

namespace zelmo::fuzz {

// A second, deliberately plain reading of the spin editor's number rules, written without
// looking at the editor's code: strip the leading blanks, pick the form by its first
// characters, then check the digits as a string (length and comparison with the widest value)
// before converting them with the standard library. The fuzz targets compare the editor with it.
inline std::optional<std::int32_t> ReadDecimal(const std::string& digits, bool negative) {
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    const std::size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos) {
        return 0;
    }
    const std::string significant = digits.substr(first);
    const std::string widest = negative ? "2147483648" : "2147483647";
    if (significant.size() > widest.size() ||
        (significant.size() == widest.size() && significant > widest)) {
        return std::nullopt;
    }
    const long long magnitude = std::stoll(significant);
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

inline std::optional<std::int32_t> ReadHex(const std::string& digits) {
    if (digits.empty() || digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
        return std::nullopt;
    }
    const std::size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos) {
        return 0;
    }
    const std::string significant = digits.substr(first);
    if (significant.size() > 8) {
        return std::nullopt;
    }
    // The 32-bit pattern taken as two's complement: "FFFFFFFF" is -1.
    const auto pattern = static_cast<std::uint32_t>(std::stoul(significant, nullptr, 16));
    return static_cast<std::int32_t>(pattern);
}

inline std::optional<std::int32_t> OracleParseInteger(const QString& text) {
    std::string ascii;
    for (const QChar c : text) {
        // Nothing beyond plain ASCII can be part of a number: no other digits, no other blanks.
        if (c.unicode() > 0x7E) {
            return std::nullopt;
        }
        ascii.push_back(static_cast<char>(c.unicode()));
    }
    const std::size_t start = ascii.find_first_not_of(' ');
    if (start == std::string::npos) {
        return std::nullopt;
    }
    const std::string rest = ascii.substr(start);
    if (rest[0] == '+' || rest[0] == '-') {
        return ReadDecimal(rest.substr(1), rest[0] == '-');
    }
    if (rest[0] == '$' || rest[0] == 'x' || rest[0] == 'X') {
        return ReadHex(rest.substr(1));
    }
    if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) {
        return ReadHex(rest.substr(2));
    }
    return ReadDecimal(rest, false);
}

// The clamping rules in 64 bits: equal bounds mean no bounds; a result beyond 32 bits (a step
// past the widest value with equal bounds) stops at the widest value.
inline std::int32_t OracleClamp(std::int64_t v, std::int32_t min, std::int32_t max) {
    if (min != max) {
        if (v < min) {
            return min;
        }
        if (v > max) {
            return max;
        }
    }
    if (v < INT32_MIN) {
        return INT32_MIN;
    }
    if (v > INT32_MAX) {
        return INT32_MAX;
    }
    return static_cast<std::int32_t>(v);
}

}  // namespace zelmo::fuzz
