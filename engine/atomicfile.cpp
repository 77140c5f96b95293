// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/atomicfile.h"
#include "engine/filetexts.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <string_view>
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
        // A missing file is created; any other failure shows up when the temporary is made.
        return error == ENOENT ? std::string() : format(fileTexts::kNotWritable, errnoText(error));
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
    std::string_view rest(name);
    rest.remove_prefix(prefix.size());
    long long pid = 0;
    std::size_t digits = 0;
    while (digits < rest.size() && rest[digits] >= '0' && rest[digits] <= '9' && digits < 10) {
        pid = pid * 10 + (rest[digits] - '0');
        ++digits;
    }
    if (digits == 0 || digits >= rest.size() || rest[digits] != '.') {
        return 0;
    }
    rest.remove_prefix(digits + 1);
    std::size_t counter = 0;
    while (counter < rest.size() && rest[counter] >= '0' && rest[counter] <= '9') {
        ++counter;
    }
    if (counter == 0 || rest.substr(counter) != ".tmp" || pid <= 0 || pid > 0x7FFFFFFF) {
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

std::string followLinks(const std::string& path, int& error) {
    error = 0;
    std::string current = path;
    for (int hop = 0;; ++hop) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0) {
            // A link whose file is missing leads to the file to be created.
            if (errno != ENOENT) {
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

std::string checkReplaceable(const std::string& path) {
    int linkError = 0;
    const std::string target = followLinks(path, linkError);
    if (linkError != 0) {
        return format(fileTexts::kLinkError, errnoText(linkError));
    }
    bool exists = false;
    struct stat info {};
    if (std::string why = refusal(target, exists, info); !why.empty()) {
        return why;
    }
    SaveSteps steps;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string temp = tempName(target, attempt);
        const int fd = steps.createNew(temp, 0600);
        if (fd >= 0) {
            steps.close(fd);
            steps.unlink(temp);
            return {};
        }
        if (errno != EEXIST) {
            break;
        }
    }
    return format(fileTexts::kCreateTemp, errnoText(errno));
}

std::string replaceFile(const std::string& path, const std::uint8_t* data, std::size_t size,
                        SaveSteps& steps) {
    auto failed = [](std::string_view pattern, int error) {
        return format(pattern, errnoText(error));
    };
    int linkError = 0;
    const std::string target = followLinks(path, linkError);
    if (linkError != 0) {
        return failed(fileTexts::kLinkError, linkError);
    }
    bool replacing = false;
    struct stat info {};
    if (std::string why = refusal(target, replacing, info); !why.empty()) {
        return why;
    }
    const std::string directory = directoryOf(target);

    // The temporary file lies beside the target so that the rename never crosses file systems.
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = tempName(target, attempt);
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
    removeStaleTemporaries(target);

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
