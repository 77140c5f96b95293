// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace zelmo::engine {

// Why a memory file could not be read. Missing: the file does not exist (an empty memory that
// the first save creates). Empty, Truncated, Corrupt: damaged. Foreign: not a memory file.
// NewerVersion: written by a later Zelmo. BadCount: an entry count outside 0..Capacity.
// BadData: intact but holding entries that play could never have made. WrongSide: a sound
// memory of the other side (an "X" learner's where the computer's was wanted, or the other way
// round). IoError: the file exists but cannot be read.
enum class MemoryFileStatus {
    Ok,
    Missing,
    Empty,
    Truncated,
    Corrupt,
    Foreign,
    NewerVersion,
    BadCount,
    BadData,
    WrongSide,
    IoError
};

// The result of reading: Ok, or what went wrong with a clear UTF-8 Russian message (the file
// reader's messages name the file).
struct MemoryLoadResult {
    MemoryFileStatus status = MemoryFileStatus::Ok;
    std::string message;
};

}  // namespace zelmo::engine
