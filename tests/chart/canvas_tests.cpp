// The chart canvas replayed on the recording canvas: projection, pyramid faces, box clip,
// colours, brushes and pens.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPalette>

#include <string>
#include <vector>

#include "chart/tchartpen.h"
#include "chart/tview3doptions.h"
#include "recordingcanvas.h"

namespace zelmo::chart {
namespace {

using Points = std::vector<TPoint>;

constexpr TColor kRed = 0x0000FF;
constexpr TColor kDarkRed = 0x00007F;  // RGB(127,0,0)
constexpr TColor kBaseRed = 0x0000BF;  // RGB(191,0,0)

// The plot of the worked examples: a 213 x 221 area, depth 3.
constexpr TRect kOuter{0, 0, 213, 221};
constexpr TRect kPlot{11, 27, 199, 201};

std::string Str(const TPoint& p) {
    return "(" + std::to_string(p.X) + "," + std::to_string(p.Y) + ")";
}

std::string Str(const Points& points) {
    std::string s;
    for (const TPoint& p : points) s += Str(p);
    return s;
}

// A recording canvas in the chart's default view with the given depth.
struct DefaultView {
    explicit DefaultView(int depth = 3) {
        canvas.PrepareView(&options, true);
        canvas.SetProjection(depth, kOuter, kPlot);
        canvas.Brush = {kRed, TBrushStyle::bsSolid};
        canvas.Records.clear();
    }
    TView3DOptions options;
    TRecordingCanvas canvas;
};

TEST(CanvasProjection, DefaultViewShiftsOnePixelRightAndUpPerDepth) {
    DefaultView v;
    EXPECT_TRUE(v.canvas.Is3D());
    EXPECT_TRUE(v.canvas.OrthogonalMode());
    EXPECT_EQ(v.canvas.ZoomFactor(), 1.0);
    EXPECT_EQ(v.canvas.ProjectPoint(40, 180, 0), (TPoint{40, 180}));
    EXPECT_EQ(v.canvas.ProjectPoint(40, 180, 3), (TPoint{43, 177}));
    EXPECT_EQ(v.canvas.ProjectPoint(-7, 0, 10), (TPoint{3, -10}));

    // Flat drawing switches 3D off but keeps the orthogonal mapping.
    v.canvas.BeginFlatDrawing();
    EXPECT_FALSE(v.canvas.Is3D());
    EXPECT_EQ(v.canvas.ProjectPoint(40, 180, 0), (TPoint{40, 180}));
    EXPECT_EQ(v.canvas.ProjectPoint(40, 180, 3), (TPoint{43, 177}));
    v.canvas.EndFlatDrawing();
    EXPECT_TRUE(v.canvas.Is3D());
}

TEST(CanvasProjection, FlatChartLeavesPointsUnchanged) {
    TView3DOptions options;
    TRecordingCanvas canvas;
    canvas.PrepareView(&options, false);
    canvas.SetProjection(0, kOuter, kPlot);
    EXPECT_FALSE(canvas.OrthogonalMode());
    EXPECT_EQ(canvas.ProjectPoint(40, 180, 3), (TPoint{40, 180}));
}

TEST(CanvasProjection, ZoomRoundsHalvesToEvenAndAddsOffsets) {
    TView3DOptions options;
    options.SetZoom(50);
    options.SetHorizOffset(5);
    options.SetVertOffset(-2);
    TRecordingCanvas canvas;
    canvas.PrepareView(&options, true);
    canvas.SetProjection(4, kOuter, {0, 0, 100, 100});
    EXPECT_EQ(canvas.ZoomFactor(), 0.5);
    // Centre (50,50), offsets (55,48): 5.5 -> 6, 6.5 -> 6, -1.5 -> -2.
    EXPECT_EQ(canvas.ProjectPoint(61, 50, 0), (TPoint{61, 48}));
    EXPECT_EQ(canvas.ProjectPoint(63, 50, 0), (TPoint{61, 48}));
    EXPECT_EQ(canvas.ProjectPoint(50, 50, 3), (TPoint{57, 46}));

    // The centre truncates toward zero: (-5 + 0) div 2 = -2, not -3.
    options.SetHorizOffset(0);
    options.SetVertOffset(0);
    canvas.SetProjection(4, kOuter, {-5, -5, 0, 0});
    EXPECT_EQ(canvas.ProjectPoint(2, 2, 0), (TPoint{0, 0}));
}

TEST(CanvasProjection, LinesAndTextAtDepthGoThroughTheProjection) {
    DefaultView v;
    v.canvas.HLineAtDepth(10, 20, 50, 3);
    v.canvas.VLineAtDepth(30, 40, 60, 2);
    v.canvas.DepthLine(37, 201, 0, 3);
    v.canvas.LineWithDepth(53, 100, 53, 80, 1);
    v.canvas.MoveToAtDepth(1, 2, 1);
    v.canvas.LineToAtDepth(5, 6, 1);
    v.canvas.TextAtDepth(10, 207, 0, QStringLiteral("Ничья"));
    const auto lines = v.canvas.Of("LineTo");
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(Str(lines[0].Points), "(13,47)(23,47)");
    EXPECT_EQ(Str(lines[1].Points), "(32,38)(32,58)");
    EXPECT_EQ(Str(lines[2].Points), "(37,201)(40,198)");
    EXPECT_EQ(Str(lines[3].Points), "(54,99)(54,79)");
    EXPECT_EQ(Str(lines[4].Points), "(2,1)(6,5)");
    const auto texts = v.canvas.Of("TextOut2D");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(Str(texts[0].Points), "(10,207)");
    EXPECT_EQ(texts[0].Text, QStringLiteral("Ничья"));
    EXPECT_EQ(texts[0].Font.Height, -11);
}

TEST(CanvasProjection, ZoomedTextUsesATemporarilyScaledFont) {
    TView3DOptions options;
    options.SetZoom(50);
    TRecordingCanvas canvas;
    canvas.PrepareView(&options, true);
    canvas.SetProjection(0, kOuter, {0, 0, 100, 100});
    canvas.Font.Height = -16;
    canvas.TextAtDepth(50, 50, 0, QStringLiteral("3"));
    options.SetZoomText(false);
    canvas.TextAtDepth(50, 50, 0, QStringLiteral("3"));
    const auto texts = canvas.Of("TextOut2D");
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].Font.Height, -8);
    EXPECT_EQ(texts[1].Font.Height, -16);
    EXPECT_EQ(canvas.Font.Height, -16);
}

TEST(Pyramid, TallBarDrawsFrontThenDarkRightFace) {
    DefaultView v;
    v.canvas.DrawPyramid(true, 40, 100, 66, 180, 0, 3, true);
    const auto faces = v.canvas.Of("FillPolygon");
    ASSERT_EQ(faces.size(), 2u);
    EXPECT_EQ(Str(faces[0].Points), "(40,180)(54,99)(66,180)");
    EXPECT_EQ(faces[0].Brush.Color, kRed);
    EXPECT_EQ(Str(faces[1].Points), "(66,180)(54,99)(69,177)");
    EXPECT_EQ(faces[1].Brush.Color, kDarkRed);
    EXPECT_TRUE(v.canvas.Of("HorizontalFace").empty());
    // The brush stays darkened for whoever draws next.
    EXPECT_EQ(v.canvas.Brush.Color, kDarkRed);
}

TEST(Pyramid, OnePixelHighBarShowsAllFourSlopingFaces) {
    DefaultView v;
    v.canvas.DrawPyramid(true, 40, 179, 66, 180, 0, 3, true);
    const auto faces = v.canvas.Of("FillPolygon");
    ASSERT_EQ(faces.size(), 4u);
    EXPECT_EQ(Str(faces[0].Points), "(40,180)(54,178)(66,180)") << "front";
    EXPECT_EQ(Str(faces[1].Points), "(40,180)(54,178)(43,177)") << "left";
    EXPECT_EQ(Str(faces[2].Points), "(66,180)(54,178)(69,177)") << "right";
    EXPECT_EQ(Str(faces[3].Points), "(54,178)(43,177)(69,177)") << "back";
    EXPECT_EQ(faces[0].Brush.Color, kRed);
    EXPECT_EQ(faces[1].Brush.Color, kRed);
    EXPECT_EQ(faces[2].Brush.Color, kDarkRed);
    EXPECT_EQ(faces[3].Brush.Color, kDarkRed);
    EXPECT_TRUE(v.canvas.Of("HorizontalFace").empty());
}

TEST(Pyramid, BackFacesNeedTheBackEdgeStrictlyAboveTheApex) {
    DefaultView v;
    // Two pixels high: the apex (54,177) is level with the back edge, so it hides nothing.
    v.canvas.DrawPyramid(true, 40, 178, 66, 180, 0, 3, true);
    const auto faces = v.canvas.Of("FillPolygon");
    ASSERT_EQ(faces.size(), 2u);
    EXPECT_EQ(Str(faces[0].Points), "(40,180)(54,177)(66,180)");
    EXPECT_EQ(Str(faces[1].Points), "(66,180)(54,177)(69,177)");
}

TEST(Pyramid, UpsideDownBarAddsTheBaseAfterItsFaces) {
    DefaultView v;
    v.canvas.DrawPyramid(true, 40, 190, 66, 180, 0, 3, true);
    const auto faces = v.canvas.Of("FillPolygon");
    ASSERT_EQ(faces.size(), 3u);
    EXPECT_EQ(Str(faces[0].Points), "(40,180)(54,189)(66,180)");
    EXPECT_EQ(faces[0].Brush.Color, kRed);
    EXPECT_EQ(faces[1].Brush.Color, kDarkRed);
    EXPECT_EQ(Str(faces[2].Points), "(40,180)(66,180)(69,177)(43,177)");
    EXPECT_EQ(faces[2].Brush.Color, kBaseRed) << "darkened from the base colour, not twice";
}

TEST(Pyramid, ZeroHeightBarDrawsOnlyTheBase) {
    DefaultView v;
    v.canvas.DrawPyramid(true, 40, 180, 66, 180, 0, 3, true);
    const auto kinds = v.canvas.Kinds();
    EXPECT_EQ(kinds, (std::vector<std::string>{"DrawPyramid", "HorizontalFace", "FillPolygon"}));
    const auto base = v.canvas.Of("HorizontalFace");
    ASSERT_EQ(base.size(), 1u);
    EXPECT_EQ(base[0].Args, (std::vector<int>{40, 180, 66, 0, 3}));
    const auto faces = v.canvas.Of("FillPolygon");
    ASSERT_EQ(faces.size(), 1u);
    EXPECT_EQ(Str(faces[0].Points), "(40,180)(66,180)(69,177)(43,177)");
    EXPECT_EQ(faces[0].Brush.Color, kBaseRed);
}

TEST(Pyramid, WithoutDarkeningEveryFaceKeepsTheBrushColour) {
    DefaultView v;
    v.canvas.DrawPyramid(true, 40, 179, 66, 180, 0, 3, false);
    v.canvas.DrawPyramid(true, 40, 180, 66, 180, 0, 3, false);
    const auto faces = v.canvas.Of("FillPolygon");
    ASSERT_EQ(faces.size(), 5u);
    for (const auto& f : faces) EXPECT_EQ(f.Brush.Color, kRed) << Str(f.Points);
}

TEST(Pyramid, HatchedBrushDarkensTheBackgroundColour) {
    DefaultView v;
    v.canvas.SetFillBrush(kRed, TBrushStyle::bsClear, clWhite);
    v.canvas.DrawPyramid(true, 40, 100, 66, 180, 0, 3, true);
    const auto faces = v.canvas.Of("FillPolygon");
    ASSERT_EQ(faces.size(), 2u);
    EXPECT_EQ(faces[0].BackColor, clWhite);
    EXPECT_EQ(faces[1].BackColor, 0x7F7F7Fu);
    EXPECT_EQ(faces[1].Brush.Color, kRed);
}

TEST(Clip, BoxInDefaultViewIsTheHexagon) {
    DefaultView v;
    v.canvas.ClipToBox(kPlot, 0, 3);
    const auto clips = v.canvas.Of({"ClipPolygon", "ClipRectangle"});
    ASSERT_EQ(clips.size(), 1u);
    EXPECT_EQ(clips[0].Kind, "ClipPolygon");
    // (L,B), (L,T), (L+d,T-d), (R+d,T-d), (R+d,B-d), (R,B)
    EXPECT_EQ(Str(clips[0].Points), "(11,201)(11,27)(14,24)(202,24)(202,198)(199,201)");
}

TEST(Clip, TiesTakeTheSecondCandidate) {
    DefaultView v;
    v.canvas.ClipToBox(kPlot, 0, 0);
    const auto clips = v.canvas.Of("ClipPolygon");
    ASSERT_EQ(clips.size(), 1u);
    // Point 3: (R,T,0) and (L,T,0) share y, so (L,T,0); point 5: (R,T,0) and (R,B,0) share
    // x, so (R,B,0).
    EXPECT_EQ(Str(clips[0].Points), "(11,201)(11,27)(11,27)(199,27)(199,201)(199,201)");
}

TEST(Clip, ReversedBoxMovesTheFirstPointUnderTheLast) {
    DefaultView v;
    v.canvas.ClipToBox({50, 20, 40, 60}, 0, 3);
    const auto clips = v.canvas.Of("ClipPolygon");
    ASSERT_EQ(clips.size(), 1u);
    EXPECT_EQ(Str(clips[0].Points), "(40,20)(50,20)(53,17)(43,17)(43,57)(40,60)");
}

TEST(Clip, FlatChartAndFlatDrawingClipToTheInnerRectangle) {
    TView3DOptions options;
    TRecordingCanvas canvas;
    canvas.PrepareView(&options, false);
    canvas.SetProjection(0, kOuter, kPlot);
    canvas.ClipToBox(kPlot, 0, 0);

    DefaultView v;
    v.canvas.BeginFlatDrawing();
    v.canvas.ClipToBox(kPlot, 0, 3);

    for (const TRecordingCanvas* c : {&canvas, &v.canvas}) {
        const auto clips = c->Of({"ClipPolygon", "ClipRectangle"});
        ASSERT_EQ(clips.size(), 1u);
        EXPECT_EQ(clips[0].Kind, "ClipRectangle");
        EXPECT_EQ(Str(clips[0].Points), "(12,28)(199,200)");
    }
}

TEST(CanvasColors, DarkenSubtractsFromEachChannelDownToZero) {
    EXPECT_EQ(DarkenColor(clRed, 128), kDarkRed);
    EXPECT_EQ(DarkenColor(clRed, 64), kBaseRed);
    EXPECT_EQ(DarkenColor(0x808080, 128), 0u) << "a channel equal to the amount becomes 0";
    EXPECT_EQ(DarkenColor(0x102030, 0x18), 0x000818u);
    EXPECT_EQ(DarkenColor(clWhite, 0), clWhite);
}

TEST(CanvasColors, SystemColoursComeFromTheApplicationPalette) {
    const QPalette saved = QGuiApplication::palette();
    QPalette palette = saved;
    palette.setColor(QPalette::Button, QColor(10, 200, 100));
    palette.setColor(QPalette::Light, QColor(250, 251, 252));
    palette.setColor(QPalette::Dark, QColor(90, 91, 92));
    palette.setColor(QPalette::WindowText, QColor(1, 2, 3));
    QGuiApplication::setPalette(palette);

    EXPECT_EQ(ColorToRGB(clBtnFace), 0x64C80Au);
    EXPECT_EQ(ColorToRGB(clBtnHighlight), 0xFCFBFAu);
    EXPECT_EQ(ColorToRGB(clBtnShadow), 0x5C5B5Au);
    EXPECT_EQ(ColorToRGB(clWindowText), 0x030201u);
    EXPECT_EQ(ColorToRGB(0x123456), 0x123456u);
    // The system colour is resolved before its channels are darkened.
    EXPECT_EQ(DarkenColor(clBtnFace, 64), 0x248800u);

    QGuiApplication::setPalette(saved);
}

TEST(CanvasColors, FillBrushAndBackgroundMode) {
    TRecordingCanvas canvas;
    canvas.SetFillBrush(clRed, TBrushStyle::bsSolid, clRed);
    EXPECT_EQ(canvas.Brush, (TBrushData{clRed, TBrushStyle::bsSolid}));
    EXPECT_EQ(canvas.BackMode, TBackMode::Transparent);

    // A hatch in its own background colour turns black, or white on black.
    canvas.SetFillBrush(clBlack, TBrushStyle::bsClear, clBlack);
    EXPECT_EQ(canvas.Brush, (TBrushData{clWhite, TBrushStyle::bsClear}));
    EXPECT_EQ(canvas.BackMode, TBackMode::Opaque);
    EXPECT_EQ(canvas.BackColor, clBlack);
    canvas.SetFillBrush(clBtnFace, TBrushStyle::bsClear, clBtnFace);
    EXPECT_EQ(canvas.Brush.Color, clBlack);
    EXPECT_EQ(canvas.BackColor, ColorToRGB(clBtnFace));
    canvas.SetFillBrush(clRed, TBrushStyle::bsClear, clWhite);
    EXPECT_EQ(canvas.Brush.Color, clRed);
}

TEST(CanvasPens, ChartPenBecomesTheDrawingPen) {
    TRecordingCanvas canvas;
    TChartPen pen;
    pen.SetColor(clRed);
    pen.SetWidth(2);
    pen.SetStyle(TPenStyle::psDot);
    canvas.ApplyChartPen(pen);
    EXPECT_EQ(canvas.Pen, (TPenData{clRed, 2, TPenStyle::psDot, TPenMode::pmCopy, false}));

    pen.SetSmallDots(true);  // no effect on a wide pen
    canvas.ApplyChartPen(pen);
    EXPECT_FALSE(canvas.Pen.SmallDots);
    pen.SetWidth(1);
    canvas.ApplyChartPen(pen);
    EXPECT_TRUE(canvas.Pen.SmallDots);
    EXPECT_EQ(canvas.Pen.Width, 1);

    pen.SetVisible(false);
    canvas.ApplyChartPen(pen);
    EXPECT_EQ(canvas.Pen.Style, TPenStyle::psClear);
    EXPECT_FALSE(canvas.Pen.SmallDots);
}

TEST(CanvasPens, DefaultsAndChangeNotification) {
    EXPECT_FALSE(TChartHiddenPen().Visible());
    EXPECT_EQ(TChartAxisPen().Width(), 2);
    EXPECT_EQ(TDarkGrayPen().Color(), clGray);
    EXPECT_EQ(TDottedGrayPen().Style(), TPenStyle::psDot);
    const TChartArrowPen arrow;
    EXPECT_EQ(arrow.Color(), clWhite);
    EXPECT_TRUE(arrow.Visible());
    EXPECT_EQ(TChartBrush().Color(), AutoColor);

    int changes = 0;
    TChartPen pen;
    pen.OnChange = [&] { ++changes; };
    pen.SetColor(clBlack);
    pen.SetWidth(1);
    pen.SetVisible(true);
    EXPECT_EQ(changes, 0) << "same values";
    pen.SetColor(clRed);
    pen.SetSmallDots(true);
    EXPECT_EQ(changes, 2);
    pen.Assign(TChartAxisPen());
    EXPECT_EQ(changes, 3) << "one notification for an assignment";
    EXPECT_EQ(pen.Width(), 2);

    TChartBrush brush;
    brush.OnChange = [&] { ++changes; };
    brush.SetColor(AutoColor);
    brush.SetStyle(TBrushStyle::bsClear);
    EXPECT_EQ(changes, 4);

    TView3DOptions options;
    options.OnChange = [&] { ++changes; };
    options.SetZoom(100);
    options.SetOrthogonal(true);
    EXPECT_EQ(changes, 4);
    options.SetRotation(0);
    EXPECT_EQ(changes, 5);
}

}  // namespace
}  // namespace zelmo::chart
