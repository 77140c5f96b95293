// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/tchartpen.h"

namespace zelmo::chart {

TChartPen::TChartPen(TColor color, int width, TPenStyle style, bool visible)
    : color_(color), width_(width), style_(style), visible_(visible) {}

TChartPen::TChartPen(const TChartPen& other)
    : color_(other.color_),
      width_(other.width_),
      style_(other.style_),
      mode_(other.mode_),
      visible_(other.visible_),
      smallDots_(other.smallDots_) {}

TChartPen& TChartPen::operator=(const TChartPen& other) {
    Assign(other);
    return *this;
}

void TChartPen::Changed() {
    if (OnChange) {
        OnChange();
    }
}

void TChartPen::SetColor(TColor value) {
    if (SetIfChanged(color_, value)) {
        Changed();
    }
}

void TChartPen::SetWidth(int value) {
    if (SetIfChanged(width_, value)) {
        Changed();
    }
}

void TChartPen::SetStyle(TPenStyle value) {
    if (SetIfChanged(style_, value)) {
        Changed();
    }
}

void TChartPen::SetMode(TPenMode value) {
    if (SetIfChanged(mode_, value)) {
        Changed();
    }
}

void TChartPen::SetVisible(bool value) {
    if (SetIfChanged(visible_, value)) {
        Changed();
    }
}

void TChartPen::SetSmallDots(bool value) {
    if (SetIfChanged(smallDots_, value)) {
        Changed();
    }
}

void TChartPen::Assign(const TChartPen& other) {
    if (this == &other) {
        return;
    }
    bool changed = SetIfChanged(color_, other.color_);
    changed = SetIfChanged(width_, other.width_) || changed;
    changed = SetIfChanged(style_, other.style_) || changed;
    changed = SetIfChanged(mode_, other.mode_) || changed;
    changed = SetIfChanged(visible_, other.visible_) || changed;
    changed = SetIfChanged(smallDots_, other.smallDots_) || changed;
    if (changed) {
        Changed();
    }
}

TChartHiddenPen::TChartHiddenPen() : TChartPen(clBlack, 1, TPenStyle::psSolid, false) {}

TChartAxisPen::TChartAxisPen() : TChartPen(clBlack, 2, TPenStyle::psSolid, true) {}

TDarkGrayPen::TDarkGrayPen() : TChartPen(clGray, 1, TPenStyle::psSolid, true) {}

TDottedGrayPen::TDottedGrayPen() : TChartPen(clGray, 1, TPenStyle::psDot, true) {}

TChartArrowPen::TChartArrowPen() : TChartPen(clWhite, 1, TPenStyle::psSolid, true) {}

TChartBrush::TChartBrush(const TChartBrush& other) : color_(other.color_), style_(other.style_) {}

TChartBrush& TChartBrush::operator=(const TChartBrush& other) {
    Assign(other);
    return *this;
}

void TChartBrush::Changed() {
    if (OnChange) {
        OnChange();
    }
}

void TChartBrush::SetColor(TColor value) {
    if (SetIfChanged(color_, value)) {
        Changed();
    }
}

void TChartBrush::SetStyle(TBrushStyle value) {
    if (SetIfChanged(style_, value)) {
        Changed();
    }
}

void TChartBrush::Assign(const TChartBrush& other) {
    if (this == &other) {
        return;
    }
    bool changed = SetIfChanged(color_, other.color_);
    changed = SetIfChanged(style_, other.style_) || changed;
    if (changed) {
        Changed();
    }
}

// Defined beside the pen, so that the canvas needs no more of the pen than its name.
void TChartCanvas::ApplyChartPen(const TChartPen& pen) {
    Pen.Color = pen.Color();
    Pen.Width = pen.Width();
    Pen.Mode = pen.Mode();
    Pen.SmallDots = false;
    if (!pen.Visible()) {
        Pen.Style = TPenStyle::psClear;
        return;
    }
    Pen.Style = pen.Style();
    // The one-pixel dotted pen exists only for width 1; a wider pen ignores the flag.
    if (pen.SmallDots() && pen.Width() == 1) {
        Pen.SmallDots = true;
    }
}

}  // namespace zelmo::chart
