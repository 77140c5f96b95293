// The off-screen drawing device: its pixel rules read back from the image.
#include <gtest/gtest.h>

#include <QFontInfo>

#include <string>
#include <vector>

#include "chart/qtcanvas.h"
#include "chart/tchartpen.h"
#include "chart/tview3doptions.h"

namespace zelmo::chart {
namespace {

constexpr TColor kRed = 0x0000FF;

std::string Rgb(const TQtChartCanvas& c, int x, int y) {
    const QRgb p = c.Image().pixel(x, y);
    return std::to_string(qRed(p)) + "," + std::to_string(qGreen(p)) + "," +
           std::to_string(qBlue(p));
}

const std::string kWhitePx = "255,255,255";
const std::string kBlackPx = "0,0,0";
const std::string kRedPx = "255,0,0";

// A white 120 x 200 image in the default view, black one-pixel pen, red brush.
struct Device {
    Device() {
        canvas.BeginPaint(QSize(120, 200));
        canvas.Brush = {clWhite, TBrushStyle::bsSolid};
        canvas.FillRect({0, 0, 120, 200});
        canvas.PrepareView(&options, true);
        canvas.SetProjection(10, {0, 0, 120, 200}, {20, 40, 60, 80});
        canvas.Pen = {};
        canvas.Brush = {kRed, TBrushStyle::bsSolid};
    }
    TView3DOptions options;
    TQtChartCanvas canvas;
};

TEST(CanvasDevice, PyramidFacesHaveTheirColours) {
    Device d;
    d.canvas.DrawPyramid(true, 40, 100, 66, 180, 0, 3, true);
    EXPECT_EQ(Rgb(d.canvas, 53, 150), kRedPx) << "front face";
    EXPECT_EQ(Rgb(d.canvas, 66, 170), "127,0,0") << "right face";
    EXPECT_EQ(Rgb(d.canvas, 40, 180), kBlackPx) << "outline through the front-left corner";
    EXPECT_EQ(Rgb(d.canvas, 54, 99), kBlackPx) << "apex";
    EXPECT_EQ(Rgb(d.canvas, 38, 150), kWhitePx);

    d.canvas.Brush = {kRed, TBrushStyle::bsSolid};
    d.canvas.DrawPyramid(true, 10, 20, 30, 20, 0, 8, true);
    // Base (10,20), (30,20), (38,12), (18,12).
    EXPECT_EQ(Rgb(d.canvas, 24, 16), "191,0,0") << "base face";
    EXPECT_EQ(Rgb(d.canvas, 12, 16), kWhitePx);
}

TEST(CanvasDevice, LinesLeaveOutTheirLastPixel) {
    Device d;
    d.canvas.MoveTo(10, 10);
    d.canvas.LineTo(20, 10);
    EXPECT_EQ(Rgb(d.canvas, 10, 10), kBlackPx);
    EXPECT_EQ(Rgb(d.canvas, 19, 10), kBlackPx);
    EXPECT_EQ(Rgb(d.canvas, 20, 10), kWhitePx);
    EXPECT_EQ(Rgb(d.canvas, 15, 11), kWhitePx);

    d.canvas.MoveTo(10, 20);
    d.canvas.LineTo(15, 25);
    d.canvas.LineTo(15, 30);  // continues from the last end point
    EXPECT_EQ(Rgb(d.canvas, 14, 24), kBlackPx);
    EXPECT_EQ(Rgb(d.canvas, 15, 25), kBlackPx);
    EXPECT_EQ(Rgb(d.canvas, 15, 29), kBlackPx);
    EXPECT_EQ(Rgb(d.canvas, 15, 30), kWhitePx);

    // A clear pen draws nothing.
    d.canvas.Pen.Style = TPenStyle::psClear;
    d.canvas.MoveTo(30, 40);
    d.canvas.LineTo(40, 40);
    EXPECT_EQ(Rgb(d.canvas, 30, 40), kWhitePx);
}

TEST(CanvasDevice, WidePenCoversTheRowAboveAndBothEnds) {
    Device d;
    d.canvas.Pen.Width = 2;
    d.canvas.MoveTo(10, 100);
    d.canvas.LineTo(20, 100);
    EXPECT_EQ(Rgb(d.canvas, 9, 99), kBlackPx);
    EXPECT_EQ(Rgb(d.canvas, 20, 100), kBlackPx);
    EXPECT_EQ(Rgb(d.canvas, 21, 100), kWhitePx);
    EXPECT_EQ(Rgb(d.canvas, 15, 101), kWhitePx);
    EXPECT_EQ(Rgb(d.canvas, 15, 98), kWhitePx);
}

TEST(CanvasDevice, DottedPensSetTheirPattern) {
    Device d;
    TChartPen smallDots;
    smallDots.SetSmallDots(true);
    d.canvas.ApplyChartPen(smallDots);
    d.canvas.MoveTo(10, 50);
    d.canvas.LineTo(30, 50);
    for (int x = 10; x < 31; ++x) {
        EXPECT_EQ(Rgb(d.canvas, x, 50), x % 2 == 0 && x < 30 ? kBlackPx : kWhitePx) << x;
    }

    d.canvas.ApplyChartPen(TDottedGrayPen());
    d.canvas.MoveTo(10, 60);
    d.canvas.LineTo(22, 60);
    std::string row;
    for (int x = 10; x < 23; ++x) row += Rgb(d.canvas, x, 60) == "128,128,128" ? '#' : '.';
    EXPECT_EQ(row, "###...###....");
}

TEST(CanvasDevice, RectanglesLeaveOutRightAndBottomEdges) {
    Device d;
    d.canvas.Rectangle2D({10, 10, 20, 16});
    EXPECT_EQ(Rgb(d.canvas, 10, 10), kBlackPx);
    EXPECT_EQ(Rgb(d.canvas, 19, 15), kBlackPx);
    EXPECT_EQ(Rgb(d.canvas, 19, 12), kBlackPx);
    EXPECT_EQ(Rgb(d.canvas, 15, 12), kRedPx);
    EXPECT_EQ(Rgb(d.canvas, 20, 12), kWhitePx);
    EXPECT_EQ(Rgb(d.canvas, 15, 16), kWhitePx);

    d.canvas.FillRect({30, 30, 35, 33});
    EXPECT_EQ(Rgb(d.canvas, 30, 30), kRedPx);
    EXPECT_EQ(Rgb(d.canvas, 34, 32), kRedPx);
    EXPECT_EQ(Rgb(d.canvas, 35, 32), kWhitePx);
    EXPECT_EQ(Rgb(d.canvas, 34, 33), kWhitePx);

    // A clear brush keeps the inside.
    d.canvas.Brush.Style = TBrushStyle::bsClear;
    d.canvas.Rectangle2D({40, 40, 50, 50});
    EXPECT_EQ(Rgb(d.canvas, 45, 45), kWhitePx);
    EXPECT_EQ(Rgb(d.canvas, 49, 45), kBlackPx);
}

TEST(CanvasDevice, PolygonFillsInsideAndOutlinesThroughItsVertices) {
    Device d;
    const std::vector<TPoint> square = {{10, 10}, {20, 10}, {20, 20}, {10, 20}};
    d.canvas.Pen.Style = TPenStyle::psClear;
    d.canvas.FillPolygon(square);
    EXPECT_EQ(Rgb(d.canvas, 10, 10), kRedPx);
    EXPECT_EQ(Rgb(d.canvas, 19, 19), kRedPx);
    EXPECT_EQ(Rgb(d.canvas, 20, 15), kWhitePx);
    EXPECT_EQ(Rgb(d.canvas, 15, 20), kWhitePx);

    d.canvas.Pen.Style = TPenStyle::psSolid;
    d.canvas.FillPolygon(square);
    EXPECT_EQ(Rgb(d.canvas, 20, 15), kBlackPx);
    EXPECT_EQ(Rgb(d.canvas, 20, 20), kBlackPx);
    EXPECT_EQ(Rgb(d.canvas, 15, 15), kRedPx);

    // Alternate rule: the middle of a self-overlapping star stays empty.
    d.canvas.Pen.Style = TPenStyle::psClear;
    const std::vector<TPoint> star = {{60, 100}, {80, 160}, {30, 120}, {90, 120}, {40, 160}};
    d.canvas.FillPolygon(star);
    EXPECT_EQ(Rgb(d.canvas, 60, 130), kWhitePx);
    EXPECT_EQ(Rgb(d.canvas, 60, 110), kRedPx);
}

TEST(CanvasDevice, BoxClipLimitsTheFill) {
    Device d;
    // Plot (20,40,60,80), depth 10: (20,80), (20,40), (30,30), (70,30), (70,70), (60,80).
    d.canvas.ClipToBox({20, 40, 60, 80}, 0, 10);
    d.canvas.FillRect({0, 0, 120, 200});
    EXPECT_EQ(Rgb(d.canvas, 20, 40), kRedPx);
    EXPECT_EQ(Rgb(d.canvas, 28, 35), kRedPx);
    EXPECT_EQ(Rgb(d.canvas, 22, 35), kWhitePx);
    EXPECT_EQ(Rgb(d.canvas, 69, 50), kRedPx);
    EXPECT_EQ(Rgb(d.canvas, 70, 50), kWhitePx);
    EXPECT_EQ(Rgb(d.canvas, 63, 75), kRedPx);
    EXPECT_EQ(Rgb(d.canvas, 67, 76), kWhitePx);
    EXPECT_EQ(Rgb(d.canvas, 30, 79), kRedPx);
    EXPECT_EQ(Rgb(d.canvas, 30, 80), kWhitePx);
    EXPECT_EQ(Rgb(d.canvas, 19, 60), kWhitePx);

    d.canvas.Unclip();
    d.canvas.FillRect({0, 0, 5, 5});
    EXPECT_EQ(Rgb(d.canvas, 2, 2), kRedPx);

    d.canvas.ClipRectangle({10, 100, 20, 110});
    d.canvas.Brush.Color = clBlack;
    d.canvas.FillRect({0, 90, 120, 120});
    EXPECT_EQ(Rgb(d.canvas, 10, 100), kBlackPx);
    EXPECT_EQ(Rgb(d.canvas, 19, 109), kBlackPx);
    EXPECT_EQ(Rgb(d.canvas, 20, 105), kWhitePx);
    EXPECT_EQ(Rgb(d.canvas, 15, 110), kWhitePx);
}

// Bounding box of the pixels of one colour inside an area.
QRect InkBox(const QImage& image, const QRect& area, QRgb ink) {
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixel(x, y) == ink) box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

TEST(CanvasDevice, TextSitsWithItsTopLeftOrTopCentreAtThePoint) {
    Device d;
    d.canvas.Font = {QStringLiteral("Arial"), -16};
    const QFont font = TQtChartCanvas::MakeFont(d.canvas.Font);
    EXPECT_EQ(QFontInfo(font).family(), QStringLiteral("Liberation Sans"));
    const int w = d.canvas.MeasureTextWidth(QStringLiteral("W"));
    const int h = d.canvas.FontHeight();
    EXPECT_GT(w, 10);
    EXPECT_GT(h, 16) << "the cell is taller than the character height";
    EXPECT_LT(h, 24);
    d.canvas.Font.Height = -11;
    EXPECT_LT(d.canvas.FontHeight(), h);
    EXPECT_EQ(d.canvas.MeasureTextWidth(QString()), 0);
    // A positive height asks for the whole cell.
    d.canvas.Font.Height = h;
    EXPECT_LE(d.canvas.FontHeight(), h);
    EXPECT_GE(d.canvas.FontHeight(), h - 1);

    d.canvas.Font.Height = -16;
    d.canvas.BackMode = TBackMode::Transparent;
    d.canvas.TextOut2D(10, 120, QStringLiteral("W"));
    const QRect ink = InkBox(d.canvas.Image(), QRect(0, 100, 60, 60), qRgb(0, 0, 0));
    ASSERT_FALSE(ink.isNull());
    EXPECT_GE(ink.left(), 10);
    EXPECT_LE(ink.right(), 10 + w - 1);
    EXPECT_GE(ink.top(), 120);
    EXPECT_LE(ink.bottom(), 120 + h - 1);
    EXPECT_LT(ink.top(), 120 + h / 2);

    // Centred: the ink of "W" straddles x; an opaque background fills the cell.
    d.canvas.SetTextAlignment(TA_CENTER);
    d.canvas.BackMode = TBackMode::Opaque;
    d.canvas.BackColor = 0x00FF00;
    d.canvas.TextOut2D(90, 150, QStringLiteral("W"));
    const QRect centred = InkBox(d.canvas.Image(), QRect(60, 140, 60, 40), qRgb(0, 0, 0));
    ASSERT_FALSE(centred.isNull());
    EXPECT_LT(centred.left(), 90);
    EXPECT_GT(centred.right(), 90);
    const QRect cell = InkBox(d.canvas.Image(), QRect(60, 140, 60, 40), qRgb(0, 255, 0));
    EXPECT_EQ(cell.top(), 150);
    EXPECT_EQ(cell.left(), 90 - w / 2);
}

TEST(CanvasDevice, ImageFollowsTheClientSize) {
    TQtChartCanvas canvas;
    EXPECT_TRUE(canvas.Stale);
    canvas.BeginPaint(QSize(30, 20));
    canvas.Brush = {clRed, TBrushStyle::bsSolid};
    canvas.FillRect({0, 0, 30, 20});
    canvas.EndPaint();
    EXPECT_EQ(canvas.Image().size(), QSize(30, 20));
    EXPECT_EQ(canvas.Image().format(), QImage::Format_RGB32);
    canvas.BeginPaint(QSize(30, 20));
    EXPECT_EQ(canvas.Image().pixel(5, 5), qRgb(255, 0, 0)) << "same size keeps the image";
    canvas.EndPaint();
    canvas.BeginPaint(QSize(40, 25));
    EXPECT_EQ(canvas.Image().size(), QSize(40, 25));
    canvas.EndPaint();
}

}  // namespace
}  // namespace zelmo::chart
