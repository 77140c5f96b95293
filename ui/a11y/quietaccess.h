// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QObject;

// While the window plays faster than anyone can listen, every move changes the names of the
// cells, the counters, the status line and the chart's description, dozens of times a second;
// a screen reader handles each change as an event and falls ever further behind. So while it is
// quiet, assistive technology hears none of the program's name, description, state and list
// changes, except those of the control with the focus (the player may change a grade meanwhile)
// and of the announcer, which summarises; when it ends, every object whose change was held back
// is told once, so that a screen reader's picture is current again. The session makes it quiet
// while the window plays by itself faster than the announcer speaks.
namespace zelmo::ui::quietaccess {

// Holds the changes back from now on; `voice` (the announcer) is always heard.
void begin(const QObject* voice);
// Tells each held-back change once and lets changes through again.
void end();
bool quiet();

}  // namespace zelmo::ui::quietaccess
