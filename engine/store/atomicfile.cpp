// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/store/atomicfile.h"
#include "engine/store/fileattributes.h"
#include "engine/store/filenames.h"
#include "engine/store/filetexts.h"
#include "engine/store/systemerrors.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <string_view>
#include <utility>

namespace zelmo::engine {

namespace {

using filenames::directoryOf;
using fileTexts::format;

// The kernel's own limit on links followed in one path lookup.
constexpr int kMaxLinks = 40;
// Conflict names tried before a diverted save gives up.
constexpr int kMaxConflictNames = 1000;

std::string failed(std::string_view pattern, int error) {
    return format(pattern, systemErrorText(error));
}

FileIdentity identityFrom(const struct stat& info) {
    return {true, info.st_dev, info.st_ino, info.st_size,
            static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

// What stands in the way of replacing `target`, or "". `exists` tells whether there is a file
// to replace; `info` is then its status.
std::string refusal(const std::string& target, bool followLinks, bool& exists, struct stat& info) {
    exists = false;
    const int statError =
        (followLinks ? ::stat(target.c_str(), &info) : ::lstat(target.c_str(), &info)) != 0 ? errno
                                                                                            : 0;
    if (statError != 0) {
        // A missing file is created; a missing or non-folder parent shows up when the
        // temporary is made.
        return statError == ENOENT || statError == ENOTDIR
                   ? std::string()
                   : failed(fileTexts::kNotWritable, statError);
    }
    exists = true;
    if (!followLinks && !S_ISREG(info.st_mode)) {
        return std::string(fileTexts::kNotOurName);
    }
    // A rename over a device, a pipe or a socket would put a regular file in its place.
    if (!S_ISREG(info.st_mode)) {
        return std::string(fileTexts::kNotRegular);
    }
    // A rename gives one of the names a new file and leaves the others on the old one.
    if (followLinks && info.st_nlink > 1) {
        return format(fileTexts::kHardLinks, std::to_string(info.st_nlink));
    }
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
        return failed(fileTexts::kNotWritable, errno);
    }
    // The superuser passes every permission test; a file that nobody may write is still kept
    // as it is, as `rm` asks before removing one.
    if (::geteuid() == 0 && (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        return failed(fileTexts::kNotWritable, EACCES);
    }
    return {};
}

// A temporary file created beside the file that a save replaces.
struct Temporary {
    std::string target;      // the name replaced, its links followed when they are to be
    bool replacing = false;  // whether the target exists and is to be replaced
    struct stat info {};     // the target's status when replacing
    std::string path;
    int fd = -1;
};

// Creates a new temporary file with `mode` beside `out.target`, after removing those that
// dead processes left. Returns "" with `out.fd` open, else the reason.
std::string createTemporary(mode_t mode, SaveSteps& steps, Temporary& out) {
    filenames::removeStaleTemporariesOnce(out.target);
    // The temporary file lies beside the target so that the rename never crosses file systems.
    for (int attempt = 0; attempt < 100; ++attempt) {
        out.path = filenames::temporaryOf(out.target, attempt);
        out.fd = steps.createNew(out.path, mode);
        if (out.fd >= 0) {
            return {};
        }
        if (errno != EEXIST) {
            break;
        }
    }
    return failed(fileTexts::kCreateTemp, errno);
}

// Gives the temporary the owner, group, extended attributes (ACLs) and permissions of the file
// it replaces: a save by the superuser leaves a user's file the user's, a shared file stays
// shared, and no save widens or narrows who may read or write it.
std::string keepOwnerAndMode(const Temporary& temp, SaveSteps& steps) {
    struct stat made {};
    if (::fstat(temp.fd, &made) != 0) {
        return failed(fileTexts::kOwnerError, errno);
    }
    if ((made.st_uid != temp.info.st_uid || made.st_gid != temp.info.st_gid) &&
        steps.setOwner(temp.fd, temp.info.st_uid, temp.info.st_gid) != 0) {
        return failed(fileTexts::kOwnerError, errno);
    }
    // The ACLs and other attributes before the mode: the mode given last sets the ACL's mask
    // to the replaced file's group bits, which are its mask already.
    if (std::string why = copyExtendedAttributes(temp.target, temp.fd); !why.empty()) {
        return why;
    }
    // After the owner: a change of owner clears the set-user and set-group bits.
    if (steps.setMode(temp.fd, temp.info.st_mode & 07777) != 0) {
        return failed(fileTexts::kModeError, errno);
    }
    return {};
}

// Moves the finished temporary to the first free conflict name beside the target: never over
// an existing name, whatever is there. Sets `to` on success.
std::string divert(const Temporary& temp, SaveSteps& steps, std::string& to) {
    for (int number = 1; number <= kMaxConflictNames; ++number) {
        to = conflictPathOf(temp.target, number);
        if (steps.renameNoReplace(temp.path, to) == 0) {
            return {};
        }
        if (errno != EEXIST) {
            return failed(fileTexts::kRenameError, errno);
        }
    }
    return failed(fileTexts::kNoFreeName, EEXIST);
}

std::atomic<SaveSteps*> installedSteps{nullptr};

}  // namespace

int SaveSteps::createNew(const std::string& path, mode_t mode) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
}
int SaveSteps::setOwner(int fd, uid_t owner, gid_t group) {
    return ::fchown(fd, owner, group);
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
int SaveSteps::renameNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return -1;
    }
    // A second name never follows a link and fails on any existing name.
    if (::link(from.c_str(), to.c_str()) != 0) {
        return -1;
    }
    ::unlink(from.c_str());
    return 0;
}
int SaveSteps::unlink(const std::string& path) {
    return ::unlink(path.c_str());
}
int SaveSteps::openDirectory(const std::string& path) {
    return ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

SaveSteps& processSaveSteps() {
    // Never destroyed: a save may still run from an exit hook after the statics have gone.
    static auto& real = *new SaveSteps;
    SaveSteps* installed = installedSteps.load();
    return installed != nullptr ? *installed : real;
}

ScopedSaveSteps::ScopedSaveSteps(SaveSteps& steps) : previous_(installedSteps.exchange(&steps)) {}

ScopedSaveSteps::~ScopedSaveSteps() {
    installedSteps.store(previous_);
}

FileIdentity identityOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        return identityFrom(info);
    }
    FileIdentity unknown;
    unknown.exists = errno != ENOENT && errno != ENOTDIR;
    return unknown;
}

std::string resolvedPath(const std::string& path, int& error) {
    error = 0;
    std::string current = path;
    for (int hop = 0;; ++hop) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0) {
            // A link whose file is missing leads to the file to be created; a path through
            // something that is not a folder has no link to follow, and fails when the
            // temporary file is made.
            if (errno != ENOENT && errno != ENOTDIR) {
                error = errno;
                return {};
            }
            return current;
        }
        if (!S_ISLNK(info.st_mode)) {
            return current;
        }
        if (hop == kMaxLinks) {
            error = ELOOP;
            return {};
        }
        std::string target(static_cast<std::size_t>(info.st_size) + 256, '\0');
        const ssize_t length = ::readlink(current.c_str(), target.data(), target.size());
        if (length <= 0 || static_cast<std::size_t>(length) >= target.size()) {
            error = length < 0 ? errno : ENAMETOOLONG;
            return {};
        }
        target.resize(static_cast<std::size_t>(length));
        if (target.front() == '/') {
            current = std::move(target);
        } else {
            current = directoryOf(current).append("/").append(target);
        }
    }
}

std::string conflictPathOf(const std::string& resolved, int number) {
    std::string stem = filenames::baseOf(resolved);
    const std::string_view extension = fileTexts::kMemoryExtension;
    if (stem.size() > extension.size() && stem.ends_with(extension)) {
        stem.resize(stem.size() - extension.size());
    }
    return directoryOf(resolved) + "/" + stem + std::string(fileTexts::kConflictInfix) +
           std::to_string(number) + std::string(extension);
}

int readRegularFile(const std::string& path, std::size_t maxBytes,
                    std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    // Non-blocking, so that opening a named pipe does not wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return errno;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return ENODEV;
    }
    std::vector<std::uint8_t> buffer(std::size_t{1} << 16);
    int error = 0;
    for (;;) {
        // Reading stops one byte beyond the cap: that byte tells a file that is too large.
        const std::size_t room = std::min(buffer.size(), maxBytes + 1 - bytes.size());
        const ssize_t n = ::read(fd, buffer.data(), room);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            error = n < 0 ? errno : 0;
            break;
        }
        bytes.insert(bytes.end(), buffer.begin(), buffer.begin() + n);
        if (bytes.size() > maxBytes) {
            bytes.resize(maxBytes);
            error = EFBIG;
            break;
        }
    }
    ::close(fd);
    return error;
}

std::string checkReplaceable(const std::string& path) {
    SaveSteps steps;
    Temporary temp;
    int linkError = 0;
    temp.target = resolvedPath(path, linkError);
    if (linkError != 0) {
        return failed(fileTexts::kLinkError, linkError);
    }
    if (std::string why = refusal(temp.target, true, temp.replacing, temp.info); !why.empty()) {
        return why;
    }
    if (std::string why = createTemporary(0600, steps, temp); !why.empty()) {
        return why;
    }
    std::string why = temp.replacing ? keepOwnerAndMode(temp, steps) : std::string();
    steps.close(temp.fd);
    steps.unlink(temp.path);
    return why;
}

std::string replaceFile(const std::string& path, const std::uint8_t* data, std::size_t size,
                        SaveSteps& steps) {
    ReplaceOptions options;
    options.steps = &steps;
    return replaceFile(path, data, size, options).failure;
}

ReplaceResult replaceFile(const std::string& path, const std::uint8_t* data, std::size_t size,
                          const ReplaceOptions& options) {
    SaveSteps& steps = options.steps != nullptr ? *options.steps : processSaveSteps();
    ReplaceResult result;
    Temporary temp;
    if (options.followLinks) {
        int linkError = 0;
        temp.target = resolvedPath(path, linkError);
        if (linkError != 0) {
            result.failure = failed(fileTexts::kLinkError, linkError);
            return result;
        }
    } else {
        temp.target = path;
    }
    // A file that is gone holds nobody's memory any more: it is simply created again.
    const auto changed = [&] {
        if (options.expected == nullptr) {
            return false;
        }
        const FileIdentity now = identityOf(temp.target);
        return now.exists && now != *options.expected;
    };
    // A file that another program has changed is not replaced, so the refusals that protect a
    // file being replaced do not apply to it.
    bool diverting = changed();
    result.diverted = diverting;
    if (!diverting) {
        result.failure = refusal(temp.target, options.followLinks, temp.replacing, temp.info);
        if (!result.failure.empty()) {
            return result;
        }
    }
    result.failure = createTemporary(0666, steps, temp);
    if (!result.failure.empty()) {
        return result;
    }
    auto abandon = [&](std::string why, bool open) {
        if (open) {
            steps.close(temp.fd);
        }
        steps.unlink(temp.path);
        result.failure = std::move(why);
        return result;
    };

    if (temp.replacing) {
        if (std::string why = keepOwnerAndMode(temp, steps); !why.empty()) {
            return abandon(std::move(why), true);
        }
    }
    std::size_t written = 0;
    while (written < size) {
        const ssize_t n = steps.write(temp.fd, data + written, size - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            // A write that makes no progress would loop for ever; treat it as a full disk.
            return abandon(failed(fileTexts::kWriteError, n < 0 ? errno : ENOSPC), true);
        }
        written += static_cast<std::size_t>(n);
    }
    if (steps.sync(temp.fd) != 0) {
        return abandon(failed(fileTexts::kSyncError, errno), true);
    }
    // The rename keeps the inode and the time of the last write: this is what the file will
    // be once it is in place.
    struct stat made {};
    const bool known = ::fstat(temp.fd, &made) == 0;
    if (steps.close(temp.fd) != 0) {
        return abandon(failed(fileTexts::kCloseError, errno), false);
    }
    // Checked again as late as possible: another program may have saved during the writing.
    diverting = diverting || changed();
    result.diverted = diverting;
    std::string savedTo = temp.target;
    if (diverting) {
        if (std::string why = divert(temp, steps, savedTo); !why.empty()) {
            return abandon(std::move(why), false);
        }
    } else if (steps.rename(temp.path, temp.target) != 0) {
        return abandon(failed(fileTexts::kRenameError, errno), false);
    }
    result.savedTo = savedTo;
    if (known) {
        result.identity = identityFrom(made);
    }

    // The rename is durable only once the directory itself has reached the disk.
    const int dirFd = steps.openDirectory(directoryOf(temp.target));
    if (dirFd < 0) {
        result.failure = failed(fileTexts::kDirSyncError, errno);
        return result;
    }
    int syncError = 0;
    if (steps.sync(dirFd) != 0) {
        syncError = errno;
    }
    steps.close(dirFd);
    // Some file systems cannot flush a directory at all; nothing more can be done there.
    if (syncError != 0 && syncError != EINVAL) {
        result.failure = failed(fileTexts::kDirSyncError, syncError);
    }
    return result;
}

}  // namespace zelmo::engine
