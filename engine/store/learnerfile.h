// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/game/gameflow.h"
#include "engine/game/history.h"
#include "engine/game/learner.h"
#include "engine/store/memorywriter.h"

#include <string>
#include <string_view>

namespace zelmo::engine {

// A learning player for "X" with the memory file it learns in ("learner:FILE"): the file is
// locked while the learner plays, as any memory file, read when opened (a missing file is a new
// memory, made at the first save), and written whole when saved: the positions, the history of
// the games the learner played, its grades, and the mark of an "X" memory. Used alike by the
// trainer and the window's watch mode.
class LearnerFile {
  public:
    LearnerFile(std::string path, std::string_view program);

    // Takes the lock (MemoryWriter::take) and gives `learner` the memory and grades kept in the
    // file; a file that cannot be read is Failed with the reader's message. Nothing is taken
    // from a file that fails.
    MemoryWriter::Taken open(LearnerPlayer& learner);
    // The learner has played `game` (as the game flow told it): one more game in its history,
    // with its own positions and grades.
    void noteGame(const LearnerPlayer& learner, const FinishedGame& game);
    // Writes the whole document; a diversion or a failure as MemoryWriter tells it.
    MemoryWriter::Outcome save(const LearnerPlayer& learner);

    const std::string& path() const { return writer_.path(); }
    const LearningHistory& history() const { return history_; }

  private:
    MemoryWriter writer_;
    LearningHistory history_;
};

}  // namespace zelmo::engine
