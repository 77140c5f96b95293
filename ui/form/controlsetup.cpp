// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/form/controlsetup.h"

#include "engine/game/grades.h"
#include "ui/spin/spinedit.h"

namespace zelmo::ui {

void ConfigureGradeSpinner(TSpinEdit& spin, std::int32_t value, bool editorEnabled) {
    spin.setMaxValue(engine::grades::kHighest);
    spin.setMinValue(engine::grades::kLowest);
    spin.setValue(value);
    spin.setEditorEnabled(editorEnabled);
    spin.setAutoSelect(false);
    spin.setTabStop(false);
}

}  // namespace zelmo::ui
