// SPDX-License-Identifier: GPL-3.0-or-later
// What the fuzz targets share: a failed check that stops the run with its reason (libFuzzer
// then keeps the input), and an input read as an argument vector.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace zelmo::fuzz {

// Stops the run with the broken rule and, when given, what it was broken on.
[[noreturn]] inline void fail(const char* what, const std::string& detail = std::string()) {
    std::fprintf(stderr, "check failed: %s%s%s\n", what, detail.empty() ? "" : ": ",
                 detail.c_str());
    std::abort();
}

inline void check(bool ok, const char* what) {
    if (!ok) {
        fail(what);
    }
}

// The input as the arguments of a command line, separated by NUL bytes (which no real argument
// can hold): none for an empty input, at most 33 (32 separators are read), so that a long
// input costs no more than a long argument.
inline std::vector<std::string> splitArguments(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> words;
    if (size > 0) {
        words.emplace_back();
        for (std::size_t i = 0; i < size && words.size() <= 32; ++i) {
            if (data[i] == 0) {
                words.emplace_back();
            } else {
                words.back().push_back(static_cast<char>(data[i]));
            }
        }
    }
    return words;
}

}  // namespace zelmo::fuzz
