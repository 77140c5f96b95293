// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/desktop/localsocket.h"

#include <QFile>

#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace zelmo::ui::localsocket {

namespace {

// The address of the socket file `path`, or of the abstract name after a leading '@' (its first
// byte zero; the whole sun_path is the name, on both sides); nothing when too long for one.
std::optional<sockaddr_un> addressOf(const QString& path) {
    const QByteArray bytes = QFile::encodeName(path);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (bytes.isEmpty() || bytes.size() >= static_cast<qsizetype>(sizeof address.sun_path)) {
        return std::nullopt;
    }
    std::memcpy(address.sun_path, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    if (isAbstract(path)) {
        address.sun_path[0] = '\0';
    }
    return address;
}

const sockaddr* asAddress(const sockaddr_un& address) {
    return reinterpret_cast<const sockaddr*>(&address);
}

}  // namespace

Descriptor::~Descriptor() {
    if (fd >= 0) {
        ::close(fd);
    }
}

Descriptor connectTo(const QString& path, int timeoutMs) {
    const std::optional<sockaddr_un> address = addressOf(path);
    Descriptor socket(address ? ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0) : -1);
    if (!socket.valid()) {
        return socket;
    }
    const timeval limit{timeoutMs / 1000, static_cast<suseconds_t>(timeoutMs % 1000) * 1000};
    ::setsockopt(socket.fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    ::setsockopt(socket.fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    if (::connect(socket.fd, asAddress(*address), sizeof *address) != 0) {
        return Descriptor();
    }
    return socket;
}

Descriptor listenAt(const QString& path) {
    const std::optional<sockaddr_un> address = addressOf(path);
    Descriptor socket(address ? ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0)
                              : -1);
    if (!socket.valid()) {
        return socket;
    }
    // An abstract name has no file: nothing to remove, nobody can plant one, and the peer's
    // user is checked on every connection as always.
    if (isAbstract(path)) {
        return ::bind(socket.fd, asAddress(*address), sizeof *address) == 0 &&
                       ::listen(socket.fd, 8) == 0
                   ? std::move(socket)
                   : Descriptor();
    }
    ::unlink(address->sun_path);
    if (::bind(socket.fd, asAddress(*address), sizeof *address) != 0) {
        return Descriptor();
    }
    // The file gets the user's rights only, whatever the umask, so that nobody else may even
    // connect; set on the file rather than through the umask, which other threads share. It
    // listens only then.
    if (::chmod(address->sun_path, S_IRUSR | S_IWUSR) != 0 || ::listen(socket.fd, 8) != 0) {
        ::unlink(address->sun_path);
        return Descriptor();
    }
    return socket;
}

std::optional<ucred> peerOf(int fd) {
    ucred credentials{};
    socklen_t size = sizeof credentials;
    if (fd < 0 || ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0) {
        return std::nullopt;
    }
    return credentials;
}

bool sendAll(int fd, const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t count = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return false;
        }
        sent += static_cast<std::size_t>(count);
    }
    return true;
}

std::string readLine(int fd, std::size_t maxBytes) {
    std::string line;
    char c = 0;
    while (line.size() < maxBytes) {
        const ssize_t count = ::recv(fd, &c, 1, 0);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            break;
        }
        line += c;
        if (c == '\n') {
            break;
        }
    }
    return line;
}

}  // namespace zelmo::ui::localsocket
