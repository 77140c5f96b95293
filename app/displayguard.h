// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// While the application connects to the window system: Qt ends a program that finds no
// display with a fatal message (in English) and an abort. Held around the construction of
// QApplication, this guard says so in Russian instead and ends the program with status 1.
// Qt's other messages of that time are passed on when the guard goes; on the fatal one they
// are dropped, since the Russian message tells what happened.
namespace zelmo::app {

class DisplayGuard {
  public:
    DisplayGuard();
    ~DisplayGuard();
    DisplayGuard(const DisplayGuard&) = delete;
    DisplayGuard& operator=(const DisplayGuard&) = delete;
};

}  // namespace zelmo::app
