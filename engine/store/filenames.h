// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// The names the file layer invents beside a file, and the folder's clean-up of those that a
// killed save left: used by atomicfile.cpp and the memory file's lock.
namespace zelmo::engine::filenames {

// The folder of `path` ("." for a bare name, "/" for a name in the root folder).
std::string directoryOf(const std::string& path);
// The last component of `path`.
std::string baseOf(const std::string& path);

// The `attempt`th temporary file of this process beside `target`: `.NAME.<pid>.<n>.tmp`.
std::string temporaryOf(const std::string& target, int attempt);

// Removes, once per target and process, the temporaries of `target` left by processes that no
// longer run (never one of a live process: it may be in the middle of its own save). Stale
// temporaries can only come from processes that ended before, so one clean-up per file and run
// suffices, and it comes before this process writes a temporary of its own: a disk filled by a
// dead process's temporary gets its room back first. Best effort.
void removeStaleTemporariesOnce(const std::string& target);

}  // namespace zelmo::engine::filenames
