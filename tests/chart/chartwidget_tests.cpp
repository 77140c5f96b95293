// SPDX-License-Identifier: GPL-3.0-or-later
// The chart as a widget on the offscreen platform: redraw requests, the cached image and the
// colours of the real off-screen image at positions the pass's geometry predicts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>
#include <vector>

#include "chart/pixelscale.h"
#include "chart/tseriesmarks.h"
#include "scorechartfixture.h"
#include "tests/common/density.h"

namespace zelmo::chart {
namespace {

using testing::ScoreChart;

TEST(ChartWidget, ChangesBetweenPaintsCostOnePassAndUnchangedPaintsCopyTheImage) {
    TChart bare;
    EXPECT_EQ(bare.RedrawRequests(), 0) << "requests during construction are ignored";

    ScoreChart w;
    w.Paint();
    EXPECT_EQ(w.chart->DrawingArea(), QRect(2, 2, 213, 221)) << "inside the sunken edge";
    EXPECT_EQ(w.chart->OffscreenCanvas().Image().size(), QSize(213, 221));
    EXPECT_EQ(w.chart->DrawPasses(), 1);
    EXPECT_FALSE(w.chart->OffscreenCanvas().Stale);
    const QImage first = w.Paint();
    EXPECT_EQ(w.chart->DrawPasses(), 1) << "no change: the cached image is copied";

    const long requests = w.chart->RedrawRequests();
    w.series->SetYValue(1, w.series->GetYValue(1) + 1.0);
    w.series->SetYValue(1, w.series->GetYValue(1) + 1.0);
    EXPECT_EQ(w.chart->RedrawRequests(), requests + 2);
    EXPECT_TRUE(w.chart->OffscreenCanvas().Stale);
    EXPECT_DOUBLE_EQ(w.series->GetYValue(1), 2.0);
    const QImage second = w.Paint();
    EXPECT_EQ(w.chart->DrawPasses(), 2);
    EXPECT_NE(first, second);
    // The window shows the off-screen image at the drawing area's corner.
    for (const QPoint p : {QPoint(0, 0), QPoint(106, 110), QPoint(212, 220)}) {
        EXPECT_EQ(second.pixel(p + QPoint(2, 2)) & 0xFFFFFFu, w.Pixel(p.x(), p.y())) << p.x();
    }
}

TEST(ChartWidget, ColoursOfFacesBaseAndMarkBox) {
    ScoreChart w({3, 1, 0});
    w.Paint();
    const TChartAxis& left = w.chart->LeftAxis();
    const int bottom = left.AxisEnd();
    const int barWidth = w.series->BarWidth();
    ASSERT_GT(barWidth, 10);
    ASSERT_EQ(w.chart->TotalDepth(), 3);
    ASSERT_LT(left.ValueToPixel(3), bottom - 40);

    // The tallest bar: inside the front triangle, and inside the right face near its foot.
    const int left0 = w.series->BarLeft(0);
    EXPECT_EQ(w.Pixel(left0 + barWidth / 2 - 2, bottom - 10), 0xFF0000u);
    EXPECT_EQ(w.Pixel(left0 + barWidth + 1, bottom - 8), 0x7F0000u);
    // The zero bar is a base face at the axis end, beside the arrow of its mark.
    EXPECT_EQ(left.ValueToPixel(0), bottom);
    EXPECT_EQ(w.Pixel(w.series->BarLeft(2) + barWidth / 2 - 4, bottom - 2), 0xBF0000u);

    // The mark box of the tallest bar, shifted by the centre depth: pale yellow inside its
    // black frame.
    const auto& stored = *w.series->Marks().Positions().at(0);
    const int z = w.series->CenterZ();
    const int x = stored.BoxLeftTop.X + z;
    const int y = stored.BoxLeftTop.Y - z + stored.BoxHeight / 2;
    EXPECT_EQ(w.Pixel(x + 2, y), 0xFFFF80u);
    EXPECT_EQ(w.Pixel(x, y), 0x000000u);
}

// The left edge of the tallest bar's front face in the off-screen image, one x per device row
// from below the apex to above the base: the first outline pixel from the left. The layout is
// the same at every ratio; the device scales it.
std::vector<int> LeftEdgeOfFirstBar(const ScoreChart& w, double ratio) {
    const auto device = [ratio](int p) { return static_cast<int>(std::lround(p * ratio)); };
    const int left = device(w.series->BarLeft(0));
    const int centre = device(w.series->BarLeft(0) + w.series->BarWidth() / 2);
    const int apex = device(w.chart->LeftAxis().ValueToPixel(3));
    const int base = device(w.chart->LeftAxis().AxisEnd());
    std::vector<int> edge;
    for (int y = apex + 6; y < base - 6; ++y) {
        for (int x = left - 4; x < centre; ++x) {
            if (w.Pixel(x, y) == 0x000000u) {
                edge.push_back(x);
                break;
            }
        }
    }
    return edge;
}

// The edge moves one device pixel at a time, and often enough for its height: nothing was
// drawn small and enlarged.
void ExpectSharpEdge(const ScoreChart& w, double ratio) {
    const std::vector<int> edge = LeftEdgeOfFirstBar(w, ratio);
    ASSERT_GT(edge.size(), 100 * ratio);
    int moves = 0;
    for (size_t i = 1; i < edge.size(); ++i) {
        EXPECT_TRUE(edge[i] - edge[i - 1] == 0 || edge[i] - edge[i - 1] == -1) << i;
        moves += edge[i] != edge[i - 1] ? 1 : 0;
    }
    EXPECT_GE(moves, static_cast<int>(8 * ratio));
}

TEST(ChartWidget, AtTwiceTheDensityDrawsThePictureOfRatioOneTwiceAsLarge) {
    ScoreChart plain({3, 1, 0});
    const QImage one = density::renderAt(*plain.chart, 1.0);
    const int apex = plain.chart->LeftAxis().ValueToPixel(3);
    ScoreChart dense({3, 1, 0});
    const QImage two = density::renderAt(*dense.chart, 2.0);
    ASSERT_EQ(two.size(), one.size() * 2);
    EXPECT_EQ(dense.chart->LeftAxis().ValueToPixel(3), apex) << "the layout is the same";
    EXPECT_NEAR(dense.chart->OffscreenCanvas().MeasureTextHeight(QStringLiteral("W")),
                plain.chart->OffscreenCanvas().MeasureTextHeight(QStringLiteral("W")), 1);

    // Scaled down by two, the picture is the one at ratio 1 but for the edges of letters and of
    // slanted lines, now sharper: few pixels differ by more than a quarter of the full range.
    const int differing = density::pixelsDifferingFromHalf(one, two);
    EXPECT_LT(differing, one.width() * one.height() * 3 / 100) << differing << " pixels differ";

    // The sunken edge and the panel's bevel, two device pixels a line on every side, the last
    // row and column included.
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(two.pixel(two.width() - 1 - i, 100), one.pixel(one.width() - 1 - i / 2, 50)) << i;
        EXPECT_EQ(two.pixel(100, two.height() - 1 - i), one.pixel(50, one.height() - 1 - i / 2))
            << i;
        EXPECT_EQ(two.pixel(i, 100), one.pixel(i / 2, 50)) << i;
        EXPECT_EQ(two.pixel(100, i), one.pixel(50, i / 2)) << i;
    }

    // Up the arrow of the tallest bar's mark from just above the apex, through the mark box:
    // the arrow, the frame and the box below the digit twice as long.
    const int centre = 2 + dense.series->BarLeft(0) + dense.series->BarWidth() / 2;
    int x = centre - 3;
    while (x < centre + 3 && (one.pixel(x, 2 + apex - 4) & 0xFFFFFFu) != 0xFFFFFFu) {
        ++x;
    }
    const auto runsOne = density::runs(one, x, 2 + apex - 3, 0, -1, apex - 3);
    const auto runsTwo =
        density::runs(two, 2 * x, 2 * (2 + apex - 3) + 1, 0, -1, 2 * (apex - 3) + 1);
    ASSERT_GE(runsOne.size(), 5u);
    ASSERT_EQ(runsOne[0].colour, 0xFFFFFFu) << "the arrow";
    EXPECT_EQ(runsOne[0].length, 20 - 3 + 1);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(runsTwo[i].colour, runsOne[i].colour) << i;
        EXPECT_EQ(runsTwo[i].length, 2 * runsOne[i].length) << "run " << i;
    }
}

TEST(ChartWidget, DrawsInDevicePixelsAtAnyRatio) {
    ScoreChart plain({3, 1, 0});
    plain.Paint();
    const QImage atOne = plain.chart->OffscreenCanvas().Image();
    for (const double ratio : {1.0, 1.25, 1.5, 2.0}) {
        SCOPED_TRACE(ratio);
        ScoreChart w({3, 1, 0});
        density::renderAt(*w.chart, ratio);
        const QImage& image = w.chart->OffscreenCanvas().Image();
        // The device pixels inside the edge's two rings, each one scaled pixel wide.
        const int ring = PixelScale(ratio).Length(1);
        EXPECT_EQ(image.size(),
                  QSize(qRound(217 * ratio) - 4 * ring, qRound(225 * ratio) - 4 * ring));
        EXPECT_EQ(image.devicePixelRatio(), ratio);
        EXPECT_EQ(w.chart->size(), QSize(217, 225)) << "the widget keeps its size";
        if (ratio == 1.0) {
            EXPECT_EQ(image, atOne) << "ratio 1 draws what it always drew";
        }
        ExpectSharpEdge(w, ratio);
    }
}

// Without a forced ratio the chart follows its screen's. CTest also runs this test with
// QT_SCALE_FACTOR=2 and ZELMO_EXPECTED_RATIO=2.
TEST(ChartWidget, FollowsTheScreenRatio) {
    ScoreChart w({3, 1, 0});
    w.Paint();
    const double ratio = w.chart->devicePixelRatioF();
    const QByteArray expected = qgetenv("ZELMO_EXPECTED_RATIO");
    if (!expected.isEmpty()) {
        EXPECT_EQ(ratio, expected.toDouble());
    }
    const QImage& image = w.chart->OffscreenCanvas().Image();
    EXPECT_EQ(image.size(), QSize(qRound(213 * ratio), qRound(221 * ratio)));
    EXPECT_EQ(image.devicePixelRatio(), ratio);
    ExpectSharpEdge(w, ratio);
}

// After the chart is resized the next paint draws at the new size, the bars spread to match.
TEST(ChartWidget, RedrawsAfterItsSizeChanges) {
    ScoreChart w({3, 1, 0});
    w.Paint();
    const int narrowBar = w.series->BarWidth();
    w.chart->resize(417, 325);
    const QImage shown = w.Paint();
    EXPECT_EQ(w.chart->DrawPasses(), 2);
    EXPECT_EQ(w.chart->OffscreenCanvas().Image().size(), QSize(413, 321));
    EXPECT_EQ(shown.size(), QSize(417, 325));
    EXPECT_GT(w.series->BarWidth(), narrowBar);
    EXPECT_EQ(w.Pixel(w.series->BarLeft(0) + w.series->BarWidth() / 2 - 2,
                      w.chart->LeftAxis().AxisEnd() - 10),
              0xFF0000u);
}

}  // namespace
}  // namespace zelmo::chart
