// The chart as a widget on the offscreen platform: redraw requests, the cached image and the
// colours of the real off-screen image at positions the pass's geometry predicts.
#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>

#include <memory>

#include "chart/scorechart.h"
#include "chart/tseriesmarks.h"

namespace zelmo::chart {
namespace {

struct ScoreWidget {
    std::unique_ptr<TChart> chart = std::make_unique<TChart>();
    TBarSeries* series = nullptr;

    ScoreWidget() {
        chart->resize(217, 225);
        series = chart->CreateBarSeries();
        ConfigureScoreChart(*chart, *series);
        series->Add(0.0, QStringLiteral(u"Игрок"), AutoColor);
        series->Add(0.0, QStringLiteral(u"Компьютер"), AutoColor);
        series->Add(0.0, QStringLiteral(u"Ничья"), AutoColor);
    }

    QImage Paint() { return chart->grab().toImage(); }
    const QImage& Image() { return chart->OffscreenCanvas().Image(); }
    QRgb Pixel(int x, int y) { return Image().pixel(x, y) & 0xFFFFFFu; }
};

TEST(ChartWidget, DrawingAreaIsTheClientAreaInsideTheSunkenEdge) {
    ScoreWidget w;
    w.Paint();
    EXPECT_EQ(w.chart->DrawingArea(), QRect(2, 2, 213, 221));
    EXPECT_EQ(w.Image().size(), QSize(213, 221));
    EXPECT_EQ(w.chart->OuterRect(), (TRect{0, 0, 213, 221}));
}

TEST(ChartWidget, ChangesBetweenPaintsCostOnePassAndUnchangedPaintsCopyTheImage) {
    ScoreWidget w;
    w.Paint();
    const long passes = w.chart->DrawPasses();
    EXPECT_EQ(passes, 1);
    EXPECT_FALSE(w.chart->OffscreenCanvas().Stale);

    // No change: the cached image is copied.
    const QImage first = w.Paint();
    EXPECT_EQ(w.chart->DrawPasses(), passes);

    const long requests = w.chart->RedrawRequests();
    w.series->SetYValue(1, w.series->GetYValue(1) + 1.0);
    w.series->SetYValue(1, w.series->GetYValue(1) + 1.0);
    EXPECT_EQ(w.chart->RedrawRequests(), requests + 2);
    EXPECT_TRUE(w.chart->OffscreenCanvas().Stale);
    EXPECT_DOUBLE_EQ(w.series->GetYValue(1), 2.0);
    const QImage second = w.Paint();
    EXPECT_EQ(w.chart->DrawPasses(), passes + 1);
    EXPECT_NE(first, second);

    // The window shows the off-screen image at the drawing area's corner.
    for (const QPoint p : {QPoint(0, 0), QPoint(106, 110), QPoint(212, 220)}) {
        EXPECT_EQ(second.pixel(p + QPoint(2, 2)), w.Image().pixel(p)) << p.x() << "," << p.y();
    }
}

TEST(ChartWidget, ColoursOfFacesBaseAndMarkBox) {
    ScoreWidget w;
    w.series->SetYValue(0, 3);
    w.series->SetYValue(1, 1);
    w.Paint();
    TChart& chart = *w.chart;
    const TChartAxis& left = chart.LeftAxis();
    const int bottom = left.AxisEnd();
    const int barWidth = w.series->BarWidth();
    ASSERT_GT(barWidth, 10);
    ASSERT_EQ(chart.TotalDepth(), 3);

    // The tallest bar: inside the front triangle, and inside the right face near its foot.
    const int left0 = w.series->BarLeft(0);
    const int right0 = left0 + barWidth;
    const int centre0 = left0 + barWidth / 2;
    ASSERT_LT(left.ValueToPixel(3), bottom - 40);
    EXPECT_EQ(w.Pixel(centre0 - 2, bottom - 10), 0xFF0000u);
    EXPECT_EQ(w.Pixel(right0 + 1, bottom - 8), 0x7F0000u);

    // The zero bar is a base face at the axis end, beside the arrow of its mark.
    const int left2 = w.series->BarLeft(2);
    EXPECT_EQ(left.ValueToPixel(0), bottom);
    EXPECT_EQ(w.Pixel(left2 + barWidth / 2 - 4, bottom - 2), 0xBF0000u);

    // The mark box of the tallest bar, shifted by the centre depth, inside its frame.
    const auto& stored = w.series->Marks().Positions();
    ASSERT_GE(stored.size(), 1u);
    ASSERT_TRUE(stored[0].has_value());
    const int z = w.series->CenterZ();
    const TPoint box{stored[0]->BoxLeftTop.X + z, stored[0]->BoxLeftTop.Y - z};
    EXPECT_EQ(w.Pixel(box.X + 2, box.Y + stored[0]->BoxHeight / 2), 0xFFFF80u);
    EXPECT_EQ(w.Pixel(box.X, box.Y + stored[0]->BoxHeight / 2), 0x000000u);
}

TEST(ChartWidget, RequestsBeforeConstructionEndsAreIgnored) {
    TChart chart;
    EXPECT_EQ(chart.RedrawRequests(), 0);
    chart.SetMarginLeft(7);
    EXPECT_EQ(chart.RedrawRequests(), 1);
}

}  // namespace
}  // namespace zelmo::chart
