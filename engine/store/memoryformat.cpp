// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/store/memoryformat.h"

#include "engine/game/boardcode.h"
#include "engine/store/filetexts.h"
#include "engine/store/historyformat.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <string_view>
#include <utility>

namespace zelmo::engine {

namespace {

// The layout, all numbers little-endian:
//   header (20 bytes): "ZELMOMEM", version u16, reserved u16 (0), entry count i32,
//                      CRC-32 of the 16 bytes before it
//   version 2 (12 more bytes): history block count u32, history bytes u32, CRC-32 of the
//                      28 bytes before it
//   version 3 (24 more bytes): history block count u32, history bytes u32, the grades in
//                      force for a computer win, loss and draw (i32 each), CRC-32 of the 40
//                      bytes before it
//   version 4 (28 more bytes): as version 3 with the side u32 (1: a learner for "X") before
//                      the CRC-32 of the 44 bytes before it; the grades are the learner's,
//                      named from its side. Only an "X" memory is written so.
//   entries 1..count (72 bytes each): nine cell bytes (' ', 'X' or '0'), the position as the
//                      side to move found it, then nine slots of
//                      answer i16, weight i32, used u8 (0 or 1)
//   versions 2 to 4: plays of entries 1..count (u32 each), then the history's blocks
//                      (historyformat.h)
//   CRC-32 of every byte before it (4 bytes)
// Later versions keep the first 20 bytes as they are, so every version can recognise them.
constexpr std::array<std::uint8_t, 8> kMagic = {'Z', 'E', 'L', 'M', 'O', 'M', 'E', 'M'};
constexpr std::uint16_t kFirstVersion = 1;
constexpr std::uint16_t kHistoryVersion = 2;
constexpr std::uint16_t kGradesVersion = 3;
constexpr std::uint16_t kVersion = 4;
constexpr std::size_t kHeaderSize = 20;
constexpr std::size_t kHeaderSize2 = 32;
constexpr std::size_t kHeaderSize3 = 44;
constexpr std::size_t kHeaderSize4 = 48;
constexpr std::uint32_t kCrossSide = 1;
constexpr std::size_t kSlotSize = 7;
constexpr std::size_t kEntrySize = Board::kCells + MemoryEntry::kSlots * kSlotSize;
constexpr std::size_t kPlaysSize = 4;
constexpr std::size_t kTrailerSize = 4;
// The shortest block: eight numbers of one byte.
constexpr std::size_t kMinHistoryBlockBytes = 8;
static_assert(kHeaderSize4 + PositionMemory::Capacity * (kEntrySize + kPlaysSize) +
                  LearningHistory::kMaxBlocks * kMaxHistoryBlockBytes + kTrailerSize ==
              kMaxMemoryFileSize);

using fileTexts::format;

std::string num(long long value) {
    return std::to_string(value);
}

// CRC-32 (IEEE 802.3, reflected, as in zip and PNG).
constexpr std::array<std::uint32_t, 256> makeCrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i;
        for (int bit = 0; bit < 8; ++bit) {
            c = (c & 1u) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        }
        table[i] = c;
    }
    return table;
}
constexpr std::array<std::uint32_t, 256> kCrcTable = makeCrcTable();

std::uint32_t crc32(const std::uint8_t* data, std::size_t size) {
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) {
        c = kCrcTable[(c ^ data[i]) & 0xFFu] ^ (c >> 8);
    }
    return c ^ 0xFFFFFFFFu;
}

std::uint8_t* put16(std::uint8_t* out, std::uint16_t v) {
    out[0] = static_cast<std::uint8_t>(v & 0xFFu);
    out[1] = static_cast<std::uint8_t>(v >> 8);
    return out + 2;
}

std::uint8_t* put32(std::uint8_t* out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out[i] = static_cast<std::uint8_t>((v >> (8 * i)) & 0xFFu);
    }
    return out + 4;
}

std::uint16_t get16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::size_t headerSize(std::uint16_t version) {
    return version >= kVersion          ? kHeaderSize4
           : version == kGradesVersion  ? kHeaderSize3
           : version == kHistoryVersion ? kHeaderSize2
                                        : kHeaderSize;
}

std::uint32_t get32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// The same code for a position and its quarter, half and three-quarter turns: the smallest
// base-3 number among the four turned boards.
std::uint32_t turnFreeCode(const std::uint8_t* cells) {
    std::uint32_t smallest = kBoardCodes;
    for (int t = 0; t < 4; ++t) {
        std::array<char, Board::kCells + 1> turned{};
        for (int k = 1; k <= Board::kCells; ++k) {
            turned[static_cast<std::size_t>(rotate(k, t))] = static_cast<char>(cells[k - 1]);
        }
        const std::uint32_t code =
            boardCode([&turned](int k) { return turned[static_cast<std::size_t>(k)]; });
        smallest = code < smallest ? code : smallest;
    }
    return smallest;
}

struct Problem {
    MemoryFileStatus status;
    std::string reason;
};

// Checks a stored position (j is its entry's number): the side of the memory is to move in it,
// so it is a board of a running game where "0" has moved as often as "X" or once less (the
// computer's memory), or "X" as often as "0" or once less (a learner's for "X").
std::optional<Problem> checkPosition(const std::uint8_t* p, int j, MemorySide side) {
    auto bad = [j](std::string_view pattern, int k = 0) {
        return Problem{MemoryFileStatus::BadData, format(pattern, num(j), num(k))};
    };
    int crosses = 0;
    int noughts = 0;
    Board board;
    for (int k = 1; k <= Board::kCells; ++k) {
        const std::uint8_t c = p[k - 1];
        if (c != ' ' && c != 'X' && c != '0') {
            return bad(fileTexts::kBadCell, k);
        }
        crosses += c == 'X';
        noughts += c == '0';
        board.set(k, Cell(static_cast<char>(c)));
    }
    if (crosses + noughts == Board::kCells) {
        return bad(fileTexts::kNoFreeCell);
    }
    const int ahead = side == MemorySide::Nought ? crosses - noughts : noughts - crosses;
    if (ahead != 0 && ahead != 1) {
        return Problem{MemoryFileStatus::BadData,
                       format(side == MemorySide::Nought ? fileTexts::kBadBalance
                                                         : fileTexts::kBadBalanceCross,
                              num(j), countOf(crosses, fileTexts::kCrosses),
                              countOf(noughts, fileTexts::kNoughts))};
    }
    if (WinPatterns::hasLine(board, WinPatterns::Player) ||
        WinPatterns::hasLine(board, WinPatterns::Computer)) {
        return bad(fileTexts::kFinished);
    }
    return std::nullopt;
}

// Checks one stored entry's answers: only what play can make passes, so a loaded memory never
// plays on a taken cell nor marks one to be skipped.
std::optional<Problem> checkAnswers(const std::uint8_t* p, int j) {
    auto bad = [j](std::string_view pattern, int k) {
        return Problem{MemoryFileStatus::BadData, format(pattern, num(j), num(k))};
    };
    std::array<bool, Board::kCells + 1> seen{};
    bool ended = false;
    for (int k = 1; k <= MemoryEntry::kSlots; ++k) {
        const std::uint8_t* slot = p + Board::kCells + static_cast<std::size_t>(k - 1) * kSlotSize;
        const auto answer = static_cast<std::int16_t>(get16(slot));
        const std::uint32_t weight = get32(slot + 2);
        const std::uint8_t used = slot[6];
        if (answer == 0) {
            if (k == 1) {
                return bad(fileTexts::kNoFirstAnswer, k);
            }
            // Free slots are all zero: the wipe and the creation of an entry clear them whole.
            if (weight != 0 || used != 0) {
                return bad(fileTexts::kDirtyFree, k);
            }
            ended = true;
            continue;
        }
        if (ended) {
            return bad(fileTexts::kGap, k);
        }
        if (answer < 1 || answer > Board::kCells) {
            return bad(fileTexts::kBadAnswer, k);
        }
        if (p[answer - 1] != ' ') {
            return bad(fileTexts::kTakenAnswer, k);
        }
        if (seen[static_cast<std::size_t>(answer)]) {
            return bad(fileTexts::kRepeatedAnswer, k);
        }
        seen[static_cast<std::size_t>(answer)] = true;
        if (used > 1) {
            return bad(fileTexts::kBadUsed, k);
        }
    }
    return std::nullopt;
}

// Where the parts of a file lie, and its history, once checkFile has passed it.
struct Parsed {
    std::uint16_t version = 0;
    std::int32_t count = 0;
    std::size_t entries = 0;  // offset of entry 1
    std::size_t plays = 0;    // offset of the plays (versions 2 and 3)
    std::vector<HistoryBlock> history;
    std::optional<Grades> grades;  // versions 3 and 4
    MemorySide side = MemorySide::Nought;
};

// The part of the header after the first 20 bytes (versions 2 to 4): block count and bytes of
// the history, checked against each other so that no length read from a damaged file is
// trusted, from version 3 the grades, in version 4 the side (only "X" is written so).
std::optional<Problem> checkSecondHeader(const std::uint8_t* data, std::size_t size,
                                         std::uint16_t version, std::uint32_t& blocks,
                                         std::size_t& historyBytes, Parsed& parsed) {
    using S = MemoryFileStatus;
    const std::size_t header = headerSize(version);
    if (size < header) {
        return Problem{S::Truncated, std::string(fileTexts::kTruncatedHeader)};
    }
    if (crc32(data, header - 4) != get32(data + header - 4)) {
        return Problem{S::Corrupt, std::string(fileTexts::kHeaderCrc)};
    }
    blocks = get32(data + 20);
    historyBytes = get32(data + 24);
    if (version >= kGradesVersion) {
        parsed.grades = Grades{static_cast<std::int32_t>(get32(data + 28)),
                               static_cast<std::int32_t>(get32(data + 32)),
                               static_cast<std::int32_t>(get32(data + 36))};
    }
    if (version >= kVersion) {
        if (get32(data + 40) != kCrossSide) {
            return Problem{S::Corrupt, std::string(fileTexts::kBadHeader)};
        }
        parsed.side = MemorySide::Cross;
    }
    if (blocks > LearningHistory::kMaxBlocks || historyBytes < blocks * kMinHistoryBlockBytes ||
        historyBytes > blocks * kMaxHistoryBlockBytes) {
        return Problem{S::Corrupt, std::string(fileTexts::kBadHeader)};
    }
    return std::nullopt;
}

// Everything that can be wrong with the bytes, in the order that names the likeliest cause:
// a damaged header is reported as damage, never as a newer version or a wrong count.
std::optional<Problem> checkFile(const std::uint8_t* data, std::size_t size, Parsed& parsed) {
    using S = MemoryFileStatus;
    if (size == 0) {
        return Problem{S::Empty, std::string(fileTexts::kEmpty)};
    }
    const std::size_t magicPart = size < kMagic.size() ? size : kMagic.size();
    if (std::memcmp(data, kMagic.data(), magicPart) != 0) {
        return Problem{S::Foreign, std::string(fileTexts::kForeign)};
    }
    if (size < kHeaderSize) {
        return Problem{S::Truncated, std::string(fileTexts::kTruncatedHeader)};
    }
    if (crc32(data, 16) != get32(data + 16)) {
        return Problem{S::Corrupt, std::string(fileTexts::kHeaderCrc)};
    }
    const std::uint16_t version = get16(data + 8);
    if (version > kVersion) {
        return Problem{S::NewerVersion, format(fileTexts::kNewer, num(version), num(kVersion))};
    }
    if (version == 0 || get16(data + 10) != 0) {
        return Problem{S::Corrupt, std::string(fileTexts::kBadHeader)};
    }
    const auto count = static_cast<std::int32_t>(get32(data + 12));
    if (count < 0 || count > PositionMemory::Capacity) {
        return Problem{S::BadCount,
                       format(fileTexts::kBadCount, num(count), num(PositionMemory::Capacity))};
    }
    const bool second = version > kFirstVersion;
    std::uint32_t blocks = 0;
    std::size_t historyBytes = 0;
    if (second) {
        if (auto problem = checkSecondHeader(data, size, version, blocks, historyBytes, parsed)) {
            return problem;
        }
    }
    const std::size_t header = headerSize(version);
    const std::size_t perEntry = kEntrySize + (second ? kPlaysSize : 0);
    const std::size_t expected =
        header + static_cast<std::size_t>(count) * perEntry + historyBytes + kTrailerSize;
    const auto bytes = [](std::size_t n) {
        return countOf(static_cast<std::int64_t>(n), fileTexts::kBytes);
    };
    if (size < expected) {
        return Problem{S::Truncated, format(fileTexts::kTruncated, bytes(size), bytes(expected))};
    }
    if (size > expected) {
        return Problem{S::Corrupt, format(fileTexts::kExtraBytes,
                                          countOf(static_cast<std::int64_t>(size - expected),
                                                  fileTexts::kExtraBytesForms))};
    }
    if (crc32(data, expected - kTrailerSize) != get32(data + expected - kTrailerSize)) {
        return Problem{S::Corrupt, std::string(fileTexts::kBodyCrc)};
    }
    parsed.version = version;
    parsed.count = count;
    parsed.entries = header;
    parsed.plays = header + static_cast<std::size_t>(count) * kEntrySize;
    // A position is remembered only when no entry holds it under any turn, so each is unique.
    std::vector<std::int16_t> firstEntry(static_cast<std::size_t>(kBoardCodes), 0);
    for (std::int32_t j = 1; j <= count; ++j) {
        const std::uint8_t* entry =
            data + parsed.entries + static_cast<std::size_t>(j - 1) * kEntrySize;
        if (auto problem = checkPosition(entry, j, parsed.side)) {
            return problem;
        }
        if (auto problem = checkAnswers(entry, j)) {
            return problem;
        }
        std::int16_t& first = firstEntry[turnFreeCode(entry)];
        if (first != 0) {
            return Problem{S::BadData, format(fileTexts::kDuplicate, num(j), num(first))};
        }
        first = static_cast<std::int16_t>(j);
    }
    if (!second) {
        return std::nullopt;
    }
    const std::size_t historyAt = parsed.plays + static_cast<std::size_t>(count) * kPlaysSize;
    MemoryLoadResult history =
        decodeHistoryBlocks(data + historyAt, historyBytes, blocks, parsed.history);
    if (history.status != S::Ok) {
        return Problem{history.status, std::move(history.message)};
    }
    // Version 1 holds a memory without plays and history; it is written so, and only so.
    // Versions 3 and 4 always hold something more: their grades.
    if (version >= kGradesVersion) {
        return std::nullopt;
    }
    bool played = false;
    for (std::size_t at = parsed.plays; at < historyAt && !played; at += kPlaysSize) {
        played = get32(data + at) != 0;
    }
    if (!played && blocks == 0) {
        return Problem{S::Corrupt, std::string(fileTexts::kNothingBeyondFirst)};
    }
    return std::nullopt;
}

// Fills `out` and `history` from bytes that checkFile has passed.
void fill(const std::uint8_t* data, Parsed& parsed, MemoryDocument& document) {
    MemorySnapshot& out = document.positions;
    const std::int32_t count = parsed.count;
    for (std::int32_t j = 1; j <= PositionMemory::Capacity; ++j) {
        MemoryEntry& entry = out.memory[j];
        if (j > count) {
            entry = MemoryEntry{};
            out.memory.setPlays(j, 0);
            continue;
        }
        const std::uint8_t* p =
            data + parsed.entries + static_cast<std::size_t>(j - 1) * kEntrySize;
        for (int k = 1; k <= Board::kCells; ++k) {
            entry.Position.set(k, Cell(static_cast<char>(p[k - 1])));
        }
        for (int k = 1; k <= MemoryEntry::kSlots; ++k) {
            const std::uint8_t* slot =
                p + Board::kCells + static_cast<std::size_t>(k - 1) * kSlotSize;
            entry.Slots[k] = MoveSlot{static_cast<std::int16_t>(get16(slot)),
                                      static_cast<std::int32_t>(get32(slot + 2)), slot[6] != 0};
        }
        out.memory.setPlays(
            j, parsed.version > kFirstVersion
                   ? get32(data + parsed.plays + static_cast<std::size_t>(j - 1) * kPlaysSize)
                   : 0);
    }
    out.entryCount = count;
    out.memory.reindex();
    document.history.assign(std::move(parsed.history));
    document.grades = parsed.grades;
    document.side = parsed.side;
}

}  // namespace

std::vector<std::uint8_t> encodeMemory(const DocumentView& document) {
    const PositionMemory& memory = document.memory;
    const std::int32_t entryCount = document.entryCount;
    const LearningHistory& history = document.history;
    const std::size_t count = entryCount > 0 ? static_cast<std::size_t>(entryCount) : 0;
    bool played = false;
    for (std::int32_t j = 1; j <= entryCount && !played; ++j) {
        played = memory.plays(j) != 0;
    }
    const bool cross = document.side == MemorySide::Cross;
    const std::uint16_t version = cross                        ? kVersion
                                  : document.grades            ? kGradesVersion
                                  : played || !history.empty() ? kHistoryVersion
                                                               : kFirstVersion;
    const bool second = version > kFirstVersion;
    std::vector<std::uint8_t> blocks;
    appendHistoryBlocks(history.blocks(), blocks);

    const std::size_t header = headerSize(version);
    const std::size_t perEntry = kEntrySize + (second ? kPlaysSize : 0);
    std::vector<std::uint8_t> out(header + count * perEntry + blocks.size() + kTrailerSize);
    std::uint8_t* p = std::copy(kMagic.begin(), kMagic.end(), out.data());
    p = put16(p, version);
    p = put16(p, 0);
    p = put32(p, static_cast<std::uint32_t>(entryCount));
    p = put32(p, crc32(out.data(), 16));
    if (second) {
        p = put32(p, static_cast<std::uint32_t>(history.blocks().size()));
        p = put32(p, static_cast<std::uint32_t>(blocks.size()));
        if (version >= kGradesVersion) {
            const Grades grades = document.grades.value_or(Grades{});
            for (const Grade grade : {Grade::Win, Grade::Loss, Grade::Draw}) {
                p = put32(p, static_cast<std::uint32_t>(grades[grade]));
            }
        }
        if (cross) {
            p = put32(p, kCrossSide);
        }
        p = put32(p, crc32(out.data(), header - 4));
    }
    for (std::int32_t j = 1; j <= entryCount; ++j) {
        const MemoryEntry& entry = memory[j];
        for (int k = 1; k <= Board::kCells; ++k) {
            *p++ = static_cast<std::uint8_t>(entry.Position.at(k).character());
        }
        for (int k = 1; k <= MemoryEntry::kSlots; ++k) {
            const MoveSlot& slot = entry.Slots[k];
            p = put16(p, static_cast<std::uint16_t>(slot.Answer));
            p = put32(p, static_cast<std::uint32_t>(slot.Weight));
            *p++ = slot.Used ? 1 : 0;
        }
    }
    if (second) {
        for (std::int32_t j = 1; j <= entryCount; ++j) {
            p = put32(p, memory.plays(j));
        }
        p = std::copy(blocks.begin(), blocks.end(), p);
    }
    put32(p, crc32(out.data(), out.size() - kTrailerSize));
    return out;
}

MemoryLoadResult decodeMemory(const std::uint8_t* data, std::size_t size, MemoryDocument& out,
                              std::optional<MemorySide> side) {
    Parsed parsed;
    if (std::optional<Problem> problem = checkFile(data, size, parsed)) {
        return {problem->status, std::move(problem->reason)};
    }
    if (side && parsed.side != *side) {
        return {MemoryFileStatus::WrongSide,
                std::string(parsed.side == MemorySide::Cross ? fileTexts::kCrossMemory
                                                             : fileTexts::kNoughtMemory)};
    }
    fill(data, parsed, out);
    return {};
}

}  // namespace zelmo::engine
