// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording_flow.h"

#include "engine/game/players.h"
#include "engine/game/playgame.h"
#include "engine/game/random.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

namespace zelmo::engine::test {
namespace {

// FNV-1a over 32-bit values.
struct Fnv {
    std::uint64_t hash = 14695981039346656037ull;
    void add(std::uint32_t value) {
        for (int i = 0; i < 4; ++i) {
            hash = (hash ^ ((value >> (8 * i)) & 0xFFu)) * 1099511628211ull;
        }
    }
};

// 20 000 seeded games against a random player on a stepping clock, with grades that change
// every game, a huge grade now and then (overflows), and a wipe every 3 000 games. Every
// computer move, every outcome and error, the entry count after each game and all weights and
// used marks every 100 games go into one hash. `trace`, when open, gets the same as text.
std::uint64_t recordedRun(std::ostream* trace) {
    RecordingFlow flow;
    std::uint32_t clock = 12345678;
    flow.setClock([&clock] { return clock = (clock + 1777) % 86400000u; });
    SplitMix64 rng(20261207);
    Fnv fnv;
    auto note = [&](const char* what, std::uint32_t value) {
        fnv.add(value);
        if (trace) {
            *trace << what << value << '\n';
        }
    };
    for (int game = 1; game <= 20000; ++game) {
        for (auto& [spinner, value] : flow.grades) {
            value = game % 491 == 0 ? 1'000'000'000 : 2 + static_cast<std::int32_t>(rng.below(4));
        }
        if (game % 3000 == 0) {
            flow.Button1Click();
        }
        try {
            flow.Button2Click();
            while (flow.acceptingMoves()) {
                int free[9];
                int count = 0;
                for (int k = 1; k <= 9; ++k) {
                    if (flow.board().is(k, kEmpty)) {
                        free[count++] = k;
                    }
                }
                flow.SpeedButtonClick(free[rng.below(static_cast<std::uint32_t>(count))]);
            }
        } catch (const EIntOverflow&) {
            note("overflow ", static_cast<std::uint32_t>(game));
        }
        const std::string board = flow.board().text();
        std::uint32_t noughts = 0;
        for (int k = 0; k < 9; ++k) {
            noughts |= (board[static_cast<std::size_t>(k)] == '0' ? 1u : 0u) << k;
        }
        note("noughts ", noughts);
        note("status ", static_cast<std::uint32_t>(flow.status.size()));
        note("entries ", static_cast<std::uint32_t>(flow.entryCount()));
        if (game % 100 == 0) {
            Fnv weights;
            for (int j = 1; j <= flow.entryCount(); ++j) {
                for (int k = 1; k <= 9; ++k) {
                    const MoveSlot& slot = flow.memory()[j].Slots[k];
                    weights.add(static_cast<std::uint32_t>(slot.Answer));
                    weights.add(static_cast<std::uint32_t>(slot.Weight));
                    weights.add(slot.Used ? 1u : 0u);
                }
            }
            note("weights ", static_cast<std::uint32_t>(weights.hash));
        }
    }
    return fnv.hash;
}

TEST(RecordedRunTest, SeededGamesPlayMoveForMoveAsRecorded) {
    std::ofstream traceFile;
    if (const char* path = std::getenv("ZELMO_RECORDED_RUN_TRACE")) {
        traceFile.open(path);
    }
    const std::uint64_t hash = recordedRun(traceFile.is_open() ? &traceFile : nullptr);
    EXPECT_EQ(hash, 0x3c3a39dc04423971u) << std::hex << hash;
}

// The computer's games against each fixed player, seeded, on a stepping clock: every board at
// the end of a game and the entry count after it, hashed. Learning players of other kinds must
// leave these games exactly as they are.
TEST(RecordedRunTest, TheComputerPlaysEveryFixedPlayerAsRecorded) {
    const struct {
        const char* player;
        std::uint64_t hash;
    } rows[] = {{"random", 0x8b4678a23ab2010eu},
                {"perfect", 0xd1a725357394371eu},
                {"mixed:0.5", 0xf71ac89d1d1b20a7u}};
    for (const auto& row : rows) {
        RecordingFlow flow;
        std::uint32_t clock = 4321;
        flow.setClock([&clock] { return clock = (clock + 1777) % 86400000u; });
        const auto player = makePlayer(row.player, 99);
        Fnv fnv;
        for (int game = 1; game <= 3000; ++game) {
            playGame(flow, *player, entryPointsOf(flow));
            for (int k = 1; k <= 9; ++k) {
                fnv.add(static_cast<std::uint32_t>(flow.board().at(k).character()));
            }
            fnv.add(static_cast<std::uint32_t>(flow.entryCount()));
        }
        EXPECT_EQ(fnv.hash, row.hash) << row.player << ' ' << std::hex << fnv.hash;
    }
}

}  // namespace
}  // namespace zelmo::engine::test
