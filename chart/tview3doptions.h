// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

namespace zelmo::chart {

// How the chart's third dimension is shown: orthogonal or rotated, zoom, offsets and angles.
// Owned by the chart; every setter that changes a value calls OnChange (the chart repaints).
class TView3DOptions {
  public:
    bool Orthogonal() const { return orthogonal_; }
    int Zoom() const { return zoom_; }
    bool ZoomText() const { return zoomText_; }
    // Rotation, Elevation, Perspective and Tilt belong to the view's interface and are kept
    // for its owner; the view is always drawn orthogonally, so they do not move a pixel.
    int Rotation() const { return rotation_; }
    int Elevation() const { return elevation_; }
    int Perspective() const { return perspective_; }
    int HorizOffset() const { return horizOffset_; }
    int VertOffset() const { return vertOffset_; }
    int Tilt() const { return tilt_; }

    void SetOrthogonal(bool value);
    void SetZoom(int value);
    void SetZoomText(bool value);
    void SetRotation(int value);
    void SetElevation(int value);
    void SetPerspective(int value);
    void SetHorizOffset(int value);
    void SetVertOffset(int value);
    void SetTilt(int value);

    std::function<void()> OnChange;

  private:
    template <typename T>
    void Set(T& field, T value);

    bool orthogonal_ = true;
    int zoom_ = 100;
    bool zoomText_ = true;
    int rotation_ = 345;
    int elevation_ = 345;
    int perspective_ = 15;
    int horizOffset_ = 0;
    int vertOffset_ = 0;
    int tilt_ = 0;
};

}  // namespace zelmo::chart
