// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Where the computer's memory is kept and whether it can be saved there: the per-user file
// behind `zelmo --keep-memory`, and the start-up check of a memory file's folder, so that a
// folder that is missing or read-only is reported when the window opens, not after a game.
namespace zelmo::ui {

// The kept memory: $XDG_DATA_HOME/zelmo/memory.zelmo, or ~/.local/share/zelmo/memory.zelmo
// when XDG_DATA_HOME is unset, empty or not an absolute path; "" when HOME is not an absolute
// path either (there is no folder of the user's to keep it in).
QString keptMemoryPath();

// Whether the folder of a memory file may be created (the kept memory's own folder) or must
// already exist (a file the player named).
enum class FolderPolicy { MustExist, Create };

// "" when the folder of `path` exists (after creating it, under FolderPolicy::Create) and a
// save could replace the file (engine::checkReplaceable: a temporary file is created in the
// folder and removed again); otherwise a Russian message naming the file and the cause.
QString checkMemoryFolder(const QString& path, FolderPolicy policy);

}  // namespace zelmo::ui
