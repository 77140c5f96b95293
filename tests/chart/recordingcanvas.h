#pragma once

#include <QString>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "chart/tcanvas3d.h"

namespace zelmo::chart {

// One call made on a recording canvas, with the drawing state at the time of the call.
struct TCanvasRecord {
    // The operation's name: a flat primitive ("MoveTo", "LineTo", "FillPolygon", "Rectangle2D",
    // "FillRect", "TextOut2D", "ClipPolygon", "ClipRectangle", "Unclip", "SetTextAlignment")
    // or a 3D operation ("ProjectPoint", "DrawPyramid", "HorizontalFace", "ClipToBox", ...).
    std::string Kind;
    // Screen points: LineTo from/to, polygon vertices, rectangle top-left and bottom-right,
    // text position; for ProjectPoint the projected point.
    std::vector<TPoint> Points;
    // Integer arguments of a 3D operation in declaration order (booleans as 0/1), or the
    // flags of SetTextAlignment.
    std::vector<int> Args;
    QString Text;
    TPenData Pen;
    TBrushData Brush;
    TFontData Font;
    TBackMode BackMode = TBackMode::Opaque;
    TColor BackColor = clWhite;
    unsigned Alignment = 0;
};

// A canvas for tests that draws nothing and lists every call with its exact integer arguments
// and the pen, brush and font at that moment. 3D operations are listed and then run the
// common implementation, so the flat calls they make are listed after them. Text sizes come
// from TextWidth and TextHeight, which a test may replace.
class TRecordingCanvas : public TChartCanvas3D {
  public:
    TRecordingCanvas();

    std::vector<TCanvasRecord> Records;
    std::function<int(const TFontData&, const QString&)> TextWidth;
    std::function<int(const TFontData&, const QString&)> TextHeight;

    // The records of one kind, or of any of several kinds, in call order.
    std::vector<TCanvasRecord> Of(const std::string& kind) const;
    std::vector<TCanvasRecord> Of(std::initializer_list<std::string> kinds) const;
    // The kinds of all records in order, leaving out ProjectPoint queries.
    std::vector<std::string> Kinds() const;
    void Clear() { Records.clear(); }

    unsigned TextAlignment() const { return alignment_; }
    TPoint PenPosition() const { return penPos_; }

    void SetTextAlignment(unsigned flags) override;
    void TextOut2D(int x, int y, const QString& text) override;
    int MeasureTextWidth(const QString& text) override;
    int MeasureTextHeight(const QString& text) override;
    void Rectangle2D(const TRect& r) override;
    void FillPolygon(std::span<const TPoint> points) override;
    void Unclip() override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void FillRect(const TRect& r) override;
    void ClipPolygon(std::span<const TPoint> points) override;
    void ClipRectangle(const TRect& r) override;

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

  private:
    TCanvasRecord& Add(std::string kind, std::vector<TPoint> points = {},
                       std::vector<int> args = {});

    unsigned alignment_ = TA_LEFT | TA_TOP;
    TPoint penPos_;
};

}  // namespace zelmo::chart
