// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;
class QWidget;

// Ending in order. A request to end (SIGTERM, SIGINT, SIGHUP: a logout, a Ctrl+C, a closed
// terminal) ends the window as Ctrl+Q does, so what is held back is written and the program
// exits 0. When the window system goes away, Qt ends the process with exit() from inside its
// event handling; the exit hook still writes what is held back then.
namespace zelmo::ui {

// Turns the ending signals into a call on the window's thread: the signal handler only writes
// a byte into a socket pair, which a notifier reads in the event loop. The first signal makes
// the call; later ones change nothing (the window is already ending), so that a closed
// terminal's second SIGHUP cannot end the process before the memory is written.
class TerminationSignals : public QObject {
    Q_OBJECT
  public:
    explicit TerminationSignals(std::function<void()> requested, QObject* parent = nullptr);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

  private:
    void received();

    std::function<void()> requested_;
    QSocketNotifier* notifier_ = nullptr;
};

// Closes `window` as Ctrl+Q does; a message box or question that is open, or that opens while
// the window closes, goes away unanswered (the safe answer; a box's text goes to standard
// error), so that nothing waits for the player.
void closeForShutdown(QWidget& window);

// Runs `flush` if the process ends through exit() while this object lives (the newest one
// when several live); the function must write synchronously and tell nobody.
class ExitFlush {
  public:
    explicit ExitFlush(std::function<void()> flush);
    ~ExitFlush();
    ExitFlush(const ExitFlush&) = delete;
    ExitFlush& operator=(const ExitFlush&) = delete;

    void run();

  private:
    std::function<void()> flush_;
    // The hooks still living, as a list from the newest (the one exit() runs) back.
    ExitFlush* previous_ = nullptr;
    ExitFlush* next_ = nullptr;
};

}  // namespace zelmo::ui
