// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/game/history.h"
#include "engine/store/memoryloadresult.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zelmo::engine {

// The history's blocks as the memory file keeps them: each block is eight numbers in unsigned
// LEB128 (seven bits a byte, the lowest first, the top bit set on every byte but the last):
// player wins, computer wins, draws, games the computer began, the three grades (win, loss,
// draw; zigzag-coded: 2n for n >= 0, -2n - 1 for n < 0) and the positions remembered. A block
// takes 8 to kMaxHistoryBlockBytes bytes, about a dozen in a history of real games.

void appendHistoryBlocks(const std::vector<HistoryBlock>& blocks, std::vector<std::uint8_t>& out);

// Reads exactly `count` blocks from exactly `size` bytes into `out` (replacing what it held).
// Only what LearningHistory can hold passes: numbers in the shortest form and in range, at
// least one game per block, no more begun by the computer than played, at most Capacity
// positions, at most kMaxGames games in all. The reason is the bare message, as decodeMemory's.
MemoryLoadResult decodeHistoryBlocks(const std::uint8_t* data, std::size_t size,
                                     std::uint32_t count, std::vector<HistoryBlock>& out);

}  // namespace zelmo::engine
