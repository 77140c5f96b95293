// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/memory.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zelmo::engine {

// What the computer has learnt, as one value: the table and the number of entries in use.
// Large (the whole fixed table), so allocate it with std::make_unique.
struct MemorySnapshot {
    PositionMemory memory;
    std::int32_t entryCount = 0;
};

// Why a memory file could not be read. Missing: the file does not exist (an empty memory that
// the first save creates). Empty, Truncated, Corrupt: damaged. Foreign: not a memory file.
// NewerVersion: written by a later Zelmo. BadCount: an entry count outside 0..Capacity.
// BadData: intact but holding entries that play could never have made. IoError: the file
// exists but cannot be read.
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
    IoError
};

// The result of reading: Ok, or what went wrong with a clear UTF-8 Russian message (the file
// reader's messages name the file).
struct MemoryLoadResult {
    MemoryFileStatus status = MemoryFileStatus::Ok;
    std::string message;
};

// The memory file's bytes, shared by the window, the trainer and the fuzz target: a
// fixed-width little-endian layout with a format name, a version, checksums over the header
// and over the entries, and entries 1..entryCount (positions, slots with answers, weights and
// used marks). Entries above the count are not stored: a new entry is always written in full
// when it is created.
// The largest file of this version, a full table: a 20-byte header, Capacity entries of 72
// bytes and a 4-byte checksum. One byte more tells any longer file apart.
inline constexpr std::size_t kMaxMemoryFileSize =
    20 + std::size_t{PositionMemory::Capacity} * 72 + 4;

// Encodes entries 1..entryCount straight from the memory as it is (nothing else is copied).
std::vector<std::uint8_t> encodeMemory(const PositionMemory& memory, std::int32_t entryCount);
inline std::vector<std::uint8_t> encodeMemory(const MemorySnapshot& in) {
    return encodeMemory(in.memory, in.entryCount);
}
// Checks everything before touching `out` (only what play can make passes: positions where the
// computer is to move, each once up to a turn of the board, answers on free cells); `out` is
// left untouched unless the result is Ok. The message is the bare reason, for the caller to
// say which file it was.
MemoryLoadResult decodeMemory(const std::uint8_t* data, std::size_t size, MemorySnapshot& out);

}  // namespace zelmo::engine
