// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/displayguard.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace zelmo::app {

namespace {

// The guard's texts (UTF-8), for the terminal.
namespace texts {
const QString kNoDisplay = QStringLiteral(
    "zelmo: окно не открывается: нет связи с графическим дисплеем (%1). Zelmo запускается в "
    "графическом сеансе; справка: zelmo --help\n");
const QString kDisplayNamed = QStringLiteral("дисплей «%1» недоступен");
const QString kNoDisplayNamed =
    QStringLiteral("переменные окружения DISPLAY и WAYLAND_DISPLAY не заданы");
}  // namespace texts

// A message Qt gave while the guard was up, kept to be passed on.
struct Held {
    QtMsgType type;
    std::string category;
    std::string file;
    std::string function;
    int line;
    QString text;
};

QtMessageHandler previous = nullptr;
std::vector<Held>* held = nullptr;

void guardHandler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        const QByteArray display = qgetenv("DISPLAY");
        const QByteArray wayland = qgetenv("WAYLAND_DISPLAY");
        const QString cause = !display.isEmpty()   ? texts::kDisplayNamed.arg(display)
                              : !wayland.isEmpty() ? texts::kDisplayNamed.arg(wayland)
                                                   : texts::kNoDisplayNamed;
        std::fputs(texts::kNoDisplay.arg(cause).toLocal8Bit().constData(), stderr);
        std::fflush(stderr);
        // Nothing of the program has started: no window, no file, nothing to save.
        std::_Exit(1);
    }
    held->push_back({type, context.category != nullptr ? context.category : "",
                     context.file != nullptr ? context.file : "",
                     context.function != nullptr ? context.function : "", context.line, text});
}

}  // namespace

DisplayGuard::DisplayGuard() {
    held = new std::vector<Held>();
    previous = qInstallMessageHandler(&guardHandler);
}

DisplayGuard::~DisplayGuard() {
    qInstallMessageHandler(previous);
    for (const Held& message : *held) {
        const QMessageLogContext context(message.file.c_str(), message.line,
                                         message.function.c_str(), message.category.c_str());
        previous(message.type, context, message.text);
    }
    delete held;
    held = nullptr;
}

}  // namespace zelmo::app
