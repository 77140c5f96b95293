// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>
#include <optional>
#include <string>
#include <string_view>

// One writer per memory file. Every process that may write a memory file (a window, the
// trainer) holds its lock while it may write: the file FILE.lock beside FILE (FILE's links
// followed, so that every name of one file finds one lock), locked with flock(LOCK_EX) and
// holding one line "PROGRAM PID". The kernel drops the lock when the holder ends, however it
// ends, so a lock file left by a process that no longer runs is simply taken over; the holder
// removes the file when it lets go.
namespace zelmo::engine {

// The programs that take the lock, as they write their names into it.
inline constexpr std::string_view kWindowProgram = "zelmo";
inline constexpr std::string_view kTrainerProgram = "zelmo-train";

// Who holds a lock, as its file says: an empty program and pid 0 when it says nothing yet.
struct LockHolder {
    std::string program;
    pid_t pid = 0;
};

class MemoryLock {
  public:
    // Refused: FILE.lock is not a lock file of this user's (a link, a folder, a pipe, a file
    // with other names or of another owner), so it is left untouched and the memory file is
    // not used. Unsupported: the file system takes no locks; the file may be used without one,
    // after saying so. Failed: the lock file cannot be made.
    enum class Status { None, Locked, Held, Failed, Refused, Unsupported };

    MemoryLock() = default;
    ~MemoryLock();
    MemoryLock(MemoryLock&& other) noexcept;
    MemoryLock& operator=(MemoryLock&& other) noexcept;
    MemoryLock(const MemoryLock&) = delete;
    MemoryLock& operator=(const MemoryLock&) = delete;

    // Tries once, without waiting, to lock the memory file `path` for `program` (kWindowProgram
    // or kTrainerProgram). Locked; Held by another holder (also another lock of this process);
    // or Failed, Refused or Unsupported (failure() says why). Only a regular file with one
    // name, owned by the user, is ever used as the lock file, and it is checked before anything
    // is written to it; an empty lock file made for a lock the file system refuses is removed.
    static MemoryLock acquire(const std::string& path, std::string_view program);

    Status status() const { return status_; }
    bool locked() const { return status_ == Status::Locked; }
    // Held: who holds it.
    const LockHolder& holder() const { return holder_; }
    // Failed, Refused, Unsupported: why, in Russian, without the name.
    const std::string& failure() const { return failure_; }
    const std::string& lockPath() const { return lockPath_; }

    // Lets the lock go (removing its file); a lock not held stays as it is.
    void release();

  private:
    int fd_ = -1;
    Status status_ = Status::None;
    LockHolder holder_;
    std::string failure_;
    std::string lockPath_;
};

// The call that takes a lock: the system's flock(); tests replace it to play a file system
// that takes no locks (nullptr puts the system's back).
using FlockCall = int (*)(int fd, int operation);
void setFlockCall(FlockCall call);

// The lock file of the memory file `path`: FILE.lock beside the file FILE's links lead to.
std::string lockPathOf(const std::string& path);

// Who holds the lock of the memory file `path` now, without taking it; nothing when nobody
// does (no lock file, or one whose holder has ended).
std::optional<LockHolder> lockHolderOf(const std::string& path);

// The holder as messages name it: "окно Zelmo (процесс 1234)".
std::string describeHolder(const LockHolder& holder);

// "Файл памяти «PATH» занят: в него пишет окно Zelmo (процесс 1234)."
std::string heldMessage(const std::string& path, const LockHolder& holder);

// "Не удалось занять файл памяти «PATH» (файл блокировки «PATH.lock»): cause" for a Failed lock.
std::string lockFailedMessage(const std::string& path, const MemoryLock& lock);

}  // namespace zelmo::engine
