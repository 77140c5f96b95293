// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace zelmo::chart {

// Stores value in field and answers whether it differed. Every chart property setter goes
// through it, so that setting the same value again requests no redraw.
template <typename T>
bool SetIfChanged(T& field, const T& value) {
    if (field == value) {
        return false;
    }
    field = value;
    return true;
}

// Anything whose properties show on the chart: the chart itself and each of its parts. A
// setter stores its value through Change, which requests a redraw when the value differed.
class TChartElement {
  public:
    virtual ~TChartElement() = default;
    // The chart marks its picture stale and repaints; a part passes the request to its chart.
    virtual void RequestRedraw() = 0;

  protected:
    template <typename T>
    void Change(T& field, const T& value) {
        if (SetIfChanged(field, value)) {
            RequestRedraw();
        }
    }
    // Makes a pen, brush or option set of this element request a redraw when it changes.
    template <typename Notifier>
    void RedrawOnChange(Notifier& notifier) {
        notifier.OnChange = [this] { RequestRedraw(); };
    }
};

}  // namespace zelmo::chart
