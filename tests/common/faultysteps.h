// SPDX-License-Identifier: GPL-3.0-or-later
// The system calls of a save with a fault at one of them: the real calls, counted and named;
// at call `stopAt` the call fails with `error` (or, with `crash`, the process ends on the spot,
// as a power cut or a kill would end it). Writes go at most `chunk` bytes at a time so that a
// file can be cut in the middle of its data and every write can be failed in turn. Used by the
// engine's, the trainer's and the window store's tests of failed and stopped saves.
#pragma once

#include <unistd.h>
#include <cerrno>
#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "engine/store/atomicfile.h"

namespace zelmo::faults {

class FaultySteps : public engine::SaveSteps {
  public:
    explicit FaultySteps(int stopAt = 0, int error = EIO, bool crash = false,
                         std::size_t chunk = 50)
        : stopAt_(stopAt), error_(error), crash_(crash), chunk_(chunk) {}
    // The calls made so far, by name, in order.
    const std::vector<std::string>& calls() const { return calls_; }
    // The call that failed ("" while none has).
    std::string failed() const {
        return stopAt_ >= 1 && static_cast<std::size_t>(stopAt_) <= calls_.size()
                   ? calls_[static_cast<std::size_t>(stopAt_ - 1)]
                   : std::string();
    }

    int createNew(const std::string& path, mode_t mode) override {
        return fault("open(O_CREAT|O_EXCL)") ? -1 : SaveSteps::createNew(path, mode);
    }
    int setOwner(int fd, uid_t owner, gid_t group) override {
        return fault("fchown") ? -1 : SaveSteps::setOwner(fd, owner, group);
    }
    int setMode(int fd, mode_t mode) override {
        return fault("fchmod") ? -1 : SaveSteps::setMode(fd, mode);
    }
    ssize_t write(int fd, const void* data, std::size_t size) override {
        return fault("write") ? -1 : SaveSteps::write(fd, data, size < chunk_ ? size : chunk_);
    }
    int sync(int fd) override {
        return fault(fd == directory_ ? "fsync(folder)" : "fsync(file)") ? -1 : SaveSteps::sync(fd);
    }
    int close(int fd) override {
        const bool folder = fd == directory_;
        if (folder) {
            directory_ = -1;
        }
        // The descriptor is gone even when close reports an error.
        if (fault(folder ? "close(folder)" : "close(file)")) {
            SaveSteps::close(fd);
            return -1;
        }
        return SaveSteps::close(fd);
    }
    int rename(const std::string& from, const std::string& to) override {
        return fault("rename") ? -1 : SaveSteps::rename(from, to);
    }
    int renameNoReplace(const std::string& from, const std::string& to) override {
        return fault("renameat2(RENAME_NOREPLACE)") ? -1 : SaveSteps::renameNoReplace(from, to);
    }
    int openDirectory(const std::string& path) override {
        if (fault("open(folder)")) {
            return -1;
        }
        directory_ = SaveSteps::openDirectory(path);
        return directory_;
    }

  private:
    bool fault(const char* name) {
        calls_.emplace_back(name);
        if (static_cast<int>(calls_.size()) != stopAt_) {
            return false;
        }
        if (crash_) {
            ::_exit(0);
        }
        errno = error_;
        return true;
    }
    int stopAt_;
    int error_;
    bool crash_;
    std::size_t chunk_;
    int directory_ = -1;
    std::vector<std::string> calls_;
};

// The errors each call of a save is made to fail with.
inline constexpr int kFaultErrors[] = {EIO, ENOSPC, EDQUOT};

// What a save whose call `call` failed must leave: the new memory in the file (the rename was
// done) or the old one, and the words of its one message ("" for none).
struct AfterFault {
    bool replaced;
    std::string_view message;
};
inline AfterFault afterFault(const std::string& call) {
    static const std::map<std::string, AfterFault> table = {
        {"open(O_CREAT|O_EXCL)", {false, "не создаётся временный файл"}},
        {"fchown", {false, "не сохраняются владелец и группа"}},
        {"fchmod", {false, "не сохраняются права доступа"}},
        {"write", {false, "ошибка записи"}},
        {"fsync(file)", {false, "ошибка сброса на диск"}},
        {"close(file)", {false, "ошибка закрытия"}},
        {"rename", {false, "файл не заменяется новым"}},
        {"open(folder)", {true, "каталог не сброшен на диск"}},
        {"fsync(folder)", {true, "каталог не сброшен на диск"}},
        // Closing the flushed folder tells nothing anyone could act on.
        {"close(folder)", {true, ""}},
    };
    const auto found = table.find(call);
    return found != table.end() ? found->second : AfterFault{false, "<no such call>"};
}

}  // namespace zelmo::faults
