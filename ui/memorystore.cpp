// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/memorystore.h"

#include <QFile>
#include <QStringList>

#include <memory>
#include <utility>

#include "engine/gameflow.h"
#include "engine/memoryfile.h"
#include "ui/texts.h"

namespace zelmo::ui {

namespace {

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
const QString kUsage = QStringLiteral(
    "Использование: zelmo [--memory ФАЙЛ]\n"
    "Зельмо: крестики-нолики с компьютером, который учится.\n"
    "\n"
    "  --memory ФАЙЛ  хранить выученное компьютером в ФАЙЛЕ: прочитать его при запуске\n"
    "                 (если файла нет, он будет создан) и сохранять после каждой партии\n"
    "                 и после «промыть мозги»\n"
    "  -h, --help     показать эту справку\n");
const QString kUnknownOption = QStringLiteral("zelmo: неизвестный параметр «%1»\n");
const QString kMissingValue = QStringLiteral("zelmo: после --memory нужно имя файла\n");
const QString kTwice = QStringLiteral("zelmo: --memory указан дважды\n");
const QString kTryHelp = QStringLiteral("Справка: zelmo --help\n");
}  // namespace memoryTexts

}  // namespace

MemoryStore::MemoryStore(engine::GameFlow& flow, const QString& path, Report report)
    : flow_(flow), path_(QFile::encodeName(path).toStdString()), report_(std::move(report)) {}

void MemoryStore::load() {
    auto snapshot = std::make_unique<engine::MemorySnapshot>();
    const engine::MemoryLoadResult result = engine::loadMemoryFile(path_, *snapshot);
    switch (result.status) {
        case engine::MemoryFileStatus::Ok:
            flow_.restoreMemory(snapshot->memory, snapshot->entryCount);
            return;
        case engine::MemoryFileStatus::Missing:
            return;
        default:
            // Whatever the file holds may still be worth something to the player (a newer
            // Zelmo, a backup to restore): it is not replaced until the player wipes.
            keepFile_ = true;
            report_(QString::fromStdString(result.message) + memoryTexts::keptFile());
            return;
    }
}

void MemoryStore::afterEvent() {
    // A game has ended when cell clicks are refused after it was begun; each is saved once.
    const bool gameEnded = !flow_.acceptingMoves() && flow_.gameNumber() != lastFinishedGame_;
    if (gameEnded) {
        lastFinishedGame_ = flow_.gameNumber();
    }
    if (wipePending_) {
        wipePending_ = false;
        keepFile_ = false;
    } else if (!gameEnded) {
        return;
    }
    if (!keepFile_) {
        save();
    }
}

void MemoryStore::save() {
    const std::string failure = engine::saveMemoryFile(path_, flow_.memory(), flow_.entryCount());
    if (failure.empty()) {
        saveFailing_ = false;
        return;
    }
    if (!saveFailing_) {
        saveFailing_ = true;
        report_(QString::fromStdString(failure) + memoryTexts::kSaveFailed);
    }
}

CommandLine parseCommandLine(const QStringList& arguments) {
    CommandLine result;
    auto refuse = [&result](const QString& why) {
        result.action = CommandLine::Action::Error;
        result.memoryPath.clear();
        result.text = why + memoryTexts::kTryHelp;
        return result;
    };
    bool memoryGiven = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QStringLiteral("-h") || argument == QStringLiteral("--help")) {
            result.action = CommandLine::Action::Help;
            result.text = memoryTexts::kUsage;
            return result;
        }
        QString path;
        if (argument == QStringLiteral("--memory")) {
            if (i + 1 >= arguments.size()) {
                return refuse(memoryTexts::kMissingValue);
            }
            path = arguments[++i];
        } else if (argument.startsWith(QStringLiteral("--memory="))) {
            path = argument.mid(9);
        } else {
            return refuse(memoryTexts::kUnknownOption.arg(argument));
        }
        if (path.isEmpty()) {
            return refuse(memoryTexts::kMissingValue);
        }
        if (memoryGiven) {
            return refuse(memoryTexts::kTwice);
        }
        memoryGiven = true;
        result.memoryPath = path;
    }
    return result;
}

}  // namespace zelmo::ui
