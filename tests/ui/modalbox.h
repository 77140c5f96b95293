// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <functional>
#include <memory>

// Answers the next real message box: a modal box opens its own event loop, so the test looks
// for it from a timer and hands it to `answer` once it is shown. Keep the returned timer alive
// until the box has been answered.
inline std::unique_ptr<QTimer> whenMessageBoxShows(std::function<void(QMessageBox*)> answer) {
    auto poll = std::make_unique<QTimer>();
    poll->setInterval(10);
    QTimer* timer = poll.get();
    QObject::connect(timer, &QTimer::timeout, [timer, answer = std::move(answer)] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) {
            return;
        }
        timer->stop();
        answer(box);
    });
    timer->start();
    return poll;
}
