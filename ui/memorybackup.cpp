// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/memorybackup.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace zelmo::ui {

namespace {

// The module's texts (UTF-8).
namespace backupTexts {
constexpr const char* kNotKept = "Не удалось сохранить копию памяти компьютера в файл «";
constexpr const char* kCause = "» (";
constexpr const char* kEnd = "); файл памяти не перезаписан, чтобы прежняя память не пропала.";
}  // namespace backupTexts

std::string failure(const std::string& backup, int error) {
    return std::string(backupTexts::kNotKept) + backup + backupTexts::kCause +
           std::strerror(error) + backupTexts::kEnd;
}

// Copies `from` into the new file `to` and flushes it; errno is left set on failure.
bool copyInto(const std::string& from, const std::string& to) {
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) {
        return false;
    }
    const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (out < 0) {
        const int error = errno;
        ::close(in);
        errno = error;
        return false;
    }
    std::vector<char> buffer(1 << 16);
    bool ok = true;
    for (;;) {
        const ssize_t n = ::read(in, buffer.data(), buffer.size());
        if (n == 0) {
            break;
        }
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            ok = false;
            break;
        }
        for (ssize_t done = 0; done < n && ok;) {
            const ssize_t w =
                ::write(out, buffer.data() + done, static_cast<std::size_t>(n - done));
            if (w < 0 && errno != EINTR) {
                ok = false;
            } else if (w > 0) {
                done += w;
            }
        }
        if (!ok) {
            break;
        }
    }
    ok = ok && ::fsync(out) == 0;
    const int error = errno;
    ::close(out);
    ::close(in);
    errno = error;
    return ok;
}

}  // namespace

std::string backupPathOf(const std::string& path) {
    return path + ".bak";
}

std::string keepBackup(const std::string& path) {
    const std::string backup = backupPathOf(path);
    // The file a symbolic link leads to is the one whose contents are kept.
    std::string source = path;
    if (char* resolved = ::realpath(path.c_str(), nullptr)) {
        source = resolved;
        std::free(resolved);
    }
    struct stat status {};
    if (::stat(source.c_str(), &status) != 0) {
        return errno == ENOENT ? std::string() : failure(backup, errno);
    }
    const std::string fresh = backup + ".new";
    ::unlink(fresh.c_str());  // left over from an interrupted backup, if any
    // A copy rather than a second (hard) link: the backup stays what it is whatever later
    // happens to the memory file.
    if (!copyInto(source, fresh)) {
        const int error = errno;
        ::unlink(fresh.c_str());
        return failure(backup, error);
    }
    if (::rename(fresh.c_str(), backup.c_str()) != 0) {
        const int error = errno;
        ::unlink(fresh.c_str());
        return failure(backup, error);
    }
    return {};
}

}  // namespace zelmo::ui
