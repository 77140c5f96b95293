// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/history.h"
#include "engine/memory.h"
#include "engine/memoryloadresult.h"

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

// The memory file's bytes, shared by the window, the trainer and the fuzz target: a
// fixed-width little-endian layout with a format name, a version, checksums over the header
// and over the whole file, and entries 1..entryCount (positions, slots with answers, weights
// and used marks). Entries above the count are not stored: a new entry is always written in
// full when it is created. Version 2 adds how often each entry was played and the history of
// the learning; a memory with neither (no plays counted, an empty history) is written as
// version 1, which every Zelmo reads, and version 2 is refused without them, so that every
// file read is written back byte for byte. docs/memory-file.md gives the layout.

// A history block's largest encoding: four 64-bit and three 32-bit numbers and a position
// count of two bytes, seven bits a byte.
inline constexpr std::size_t kMaxHistoryBlockBytes = 4 * 10 + 3 * 5 + 2;
// The largest file: a 32-byte header, Capacity entries of 72 bytes and their plays of 4, the
// largest history and a 4-byte checksum. One byte more tells any longer file apart.
inline constexpr std::size_t kMaxMemoryFileSize =
    32 + std::size_t{PositionMemory::Capacity} * (72 + 4) +
    LearningHistory::kMaxBlocks * kMaxHistoryBlockBytes + 4;

// Encodes entries 1..entryCount straight from the memory as it is (nothing else is copied),
// with their plays and the history.
std::vector<std::uint8_t> encodeMemory(const PositionMemory& memory, std::int32_t entryCount,
                                       const LearningHistory& history);
// The same with an empty history.
std::vector<std::uint8_t> encodeMemory(const PositionMemory& memory, std::int32_t entryCount);
inline std::vector<std::uint8_t> encodeMemory(const MemorySnapshot& in) {
    return encodeMemory(in.memory, in.entryCount);
}
// Checks everything before touching `out` and `history` (only what play can make passes:
// positions where the computer is to move, each once up to a turn of the board, answers on
// free cells, a history LearningHistory can hold); both are left untouched unless the result
// is Ok. A version 1 file has no history (an empty one) and no plays counted. The message is
// the bare reason, for the caller to say which file it was.
MemoryLoadResult decodeMemory(const std::uint8_t* data, std::size_t size, MemorySnapshot& out,
                              LearningHistory& history);
// The same for a caller that keeps no history: it is checked and dropped.
MemoryLoadResult decodeMemory(const std::uint8_t* data, std::size_t size, MemorySnapshot& out);

}  // namespace zelmo::engine
