// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/store/memoryfile.h"
#include "engine/store/filetexts.h"
#include "engine/store/systemerrors.h"

#include <cerrno>

namespace zelmo::engine {

namespace {

std::string inFile(std::string_view lead, const std::string& path, const std::string& reason) {
    return std::string(lead) + path + std::string(fileTexts::kQuoteEnd) + reason;
}

std::string readError(int error) {
    return fileTexts::format(fileTexts::kReadError, systemErrorText(error));
}

}  // namespace

MemoryLoadResult loadMemoryFile(const std::string& path, MemoryDocument& out,
                                std::optional<MemorySide> side) {
    // One byte more than the largest file of this version is enough to tell any file apart,
    // so a longer one is decoded from its first bytes and refused there.
    const std::string_view notRead =
        side == MemorySide::Cross ? fileTexts::kLearnerNotRead : fileTexts::kFileNotRead;
    std::vector<std::uint8_t> bytes;
    const int error = readRegularFile(path, kMaxMemoryFileSize + 1, bytes);
    if (error == ENOENT) {
        return {MemoryFileStatus::Missing, std::string(fileTexts::kFileMissing) + path +
                                               std::string(fileTexts::kFileMissingEnd) + "."};
    }
    if (error == ENODEV) {
        return {MemoryFileStatus::IoError,
                inFile(notRead, path, std::string(fileTexts::kNotRegularRead))};
    }
    if (error != 0 && error != EFBIG) {
        return {MemoryFileStatus::IoError, inFile(notRead, path, readError(error))};
    }
    MemoryLoadResult result = decodeMemory(bytes.data(), bytes.size(), out, side);
    if (result.status != MemoryFileStatus::Ok) {
        result.message = inFile(notRead, path, result.message);
    }
    return result;
}

std::string saveMemoryFile(const std::string& path, const std::vector<std::uint8_t>& encoded,
                           SaveSteps& steps) {
    const std::string failure = replaceFile(path, encoded.data(), encoded.size(), steps);
    return failure.empty() ? failure : notSavedMessage(path, failure);
}

std::string saveMemoryFile(const std::string& path, const std::vector<std::uint8_t>& encoded) {
    return saveMemoryFile(path, encoded, processSaveSteps());
}

std::string notSavedMessage(const std::string& path, const std::string& reason) {
    return inFile(fileTexts::kFileNotSaved, path, reason);
}

std::string checkMemorySavePath(const std::string& path) {
    const std::string failure = checkReplaceable(path);
    return failure.empty() ? failure : notSavedMessage(path, failure);
}

}  // namespace zelmo::engine
