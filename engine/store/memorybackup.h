// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// The one backup of a memory file, made before a wipe the player confirmed replaces the file:
// FILE.bak beside FILE holds the file as it was, so a regretted wipe can be undone by hand
// (copy FILE.bak over FILE while Zelmo is closed). The next confirmed wipe replaces it.
namespace zelmo::engine {

// The backup's name for the memory file `path`.
std::string backupPathOf(const std::string& path);

// Keeps the file `path` as it is now as its backup. Nothing to keep (no file) is a success.
// The backup is replaced as replaceFile replaces a file: it is either the previous
// backup or the new one. A link, a folder, a pipe or a device at the backup's name is never
// followed nor replaced: the backup fails and it is left as it is. Returns "" or a Russian
// message naming the backup and the cause.
std::string keepBackup(const std::string& path);

}  // namespace zelmo::engine
