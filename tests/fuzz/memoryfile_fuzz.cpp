// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes given to the memory file reader: it never crashes, leaves its target alone unless
// it accepts the bytes, accepts only what it writes back byte for byte, and a memory it
// accepts plays whole games without a range error and is still accepted after them (what play
// makes, the reader takes back).
//
// The mutator works on the entries: it changes cells, answers, weights and used marks, copies,
// turns, adds and removes entries, then writes the header and both checksums anew, so that the
// inputs reach the entry checks and the play instead of stopping at a checksum. One mutation in
// eight works on the raw bytes and leaves the checksums as they fall, for the header checks.
#include "engine/errors.h"
#include "engine/gameflow.h"
#include "engine/memoryfile.h"
#include "engine/players.h"
#include "train/trainflow.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "tests/common/memorylayout.h"

namespace {

using namespace zelmo::engine;
namespace layout = zelmo::memorylayout;

// One whole game through the trainer's window-less flow. A weight stored at the 32-bit limit may
// overflow when graded; that is reported to the player like any other overflow. Any other
// error, or a game that does not end within nine moves, is a fault.
void playOneGame(zelmo::train::TrainFlow& flow, zelmo::engine::Player& player) {
    flow.playGame(player, [](const std::exception& error) {
        if (dynamic_cast<const EIntOverflow*>(&error) == nullptr) {
            std::abort();
        }
    });
    if (flow.acceptingMoves()) {
        std::abort();
    }
}

// Snapshots are large: two kept for all inputs spare a fresh mapping of memory for each.
MemorySnapshot& snapshot(int which) {
    static const std::array<std::unique_ptr<MemorySnapshot>, 2> kept = {
        std::make_unique<MemorySnapshot>(), std::make_unique<MemorySnapshot>()};
    return *kept[static_cast<std::size_t>(which)];
}

// The memory after play must be a file the reader accepts.
void expectReadable(const zelmo::train::TrainFlow& flow) {
    MemorySnapshot& played = snapshot(1);
    played.memory = flow.memory();
    played.entryCount = flow.entryCount();
    const std::vector<std::uint8_t> bytes = encodeMemory(played);
    if (decodeMemory(bytes.data(), bytes.size(), played).status != MemoryFileStatus::Ok) {
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

extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size,
                                               std::size_t maxSize, unsigned int seed) {
    if (seed % 8 == 0 || maxSize < layout::kHeaderSize + layout::kTrailerSize) {
        return LLVMFuzzerMutate(data, size, maxSize);
    }
    // Whatever lies between the header and the trailer is taken as entries.
    std::vector<std::uint8_t> entries;
    if (size > layout::kHeaderSize + layout::kTrailerSize) {
        entries.assign(data + layout::kHeaderSize, data + size - layout::kTrailerSize);
    }
    const std::size_t room = std::min(maxSize - layout::kHeaderSize - layout::kTrailerSize,
                                      layout::kCapacity * layout::kEntrySize);
    if (seed % 8 == 1) {
        // libFuzzer's own byte mutations, inside the entries only.
        const std::size_t used = std::min(entries.size(), room);
        entries.resize(room);
        entries.resize(LLVMFuzzerMutate(entries.data(), used, room));
    } else {
        EntryMutator(entries, seed).mutate(room);
    }
    entries.resize(std::min(entries.size(), room) / layout::kEntrySize * layout::kEntrySize);
    // Now and then a version this reader does not know, with valid checksums.
    const std::uint16_t version =
        seed % 64 == 2 ? static_cast<std::uint16_t>(seed >> 16) : layout::kVersion;
    const std::vector<std::uint8_t> file = layout::seal(entries, version);
    std::memcpy(data, file.data(), file.size());
    return file.size();
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MemorySnapshot& loaded = snapshot(0);
    loaded.entryCount = -5;  // a value no file can give
    const MemoryLoadResult result = decodeMemory(data, size, loaded);
    if (result.status != MemoryFileStatus::Ok) {
        if (loaded.entryCount != -5 || result.message.empty()) {
            std::abort();
        }
        return 0;
    }
    const std::vector<std::uint8_t> again = encodeMemory(loaded);
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
    flow->restoreMemory(loaded.memory, loaded.entryCount);
    zelmo::engine::RandomPlayer player(sum);
    playOneGame(*flow, player);
    playOneGame(*flow, player);
    expectReadable(*flow);
    return 0;
}
