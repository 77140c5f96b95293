// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zelmo::engine {

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

// Replaces a regular file with new contents so that it holds either the old or the new bytes
// whatever happens: a temporary file `.NAME.<pid>.<n>.tmp` in the same folder is written,
// flushed to disk, renamed over the file, then the folder is flushed. A missing file is
// created. Symbolic links are followed to the file they lead to and never replaced themselves.
// Refused before anything is written: anything but a regular file (a device, a pipe, a
// folder), and a file the user may not write. The replacement keeps the file's permissions.
// After the first successful replacement of a file in a process, temporaries of the same file
// left by processes that no longer run are removed. Returns "" on success, else the reason
// (Russian, without the name).
std::string replaceFile(const std::string& path, const std::uint8_t* data, std::size_t size,
                        SaveSteps& steps);
inline std::string replaceFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    SaveSteps steps;
    return replaceFile(path, bytes.data(), bytes.size(), steps);
}

// Reads the whole regular file `path` (symbolic links lead to the file they name) into `bytes`
// without waiting on a named pipe. Returns 0, or the errno of the failure: ENOENT when there is
// no file, ENODEV when it is no regular file (a folder, a device, a pipe), EFBIG when it holds
// more than `maxBytes` bytes (`bytes` then holds the first maxBytes).
int readRegularFile(const std::string& path, std::size_t maxBytes,
                    std::vector<std::uint8_t>& bytes);

// Checks, before work whose result is to be saved there, that replaceFile(path) can succeed
// as far as can be known now: the file would be replaced (regular and writable, or missing)
// and a temporary file can be created in its folder (one is created and removed). Returns ""
// or the reason.
std::string checkReplaceable(const std::string& path);

}  // namespace zelmo::engine
