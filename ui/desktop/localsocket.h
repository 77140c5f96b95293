// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <sys/socket.h>

#include <optional>
#include <string>
#include <utility>

// Local (Unix domain) stream sockets named by a file, with POSIX calls: what the one-window-
// per-file requests need, without a network library loaded at every start.
namespace zelmo::ui::localsocket {

// A file descriptor closed when it goes; -1 for none.
struct Descriptor {
    explicit Descriptor(int descriptor = -1) : fd(descriptor) {}
    ~Descriptor();
    Descriptor(Descriptor&& other) noexcept : fd(std::exchange(other.fd, -1)) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    Descriptor& operator=(Descriptor&&) = delete;

    bool valid() const { return fd >= 0; }
    int release() { return std::exchange(fd, -1); }

    int fd;
};

// A name that begins with '@' is a socket of Linux's abstract namespace, which has no file.
inline bool isAbstract(const QString& path) {
    return path.startsWith(QLatin1Char('@'));
}

// A connection to the socket file `path`; each later send or receive gives up after
// `timeoutMs`. Invalid when nobody listens there (or the path is too long for a socket).
Descriptor connectTo(const QString& path, int timeoutMs);

// A socket listening, without blocking, at `path`, a file only this user may open; whatever
// had that name before is removed first. An abstract name is taken as it is. Invalid when it
// cannot be made.
Descriptor listenAt(const QString& path);

// The process and user at the other end of a connected socket.
std::optional<ucred> peerOf(int fd);

// Writes all of `bytes`; false when the other end went or stopped reading in time.
bool sendAll(int fd, const std::string& bytes);

// Reads up to and with the first newline, at most `maxBytes`; what came before the other end
// stopped or the time ran out, without a newline.
std::string readLine(int fd, std::size_t maxBytes);

}  // namespace zelmo::ui::localsocket
