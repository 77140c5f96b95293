// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "chart/tcanvas3d.h"

namespace zelmo::chart {

// One call made on a recording canvas, with the drawing state at the time of the call.
struct TCanvasRecord {
    std::string Kind;  // the operation's name, e.g. "LineTo", "FillPolygon", "DrawPyramid"
    // Screen points of a flat primitive: line from/to, polygon vertices, rectangle corners,
    // text position.
    std::vector<TPoint> Points;
    std::vector<int> Args;  // integer arguments of a 3D operation (booleans as 0/1)
    QString Text;
    TPenData Pen;
    TBrushData Brush;
    TFontData Font;
    TBackMode BackMode = TBackMode::Opaque;
    TColor BackColor = clWhite;
    unsigned Alignment = 0;
};

// Lists a 3D operation with its integer arguments, then runs the common implementation, whose
// flat calls are listed after it.
#define ZELMO_RECORD_3D(Name, Params, ...) \
    void Name Params override {            \
        Add(#Name, {}, {__VA_ARGS__});     \
        TChartCanvas3D::Name(__VA_ARGS__); \
    }

// A canvas for tests that draws nothing and lists every call with its exact integer arguments
// and the pen, brush and font at that moment. Text sizes come from TextWidth and TextHeight:
// by default 6 pixels per character and 14 high.
class TRecordingCanvas : public TChartCanvas3D {
  public:
    std::vector<TCanvasRecord> Records;
    std::function<int(const TFontData&, const QString&)> TextWidth =
        [](const TFontData&, const QString& text) { return 6 * static_cast<int>(text.size()); };
    std::function<int(const TFontData&, const QString&)> TextHeight =
        [](const TFontData&, const QString&) { return 14; };
    unsigned Alignment = TA_LEFT | TA_TOP;

    // The records of one kind (or of either of two kinds) in call order.
    std::vector<TCanvasRecord> Of(const std::string& kind, const std::string& other = {}) const {
        std::vector<TCanvasRecord> result;
        for (const TCanvasRecord& r : Records) {
            if (r.Kind == kind || r.Kind == other) {
                result.push_back(r);
            }
        }
        return result;
    }
    // The arguments of every 3D operation of a kind.
    std::vector<std::vector<int>> Args(const std::string& kind) const {
        std::vector<std::vector<int>> result;
        for (const TCanvasRecord& r : Of(kind)) {
            result.push_back(r.Args);
        }
        return result;
    }
    // The points of every flat primitive of a kind, as "(x,y)(x,y)...".
    std::vector<std::string> Pts(const std::string& kind) const {
        std::vector<std::string> result;
        for (const TCanvasRecord& r : Of(kind)) {
            result.push_back(Str(r.Points));
        }
        return result;
    }
    static std::string Str(const std::vector<TPoint>& points) {
        std::string s;
        for (const TPoint& p : points) {
            s += "(" + std::to_string(p.X) + "," + std::to_string(p.Y) + ")";
        }
        return s;
    }

    void SetTextAlignment(unsigned flags) override { Alignment = flags; }
    void TextOut2D(int x, int y, const QString& text) override {
        Add("TextOut2D", {{x, y}}).Text = text;
    }
    int MeasureTextWidth(const QString& text) override { return TextWidth(Font, text); }
    int MeasureTextHeight(const QString& text) override { return TextHeight(Font, text); }
    void Rectangle2D(const TRect& r) override { Add("Rectangle2D", Corners(r)); }
    void FillRect(const TRect& r) override { Add("FillRect", Corners(r)); }
    void ClipRectangle(const TRect& r) override { Add("ClipRectangle", Corners(r)); }
    void FillPolygon(std::span<const TPoint> p) override {
        Add("FillPolygon", {p.begin(), p.end()});
    }
    void ClipPolygon(std::span<const TPoint> p) override {
        Add("ClipPolygon", {p.begin(), p.end()});
    }
    void Unclip() override { Add("Unclip"); }
    void MoveTo(int x, int y) override { penPos_ = {x, y}; }
    void LineTo(int x, int y) override {
        Add("LineTo", {penPos_, {x, y}});
        penPos_ = {x, y};
    }

    void SetProjection(int depth, const TRect& outer, const TRect& plot) override {
        Add("SetProjection", {},
            {depth, outer.Left, outer.Top, outer.Right, outer.Bottom, plot.Left, plot.Top,
             plot.Right, plot.Bottom});
        TChartCanvas3D::SetProjection(depth, outer, plot);
    }
    void ClipToBox(const TRect& r, int z0, int z1) override {
        Add("ClipToBox", {}, {r.Left, r.Top, r.Right, r.Bottom, z0, z1});
        TChartCanvas3D::ClipToBox(r, z0, z1);
    }
    void TextAtDepth(int x, int y, int z, const QString& text) override {
        Add("TextAtDepth", {}, {x, y, z}).Text = text;
        TChartCanvas3D::TextAtDepth(x, y, z, text);
    }
    ZELMO_RECORD_3D(HLineAtDepth, (int x0, int x1, int y, int z), x0, x1, y, z)
    ZELMO_RECORD_3D(VLineAtDepth, (int x, int y0, int y1, int z), x, y0, y1, z)
    ZELMO_RECORD_3D(DepthLine, (int x, int y, int z0, int z1), x, y, z0, z1)
    ZELMO_RECORD_3D(LineWithDepth, (int x0, int y0, int x1, int y1, int z), x0, y0, x1, y1, z)
    ZELMO_RECORD_3D(HorizontalFace, (int x0, int y, int x1, int z0, int z1), x0, y, x1, z0, z1)
    ZELMO_RECORD_3D(DrawPyramid, (bool v, int l, int t, int r, int b, int z0, int z1, bool dark), v,
                    l, t, r, b, z0, z1, dark)

  private:
    static std::vector<TPoint> Corners(const TRect& r) {
        return {{r.Left, r.Top}, {r.Right, r.Bottom}};
    }
    TCanvasRecord& Add(std::string kind, std::vector<TPoint> points = {},
                       std::vector<int> args = {}) {
        Records.push_back({std::move(kind),
                           std::move(points),
                           std::move(args),
                           {},
                           Pen,
                           Brush,
                           Font,
                           BackMode,
                           BackColor,
                           Alignment});
        return Records.back();
    }

    TPoint penPos_;
};

#undef ZELMO_RECORD_3D

}  // namespace zelmo::chart
