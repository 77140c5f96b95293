#include "recordingcanvas.h"

#include <algorithm>
#include <utility>

namespace zelmo::chart {

TRecordingCanvas::TRecordingCanvas()
    : TextWidth(
          [](const TFontData&, const QString& text) { return 6 * static_cast<int>(text.size()); }),
      TextHeight([](const TFontData&, const QString&) { return 14; }) {}

TCanvasRecord& TRecordingCanvas::Add(std::string kind, std::vector<TPoint> points,
                                     std::vector<int> args) {
    TCanvasRecord record;
    record.Kind = std::move(kind);
    record.Points = std::move(points);
    record.Args = std::move(args);
    record.Pen = Pen;
    record.Brush = Brush;
    record.Font = Font;
    record.BackMode = BackMode;
    record.BackColor = BackColor;
    record.Alignment = alignment_;
    Records.push_back(std::move(record));
    return Records.back();
}

std::vector<TCanvasRecord> TRecordingCanvas::Of(const std::string& kind) const {
    return Of({kind});
}

std::vector<TCanvasRecord> TRecordingCanvas::Of(std::initializer_list<std::string> kinds) const {
    std::vector<TCanvasRecord> result;
    for (const TCanvasRecord& r : Records) {
        if (std::find(kinds.begin(), kinds.end(), r.Kind) != kinds.end()) result.push_back(r);
    }
    return result;
}

std::vector<std::string> TRecordingCanvas::Kinds() const {
    std::vector<std::string> result;
    for (const TCanvasRecord& r : Records) {
        if (r.Kind != "ProjectPoint") result.push_back(r.Kind);
    }
    return result;
}

void TRecordingCanvas::SetTextAlignment(unsigned flags) {
    alignment_ = flags;
    Add("SetTextAlignment", {}, {static_cast<int>(flags)});
}

void TRecordingCanvas::TextOut2D(int x, int y, const QString& text) {
    Add("TextOut2D", {{x, y}}).Text = text;
}

int TRecordingCanvas::MeasureTextWidth(const QString& text) {
    return TextWidth ? TextWidth(Font, text) : 0;
}

int TRecordingCanvas::MeasureTextHeight(const QString& text) {
    return TextHeight ? TextHeight(Font, text) : 0;
}

void TRecordingCanvas::Rectangle2D(const TRect& r) {
    Add("Rectangle2D", {{r.Left, r.Top}, {r.Right, r.Bottom}});
}

void TRecordingCanvas::FillPolygon(std::span<const TPoint> points) {
    Add("FillPolygon", {points.begin(), points.end()});
}

void TRecordingCanvas::Unclip() {
    Add("Unclip");
}

void TRecordingCanvas::MoveTo(int x, int y) {
    penPos_ = {x, y};
    Add("MoveTo", {{x, y}});
}

void TRecordingCanvas::LineTo(int x, int y) {
    Add("LineTo", {penPos_, {x, y}});
    penPos_ = {x, y};
}

void TRecordingCanvas::FillRect(const TRect& r) {
    Add("FillRect", {{r.Left, r.Top}, {r.Right, r.Bottom}});
}

void TRecordingCanvas::ClipPolygon(std::span<const TPoint> points) {
    Add("ClipPolygon", {points.begin(), points.end()});
}

void TRecordingCanvas::ClipRectangle(const TRect& r) {
    Add("ClipRectangle", {{r.Left, r.Top}, {r.Right, r.Bottom}});
}

TPoint TRecordingCanvas::ProjectPoint(int x, int y, int z) {
    const TPoint p = TChartCanvas3D::ProjectPoint(x, y, z);
    Add("ProjectPoint", {p}, {x, y, z});
    return p;
}

void TRecordingCanvas::PrepareView(const TView3DOptions* options, bool is3D) {
    Add("PrepareView", {}, {is3D ? 1 : 0});
    TChartCanvas3D::PrepareView(options, is3D);
}

void TRecordingCanvas::SetProjection(int totalDepth, const TRect& outerRect,
                                     const TRect& plotRect) {
    Add("SetProjection", {},
        {totalDepth, outerRect.Left, outerRect.Top, outerRect.Right, outerRect.Bottom,
         plotRect.Left, plotRect.Top, plotRect.Right, plotRect.Bottom});
    TChartCanvas3D::SetProjection(totalDepth, outerRect, plotRect);
}

void TRecordingCanvas::ClipToBox(const TRect& rect, int z0, int z1) {
    Add("ClipToBox", {}, {rect.Left, rect.Top, rect.Right, rect.Bottom, z0, z1});
    TChartCanvas3D::ClipToBox(rect, z0, z1);
}

void TRecordingCanvas::HLineAtDepth(int x0, int x1, int y, int z) {
    Add("HLineAtDepth", {}, {x0, x1, y, z});
    TChartCanvas3D::HLineAtDepth(x0, x1, y, z);
}

void TRecordingCanvas::VLineAtDepth(int x, int y0, int y1, int z) {
    Add("VLineAtDepth", {}, {x, y0, y1, z});
    TChartCanvas3D::VLineAtDepth(x, y0, y1, z);
}

void TRecordingCanvas::DepthLine(int x, int y, int z0, int z1) {
    Add("DepthLine", {}, {x, y, z0, z1});
    TChartCanvas3D::DepthLine(x, y, z0, z1);
}

void TRecordingCanvas::BeginFlatDrawing() {
    Add("BeginFlatDrawing");
    TChartCanvas3D::BeginFlatDrawing();
}

void TRecordingCanvas::EndFlatDrawing() {
    Add("EndFlatDrawing");
    TChartCanvas3D::EndFlatDrawing();
}

void TRecordingCanvas::LineWithDepth(int x0, int y0, int x1, int y1, int z) {
    Add("LineWithDepth", {}, {x0, y0, x1, y1, z});
    TChartCanvas3D::LineWithDepth(x0, y0, x1, y1, z);
}

void TRecordingCanvas::MoveToAtDepth(int x, int y, int z) {
    Add("MoveToAtDepth", {}, {x, y, z});
    TChartCanvas3D::MoveToAtDepth(x, y, z);
}

void TRecordingCanvas::LineToAtDepth(int x, int y, int z) {
    Add("LineToAtDepth", {}, {x, y, z});
    TChartCanvas3D::LineToAtDepth(x, y, z);
}

void TRecordingCanvas::DrawPyramid(bool vertical, int left, int top, int right, int bottom, int z0,
                                   int z1, bool dark) {
    Add("DrawPyramid", {}, {vertical ? 1 : 0, left, top, right, bottom, z0, z1, dark ? 1 : 0});
    TChartCanvas3D::DrawPyramid(vertical, left, top, right, bottom, z0, z1, dark);
}

void TRecordingCanvas::HorizontalFace(int x0, int y, int x1, int z0, int z1) {
    Add("HorizontalFace", {}, {x0, y, x1, z0, z1});
    TChartCanvas3D::HorizontalFace(x0, y, x1, z0, z1);
}

void TRecordingCanvas::TextAtDepth(int x, int y, int z, const QString& text) {
    Add("TextAtDepth", {}, {x, y, z}).Text = text;
    TChartCanvas3D::TextAtDepth(x, y, z, text);
}

}  // namespace zelmo::chart
