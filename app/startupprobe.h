// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

// Start-up measurement for bench/startup: when the environment variable ZELMO_STARTUP_PROBE is
// set, the program prints one line once its first frame has gone to the window system: the time
// since it was spawned and its resident memory at that moment. Used by the game and by the
// floor program it is compared with, so both are measured by the same code.
namespace zelmo::app {

// Watches `window` for its first frame if ZELMO_STARTUP_PROBE is set; otherwise does nothing
// beyond reading the variable. The value is the CLOCK_MONOTONIC time in nanoseconds taken just
// before the process was spawned; any other value measures from this call instead.
void watchStartup(QWidget& window);

}  // namespace zelmo::app
