// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chart/tbarseries.h"
#include "chart/tcustomchart.h"

namespace zelmo::chart {

// Applies the score chart's configuration to Chart1 and Series1 (everything but the control's
// size) and attaches the series to the chart if it is not attached yet; the window then adds
// the three score points.
void ConfigureScoreChart(TChart& chart, TBarSeries& series);

}  // namespace zelmo::chart
