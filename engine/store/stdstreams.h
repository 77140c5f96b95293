// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace zelmo::engine {

// Opens every closed one of the descriptors 0, 1 and 2 on /dev/null (reading for 0, writing for
// 1 and 2). A program started with a standard stream closed would otherwise hand that number
// to the next file it opens and write its output or errors into that file. Both programs call
// it as the very first thing in main, before anything opens a file.
void openClosedStandardStreams();

}  // namespace zelmo::engine
