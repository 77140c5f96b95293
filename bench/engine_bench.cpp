// Timings of the learning opponent's search and of whole games through the game flow.
#include "engine/gameflow.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <random>

namespace {

using zelmo::engine::Board;
using zelmo::engine::Cell;
using zelmo::engine::GameFlow;
using zelmo::engine::kEmpty;
using zelmo::engine::kNought;
using zelmo::engine::PositionMemory;

// A game flow whose display operations do nothing and whose clock is a counter.
class SilentFlow : public GameFlow {
  public:
    SilentFlow() {
        setClock([this] { return ms_ = (ms_ + 7919) % 86400000u; });
    }

    // Fills the whole table with entries that differ from the empty board only in cell 9,
    // the last one compared: against an empty board every one of the 4000 comparisons
    // (1000 entries, four turns) runs through all nine cells before it fails.
    void fillWorstCaseMemory() {
        Board almostEmpty;
        almostEmpty.fill(kEmpty);
        almostEmpty.set(9, Cell('X'));
        for (int j = 1; j <= PositionMemory::Capacity; ++j) {
            PositionMemory_[j].Position = almostEmpty;
            PositionMemory_[j].Slots[1] = {1, 0, false};
        }
        EntryCount = PositionMemory::Capacity;
    }
    void clearBoard() {
        Board_.fill(kEmpty);
        MoveCount = 0;
    }

  protected:
    void showCell(int, const Cell&) override {}
    void showGameNumber(std::int32_t) override {}
    void showEntryCount(std::int32_t) override {}
    void showStatus(const std::string&) override {}
    void setPlayEnabled(bool) override {}
    std::int32_t readGrade(int) override { return 4; }
    void addScorePoint(const std::string&) override {}
    double scoreValue(int index) override { return scores_[index]; }
    void setScoreValue(int index, double value) override { scores_[index] = value; }

  private:
    std::uint32_t ms_ = 0;
    double scores_[3] = {};
};

void BM_CompFullMemoryNoMatch(benchmark::State& state) {
    auto flow = std::make_unique<SilentFlow>();
    flow->FormCreate();
    flow->fillWorstCaseMemory();
    for (auto _ : state) {
        flow->clearBoard();
        flow->comp();  // no match, table full: a random move that is not recorded
        benchmark::DoNotOptimize(flow->board());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_CompFullMemoryNoMatch);

void BM_GamesAgainstRandomPlayer(benchmark::State& state) {
    auto flow = std::make_unique<SilentFlow>();
    flow->FormCreate();
    std::mt19937 rng(7);
    for (auto _ : state) {
        flow->Button2Click();
        while (flow->acceptingMoves()) {
            int free[9];
            int count = 0;
            for (int k = 1; k <= 9; ++k) {
                if (flow->board().is(k, kEmpty)) {
                    free[count++] = k;
                }
            }
            flow->SpeedButtonClick(free[rng() % static_cast<unsigned>(count)]);
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
    state.counters["entries"] = flow->entryCount();
}
BENCHMARK(BM_GamesAgainstRandomPlayer);

}  // namespace
