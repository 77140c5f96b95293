// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/memoryfile.h"
#include "engine/filetexts.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

namespace zelmo::engine {

namespace {

std::string inFile(std::string_view lead, const std::string& path, const std::string& reason) {
    return std::string(lead) + path + std::string(fileTexts::kQuoteEnd) + reason;
}

std::string readError(int error) {
    return fileTexts::format(fileTexts::kReadError, std::strerror(error));
}

}  // namespace

MemoryLoadResult loadMemoryFile(const std::string& path, MemorySnapshot& out) {
    // Non-blocking, so that a named pipe given by mistake is refused instead of waited on.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int error = errno;
        if (error == ENOENT) {
            return {MemoryFileStatus::Missing, std::string(fileTexts::kFileMissing) + path +
                                                   std::string(fileTexts::kFileMissingEnd) + "."};
        }
        return {MemoryFileStatus::IoError, inFile(fileTexts::kFileNotRead, path, readError(error))};
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return {MemoryFileStatus::IoError,
                inFile(fileTexts::kFileNotRead, path, std::string(fileTexts::kNotRegularRead))};
    }
    // One byte more than the largest file of this version is enough to tell any file apart.
    std::vector<std::uint8_t> bytes(memoryFormat::maxSize() + 1);
    std::size_t size = 0;
    while (size < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + size, bytes.size() - size);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            return {MemoryFileStatus::IoError,
                    inFile(fileTexts::kFileNotRead, path, readError(error))};
        }
        if (n == 0) {
            break;
        }
        size += static_cast<std::size_t>(n);
    }
    ::close(fd);
    MemoryLoadResult result = decodeMemoryReason(bytes.data(), size, out);
    if (result.status != MemoryFileStatus::Ok) {
        result.message = inFile(fileTexts::kFileNotRead, path, result.message);
    }
    return result;
}

std::string saveMemoryFile(const std::string& path, const std::vector<std::uint8_t>& encoded,
                           SaveSteps& steps) {
    const std::string failure = replaceFile(path, encoded.data(), encoded.size(), steps);
    return failure.empty() ? failure : inFile(fileTexts::kFileNotSaved, path, failure);
}

std::string saveMemoryFile(const std::string& path, const std::vector<std::uint8_t>& encoded) {
    SaveSteps steps;
    return saveMemoryFile(path, encoded, steps);
}

std::string checkMemorySavePath(const std::string& path) {
    const std::string failure = checkReplaceable(path);
    return failure.empty() ? failure : inFile(fileTexts::kFileNotSaved, path, failure);
}

}  // namespace zelmo::engine
