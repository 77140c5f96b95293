// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chart/tbarseries.h"
#include "chart/tcustomchart.h"

// The score chart as the window shows it. A library of its own beside the chart, so that the
// chart's tests, benchmark and fuzz target build the window's chart without the window.
namespace zelmo::ui {

// Applies the score chart's configuration to Chart1 and Series1 (everything but the control's
// size) and attaches the series to the chart if it is not attached yet; the window then adds
// the three score points.
void ConfigureScoreChart(chart::TChart& chart, chart::TBarSeries& series);

}  // namespace zelmo::ui
