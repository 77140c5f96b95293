// Any bytes given to the memory file reader: it never crashes, leaves its target alone unless
// it accepts the bytes, accepts only what it writes back byte for byte, and a memory it
// accepts plays whole games without a range error.
#include "engine/errors.h"
#include "engine/gameflow.h"
#include "engine/memoryfile.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace zelmo::engine;

// A game flow without a window: the player always takes the first free cell.
class SilentFlow : public GameFlow {
  public:
    SilentFlow() {
        setClock([] { return 0u; });
        FormCreate();
    }

  protected:
    void showCell(int, const Cell&) override {}
    void showGameNumber(std::int32_t) override {}
    void showEntryCount(std::int32_t) override {}
    void showStatus(const std::string&) override {}
    void setPlayEnabled(bool) override {}
    std::int32_t readGrade(int) override { return 4; }
    void addScorePoint(const std::string&) override {}
    double scoreValue(int) override { return 0; }
    void setScoreValue(int, double) override {}
};

void playOneGame(SilentFlow& flow) {
    flow.Button2Click();
    for (int moves = 0; flow.acceptingMoves(); ++moves) {
        if (moves > 9) {
            std::abort();  // a game has at most nine moves
        }
        int cell = 1;
        while (!flow.board().is(cell, kEmpty)) {
            ++cell;
        }
        flow.SpeedButtonClick(cell);
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
    auto flow = std::make_unique<SilentFlow>();
    flow->restoreMemory(snapshot->memory, snapshot->entryCount);
    try {
        playOneGame(*flow);
        playOneGame(*flow);
    } catch (const EIntOverflow&) {
        // A weight stored at the 32-bit limit may overflow when graded; that is reported to
        // the player like any other overflow. A range error, though, would be a fault.
    }
    return 0;
}
