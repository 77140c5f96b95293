// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/store/atomicfile.h"
#include "engine/store/memoryformat.h"
#include "engine/store/memorylock.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zelmo::engine {

// One program's hold on the memory file it writes, for the trainer and the window's store:
// the file's lock (memorylock.h), the file as this program last read or wrote it, and saves
// that replace the file only while it is still that file. A file that another program changed
// in between is left as it is, and the memory goes to a new file beside it (conflictPathOf),
// where the saves after it go too, so that neither side's learning is lost.
class MemoryWriter {
  public:
    // What a save did.
    struct Outcome {
        std::string failure;     // "" or why the memory is not (safely) saved, naming the file
        std::string divertedTo;  // the new file the memory went to instead, "" when none
        std::string notice;      // a diversion, told: kChangedUnder with both names
    };

    MemoryWriter(std::string path, std::string_view program);

    // Tries to take the file's lock (once; later calls return the first answer).
    const MemoryLock& lock();

    // The lock taken as a program that writes the file for a whole run tells it: Held (another
    // program has the file; `message` names it), Failed (no lock and no file can be made there,
    // the folder's problem told before the lock's), or Ok: locked, or going on without a lock
    // where the file system takes none (`message` says so).
    struct Taken {
        enum class Kind { Ok, Held, Failed } kind = Kind::Ok;
        std::string message;
    };
    Taken take();
    const MemoryLock& lockState() const { return lock_; }

    // Notes the file as it is now as the file last seen, then reads the whole document
    // (loadMemoryFile, of `side`).
    MemoryLoadResult load(MemoryDocument& out, std::optional<MemorySide> side = MemorySide::Nought);
    // Notes the file as it is now, for a writer that replaces a file without reading it.
    void noteCurrent();

    // Replaces the file with `encoded` if it is still the file last seen; else saves to a new
    // name beside it.
    Outcome save(const std::vector<std::uint8_t>& encoded);

    // Where the next save goes: the path given, or the new file of a diversion.
    const std::string& path() const { return path_; }

  private:
    std::string path_;
    std::string program_;
    MemoryLock lock_;
    bool tried_ = false;
    FileIdentity seen_;
};

}  // namespace zelmo::engine
