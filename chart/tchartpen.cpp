#include "chart/tchartpen.h"

namespace zelmo::chart {

namespace {

// Stores value in field and reports whether it differed.
template <typename T>
bool Store(T& field, T value) {
    if (field == value) return false;
    field = value;
    return true;
}

}  // namespace

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
    if (OnChange) OnChange();
}

void TChartPen::SetColor(TColor value) {
    if (Store(color_, value)) Changed();
}

void TChartPen::SetWidth(int value) {
    if (Store(width_, value)) Changed();
}

void TChartPen::SetStyle(TPenStyle value) {
    if (Store(style_, value)) Changed();
}

void TChartPen::SetMode(TPenMode value) {
    if (Store(mode_, value)) Changed();
}

void TChartPen::SetVisible(bool value) {
    if (Store(visible_, value)) Changed();
}

void TChartPen::SetSmallDots(bool value) {
    if (Store(smallDots_, value)) Changed();
}

void TChartPen::Assign(const TChartPen& other) {
    if (this == &other) return;
    bool changed = Store(color_, other.color_);
    changed = Store(width_, other.width_) || changed;
    changed = Store(style_, other.style_) || changed;
    changed = Store(mode_, other.mode_) || changed;
    changed = Store(visible_, other.visible_) || changed;
    changed = Store(smallDots_, other.smallDots_) || changed;
    if (changed) Changed();
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
    if (OnChange) OnChange();
}

void TChartBrush::SetColor(TColor value) {
    if (Store(color_, value)) Changed();
}

void TChartBrush::SetStyle(TBrushStyle value) {
    if (Store(style_, value)) Changed();
}

void TChartBrush::Assign(const TChartBrush& other) {
    if (this == &other) return;
    bool changed = Store(color_, other.color_);
    changed = Store(style_, other.style_) || changed;
    if (changed) Changed();
}

}  // namespace zelmo::chart
