// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <cstdint>
#include <functional>

class QWidget;

// The question asked before «промыть мозги» forgets a memory kept in a file: how many
// positions go, where the old file stays; the safe answer (keep the memory) is the default
// and Escape chooses it. The window holds the question as a function so that tests answer it.
namespace zelmo::ui {

// True when the player confirms the wipe.
using WipeQuestion =
    std::function<bool(QWidget* owner, const QString& caption, const QString& text)>;

// "Компьютер забудет всё, что выучил: 235 позиций. ..." with the backup file's name.
QString wipeQuestionText(std::int32_t positions, const QString& backupPath);

// "Файл памяти «…» не удалось прочитать ..." for a kept file that could not be read.
QString unreadableWipeQuestionText(const QString& path, const QString& backupPath);

// The real question: a modal box with two buttons, «Оставить память» the default.
bool askWipeQuestion(QWidget* owner, const QString& caption, const QString& text);

// The same box with `confirm` on the other button, for any question whose safe answer keeps
// the memory (opening another file, restoring the backup).
bool askKeepOrReplace(QWidget* owner, const QString& caption, const QString& text,
                      const QString& confirm);

}  // namespace zelmo::ui
