// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/store/memoryfiles.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>

#include <memory>
#include <string>
#include <utility>

#include "engine/game/plural.h"
#include "engine/game/texts.h"
#include "engine/store/memorybackup.h"
#include "engine/store/memoryfile.h"
#include "engine/store/memorylock.h"
#include "ui/desktop/singleinstance.h"
#include "ui/form/unit1.h"
#include "ui/store/memoryfilestexts.h"
#include "ui/store/memorylocation.h"
#include "ui/store/memorystore.h"
#include "ui/store/storetexts.h"
#include "ui/store/wipequestion.h"
#include "ui/widgets/texts.h"

namespace zelmo::ui {

namespace {

namespace mt = memoryfilestexts;

std::string native(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString positions(std::int32_t count) {
    return QString::fromStdString(engine::countOf(count, engine::texts::kPositions));
}

}  // namespace

MemoryFiles::MemoryFiles(Host host, TForm1& form, engine::LiveDocument& document)
    : host_(std::move(host)),
      form_(form),
      document_(document),
      openDialog_(&askOpenFile),
      saveDialog_(&askSaveFile),
      question_(&askKeepOrReplace) {}

void MemoryFiles::setOpenDialog(FileDialog dialog) {
    openDialog_ = dialog ? std::move(dialog) : FileDialog(&askOpenFile);
}

void MemoryFiles::setSaveDialog(FileDialog dialog) {
    saveDialog_ = dialog ? std::move(dialog) : FileDialog(&askSaveFile);
}

void MemoryFiles::setQuestion(Question question) {
    question_ = question ? std::move(question) : Question(&askKeepOrReplace);
}

QString MemoryFiles::startFolder() const {
    const MemoryStore* store = host_.store();
    if (store != nullptr && !store->heldBy()) {
        return QFileInfo(store->path()).absolutePath();
    }
    const QString kept = keptMemoryPath();
    return kept.isEmpty() ? QString() : QFileInfo(kept).absolutePath();
}

void MemoryFiles::open() {
    // Watching would go on learning behind the dialog, into the memory about to be replaced.
    host_.stopWatching();
    const QString path = openDialog_(&form_, mt::kOpenCaption, startFolder(), mt::kFilter);
    if (path.isEmpty()) {
        return;
    }
    // One window per file: the window that holds it comes forward; this one keeps its own.
    if (bringHolderForward(path) != Forwarded::NoWindow) {
        return;
    }
    if (const auto holder = engine::lockHolderOf(native(path))) {
        form_.reportError(QString::fromStdString(engine::heldMessage(native(path), *holder)) +
                          mt::kNotOpened);
        return;
    }
    // The file is read before anything changes: one that cannot be read leaves the window as
    // it is (its memory and its file).
    auto document = std::make_unique<engine::MemoryDocument>();
    const engine::MemoryLoadResult read = engine::loadMemoryFile(native(path), *document);
    if (read.status != engine::MemoryFileStatus::Ok) {
        form_.reportError(QString::fromStdString(read.message) + mt::kNotOpened);
        return;
    }
    // What a window without a file has learnt is lost unless the player says so.
    if (host_.store() == nullptr && form_.entryCount() > 0 &&
        !question_(&form_, texts::kAppName,
                   mt::kUnsavedQuestion.arg(positions(form_.entryCount()), path),
                   mt::kOpenConfirm)) {
        return;
    }
    host_.useFile(path);
}

void MemoryFiles::saveCopy() {
    host_.stopWatching();
    QString path = saveDialog_(&form_, mt::kSaveCaption, startFolder(), mt::kFilter);
    if (path.isEmpty()) {
        return;
    }
    // The file this window keeps its memory in (under any of its names): the copy is the save
    // it makes anyway.
    MemoryStore* store = host_.store();
    if (store != nullptr && !store->heldBy() &&
        engine::lockPathOf(native(path)) == engine::lockPathOf(native(store->path()))) {
        store->flush();
        return;
    }
    // The copy's file is held while it is written, so that no other window or trainer writes
    // it at the same time; one they hold is left to them.
    engine::MemoryLock lock = engine::MemoryLock::acquire(native(path), engine::kWindowProgram);
    if (lock.status() == engine::MemoryLock::Status::Held) {
        form_.reportError(QString::fromStdString(engine::heldMessage(native(path), lock.holder())) +
                          mt::kCopyNotSaved);
        return;
    }
    const std::string failure =
        engine::saveMemoryFile(native(path), engine::encodeMemory(document_.view()));
    if (!failure.empty()) {
        form_.reportError(QString::fromStdString(failure) + mt::kCopyNotSaved);
    }
}

void MemoryFiles::restore() {
    host_.stopWatching();
    MemoryStore* store = host_.store();
    if (store == nullptr || store->heldBy()) {
        restoreKept();
        return;
    }
    const QString backup = QFile::decodeName(engine::backupPathOf(native(store->path())).c_str());
    auto document = std::make_unique<engine::MemoryDocument>();
    const engine::MemoryLoadResult read = engine::loadMemoryFile(native(backup), *document);
    if (read.status == engine::MemoryFileStatus::Missing) {
        form_.reportError(mt::kNoBackup.arg(backup));
        return;
    }
    if (read.status != engine::MemoryFileStatus::Ok) {
        form_.reportError(QString::fromStdString(read.message) + mt::kBackupUnreadable);
        return;
    }
    if (!question_(&form_, texts::kAppName,
                   mt::kRestoreQuestion.arg(positions(document->positions.entryCount), backup,
                                            positions(form_.entryCount())),
                   mt::kRestoreConfirm)) {
        return;
    }
    // The file first holds the document as it is, games held back included, so that the
    // backup made of it keeps everything.
    store->flush();
    document->dropUsedMarks();
    form_.guarded([this, &document] {
        document_.replace(*document);
        form_.tellRestored();
    });
    store->restored();
}

void MemoryFiles::aboutToWipe() {
    const MemoryStore* store = host_.store();
    if (store == nullptr || store->heldBy()) {
        beforeWipe_ = engine::encodeMemory(document_.view());
    }
}

void MemoryFiles::restoreKept() {
    auto document = std::make_unique<engine::MemoryDocument>();
    if (beforeWipe_.empty() ||
        engine::decodeMemory(beforeWipe_.data(), beforeWipe_.size(), *document).status !=
            engine::MemoryFileStatus::Ok) {
        form_.reportError(mt::kNothingWiped);
        return;
    }
    if (!question_(&form_, texts::kAppName,
                   mt::kRestoreKeptQuestion.arg(positions(document->positions.entryCount),
                                                positions(form_.entryCount())),
                   mt::kRestoreConfirm)) {
        return;
    }
    // The document replaced is kept in its turn, so that a second restore undoes the first.
    std::vector<std::uint8_t> replaced = engine::encodeMemory(document_.view());
    document->dropUsedMarks();
    form_.guarded([this, &document] {
        document_.replace(*document);
        form_.tellRestored();
    });
    beforeWipe_ = std::move(replaced);
}

QString askOpenFile(QWidget* owner, const QString& caption, const QString& folder,
                    const QString& filter) {
    return QFileDialog::getOpenFileName(owner, caption, folder, filter);
}

QString askSaveFile(QWidget* owner, const QString& caption, const QString& folder,
                    const QString& filter) {
    QFileDialog dialog(owner, caption, folder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The suffix is added before the dialog asks whether to replace a file of that name.
    dialog.setDefaultSuffix(mt::kSuffix);
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
               ? dialog.selectedFiles().constFirst()
               : QString();
}

}  // namespace zelmo::ui
