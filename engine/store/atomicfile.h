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
    // open(path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode): the process
    // umask applies; never opens anything that exists, a link included.
    virtual int createNew(const std::string& path, mode_t mode);
    virtual int setOwner(int fd, uid_t owner, gid_t group);  // fchown
    virtual int setMode(int fd, mode_t mode);                // fchmod
    virtual ssize_t write(int fd, const void* data, std::size_t size);
    virtual int sync(int fd);  // fsync
    virtual int close(int fd);
    virtual int rename(const std::string& from, const std::string& to);
    // renameat2(RENAME_NOREPLACE), or link and unlink where the file system lacks it: fails
    // with EEXIST when `to` exists, whatever it is.
    virtual int renameNoReplace(const std::string& from, const std::string& to);
    virtual int unlink(const std::string& path);
    virtual int openDirectory(const std::string& path);  // open(O_RDONLY | O_DIRECTORY)
};

// The steps every save of this process takes unless it is given its own: the real calls, or
// those a test installed with ScopedSaveSteps. Read by every thread that saves.
SaveSteps& processSaveSteps();

// Installs `steps` as the process's save steps for its lifetime (tests: faults injected into
// the saves of the trainer or of the window's saving thread). Not nested across threads.
class ScopedSaveSteps {
  public:
    explicit ScopedSaveSteps(SaveSteps& steps);
    ~ScopedSaveSteps();
    ScopedSaveSteps(const ScopedSaveSteps&) = delete;
    ScopedSaveSteps& operator=(const ScopedSaveSteps&) = delete;

  private:
    SaveSteps* previous_;
};

// What a file is, as far as telling it from a replacement goes: a save renames a new inode
// over the name, and any other writer changes the inode, the size or the time of the last
// change of the contents.
struct FileIdentity {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    std::int64_t modifiedNs = 0;
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// The identity of the file `path` leads to (links followed); `exists` is false only when there
// is no file (a status that cannot be read is an identity of its own, all zero).
FileIdentity identityOf(const std::string& path);

// The file that a save to `path` replaces: `path` with every symbolic link followed (a link
// whose file is missing leads to the file to be created). "" with `error` set when the links
// cannot be followed.
std::string resolvedPath(const std::string& path, int& error);

// How replaceFile treats the name it is given.
struct ReplaceOptions {
    // A name the player chose may be a link, followed to its file. A name the program invents
    // (FILE.bak) never is: a link, a folder, a pipe there is refused and left as it is.
    bool followLinks = true;
    // When set, the file must still be this one (the file as this process last read or wrote
    // it). If another file is there now, it is left as it is and the bytes go to a new name
    // beside it (conflictPathOf) instead; a file that is gone is created again.
    const FileIdentity* expected = nullptr;
    // nullptr: processSaveSteps().
    SaveSteps* steps = nullptr;
};

struct ReplaceResult {
    std::string failure;  // "" when everything succeeded, else the reason (Russian, no name)
    std::string savedTo;  // the file that holds the new bytes now, "" when none does
    // The file had changed, so the bytes went (or, on a failure, were to go) to a new name.
    bool diverted = false;
    FileIdentity identity;  // savedTo's identity when it holds the new bytes
};

// Replaces a regular file with new contents so that it holds either the old or the new bytes
// whatever happens: a temporary file `.NAME.<pid>.<n>.tmp` in the same folder is written,
// flushed to disk, renamed over the file, then the folder is flushed. A missing file is
// created. Before the first temporary of a file in a process, temporaries of the same file
// left by processes that no longer run are removed. Refused before anything is written:
// anything but a regular file (a device, a pipe, a folder), a file the user may not write, a
// file with several hard links (a rename would split them). The replacement keeps the file's
// owner, group and permissions; when they cannot be kept the file is not replaced.
ReplaceResult replaceFile(const std::string& path, const std::uint8_t* data, std::size_t size,
                          const ReplaceOptions& options);
// The same with the links followed and no identity check; returns "" or the reason.
std::string replaceFile(const std::string& path, const std::uint8_t* data, std::size_t size,
                        SaveSteps& steps);
inline std::string replaceFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    return replaceFile(path, bytes.data(), bytes.size(), processSaveSteps());
}

// The new name beside `resolved` (links already followed) that a diverted save tries as its
// `number`th: "memory.conflict-1.zelmo" for "memory.zelmo", "memo.conflict-1.zelmo" for "memo".
std::string conflictPathOf(const std::string& resolved, int number);

// Reads the whole regular file `path` (symbolic links lead to the file they name) into `bytes`
// without waiting on a named pipe. Returns 0, or the errno of the failure: ENOENT when there is
// no file, ENODEV when it is no regular file (a folder, a device, a pipe), EFBIG when it holds
// more than `maxBytes` bytes (`bytes` then holds the first maxBytes).
int readRegularFile(const std::string& path, std::size_t maxBytes,
                    std::vector<std::uint8_t>& bytes);

// Checks, before work whose result is to be saved there, that replaceFile(path) can succeed
// as far as can be known now: the file would be replaced (regular, writable, one link, or
// missing) and a temporary file taking its owner and group can be created in its folder (one
// is created and removed). Returns "" or the reason.
std::string checkReplaceable(const std::string& path);

}  // namespace zelmo::engine
