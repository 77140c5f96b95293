// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/game/memory.h"

#include <optional>

namespace zelmo::engine {

// Remembered positions as they stand on the board. The computer keeps a position in the
// orientation in which it first met it and finds it again under any quarter turn; these turn a
// kept entry back to the board of the game that met it under `turns` (PositionMemory::find's
// rotation, PositionMemory::usedTurns), so the memory view can show it as the player saw it.

// The cell of the board where kept cell `keptCell` stands, and back.
int boardCellOf(int keptCell, int turns);
int keptCellOf(int boardCell, int turns);

// The kept position turned to the board: board cell boardCellOf(k) holds kept cell k.
Board positionOnBoard(const Board& kept, int turns);

// The entry with its position and every answer turned to the board; weights, used marks and
// the order of the slots stay as they are, so slot k is still slot k.
MemoryEntry entryOnBoard(const MemoryEntry& kept, int turns);

// Entry j as the game in progress met it: turned by its used turn, or as kept when the entry
// was not played in this game or its turn is not known.
MemoryEntry entryAsPlayed(const PositionMemory& memory, int j);

}  // namespace zelmo::engine
