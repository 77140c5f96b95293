// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/store/historyformat.h"

#include "engine/game/memory.h"
#include "engine/store/filetexts.h"

#include <string>
#include <utility>

namespace zelmo::engine {

namespace {

void putNumber(std::vector<std::uint8_t>& out, std::uint64_t value) {
    while (value >= 0x80) {
        out.push_back(static_cast<std::uint8_t>((value & 0x7F) | 0x80));
        value >>= 7;
    }
    out.push_back(static_cast<std::uint8_t>(value));
}

std::uint64_t zigzag(std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    return value < 0 ? ((~bits) << 1) | 1u : bits << 1;
}

std::int32_t unzigzag(std::uint64_t value) {
    const auto half = static_cast<std::uint32_t>(value >> 1);
    return static_cast<std::int32_t>((value & 1) != 0 ? ~half : half);
}

enum class Read { Ok, End, Bad };

// One number from p, moving p past it. End: the bytes end inside it. Bad: longer than its
// shortest form (a last byte 0 after the first) or beyond 64 bits.
Read getNumber(const std::uint8_t*& p, const std::uint8_t* end, std::uint64_t& value) {
    value = 0;
    for (int shift = 0; shift < 64; shift += 7) {
        if (p == end) {
            return Read::End;
        }
        const std::uint8_t byte = *p++;
        const std::uint64_t bits = byte & 0x7Fu;
        // The tenth byte holds the 64th bit alone.
        if (shift == 63 && bits > 1) {
            return Read::Bad;
        }
        value |= bits << shift;
        if ((byte & 0x80) == 0) {
            return byte == 0 && shift > 0 ? Read::Bad : Read::Ok;
        }
    }
    return Read::Bad;
}

std::string num(std::uint64_t value) {
    return std::to_string(value);
}

}  // namespace

void appendHistoryBlocks(const std::vector<HistoryBlock>& blocks, std::vector<std::uint8_t>& out) {
    for (const HistoryBlock& block : blocks) {
        putNumber(out, block.playerWins);
        putNumber(out, block.computerWins);
        putNumber(out, block.draws);
        putNumber(out, block.computerBegan);
        putNumber(out, zigzag(block.grades.win));
        putNumber(out, zigzag(block.grades.loss));
        putNumber(out, zigzag(block.grades.draw));
        putNumber(out, static_cast<std::uint32_t>(block.positions));
    }
}

MemoryLoadResult decodeHistoryBlocks(const std::uint8_t* data, std::size_t size,
                                     std::uint32_t count, std::vector<HistoryBlock>& out) {
    using S = MemoryFileStatus;
    using fileTexts::format;
    std::vector<HistoryBlock> blocks;
    blocks.reserve(count);
    const std::uint8_t* p = data;
    const std::uint8_t* const end = data + size;
    std::uint64_t games = 0;
    for (std::uint32_t b = 1; b <= count; ++b) {
        std::uint64_t numbers[8] = {};
        for (std::uint64_t& number : numbers) {
            const Read read = getNumber(p, end, number);
            if (read != Read::Ok) {
                return {S::Corrupt, format(read == Read::End ? fileTexts::kHistoryCut
                                                             : fileTexts::kHistoryNumber,
                                           num(b))};
            }
        }
        HistoryBlock block;
        block.playerWins = numbers[0];
        block.computerWins = numbers[1];
        block.draws = numbers[2];
        block.computerBegan = numbers[3];
        // Each count is checked against the room left, so no sum below wraps.
        const std::uint64_t room = LearningHistory::kMaxGames - games;
        if (numbers[0] > room || numbers[1] > room - numbers[0] ||
            numbers[2] > room - numbers[0] - numbers[1]) {
            return {S::BadData, format(fileTexts::kHistoryGames, num(LearningHistory::kMaxGames))};
        }
        const std::uint64_t played = block.games();
        if (played == 0) {
            return {S::BadData, format(fileTexts::kHistoryEmptyBlock, num(b))};
        }
        if (block.computerBegan > played) {
            return {S::BadData, format(fileTexts::kHistoryBegan, num(b))};
        }
        for (int g = 4; g <= 6; ++g) {
            if (numbers[g] > UINT32_MAX) {
                return {S::BadData, format(fileTexts::kHistoryGrade, num(b))};
            }
        }
        block.grades = {unzigzag(numbers[4]), unzigzag(numbers[5]), unzigzag(numbers[6])};
        if (numbers[7] > static_cast<std::uint64_t>(PositionMemory::Capacity)) {
            return {S::BadData,
                    format(fileTexts::kHistoryPositions, num(b), num(PositionMemory::Capacity))};
        }
        block.positions = static_cast<std::int32_t>(numbers[7]);
        games += played;
        blocks.push_back(block);
    }
    if (p != end) {
        return {S::Corrupt, std::string(fileTexts::kHistoryExtra)};
    }
    out = std::move(blocks);
    return {};
}

}  // namespace zelmo::engine
