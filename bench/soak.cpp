// SPDX-License-Identifier: GPL-3.0-or-later
// The soak program: a long run of complete games through the game flow against the random and
// the perfect player, with extreme grades and occasional wipes, checking every invariant after
// every move, and that the memory file takes the memory and its history back every 1000 games.
// Prints games per second and the resident memory at the start and the end, which must stay flat.
// Usage: soak [GAMES] (default 1000000). Exit code 1 on the first broken invariant, with what
// broke.
#include "engine/game/lesson.h"
#include "engine/game/players.h"
#include "engine/game/playgame.h"
#include "engine/game/random.h"
#include "engine/store/memoryformat.h"
#include "train/trainflow.h"

#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace zelmo;
using engine::MemoryEntry;

long residentKiB() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

[[noreturn]] void broken(long game, const std::string& what, const engine::Board& board) {
    std::fprintf(stderr, "soak: game %ld: %s (board \"%s\")\n", game, what.c_str(),
                 board.text().c_str());
    std::exit(1);
}

// The board agrees with the move count and holds only marks and free cells; the entries in use
// hold distinct answers from slot 1 without gaps, each a free cell of its position. Returns the
// number of used answers.
int checkInvariants(const train::TrainFlow& flow, long game) {
    const engine::Board& board = flow.board();
    int crosses = 0, noughts = 0;
    for (int k = 1; k <= 9; ++k) {
        const char c = board.at(k).character();
        crosses += c == 'X';
        noughts += c == '0';
        if (c != 'X' && c != '0' && c != ' ') {
            broken(game, "a cell that is no mark and not free", board);
        }
    }
    if (flow.moveCount() != crosses + noughts || std::abs(crosses - noughts) > 1) {
        broken(game, "move count " + std::to_string(flow.moveCount()), board);
    }
    const std::int32_t count = flow.entryCount();
    if (count < 0 || count > engine::PositionMemory::Capacity) {
        broken(game, "entry count " + std::to_string(count), board);
    }
    int used = 0;
    for (int j = 1; j <= count; ++j) {
        const MemoryEntry& entry = flow.memory()[j];
        bool seen[10] = {};
        bool gap = false;
        for (int k = 1; k <= MemoryEntry::kSlots; ++k) {
            const int answer = entry.Slots[k].Answer;
            used += entry.Slots[k].Used;
            if (answer == 0) {
                gap = true;
                continue;
            }
            if (gap || answer < 1 || answer > 9 || seen[answer] ||
                !entry.Position.is(answer, engine::kEmpty)) {
                broken(game, "entry " + std::to_string(j) + " slot " + std::to_string(k), board);
            }
            seen[answer] = true;
        }
        if (!seen[entry.Slots[1].Answer]) {
            broken(game, "entry " + std::to_string(j) + " without an answer", board);
        }
    }
    return used;
}

}  // namespace

static int soak(long games) {
    auto flow = std::make_unique<train::TrainFlow>(train::Grades{});
    engine::Board empty;
    empty.fill(engine::kEmpty);
    engine::PerfectPlayer::bestMoves(empty);  // builds the player's table before the first count
    const long rssStart = residentKiB();
    flow->setClock(train::SteppingClock(1, 1777));
    engine::SplitMix64 random(99);
    engine::RandomPlayer randomPlayer(1);
    engine::PerfectPlayer perfectPlayer(2);
    // Normal grades most of the time, so the memory fills and learns; now and then the ends of
    // the 32-bit range, which overflow weights.
    const std::int32_t grades[] = {2, 3, 4,       5,       2,           3,
                                   4, 5, INT_MIN, INT_MAX, -1000000000, 1000000000};
    long errors = 0, overflows = 0, wipes = 0;
    long wins[3] = {};
    const auto started = std::chrono::steady_clock::now();
    const std::clock_t cpuStarted = std::clock();
    long rssWarm = 0;
    // The history of the memory, as the window keeps it: a wipe starts a new one.
    engine::LearningHistory history;
    for (long game = 1; game <= games; ++game) {
        engine::Player& player = game % 2 == 0 ? static_cast<engine::Player&>(perfectPlayer)
                                               : static_cast<engine::Player&>(randomPlayer);
        for (std::int32_t* grade : {&flow->grades.win, &flow->grades.loss, &flow->grades.draw}) {
            *grade = grades[random.below(sizeof grades / sizeof grades[0])];
        }
        const bool wipe = random.below(1000) == 0;
        const double before[3] = {flow->scores()[0], flow->scores()[1], flow->scores()[2]};
        auto guarded = [&](auto&& action) {
            try {
                action();
            } catch (const std::exception& error) {
                ++errors;
                overflows += std::string(error.what()) == "Integer overflow";
            }
        };
        // After every move: the invariants, and one used answer per computer move.
        const auto checkMove = [&] {
            const int used = checkInvariants(*flow, game);
            int noughts = 0;
            for (int k = 1; k <= 9; ++k) {
                noughts += flow->board().is(k, engine::kNought);
            }
            // One used answer per computer move, unless a wipe dropped some or a full table
            // left a new position unremembered.
            if (used > noughts || (!wipe && flow->entryCount() < engine::PositionMemory::Capacity &&
                                   used != noughts)) {
                broken(game, "used answers " + std::to_string(used), flow->board());
            }
        };
        int clicks = 0;
        const engine::GameInput input{
            [&] {
                guarded([&] { flow->Button2Click(); });
                if (!flow->acceptingMoves() || flow->moveCount() != (game % 2 == 0 ? 1 : 0)) {
                    broken(game, "the game did not begin as it should", flow->board());
                }
            },
            [&](int cell) {
                if (wipe && clicks == 1) {
                    flow->Button1Click();
                    history.clear();
                    ++wipes;
                }
                ++clicks;
                guarded([&] { flow->SpeedButtonClick(cell); });
                checkMove();
            }};
        engine::playGame(*flow, player, input);
        if (flow->acceptingMoves()) {
            broken(game, "the game does not end", flow->board());
        }
        int risen = 0;
        for (int i = 0; i < 3; ++i) {
            if (flow->scores()[static_cast<std::size_t>(i)] == before[i] + 1) {
                ++wins[i];
                ++risen;
            } else if (flow->scores()[static_cast<std::size_t>(i)] != before[i]) {
                broken(game, "a score point moved by more than one", flow->board());
            }
        }
        if (risen != 1 || flow->computerStarts() != (game % 2 == 1)) {
            broken(game, "the end of the game", flow->board());
        }
        const engine::Outcome outcome = flow->scores()[0] != before[0] ? engine::Outcome::PlayerWin
                                        : flow->scores()[1] != before[1]
                                            ? engine::Outcome::ComputerWin
                                            : engine::Outcome::Draw;
        // What the flow told its listeners must be the game just played.
        const std::optional<engine::FinishedGame>& finished = flow->lastFinished();
        if (!finished || finished->outcome != outcome ||
            finished->computerBegan != (game % 2 == 0) ||
            finished->entryCount != flow->entryCount()) {
            broken(game, "the end of the game as the listeners heard it", flow->board());
        }
        history.add(engine::historyGame(*finished), game % 3000 < 1500
                                                        ? engine::LearningHistory::kWhileRunning
                                                        : engine::LearningHistory::kByHand);
        // What play makes, the memory file must take back: every stored position is one in
        // which the computer was to move, each once up to a turn of the board; the history
        // comes back as it was.
        if (game % 1000 == 0 || game == games) {
            const std::vector<std::uint8_t> bytes = engine::encodeMemory(
                engine::DocumentView{flow->memory(), flow->entryCount(), history, flow->grades});
            auto reread = std::make_unique<engine::MemoryDocument>();
            const engine::MemoryLoadResult result =
                engine::decodeMemory(bytes.data(), bytes.size(), *reread);
            const engine::LearningHistory& rereadHistory = reread->history;
            if (result.status != engine::MemoryFileStatus::Ok) {
                broken(game, "the memory file refuses the memory: " + result.message,
                       flow->board());
            }
            if (rereadHistory.blocks() != history.blocks()) {
                broken(game, "the history does not come back", flow->board());
            }
        }
        if (game == games / 100) {
            rssWarm = residentKiB();  // every page of the table has been touched by now
        }
        if (&player == &perfectPlayer && flow->scores()[1] != before[1]) {
            broken(game, "the perfect player lost", flow->board());
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const double cpuSeconds = static_cast<double>(std::clock() - cpuStarted) / CLOCKS_PER_SEC;
    const long rssEnd = residentKiB();
    std::printf("games %ld in %.2f s (%.2f s of CPU time): %.0f games/s, %.0f per CPU second\n",
                games, seconds, cpuSeconds, static_cast<double>(games) / seconds,
                static_cast<double>(games) / cpuSeconds);
    std::printf(
        "player %ld, computer %ld, draws %ld; %ld errors (%ld overflows), %ld wipes; "
        "%d positions remembered; %zu history blocks since the last wipe\n",
        wins[0], wins[1], wins[2], errors, overflows, wipes, flow->entryCount(),
        history.blocks().size());
    std::printf(
        "resident memory: %ld KiB at the start, %ld KiB after %ld games, %ld KiB at the end\n",
        rssStart, rssWarm, games / 100, rssEnd);
    return 0;
}

int main(int argc, char** argv) {
    const long games = argc > 1 ? std::atol(argv[1]) : 1000000;
    if (games <= 0) {
        std::fprintf(stderr, "usage: soak [GAMES]\n");
        return 2;
    }
    // An error outside a guarded game action (a failed allocation, a broken table) ends the
    // run with its message instead of an abort.
    try {
        return soak(games);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "soak: %s\n", error.what());
        return 1;
    }
}
