// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/memoryfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string_view>

namespace zelmo::engine {

namespace {

// The layout, all numbers little-endian:
//   header (20 bytes): "ZELMOMEM", version u16, reserved u16 (0), entry count i32,
//                      CRC-32 of the 16 bytes before it
//   entries 1..count (72 bytes each): nine cell bytes (' ', 'X' or '0'), then nine slots of
//                      answer i16, weight i32, used u8 (0 or 1)
//   CRC-32 of every byte before it (4 bytes)
// Later versions keep the first 20 bytes as they are, so this version can recognise them.
constexpr std::array<std::uint8_t, 8> kMagic = {'Z', 'E', 'L', 'M', 'O', 'M', 'E', 'M'};
constexpr std::uint16_t kVersion = 1;
constexpr std::size_t kHeaderSize = 20;
constexpr std::size_t kSlotSize = 7;
constexpr std::size_t kEntrySize = Board::kCells + MemoryEntry::kSlots * kSlotSize;
constexpr std::size_t kTrailerSize = 4;
constexpr std::size_t kMaxFileSize =
    kHeaderSize + PositionMemory::Capacity * kEntrySize + kTrailerSize;

// The module's texts (UTF-8).
namespace fileTexts {
constexpr std::string_view kMemoryNotRead = "Память не прочитана: ";
constexpr std::string_view kFileNotRead = "Не удалось прочитать память компьютера из файла «";
constexpr std::string_view kFileNotSaved = "Не удалось сохранить память компьютера в файл «";
constexpr std::string_view kFileMissing = "Файла памяти «";
constexpr std::string_view kFileMissingEnd = "» нет";
constexpr std::string_view kQuoteEnd = "»: ";
constexpr std::string_view kEmpty = "файл пуст.";
constexpr std::string_view kTruncatedHeader = "файл обрезан, в нём нет даже заголовка.";
constexpr std::string_view kTruncated = "файл обрезан: в нём %1 байт, а нужно %2.";
constexpr std::string_view kHeaderCrc = "файл повреждён: контрольная сумма заголовка не сходится.";
constexpr std::string_view kBodyCrc = "файл повреждён: контрольная сумма данных не сходится.";
constexpr std::string_view kBadHeader = "файл повреждён: неверный заголовок.";
constexpr std::string_view kExtraBytes = "файл повреждён: после данных ещё %1 лишних байт.";
constexpr std::string_view kForeign = "это не файл памяти Zelmo.";
constexpr std::string_view kNewer =
    "файл записан более новой версией Zelmo (формат %1, эта версия читает формат %2).";
constexpr std::string_view kBadCount = "в файле указано %1 позиций, а их может быть от 0 до %2.";
constexpr std::string_view kBadCell = "позиция %1: в клетке %2 недопустимый знак.";
constexpr std::string_view kNoFreeCell = "позиция %1: в ней нет свободной клетки.";
constexpr std::string_view kNoFirstAnswer = "позиция %1: нет ни одного ответа.";
constexpr std::string_view kBadAnswer = "позиция %1, ответ %2: такой клетки нет.";
constexpr std::string_view kTakenAnswer = "позиция %1, ответ %2: клетка уже занята.";
constexpr std::string_view kRepeatedAnswer = "позиция %1, ответ %2: эта клетка уже есть.";
constexpr std::string_view kGap = "позиция %1, ответ %2: ответы идут с пропуском.";
constexpr std::string_view kBadUsed = "позиция %1, ответ %2: неверная отметка хода.";
constexpr std::string_view kDirtyFree = "позиция %1, ответ %2: свободное место не пусто.";
constexpr std::string_view kReadError = "ошибка чтения (%1).";
constexpr std::string_view kNotRegular = "это не обычный файл.";
constexpr std::string_view kCreateTemp = "не создаётся временный файл (%1).";
constexpr std::string_view kWriteError = "ошибка записи (%1).";
constexpr std::string_view kSyncError = "ошибка сброса на диск (%1).";
constexpr std::string_view kCloseError = "ошибка закрытия (%1).";
constexpr std::string_view kRenameError = "файл не заменяется новым (%1).";
constexpr std::string_view kDirSyncError =
    "файл заменён, но каталог не сброшен на диск (%1); при сбое питания замена может пропасть.";
}  // namespace fileTexts

// "%1", "%2" in `pattern` replaced by the arguments.
std::string format(std::string_view pattern, const std::string& a1, const std::string& a2 = {}) {
    std::string out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() &&
            (pattern[i + 1] == '1' || pattern[i + 1] == '2')) {
            out += pattern[i + 1] == '1' ? a1 : a2;
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

std::string num(long long value) {
    return std::to_string(value);
}

std::string errnoText(int error) {
    return std::strerror(error);
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

void put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFFu));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<std::uint8_t>((v >> shift) & 0xFFu));
    }
}

std::uint16_t get16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t get32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

bool isBoardMark(std::uint8_t c) {
    return c == ' ' || c == 'X' || c == '0';
}

struct Problem {
    MemoryFileStatus status;
    std::string reason;
};

// Checks one stored entry (j is its number): only what play can make passes, so a loaded
// memory never plays on a taken cell nor marks one to be skipped.
std::optional<Problem> checkEntry(const std::uint8_t* p, int j) {
    auto bad = [j](std::string_view pattern, int k) {
        return Problem{MemoryFileStatus::BadData, format(pattern, num(j), num(k))};
    };
    bool anyFree = false;
    for (int k = 1; k <= Board::kCells; ++k) {
        const std::uint8_t c = p[k - 1];
        if (!isBoardMark(c)) {
            return bad(fileTexts::kBadCell, k);
        }
        anyFree = anyFree || c == ' ';
    }
    if (!anyFree) {
        return bad(fileTexts::kNoFreeCell, 0);
    }
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

// Everything that can be wrong with the bytes, in the order that names the likeliest cause:
// a damaged header is reported as damage, never as a newer version or a wrong count.
std::optional<Problem> checkFile(const std::uint8_t* data, std::size_t size) {
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
    const std::size_t expected =
        kHeaderSize + static_cast<std::size_t>(count) * kEntrySize + kTrailerSize;
    if (size < expected) {
        return Problem{S::Truncated,
                       format(fileTexts::kTruncated, num(static_cast<long long>(size)),
                              num(static_cast<long long>(expected)))};
    }
    if (size > expected) {
        return Problem{S::Corrupt, format(fileTexts::kExtraBytes,
                                          num(static_cast<long long>(size - expected)))};
    }
    if (crc32(data, expected - kTrailerSize) != get32(data + expected - kTrailerSize)) {
        return Problem{S::Corrupt, std::string(fileTexts::kBodyCrc)};
    }
    for (std::int32_t j = 1; j <= count; ++j) {
        const std::uint8_t* entry =
            data + kHeaderSize + static_cast<std::size_t>(j - 1) * kEntrySize;
        if (auto problem = checkEntry(entry, j)) {
            return problem;
        }
    }
    return std::nullopt;
}

// Fills `out` from bytes that checkFile has passed.
void fill(const std::uint8_t* data, MemorySnapshot& out) {
    const auto count = static_cast<std::int32_t>(get32(data + 12));
    for (std::int32_t j = 1; j <= PositionMemory::Capacity; ++j) {
        MemoryEntry& entry = out.memory[j];
        if (j > count) {
            entry = MemoryEntry{};
            continue;
        }
        const std::uint8_t* p = data + kHeaderSize + static_cast<std::size_t>(j - 1) * kEntrySize;
        for (int k = 1; k <= Board::kCells; ++k) {
            entry.Position.set(k, Cell(static_cast<char>(p[k - 1])));
        }
        for (int k = 1; k <= MemoryEntry::kSlots; ++k) {
            const std::uint8_t* slot = p + Board::kCells + static_cast<std::size_t>(k - 1) * kSlotSize;
            entry.Slots[k] = MoveSlot{static_cast<std::int16_t>(get16(slot)),
                                      static_cast<std::int32_t>(get32(slot + 2)), slot[6] != 0};
        }
    }
    out.entryCount = count;
    out.memory.reindex();
}

std::string inFile(std::string_view lead, const std::string& path, const std::string& reason) {
    return std::string(lead) + path + std::string(fileTexts::kQuoteEnd) + reason;
}

std::string directoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string baseOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::vector<std::uint8_t> encodeMemory(const MemorySnapshot& in) {
    std::vector<std::uint8_t> out;
    const std::int32_t count = in.entryCount;
    out.reserve(kHeaderSize + static_cast<std::size_t>(count > 0 ? count : 0) * kEntrySize +
                kTrailerSize);
    out.insert(out.end(), kMagic.begin(), kMagic.end());
    put16(out, kVersion);
    put16(out, 0);
    put32(out, static_cast<std::uint32_t>(count));
    put32(out, crc32(out.data(), out.size()));
    for (std::int32_t j = 1; j <= count; ++j) {
        const MemoryEntry& entry = in.memory[j];
        for (int k = 1; k <= Board::kCells; ++k) {
            out.push_back(static_cast<std::uint8_t>(entry.Position.at(k).character()));
        }
        for (int k = 1; k <= MemoryEntry::kSlots; ++k) {
            const MoveSlot& slot = entry.Slots[k];
            put16(out, static_cast<std::uint16_t>(slot.Answer));
            put32(out, static_cast<std::uint32_t>(slot.Weight));
            out.push_back(slot.Used ? 1 : 0);
        }
    }
    put32(out, crc32(out.data(), out.size()));
    return out;
}

MemoryLoadResult decodeMemory(const std::uint8_t* data, std::size_t size, MemorySnapshot& out) {
    if (const std::optional<Problem> problem = checkFile(data, size)) {
        return {problem->status, std::string(fileTexts::kMemoryNotRead) + problem->reason};
    }
    fill(data, out);
    return {};
}

MemoryLoadResult loadMemoryFile(const std::string& path, MemorySnapshot& out) {
    // Non-blocking, so that a named pipe given by mistake is refused instead of waited on.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int error = errno;
        if (error == ENOENT) {
            return {MemoryFileStatus::Missing, std::string(fileTexts::kFileMissing) + path +
                                                   std::string(fileTexts::kFileMissingEnd) + "."};
        }
        return {MemoryFileStatus::IoError, inFile(fileTexts::kFileNotRead, path,
                                                  format(fileTexts::kReadError, errnoText(error)))};
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return {MemoryFileStatus::IoError,
                inFile(fileTexts::kFileNotRead, path, std::string(fileTexts::kNotRegular))};
    }
    // One byte more than the largest file of this version is enough to tell any file apart.
    std::vector<std::uint8_t> bytes(kMaxFileSize + 1);
    std::size_t size = 0;
    while (size < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + size, bytes.size() - size);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            return {MemoryFileStatus::IoError,
                    inFile(fileTexts::kFileNotRead, path,
                           format(fileTexts::kReadError, errnoText(error)))};
        }
        if (n == 0) {
            break;
        }
        size += static_cast<std::size_t>(n);
    }
    ::close(fd);
    if (const std::optional<Problem> problem = checkFile(bytes.data(), size)) {
        return {problem->status, inFile(fileTexts::kFileNotRead, path, problem->reason)};
    }
    fill(bytes.data(), out);
    return {};
}

int SaveSteps::createNew(const std::string& path, mode_t mode) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
}
int SaveSteps::setMode(int fd, mode_t mode) {
    return ::fchmod(fd, mode);
}
ssize_t SaveSteps::write(int fd, const void* data, std::size_t size) {
    return ::write(fd, data, size);
}
int SaveSteps::sync(int fd) {
    return ::fsync(fd);
}
int SaveSteps::close(int fd) {
    return ::close(fd);
}
int SaveSteps::rename(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str());
}
int SaveSteps::unlink(const std::string& path) {
    return ::unlink(path.c_str());
}
int SaveSteps::openDirectory(const std::string& path) {
    return ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

std::string saveMemoryFile(const std::string& path, const MemorySnapshot& in) {
    SaveSteps steps;
    return saveMemoryFile(path, in, steps);
}

std::string saveMemoryFile(const std::string& path, const MemorySnapshot& in, SaveSteps& steps) {
    const std::vector<std::uint8_t> bytes = encodeMemory(in);
    auto failed = [&path](std::string_view pattern, int error) {
        return inFile(fileTexts::kFileNotSaved, path, format(pattern, errnoText(error)));
    };

    // A symbolic link stays a link: the file it leads to is the one replaced.
    std::string target = path;
    if (char* resolved = ::realpath(path.c_str(), nullptr)) {
        target = resolved;
        std::free(resolved);
    }
    const std::string directory = directoryOf(target);
    // The replacement keeps the permissions of the file it replaces.
    mode_t keepMode = 0;
    struct stat info {};
    const bool replacing = ::stat(target.c_str(), &info) == 0;
    if (replacing) {
        keepMode = info.st_mode & 07777;
    }

    // The temporary file lies beside the target so that the rename never crosses file systems.
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp =
            directory + "/." + baseOf(target) + "." + num(::getpid()) + "." + num(attempt) + ".tmp";
        fd = steps.createNew(temp, 0666);
        if (fd < 0 && errno != EEXIST) {
            break;
        }
    }
    if (fd < 0) {
        return failed(fileTexts::kCreateTemp, errno);
    }
    auto abandon = [&](std::string_view pattern, int error, bool open) {
        if (open) {
            steps.close(fd);
        }
        steps.unlink(temp);
        return failed(pattern, error);
    };

    if (replacing && steps.setMode(fd, keepMode) != 0) {
        return abandon(fileTexts::kWriteError, errno, true);
    }
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = steps.write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            // A write that makes no progress would loop for ever; treat it as a full disk.
            return abandon(fileTexts::kWriteError, n < 0 ? errno : ENOSPC, true);
        }
        written += static_cast<std::size_t>(n);
    }
    if (steps.sync(fd) != 0) {
        return abandon(fileTexts::kSyncError, errno, true);
    }
    if (steps.close(fd) != 0) {
        return abandon(fileTexts::kCloseError, errno, false);
    }
    if (steps.rename(temp, target) != 0) {
        return abandon(fileTexts::kRenameError, errno, false);
    }

    // The rename is durable only once the directory itself has reached the disk.
    const int dirFd = steps.openDirectory(directory);
    if (dirFd < 0) {
        return failed(fileTexts::kDirSyncError, errno);
    }
    int syncError = 0;
    if (steps.sync(dirFd) != 0) {
        syncError = errno;
    }
    steps.close(dirFd);
    // Some file systems cannot flush a directory at all; nothing more can be done there.
    if (syncError != 0 && syncError != EINVAL) {
        return failed(fileTexts::kDirSyncError, syncError);
    }
    return {};
}

}  // namespace zelmo::engine
