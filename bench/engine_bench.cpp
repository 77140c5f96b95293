// SPDX-License-Identifier: GPL-3.0-or-later
// Timings of the learning opponent's search and of whole games through the game flow, each
// beside the floor it is measured against: plain scans of the same positions, and games against
// a random player for the games against the perfect one and against a learner for "X".
#include "engine/game/gameflow.h"
#include "engine/game/learner.h"
#include "engine/game/players.h"
#include "engine/game/playgame.h"
#include "train/trainflow.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <exception>
#include <memory>
#include <vector>

namespace {

using zelmo::engine::Board;
using zelmo::engine::Cell;
using zelmo::engine::kEmpty;
using zelmo::engine::kNought;
using zelmo::engine::PositionMemory;

// The trainer's flow (no display, grade 4 for every outcome, a stepping clock) with a way to
// fill its table for the worst case of the search and to clear the board between searches.
class SilentFlow : public zelmo::train::TrainFlow {
  public:
    SilentFlow() : TrainFlow(zelmo::train::Grades{4, 4, 4}) {
        setClock(zelmo::train::SteppingClock(7919, 7919));
    }

    using GameFlow::clearUsed;
    using GameFlow::comp;
    using GameFlow::learn;

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
    PositionMemory& table() { return PositionMemory_; }
    void clearBoard() {
        Board_.fill(kEmpty);
        MoveCount = 0;
    }
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

// The search alone on the same table: 1000 entries, four turns each, no match.
void BM_FindNoMatch(benchmark::State& state) {
    auto flow = std::make_unique<SilentFlow>();
    flow->FormCreate();
    flow->fillWorstCaseMemory();
    flow->clearBoard();
    for (auto _ : state) {
        benchmark::DoNotOptimize(flow->table().find(flow->board(), PositionMemory::Capacity));
    }
}
BENCHMARK(BM_FindNoMatch);

// The end and the start of a game on a full table: four answers graded, then every used mark
// dropped. Only the answers used in the game are visited, not the 9000 slots.
void BM_GradeAndClearUsed(benchmark::State& state) {
    auto flow = std::make_unique<SilentFlow>();
    flow->FormCreate();
    flow->fillWorstCaseMemory();
    for (auto _ : state) {
        for (const int j : {1, 250, 500, 1000}) {
            flow->table().markUsed(j, 1);
        }
        flow->learn(3);
        flow->clearUsed();
    }
    benchmark::DoNotOptimize(flow->memory()[1].Slots[1].Weight);
}
BENCHMARK(BM_GradeAndClearUsed);

// Floors for the search: the same 1000 positions as plain data, scanned without the table's
// checks or order rules. The board is turned and packed (or copied) once per scan, like the
// search does.
constexpr int kQuarter[10] = {0, 3, 6, 9, 2, 5, 8, 1, 4, 7};

std::uint32_t packCell(char c) {
    return c == ' ' ? 1 : c == 'X' ? 2 : c == '0' ? 3 : 0;
}

void BM_PackedScanFloor(benchmark::State& state) {
    Board position;
    position.fill(kEmpty);
    position.set(9, Cell('X'));
    std::uint32_t entryCode = 0;
    for (int k = 9; k >= 1; --k) {
        entryCode = (entryCode << 3) | packCell(position.at(k).character());
    }
    const std::vector<std::uint32_t> codes(PositionMemory::Capacity, entryCode);
    Board board;
    board.fill(kEmpty);
    for (auto _ : state) {
        benchmark::DoNotOptimize(board);
        std::uint32_t turned[4] = {};
        for (int t = 0; t < 4; ++t) {
            for (int k = 9; k >= 1; --k) {
                int cell = k;
                for (int i = 0; i < t; ++i) {
                    cell = kQuarter[cell];
                }
                turned[t] = (turned[t] << 3) | packCell(board.at(cell).character());
            }
        }
        int found = 0;
        for (std::size_t j = 0; j < codes.size() && found == 0; ++j) {
            const std::uint32_t c = codes[j];
            if (c == turned[0] || c == turned[1] || c == turned[2] || c == turned[3]) {
                found = static_cast<int>(j) + 1;
            }
        }
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_PackedScanFloor);

void BM_MemcmpScanFloor(benchmark::State& state) {
    const std::vector<std::array<char, 9>> positions(PositionMemory::Capacity,
                                                     {' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', 'X'});
    Board board;
    board.fill(kEmpty);
    for (auto _ : state) {
        benchmark::DoNotOptimize(board);
        std::array<char, 9> turned[4];
        for (int t = 0; t < 4; ++t) {
            for (int k = 1; k <= 9; ++k) {
                int cell = k;
                for (int i = 0; i < t; ++i) {
                    cell = kQuarter[cell];
                }
                turned[t][static_cast<std::size_t>(k - 1)] = board.at(cell).character();
            }
        }
        int found = 0;
        for (std::size_t j = 0; j < positions.size() && found == 0; ++j) {
            for (int t = 0; t < 4 && found == 0; ++t) {
                if (std::memcmp(positions[j].data(), turned[t].data(), 9) == 0) {
                    found = static_cast<int>(j) + 1;
                }
            }
        }
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_MemcmpScanFloor);

// Whole games through the game flow against the trainer's players (the perfect player's moves
// are table look-ups). Every outcome earns grade 4 here, so the memory stays far smaller than
// in training with the default grades: these time the flow, not a training run.
template <typename PlayerType>
void gamesAgainst(benchmark::State& state) {
    auto flow = std::make_unique<SilentFlow>();
    flow->FormCreate();
    PlayerType player(7);
    const zelmo::engine::GameInput input = zelmo::engine::entryPointsOf(*flow);
    for (auto _ : state) {
        zelmo::engine::playGame(*flow, player, input);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
    state.counters["entries"] = flow->entryCount();
}

void BM_GamesAgainstTrainerRandomPlayer(benchmark::State& state) {
    gamesAgainst<zelmo::engine::RandomPlayer>(state);
}
BENCHMARK(BM_GamesAgainstTrainerRandomPlayer);

void BM_GamesAgainstPerfectPlayer(benchmark::State& state) {
    gamesAgainst<zelmo::engine::PerfectPlayer>(state);
}
BENCHMARK(BM_GamesAgainstPerfectPlayer);

// Whole games as the trainer plays them (its playGame, which tells the player each end), with
// the grades at start: against the random player, the floor, and against a learner for "X",
// which searches and grades a memory of its own as the computer does.
template <typename PlayerType>
void trainerGamesAgainst(benchmark::State& state) {
    zelmo::train::TrainFlow flow{zelmo::train::Grades{}};
    flow.setClock(zelmo::train::SteppingClock(7919, 7919));
    PlayerType player(7);
    const auto ignore = [](const std::exception&) {};
    for (auto _ : state) {
        benchmark::DoNotOptimize(flow.playGame(player, ignore));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
    state.counters["entries"] = flow.entryCount();
}

void BM_TrainerGamesAgainstRandom(benchmark::State& state) {
    trainerGamesAgainst<zelmo::engine::RandomPlayer>(state);
}
BENCHMARK(BM_TrainerGamesAgainstRandom);

void BM_TrainerGamesAgainstLearner(benchmark::State& state) {
    trainerGamesAgainst<zelmo::engine::LearnerPlayer>(state);
}
BENCHMARK(BM_TrainerGamesAgainstLearner);

}  // namespace
