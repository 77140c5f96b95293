// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/store/stdstreams.h"

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>

namespace zelmo::engine {

void openClosedStandardStreams() {
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) {
            continue;
        }
        // open returns the lowest free number, which is this one: the lower ones are open by now.
        const int opened = ::open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
        if (opened >= 0 && opened != fd) {
            ::dup2(opened, fd);
            ::close(opened);
        }
    }
}

}  // namespace zelmo::engine
