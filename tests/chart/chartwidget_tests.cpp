// SPDX-License-Identifier: GPL-3.0-or-later
// The chart as a widget on the offscreen platform: redraw requests, the cached image and the
// colours of the real off-screen image at positions the pass's geometry predicts.
#include <gtest/gtest.h>

#include <vector>

#include "chart/tseriesmarks.h"
#include "scorechartfixture.h"

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

// The left edge of the tallest bar's front face, one x per row from below the apex to above
// the base, in the off-screen image's device pixels: the first outline pixel from the left.
std::vector<int> LeftEdgeOfFirstBar(const ScoreChart& w) {
    const int left = w.series->BarLeft(0);
    const int centre = left + w.series->BarWidth() / 2;
    const int apex = w.chart->LeftAxis().ValueToPixel(3);
    const int base = w.chart->LeftAxis().AxisEnd();
    std::vector<int> edge;
    for (int y = apex + 3; y < base - 3; ++y) {
        for (int x = left - 2; x < centre; ++x) {
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
    const std::vector<int> edge = LeftEdgeOfFirstBar(w);
    ASSERT_GT(edge.size(), 100 * ratio);
    int moves = 0;
    for (size_t i = 1; i < edge.size(); ++i) {
        EXPECT_TRUE(edge[i] - edge[i - 1] == 0 || edge[i] - edge[i - 1] == -1) << i;
        moves += edge[i] != edge[i - 1] ? 1 : 0;
    }
    EXPECT_GE(moves, static_cast<int>(8 * ratio));
}

TEST(ChartWidget, DrawsInDevicePixelsAtAnyRatio) {
    ScoreChart plain({3, 1, 0});
    plain.Paint();
    const QImage atOne = plain.chart->OffscreenCanvas().Image();
    const int fontAtOne = plain.chart->OffscreenCanvas().FontHeight();
    for (const double ratio : {1.0, 1.5, 2.0}) {
        SCOPED_TRACE(ratio);
        ScoreChart w({3, 1, 0});
        w.chart->SetPixelRatio(ratio);
        const QImage shown = w.Paint();
        const QImage& image = w.chart->OffscreenCanvas().Image();
        EXPECT_EQ(image.size(), QSize(qRound(213 * ratio), qRound(221 * ratio)));
        EXPECT_EQ(image.devicePixelRatio(), ratio);
        EXPECT_EQ(shown.size(), QSize(217, 225)) << "the widget keeps its size";
        EXPECT_NEAR(w.chart->OffscreenCanvas().FontHeight(), fontAtOne * ratio, 1.5);
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
