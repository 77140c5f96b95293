// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/store/fileattributes.h"
#include "engine/store/filetexts.h"
#include "engine/store/systemerrors.h"

#include <sys/types.h>
#include <sys/xattr.h>
#include <cerrno>
#include <string_view>
#include <vector>

namespace zelmo::engine {

namespace {

bool unsupported(int error) {
    return error == ENOTSUP || error == ENOSYS;
}

// The names of the attributes of `path`, each ending in a zero byte; false with errno set.
bool listNames(const std::string& path, std::vector<char>& names) {
    for (;;) {
        const ssize_t size = ::listxattr(path.c_str(), nullptr, 0);
        if (size < 0) {
            return false;
        }
        names.resize(static_cast<std::size_t>(size));
        const ssize_t got = ::listxattr(path.c_str(), names.data(), names.size());
        if (got >= 0) {
            names.resize(static_cast<std::size_t>(got));
            return true;
        }
        if (errno != ERANGE) {
            return false;  // ERANGE: an attribute came in between; ask again
        }
    }
}

// The value of `name` of `path`; false with errno set.
bool readValue(const std::string& path, const char* name, std::vector<char>& value) {
    for (;;) {
        const ssize_t size = ::getxattr(path.c_str(), name, nullptr, 0);
        if (size < 0) {
            return false;
        }
        value.resize(static_cast<std::size_t>(size));
        const ssize_t got = ::getxattr(path.c_str(), name, value.data(), value.size());
        if (got >= 0) {
            value.resize(static_cast<std::size_t>(got));
            return true;
        }
        if (errno != ERANGE) {
            return false;
        }
    }
}

std::string failure(const char* name, int error) {
    return fileTexts::format(fileTexts::kAttributeError, name, systemErrorText(error));
}

}  // namespace

std::string copyExtendedAttributes(const std::string& from, int to) {
    std::vector<char> names;
    if (!listNames(from, names)) {
        return unsupported(errno) ? std::string() : failure("*", errno);
    }
    std::vector<char> value;
    std::vector<char> present;
    for (std::size_t at = 0; at < names.size();) {
        const char* name = names.data() + at;
        at += std::string_view(name).size() + 1;
        if (!readValue(from, name, value)) {
            if (errno == ENODATA) {
                continue;  // removed in between
            }
            return failure(name, errno);
        }
        // A label the new file already carries (given by the system) needs no writing, which
        // an ordinary user may not do for every namespace.
        const ssize_t has = ::fgetxattr(to, name, nullptr, 0);
        if (has == static_cast<ssize_t>(value.size())) {
            present.resize(value.size());
            if (::fgetxattr(to, name, present.data(), present.size()) == has && present == value) {
                continue;
            }
        }
        if (::fsetxattr(to, name, value.data(), value.size(), 0) != 0) {
            return failure(name, errno);
        }
    }
    return {};
}

}  // namespace zelmo::engine
