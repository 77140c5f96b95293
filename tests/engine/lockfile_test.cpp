// SPDX-License-Identifier: GPL-3.0-or-later
// The lock of a memory file: one holder at a time, named to whoever is refused, taken over
// from a holder that has ended, never through a link.
#include "engine/store/memorylock.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <filesystem>
#include <string>

namespace zelmo::engine::test {
namespace {

TEST(MemoryLockTest, OneHolderAtATimeNamedToTheOthers) {
    TempDir folder;
    const std::string path = folder / "memory.zelmo";
    MemoryLock first = MemoryLock::acquire(path, kWindowProgram);
    ASSERT_TRUE(first.locked()) << first.failure();
    EXPECT_EQ(first.lockPath(), path + ".lock");
    EXPECT_EQ(readText(path + ".lock"), "zelmo " + std::to_string(::getpid()) + "\n");

    // Another holder, in this process or another, is refused and told who holds the file.
    const MemoryLock second = MemoryLock::acquire(path, kTrainerProgram);
    EXPECT_EQ(second.status(), MemoryLock::Status::Held);
    EXPECT_EQ(second.holder().program, "zelmo");
    EXPECT_EQ(second.holder().pid, ::getpid());
    EXPECT_EQ(heldMessage(path, second.holder()), "Файл памяти «" + path +
                                                      "» занят: в него пишет окно Zelmo (процесс " +
                                                      std::to_string(::getpid()) + ").");
    const auto holder = lockHolderOf(path);
    ASSERT_TRUE(holder.has_value());
    EXPECT_EQ(holder->pid, ::getpid());

    // Every name of the file finds the same lock.
    const std::string link = folder / "link.zelmo";
    ASSERT_EQ(::symlink("memory.zelmo", link.c_str()), 0);
    EXPECT_EQ(MemoryLock::acquire(link, kTrainerProgram).status(), MemoryLock::Status::Held);

    first.release();
    EXPECT_FALSE(std::filesystem::exists(path + ".lock")) << "the holder removes its lock file";
    EXPECT_FALSE(lockHolderOf(path).has_value());
    EXPECT_TRUE(MemoryLock::acquire(path, kTrainerProgram).locked());
}

TEST(MemoryLockTest, ALockOfAProcessThatEndedIsTakenOver) {
    TempDir folder;
    const std::string path = folder / "memory.zelmo";
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const MemoryLock lock = MemoryLock::acquire(path, kTrainerProgram);
        const char byte = lock.locked() ? '1' : '0';
        static_cast<void>(::write(ready[1], &byte, 1));
        ::pause();  // killed here, without letting go
        ::_exit(0);
    }
    ::close(ready[1]);
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ::close(ready[0]);
    ASSERT_EQ(byte, '1');
    const MemoryLock refused = MemoryLock::acquire(path, kWindowProgram);
    EXPECT_EQ(refused.status(), MemoryLock::Status::Held);
    EXPECT_EQ(refused.holder().pid, child);
    EXPECT_EQ(describeHolder(refused.holder()),
              "тренировка zelmo-train (процесс " + std::to_string(child) + ")");

    ASSERT_EQ(::kill(child, SIGKILL), 0);
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);
    EXPECT_TRUE(std::filesystem::exists(path + ".lock")) << "a killed holder leaves its file";
    EXPECT_FALSE(lockHolderOf(path).has_value());
    const MemoryLock taken = MemoryLock::acquire(path, kWindowProgram);
    EXPECT_TRUE(taken.locked()) << taken.failure();
    EXPECT_EQ(readText(path + ".lock"), "zelmo " + std::to_string(::getpid()) + "\n");
}

TEST(MemoryLockTest, NothingButARegularFileIsUsedAsTheLock) {
    TempDir folder;
    const std::string path = folder / "memory.zelmo";
    const std::string lockPath = path + ".lock";
    const std::string elsewhere = folder / "elsewhere";
    writeText(elsewhere, "someone's");
    ASSERT_EQ(::symlink(elsewhere.c_str(), lockPath.c_str()), 0);
    const MemoryLock viaLink = MemoryLock::acquire(path, kWindowProgram);
    EXPECT_EQ(viaLink.status(), MemoryLock::Status::Refused);
    EXPECT_NE(lockFailedMessage(path, viaLink).find("не обычный файл"), std::string::npos)
        << lockFailedMessage(path, viaLink);
    EXPECT_EQ(readText(elsewhere), "someone's");
    ASSERT_EQ(::unlink(lockPath.c_str()), 0);
    ASSERT_EQ(::mkfifo(lockPath.c_str(), 0644), 0);
    EXPECT_EQ(MemoryLock::acquire(path, kWindowProgram).status(), MemoryLock::Status::Refused);

    // A hard link planted at FILE.lock is another name of someone's file: never truncated nor
    // written, for the window and the trainer alike.
    ASSERT_EQ(::unlink(lockPath.c_str()), 0);
    ASSERT_EQ(::link(elsewhere.c_str(), lockPath.c_str()), 0);
    for (const std::string_view program : {kWindowProgram, kTrainerProgram}) {
        const MemoryLock linked = MemoryLock::acquire(path, program);
        EXPECT_EQ(linked.status(), MemoryLock::Status::Refused);
        EXPECT_NE(linked.failure().find("жёсткими ссылками"), std::string::npos)
            << linked.failure();
        EXPECT_EQ(readText(elsewhere), "someone's");
    }
    // Another user's lock file is refused too (the superuser's test gives one away).
    ASSERT_EQ(::unlink(lockPath.c_str()), 0);
    if (::geteuid() == 0) {
        writeText(lockPath, "");
        ASSERT_EQ(::chown(lockPath.c_str(), 65534, 65534), 0);
        EXPECT_EQ(MemoryLock::acquire(path, kWindowProgram).status(), MemoryLock::Status::Refused);
    }
}

// Where the file system takes no locks (some network and FUSE ones), the lock says so in words,
// leaves no empty lock file behind, and the trainer goes on without it as the window does.
TEST(MemoryLockTest, AFileSystemWithoutLocksIsToldInWords) {
    TempDir folder;
    const std::string path = folder / "memory.zelmo";
    setFlockCall([](int, int) {
        errno = EOPNOTSUPP;
        return -1;
    });
    const MemoryLock lock = MemoryLock::acquire(path, kTrainerProgram);
    setFlockCall(nullptr);
    EXPECT_EQ(lock.status(), MemoryLock::Status::Unsupported);
    EXPECT_NE(lock.failure().find("не поддерживает блокировки (операция не поддерживается)"),
              std::string::npos)
        << lock.failure();
    EXPECT_NE(::access((path + ".lock").c_str(), F_OK), 0) << "an empty lock file is left";
}

}  // namespace
}  // namespace zelmo::engine::test
