// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/atomicfile.h"
#include "engine/filetexts.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstring>
#include <mutex>
#include <set>
#include <string_view>
#include <system_error>
#include <utility>

namespace zelmo::engine {

namespace {

using fileTexts::format;

// The kernel's own limit on links followed in one path lookup.
constexpr int kMaxLinks = 40;

std::string errnoText(int error) {
    return std::strerror(error);
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

std::string tempPrefix(const std::string& target) {
    return "." + baseOf(target) + ".";
}

std::string tempName(const std::string& target, int attempt) {
    return directoryOf(target) + "/" + tempPrefix(target) + std::to_string(::getpid()) + "." +
           std::to_string(attempt) + ".tmp";
}

// What stands in the way of replacing the file that `target` names, or "". `exists` tells
// whether there is a file to replace; `info` is then its status.
std::string refusal(const std::string& target, bool& exists, struct stat& info) {
    exists = false;
    if (::stat(target.c_str(), &info) != 0) {
        const int error = errno;
        // A missing file is created; a missing or non-folder parent shows up when the
        // temporary is made.
        return error == ENOENT || error == ENOTDIR
                   ? std::string()
                   : format(fileTexts::kNotWritable, errnoText(error));
    }
    exists = true;
    // A rename over a device, a pipe or a socket would put a regular file in its place.
    if (!S_ISREG(info.st_mode)) {
        return std::string(fileTexts::kNotRegular);
    }
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
        return format(fileTexts::kNotWritable, errnoText(errno));
    }
    // The superuser passes every permission test; a file that nobody may write is still kept
    // as it is, as `rm` asks before removing one.
    if (::geteuid() == 0 && (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        return format(fileTexts::kNotWritable, errnoText(EACCES));
    }
    return {};
}

// The pid of a temporary `.NAME.<pid>.<n>.tmp` of `target`, or 0 when `name` is not one.
pid_t temporaryOwner(const std::string& name, const std::string& prefix) {
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) {
        return 0;
    }
    const char* const end = name.data() + name.size();
    // Unsigned parsing takes no sign; an overflowing pid is no pid.
    unsigned long long pid = 0;
    const auto [pidEnd, pidError] = std::from_chars(name.data() + prefix.size(), end, pid);
    if (pidError != std::errc() || pidEnd == end || *pidEnd != '.' || pid == 0 ||
        pid > 0x7FFFFFFF) {
        return 0;
    }
    unsigned long long counter = 0;
    const auto [counterEnd, counterError] = std::from_chars(pidEnd + 1, end, counter);
    if (counterError == std::errc::invalid_argument ||
        std::string_view(counterEnd, static_cast<std::size_t>(end - counterEnd)) != ".tmp") {
        return 0;
    }
    return static_cast<pid_t>(pid);
}

// Removes the temporaries of `target` that a process killed during its save left behind. Only
// those whose process no longer runs: a live one may be in the middle of its own save. Best
// effort: a file that cannot be removed stays for the next save.
void removeStaleTemporaries(const std::string& target) {
    const std::string directory = directoryOf(target);
    DIR* dir = ::opendir(directory.c_str());
    if (dir == nullptr) {
        return;
    }
    const std::string prefix = tempPrefix(target);
    const pid_t self = ::getpid();
    while (const dirent* item = ::readdir(dir)) {
        const pid_t owner = temporaryOwner(item->d_name, prefix);
        if (owner == 0 || owner == self) {
            continue;
        }
        // EPERM means the process exists under another user: it is alive.
        if (::kill(owner, 0) != 0 && errno == ESRCH) {
            ::unlinkat(::dirfd(dir), item->d_name, 0);
        }
    }
    ::closedir(dir);
}

// Whether `target` has not been saved to yet in this process. Stale temporaries can only come
// from processes that ended before, so one clean-up per file and run suffices; the window
// saves after every game and need not read the whole folder each time.
bool firstSaveTo(const std::string& target) {
    static std::mutex mutex;
    static std::set<std::string> saved;
    const std::lock_guard lock(mutex);
    return saved.insert(target).second;
}

// The file a save to `path` replaces: `path` with every symbolic link followed, the link's
// target taken relative to the link's folder. Sets `error` (errno) on failure.
std::string followLinks(const std::string& path, int& error) {
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
            }
            return current;
        }
        if (!S_ISLNK(info.st_mode)) {
            return current;
        }
        if (hop == kMaxLinks) {
            error = ELOOP;
            return current;
        }
        std::string target(static_cast<std::size_t>(info.st_size) + 256, '\0');
        const ssize_t length = ::readlink(current.c_str(), target.data(), target.size());
        if (length < 0 || static_cast<std::size_t>(length) >= target.size()) {
            error = length < 0 ? errno : ENAMETOOLONG;
            return current;
        }
        target.resize(static_cast<std::size_t>(length));
        if (target.front() == '/') {
            current = std::move(target);
        } else {
            current = directoryOf(current).append("/").append(target);
        }
    }
}

// A temporary file created beside the file that a save to a path replaces.
struct Temporary {
    std::string target;      // the path with its links followed
    bool replacing = false;  // whether the target exists
    struct stat info {};     // the target's status when it exists
    std::string path;
    int fd = -1;
};

// Follows the links of `path`, refuses what cannot be replaced, then creates a new temporary
// file with `mode` beside the target. Returns "" with `out.fd` open, else the reason.
std::string createTemporary(const std::string& path, mode_t mode, SaveSteps& steps,
                            Temporary& out) {
    int linkError = 0;
    out.target = followLinks(path, linkError);
    if (linkError != 0) {
        return format(fileTexts::kLinkError, errnoText(linkError));
    }
    if (std::string why = refusal(out.target, out.replacing, out.info); !why.empty()) {
        return why;
    }
    // The temporary file lies beside the target so that the rename never crosses file systems.
    for (int attempt = 0; attempt < 100; ++attempt) {
        out.path = tempName(out.target, attempt);
        out.fd = steps.createNew(out.path, mode);
        if (out.fd >= 0) {
            return {};
        }
        if (errno != EEXIST) {
            break;
        }
    }
    return format(fileTexts::kCreateTemp, errnoText(errno));
}

}  // namespace

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
    if (std::string why = createTemporary(path, 0600, steps, temp); !why.empty()) {
        return why;
    }
    steps.close(temp.fd);
    steps.unlink(temp.path);
    return {};
}

std::string replaceFile(const std::string& path, const std::uint8_t* data, std::size_t size,
                        SaveSteps& steps) {
    auto failed = [](std::string_view pattern, int error) {
        return format(pattern, errnoText(error));
    };
    Temporary created;
    if (std::string why = createTemporary(path, 0666, steps, created); !why.empty()) {
        return why;
    }
    const std::string& target = created.target;
    const std::string& temp = created.path;
    const int fd = created.fd;
    const bool replacing = created.replacing;
    const struct stat& info = created.info;
    const std::string directory = directoryOf(target);
    auto abandon = [&](std::string_view pattern, int error, bool open) {
        if (open) {
            steps.close(fd);
        }
        steps.unlink(temp);
        return failed(pattern, error);
    };

    // The replacement keeps the permissions of the file it replaces.
    if (replacing && steps.setMode(fd, info.st_mode & 07777) != 0) {
        return abandon(fileTexts::kWriteError, errno, true);
    }
    std::size_t written = 0;
    while (written < size) {
        const ssize_t n = steps.write(fd, data + written, size - written);
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
    if (firstSaveTo(target)) {
        removeStaleTemporaries(target);
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
