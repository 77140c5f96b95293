// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/store/memorystore.h"

#include <QFile>
#include <QMetaObject>

#include <memory>
#include <utility>

#include "engine/store/memorybackup.h"
#include "engine/store/memorydocument.h"
#include "engine/store/memoryfile.h"
#include "engine/store/memorywriter.h"
#include "ui/store/storetexts.h"
#include "ui/widgets/texts.h"

namespace zelmo::ui {

namespace {

// The least time between two saves while spaced.
constexpr qint64 kSpacingMs = 1000;

QString fromNative(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

}  // namespace

MemoryStore::MemoryStore(engine::LiveDocument& document, const QString& path, Report report,
                         Writer writer)
    : document_(document),
      displayPath_(path),
      path_(QFile::encodeName(path).toStdString()),
      report_(std::move(report)),
      writer_(std::make_unique<engine::MemoryWriter>(path_, engine::kWindowProgram)),
      receiver_(std::make_unique<QObject>()) {
    QObject* receiver = receiver_.get();
    if (!writer) {
        // The checked save of the engine: the lock holder's file, replaced only while it is
        // the file last read or written.
        writer = [memory = writer_.get()](const std::string&, const SaveThread::Encoded& encoded) {
            engine::MemoryWriter::Outcome outcome = memory->save(encoded);
            SaveThread::Written written(std::move(outcome.failure));
            written.notice = std::move(outcome.notice);
            written.divertedTo = std::move(outcome.divertedTo);
            return written;
        };
    }
    saver_ = std::make_unique<SaveThread>(
        path_, std::move(writer), [this, receiver](const SaveThread::Result& result) {
            QMetaObject::invokeMethod(
                receiver, [this, result] { saved(result); }, Qt::QueuedConnection);
        });
}

MemoryStore::~MemoryStore() {
    // The thread writes what still waits and ends; then no outcome can arrive any more.
    saver_.reset();
    receiver_.reset();
}

void MemoryStore::load(FolderPolicy policy,
                       const std::function<bool(const engine::LockHolder&)>& forward) {
    const QString folderProblem = checkMemoryFolder(displayPath_, policy);
    if (!folderProblem.isEmpty()) {
        // Reported like a failed save, and only once until a save succeeds.
        saveFailing_ = true;
        report_(folderProblem + storetexts::kSaveFailed);
    }
    const engine::MemoryLock& lock = writer_->lock();
    if (lock.status() == engine::MemoryLock::Status::Held) {
        heldBy_ = lock.holder();
        if (forward && forward(lock.holder())) {
            return;
        }
        report_(QString::fromStdString(engine::heldMessage(path_, lock.holder())) +
                storetexts::kHeld);
        return;
    }
    // Something not ours at FILE.lock: neither it nor the memory file is touched, as when
    // another program holds the file.
    if (lock.status() == engine::MemoryLock::Status::Refused) {
        heldBy_ = engine::LockHolder{};
        report_(QString::fromStdString(engine::lockFailedMessage(path_, lock)) + storetexts::kHeld);
        return;
    }
    // A folder that takes no file takes no lock either: its report has said enough.
    if (!lock.locked() && folderProblem.isEmpty()) {
        report_(QString::fromStdString(engine::lockFailedMessage(path_, lock)) +
                storetexts::kUnlocked);
    }
    auto document = std::make_unique<engine::MemoryDocument>();
    const engine::MemoryLoadResult result = writer_->load(*document);
    switch (result.status) {
        case engine::MemoryFileStatus::Ok:
            // A game in progress here (a file opened during it) grades only its own answers:
            // the document comes without the used marks of the game it was saved in.
            document->dropUsedMarks();
            document_.replace(*document);
            lastHanded_ = encoded();
            return;
        case engine::MemoryFileStatus::Missing:
            lastHanded_ = encoded();
            return;
        case engine::MemoryFileStatus::IoError:
            if (!folderProblem.isEmpty()) {
                return;  // the folder's report has said it: one box is enough
            }
            [[fallthrough]];
        default:
            // Whatever the file holds may still be worth something to the player (a newer
            // Zelmo, a backup to restore): it is not replaced until the player wipes.
            keepFile_ = true;
            report_(QString::fromStdString(result.message) +
                    storetexts::kKeptFile.arg(texts::kWipeButton));
            return;
    }
}

void MemoryStore::gameFinished() {
    if (keepFile_ || heldBy_) {
        return;
    }
    if (spaced_ && sinceSave_.isValid() && sinceSave_.elapsed() < kSpacingMs) {
        held_ = true;
        return;
    }
    save();
}

void MemoryStore::setSpacing(bool spaced) {
    spaced_ = spaced;
    sinceSave_.start();
    if (!spaced && !document_.gameRunning()) {
        saveHeld();
    }
}

void MemoryStore::saveHeld() {
    if (held_) {
        save();
    }
}

void MemoryStore::wiped(bool keepBackup) {
    if (heldBy_) {
        return;
    }
    // A held save is of the memory before the wipe and is superseded by it.
    held_ = false;
    if (keepBackup && !this->keepBackup(storetexts::kWipeStopped)) {
        return;
    }
    keepFile_ = false;
    save();
}

void MemoryStore::restored() {
    if (heldBy_) {
        return;
    }
    // The memory before the restore was written by the flush that came before it.
    held_ = false;
    if (!keepBackup(storetexts::kRestoreStopped)) {
        return;
    }
    keepFile_ = false;
    save();
}

bool MemoryStore::keepBackup(const QString& stopped) {
    // What the file holds once the saves waiting are written is what the backup keeps.
    saved(saver_->flush());
    const std::string failure = engine::keepBackup(writer_->path());
    if (failure.empty()) {
        return true;
    }
    if (!keepFile_) {
        restoreLastSaved();
    }
    report_(QString::fromStdString(failure) + (keepFile_ ? storetexts::kWipeStoppedKept : stopped));
    return false;
}

void MemoryStore::restoreLastSaved() {
    auto document = std::make_unique<engine::MemoryDocument>();
    if (engine::decodeMemory(lastHanded_.data(), lastHanded_.size(), *document).status ==
        engine::MemoryFileStatus::Ok) {
        document_.replace(*document);
    }
}

void MemoryStore::save() {
    held_ = false;
    sinceSave_.start();
    // The window's thread encodes the document straight from where it lives (no copy of the
    // whole table); the saving thread writes the bytes and flushes them to disk.
    lastHanded_ = encoded();
    saver_->submit(lastHanded_);
}

std::vector<std::uint8_t> MemoryStore::encoded() const {
    return engine::encodeMemory(document_.view());
}

void MemoryStore::flush() {
    saveHeld();
    saved(saver_->flush());
}

void MemoryStore::saveChanged() {
    saveHeld();
    // What changed without a game (the grades) is kept too; a file being kept as it was or
    // held by another program is not written.
    if (!keepFile_ && !heldBy_ && encoded() != lastHanded_) {
        save();
    }
}

void MemoryStore::finish() {
    saveChanged();
    const SaveThread::Result last = saver_->flush();
    if (record(last) && !last.written.notice.empty()) {
        report_(QString::fromStdString(last.written.notice));
    }
    if (!lastFailure_.isEmpty()) {
        report_(lastFailure_ + storetexts::kLostAtClose);
    }
}

void MemoryStore::flushSilently() {
    saveChanged();
    saver_->flush();
}

bool MemoryStore::record(const SaveThread::Result& result) {
    if (result.job == 0 || result.job <= lastSeenJob_) {
        return false;
    }
    lastSeenJob_ = result.job;
    lastFailure_ = QString::fromStdString(result.written.failure);
    if (!result.written.divertedTo.empty()) {
        displayPath_ = fromNative(result.written.divertedTo);
    }
    return true;
}

void MemoryStore::saved(const SaveThread::Result& result) {
    if (!record(result)) {
        return;
    }
    // A memory saved to a new file is told each time it happens (once per file changed).
    if (!result.written.notice.empty()) {
        report_(QString::fromStdString(result.written.notice) + storetexts::kDiverted);
    }
    if (lastFailure_.isEmpty()) {
        saveFailing_ = false;
        return;
    }
    if (!saveFailing_) {
        saveFailing_ = true;
        report_(lastFailure_ + storetexts::kSaveFailed);
    }
}

}  // namespace zelmo::ui
