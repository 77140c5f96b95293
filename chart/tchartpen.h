// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chart/chartproperty.h"
#include "chart/tchartcanvas.h"

#include <functional>

namespace zelmo::chart {

// A pen of a chart element (bar outline, axis line, grid, mark frame): the colour, width,
// style and mode a drawing pen takes, plus a Visible flag and a one-pixel dotted variant.
// Changing a property to a different value calls OnChange, through which the owner repaints.
class TChartPen {
  public:
    TChartPen() = default;
    TChartPen(TColor color, int width, TPenStyle style, bool visible);
    TChartPen(const TChartPen& other);
    TChartPen& operator=(const TChartPen& other);
    virtual ~TChartPen() = default;

    TColor Color() const { return color_; }
    int Width() const { return width_; }
    TPenStyle Style() const { return style_; }
    TPenMode Mode() const { return mode_; }
    bool Visible() const { return visible_; }
    bool SmallDots() const { return smallDots_; }

    void SetColor(TColor value);
    void SetWidth(int value);
    void SetStyle(TPenStyle value);
    void SetMode(TPenMode value);
    void SetVisible(bool value);
    void SetSmallDots(bool value);

    // Takes every property of another pen; calls OnChange once when anything differed.
    void Assign(const TChartPen& other);

    // Called after a property changed; copying a pen does not copy its owner's handler.
    std::function<void()> OnChange;

  protected:
    void Changed();

  private:
    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = TPenStyle::psSolid;
    TPenMode mode_ = TPenMode::pmCopy;
    bool visible_ = true;
    bool smallDots_ = false;
};

// A pen that starts invisible (minor grid, title frame).
class TChartHiddenPen : public TChartPen {
  public:
    TChartHiddenPen();
};

// The pen of an axis line: two pixels wide.
class TChartAxisPen : public TChartPen {
  public:
    TChartAxisPen();
};

// The pen of the ticks: dark grey.
class TDarkGrayPen : public TChartPen {
  public:
    TDarkGrayPen();
};

// The pen of the grid: dark grey, dotted.
class TDottedGrayPen : public TChartPen {
  public:
    TDottedGrayPen();
};

// The pen of a mark's arrow: white, one pixel, solid.
class TChartArrowPen : public TChartPen {
  public:
    TChartArrowPen();
};

// The brush of a chart element; its colour starts as AutoColor (take the owner's colour).
class TChartBrush {
  public:
    TChartBrush() = default;
    TChartBrush(const TChartBrush& other);
    TChartBrush& operator=(const TChartBrush& other);
    virtual ~TChartBrush() = default;

    TColor Color() const { return color_; }
    TBrushStyle Style() const { return style_; }

    void SetColor(TColor value);
    void SetStyle(TBrushStyle value);

    void Assign(const TChartBrush& other);

    std::function<void()> OnChange;

  protected:
    void Changed();

  private:
    TColor color_ = AutoColor;
    TBrushStyle style_ = TBrushStyle::bsSolid;
};

}  // namespace zelmo::chart
