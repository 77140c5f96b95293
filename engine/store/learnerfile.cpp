// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/store/learnerfile.h"

#include "engine/game/lesson.h"
#include "engine/store/memoryfile.h"

#include <memory>
#include <utility>

namespace zelmo::engine {

LearnerFile::LearnerFile(std::string path, std::string_view program)
    : writer_(std::move(path), program) {}

MemoryWriter::Taken LearnerFile::open(LearnerPlayer& learner) {
    using Kind = MemoryWriter::Taken::Kind;
    MemoryWriter::Taken taken = writer_.take();
    if (taken.kind != Kind::Ok) {
        return taken;
    }
    auto document = std::make_unique<MemoryDocument>();
    const MemoryLoadResult loaded = writer_.load(*document, MemorySide::Cross);
    if (loaded.status == MemoryFileStatus::Missing) {
        const std::string failure = checkMemorySavePath(writer_.path());
        return failure.empty() ? taken : MemoryWriter::Taken{Kind::Failed, failure};
    }
    if (loaded.status != MemoryFileStatus::Ok) {
        return {Kind::Failed, loaded.message};
    }
    learner.restoreMemory(document->positions.memory, document->positions.entryCount);
    learner.grades = document->gradesInForce();
    history_ = std::move(document->history);
    return taken;
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
