// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/game/history.h"
#include "engine/game/memory.h"
#include "engine/store/memorydocument.h"
#include "engine/store/memoryloadresult.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zelmo::engine {

// The memory file's bytes, shared by the window, the trainer and the fuzz target: a
// fixed-width little-endian layout with a format name, a version, checksums over the header
// and over the whole file, and entries 1..entryCount (positions, slots with answers, weights
// and used marks). Entries above the count are not stored: a new entry is always written in
// full when it is created. Version 2 adds how often each entry was played and the history of
// the learning, version 3 the grades in force, version 4 the side of a learner for "X". A
// document is written in the first version that holds all of it: version 1 without plays,
// history and grades, which every Zelmo reads, version 2 without grades, version 3 for the
// computer's memory and version 4 only for an "X" memory (so no earlier Zelmo takes it as the
// computer's); a version 2 file without plays and history is refused, so that
// every file read is written back byte for byte. docs/memory-file.md gives the layout.

// A history block's largest encoding: four 64-bit and three 32-bit numbers and a position
// count of two bytes, seven bits a byte.
inline constexpr std::size_t kMaxHistoryBlockBytes = 4 * 10 + 3 * 5 + 2;
// The largest file: a 48-byte header, Capacity entries of 72 bytes and their plays of 4, the
// largest history and a 4-byte checksum. One byte more tells any longer file apart.
inline constexpr std::size_t kMaxMemoryFileSize =
    48 + std::size_t{PositionMemory::Capacity} * (72 + 4) +
    LearningHistory::kMaxBlocks * kMaxHistoryBlockBytes + 4;

// Encodes the whole document: entries 1..entryCount straight from the memory as it is (nothing
// else is copied), with their plays, the history and the grades.
std::vector<std::uint8_t> encodeMemory(const DocumentView& document);
inline std::vector<std::uint8_t> encodeMemory(const MemoryDocument& document) {
    return encodeMemory(viewOf(document));
}
// Checks everything before touching `out` (only what play can make passes: positions where the
// computer is to move, each once up to a turn of the board, answers on free cells, a history
// LearningHistory can hold); it is left untouched unless the result is Ok. A version 1 file
// has no history (an empty one) and no plays counted, versions 1 and 2 no grades. A sound file
// of another side than `side` is WrongSide (none: either side is read). The message is the bare
// reason, for the caller to say which file it was.
MemoryLoadResult decodeMemory(const std::uint8_t* data, std::size_t size, MemoryDocument& out,
                              std::optional<MemorySide> side = MemorySide::Nought);

}  // namespace zelmo::engine
