// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

// The memory file's layout as its documentation gives it, written apart from the program's
// reader and writer so that the fuzz targets and the engine's tests can build files of their
// own with valid checksums: every byte of a built file that the reader refuses is then refused
// by a structural check, not by a checksum.
//   header (20 bytes): "ZELMOMEM", version u16, reserved u16, entry count i32, CRC-32 of the
//                      16 bytes before it; all numbers little-endian
//   version 2 only: history block count u32, history bytes u32, CRC-32 of the 28 bytes before
//   entries (72 bytes each): nine cell bytes, then nine slots of answer i16, weight i32, used u8
//   version 2 only: plays u32 per entry, then the history's blocks (eight LEB128 numbers each)
//   CRC-32 of every byte before it
namespace zelmo::memorylayout {

constexpr std::size_t kHeaderSize = 20;
constexpr std::size_t kCells = 9;
constexpr std::size_t kSlots = 9;
constexpr std::size_t kSlotSize = 7;
constexpr std::size_t kEntrySize = kCells + kSlots * kSlotSize;
constexpr std::size_t kTrailerSize = 4;
constexpr std::size_t kCapacity = 1000;
constexpr std::uint16_t kVersion = 1;
constexpr std::uint16_t kHistoryVersion = 2;
constexpr std::size_t kHeaderSize2 = 32;
constexpr std::size_t kPlaysSize = 4;

// CRC-32 as in zip and PNG (reflected, polynomial 0xEDB88320).
inline std::uint32_t crc32(const std::uint8_t* data, std::size_t size) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int bit = 0; bit < 8; ++bit) {
                c = (c & 1u) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            t[i] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) {
        c = table[(c ^ data[i]) & 0xFFu] ^ (c >> 8);
    }
    return c ^ 0xFFFFFFFFu;
}

inline void put16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v & 0xFFu);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

inline void put32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        p[i] = static_cast<std::uint8_t>((v >> (8 * i)) & 0xFFu);
    }
}

// An unsigned LEB128 number, as the history's blocks hold them: seven bits a byte, the lowest
// first, the top bit set on every byte but the last.
inline void appendNumber(std::vector<std::uint8_t>& out, std::uint64_t value) {
    while (value >= 0x80) {
        out.push_back(static_cast<std::uint8_t>((value & 0x7F) | 0x80));
        value >>= 7;
    }
    out.push_back(static_cast<std::uint8_t>(value));
}

inline std::uint32_t get32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// A whole file around `entries` (whole entries only): the header of this version with the
// count of entries and both checksums.
inline std::vector<std::uint8_t> seal(const std::vector<std::uint8_t>& entries,
                                      std::uint16_t version = kVersion) {
    static constexpr std::array<std::uint8_t, 8> kMagic = {'Z', 'E', 'L', 'M', 'O', 'M', 'E', 'M'};
    const std::size_t count = entries.size() / kEntrySize;
    std::vector<std::uint8_t> file(kHeaderSize + count * kEntrySize + kTrailerSize);
    std::memcpy(file.data(), kMagic.data(), kMagic.size());
    put16(file.data() + 8, version);
    put16(file.data() + 10, 0);
    put32(file.data() + 12, static_cast<std::uint32_t>(count));
    put32(file.data() + 16, crc32(file.data(), 16));
    if (count > 0) {
        std::memcpy(file.data() + kHeaderSize, entries.data(), count * kEntrySize);
    }
    const std::size_t body = file.size() - kTrailerSize;
    put32(file.data() + body, crc32(file.data(), body));
    return file;
}

// A version 2 file around `entries` (whole entries only), their `plays` (4 bytes each, as many
// as entries) and `history`, the encoded blocks said to be `blocks`.
inline std::vector<std::uint8_t> sealHistory(const std::vector<std::uint8_t>& entries,
                                             const std::vector<std::uint8_t>& plays,
                                             std::uint32_t blocks,
                                             const std::vector<std::uint8_t>& history) {
    std::vector<std::uint8_t> v1 = seal(entries, kHistoryVersion);
    std::vector<std::uint8_t> file(v1.begin(), v1.begin() + kHeaderSize);
    file.resize(kHeaderSize2);
    put32(file.data() + 20, blocks);
    put32(file.data() + 24, static_cast<std::uint32_t>(history.size()));
    put32(file.data() + 28, crc32(file.data(), 28));
    file.insert(file.end(), v1.begin() + kHeaderSize, v1.end() - kTrailerSize);
    file.insert(file.end(), plays.begin(), plays.end());
    file.insert(file.end(), history.begin(), history.end());
    file.resize(file.size() + kTrailerSize);
    const std::size_t body = file.size() - kTrailerSize;
    put32(file.data() + body, crc32(file.data(), body));
    return file;
}

// Every checksum of a whole file recomputed after a field was changed.
inline void reseal(std::vector<std::uint8_t>& file) {
    put32(file.data() + 16, crc32(file.data(), 16));
    if (file[8] == kHistoryVersion && file[9] == 0 && file.size() >= kHeaderSize2 + kTrailerSize) {
        put32(file.data() + 28, crc32(file.data(), 28));
    }
    const std::size_t body = file.size() - kTrailerSize;
    put32(file.data() + body, crc32(file.data(), body));
}

}  // namespace zelmo::memorylayout
