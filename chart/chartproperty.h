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

}  // namespace zelmo::chart
