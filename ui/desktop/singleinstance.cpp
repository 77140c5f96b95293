// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/desktop/singleinstance.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <string>

#include "engine/store/memorylock.h"
#include "ui/desktop/localsocket.h"
#include "ui/desktop/x11activation.h"

namespace zelmo::ui {

using localsocket::Descriptor;
using localsocket::peerOf;
using localsocket::sendAll;

namespace {

// The one request and its answer, a line each.
constexpr char kRequest[] = "raise";
constexpr char kAnswer[] = "ok\n";
// The longest request line read (the request, a blank and an activation token).
constexpr std::size_t kMaxRequest = 4096;
// How long a second start waits for the holder to answer, and how long the holder keeps a
// connection that says nothing.
constexpr int kAnswerMs = 2000;
// How often a start asks again while a window holds the file without answering yet.
constexpr int kRetryMs = 50;
// The connections served at a time; the rest are closed at once, so that a flood of idle
// connections never takes the descriptors a save needs.
constexpr int kMaxConnections = 4;

// An activation token as a line may carry it: printable ASCII only, else nothing.
QString cleanToken(const QByteArray& bytes) {
    for (const char c : bytes) {
        if (c <= ' ' || c > '~') {
            return {};
        }
    }
    return QString::fromLatin1(bytes);
}

}  // namespace

QString instanceSocketOf(pid_t pid) {
    // The runtime folder is the user's own (mode 0700), so only the user reaches the socket.
    // Without one, a name in the shared temporary folder could be planted by another user (a
    // folder there would keep the window from listening); the abstract namespace has no file
    // to plant, and every connection's user is checked.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime) && QDir(runtime).exists()) {
        return QDir(runtime).filePath(QStringLiteral("zelmo-window-%1").arg(pid));
    }
    return QStringLiteral("@zelmo-window-%1-%2").arg(::getuid()).arg(pid);
}

Forwarded bringHolderForward(const QString& path, const QString& activationToken) {
    // A window that has just taken the lock has its socket already (it listens first), but
    // may not have written its name into the lock file yet: asked again for a moment.
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        const Forwarded forwarded = askHolderForward(path, activationToken);
        if (forwarded != Forwarded::NoWindow || waited.elapsed() >= kAnswerMs) {
            return forwarded;
        }
        const std::optional<engine::LockHolder> holder =
            engine::lockHolderOf(QFile::encodeName(path).toStdString());
        if (!holder || (holder->program != engine::kWindowProgram && !holder->program.empty())) {
            return forwarded;
        }
        ::usleep(kRetryMs * 1000);
    }
}

Forwarded askHolderForward(const QString& path, const QString& activationToken) {
    const std::optional<engine::LockHolder> holder =
        engine::lockHolderOf(QFile::encodeName(path).toStdString());
    if (!holder || holder->program != engine::kWindowProgram || holder->pid <= 0) {
        return Forwarded::NoWindow;
    }
    if (holder->pid == ::getpid()) {
        return Forwarded::ThisWindow;
    }
    const Descriptor socket = localsocket::connectTo(instanceSocketOf(holder->pid), kAnswerMs);
    if (!socket.valid()) {
        return Forwarded::NoWindow;
    }
    // Only the holder itself is asked: a socket of that name made by anyone else is left.
    const std::optional<ucred> peer = peerOf(socket.fd);
    if (!peer || peer->pid != holder->pid || peer->uid != ::getuid()) {
        return Forwarded::NoWindow;
    }
    std::string request(kRequest);
    const QByteArray token = activationToken.toLatin1();
    if (!cleanToken(token).isEmpty()) {
        request += ' ' + token.toStdString();
    }
    request += '\n';
    return sendAll(socket.fd, request) && localsocket::readLine(socket.fd, kMaxRequest) == kAnswer
               ? Forwarded::Raised
               : Forwarded::NoWindow;
}

void bringWindowForward(QWidget& window, const QString& activationToken) {
    // Wayland lets a window take the focus only with the token of the start that asked for
    // it; Qt reads it from the environment when the window asks to be activated.
    if (!activationToken.isEmpty()) {
        qputenv("XDG_ACTIVATION_TOKEN", activationToken.toLatin1());
    }
    window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window.show();
    window.raise();
    window.activateWindow();
    activateOnX11(window);
    // A question or a box open in the window stays in front of it.
    if (QWidget* modal = QApplication::activeModalWidget()) {
        modal->raise();
        modal->activateWindow();
    }
}

// One request on an accepted connection: read up to its line, answered or dropped, and gone
// after kAnswerMs whatever it says.
class InstanceServer::Connection : public QObject {
  public:
    Connection(int fd, InstanceServer& server)
        : QObject(&server),
          fd_(fd),
          server_(server),
          readable_(new QSocketNotifier(fd, QSocketNotifier::Read, this)) {
        ++server_.connections_;
        connect(readable_, &QSocketNotifier::activated, this, &Connection::read);
        QTimer::singleShot(kAnswerMs, this, &QObject::deleteLater);
    }
    ~Connection() override {
        --server_.connections_;
        delete readable_;  // before the descriptor closes
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

  private:
    void read() {
        char bytes[512];
        const ssize_t count = ::recv(fd_.fd, bytes, sizeof bytes, MSG_DONTWAIT);
        if (count < 0 && (errno == EAGAIN || errno == EINTR)) {
            return;
        }
        if (count <= 0 || static_cast<std::size_t>(line_.size() + count) > kMaxRequest) {
            end();
            return;
        }
        line_.append(bytes, count);
        const qsizetype newline = line_.indexOf('\n');
        if (newline < 0) {
            return;
        }
        const QByteArray line = line_.left(newline).trimmed();
        const qsizetype blank = line.indexOf(' ');
        if ((blank < 0 ? line : line.left(blank)) == kRequest) {
            // Answered before the window comes forward, which may take a while.
            sendAll(fd_.fd, kAnswer);
            emit server_.raiseRequested(blank < 0 ? QString() : cleanToken(line.mid(blank + 1)));
        }
        end();
    }

    // Stops reading at once; the connection goes once the event loop is back.
    void end() {
        readable_->setEnabled(false);
        deleteLater();
    }

    Descriptor fd_;
    InstanceServer& server_;
    QSocketNotifier* readable_;
    QByteArray line_;
};

InstanceServer::InstanceServer(QObject* parent) : QObject(parent) {}

InstanceServer::~InstanceServer() {
    // The connections count themselves out of this object as they go: they go while it is
    // still whole, not among the children that QObject deletes after it.
    const QObjectList children = this->children();
    for (QObject* child : children) {
        delete dynamic_cast<Connection*>(child);
    }
    if (listener_ >= 0) {
        delete accepting_;
        ::close(listener_);
        if (!localsocket::isAbstract(path_)) {
            ::unlink(QFile::encodeName(path_).constData());
        }
    }
}

bool InstanceServer::listen() {
    if (listener_ >= 0) {
        return true;
    }
    const QString name = instanceSocketOf(::getpid());
    // A socket of this name was left by an ended process that had this number: it is stale.
    Descriptor socket = localsocket::listenAt(name);
    if (!socket.valid()) {
        return false;
    }
    listener_ = socket.release();
    path_ = name;
    accepting_ = new QSocketNotifier(listener_, QSocketNotifier::Read, this);
    connect(accepting_, &QSocketNotifier::activated, this, &InstanceServer::answer);
    return true;
}

void InstanceServer::answer() {
    for (;;) {
        const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            return;  // none left (or the listener failed: the notifier calls again if it can)
        }
        const std::optional<ucred> peer = peerOf(fd);
        if (!peer || peer->uid != ::getuid() || connections_ >= kMaxConnections) {
            ::close(fd);
            continue;
        }
        new Connection(fd, *this);
    }
}

}  // namespace zelmo::ui
