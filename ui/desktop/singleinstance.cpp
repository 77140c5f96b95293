// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/desktop/singleinstance.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <QWidget>

#include <sys/socket.h>
#include <unistd.h>

#include <optional>
#include <string>

#include "engine/memorylock.h"
#include "ui/desktop/x11activation.h"

namespace zelmo::ui {

namespace {

// The one request and its answer, a line each.
constexpr char kRequest[] = "raise";
constexpr char kAnswer[] = "ok\n";
// The longest request line read (the request, a blank and an activation token).
constexpr qint64 kMaxRequest = 4096;
// How long a second start waits for the holder to answer, and how long the holder keeps a
// connection that says nothing.
constexpr int kAnswerMs = 2000;

// The process and user at the other end of a connected local socket.
std::optional<ucred> peerOf(qintptr descriptor) {
    ucred credentials{};
    socklen_t size = sizeof credentials;
    if (descriptor < 0 || ::getsockopt(static_cast<int>(descriptor), SOL_SOCKET, SO_PEERCRED,
                                       &credentials, &size) != 0) {
        return std::nullopt;
    }
    return credentials;
}

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
    // The runtime folder is the user's own (mode 0700), so only the user reaches the socket;
    // without one the temporary folder is shared, and the user's number keeps names apart.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime) && QDir(runtime).exists()) {
        return QDir(runtime).filePath(QStringLiteral("zelmo-window-%1").arg(pid));
    }
    return QDir(QDir::tempPath())
        .filePath(QStringLiteral("zelmo-window-%1-%2").arg(::getuid()).arg(pid));
}

Forwarded bringHolderForward(const QString& path, const QString& activationToken) {
    const std::optional<engine::LockHolder> holder =
        engine::lockHolderOf(QFile::encodeName(path).toStdString());
    if (!holder || holder->program != engine::kWindowProgram || holder->pid <= 0) {
        return Forwarded::NoWindow;
    }
    if (holder->pid == ::getpid()) {
        return Forwarded::ThisWindow;
    }
    QLocalSocket socket;
    socket.connectToServer(instanceSocketOf(holder->pid));
    if (!socket.waitForConnected(kAnswerMs)) {
        return Forwarded::NoWindow;
    }
    // Only the holder itself is asked: a socket of that name made by anyone else is left.
    const std::optional<ucred> peer = peerOf(socket.socketDescriptor());
    if (!peer || peer->pid != holder->pid || peer->uid != ::getuid()) {
        return Forwarded::NoWindow;
    }
    QByteArray request(kRequest);
    const QByteArray token = activationToken.toLatin1();
    if (!cleanToken(token).isEmpty()) {
        request += ' ' + token;
    }
    socket.write(request + '\n');
    if (!socket.waitForBytesWritten(kAnswerMs)) {
        return Forwarded::NoWindow;
    }
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(kAnswerMs)) {
            return Forwarded::NoWindow;
        }
    }
    return socket.readLine(kMaxRequest) == kAnswer ? Forwarded::Raised : Forwarded::NoWindow;
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

InstanceServer::InstanceServer(QObject* parent) : QObject(parent), server_(new QLocalServer(this)) {
    connect(server_, &QLocalServer::newConnection, this, &InstanceServer::answer);
}

InstanceServer::~InstanceServer() {
    server_->close();
}

bool InstanceServer::listen() {
    if (server_->isListening()) {
        return true;
    }
    const QString name = instanceSocketOf(::getpid());
    // A socket of this name was left by an ended process that had this number: it is stale.
    QLocalServer::removeServer(name);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    return server_->listen(name);
}

bool InstanceServer::listening() const {
    return server_->isListening();
}

void InstanceServer::answer() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        const std::optional<ucred> peer = peerOf(socket->socketDescriptor());
        if (!peer || peer->uid != ::getuid()) {
            socket->abort();
            continue;
        }
        QTimer::singleShot(kAnswerMs, socket, [socket] { socket->abort(); });
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) {
                if (socket->bytesAvailable() > kMaxRequest) {
                    socket->abort();
                }
                return;
            }
            const QByteArray line = socket->readLine(kMaxRequest).trimmed();
            const qsizetype blank = line.indexOf(' ');
            if ((blank < 0 ? line : line.left(blank)) != kRequest) {
                socket->abort();
                return;
            }
            emit raiseRequested(blank < 0 ? QString() : cleanToken(line.mid(blank + 1)));
            socket->write(kAnswer);
            socket->disconnectFromServer();
        });
    }
}

}  // namespace zelmo::ui
