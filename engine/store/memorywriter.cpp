// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/store/memorywriter.h"
#include "engine/store/filetexts.h"
#include "engine/store/memoryfile.h"

#include <utility>

namespace zelmo::engine {

MemoryWriter::MemoryWriter(std::string path, std::string_view program)
    : path_(std::move(path)), program_(program), seen_(identityOf(path_)) {}

const MemoryLock& MemoryWriter::lock() {
    if (!tried_) {
        tried_ = true;
        lock_ = MemoryLock::acquire(path_, program_);
        // Whatever the last holder saved before it let go is the file this writer starts from.
        if (lock_.locked()) {
            noteCurrent();
        }
    }
    return lock_;
}

MemoryWriter::Taken MemoryWriter::take() {
    const MemoryLock& taken = lock();
    if (taken.status() == MemoryLock::Status::Held) {
        return {Taken::Kind::Held, heldMessage(path_, taken.holder())};
    }
    if (taken.status() == MemoryLock::Status::Unsupported) {
        return {Taken::Kind::Ok, lockFailedMessage(path_, taken)};
    }
    if (!taken.locked()) {
        // A folder that is missing or takes no file is told as such, not as a lock.
        const std::string failure = checkMemorySavePath(path_);
        return {Taken::Kind::Failed, failure.empty() ? lockFailedMessage(path_, taken) : failure};
    }
    return {};
}

MemoryLoadResult MemoryWriter::load(MemoryDocument& out, std::optional<MemorySide> side) {
    // Noted before reading: a file replaced in between is then taken as changed (its memory
    // is kept apart), never as the file that was read.
    noteCurrent();
    return loadMemoryFile(path_, out, side);
}

void MemoryWriter::noteCurrent() {
    seen_ = identityOf(path_);
}

MemoryWriter::Outcome MemoryWriter::save(const std::vector<std::uint8_t>& encoded) {
    ReplaceOptions options;
    options.expected = &seen_;
    const ReplaceResult result = replaceFile(path_, encoded.data(), encoded.size(), options);
    Outcome outcome;
    if (result.diverted && result.savedTo.empty()) {
        outcome.failure =
            fileTexts::format(fileTexts::kChangedUnderNotSaved, path_, result.failure);
        return outcome;
    }
    if (!result.savedTo.empty()) {
        seen_ = result.identity;
        if (result.diverted) {
            outcome.divertedTo = result.savedTo;
            outcome.notice = fileTexts::format(fileTexts::kChangedUnder, path_, result.savedTo);
            path_ = result.savedTo;
            // The saves after it go to the new file: its lock is held from now on, so that no
            // other window or trainer opens it meanwhile, and the old file's is let go.
            if (tried_ && lock_.locked()) {
                MemoryLock moved = MemoryLock::acquire(path_, program_);
                if (moved.locked()) {
                    lock_ = std::move(moved);
                }
            }
        }
    }
    if (!result.failure.empty()) {
        // Only the folder's flush can fail once the file is in place.
        outcome.failure = result.savedTo.empty()
                              ? notSavedMessage(path_, result.failure)
                              : std::string(fileTexts::kFileSavedNotFlushed) + path_ +
                                    std::string(fileTexts::kQuoteEnd) + result.failure;
    }
    return outcome;
}

}  // namespace zelmo::engine
