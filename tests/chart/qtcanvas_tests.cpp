// SPDX-License-Identifier: GPL-3.0-or-later
// The off-screen drawing device: its pixel rules read back from the image.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QRegion>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "chart/clipspans.h"
#include "chart/fontcache.h"
#include "chart/qtcanvas.h"
#include "chart/tchartpen.h"
#include "chart/tview3doptions.h"

namespace zelmo::chart {
namespace {

constexpr QRgb kW = 0xFFFFFF;
constexpr QRgb kB = 0x000000;
constexpr QRgb kR = 0xFF0000;

struct Px {
    int x;
    int y;
    QRgb rgb;
};

// A white 120 x 200 image in the default view with depth 10, black one-pixel pen, red brush,
// drawn at `ratio` device pixels per pixel; positions read back are in device pixels.
struct Device {
    explicit Device(double ratio = 1.0) {
        canvas.BeginPaint(QSize(120, 200) * ratio, ratio);
        canvas.Brush = {clWhite, TBrushStyle::bsSolid};
        canvas.FillRect({0, 0, 120, 200});
        canvas.PrepareView(&options, true);
        canvas.SetProjection(10, {0, 0, 120, 200}, {20, 40, 60, 80});
        canvas.Pen = {};
        canvas.Brush = {clRed, TBrushStyle::bsSolid};
    }
    QRgb At(int x, int y) const { return canvas.Image().pixel(x, y) & 0xFFFFFFu; }
    // Device pixels x .. x + count - 1 of row y: '#' where they have `colour`, '.' elsewhere.
    std::string Row(int x, int y, int count, QRgb colour) const {
        std::string row;
        for (int i = 0; i < count; ++i) {
            row += At(x + i, y) == colour ? '#' : '.';
        }
        return row;
    }
    // How many device pixels of column x are not white.
    int Depth(int x) const {
        int depth = 0;
        for (int y = 0; y < canvas.Image().height(); ++y) {
            depth += At(x, y) != kW;
        }
        return depth;
    }
    void Expect(std::initializer_list<Px> pixels) const {
        for (const Px& p : pixels) {
            EXPECT_EQ(At(p.x, p.y), p.rgb) << "at " << p.x << "," << p.y;
        }
    }
    TView3DOptions options;
    TQtChartCanvas canvas;
};

TEST(CanvasDevice, PyramidFacesHaveTheirColours) {
    Device d;
    d.canvas.DrawPyramid(true, 40, 100, 66, 180, 0, 3, true);
    // Front face, right face, the outline through the front-left corner and the apex, outside.
    d.Expect({{53, 150, kR}, {66, 170, 0x7F0000}, {40, 180, kB}, {54, 99, kB}, {38, 150, kW}});
    d.canvas.Brush = {clRed, TBrushStyle::bsSolid};
    d.canvas.DrawPyramid(true, 10, 20, 30, 20, 0, 8, true);
    // Base (10,20), (30,20), (38,12), (18,12).
    d.Expect({{24, 16, 0xBF0000}, {12, 16, kW}});
}

TEST(CanvasDevice, LinesLeaveOutTheirLastPixel) {
    Device d;
    d.canvas.MoveTo(10, 10);
    d.canvas.LineTo(20, 10);
    d.canvas.MoveTo(10, 20);
    d.canvas.LineTo(15, 25);
    d.canvas.LineTo(15, 30);  // continues from the last end point
    d.Expect({{10, 10, kB},
              {19, 10, kB},
              {20, 10, kW},
              {15, 11, kW},
              {14, 24, kB},
              {15, 25, kB},
              {15, 29, kB},
              {15, 30, kW}});

    // A pen two pixels wide covers the row above and both ends.
    d.canvas.Pen.Width = 2;
    d.canvas.MoveTo(10, 100);
    d.canvas.LineTo(20, 100);
    d.Expect({{9, 99, kB}, {20, 100, kB}, {21, 100, kW}, {15, 101, kW}, {15, 98, kW}});

    d.canvas.Pen = {clBlack, 1, TPenStyle::psClear};
    d.canvas.MoveTo(30, 40);
    d.canvas.LineTo(40, 40);
    d.Expect({{30, 40, kW}});

    // A small-dots pen sets every other pixel; the dotted grid pen draws 3 on, 3 or 4 off.
    TChartPen smallDots;
    smallDots.SetSmallDots(true);
    d.canvas.ApplyChartPen(smallDots);
    d.canvas.MoveTo(10, 50);
    d.canvas.LineTo(30, 50);
    d.canvas.ApplyChartPen(TDottedGrayPen());
    d.canvas.MoveTo(10, 60);
    d.canvas.LineTo(22, 60);
    EXPECT_EQ(d.Row(10, 50, 21, kB), "#.#.#.#.#.#.#.#.#.#..");
    EXPECT_EQ(d.Row(10, 60, 13, 0x808080), "###...###....");
}

// What a chart pen draws along a row from x 10 to 40 at ratio 1 and 2: which device pixels of
// the row are set and how many rows deep the line is.
TEST(CanvasDevice, ChartPenDrawsItsWidthAndDotsAtEachRatio) {
    auto draw = [](const TChartPen& pen, int ratio) {
        Device d(ratio);
        d.canvas.ApplyChartPen(pen);
        d.canvas.MoveTo(10, 10);
        d.canvas.LineTo(40, 10);
        d.canvas.EndPaint();
        return std::make_pair(d.Row(10 * ratio, 10 * ratio, 14 * ratio, kR), d.Depth(12 * ratio));
    };
    TChartPen pen;
    pen.SetColor(clRed);
    pen.SetStyle(TPenStyle::psDot);
    EXPECT_EQ(draw(pen, 1), std::make_pair(std::string("###...###...##"), 1));
    EXPECT_EQ(draw(pen, 2), std::make_pair(std::string("######......######......####"), 2));
    pen.SetSmallDots(true);
    EXPECT_EQ(draw(pen, 1), std::make_pair(std::string("#.#.#.#.#.#.#."), 1));
    EXPECT_EQ(draw(pen, 2), std::make_pair(std::string("##..##..##..##..##..##..##.."), 2));
    pen.SetWidth(2);  // the small dots are for one-pixel pens only
    EXPECT_EQ(draw(pen, 1).second, 2);
    EXPECT_EQ(draw(pen, 2).second, 4);
    pen.SetVisible(false);
    EXPECT_EQ(draw(pen, 1), std::make_pair(std::string(14, '.'), 0));
}

TEST(CanvasDevice, RectanglesAndPolygons) {
    Device d;
    // Right and bottom edges are left out.
    d.canvas.Rectangle2D({10, 10, 20, 16});
    d.canvas.FillRect({30, 30, 35, 33});
    d.Expect({{10, 10, kB},
              {19, 15, kB},
              {19, 12, kB},
              {15, 12, kR},
              {20, 12, kW},
              {15, 16, kW},
              {30, 30, kR},
              {34, 32, kR},
              {35, 32, kW},
              {34, 33, kW}});
    d.canvas.Brush.Style = TBrushStyle::bsClear;
    d.canvas.Rectangle2D({40, 40, 50, 50});
    d.Expect({{45, 45, kW}, {49, 45, kB}});

    // A polygon fills inside its vertices; its outline runs through them.
    d.canvas.Brush.Style = TBrushStyle::bsSolid;
    const std::vector<TPoint> square = {{10, 110}, {20, 110}, {20, 120}, {10, 120}};
    d.canvas.Pen.Style = TPenStyle::psClear;
    d.canvas.FillPolygon(square);
    d.Expect({{10, 110, kR}, {19, 119, kR}, {20, 115, kW}, {15, 120, kW}});
    d.canvas.Pen.Style = TPenStyle::psSolid;
    d.canvas.FillPolygon(square);
    d.Expect({{20, 115, kB}, {20, 120, kB}, {15, 115, kR}});
    // Alternate rule: the middle of a self-overlapping star stays empty.
    d.canvas.Pen.Style = TPenStyle::psClear;
    d.canvas.FillPolygon(
        std::vector<TPoint>{{60, 100}, {80, 160}, {30, 120}, {90, 120}, {40, 160}});
    d.Expect({{60, 130, kW}, {60, 110, kR}});
}

TEST(CanvasDevice, ClipsLimitTheFill) {
    Device d;
    // Plot (20,40,60,80), depth 10: (20,80), (20,40), (30,30), (70,30), (70,70), (60,80).
    d.canvas.ClipToBox({20, 40, 60, 80}, 0, 10);
    d.canvas.FillRect({0, 0, 120, 200});
    d.Expect({{20, 40, kR},
              {28, 35, kR},
              {22, 35, kW},
              {69, 50, kR},
              {70, 50, kW},
              {63, 75, kR},
              {67, 76, kW},
              {30, 79, kR},
              {30, 80, kW},
              {19, 60, kW}});
    d.canvas.Unclip();
    d.canvas.FillRect({0, 0, 5, 5});
    d.canvas.ClipRectangle({10, 100, 20, 110});
    d.canvas.Brush.Color = clBlack;
    d.canvas.FillRect({0, 90, 120, 120});
    d.Expect({{2, 2, kR}, {10, 100, kB}, {19, 109, kB}, {20, 105, kW}, {15, 110, kW}});
}

// Bounding box of the pixels of one colour inside an area.
QRect InkBox(const Device& d, const QRect& area, QRgb ink) {
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (d.At(x, y) == ink) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

TEST(CanvasDevice, ClipRegionIsThePolygonsPixels) {
    // A bow tie: its edges cross at (5, 5), where the two spans of row 5 meet.
    const std::vector<raster::Point> bowTie = {{0, 0}, {10, 10}, {10, 0}, {0, 10}};
    ClipSpans clip;
    clip.Set(bowTie, 20, 20);
    QRegion pixels;
    raster::ForEachSpan(bowTie, 0, 20, 0, 20,
                        [&](int y, int x0, int x1) { pixels += QRect(x0, y, x1 - x0, 1); });
    EXPECT_EQ(clip.Region(), pixels);
}

TEST(CanvasDevice, TextSitsWithItsTopLeftOrTopCentreAtThePoint) {
    Device d;
    d.canvas.Font = {QStringLiteral("Arial"), -16};
    const int w = d.canvas.MeasureTextWidth(QStringLiteral("W"));
    EXPECT_EQ(QFontInfo(FontCache::MakeFont(d.canvas.Font)).family(),
              QStringLiteral("Liberation Sans"));
    const int h = d.canvas.FontHeight();
    EXPECT_GT(h, 16) << "a negative height is the character's: the cell is taller";
    d.canvas.Font.Height = h;  // a positive height asks for the whole cell
    EXPECT_LE(d.canvas.FontHeight(), h);
    EXPECT_GE(d.canvas.FontHeight(), h - 1);
    d.canvas.Font.Height = -16;
    d.canvas.BackMode = TBackMode::Transparent;
    d.canvas.TextOut2D(10, 120, QStringLiteral("W"));
    const QRect ink = InkBox(d, QRect(0, 100, 60, 60), kB);
    ASSERT_FALSE(ink.isNull());
    EXPECT_GE(ink.left(), 10);
    EXPECT_LE(ink.right(), 10 + w - 1);
    EXPECT_GE(ink.top(), 120);
    EXPECT_LT(ink.top(), 120 + h / 2);
    EXPECT_LE(ink.bottom(), 120 + h - 1);

    // Centred: the ink of "W" straddles x; an opaque background fills the cell.
    d.canvas.SetTextAlignment(TA_CENTER);
    d.canvas.BackMode = TBackMode::Opaque;
    d.canvas.BackColor = 0x00FF00;
    d.canvas.TextOut2D(90, 150, QStringLiteral("W"));
    const QRect centred = InkBox(d, QRect(60, 140, 60, 40), kB);
    ASSERT_FALSE(centred.isNull());
    EXPECT_LT(centred.left(), 90);
    EXPECT_GT(centred.right(), 90);
    const QRect cell = InkBox(d, QRect(60, 140, 60, 40), 0x00FF00);
    EXPECT_EQ(cell.topLeft(), QPoint(90 - w / 2, 150));
}

TEST(CanvasDevice, ImageFollowsTheClientSize) {
    TQtChartCanvas canvas;
    EXPECT_TRUE(canvas.Stale);
    canvas.BeginPaint(QSize(30, 20));
    canvas.Brush = {clRed, TBrushStyle::bsSolid};
    canvas.FillRect({0, 0, 30, 20});
    canvas.EndPaint();
    canvas.BeginPaint(QSize(30, 20));
    EXPECT_EQ(canvas.Image().pixel(5, 5), qRgb(255, 0, 0)) << "same size keeps the image";
    canvas.EndPaint();
    canvas.BeginPaint(QSize(40, 25));
    EXPECT_EQ(canvas.Image().size(), QSize(40, 25));
    canvas.EndPaint();
}

}  // namespace
}  // namespace zelmo::chart
