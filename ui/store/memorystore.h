// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/store/memorylock.h"
#include "ui/store/memorylocation.h"
#include "ui/store/savethread.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zelmo::engine {
class LiveDocument;
class MemoryWriter;
}  // namespace zelmo::engine

namespace zelmo::ui {

// Keeps the window's memory document (positions, history and grades, as one) in a file for a
// window started with `zelmo --memory FILE` or `zelmo --keep-memory`: reads it once at
// start-up, saves it after every finished game and after every wipe, and at the close when
// anything changed since (the grades, say). Saves run on their own thread (the window hands over a
// copy and goes on); a failed save is reported once on the window's thread until a save succeeds. A
// file that cannot be read (damaged, foreign, from a newer version) is reported once and never
// written over until the player wipes the memory. The window holds the file's lock (memorylock.h)
// from the load on, so no other window or trainer writes it meanwhile; a file that another
// program holds is refused with a box and neither read nor written. A file that another
// program changed all the same is not written over: the memory goes to a new file beside it,
// the box says where, and the saves after it go there too.
class MemoryStore {
  public:
    // Shows an error in the window's error box.
    using Report = std::function<void(const QString& text)>;
    using Writer = SaveThread::Writer;

    // An empty `writer` is the engine's memory file writer.
    MemoryStore(engine::LiveDocument& document, const QString& path, Report report,
                Writer writer = {});
    // Waits for the last save; its failure is no longer reported (flush first for that).
    ~MemoryStore();
    MemoryStore(const MemoryStore&) = delete;
    MemoryStore& operator=(const MemoryStore&) = delete;

    // Checks that the file's folder can take a save (reported now, not after the first game),
    // takes the file's lock, then reads the file into the live document; a missing file
    // leaves it as it is. A file another program holds is reported (heldBy() tells who) and the
    // store does nothing more.
    // `forward`, when given, is asked first when another window holds the file: true when that
    // window has come forward instead, and then nothing is reported.
    void load(FolderPolicy policy,
              const std::function<bool(const engine::LockHolder&)>& forward = {});
    // A game has ended (the game flow's end-of-game call): hands a save to the saving thread,
    // unless the file read at start-up is being kept. While spaced, a save within about a
    // second of the last one is held back instead, until the next game ends after that second,
    // spacing ends between games, or the store flushes.
    void gameFinished();
    // Spacing for the watch mode, which ends many games a second.
    void setSpacing(bool spaced);
    // The player wiped the memory: saves whatever the file held. With `keepBackup` the file as
    // it was is kept as its backup first (the saves waiting are written before, and the
    // backup is made before this returns). A backup that fails stops this wipe only: it is
    // reported, the memory as it was last handed to the saving thread comes back, the file
    // stays, and later saves go on as before.
    void wiped(bool keepBackup);
    // The document was replaced by the file's backup (the player restored it): the file as it is
    // now becomes the backup and the restored memory is saved, so that nothing is lost and a second
    // restore undoes the first. A backup that fails stops the restore as it stops a wipe: the
    // memory as last saved comes back.
    void restored();

    // Writes what is waiting now and waits until it is written; reports a failure.
    void flush();
    // The window closes: writes what is waiting and waits. When the file does not hold the
    // memory as it is (the last save failed, even one whose failure was not told again), says
    // so, since what was learnt after the last good save goes with the window.
    void finish();
    // The process ends without closing the window (the display went away): writes what is
    // held back and waits, telling nobody.
    void flushSilently();

    // The file that was read is kept as it was (unreadable) until the next wipe.
    bool keepsUnreadableFile() const { return keepFile_; }
    // The file the memory is kept in: the one given, or the new file beside it that a save
    // went to because another program had changed it.
    const QString& path() const { return displayPath_; }
    // Who held the file when the store was loaded; nothing when the store has the file. A
    // held file is neither read nor written.
    const std::optional<engine::LockHolder>& heldBy() const { return heldBy_; }

  private:
    void save();
    // The document as it is now, encoded.
    std::vector<std::uint8_t> encoded() const;
    // Keeps the file as its backup after writing what waits; on a failure brings back the
    // memory last saved, reports the failure followed by `stopped` (or by the text for a kept
    // unreadable file) and returns false.
    bool keepBackup(const QString& stopped);
    // Writes a save held back by the spacing.
    void saveHeld();
    // Writes a held save, or the document when it differs from what was handed over last.
    void saveChanged();
    // The document handed over last comes back (a wipe that was stopped).
    void restoreLastSaved();
    // Notes the outcome of a save unless a newer one has been seen; true when noted.
    bool record(const SaveThread::Result& result);
    // The outcome of a save, on the window's thread; older outcomes than one already seen are
    // dropped.
    void saved(const SaveThread::Result& result);

    engine::LiveDocument& document_;
    QString displayPath_;
    std::string path_;
    Report report_;
    bool keepFile_ = false;
    std::optional<engine::LockHolder> heldBy_;
    bool saveFailing_ = false;
    bool spaced_ = false;
    bool held_ = false;  // a finished game's save is held back by the spacing
    QElapsedTimer sinceSave_;
    QString lastFailure_;  // the failure of the newest save that has ended, "" when it worked
    std::uint64_t lastSeenJob_ = 0;
    std::vector<std::uint8_t> lastHanded_;  // the document last loaded or handed over, encoded
    // The lock, the file as last seen, the checked save; used by the saving thread, so it
    // goes after the thread has ended.
    std::unique_ptr<engine::MemoryWriter> writer_;
    // Outcomes travel from the saving thread to the window's as queued calls to this object;
    // declared before the thread, so the thread has ended before it goes.
    std::unique_ptr<QObject> receiver_;
    std::unique_ptr<SaveThread> saver_;
};

}  // namespace zelmo::ui
