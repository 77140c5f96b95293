// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/store/learnerfile.h"

#include "engine/game/lesson.h"
#include "engine/store/memoryfile.h"

#include <memory>
#include <utility>

namespace zelmo::engine {

LearnerFile::LearnerFile(std::string path, std::string_view program)
    : writer_(std::move(path), program) {}

LearnerFile::Opened LearnerFile::open(LearnerPlayer& learner, std::string& message) {
    const std::string path = writer_.path();
    const MemoryLock& lock = writer_.lock();
    if (lock.status() == MemoryLock::Status::Held) {
        message = heldMessage(path, lock.holder());
        return Opened::Held;
    }
    if (lock.status() == MemoryLock::Status::Unsupported) {
        message = lockFailedMessage(path, lock);  // told, and the learner goes on unlocked
    } else if (!lock.locked()) {
        // A folder that is missing or takes no file is told as such, not as a lock.
        const std::string failure = checkMemorySavePath(path);
        message = failure.empty() ? lockFailedMessage(path, lock) : failure;
        return Opened::Failed;
    }
    auto document = std::make_unique<MemoryDocument>();
    const MemoryLoadResult loaded = writer_.load(*document, MemorySide::Cross);
    if (loaded.status == MemoryFileStatus::Missing) {
        const std::string failure = checkMemorySavePath(path);
        if (!failure.empty()) {
            message = failure;
            return Opened::Failed;
        }
        return Opened::Ok;
    }
    if (loaded.status != MemoryFileStatus::Ok) {
        message = loaded.message;
        return Opened::Failed;
    }
    learner.restoreMemory(document->positions.memory, document->positions.entryCount);
    learner.grades = document->gradesInForce();
    history_ = std::move(document->history);
    return Opened::Ok;
}

void LearnerFile::noteGame(const LearnerPlayer& learner, const FinishedGame& game) {
    // A history at its largest count stays as it is; the learning goes on.
    if (history_.games() >= LearningHistory::kMaxGames) {
        return;
    }
    FinishedGame own = game;
    own.entryCount = learner.entryCount();
    own.grades = learner.grades;
    history_.add(historyGame(own), LearningHistory::kWhileRunning);
}

MemoryWriter::Outcome LearnerFile::save(const LearnerPlayer& learner) {
    return writer_.save(encodeMemory(DocumentView{learner.memory(), learner.entryCount(), history_,
                                                  learner.grades, MemorySide::Cross}));
}

}  // namespace zelmo::engine
