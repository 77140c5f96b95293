// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/game/history.h"
#include "train/trainflow.h"

#include <iosfwd>
#include <string>

namespace zelmo::train {

// The trainer's side of the learning history: the history of a memory file printed as CSV
// (zelmo-train --history=FILE) for the player to plot elsewhere.

// The history as CSV: the header line, then one row per block: the number of the block's last
// game, the block's games, the games the computer began, player wins, computer wins, draws,
// the three grades and the positions remembered at the block's end.
void writeHistoryCsv(const engine::LearningHistory& history, std::ostream& out);

// Reads the memory file at `path` and writes its history as CSV on `out`; a failure to read or
// to write goes to `err`. False after such a failure.
bool printHistory(const std::string& path, std::ostream& out, std::ostream& err);

}  // namespace zelmo::train
