// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chart/qtcanvas.h"
#include "chart/tchartcanvas.h"
#include "chart/tchartowner.h"
#include "chart/tview3doptions.h"

#include <QWidget>

namespace zelmo::chart {

enum class TPanelBevel { bvNone, bvLowered, bvRaised };
enum class TBorderStyle { bsNone, bsSingle };

// The panel under a chart: size, margins, bevels, background, the 3D options, the off-screen
// canvas, redraw requests and painting. A drawing pass runs on any 3D canvas over a given
// drawing area (the widget's own off-screen canvas when painting, a recording one in tests);
// derived classes fill in the chart's steps of the pass, its axes and its series. The parts of
// the chart reach it through TChartOwner.
class TCustomChartPanel : public QWidget, public TChartOwner {
  public:
    explicit TCustomChartPanel(QWidget* parent = nullptr);
    ~TCustomChartPanel() override;

    int MarginLeft() const { return marginLeft_; }
    void SetMarginLeft(int v) { Change(marginLeft_, v); }
    int MarginTop() const { return marginTop_; }
    void SetMarginTop(int v) { Change(marginTop_, v); }
    int MarginRight() const { return marginRight_; }
    void SetMarginRight(int v) { Change(marginRight_, v); }
    int MarginBottom() const { return marginBottom_; }
    void SetMarginBottom(int v) { Change(marginBottom_, v); }
    TPanelBevel BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TPanelBevel v) { Change(bevelOuter_, v); }
    TPanelBevel BevelInner() const { return bevelInner_; }
    void SetBevelInner(TPanelBevel v) { Change(bevelInner_, v); }
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int v) { Change(bevelWidth_, v); }
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int v) { Change(borderWidth_, v); }
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle v) { Change(borderStyle_, v); }
    TColor Color() const override { return color_; }
    void SetColor(TColor v) { Change(color_, v); }
    bool View3D() const override { return view3D_; }
    void SetView3D(bool v) { Change(view3D_, v); }
    int Chart3DPercent() const { return chart3DPercent_; }
    // ChartException outside 1..100; the old value stays.
    void SetChart3DPercent(int v);
    TView3DOptions& View3DOptions() { return view3DOptions_; }
    const TView3DOptions& View3DOptions() const override { return view3DOptions_; }
    // Part of the panel's interface, kept for its owner: the background is always plain.
    bool GradientVisible() const { return gradientVisible_; }
    void SetGradientVisible(bool v) { Change(gradientVisible_, v); }

    // Geometry of the current drawing pass.
    const TRect& OuterRect() const { return outerRect_; }
    const TRect& PlotRect() const override { return plotRect_; }
    int PlotWidth() const { return plotRect_.Width(); }
    int PlotHeight() const { return plotRect_.Height(); }
    int PlotCenterX() const { return (plotRect_.Left + plotRect_.Right) / 2; }
    int PlotCenterY() const { return (plotRect_.Top + plotRect_.Bottom) / 2; }
    // Replaces PlotRect and normalises it.
    void SetPlotRect(const TRect& r) override;

    // Marks the cached image stale and asks for a repaint, once the chart is fully built.
    void RequestRedraw() override;
    long RedrawRequests() const { return redrawRequests_; }
    long DrawPasses() const { return drawPasses_; }

    // One drawing pass over outerRect onto the given canvas.
    void Draw(TChartCanvas3D& canvas, const TRect& outerRect);
    // The canvas of the running pass (the widget's own canvas outside a pass).
    TChartCanvas3D& Canvas() const override { return *canvas_; }
    TQtChartCanvas& OffscreenCanvas() { return qtCanvas_; }
    // The client area inside the sunken edge, in widget coordinates.
    QRect DrawingArea() const;

  protected:
    // The chart's steps of the pass, after the canvas is prepared.
    virtual void DrawChart() = 0;
    void PaintPanel();
    // Redraw requests are ignored until the most derived constructor calls this.
    void FinishConstruction() { constructed_ = true; }

    void paintEvent(QPaintEvent* event) override;

  private:
    void DrawBevel(TRect& r, TPanelBevel bevel);
    void BevelLine(TRect& r, TColor light, TColor dark);

    int marginLeft_ = 3;
    int marginTop_ = 4;
    int marginRight_ = 3;
    int marginBottom_ = 4;
    TPanelBevel bevelOuter_ = TPanelBevel::bvRaised;
    TPanelBevel bevelInner_ = TPanelBevel::bvNone;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    TBorderStyle borderStyle_ = TBorderStyle::bsNone;
    TColor color_ = clBtnFace;
    bool view3D_ = true;
    int chart3DPercent_ = 15;
    TView3DOptions view3DOptions_;
    bool gradientVisible_ = false;

    TRect outerRect_;
    TRect plotRect_;

    bool constructed_ = false;
    long redrawRequests_ = 0;
    long drawPasses_ = 0;
    TQtChartCanvas qtCanvas_;
    TChartCanvas3D* canvas_ = &qtCanvas_;
};

}  // namespace zelmo::chart
