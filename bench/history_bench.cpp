// SPDX-License-Identifier: GPL-3.0-or-later
// What keeping the learning history and showing what the computer learnt cost on the engine's
// side, each beside what it is measured against in the same run:
//  - whole games of the trainer's flow against the perfect player, alone and with every game
//    added to a history (the window's watch mode does the same per game at pace 0);
//  - reading a memory file whose history counts a million games (the file a million games of
//    training leave), and its history alone;
//  - the bytes a block takes in the file, for a history of a million games in blocks of 100 and
//    for one of a million games by hand (merged down to the bound);
//  - the grouping of a full memory for the memory view, and the last game's lesson.
//   history_bench [benchmark options]
#include "engine/game/grouping.h"
#include "engine/game/history.h"
#include "engine/game/lesson.h"
#include "engine/game/players.h"
#include "engine/store/historyformat.h"
#include "engine/store/memoryformat.h"
#include "train/history.h"
#include "train/trainflow.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace {

using zelmo::engine::LearningHistory;
using zelmo::engine::MemorySnapshot;
using zelmo::engine::PositionMemory;
using zelmo::train::TrainFlow;

std::unique_ptr<TrainFlow> newFlow() {
    auto flow = std::make_unique<TrainFlow>(zelmo::train::Grades{});
    flow->setClock(zelmo::train::SteppingClock(7919, 1777));
    return flow;
}

// One game through the flow's entry points, as the trainer and the watch mode play it.
zelmo::engine::FinishedGame playGame(TrainFlow& flow, zelmo::engine::Player& player) {
    return *flow.playGame(player, [](const std::exception&) {}).finished;
}

// Games with the default grades against the perfect player after 20 000 games of learning, so
// that the memory is the size training gives; `keep` adds every game to a history.
void gamesAgainstPerfect(benchmark::State& state, bool keep) {
    auto flow = newFlow();
    zelmo::engine::PerfectPlayer player(7);
    LearningHistory history;
    for (int game = 0; game < 20000; ++game) {
        playGame(*flow, player);
    }
    for (auto _ : state) {
        const zelmo::engine::FinishedGame game = playGame(*flow, player);
        if (keep) {
            history.add(zelmo::engine::historyGame(game), LearningHistory::kWhileRunning);
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
    state.counters["blocks"] = static_cast<double>(history.blocks().size());
}

void BM_GamesWithoutHistory(benchmark::State& state) {
    gamesAgainstPerfect(state, false);
}
BENCHMARK(BM_GamesWithoutHistory);

void BM_GamesWithHistory(benchmark::State& state) {
    gamesAgainstPerfect(state, true);
}
BENCHMARK(BM_GamesWithHistory);

// The history alone: one finished game added, as the listener at the end of a game does.
void BM_HistoryAddOneGame(benchmark::State& state) {
    LearningHistory history;
    zelmo::engine::HistoryGame game{zelmo::engine::Outcome::Draw, false, {5, 2, 4}, 250};
    for (auto _ : state) {
        game.computerBegan = !game.computerBegan;
        history.add(game, LearningHistory::kWhileRunning);
        benchmark::DoNotOptimize(history);
    }
    state.counters["blocks"] = static_cast<double>(history.blocks().size());
}
BENCHMARK(BM_HistoryAddOneGame);

// The file after a million games of training against a random or perfect player in turn (by
// blocks of 1000), kept for every benchmark that reads it.
struct MillionGames {
    std::vector<std::uint8_t> file;
    LearningHistory history;
};

const MillionGames& millionGames() {
    static const MillionGames kept = [] {
        MillionGames made;
        auto flow = newFlow();
        zelmo::engine::PerfectPlayer perfect(3);
        zelmo::engine::RandomPlayer random(5);
        for (int game = 0; game < 1000000; ++game) {
            zelmo::engine::Player& player =
                (game / 1000) % 2 == 0 ? static_cast<zelmo::engine::Player&>(random) : perfect;
            made.history.add(zelmo::engine::historyGame(playGame(*flow, player)),
                             LearningHistory::kWhileRunning);
        }
        made.file = zelmo::engine::encodeMemory(zelmo::engine::DocumentView{
            flow->memory(), flow->entryCount(), made.history, flow->grades});
        return made;
    }();
    return kept;
}

void BM_ReadFileOfAMillionGames(benchmark::State& state) {
    const MillionGames& games = millionGames();
    auto document = std::make_unique<zelmo::engine::MemoryDocument>();
    const LearningHistory& history = document->history;
    for (auto _ : state) {
        const auto result =
            zelmo::engine::decodeMemory(games.file.data(), games.file.size(), *document);
        benchmark::DoNotOptimize(result);
    }
    state.counters["games"] = static_cast<double>(history.games());
    state.counters["blocks"] = static_cast<double>(history.blocks().size());
    state.counters["file_bytes"] = static_cast<double>(games.file.size());
}
BENCHMARK(BM_ReadFileOfAMillionGames)->Unit(benchmark::kMicrosecond);

// Bytes per block of a history encoded as the file holds it.
double bytesPerBlock(const LearningHistory& history) {
    std::vector<std::uint8_t> bytes;
    zelmo::engine::appendHistoryBlocks(history.blocks(), bytes);
    return static_cast<double>(bytes.size()) / static_cast<double>(history.blocks().size());
}

void BM_ReadHistoryOfAMillionGames(benchmark::State& state) {
    const LearningHistory& kept = millionGames().history;
    std::vector<std::uint8_t> bytes;
    zelmo::engine::appendHistoryBlocks(kept.blocks(), bytes);
    std::vector<zelmo::engine::HistoryBlock> blocks;
    for (auto _ : state) {
        const auto result = zelmo::engine::decodeHistoryBlocks(
            bytes.data(), bytes.size(), static_cast<std::uint32_t>(kept.blocks().size()), blocks);
        benchmark::DoNotOptimize(result);
    }
    state.counters["blocks"] = static_cast<double>(kept.blocks().size());
    state.counters["bytes_per_block"] = bytesPerBlock(kept);
}
BENCHMARK(BM_ReadHistoryOfAMillionGames)->Unit(benchmark::kMicrosecond);

// A million games by hand, one block each until the bound merges them, with the grades changed
// now and then as a player does.
void BM_AMillionGamesByHand(benchmark::State& state) {
    LearningHistory history;
    for (auto _ : state) {
        history.clear();
        for (int game = 0; game < 1000000; ++game) {
            const auto outcome = static_cast<zelmo::engine::Outcome>(game * 7 % 3);
            history.add({outcome, game % 2 == 1, {5, 2, 4 - (game / 100000) % 2}, 400},
                        LearningHistory::kByHand);
        }
    }
    state.counters["blocks"] = static_cast<double>(history.blocks().size());
    state.counters["bytes_per_block"] = bytesPerBlock(history);
}
BENCHMARK(BM_AMillionGamesByHand)->Unit(benchmark::kMillisecond)->Iterations(3);

// The memory view's order of a full memory, after the million games.
void BM_GroupFullMemory(benchmark::State& state) {
    auto document = std::make_unique<zelmo::engine::MemoryDocument>();
    const MillionGames& games = millionGames();
    zelmo::engine::decodeMemory(games.file.data(), games.file.size(), *document);
    const MemorySnapshot* snapshot = &document->positions;
    for (auto _ : state) {
        benchmark::DoNotOptimize(zelmo::engine::groupEntries(
            snapshot->memory, snapshot->entryCount, zelmo::engine::EntryOrder::MostPlayed));
    }
    state.counters["positions"] = snapshot->entryCount;
}
BENCHMARK(BM_GroupFullMemory)->Unit(benchmark::kMicrosecond);

void BM_LastLesson(benchmark::State& state) {
    auto flow = newFlow();
    zelmo::engine::RandomPlayer player(9);
    const zelmo::engine::Outcome outcome = playGame(*flow, player).outcome;
    for (auto _ : state) {
        benchmark::DoNotOptimize(zelmo::engine::lastLesson(flow->memory(), outcome));
    }
}
BENCHMARK(BM_LastLesson);

}  // namespace
