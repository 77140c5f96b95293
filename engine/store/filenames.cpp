// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/store/filenames.h"

#include <dirent.h>
#include <unistd.h>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <mutex>
#include <set>
#include <string_view>
#include <system_error>

namespace zelmo::engine::filenames {

namespace {

std::string temporaryPrefix(const std::string& target) {
    return "." + baseOf(target) + ".";
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

void removeStaleTemporaries(const std::string& target) {
    DIR* dir = ::opendir(directoryOf(target).c_str());
    if (dir == nullptr) {
        return;
    }
    const std::string prefix = temporaryPrefix(target);
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

std::string temporaryOf(const std::string& target, int attempt) {
    return directoryOf(target) + "/" + temporaryPrefix(target) + std::to_string(::getpid()) + "." +
           std::to_string(attempt) + ".tmp";
}

void removeStaleTemporariesOnce(const std::string& target) {
    // Never destroyed: a save may still run from an exit hook after the statics have gone.
    static std::mutex mutex;
    static auto& cleaned = *new std::set<std::string>;
    {
        const std::lock_guard lock(mutex);
        if (!cleaned.insert(target).second) {
            return;
        }
    }
    removeStaleTemporaries(target);
}

}  // namespace zelmo::engine::filenames
