// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/memorylocation.h"
#include "ui/savethread.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace zelmo::engine {
class GameFlow;
}

namespace zelmo::ui {

// Keeps the computer's memory in a file for a window started with `zelmo --memory FILE` or
// `zelmo --keep-memory`: reads it once at start-up, saves it after every finished game and
// after every wipe. Saves run on their own thread (the window hands over a copy and goes on);
// a failed save is reported once on the window's thread until a save succeeds. A file that
// cannot be read (damaged, foreign, from a newer version) is reported once and never written
// over until the player wipes the memory.
class MemoryStore {
  public:
    // Shows an error in the window's error box.
    using Report = std::function<void(const QString& text)>;
    using Writer = SaveThread::Writer;

    // An empty `writer` is the engine's memory file writer.
    MemoryStore(engine::GameFlow& flow, const QString& path, Report report, Writer writer = {});
    // Waits for the last save; its failure is no longer reported (flush first for that).
    ~MemoryStore();
    MemoryStore(const MemoryStore&) = delete;
    MemoryStore& operator=(const MemoryStore&) = delete;

    // Checks that the file's folder can take a save (reported now, not after the first game),
    // then reads the file into the game flow; a missing file leaves the memory empty.
    void load(FolderPolicy policy);
    // A game has ended (the game flow's end-of-game call): hands a save to the saving thread,
    // unless the file read at start-up is being kept. While spaced, a save within about a
    // second of the last one is held back instead, until the next game ends after that second,
    // spacing ends between games, or the store flushes.
    void gameFinished();
    // Spacing for the watch mode, which ends many games a second.
    void setSpacing(bool spaced);
    // The player wiped the memory: saves whatever the file held. With `keepBackup` the file as
    // it was is kept as its backup before it is replaced.
    void wiped(bool keepBackup);

    // Writes what is waiting now and waits until it is written; reports a failure.
    void flush();
    // The window closes: writes what is waiting and waits. When the file does not hold the
    // memory as it is (the last save failed, even one whose failure was not told again), says
    // so, since what was learnt after the last good save goes with the window.
    void finish();

    // The file that was read is kept as it was (unreadable) until the next wipe.
    bool keepsUnreadableFile() const { return keepFile_; }
    const QString& path() const { return displayPath_; }

  private:
    void save(bool backupFirst = false);
    // Writes a save held back by the spacing.
    void saveHeld();
    // Notes the outcome of save `job` unless a newer one has been seen; true when noted.
    bool record(std::uint64_t job, const QString& failure);
    // The outcome of save `job`, on the window's thread; older outcomes than one already
    // seen are dropped.
    void saved(std::uint64_t job, const QString& failure);

    engine::GameFlow& flow_;
    QString displayPath_;
    std::string path_;
    Report report_;
    bool keepFile_ = false;
    bool saveFailing_ = false;
    bool spaced_ = false;
    bool held_ = false;  // a finished game's save is held back by the spacing
    QElapsedTimer sinceSave_;
    QString lastFailure_;  // the failure of the newest save that has ended, "" when it worked
    std::uint64_t lastSeenJob_ = 0;
    // Outcomes travel from the saving thread to the window's as queued calls to this object;
    // declared before the thread, so the thread has ended before it goes.
    std::unique_ptr<QObject> receiver_;
    std::unique_ptr<SaveThread> saver_;
};

}  // namespace zelmo::ui
