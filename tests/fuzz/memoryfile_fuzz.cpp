// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes given to the memory file reader: it never crashes, leaves its target alone unless
// it accepts the bytes, accepts only what it writes back byte for byte, and a memory it
// accepts plays whole games without a range error.
#include "engine/errors.h"
#include "engine/gameflow.h"
#include "engine/memoryfile.h"
#include "engine/players.h"
#include "train/trainflow.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace zelmo::engine;

// The player "X" of the fuzzed games: always the first free cell.
class FirstFreeCell : public zelmo::engine::Player {
  public:
    int move(const Board& board) override {
        int cell = 1;
        while (!board.is(cell, kEmpty)) {
            ++cell;
        }
        return cell;
    }
};

// One whole game through the trainer's window-less flow. A weight stored at the 32-bit limit may
// overflow when graded; that is reported to the player like any other overflow. Any other
// error, or a game that does not end within nine moves, is a fault.
void playOneGame(zelmo::train::TrainFlow& flow) {
    FirstFreeCell player;
    flow.playGame(player, [](const std::exception& error) {
        if (dynamic_cast<const EIntOverflow*>(&error) == nullptr) {
            std::abort();
        }
    });
    if (flow.acceptingMoves()) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto snapshot = std::make_unique<MemorySnapshot>();
    snapshot->entryCount = -5;  // a value no file can give
    const MemoryLoadResult result = decodeMemory(data, size, *snapshot);
    if (result.status != MemoryFileStatus::Ok) {
        if (snapshot->entryCount != -5 || result.message.empty()) {
            std::abort();
        }
        return 0;
    }
    const std::vector<std::uint8_t> again = encodeMemory(*snapshot);
    if (again.size() != size || !std::equal(again.begin(), again.end(), data)) {
        std::abort();
    }
    // Both sides begin once; the positions a file holds must never make the computer fail.
    auto flow = std::make_unique<zelmo::train::TrainFlow>(zelmo::train::Grades{4, 4, 4});
    flow->setClock([] { return 0u; });
    flow->restoreMemory(snapshot->memory, snapshot->entryCount);
    playOneGame(*flow);
    playOneGame(*flow);
    return 0;
}
