// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/desktop/shutdown.h"

#include <QApplication>
#include <QMessageBox>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace zelmo::ui {

namespace {

constexpr std::array<int, 3> kSignals = {SIGTERM, SIGINT, SIGHUP};
// How soon a box that opens while the window ends is dismissed.
constexpr int kDismissMs = 100;

// The writing end of the socket pair, for the handler; -1 while none is installed.
volatile std::sig_atomic_t signalWriter = -1;

void onSignal(int signal) {
    const int saved = errno;
    const auto byte = static_cast<char>(signal);
    const int fd = signalWriter;
    if (fd >= 0) {
        // Async-signal-safe; a full pair already holds a request, so a lost byte loses nothing.
        [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
    }
    errno = saved;
}

int pair[2] = {-1, -1};

// The hook that exit() runs: the newest ExitFlush that still lives.
ExitFlush* currentFlush = nullptr;

void runExitFlush() {
    if (ExitFlush* flush = std::exchange(currentFlush, nullptr)) {
        flush->run();
    }
}

}  // namespace

TerminationSignals::TerminationSignals(std::function<void()> requested, QObject* parent)
    : QObject(parent), requested_(std::move(requested)) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, pair) != 0) {
        return;  // the signals keep their default: they end the process
    }
    signalWriter = pair[0];
    notifier_ = new QSocketNotifier(pair[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::received);
    struct sigaction action {};
    action.sa_handler = &onSignal;
    sigemptyset(&action.sa_mask);
    // Every one of them, every time: a closed terminal sends SIGHUP twice, and the second must
    // not end the process before the first has had the memory written.
    action.sa_flags = static_cast<int>(SA_RESTART);
    for (const int signal : kSignals) {
        ::sigaction(signal, &action, nullptr);
    }
}

TerminationSignals::~TerminationSignals() {
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (const int signal : kSignals) {
        ::sigaction(signal, &action, nullptr);
    }
    signalWriter = -1;
    if (notifier_ != nullptr) {
        delete notifier_;
        ::close(pair[0]);
        ::close(pair[1]);
        pair[0] = pair[1] = -1;
    }
}

void TerminationSignals::received() {
    char bytes[16];
    while (::read(pair[1], bytes, sizeof bytes) > 0) {
    }
    // One request is enough; the ones after it find the window already ending.
    if (!requested_) {
        return;
    }
    std::exchange(requested_, nullptr)();
}

void closeForShutdown(QWidget& window) {
    // Hiding a modal dialog ends its event loop as a rejection: the question keeps the
    // memory, the error box is gone; the code that opened it goes on when this returns. A box
    // that closing itself opens (a save that fails) goes the same way a moment later, its
    // text on standard error, so that nothing waits for a player who has gone.
    const auto dismiss = [] {
        while (QWidget* modal = QApplication::activeModalWidget()) {
            if (const auto* box = qobject_cast<const QMessageBox*>(modal)) {
                std::fprintf(stderr, "zelmo: %s\n", box->text().toLocal8Bit().constData());
            }
            modal->hide();
        }
    };
    dismiss();
    auto* sweeper = new QTimer(&window);
    sweeper->setInterval(kDismissMs);
    QObject::connect(sweeper, &QTimer::timeout, sweeper, dismiss);
    sweeper->start();
    window.close();
}

ExitFlush::ExitFlush(std::function<void()> flush) : flush_(std::move(flush)) {
    // Registered when first needed, after the application's own statics, so that the hook
    // runs before they go.
    static const bool registered = std::atexit(&runExitFlush) == 0;
    if (registered) {
        previous_ = std::exchange(currentFlush, this);
        if (previous_ != nullptr) {
            previous_->next_ = this;
        }
    }
}

ExitFlush::~ExitFlush() {
    // Unlinked wherever it stands: windows need not end in the reverse order of their start.
    if (next_ != nullptr) {
        next_->previous_ = previous_;
    } else if (currentFlush == this) {
        currentFlush = previous_;
    }
    if (previous_ != nullptr) {
        previous_->next_ = next_;
    }
}

void ExitFlush::run() {
    flush_();
}

}  // namespace zelmo::ui
