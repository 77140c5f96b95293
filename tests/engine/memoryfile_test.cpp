// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/store/memoryfile.h"
#include "engine/game/playgame.h"
#include "engine/store/learnerfile.h"
#include "recording_flow.h"
#include "tempdir.h"
#include "tests/common/faultysteps.h"
#include "tests/common/memorylayout.h"
#include "tests/common/positionsonly.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace zelmo::engine::test {
namespace {

using Bytes = std::vector<std::uint8_t>;
using S = MemoryFileStatus;

// A small memory that play could have made: two positions, the second with three answers,
// weights at both ends of the 32-bit range and one used mark.
std::unique_ptr<MemorySnapshot> smallMemory() {
    auto snapshot = std::make_unique<MemorySnapshot>();
    snapshot->memory[1].Position = boardOf("         ");
    snapshot->memory[1].Slots[1] = MoveSlot{5, INT32_MIN, false};
    snapshot->memory[2].Position = boardOf("X   0 X  ");
    snapshot->memory[2].Slots[1] = MoveSlot{2, INT32_MAX, true};
    snapshot->memory[2].Slots[2] = MoveSlot{9, -7, false};
    snapshot->memory[2].Slots[3] = MoveSlot{4, 0, false};
    snapshot->entryCount = 2;
    return snapshot;
}

// The same memory with plays counted in both entries, which only the second version holds.
std::unique_ptr<MemorySnapshot> playedMemory() {
    auto snapshot = smallMemory();
    snapshot->memory.setPlays(1, 7);
    snapshot->memory.setPlays(2, UINT32_MAX);
    return snapshot;
}

// Three blocks at the ends of what a block holds, counting kMaxGames games in all.
LearningHistory smallHistory() {
    LearningHistory history;
    history.assign({{1, 0, 0, 1, {5, 2, 4}, 1},
                    {30, 40, 30, 50, {INT32_MIN, INT32_MAX, 0}, 1000},
                    {0, LearningHistory::kMaxGames - 101, 0, 0, {-1, 3, 2}, 0}});
    return history;
}

// Entries 1..count, their plays and the count agree.
void expectSameMemory(const MemorySnapshot& actual, const MemorySnapshot& expected) {
    ASSERT_EQ(actual.entryCount, expected.entryCount);
    for (int j = 1; j <= expected.entryCount; ++j) {
        EXPECT_EQ(actual.memory[j].Position, expected.memory[j].Position) << "entry " << j;
        EXPECT_EQ(actual.memory.plays(j), expected.memory.plays(j)) << "entry " << j;
        for (int k = 1; k <= MemoryEntry::kSlots; ++k) {
            EXPECT_EQ(actual.memory[j].Slots[k], expected.memory[j].Slots[k])
                << "entry " << j << " slot " << k;
        }
    }
}

MemoryLoadResult decode(const Bytes& bytes, MemorySnapshot& out) {
    return decodeMemory(bytes.data(), bytes.size(), out);
}

MemoryLoadResult decode(const Bytes& bytes, MemorySnapshot& out, LearningHistory& history) {
    return decodeMemory(bytes.data(), bytes.size(), out, history);
}

TEST(MemoryFileTest, RoundTripKeepsEveryEntrySlotAndWeight) {
    // A memory grown by play (with random grades, some huge) plus the 32-bit limits.
    RecordingFlow flow;
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> cell(1, 9), grade(2, 5);
    for (int game = 1; game <= 400; ++game) {
        flow.grades = {{1, grade(rng)}, {2, grade(rng)}, {3, grade(rng)}};
        flow.clockMs = static_cast<std::uint32_t>(rng());
        flow.Button2Click();
        while (flow.acceptingMoves()) {
            flow.clockMs = static_cast<std::uint32_t>(rng());
            flow.SpeedButtonClick(cell(rng));
        }
    }
    auto saved = std::make_unique<MemorySnapshot>();
    saved->memory = flow.memory();
    saved->entryCount = flow.entryCount();
    ASSERT_GT(saved->entryCount, 100);
    saved->memory[1].Slots[1].Weight = INT32_MAX;
    saved->memory[2].Slots[1].Weight = INT32_MIN;

    auto loaded = std::make_unique<MemorySnapshot>();
    const MemoryLoadResult result = decode(encodeMemory(*saved), *loaded);
    ASSERT_EQ(result.status, S::Ok) << result.message;
    expectSameMemory(*loaded, *saved);
    // Nothing beyond the count is carried over from whatever the snapshot held before.
    auto reused = smallMemory();
    reused->memory[900].Slots[1].Weight = 5;
    ASSERT_EQ(decode(encodeMemory(*smallMemory()), *reused).status, S::Ok);
    EXPECT_EQ(reused->memory[900].Slots[1], MoveSlot{});
    EXPECT_EQ(reused->memory[3].Position, Board{});

    // The history and the plays come back as they were; a memory with neither is written in
    // the first version, which earlier Zelmos read too.
    LearningHistory history;
    ASSERT_EQ(
        decode(encodeMemory(saved->memory, saved->entryCount, smallHistory()), *loaded, history)
            .status,
        S::Ok);
    EXPECT_EQ(history.blocks(), smallHistory().blocks());
    EXPECT_EQ(history.games(), LearningHistory::kMaxGames);
    expectSameMemory(*loaded, *saved);
    EXPECT_EQ(encodeMemory(*smallMemory())[8], 1);
    EXPECT_EQ(encodeMemory(*playedMemory())[8], 2);
    EXPECT_EQ(encodeMemory(smallMemory()->memory, 2, smallHistory())[8], 2);
}

// A file of the first version, made by hand from the documented layout, loads as it always
// did, with no plays and an empty history in place of the one held before, and is written back
// byte for byte.
TEST(MemoryFileTest, FilesOfTheFirstVersionLoadWithAnEmptyHistory) {
    const Bytes good = encodeMemory(*smallMemory());
    const Bytes old = memorylayout::seal(Bytes(good.begin() + 20, good.end() - 4));
    auto loaded = playedMemory();
    LearningHistory history = smallHistory();
    ASSERT_EQ(decode(old, *loaded).status, S::Ok);
    ASSERT_EQ(decode(old, *loaded, history).status, S::Ok);
    expectSameMemory(*loaded, *smallMemory());
    EXPECT_TRUE(history.empty());
    EXPECT_EQ(encodeMemory(loaded->memory, loaded->entryCount, history), old);
}

// Positions left behind by a wipe are not stored; a memory restored from the file must still
// play every later game exactly as the one that was saved.
TEST(MemoryFileTest, RestoredMemoryPlaysLikeTheSavedOne) {
    RecordingFlow original;
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> cell(1, 9), grade(2, 5);
    auto playGame = [&cell](RecordingFlow& flow, std::mt19937& moves) {
        flow.clockMs = static_cast<std::uint32_t>(moves());
        flow.Button2Click();
        while (flow.acceptingMoves()) {
            flow.clockMs = static_cast<std::uint32_t>(moves());
            flow.SpeedButtonClick(cell(moves));
        }
    };
    for (int game = 1; game <= 300; ++game) {
        original.grades = {{1, grade(rng)}, {2, 2}, {3, grade(rng)}};
        playGame(original, rng);
    }
    original.Button1Click();  // wipe: positions of entries 1..500 stay behind the count
    for (int game = 1; game <= 6; ++game) {
        playGame(original, rng);
    }
    auto saved = std::make_unique<MemorySnapshot>();
    saved->memory = original.memory();
    saved->entryCount = original.entryCount();
    auto loaded = std::make_unique<MemorySnapshot>();
    ASSERT_EQ(decode(encodeMemory(*saved), *loaded).status, S::Ok);

    RecordingFlow restored;
    restored.restoreMemory(loaded->memory, loaded->entryCount);
    EXPECT_EQ(restored.shownEntryCount, saved->entryCount);
    // An even number of games: the player begins next in both, then both get the same moves
    // and clock readings.
    ASSERT_FALSE(original.computerStarts());
    std::mt19937 movesA(99), movesB(99);
    for (int game = 1; game <= 300; ++game) {
        original.grades = restored.grades = {{1, 4}, {2, 2}, {3, 3}};
        playGame(original, movesA);
        playGame(restored, movesB);
        ASSERT_EQ(restored.board().text(), original.board().text()) << "game " << game;
        ASSERT_EQ(restored.entryCount(), original.entryCount()) << "game " << game;
    }
    for (int j = 1; j <= original.entryCount(); ++j) {
        ASSERT_EQ(restored.memory()[j].Position, original.memory()[j].Position) << j;
        for (int k = 1; k <= 9; ++k) {
            ASSERT_EQ(restored.memory()[j].Slots[k], original.memory()[j].Slots[k]) << j;
        }
    }
}

TEST(MemoryFileTest, RestoreRefusesACountOutsideTheTable) {
    RecordingFlow flow;
    auto snapshot = smallMemory();
    EXPECT_EQ(errorText([&] { flow.restoreMemory(snapshot->memory, 1001); }), "Range check error");
    EXPECT_EQ(errorText([&] { flow.restoreMemory(snapshot->memory, -1); }), "Range check error");
    EXPECT_EQ(flow.entryCount(), 0);
    flow.restoreMemory(snapshot->memory, 1000);
    EXPECT_EQ(flow.shownEntryCount, 1000);
}

// Every kind of bad file is refused with its own status and a message, and the snapshot it
// was to be read into is left exactly as it was.
TEST(MemoryFileTest, BadFilesAreRefusedAndLoseNothing) {
    const Bytes good = encodeMemory(*smallMemory());
    ASSERT_EQ(good.size(), 20u + 2u * 72u + 4u);
    const Bytes second = encodeMemory(playedMemory()->memory, 2, smallHistory());
    ASSERT_EQ(second.size(), 32u + 2u * 76u + (8u + 17u + 15u) + 4u);  // blocks of 8, 17, 15 bytes
    auto sentinel = smallMemory();
    sentinel->memory[1].Slots[1].Weight = 12345;
    auto expectRefused = [&sentinel](const Bytes& bytes, S status, const std::string& what,
                                     const std::string& inMessage = "") {
        auto out = smallMemory();
        out->memory[1].Slots[1].Weight = 12345;
        LearningHistory history = smallHistory();
        const MemoryLoadResult result = decode(bytes, *out, history);
        EXPECT_EQ(result.status, status) << what << ": " << result.message;
        EXPECT_NE(result.message.find(inMessage), std::string::npos)
            << what << ": " << result.message;
        EXPECT_FALSE(result.message.empty()) << what;
        expectSameMemory(*out, *sentinel);
        EXPECT_EQ(history.blocks(), smallHistory().blocks()) << what;
    };

    expectRefused({}, S::Empty, "empty", "пуст");
    for (const Bytes& file : {good, second}) {
        const std::string version = file == good ? "version 1, " : "version 2, ";
        for (std::size_t length = 1; length < file.size(); ++length) {
            expectRefused(Bytes(file.begin(), file.begin() + static_cast<long>(length)),
                          S::Truncated, version + "cut to " + std::to_string(length), "обрезан");
        }
        for (std::size_t i = 0; i < file.size(); ++i) {
            Bytes flipped = file;
            flipped[i] ^= 0x20;
            expectRefused(flipped, i < 8 ? S::Foreign : S::Corrupt,
                          version + "byte " + std::to_string(i));
        }
    }
    Bytes longer = good;
    longer.push_back(0);
    expectRefused(longer, S::Corrupt, "one byte more", "ещё 1 лишний байт");
    expectRefused(Bytes{'P', 'K', 3, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                  S::Foreign, "a zip file", "не файл памяти");

    Bytes newer = good;
    newer[8] = 5;
    memorylayout::reseal(newer);
    expectRefused(newer, S::NewerVersion, "version 5", "формат 5");
    for (const std::uint32_t count : {1001u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        Bytes tooMany = good;
        memorylayout::put32(tooMany.data() + 12, count);
        memorylayout::reseal(tooMany);
        expectRefused(tooMany, S::BadCount, "count " + std::to_string(count), "от 0 до 1000");
    }

    // Intact files whose entries play could not have made: bytes of entry 2 changed (its
    // cells are bytes 0..8, then slots of 7 bytes: answer, weight, used).
    struct BadEntry {
        const char* what;
        std::vector<std::pair<std::size_t, std::uint8_t>> patch;
        const char* inMessage;
    };
    const BadEntry badEntries[] = {
        {"a skip mark in a cell", {{3, '*'}}, "позиция 2: в клетке 4 недопустимый"},
        {"a cell of length 0", {{0, 0}}, "позиция 2: в клетке 1 недопустимый"},
        {"an answer on a taken cell", {{9, 1}}, "позиция 2, ответ 1: клетка уже занята"},
        {"an answer beyond cell 9", {{9, 10}}, "позиция 2, ответ 1: такой клетки нет"},
        {"a negative answer", {{9, 0xFF}, {10, 0xFF}}, "позиция 2, ответ 1: такой клетки нет"},
        {"the same answer twice", {{16, 2}}, "позиция 2, ответ 2: эта клетка уже есть"},
        {"a gap before an answer",
         {{16, 0}, {18, 0}, {19, 0}, {20, 0}, {21, 0}},
         "позиция 2, ответ 3: ответы идут с пропуском"},
        {"a used mark of 2", {{15, 2}}, "позиция 2, ответ 1: неверная отметка"},
        {"a weight in a free slot", {{32, 1}}, "позиция 2, ответ 4: свободное место не пусто"},
        {"a used mark in a free slot", {{36, 1}}, "позиция 2, ответ 4: свободное место не пусто"},
        {"no answer in slot 1", {{9, 0}}, "позиция 2: нет ни одного ответа"},
        // Positions in which the computer is never to move.
        {"two X and no 0", {{4, ' '}}, "позиция 2: в ней 2 крестика и 0 ноликов"},
        {"all 0", {{0, '0'}, {6, '0'}}, "позиция 2: в ней 0 крестиков и 3 нолика"},
        {"eight X",
         {{1, 'X'}, {2, 'X'}, {3, 'X'}, {4, 'X'}, {5, 'X'}, {7, 'X'}},
         "позиция 2: в ней 8 крестиков и 0 ноликов"},
        {"a finished line",
         {{1, 'X'}, {2, 'X'}, {5, '0'}, {6, ' '}},
         "позиция 2: в ней уже три в ряд"},
        {"the empty board twice", {{0, ' '}, {4, ' '}, {6, ' '}}, "позиция 2 повторяет позицию 1"},
    };
    for (const BadEntry& bad : badEntries) {
        Bytes bytes = good;
        for (const auto& [offset, value] : bad.patch) {
            bytes[20 + 72 + offset] = value;
        }
        memorylayout::reseal(bytes);
        expectRefused(bytes, S::BadData, bad.what, bad.inMessage);
    }
    auto full = smallMemory();
    full->memory[1].Position = boardOf("X0X0X0X0X");
    expectRefused(encodeMemory(*full), S::BadData, "a position without a free cell", "позиция 1");
    // Entry 2 ("X   0 X  ") again as entry 3, turned by a quarter, a half, three quarters.
    for (const char* turned : {"X X 0    ", "  X 0   X", "    0 X X"}) {
        auto twice = smallMemory();
        twice->memory[3].Position = boardOf(turned);
        twice->memory[3].Slots[1] = MoveSlot{2, 0, false};
        twice->entryCount = 3;
        expectRefused(encodeMemory(*twice), S::BadData, turned, "позиция 3 повторяет позицию 2");
    }

    // Intact files of the second version whose history LearningHistory could not hold: the
    // entries and plays of `second`, then `blocks` said to be in `history`. A good block is
    // 1, 0, 0, 1, grades 5, 2, 4 (zigzag 10, 4, 8), 1 position.
    constexpr long kEntriesEnd = 32 + 2 * 72;
    constexpr long kPlaysEnd = 32 + 2 * 76;
    const Bytes entries(second.begin() + 32, second.begin() + kEntriesEnd);
    const Bytes plays(second.begin() + kEntriesEnd, second.begin() + kPlaysEnd);
    const Bytes block = {1, 0, 0, 1, 10, 4, 8, 1};
    const auto blocksOf = [&block](std::size_t n) {
        Bytes bytes;
        for (std::size_t i = 0; i < n; ++i) {
            bytes.insert(bytes.end(), block.begin(), block.end());
        }
        return bytes;
    };
    const auto then = [](Bytes bytes, const Bytes& more) {
        bytes.insert(bytes.end(), more.begin(), more.end());
        return bytes;
    };
    struct BadHistory {
        const char* what;
        std::uint32_t blocks;
        Bytes history;
        S status;
        const char* inMessage;
    };
    const BadHistory badHistories[] = {
        {"no games in a block", 2, then(block, {0, 0, 0, 0, 10, 4, 8, 1}), S::BadData,
         "блок 2: в нём нет ни одной партии"},
        {"more games begun than played",
         1,
         {1, 1, 0, 3, 10, 4, 8, 1},
         S::BadData,
         "блок 1: компьютер начал больше партий"},
        {"a grade beyond 32 bits",
         1,
         {1, 0, 0, 0, 0x80, 0x80, 0x80, 0x80, 0x10, 4, 8, 1},
         S::BadData,
         "блок 1: оценка не умещается"},
        {"more positions than the table holds",
         1,
         {1, 0, 0, 0, 10, 4, 8, 0xE9, 0x07},
         S::BadData,
         "блок 1: позиций больше 1000"},
        {"more games than a history counts", 2,
         then({0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x10, 0, 0, 0, 10, 4, 8, 1}, block),
         S::BadData, "в ней больше 9007199254740992 партий"},
        {"a number longer than it needs",
         1,
         {0x81, 0, 0, 0, 1, 10, 4, 8, 1},
         S::Corrupt,
         "блок 1: неверная запись числа"},
        {"a number beyond 64 bits",
         1,
         {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x02, 0, 0, 0, 10, 4, 8, 1},
         S::Corrupt,
         "блок 1: неверная запись числа"},
        {"a block cut short", 2, then(block, Bytes(8, 0x81)), S::Corrupt,
         "история обучения обрывается в блоке 2"},
        {"bytes after the last block", 1, then(block, {0}), S::Corrupt,
         "после истории обучения лишние байты"},
        {"more blocks than a history keeps", 2049, blocksOf(2049), S::Corrupt,
         "неверный заголовок"},
        {"fewer bytes than its blocks need", 2, then(block, {1}), S::Corrupt, "неверный заголовок"},
        {"more bytes than its blocks can fill", 1, then(block, Bytes(50, 0)), S::Corrupt,
         "неверный заголовок"},
        {"neither plays nor history", 0, {}, S::Corrupt, "нет ни числа ответов"},
    };
    for (const BadHistory& bad : badHistories) {
        const Bytes noPlays(plays.size(), 0);
        expectRefused(memorylayout::sealHistory(entries, bad.blocks == 0 ? noPlays : plays,
                                                bad.blocks, bad.history),
                      bad.status, bad.what, bad.inMessage);
    }
    // The same layout with good blocks is taken, so each row fails for its own reason.
    auto read = smallMemory();
    LearningHistory history;
    ASSERT_EQ(decode(second, *read, history).status, S::Ok);
    ASSERT_EQ(
        decode(memorylayout::sealHistory(entries, plays, 2, blocksOf(2)), *read, history).status,
        S::Ok);
    EXPECT_EQ(history.games(), 2u);
}

void writeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

TEST(MemoryFileTest, FileRoundTripMissingFileAndReadErrors) {
    TempDir dir;
    const std::string path = dir.path() + "/memory.zelmo";
    auto out = smallMemory();
    const MemoryLoadResult missing = loadMemoryFile(path, *out);
    EXPECT_EQ(missing.status, S::Missing);
    EXPECT_NE(missing.message.find(path), std::string::npos) << missing.message;

    ASSERT_EQ(saveMemoryFile(path, encodeMemory(*smallMemory())), "");
    EXPECT_EQ(readBytes(path), encodeMemory(*smallMemory()));
    EXPECT_EQ(dir.names(), std::set<std::string>{"memory.zelmo"});  // no temporary left
    auto loaded = std::make_unique<MemorySnapshot>();
    ASSERT_EQ(loadMemoryFile(path, *loaded).status, S::Ok);
    expectSameMemory(*loaded, *smallMemory());

    // A damaged file's message names the file; a directory or a pipe is no memory file.
    writeFile(path, Bytes(7, 'Z'));
    const MemoryLoadResult foreign = loadMemoryFile(path, *loaded);
    EXPECT_EQ(foreign.status, S::Foreign);
    EXPECT_NE(foreign.message.find("«" + path + "»"), std::string::npos) << foreign.message;
    EXPECT_EQ(loadMemoryFile(dir.path(), *loaded).status, S::IoError);
    const std::string pipe = dir.path() + "/pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(loadMemoryFile(pipe, *loaded).status, S::IoError);  // refused, not waited on
    expectSameMemory(*loaded, *smallMemory());

    // A save into a directory that does not exist reports it and creates nothing.
    const std::string nowhere = dir.path() + "/no/such/memory.zelmo";
    const std::string failure = saveMemoryFile(nowhere, encodeMemory(*smallMemory()));
    EXPECT_NE(failure.find("«" + nowhere + "»"), std::string::npos) << failure;
}

// A learner's memory for "X" is a file of its own kind: written in version 4 with its side and
// history, read back whole and byte for byte, locked while a learner holds it, refused where the
// computer's memory is wanted and the other way round (nothing taken); a version 4 header that
// names no side is damage.
TEST(MemoryFileTest, AnXLearnersMemoryIsAFileOfItsOwnKind) {
    TempDir dir;
    const std::string path = dir.path() + "/x.zelmo";
    RecordingFlow flow;
    LearnerPlayer learner(5);
    LearnerFile file(path, kTrainerProgram);
    const MemoryWriter::Taken opened = file.open(learner);
    ASSERT_EQ(opened.kind, MemoryWriter::Taken::Kind::Ok) << opened.message;
    for (int game = 0; game < 300; ++game) {
        playGame(flow, learner, entryPointsOf(flow));
        const Outcome outcome = *detect(flow.board(), flow.moveCount());
        learner.gameOver(outcome);
        FinishedGame finished;
        finished.outcome = outcome;
        file.noteGame(learner, finished);
    }
    ASSERT_EQ(file.save(learner).failure, "");
    const Bytes bytes = readBytes(path);
    ASSERT_GT(bytes.size(), 48u);
    EXPECT_EQ(bytes[8], 4);

    auto document = std::make_unique<MemoryDocument>();
    ASSERT_EQ(decodeMemory(bytes.data(), bytes.size(), *document, MemorySide::Cross).status, S::Ok);
    EXPECT_EQ(document->side, MemorySide::Cross);
    EXPECT_EQ(document->positions.entryCount, learner.entryCount());
    EXPECT_EQ(document->history.games(), 300u);
    EXPECT_EQ(encodeMemory(*document), bytes);

    LearnerPlayer other(6);
    LearnerFile second(path, kWindowProgram);
    EXPECT_EQ(second.open(other).kind, MemoryWriter::Taken::Kind::Held);
    EXPECT_EQ(other.entryCount(), 0);

    auto computers = std::make_unique<MemoryDocument>();
    computers->positions = *smallMemory();
    const Bytes noughts = encodeMemory(*computers);
    const MemoryLoadResult asComputers = decodeMemory(bytes.data(), bytes.size(), *computers);
    EXPECT_EQ(asComputers.status, S::WrongSide);
    EXPECT_NE(asComputers.message.find("«X»"), std::string::npos) << asComputers.message;
    EXPECT_EQ(encodeMemory(*computers), noughts) << "nothing taken";
    EXPECT_EQ(decodeMemory(noughts.data(), noughts.size(), *document, MemorySide::Cross).status,
              S::WrongSide);
    EXPECT_EQ(decodeMemory(noughts.data(), noughts.size(), *document, std::nullopt).status, S::Ok);

    // A learner's position is one where "X" is to move: two noughts on the empty board of its
    // first game (the player begins the first) is not.
    Bytes unbalanced = bytes;
    ASSERT_EQ(std::string(unbalanced.begin() + 48, unbalanced.begin() + 57), "         ");
    unbalanced[48] = '0';
    unbalanced[49] = '0';
    memorylayout::reseal(unbalanced);
    const MemoryLoadResult balance =
        decodeMemory(unbalanced.data(), unbalanced.size(), *document, MemorySide::Cross);
    EXPECT_EQ(balance.status, S::BadData) << balance.message;
    EXPECT_NE(balance.message.find("ученик"), std::string::npos) << balance.message;

    // Taken by nobody, a file that cannot be read or made gives the learner nothing.
    LearnerPlayer nowhere(7);
    LearnerFile missingFolder(dir.path() + "/no/x.zelmo", kTrainerProgram);
    EXPECT_EQ(missingFolder.open(nowhere).kind, MemoryWriter::Taken::Kind::Failed);
    writeFile(dir.path() + "/noughts.zelmo", noughts);
    LearnerFile computersFile(dir.path() + "/noughts.zelmo", kTrainerProgram);
    const MemoryWriter::Taken wrongSide = computersFile.open(nowhere);
    EXPECT_EQ(wrongSide.kind, MemoryWriter::Taken::Kind::Failed);
    EXPECT_NE(wrongSide.message.find("ученика за «X»"), std::string::npos) << wrongSide.message;
    EXPECT_EQ(nowhere.entryCount(), 0);

    Bytes sideless = bytes;
    memorylayout::put32(sideless.data() + 40, 0);
    memorylayout::put32(sideless.data() + 44, memorylayout::crc32(sideless.data(), 44));
    memorylayout::reseal(sideless);
    EXPECT_EQ(decodeMemory(sideless.data(), sideless.size(), *document, std::nullopt).status,
              S::Corrupt);
}

TEST(MemoryFileTest, SaveKeepsThePermissionsOfTheFileItReplaces) {
    TempDir dir;
    const std::string path = dir.path() + "/memory.zelmo";
    writeFile(path, {});
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_EQ(saveMemoryFile(path, encodeMemory(*smallMemory())), "");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST(MemoryFileTest, SaveThroughASymbolicLinkReplacesTheFileBehindIt) {
    TempDir dir;
    const std::string file = dir.path() + "/real.zelmo";
    const std::string link = dir.path() + "/link.zelmo";
    writeFile(file, {});
    ASSERT_EQ(::symlink(file.c_str(), link.c_str()), 0);
    ASSERT_EQ(saveMemoryFile(link, encodeMemory(*smallMemory())), "");
    struct stat info {};
    ASSERT_EQ(::lstat(link.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(readBytes(file), encodeMemory(*smallMemory()));
}

using faults::FaultySteps;

TEST(MemoryFileTest, AFailedSaveLeavesTheOldFileAndNoTemporary) {
    TempDir dir;
    const std::string path = dir.path() + "/memory.zelmo";
    auto newer = smallMemory();
    newer->memory[2].Slots[2].Weight = 41;
    const Bytes oldBytes = encodeMemory(*smallMemory());
    const Bytes newBytes = encodeMemory(*newer);

    FaultySteps counting;
    writeFile(path, oldBytes);
    ASSERT_EQ(saveMemoryFile(path, encodeMemory(*newer), counting), "");
    ASSERT_EQ(readBytes(path), newBytes);
    const int total = static_cast<int>(counting.calls().size());
    ASSERT_GT(total, 8);  // create, mode, several writes, sync, close, rename, directory

    for (int k = 1; k <= total; ++k) {
        writeFile(path, oldBytes);
        FaultySteps faulty(k);
        const std::string message = saveMemoryFile(path, encodeMemory(*newer), faulty);
        // Closing the directory is the last step; its result is of no use to anyone.
        if (k < total) {
            EXPECT_NE(message.find("«" + path + "»"), std::string::npos) << "step " << k;
        } else {
            EXPECT_EQ(message, "") << "step " << k;
        }
        // Up to the rename the old file stays; after it only the directory flush can fail.
        const Bytes now = readBytes(path);
        EXPECT_TRUE(now == oldBytes || now == newBytes) << "step " << k;
        EXPECT_EQ(now == newBytes, k > total - 3) << "step " << k << ": " << message;
        EXPECT_EQ(dir.names(), std::set<std::string>{"memory.zelmo"}) << "step " << k;
    }
}

TEST(MemoryFileTest, ASaveStoppedAtAnyStepLeavesTheOldOrTheNewFile) {
    TempDir dir;
    const std::string path = dir.path() + "/memory.zelmo";
    auto newer = smallMemory();
    newer->memory[1].Slots[1].Weight = 3;
    const Bytes oldBytes = encodeMemory(*smallMemory());
    const Bytes newBytes = encodeMemory(*newer);
    FaultySteps counting;
    ASSERT_EQ(saveMemoryFile(path, encodeMemory(*newer), counting), "");

    for (int k = 1; k <= static_cast<int>(counting.calls().size()) + 1; ++k) {
        writeFile(path, oldBytes);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            FaultySteps crashing(k, EIO, true);
            saveMemoryFile(path, encodeMemory(*newer), crashing);
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        const Bytes now = readBytes(path);
        EXPECT_TRUE(now == oldBytes || now == newBytes) << "stopped at step " << k;
        auto loaded = std::make_unique<MemorySnapshot>();
        EXPECT_EQ(loadMemoryFile(path, *loaded).status, S::Ok) << "stopped at step " << k;
        for (const std::string& name : dir.names()) {
            if (name != "memory.zelmo") {
                ::unlink((dir.path() + "/" + name).c_str());  // what a crash leaves behind
            }
        }
    }
}

}  // namespace
}  // namespace zelmo::engine::test
