// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/tview3doptions.h"

#include "chart/chartproperty.h"

namespace zelmo::chart {

template <typename T>
void TView3DOptions::Set(T& field, T value) {
    if (SetIfChanged(field, value) && OnChange) {
        OnChange();
    }
}

void TView3DOptions::SetOrthogonal(bool value) {
    Set(orthogonal_, value);
}
void TView3DOptions::SetZoom(int value) {
    Set(zoom_, value);
}
void TView3DOptions::SetZoomText(bool value) {
    Set(zoomText_, value);
}
void TView3DOptions::SetRotation(int value) {
    Set(rotation_, value);
}
void TView3DOptions::SetElevation(int value) {
    Set(elevation_, value);
}
void TView3DOptions::SetPerspective(int value) {
    Set(perspective_, value);
}
void TView3DOptions::SetHorizOffset(int value) {
    Set(horizOffset_, value);
}
void TView3DOptions::SetVertOffset(int value) {
    Set(vertOffset_, value);
}
void TView3DOptions::SetTilt(int value) {
    Set(tilt_, value);
}

}  // namespace zelmo::chart
