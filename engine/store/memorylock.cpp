// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/store/memorylock.h"
#include "engine/store/atomicfile.h"
#include "engine/store/filetexts.h"
#include "engine/store/systemerrors.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <charconv>
#include <system_error>
#include <utility>

namespace zelmo::engine {

namespace {

using fileTexts::format;

// Rounds of opening and locking before giving up: a round is lost only when a holder removed
// the file between our open and our lock, which cannot go on for long.
constexpr int kAttempts = 20;

// Opens the lock file, creating it, never following a link, never waiting on a pipe. A lock
// file the user may not write (left by the superuser) still takes a lock when opened for
// reading. Returns the descriptor, or -1 with errno set.
int openLockFile(const std::string& lockPath, bool create) {
    const int flags = O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
    int fd = ::open(lockPath.c_str(), flags | O_RDWR | (create ? O_CREAT : 0), 0644);
    if (fd < 0 && errno == EACCES) {
        fd = ::open(lockPath.c_str(), flags | O_RDONLY);
    }
    return fd;
}

// "PROGRAM PID" from the start of the lock file.
LockHolder readHolder(int fd) {
    char text[128] = {};
    const ssize_t n = ::pread(fd, text, sizeof text - 1, 0);
    LockHolder holder;
    if (n <= 0) {
        return holder;
    }
    const std::string_view line(text, static_cast<std::size_t>(n));
    const std::size_t space = line.find(' ');
    if (space == std::string_view::npos) {
        return holder;
    }
    holder.program = std::string(line.substr(0, space));
    long pid = 0;
    const auto [end, error] =
        std::from_chars(line.data() + space + 1, line.data() + line.size(), pid);
    if (error == std::errc() && pid > 0 && pid <= 0x7FFFFFFF) {
        holder.pid = static_cast<pid_t>(pid);
    }
    static_cast<void>(end);
    return holder;
}

// Whether the name `path` still names the open file `fd`: a holder removes the file as it
// lets go, so a lock taken on a file that no longer has the name locks nothing.
bool stillNamed(int fd, const std::string& path) {
    struct stat open {};
    struct stat named {};
    return ::fstat(fd, &open) == 0 && ::lstat(path.c_str(), &named) == 0 &&
           open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

FlockCall flockCall = &::flock;

// The errors of a file system that takes no flock() locks (some network and FUSE ones).
bool lockingUnsupported(int error) {
    return error == ENOLCK || error == EOPNOTSUPP || error == EINVAL;
}

}  // namespace

void setFlockCall(FlockCall call) {
    flockCall = call != nullptr ? call : &::flock;
}

MemoryLock::~MemoryLock() {
    release();
}

MemoryLock::MemoryLock(MemoryLock&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      status_(std::exchange(other.status_, Status::None)),
      holder_(std::move(other.holder_)),
      failure_(std::move(other.failure_)),
      lockPath_(std::move(other.lockPath_)) {}

MemoryLock& MemoryLock::operator=(MemoryLock&& other) noexcept {
    if (this != &other) {
        release();
        fd_ = std::exchange(other.fd_, -1);
        status_ = std::exchange(other.status_, Status::None);
        holder_ = std::move(other.holder_);
        failure_ = std::move(other.failure_);
        lockPath_ = std::move(other.lockPath_);
    }
    return *this;
}

std::string lockPathOf(const std::string& path) {
    int error = 0;
    const std::string resolved = resolvedPath(path, error);
    return (error == 0 ? resolved : path) + ".lock";
}

MemoryLock MemoryLock::acquire(const std::string& path, std::string_view program) {
    MemoryLock lock;
    lock.lockPath_ = lockPathOf(path);
    auto fail = [&lock](std::string why, Status status = Status::Failed) {
        lock.status_ = status;
        lock.failure_ = std::move(why);
        return std::move(lock);
    };
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const int fd = openLockFile(lock.lockPath_, true);
        if (fd < 0) {
            // O_NOFOLLOW refuses a link with ELOOP; a folder cannot be opened for writing.
            if (errno == ELOOP || errno == EISDIR || errno == ENXIO) {
                return fail(std::string(fileTexts::kLockNotRegular), Status::Refused);
            }
            return fail(systemErrorText(errno) + ".");
        }
        // Checked before anything is written to it: another name of the same file (a hard
        // link planted at FILE.lock) or another user's file would have its content replaced.
        struct stat info {};
        const bool known = ::fstat(fd, &info) == 0;
        if (!known || !S_ISREG(info.st_mode) || info.st_nlink != 1 || info.st_uid != ::geteuid()) {
            ::close(fd);
            return fail(std::string(!known || !S_ISREG(info.st_mode) ? fileTexts::kLockNotRegular
                                    : info.st_nlink != 1             ? fileTexts::kLockLinked
                                                                     : fileTexts::kLockForeign),
                        Status::Refused);
        }
        if (flockCall(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            if (error == EWOULDBLOCK) {
                lock.holder_ = readHolder(fd);
                ::close(fd);
                lock.status_ = Status::Held;
                return lock;
            }
            if (lockingUnsupported(error)) {
                // Nobody can hold a lock here, so an empty lock file is only the one just made.
                if (info.st_size == 0 && stillNamed(fd, lock.lockPath_)) {
                    ::unlink(lock.lockPath_.c_str());
                }
                ::close(fd);
                return fail(format(fileTexts::kLockUnsupported, systemErrorText(error)),
                            Status::Unsupported);
            }
            ::close(fd);
            return fail(systemErrorText(error) + ".");
        }
        if (!stillNamed(fd, lock.lockPath_)) {
            ::close(fd);
            continue;
        }
        lock.fd_ = fd;
        lock.status_ = Status::Locked;
        // Who holds it, for the message of whoever is refused; best effort (a lock file
        // opened for reading only keeps what it says).
        const std::string line = std::string(program) + " " + std::to_string(::getpid()) + "\n";
        if (::ftruncate(fd, 0) == 0) {
            static_cast<void>(::pwrite(fd, line.data(), line.size(), 0));
        }
        return lock;
    }
    return fail(systemErrorText(EBUSY) + ".");
}

void MemoryLock::release() {
    if (fd_ >= 0) {
        // Removed while still locked, so that nobody takes the name's lock before it goes.
        if (stillNamed(fd_, lockPath_)) {
            ::unlink(lockPath_.c_str());
        }
        ::close(fd_);
        fd_ = -1;
    }
    if (status_ == Status::Locked) {
        status_ = Status::None;
    }
}

std::optional<LockHolder> lockHolderOf(const std::string& path) {
    const std::string lockPath = lockPathOf(path);
    const int fd = openLockFile(lockPath, false);
    if (fd < 0) {
        return std::nullopt;
    }
    std::optional<LockHolder> holder;
    struct stat info {};
    // A shared lock is refused only while someone holds the exclusive one.
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ::flock(fd, LOCK_SH | LOCK_NB) != 0 &&
        errno == EWOULDBLOCK) {
        holder = readHolder(fd);
    }
    ::close(fd);
    return holder;
}

std::string describeHolder(const LockHolder& holder) {
    std::string text(holder.program == kWindowProgram    ? fileTexts::kHolderWindow
                     : holder.program == kTrainerProgram ? fileTexts::kHolderTrainer
                                                         : fileTexts::kHolderOther);
    if (holder.pid > 0) {
        text += format(fileTexts::kHolderProcess, std::to_string(holder.pid));
    }
    return text;
}

std::string heldMessage(const std::string& path, const LockHolder& holder) {
    return format(fileTexts::kHeld, path, describeHolder(holder));
}

std::string lockFailedMessage(const std::string& path, const MemoryLock& lock) {
    return format(fileTexts::kLockFailed, path, lock.lockPath(), lock.failure());
}

}  // namespace zelmo::engine
