// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace zelmo::engine {

// Gives the open file `to` every extended attribute of the file `from`, POSIX ACLs included
// (they are the attributes system.posix_acl_access and system.posix_acl_default), so that a
// file replaced by a save keeps who may read and write it, as `cp --preserve=all` does. A file
// system without extended attributes has none to copy. Returns "" or the reason in Russian
// (an attribute that cannot be read or given): the save then stops rather than change access.
std::string copyExtendedAttributes(const std::string& from, int to);

}  // namespace zelmo::engine
