// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/memorystore.h"

#include <QFile>
#include <QMetaObject>

#include <memory>
#include <utility>

#include "engine/gameflow.h"
#include "engine/memoryfile.h"
#include "ui/texts.h"

namespace zelmo::ui {

namespace {

// The least time between two saves while spaced.
constexpr qint64 kSpacingMs = 1000;

namespace memoryTexts {
QString keptFile() {
    return QStringLiteral(
               "\n\nИгра начинается с пустой памятью. Этот файл не будет "
               "перезаписан, пока вы не нажмёте «%1».")
        .arg(texts::kWipeButton);
}
const QString kSaveFailed = QStringLiteral(
    "\n\nИгра продолжается; память будет сохраняться после каждой партии, об ошибке больше не "
    "сообщается, пока сохранение не удастся.");
const QString kLostAtClose = QStringLiteral(
    "\n\nОкно закрывается: то, что компьютер выучил после последнего удачного сохранения, "
    "в файл не записано.");
}  // namespace memoryTexts

// The engine's memory file writer (one of its overloads), as the saving thread's writer.
std::string writeMemoryFile(const std::string& path, const std::vector<std::uint8_t>& encoded) {
    return engine::saveMemoryFile(path, encoded);
}

}  // namespace

MemoryStore::MemoryStore(engine::GameFlow& flow, const QString& path, Report report, Writer writer)
    : flow_(flow),
      displayPath_(path),
      path_(QFile::encodeName(path).toStdString()),
      report_(std::move(report)),
      receiver_(std::make_unique<QObject>()) {
    QObject* receiver = receiver_.get();
    saver_ = std::make_unique<SaveThread>(
        path_, writer ? std::move(writer) : Writer(&writeMemoryFile),
        [this, receiver](const SaveThread::Result& result) {
            const QString failure = QString::fromStdString(result.failure);
            QMetaObject::invokeMethod(
                receiver, [this, job = result.job, failure] { saved(job, failure); },
                Qt::QueuedConnection);
        });
}

MemoryStore::~MemoryStore() {
    // The thread writes what still waits and ends; then no outcome can arrive any more.
    saver_.reset();
    receiver_.reset();
}

void MemoryStore::load(FolderPolicy policy) {
    const QString folderProblem = checkMemoryFolder(displayPath_, policy);
    if (!folderProblem.isEmpty()) {
        // Reported like a failed save, and only once until a save succeeds.
        saveFailing_ = true;
        report_(folderProblem + memoryTexts::kSaveFailed);
    }
    auto snapshot = std::make_unique<engine::MemorySnapshot>();
    const engine::MemoryLoadResult result = engine::loadMemoryFile(path_, *snapshot);
    switch (result.status) {
        case engine::MemoryFileStatus::Ok:
            flow_.restoreMemory(snapshot->memory, snapshot->entryCount);
            return;
        case engine::MemoryFileStatus::Missing:
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
            report_(QString::fromStdString(result.message) + memoryTexts::keptFile());
            return;
    }
}

void MemoryStore::gameFinished() {
    if (keepFile_) {
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
    if (!spaced && !flow_.acceptingMoves()) {
        saveHeld();
    }
}

void MemoryStore::saveHeld() {
    if (held_) {
        save();
    }
}

void MemoryStore::wiped(bool keepBackup) {
    keepFile_ = false;
    save(keepBackup);
}

void MemoryStore::save(bool backupFirst) {
    held_ = false;
    sinceSave_.start();
    // The window's thread encodes the positions in use straight from the memory (no copy of
    // the whole table); the saving thread writes the bytes and flushes them to disk.
    saver_->submit(engine::encodeMemory(flow_.memory(), flow_.entryCount()), backupFirst);
}

void MemoryStore::flush() {
    saveHeld();
    const SaveThread::Result result = saver_->flush();
    saved(result.job, QString::fromStdString(result.failure));
}

void MemoryStore::finish() {
    saveHeld();
    const SaveThread::Result result = saver_->flush();
    record(result.job, QString::fromStdString(result.failure));
    if (!lastFailure_.isEmpty()) {
        report_(lastFailure_ + memoryTexts::kLostAtClose);
    }
}

bool MemoryStore::record(std::uint64_t job, const QString& failure) {
    if (job == 0 || job <= lastSeenJob_) {
        return false;
    }
    lastSeenJob_ = job;
    lastFailure_ = failure;
    return true;
}

void MemoryStore::saved(std::uint64_t job, const QString& failure) {
    if (!record(job, failure)) {
        return;
    }
    if (failure.isEmpty()) {
        saveFailing_ = false;
        return;
    }
    if (!saveFailing_) {
        saveFailing_ = true;
        report_(failure + memoryTexts::kSaveFailed);
    }
}

}  // namespace zelmo::ui
