// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/store/memorybackup.h"

#include "engine/store/atomicfile.h"
#include "engine/store/filetexts.h"
#include "engine/store/systemerrors.h"

#include <cerrno>
#include <cstdint>
#include <string>
#include <vector>

namespace zelmo::engine {

namespace {

std::string failure(const std::string& backup, const std::string& reason) {
    return std::string(fileTexts::kBackupNotKept) + backup + fileTexts::kBackupCause + reason +
           fileTexts::kBackupEnd;
}

// The largest file kept as a backup: far beyond any memory file, small enough to copy in memory.
constexpr std::size_t kMaxBackup = std::size_t{16} << 20;

}  // namespace

std::string backupPathOf(const std::string& path) {
    return path + ".bak";
}

std::string keepBackup(const std::string& path) {
    const std::string backup = backupPathOf(path);
    std::vector<std::uint8_t> bytes;
    if (const int error = readRegularFile(path, kMaxBackup, bytes); error != 0) {
        using namespace fileTexts;
        // A device or a named pipe is never replaced by a save, so there is nothing to keep.
        if (error == ENOENT || error == ENODEV) {
            return {};
        }
        return failure(backup, error == EFBIG ? format(kTooLarge, std::to_string(kMaxBackup))
                                              : format(kReadError, systemErrorText(error)));
    }
    // A copy rather than a second (hard) link: the backup stays what it is whatever later
    // happens to the memory file. The name is ours, so nothing found there is followed: a
    // link, a folder or a pipe stops the backup and is left as it is.
    ReplaceOptions options;
    options.followLinks = false;
    const ReplaceResult kept = replaceFile(backup, bytes.data(), bytes.size(), options);
    if (!kept.failure.empty()) {
        return failure(backup, kept.failure);
    }
    return {};
}

}  // namespace zelmo::engine
