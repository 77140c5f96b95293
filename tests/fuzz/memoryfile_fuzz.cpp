// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes given to the memory file reader: it never crashes, leaves its targets (memory and
// history) alone unless it accepts the bytes, accepts only what it writes back byte for byte,
// and a memory it accepts plays whole games without a range error and, with those games added
// to its history, is still accepted after them (what play makes, the reader takes back).
//
// The mutator works on the parts of the file: it changes cells, answers, weights and used
// marks, copies, turns, adds and removes entries; it changes the plays and the history's
// blocks (numbers in and out of range, longer forms, cut or added bytes, a wrong block count);
// then writes the header and every checksum anew in the first or the second version, so that
// the inputs reach the entry and history checks and the play instead of stopping at a
// checksum. One mutation in eight works on the raw bytes and leaves the checksums as they
// fall, for the header checks.
#include "engine/game/errors.h"
#include "engine/game/gameflow.h"
#include "engine/game/learner.h"
#include "engine/game/lesson.h"
#include "engine/game/players.h"
#include "engine/store/memoryfile.h"
#include "train/history.h"
#include "train/trainflow.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "tests/common/memorylayout.h"

namespace {

using namespace zelmo::engine;
namespace layout = zelmo::memorylayout;

// One whole game through the trainer's window-less flow. A weight stored at the 32-bit limit may
// overflow when graded; that is reported to the player like any other overflow. Any other
// error, or a game that does not end within nine moves, is a fault. Returns what the flow told
// of its end.
FinishedGame playOneGame(zelmo::train::TrainFlow& flow, zelmo::engine::Player& player) {
    const zelmo::train::TrainFlow::GameResult result =
        flow.playGame(player, [](const std::exception& error) {
            if (dynamic_cast<const EIntOverflow*>(&error) == nullptr) {
                std::abort();
            }
        });
    if (flow.acceptingMoves() || !result.finished) {
        std::abort();
    }
    return *result.finished;
}

// Documents are large: two kept for all inputs spare a fresh mapping of memory for each.
MemoryDocument& document(int which) {
    static const std::array<std::unique_ptr<MemoryDocument>, 2> kept = {
        std::make_unique<MemoryDocument>(), std::make_unique<MemoryDocument>()};
    return *kept[static_cast<std::size_t>(which)];
}

// The document after play must be a file the reader accepts, history and grades and all.
void expectReadable(const zelmo::train::TrainFlow& flow, const LearningHistory& history,
                    std::optional<zelmo::engine::Grades> grades) {
    MemoryDocument& played = document(1);
    const std::vector<std::uint8_t> bytes =
        encodeMemory(DocumentView{flow.memory(), flow.entryCount(), history, grades});
    if (decodeMemory(bytes.data(), bytes.size(), played).status != MemoryFileStatus::Ok ||
        played.history.blocks() != history.blocks() || played.grades != grades) {
        std::abort();
    }
}

// The cell of the board that a quarter turn brings to cell k + 1.
constexpr std::array<int, 9> kQuarterTurn = {7, 4, 1, 8, 5, 2, 9, 6, 3};

class EntryMutator {
  public:
    EntryMutator(std::vector<std::uint8_t>& entries, unsigned seed)
        : entries_(entries), random_(seed) {}

    void mutate(std::size_t maxEntriesBytes) {
        const int rounds = pick(1, 4);
        for (int i = 0; i < rounds; ++i) {
            once(maxEntriesBytes);
        }
        entries_.resize(entries_.size() / layout::kEntrySize * layout::kEntrySize);
    }

  private:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    std::size_t count() const { return entries_.size() / layout::kEntrySize; }
    std::uint8_t* entry(std::size_t j) { return entries_.data() + j * layout::kEntrySize; }
    std::uint8_t* slot(std::size_t j, int k) {
        return entry(j) + layout::kCells + static_cast<std::size_t>(k) * layout::kSlotSize;
    }
    std::size_t anyEntry() {
        return static_cast<std::size_t>(pick(0, static_cast<int>(count()) - 1));
    }

    std::uint8_t mark() {
        static constexpr std::array<std::uint8_t, 3> kMarks = {' ', 'X', '0'};
        return pick(0, 15) == 0 ? static_cast<std::uint8_t>(pick(0, 255))
                                : kMarks[static_cast<std::size_t>(pick(0, 2))];
    }

    std::int32_t weight() {
        static constexpr std::array<std::int32_t, 9> kWeights = {
            0, 1, -1, 2, -2, INT32_MAX, INT32_MIN, INT32_MAX - 1, INT32_MIN + 1};
        return pick(0, 3) == 0 ? static_cast<std::int32_t>(random_())
                               : kWeights[static_cast<std::size_t>(pick(0, 8))];
    }

    // A new entry: a board of random marks and one answer on a free cell, the rest empty.
    void append() {
        std::array<std::uint8_t, layout::kEntrySize> fresh{};
        int free = 0;
        for (std::size_t k = 0; k < layout::kCells; ++k) {
            fresh[k] = mark();
            if (fresh[k] == ' ') {
                free = static_cast<int>(k) + 1;
            }
        }
        layout::put16(fresh.data() + layout::kCells, static_cast<std::uint16_t>(free));
        entries_.insert(entries_.end(), fresh.begin(), fresh.end());
    }

    // A copy of entry j turned by a quarter, its answers turned with it.
    void appendTurned(std::size_t j) {
        std::array<std::uint8_t, layout::kEntrySize> turned{};
        std::memcpy(turned.data(), entry(j), layout::kEntrySize);
        std::array<int, 10> newCell{};
        for (std::size_t k = 0; k < layout::kCells; ++k) {
            const int from = kQuarterTurn[k];
            turned[k] = entry(j)[from - 1];
            newCell[static_cast<std::size_t>(from)] = static_cast<int>(k) + 1;
        }
        for (int s = 0; s < static_cast<int>(layout::kSlots); ++s) {
            std::uint8_t* p =
                turned.data() + layout::kCells + static_cast<std::size_t>(s) * layout::kSlotSize;
            const int answer = p[0] | (p[1] << 8);
            if (answer >= 1 && answer <= 9) {
                layout::put16(
                    p, static_cast<std::uint16_t>(newCell[static_cast<std::size_t>(answer)]));
            }
        }
        entries_.insert(entries_.end(), turned.begin(), turned.end());
    }

    void once(std::size_t maxEntriesBytes) {
        const bool room = entries_.size() + layout::kEntrySize <= maxEntriesBytes;
        if (count() == 0) {
            if (room) {
                append();
            }
            return;
        }
        const std::size_t j = anyEntry();
        const int k = pick(0, 8);
        switch (pick(0, 9)) {
            case 0:
                entry(j)[k] = mark();
                break;
            case 1:
                layout::put16(slot(j, k), static_cast<std::uint16_t>(
                                              pick(0, 15) == 0 ? pick(-32768, 32767) : pick(0, 9)));
                break;
            case 2:
                layout::put32(slot(j, k) + 2, static_cast<std::uint32_t>(weight()));
                break;
            case 3:
                slot(j, k)[6] =
                    static_cast<std::uint8_t>(pick(0, 15) == 0 ? pick(0, 255) : pick(0, 1));
                break;
            case 4:
                // Free slots from k on, as the game leaves them.
                std::memset(slot(j, k), 0,
                            (layout::kSlots - static_cast<std::size_t>(k)) * layout::kSlotSize);
                break;
            case 5:
                if (room) {
                    const std::vector<std::uint8_t> copy(entry(j), entry(j) + layout::kEntrySize);
                    entries_.insert(entries_.end(), copy.begin(), copy.end());
                }
                break;
            case 6:
                if (room) {
                    appendTurned(j);
                }
                break;
            case 7:
                if (room) {
                    append();
                }
                break;
            case 8: {
                const auto at =
                    entries_.begin() + static_cast<std::ptrdiff_t>(j * layout::kEntrySize);
                entries_.erase(at, at + static_cast<std::ptrdiff_t>(layout::kEntrySize));
                break;
            }
            default: {
                const std::size_t other = anyEntry();
                std::swap_ranges(entry(j), entry(j) + layout::kEntrySize, entry(other));
                break;
            }
        }
    }

    std::vector<std::uint8_t>& entries_;
    std::minstd_rand random_;
};

}  // namespace

extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t maxSize);

namespace {

// The parts of a file of either version, as far as its bytes go; anything between the header
// and the trailer that is not whole entries and plays is taken as history.
struct Parts {
    std::vector<std::uint8_t> entries;
    std::vector<std::uint8_t> plays;
    std::vector<std::uint8_t> history;
    std::uint32_t blocks = 0;
    bool second = false;
};

Parts partsOf(const std::uint8_t* data, std::size_t size) {
    Parts parts;
    parts.second = size >= layout::kHeaderSize2 + layout::kTrailerSize &&
                   data[8] == layout::kHistoryVersion && data[9] == 0;
    const std::size_t header = parts.second ? layout::kHeaderSize2 : layout::kHeaderSize;
    if (size <= header + layout::kTrailerSize) {
        return parts;
    }
    const std::uint8_t* body = data + header;
    const std::size_t length = size - header - layout::kTrailerSize;
    if (!parts.second) {
        parts.entries.assign(body, body + length);
        return parts;
    }
    parts.blocks = layout::get32(data + 20);
    const std::size_t count = std::min<std::size_t>(layout::get32(data + 12), layout::kCapacity);
    const std::size_t entries = std::min(length, count * layout::kEntrySize);
    const std::size_t plays = std::min(length - entries, count * layout::kPlaysSize);
    parts.entries.assign(body, body + entries);
    parts.plays.assign(body + entries, body + entries + plays);
    parts.history.assign(body + entries + plays, body + length);
    return parts;
}

// Changes to the plays and the history: mostly blocks that LearningHistory could hold, now and
// then numbers out of range or in a longer form than needed, cut or extra bytes, a block count
// that does not match.
class HistoryMutator {
  public:
    HistoryMutator(Parts& parts, unsigned seed) : parts_(parts), random_(seed) {}

    void mutate() {
        const int rounds = pick(1, 3);
        for (int i = 0; i < rounds; ++i) {
            once();
        }
    }

  private:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    std::uint64_t count() {
        switch (pick(0, 7)) {
            case 0:
                return 0;
            case 1:
                return random_() | (std::uint64_t{random_()} << 32);
            case 2:
                return (std::uint64_t{1} << 53) - static_cast<std::uint64_t>(pick(0, 2));
            default:
                return static_cast<std::uint64_t>(pick(0, 300));
        }
    }

    std::uint64_t grade() {
        static constexpr std::array<std::int32_t, 8> kGrades = {2, 3,  4,         5,
                                                                0, -1, INT32_MAX, INT32_MIN};
        const std::int32_t g = kGrades[static_cast<std::size_t>(pick(0, 7))];
        const auto bits = static_cast<std::uint32_t>(g);
        const std::uint64_t zigzag = g < 0 ? ((~bits) << 1) | 1u : bits << 1;
        return pick(0, 15) == 0 ? zigzag + (std::uint64_t{1} << 32) : zigzag;
    }

    void appendBlock() {
        std::vector<std::uint8_t>& out = parts_.history;
        const std::uint64_t wins = count();
        const std::uint64_t losses = count();
        const std::uint64_t draws = count();
        for (const std::uint64_t n : {wins, losses, draws}) {
            layout::appendNumber(out, n);
        }
        layout::appendNumber(out, pick(0, 7) == 0 ? count() : (wins + losses + draws) / 2);
        for (int g = 0; g < 3; ++g) {
            layout::appendNumber(out, grade());
        }
        layout::appendNumber(
            out, static_cast<std::uint64_t>(pick(0, 15) == 0 ? pick(0, 70000) : pick(0, 1000)));
        ++parts_.blocks;
    }

    void once() {
        std::vector<std::uint8_t>& history = parts_.history;
        switch (pick(0, 7)) {
            case 0:
            case 1:
            case 2:
                appendBlock();
                break;
            case 3:
                // The history's tail goes: the blocks that stood there, give or take one.
                history.resize(history.size() / 2);
                parts_.blocks = parts_.blocks / 2 + static_cast<std::uint32_t>(pick(0, 1));
                break;
            case 4:
                if (!history.empty()) {
                    history[static_cast<std::size_t>(
                        pick(0, static_cast<int>(history.size()) - 1))] =
                        static_cast<std::uint8_t>(pick(0, 255));
                }
                break;
            case 5:
                // A number in a longer form than it needs.
                history.insert(history.begin(), {0x80, 0x00});
                break;
            case 6:
                parts_.blocks += static_cast<std::uint32_t>(pick(0, 2)) - 1u;
                break;
            default:
                if (!parts_.plays.empty()) {
                    const std::size_t at = static_cast<std::size_t>(
                        pick(0, static_cast<int>(parts_.plays.size()) - 1));
                    parts_.plays[at] = static_cast<std::uint8_t>(pick(0, 1) == 0 ? 0 : random_());
                }
                break;
        }
    }

    Parts& parts_;
    std::minstd_rand random_;
};

}  // namespace

extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t maxSize);

extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size,
                                               std::size_t maxSize, unsigned int seed) {
    if (seed % 8 == 0 || maxSize < layout::kHeaderSize2 + layout::kTrailerSize) {
        return LLVMFuzzerMutate(data, size, maxSize);
    }
    Parts parts = partsOf(data, size);
    std::vector<std::uint8_t>& entries = parts.entries;
    const std::size_t room = std::min(maxSize - layout::kHeaderSize2 - layout::kTrailerSize,
                                      layout::kCapacity * layout::kEntrySize);
    if (seed % 8 == 1) {
        // libFuzzer's own byte mutations, inside the entries only.
        const std::size_t used = std::min(entries.size(), room);
        entries.resize(room);
        entries.resize(LLVMFuzzerMutate(entries.data(), used, room));
    } else if (seed % 8 == 2) {
        HistoryMutator(parts, seed).mutate();
    } else {
        EntryMutator(entries, seed).mutate(room);
    }
    entries.resize(std::min(entries.size(), room) / layout::kEntrySize * layout::kEntrySize);
    const std::size_t count = entries.size() / layout::kEntrySize;
    // The plays follow the entries; a new entry has been played once.
    while (parts.plays.size() < count * layout::kPlaysSize) {
        parts.plays.insert(parts.plays.end(), {1, 0, 0, 0});
    }
    parts.plays.resize(count * layout::kPlaysSize);
    // Now and then the other version, or one this reader does not know, with valid checksums.
    const bool second = seed % 16 == 3 ? !parts.second : parts.second || seed % 8 == 2;
    const std::uint16_t version =
        seed % 64 == 5 ? static_cast<std::uint16_t>(seed >> 16) : layout::kVersion;
    std::vector<std::uint8_t> file =
        second ? layout::sealHistory(entries, parts.plays, parts.blocks, parts.history)
               : layout::seal(entries, version);
    if (file.size() > maxSize) {
        file = layout::seal(entries, version);
    }
    std::memcpy(data, file.data(), file.size());
    return file.size();
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MemoryDocument& read = document(0);
    MemorySnapshot& loaded = read.positions;
    loaded.entryCount = -5;                                 // a value no file can give
    const HistoryBlock sentinel{3, 0, 0, 7, {1, 1, 1}, 1};  // 7 begun of 3: no file gives it
    read.history.assign({sentinel});
    const zelmo::engine::Grades sentinelGrades{-9, -9, -9};
    read.grades = sentinelGrades;
    read.side = MemorySide::Cross;
    // Either side's memory: the computer's, or a learner's for "X".
    const MemoryLoadResult result = decodeMemory(data, size, read, std::nullopt);
    if (result.status != MemoryFileStatus::Ok) {
        if (loaded.entryCount != -5 || result.message.empty() ||
            read.history.blocks() != std::vector<HistoryBlock>{sentinel} ||
            read.grades != sentinelGrades || read.side != MemorySide::Cross) {
            std::abort();
        }
        return 0;
    }
    LearningHistory& history = read.history;
    const std::vector<std::uint8_t> again = encodeMemory(read);
    if (again.size() != size || !std::equal(again.begin(), again.end(), data)) {
        std::abort();
    }
    // Both sides begin once, against a player whose moves, like the grades, follow from the
    // file's checksum; the positions a file holds must never make the computer fail.
    const std::uint32_t sum = layout::get32(data + size - layout::kTrailerSize);
    const auto grade = [sum](int shift) {
        return static_cast<std::int32_t>(2 + (sum >> shift) % 4);
    };
    auto flow = std::make_unique<zelmo::train::TrainFlow>(
        zelmo::train::Grades{grade(0), grade(2), grade(4)});
    flow->setClock([] { return 0u; });
    if (read.side == MemorySide::Cross) {
        // A learner's positions must never make it fail either, nor its grading stop a game.
        LearnerPlayer learner(sum, Grades{grade(1), grade(3), grade(5)});
        learner.restoreMemory(loaded.memory, loaded.entryCount);
        for (int game = 0; game < 2; ++game) {
            playOneGame(*flow, learner);
        }
        return 0;
    }
    flow->restoreMemory(loaded.memory, loaded.entryCount);
    zelmo::engine::RandomPlayer player(sum);
    // The games go on in the history: by hand or in blocks, as the checksum says.
    const std::uint32_t blockSize =
        (sum & 64) != 0 ? LearningHistory::kByHand : LearningHistory::kWhileRunning;
    for (int game = 0; game < 2; ++game) {
        const FinishedGame finished = playOneGame(*flow, player);
        if (history.games() < LearningHistory::kMaxGames) {
            history.add(zelmo::engine::historyGame(finished), blockSize);
        }
    }
    expectReadable(*flow, history, read.grades);
    return 0;
}
