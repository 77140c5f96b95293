// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/game/gameflow.h"
#include "engine/game/grades.h"
#include "engine/game/history.h"
#include "engine/game/memory.h"

#include <cstdint>
#include <optional>

namespace zelmo::engine {

// What the computer has learnt, as one value: the table and the number of entries in use.
// Large (the whole fixed table), so allocate it with std::make_unique.
struct MemorySnapshot {
    PositionMemory memory;
    std::int32_t entryCount = 0;
};

// Whose memory a document is: the computer's, which plays "0" (every file from before learners
// for "X" were kept), or a learning player's for "X" (learner.h).
enum class MemorySide { Nought, Cross };

// Everything a memory file holds, as one value: the positions with their play counts, the
// history of the learning, and the grades in force when it was written (none in a file from
// before grades were kept). Every path that reads or writes a memory file takes the whole
// document, so nothing a file holds can be dropped by forgetting a part. Large: allocate it
// with std::make_unique.
struct MemoryDocument {
    MemorySnapshot positions;
    LearningHistory history;
    std::optional<Grades> grades;
    MemorySide side = MemorySide::Nought;

    // The grades to play under: those kept, else those of the history's last block (a file
    // from before grades were kept), else the grades at start.
    Grades gradesInForce() const;
    // A used mark belongs to the game in progress when the file was written: a document read
    // from a file is taken without them, so a game running here grades only its own answers.
    void dropUsedMarks() { positions.memory.clearUsed(positions.entryCount); }
};

// A document as it stands in a running program, read without copying the table: the encoder
// takes it straight from the game flow and the history beside it.
struct DocumentView {
    const PositionMemory& memory;
    std::int32_t entryCount;
    const LearningHistory& history;
    std::optional<Grades> grades;
    MemorySide side = MemorySide::Nought;
};

inline DocumentView viewOf(const MemoryDocument& document) {
    return {document.positions.memory, document.positions.entryCount, document.history,
            document.grades, document.side};
}

// The document a program is working on: where its parts live (a game flow's memory, a history,
// the grades of a window's spinners or of a trainer's options). The window's memory store and
// its file commands read and replace it only as a whole.
class LiveDocument {
  public:
    virtual ~LiveDocument() = default;
    // The document as it is now.
    virtual DocumentView view() const = 0;
    // Replaces every part with the document's (its history is moved out), used marks and all:
    // a document read from a file drops them first (dropUsedMarks).
    virtual void replace(MemoryDocument& document) = 0;
    // A game is running (a save between games is the one worth holding back).
    virtual bool gameRunning() const = 0;
};

// The live document of a game flow, a history and the grades kept with them (none: a file
// written so stays a version 1 or 2 file); replace() takes the document's as they are.
class FlowDocument : public LiveDocument {
  public:
    FlowDocument(GameFlow& flow, LearningHistory& history) : flow_(flow), history_(history) {}

    DocumentView view() const override;
    void replace(MemoryDocument& document) override;
    bool gameRunning() const override { return flow_.acceptingMoves(); }

    void setGrades(std::optional<Grades> grades) { grades_ = grades; }

  private:
    GameFlow& flow_;
    LearningHistory& history_;
    std::optional<Grades> grades_;
};

}  // namespace zelmo::engine
