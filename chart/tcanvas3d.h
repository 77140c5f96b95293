// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chart/tchartcanvas.h"

namespace zelmo::chart {

class TView3DOptions;

// The three-dimensional operations of the chart canvas: points given as (x, y, z), z being the
// depth in pixels behind the front plane. Declared in the order the chart relies on.
class TCanvas3D : public TChartCanvas {
  public:
    virtual TPoint ProjectPoint(int x, int y, int z) = 0;
    virtual void PrepareView(const TView3DOptions* options, bool is3D) = 0;
    virtual void SetProjection(int totalDepth, const TRect& outerRect, const TRect& plotRect) = 0;
    virtual void ClipToBox(const TRect& rect, int z0, int z1) = 0;
    virtual void HLineAtDepth(int x0, int x1, int y, int z) = 0;
    virtual void VLineAtDepth(int x, int y0, int y1, int z) = 0;
    virtual void DepthLine(int x, int y, int z0, int z1) = 0;
    virtual void BeginFlatDrawing() = 0;
    virtual void EndFlatDrawing() = 0;
    virtual void LineWithDepth(int x0, int y0, int x1, int y1, int z) = 0;
    virtual void MoveToAtDepth(int x, int y, int z) = 0;
    virtual void LineToAtDepth(int x, int y, int z) = 0;
    virtual void DrawPyramid(bool vertical, int left, int top, int right, int bottom, int z0,
                             int z1, bool dark) = 0;
    virtual void HorizontalFace(int x0, int y, int x1, int z0, int z1) = 0;
    virtual void TextAtDepth(int x, int y, int z, const QString& text) = 0;
};

// The orthogonal projection and the 3D operations built on the flat primitives; a drawing
// device derives from it (QPainter device in the chart, recording device in tests).
class TChartCanvas3D : public TCanvas3D {
  public:
    TPoint ProjectPoint(int x, int y, int z) override;
    void PrepareView(const TView3DOptions* options, bool is3D) override;
    void SetProjection(int totalDepth, const TRect& outerRect, const TRect& plotRect) override;
    void ClipToBox(const TRect& rect, int z0, int z1) override;
    void HLineAtDepth(int x0, int x1, int y, int z) override;
    void VLineAtDepth(int x, int y0, int y1, int z) override;
    void DepthLine(int x, int y, int z0, int z1) override;
    void BeginFlatDrawing() override;
    void EndFlatDrawing() override;
    void LineWithDepth(int x0, int y0, int x1, int y1, int z) override;
    void MoveToAtDepth(int x, int y, int z) override;
    void LineToAtDepth(int x, int y, int z) override;
    void DrawPyramid(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                     bool dark) override;
    void HorizontalFace(int x0, int y, int x1, int z0, int z1) override;
    void TextAtDepth(int x, int y, int z, const QString& text) override;

    bool Is3D() const { return is3D_; }
    bool OrthogonalMode() const { return orthogonalMode_; }
    double ZoomFactor() const { return zoomFactor_; }

  protected:
    const TView3DOptions* options_ = nullptr;
    bool is3D_ = false;
    bool orthogonalMode_ = false;
    double zoomFactor_ = 1.0;
    int projCenterX_ = 0;
    int projCenterY_ = 0;
    int projCenterZ_ = 0;
    int projOffsetX_ = 0;
    int projOffsetY_ = 0;
    bool savedIs3D_ = false;
};

}  // namespace zelmo::chart
