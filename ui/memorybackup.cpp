// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/memorybackup.h"

#include "engine/atomicfile.h"
#include "engine/filetexts.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace zelmo::ui {

namespace {

// The module's texts (UTF-8).
namespace backupTexts {
constexpr const char* kNotKept = "Не удалось сохранить копию памяти компьютера в файл «";
constexpr const char* kCause = "»: ";
constexpr const char* kEnd = " Файл памяти не перезаписан, чтобы прежняя память не пропала.";
}  // namespace backupTexts

std::string failure(const std::string& backup, const std::string& reason) {
    return std::string(backupTexts::kNotKept) + backup + backupTexts::kCause + reason +
           backupTexts::kEnd;
}

// The largest file kept as a backup: far beyond any memory file, small enough to copy in memory.
constexpr std::size_t kMaxBackup = std::size_t{16} << 20;

// Reads the whole regular file `path` (a symbolic link leads to the file it names). Returns 0,
// or the errno of the failure: ENOENT when there is no file, ENODEV when it is no regular file
// (a device or a named pipe, which is never replaced, so there is nothing to keep), EFBIG when
// it is larger than kMaxBackup.
int readWhole(const std::string& path, std::vector<std::uint8_t>& bytes) {
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
    std::uint8_t buffer[1 << 16];
    int error = 0;
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0) {
            break;
        }
        if (n > 0 && bytes.size() + static_cast<std::size_t>(n) > kMaxBackup) {
            error = EFBIG;
            break;
        }
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = errno;
            break;
        }
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    ::close(fd);
    return error;
}

}  // namespace

std::string backupPathOf(const std::string& path) {
    return path + ".bak";
}

std::string keepBackup(const std::string& path) {
    const std::string backup = backupPathOf(path);
    std::vector<std::uint8_t> bytes;
    if (const int error = readWhole(path, bytes); error != 0) {
        using namespace engine::fileTexts;
        if (error == ENOENT || error == ENODEV) {
            return {};
        }
        return failure(backup, error == EFBIG ? format(kTooLarge, std::to_string(kMaxBackup))
                                              : format(kReadError, std::strerror(error)));
    }
    // A copy rather than a second (hard) link: the backup stays what it is whatever later
    // happens to the memory file.
    if (const std::string why = engine::replaceFile(backup, bytes); !why.empty()) {
        return failure(backup, why);
    }
    return {};
}

}  // namespace zelmo::ui
