// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/memory.h"

#include <sys/types.h>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zelmo::engine {

// What the computer has learnt, as one value: the table and the number of entries in use.
// Large (the whole fixed table), so allocate it with std::make_unique.
struct MemorySnapshot {
    PositionMemory memory;
    std::int32_t entryCount = 0;
};

// Why a memory file could not be read. Missing: the file does not exist (an empty memory that
// the first save creates). Empty, Truncated, Corrupt: damaged. Foreign: not a memory file.
// NewerVersion: written by a later Zelmo. BadCount: an entry count outside 0..Capacity.
// BadData: intact but holding entries that play could never have made. IoError: the file
// exists but cannot be read.
enum class MemoryFileStatus {
    Ok,
    Missing,
    Empty,
    Truncated,
    Corrupt,
    Foreign,
    NewerVersion,
    BadCount,
    BadData,
    IoError
};

// The result of reading: Ok, or what went wrong with a clear UTF-8 Russian message (the file
// reader's messages name the file).
struct MemoryLoadResult {
    MemoryFileStatus status = MemoryFileStatus::Ok;
    std::string message;
};

// The memory file shared by the window and the trainer: a fixed-width little-endian binary
// layout with a format name, a version, checksums over the header and over the entries, and
// entries 1..entryCount (positions, slots with answers, weights and used marks). Entries above
// the count are not stored: a new entry is always written in full when it is created.
std::vector<std::uint8_t> encodeMemory(const MemorySnapshot& in);
// Checks everything before touching `out`; `out` is left untouched unless the result is Ok.
MemoryLoadResult decodeMemory(const std::uint8_t* data, std::size_t size, MemorySnapshot& out);
// Missing when the file does not exist; `out` is left untouched unless the result is Ok.
MemoryLoadResult loadMemoryFile(const std::string& path, MemorySnapshot& out);
// Replaces the file atomically (a temporary file in the same directory, written, flushed to
// disk, renamed over the file, then the directory flushed): the file holds either the old or
// the new memory whatever happens. Returns "" on success, else a clear message naming the file.
std::string saveMemoryFile(const std::string& path, const MemorySnapshot& in);

// The system calls of a save, replaceable so that tests can make any step fail or stop the
// process there. Each returns what the POSIX call returns and leaves errno set on failure.
class SaveSteps {
  public:
    virtual ~SaveSteps() = default;
    // open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode): the process umask applies.
    virtual int createNew(const std::string& path, mode_t mode);
    virtual int setMode(int fd, mode_t mode);  // fchmod
    virtual ssize_t write(int fd, const void* data, std::size_t size);
    virtual int sync(int fd);  // fsync
    virtual int close(int fd);
    virtual int rename(const std::string& from, const std::string& to);
    virtual int unlink(const std::string& path);
    virtual int openDirectory(const std::string& path);  // open(O_RDONLY | O_DIRECTORY)
};

std::string saveMemoryFile(const std::string& path, const MemorySnapshot& in, SaveSteps& steps);

}  // namespace zelmo::engine
