// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/form/scorechart.h"

#include <cstdint>

// How the window sets up its configurable controls: the score chart and its series (from
// ui/form/scorechart.h), and the grade spinners. The window calls these while it builds its
// controls; tests, benchmarks and fuzz targets build the same chart and spinners with them.
namespace zelmo::ui {

class TSpinEdit;

// Sets up one of the window's grade spinners: the bounds 2..5 first, then the value, so that the
// value passes the clamping unchanged; not a tab stop and no auto-select.
void ConfigureGradeSpinner(TSpinEdit& spin, std::int32_t value, bool editorEnabled);

}  // namespace zelmo::ui
