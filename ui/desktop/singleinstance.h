// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <sys/types.h>

class QSocketNotifier;
class QWidget;

// One window per memory file: a window that holds a memory file (its lock) answers on a local
// socket named after its process, in the user's runtime folder; a second start on that file
// reads the holder's process from the lock file, asks that window to come to the front and
// opens nothing itself. The peer's process and user are checked on both sides, so nothing but
// the holder itself is ever asked, and nobody but the same user can ask.
namespace zelmo::ui {

// The socket on which the window of process `pid` answers: $XDG_RUNTIME_DIR/zelmo-window-PID,
// or the abstract name @zelmo-window-UID-PID when there is no runtime folder.
QString instanceSocketOf(pid_t pid);

// What became of asking the window that holds `memoryPath` to come forward.
enum class Forwarded {
    NoWindow,    // no window holds the file (or it does not answer): open it here
    ThisWindow,  // this very process holds it
    Raised,      // the holding window has come forward
};

// Asks the window that holds the memory file `path`, if any, to come to the front.
// `activationToken` is the desktop's token for bringing a window forward (XDG_ACTIVATION_TOKEN),
// passed on to the holder. Blocks for at most a couple of seconds while that window answers.
// A window that holds the file but does not answer yet (it is starting) is asked again for up
// to that time.
Forwarded bringHolderForward(const QString& path, const QString& activationToken = {});
// One question to the holder, without asking again.
Forwarded askHolderForward(const QString& path, const QString& activationToken = {});

// Brings `window` to the front as a start on its file asks: shown, not minimised, raised and
// active (through the desktop's activation token where the window system takes one).
void bringWindowForward(QWidget& window, const QString& activationToken);

// The answering side: listens on this process's socket (a file only the user may open) and
// emits raiseRequested() for each request of the same user's processes.
class InstanceServer : public QObject {
    Q_OBJECT
  public:
    explicit InstanceServer(QObject* parent = nullptr);
    ~InstanceServer() override;

    // Starts answering (once; later calls do nothing). False when the socket cannot be made.
    bool listen();
    // The connections being served now (a few at most; the rest are closed at once).
    int connections() const { return connections_; }

  signals:
    // A second start asks this window to come forward, with the desktop's activation token
    // ("" when it has none).
    void raiseRequested(const QString& activationToken);

  private:
    class Connection;
    void answer();

    int listener_ = -1;  // the listening socket, -1 until listen() succeeds
    QString path_;       // its file, removed when the window ends
    QSocketNotifier* accepting_ = nullptr;
    int connections_ = 0;
};

}  // namespace zelmo::ui
