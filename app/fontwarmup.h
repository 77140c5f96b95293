// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <thread>

// The first font the window asks for makes fontconfig read its configuration and its caches,
// the largest single cost of the start-up. Begun on a thread of its own before the connection
// to the display is made, that reading runs while the main thread loads Qt's platform plugin
// and talks to the window system, which need no font; the window waits only for what is left.
namespace zelmo::app {

class FontConfigWarmUp {
  public:
    FontConfigWarmUp();
    ~FontConfigWarmUp();  // waits, as finish() does
    FontConfigWarmUp(const FontConfigWarmUp&) = delete;
    FontConfigWarmUp& operator=(const FontConfigWarmUp&) = delete;

    // Returns once fontconfig is ready; call before the first font is asked for, so that the
    // font database does not read the configuration a second time meanwhile.
    void finish();

  private:
    std::thread thread_;
};

}  // namespace zelmo::app
