// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/store/atomicfile.h"
#include "engine/store/memoryformat.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zelmo::engine {

// The memory file on disk: the format of memoryformat.h read from and safely written to a
// path with the rules of atomicfile.h. Used by the window's memory store and the trainer.

// Reads the whole document. Missing when the file does not exist; `out` is left untouched
// unless the result is Ok. A file that is not regular (a folder, a pipe, a device) is refused
// without being waited on. A memory of another side than `side` is WrongSide (none: either).
MemoryLoadResult loadMemoryFile(const std::string& path, MemoryDocument& out,
                                std::optional<MemorySide> side = MemorySide::Nought);

// Replaces the file with already encoded bytes (encodeMemory): the file holds either the old
// or the new memory whatever happens. Returns "" on success, else a clear message naming the
// file. Encoding on one thread and saving on another needs nothing more than the bytes.
std::string saveMemoryFile(const std::string& path, const std::vector<std::uint8_t>& encoded,
                           SaveSteps& steps);
std::string saveMemoryFile(const std::string& path, const std::vector<std::uint8_t>& encoded);

// "Не удалось сохранить память компьютера в файл «PATH»: reason", for a save's failure.
std::string notSavedMessage(const std::string& path, const std::string& reason);

// Checks before a run that a later save to `path` can succeed (checkReplaceable); "" or a
// message naming the file.
std::string checkMemorySavePath(const std::string& path);

}  // namespace zelmo::engine
