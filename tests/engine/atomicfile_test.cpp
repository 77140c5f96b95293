// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/store/atomicfile.h"
#include "engine/store/memorybackup.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace zelmo::engine::test {
namespace {

const std::vector<std::uint8_t> kNew = {'n', 'e', 'w'};

// Runs `check` in a child process as an ordinary user (nobody, 65534, when the tests run as
// root, since root passes every permission test) and returns its exit code.
int asOrdinaryUser(const std::function<int()>& check) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            ::_exit(100);
        }
        ::_exit(check());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 101;
}

// The folder of the save that the exit hook below makes.
char exitFolder[256] = {};

// Saves once more from inside exit(), as the window does when Qt ends it: fails with 3 unless
// the save is whole.
void saveAgainAtExit() {
    const std::string target = std::string(exitFolder) + "/at-exit.zelmo";
    const bool saved = replaceFile(target, kNew).empty() && readText(target) == "new";
    std::filesystem::remove_all(exitFolder);
    if (!saved) {
        ::_exit(3);
    }
}

// In a process of its own, so that the first save of the process comes after the hook.
TEST(AtomicFileDeathTest, ASaveFromAnExitHookOutlivesTheStaticsOfTheFirstSave) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto saveThenExit = [] {
        const std::string pattern = ::testing::TempDir() + "zelmo-exit-XXXXXX";
        pattern.copy(exitFolder, sizeof exitFolder - 1);
        if (::mkdtemp(exitFolder) == nullptr || std::atexit(&saveAgainAtExit) != 0 ||
            !replaceFile(std::string(exitFolder) + "/first.zelmo", kNew).empty()) {
            ::_exit(2);
        }
        std::exit(0);
    };
    EXPECT_EXIT(saveThenExit(), ::testing::ExitedWithCode(0), "");
}

TEST(AtomicFileTest, AFileTheUserMayNotWriteIsNotReplaced) {
    TempDir folder;
    const std::string path = folder / "memory.zelmo";
    writeText(path, "old");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    // Whoever runs the tests: for root the file's write bits decide.
    EXPECT_NE(replaceFile(path, kNew), "");
    EXPECT_EQ(readText(path), "old");

    // An ordinary user in a folder it may write: the read-only file stays, a writable one is
    // replaced.
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(folder.path().c_str(), 65534, 65534), 0);
        ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
    }
    const int code = asOrdinaryUser([&path] {
        if (replaceFile(path, kNew).empty() || readText(path) != "old") {
            return 1;
        }
        if (::chmod(path.c_str(), 0644) != 0 || !replaceFile(path, kNew).empty()) {
            return 2;
        }
        return 0;
    });
    EXPECT_EQ(code, 0) << "1: a read-only file was replaced, 2: a writable one was not";
    EXPECT_EQ(readText(path), "new");
}

TEST(AtomicFileTest, OnlyARegularFileIsReplaced) {
    TempDir folder;
    const std::string pipe = folder / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0666), 0);
    const std::string link = folder / "link";
    ASSERT_EQ(::symlink("pipe", link.c_str()), 0);
    std::vector<std::string> others = {pipe, link, folder.path()};
    // Only root may make a device node; this one is a private twin of /dev/null.
    const std::string device = folder / "null";
    if (::geteuid() == 0 && ::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) {
        others.push_back(device);
    }
    for (const std::string& path : others) {
        EXPECT_NE(replaceFile(path, kNew).find("не обычный файл"), std::string::npos) << path;
    }
    struct stat info {};
    EXPECT_TRUE(::stat(pipe.c_str(), &info) == 0 && S_ISFIFO(info.st_mode));
    EXPECT_TRUE(::lstat(link.c_str(), &info) == 0 && S_ISLNK(info.st_mode));
    if (others.size() == 4) {
        EXPECT_TRUE(::stat(device.c_str(), &info) == 0 && S_ISCHR(info.st_mode));
    }
    EXPECT_EQ(folder.names().size(), others.size() - 1) << "a temporary file was left";
}

TEST(AtomicFileTest, ALinkIsFollowedToItsFileAndNeverReplaced) {
    TempDir folder;
    // A link (and a link to it) whose file does not exist yet: the file is created.
    const std::string link = folder / "link.zelmo";
    const std::string second = folder / "second.zelmo";
    ASSERT_EQ(::symlink("memory.zelmo", link.c_str()), 0);
    ASSERT_EQ(::symlink(link.c_str(), second.c_str()), 0);
    EXPECT_EQ(replaceFile(second, kNew), "");
    EXPECT_EQ(readText(folder / "memory.zelmo"), "new");
    // A link into a folder that does not exist: an error, and nothing is created.
    const std::string dangling = folder / "dangling.zelmo";
    ASSERT_EQ(::symlink("gone/memory.zelmo", dangling.c_str()), 0);
    EXPECT_NE(replaceFile(dangling, kNew), "");
    for (const std::string& path : {link, second, dangling}) {
        struct stat info {};
        EXPECT_TRUE(::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) << path;
    }
    EXPECT_EQ(folder.names(), (std::set<std::string>{"dangling.zelmo", "link.zelmo", "memory.zelmo",
                                                     "second.zelmo"}));
}

TEST(AtomicFileTest, TemporariesLeftByEndedProcessesAreRemoved) {
    const pid_t ended = ::fork();
    if (ended == 0) {
        ::_exit(0);
    }
    ::waitpid(ended, nullptr, 0);
    const std::string dead = std::to_string(ended);
    const std::string alive = std::to_string(::getppid());
    TempDir folder;
    const std::set<std::string> kept = {
        ".memory.zelmo." + alive + ".0.tmp",  // a save in progress in another process
        ".other.zelmo." + dead + ".0.tmp",    // another file's
        ".memory.zelmo." + dead + ".tmp",     // not a name a save makes
        ".memory.zelmo.x" + dead + ".0.tmp",
    };
    for (const std::string& name : kept) {
        writeText(folder / name, "");
    }
    writeText(folder / (".memory.zelmo." + dead + ".0.tmp"), "");
    writeText(folder / (".memory.zelmo." + dead + ".17.tmp"), "");
    // They go before the new temporary is made: a disk that a dead process's temporary filled
    // gets its room back for this save.
    struct Watching : SaveSteps {
        std::string stale;
        bool staleAtCreate = false;
        int createNew(const std::string& path, mode_t mode) override {
            staleAtCreate = staleAtCreate || ::access(stale.c_str(), F_OK) == 0;
            return SaveSteps::createNew(path, mode);
        }
    } watching;
    watching.stale = folder / (".memory.zelmo." + dead + ".0.tmp");
    ASSERT_EQ(replaceFile(folder / "memory.zelmo", kNew.data(), kNew.size(), watching), "");
    EXPECT_FALSE(watching.staleAtCreate);
    std::set<std::string> expected = kept;
    expected.insert("memory.zelmo");
    EXPECT_EQ(folder.names(), expected);
    // Once per file and process: a later save does not read the folder again.
    writeText(folder / (".memory.zelmo." + dead + ".1.tmp"), "");
    ASSERT_EQ(replaceFile(folder / "memory.zelmo", kNew), "");
    EXPECT_EQ(folder.names().count(".memory.zelmo." + dead + ".1.tmp"), 1U);
}

TEST(AtomicFileTest, AReplacedFileKeepsItsOwnerGroupAndMode) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only the superuser saves over another user's file";
    }
    TempDir folder;
    const std::string path = folder / "memory.zelmo";
    writeText(path, "old");
    ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_EQ(replaceFile(path, kNew), "");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 65534U);
    EXPECT_EQ(info.st_gid, 65534U);
    EXPECT_EQ(info.st_mode & 07777, 0640U);
    EXPECT_EQ(readText(path), "new");
}

// A POSIX ACL that gives another user read and write (mode 640, mask rw, so the group bits
// show rw) and a user attribute stay with the file: a save neither drops the named user nor
// gives the owning group write.
TEST(AtomicFileTest, AReplacedFileKeepsItsAclAndExtendedAttributes) {
    TempDir folder;
    const std::string path = folder / "memory.zelmo";
    writeText(path, "old");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    // The ACL as the kernel keeps it: version 2, then (tag, permissions, id) in tag order:
    // owner rw, user 4242 rw, owning group r, mask rw, others nothing.
    const auto entry = [](std::uint16_t tag, std::uint16_t perm, std::uint32_t id) {
        std::vector<char> bytes(8);
        std::memcpy(bytes.data(), &tag, 2);
        std::memcpy(bytes.data() + 2, &perm, 2);
        std::memcpy(bytes.data() + 4, &id, 4);
        return bytes;
    };
    std::vector<char> acl(4);
    const std::uint32_t version = 2;
    std::memcpy(acl.data(), &version, 4);
    for (const auto& e :
         {entry(0x01, 6, UINT32_MAX), entry(0x02, 6, 4242), entry(0x04, 4, UINT32_MAX),
          entry(0x10, 6, UINT32_MAX), entry(0x20, 0, UINT32_MAX)}) {
        acl.insert(acl.end(), e.begin(), e.end());
    }
    if (::setxattr(path.c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0) != 0 ||
        ::setxattr(path.c_str(), "user.zelmo", "kept", 4, 0) != 0) {
        GTEST_SKIP() << "this file system keeps no ACLs or user attributes: "
                     << std::strerror(errno);
    }
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    ASSERT_EQ(replaceFile(path, kNew), "");
    struct stat after {};
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_NE(after.st_ino, before.st_ino) << "the file was replaced";
    EXPECT_EQ(after.st_mode & 07777, before.st_mode & 07777);
    std::vector<char> kept(256);
    const ssize_t size =
        ::getxattr(path.c_str(), "system.posix_acl_access", kept.data(), kept.size());
    ASSERT_GT(size, 0) << "the ACL is gone";
    kept.resize(static_cast<std::size_t>(size));
    EXPECT_EQ(kept, acl);
    char value[8] = {};
    EXPECT_EQ(::getxattr(path.c_str(), "user.zelmo", value, sizeof value), 4);
    EXPECT_EQ(std::string(value), "kept");
    EXPECT_EQ(readText(path), "new");
}

TEST(AtomicFileTest, AFileWithSeveralHardLinksIsNotSplit) {
    TempDir folder;
    const std::string path = folder / "memory.zelmo";
    const std::string other = folder / "other.zelmo";
    writeText(path, "old");
    ASSERT_EQ(::link(path.c_str(), other.c_str()), 0);
    EXPECT_NE(replaceFile(path, kNew).find("жёстких ссылок (2)"), std::string::npos);
    EXPECT_NE(checkReplaceable(path), "");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_nlink, 2U) << "the names still share one file";
    EXPECT_EQ(readText(other), "old");
    EXPECT_EQ(folder.names(), (std::set<std::string>{"memory.zelmo", "other.zelmo"}));
}

TEST(AtomicFileTest, TheBackupNameIsNeverFollowedNorReplacedUnlessAFile) {
    TempDir folder;
    const std::string path = folder / "memory.zelmo";
    const std::string backup = backupPathOf(path);
    const std::string elsewhere = folder / "elsewhere";
    writeText(path, "memory");
    writeText(elsewhere, "someone's");
    // A link (also one to a missing file), a folder, a pipe: the backup, and so the wipe,
    // stops; what is there stays.
    const std::vector<std::function<int()>> obstacles = {
        [&] { return ::symlink(elsewhere.c_str(), backup.c_str()); },
        [&] { return ::symlink((folder / "missing").c_str(), backup.c_str()); },
        [&] { return ::mkdir(backup.c_str(), 0755); },
        [&] { return ::mkfifo(backup.c_str(), 0644); },
    };
    for (std::size_t i = 0; i < obstacles.size(); ++i) {
        std::filesystem::remove(backup);
        ASSERT_EQ(obstacles[i](), 0) << i;
        struct stat before {};
        ASSERT_EQ(::lstat(backup.c_str(), &before), 0);
        EXPECT_NE(keepBackup(path).find("не обычный файл"), std::string::npos) << i;
        struct stat after {};
        ASSERT_EQ(::lstat(backup.c_str(), &after), 0);
        EXPECT_EQ(after.st_ino, before.st_ino) << i;
        EXPECT_EQ(readText(elsewhere), "someone's") << i;
        EXPECT_FALSE(std::filesystem::exists(folder / "missing")) << i;
    }
    // A file there is the previous backup: replaced.
    std::filesystem::remove(backup);
    writeText(backup, "previous");
    EXPECT_EQ(keepBackup(path), "");
    EXPECT_EQ(readText(backup), "memory");
}

TEST(AtomicFileTest, AFileChangedSinceItWasSeenGoesToANewNameBesideIt) {
    TempDir folder;
    const std::string path = folder / "memory.zelmo";
    writeText(path, "mine");
    const FileIdentity seen = identityOf(path);
    // Another program saves its own memory in between (a new file renamed over the name).
    writeText(folder / "theirs", "theirs");
    ASSERT_EQ(std::rename((folder / "theirs").c_str(), path.c_str()), 0);
    // The first new name is taken by a link: never followed, never replaced.
    ASSERT_EQ(::symlink("elsewhere", (folder / "memory.conflict-1.zelmo").c_str()), 0);
    ReplaceOptions options;
    options.expected = &seen;
    const ReplaceResult result = replaceFile(path, kNew.data(), kNew.size(), options);
    EXPECT_EQ(result.failure, "");
    EXPECT_TRUE(result.diverted);
    EXPECT_EQ(result.savedTo, folder / "memory.conflict-2.zelmo");
    EXPECT_EQ(readText(path), "theirs");
    EXPECT_EQ(readText(result.savedTo), "new");
    EXPECT_EQ(result.identity, identityOf(result.savedTo));
    EXPECT_FALSE(std::filesystem::exists(folder / "elsewhere"));

    // The file as this process wrote it is replaced as usual; so is one that is gone.
    const FileIdentity written = result.identity;
    options.expected = &written;
    EXPECT_FALSE(replaceFile(result.savedTo, kNew.data(), kNew.size(), options).diverted);
    std::filesystem::remove(path);
    options.expected = &seen;
    const ReplaceResult again = replaceFile(path, kNew.data(), kNew.size(), options);
    EXPECT_FALSE(again.diverted);
    EXPECT_EQ(readText(path), "new");
    EXPECT_EQ(conflictPathOf("/a/memo", 3), "/a/memo.conflict-3.zelmo");
}

}  // namespace
}  // namespace zelmo::engine::test
