// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

class QWidget;

// The report of an error that ended an event handler: a modal box with the application's
// title as caption, the error icon and one OK button. The window holds the box as a function
// so that tests can record what would be shown.
namespace zelmo::ui {

using ErrorBox = std::function<void(QWidget* owner, const QString& caption, const QString& text)>;

// The message as shown: "." is appended when the last character's code is above that of "."
// (a letter or a digit), so "Integer overflow" reads "Integer overflow.", while "Done." or
// "Oops!" stay as they are.
QString errorBoxText(const QString& message);

// The real box: QMessageBox with the critical icon and an OK button, modal to the owner.
void showErrorBox(QWidget* owner, const QString& caption, const QString& text);

}  // namespace zelmo::ui
