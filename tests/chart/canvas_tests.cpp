// SPDX-License-Identifier: GPL-3.0-or-later
// The chart canvas replayed on the recording canvas: projection, pyramid faces, box clip,
// colours, brushes and pens.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPalette>

#include <string>
#include <vector>

#include "chart/tview3doptions.h"
#include "recordingcanvas.h"

namespace zelmo::chart {
namespace {

using Strings = std::vector<std::string>;

constexpr TColor kRed = 0x0000FF;
constexpr TColor kDarkRed = 0x00007F;  // RGB(127,0,0)
constexpr TColor kBaseRed = 0x0000BF;  // RGB(191,0,0)

// The reference plot: a 213 x 221 drawing area, depth 3.
constexpr TRect kOuter{0, 0, 213, 221};
constexpr TRect kPlot{11, 27, 199, 201};

// A recording canvas in the given view (the chart's default unless changed), red brush.
struct View {
    explicit View(int depth = 3, bool is3D = true, TRect plot = kPlot) {
        canvas.PrepareView(&options, is3D);
        canvas.SetProjection(depth, kOuter, plot);
        canvas.Brush = {kRed, TBrushStyle::bsSolid};
        canvas.Records.clear();
    }
    TView3DOptions options;
    TRecordingCanvas canvas;
};

TEST(CanvasProjection, DefaultFlatAndZoomedViews) {
    View v;
    // Each pixel of depth moves a point one pixel right and one up.
    EXPECT_EQ(v.canvas.ProjectPoint(40, 180, 0), (TPoint{40, 180}));
    EXPECT_EQ(v.canvas.ProjectPoint(40, 180, 3), (TPoint{43, 177}));
    EXPECT_EQ(v.canvas.ProjectPoint(-7, 0, 10), (TPoint{3, -10}));
    // Flat drawing switches 3D off but keeps the orthogonal mapping.
    v.canvas.BeginFlatDrawing();
    EXPECT_FALSE(v.canvas.Is3D());
    EXPECT_EQ(v.canvas.ProjectPoint(40, 180, 3), (TPoint{43, 177}));
    v.canvas.EndFlatDrawing();
    EXPECT_TRUE(v.canvas.Is3D());

    View flat(0, false);
    EXPECT_EQ(flat.canvas.ProjectPoint(40, 180, 3), (TPoint{40, 180}));

    View zoomed;
    zoomed.options.SetZoom(50);
    zoomed.options.SetHorizOffset(5);
    zoomed.options.SetVertOffset(-2);
    zoomed.canvas.PrepareView(&zoomed.options, true);
    zoomed.canvas.SetProjection(4, kOuter, {0, 0, 100, 100});
    // Centre (50,50), offsets (55,48): 5.5 -> 6, 6.5 -> 6, -1.5 -> -2.
    EXPECT_EQ(zoomed.canvas.ProjectPoint(61, 50, 0), (TPoint{61, 48}));
    EXPECT_EQ(zoomed.canvas.ProjectPoint(63, 50, 0), (TPoint{61, 48}));
    EXPECT_EQ(zoomed.canvas.ProjectPoint(50, 50, 3), (TPoint{57, 46}));
    // The centre truncates toward zero: (-5 + 0) div 2 = -2, not -3.
    zoomed.options.SetHorizOffset(0);
    zoomed.options.SetVertOffset(0);
    zoomed.canvas.SetProjection(4, kOuter, {-5, -5, 0, 0});
    EXPECT_EQ(zoomed.canvas.ProjectPoint(2, 2, 0), (TPoint{0, 0}));
}

TEST(CanvasProjection, LinesAndTextAtDepth) {
    View v;
    v.canvas.HLineAtDepth(10, 20, 50, 3);
    v.canvas.VLineAtDepth(30, 40, 60, 2);
    v.canvas.DepthLine(37, 201, 0, 3);
    v.canvas.LineWithDepth(53, 100, 53, 80, 1);
    v.canvas.MoveToAtDepth(1, 2, 1);
    v.canvas.LineToAtDepth(5, 6, 1);
    v.canvas.TextAtDepth(10, 207, 2, QStringLiteral("Ничья"));
    EXPECT_EQ(v.canvas.Pts("LineTo"),
              (Strings{"(13,47)(23,47)", "(32,38)(32,58)", "(37,201)(40,198)", "(54,99)(54,79)",
                       "(2,1)(6,5)"}));
    EXPECT_EQ(v.canvas.Pts("TextOut2D"), (Strings{"(12,205)"}));

    // Zoomed text uses a temporarily scaled font unless text zoom is off.
    View zoomed(0, true, {0, 0, 100, 100});
    zoomed.options.SetZoom(50);
    zoomed.canvas.PrepareView(&zoomed.options, true);
    zoomed.canvas.SetProjection(0, kOuter, {0, 0, 100, 100});
    zoomed.canvas.Font.Height = -16;
    zoomed.canvas.TextAtDepth(50, 50, 0, QStringLiteral("3"));
    zoomed.options.SetZoomText(false);
    zoomed.canvas.TextAtDepth(50, 50, 0, QStringLiteral("3"));
    const auto texts = zoomed.canvas.Of("TextOut2D");
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].Font.Height, -8);
    EXPECT_EQ(texts[1].Font.Height, -16);
    EXPECT_EQ(zoomed.canvas.Font.Height, -16);
}

// Bars from x 40 to 66, bottom 180, depth 0..3: FL (40,180), FR (66,180), BL (43,177),
// BR (69,177), apex one pixel right of and above the top centre. Each face is listed with its
// colour: R red, D darkened by 128, B darkened by 64 (the base).
TEST(Pyramid, FacesAndColoursByHeight) {
    auto check = [](int top, bool dark, const Strings& faces) {
        SCOPED_TRACE("top " + std::to_string(top) + (dark ? " dark" : ""));
        View v;
        v.canvas.DrawPyramid(true, 40, top, 66, 180, 0, 3, dark);
        Strings drawn;
        for (const auto& f : v.canvas.Of("FillPolygon")) {
            const TColor c = f.Brush.Color;
            drawn.push_back((c == kRed       ? "R"
                             : c == kDarkRed ? "D"
                             : c == kBaseRed ? "B"
                                             : "?") +
                            TRecordingCanvas::Str(f.Points));
        }
        EXPECT_EQ(drawn, faces);
        // Only a bar that does not rise has its base drawn.
        EXPECT_EQ(v.canvas.Of("HorizontalFace").size(), top >= 180 ? 1u : 0u);
    };
    // Tall: the back edge is below the apex, so only the front and the right face.
    check(100, true, {"R(40,180)(54,99)(66,180)", "D(66,180)(54,99)(69,177)"});
    // One pixel: the back edge rises above the apex and all four sloping faces show.
    check(179, true,
          {"R(40,180)(54,178)(66,180)", "R(40,180)(54,178)(43,177)", "D(66,180)(54,178)(69,177)",
           "D(54,178)(43,177)(69,177)"});
    // Two pixels: the apex is level with the back edge and hides nothing.
    check(178, true, {"R(40,180)(54,177)(66,180)", "D(66,180)(54,177)(69,177)"});
    // Upside down: the base after the faces, darkened from the base colour, not twice.
    check(190, true,
          {"R(40,180)(54,189)(66,180)", "D(66,180)(54,189)(69,177)",
           "B(40,180)(66,180)(69,177)(43,177)"});
    check(180, true, {"B(40,180)(66,180)(69,177)(43,177)"});
    check(179, false,
          {"R(40,180)(54,178)(66,180)", "R(40,180)(54,178)(43,177)", "R(66,180)(54,178)(69,177)",
           "R(54,178)(43,177)(69,177)"});
    check(180, false, {"R(40,180)(66,180)(69,177)(43,177)"});

    // A hatched brush darkens its background colour instead.
    View v;
    v.canvas.SetFillBrush(kRed, TBrushStyle::bsClear, clWhite);
    v.canvas.DrawPyramid(true, 40, 100, 66, 180, 0, 3, true);
    const auto faces = v.canvas.Of("FillPolygon");
    ASSERT_EQ(faces.size(), 2u);
    EXPECT_EQ(faces[0].BackColor, clWhite);
    EXPECT_EQ(faces[1].BackColor, 0x7F7F7Fu);
    EXPECT_EQ(faces[1].Brush.Color, kRed);
}

// The clip region of a box: "P" a polygon, "R" a rectangle, with its points.
TEST(Clip, BoxRegions) {
    auto check = [](bool is3D, bool flatDrawing, TRect rect, int z1, const std::string& region) {
        View v(is3D ? 3 : 0, is3D);
        if (flatDrawing) {
            v.canvas.BeginFlatDrawing();
        }
        v.canvas.ClipToBox(rect, 0, z1);
        const auto clips = v.canvas.Of("ClipPolygon", "ClipRectangle");
        ASSERT_EQ(clips.size(), 1u);
        EXPECT_EQ(clips[0].Kind.substr(4, 1) + TRecordingCanvas::Str(clips[0].Points), region);
    };
    // The hexagon (L,B), (L,T), (L+d,T-d), (R+d,T-d), (R+d,B-d), (R,B).
    check(true, false, kPlot, 3, "P(11,201)(11,27)(14,24)(202,24)(202,198)(199,201)");
    // Ties: point 3 from (R,T,0) and (L,T,0) of equal y is (L,T,0); point 5 from (R,T,0) and
    // (R,B,0) of equal x is (R,B,0).
    check(true, false, kPlot, 0, "P(11,201)(11,27)(11,27)(199,27)(199,201)(199,201)");
    // A reversed box moves the first point under the last.
    check(true, false, {50, 20, 40, 60}, 3, "P(40,20)(50,20)(53,17)(43,17)(43,57)(40,60)");
    // A flat chart, and flat drawing, clip to the rectangle moved in by one pixel.
    check(false, false, kPlot, 0, "R(12,28)(199,200)");
    check(true, true, kPlot, 3, "R(12,28)(199,200)");
}

TEST(CanvasColors, DarkenResolveAndFillBrush) {
    EXPECT_EQ(DarkenColor(clRed, 128), kDarkRed);
    EXPECT_EQ(DarkenColor(clRed, 64), kBaseRed);
    EXPECT_EQ(DarkenColor(0x808080, 128), 0u) << "a channel equal to the amount becomes 0";
    EXPECT_EQ(DarkenColor(0x102030, 0x18), 0x000818u);

    // System colours come from the application palette, resolved before darkening.
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
    EXPECT_EQ(DarkenColor(clBtnFace, 64), 0x248800u);
    QGuiApplication::setPalette(saved);

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

}  // namespace
}  // namespace zelmo::chart
