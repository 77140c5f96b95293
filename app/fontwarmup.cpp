// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/fontwarmup.h"

#include <fontconfig/fontconfig.h>

namespace zelmo::app {

// FcInit() loads the default configuration once per process; the font database's own call
// then finds it ready. Should it fail, the database's call tries again and reports as usual.
FontConfigWarmUp::FontConfigWarmUp() : thread_([] { FcInit(); }) {}

FontConfigWarmUp::~FontConfigWarmUp() {
    finish();
}

void FontConfigWarmUp::finish() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

}  // namespace zelmo::app
