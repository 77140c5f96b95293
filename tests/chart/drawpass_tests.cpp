// The whole drawing pass of the score chart on the recording canvas, replaying the worked
// examples pixel by pixel.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "chart/tseriesmarks.h"
#include "scorechartfixture.h"

namespace zelmo::chart {
namespace {

using testing::ScoreChart;

std::vector<int> ArgsOf(const TCanvasRecord& r) {
    return r.Args;
}

// Index of the first record of a kind at or after a position, or -1.
int Find(const TRecordingCanvas& canvas, const std::string& kind, size_t from = 0) {
    for (size_t i = from; i < canvas.Records.size(); ++i) {
        if (canvas.Records[i].Kind == kind) return static_cast<int>(i);
    }
    return -1;
}

TEST(DrawPass, LayoutOfTheWorkedExample) {
    ScoreChart s({3, 1, 0});
    s.Pass();
    TChart& chart = *s.chart;

    EXPECT_EQ(chart.OuterRect(), (TRect{0, 0, 213, 221}));
    EXPECT_EQ(chart.PlotRect(), (TRect{11, 27, 199, 201}));
    EXPECT_EQ(chart.SeriesDepth(), 3);
    EXPECT_EQ(chart.TotalDepth(), 3);
    EXPECT_EQ(s.series->FrontZ(), 0);
    EXPECT_EQ(s.series->BackZ(), 3);
    EXPECT_EQ(s.series->CenterZ(), 1);

    TChartAxis& bottom = chart.BottomAxis();
    EXPECT_EQ(bottom.LabelsPos(), 207);
    EXPECT_EQ(bottom.AxisLinePos(), 201);
    EXPECT_EQ(bottom.AxisStart(), 11);
    EXPECT_EQ(bottom.AxisEnd(), 199);
    EXPECT_EQ(s.series->BarWidth(), 26);
    EXPECT_NEAR(bottom.ScaleMin(), -52.0 / 136, 1e-12);
    EXPECT_NEAR(bottom.ScaleMax(), 2 + 52.0 / 136, 1e-12);
    EXPECT_EQ(bottom.ValueToPixel(0), 37);
    EXPECT_EQ(bottom.ValueToPixel(1), 105);
    EXPECT_EQ(bottom.ValueToPixel(2), 173);

    TChartAxis& left = chart.LeftAxis();
    EXPECT_EQ(left.AxisLength(), 174);
    EXPECT_DOUBLE_EQ(left.ScaleMin(), 0);
    EXPECT_NEAR(left.ScaleMax(), 3 + 111.0 / 137, 1e-12);
    EXPECT_EQ(left.ValueToPixel(3), 64);
    EXPECT_EQ(left.ValueToPixel(1), 155);
    EXPECT_EQ(left.ValueToPixel(0), 201);
    EXPECT_EQ(s.series->FirstVisible(), 0);
    EXPECT_EQ(s.series->LastVisible(), 2);

    // Only the bottom axis is visible; the hidden ones take no room and draw nothing.
    EXPECT_TRUE(bottom.IsVisible());
    EXPECT_FALSE(left.IsVisible());
    EXPECT_FALSE(chart.TopAxis().IsVisible());
    EXPECT_FALSE(chart.RightAxis().IsVisible());
    EXPECT_FALSE(chart.DepthAxis().IsVisible());
}

TEST(DrawPass, StepsComeInTheOrderOfThePass) {
    ScoreChart s({3, 1, 0});
    s.Pass();
    const TRecordingCanvas& c = s.canvas;
    const int prepare = Find(c, "PrepareView");
    const int background = Find(c, "FillRect");
    const int flat = Find(c, "BeginFlatDrawing");
    const int title = Find(c, "TextOut2D");
    const int flatEnd = Find(c, "EndFlatDrawing");
    const int projection = Find(c, "SetProjection");
    const int axisLine = Find(c, "HLineAtDepth");
    const int clip = Find(c, "ClipToBox");
    const int pyramid = Find(c, "DrawPyramid");
    const int unclip = Find(c, "Unclip");
    const int arrow = Find(c, "LineWithDepth");
    ASSERT_EQ(prepare, 0);
    EXPECT_LT(prepare, background);
    EXPECT_LT(background, flat);
    EXPECT_LT(flat, title);
    EXPECT_LT(title, flatEnd);
    EXPECT_LT(flatEnd, projection);
    EXPECT_LT(projection, axisLine);
    EXPECT_LT(axisLine, clip);
    EXPECT_LT(clip, pyramid);
    EXPECT_LT(pyramid, unclip);
    EXPECT_LT(unclip, arrow);
    EXPECT_EQ(ArgsOf(c.Records[static_cast<size_t>(projection)]),
              (std::vector<int>{3, 0, 0, 213, 221, 11, 27, 199, 201}));
    EXPECT_EQ(ArgsOf(c.Records[static_cast<size_t>(clip)]),
              (std::vector<int>{11, 27, 199, 201, 0, 3}));
    // The marks are not clipped: nothing is clipped after the bars' clip is removed.
    EXPECT_EQ(Find(c, "ClipToBox", static_cast<size_t>(unclip)), -1);
}

TEST(DrawPass, PanelBackgroundRaisedBevelAndTitle) {
    ScoreChart s({3, 1, 0});
    s.Pass();
    const auto fills = s.canvas.Of("FillRect");
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].Points, (std::vector<TPoint>{{0, 0}, {213, 221}}));
    EXPECT_EQ(fills[0].Brush.Color, clBtnFace);
    EXPECT_EQ(fills[0].Brush.Style, TBrushStyle::bsSolid);

    // One raised bevel line: light on the left and top, dark on the right and bottom.
    const auto lines = s.canvas.Of("LineTo");
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0].Points, (std::vector<TPoint>{{0, 220}, {0, 0}}));
    EXPECT_EQ(lines[1].Points, (std::vector<TPoint>{{0, 0}, {212, 0}}));
    EXPECT_EQ(lines[2].Points, (std::vector<TPoint>{{212, 0}, {212, 220}}));
    EXPECT_EQ(lines[3].Points, (std::vector<TPoint>{{212, 220}, {-1, 220}}));
    EXPECT_EQ(lines[0].Pen.Color, clBtnHighlight);
    EXPECT_EQ(lines[1].Pen.Color, clBtnHighlight);
    EXPECT_EQ(lines[2].Pen.Color, clBtnShadow);
    EXPECT_EQ(lines[3].Pen.Color, clBtnShadow);
    EXPECT_EQ(lines[0].Pen.Width, 1);

    // The title is centred over the plot's width at the top, transparent, top-left aligned.
    const auto texts = s.canvas.Of("TextOut2D");
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts[0].Text, QStringLiteral(u"Счёт"));
    EXPECT_EQ(texts[0].Points[0], (TPoint{(11 + 202) / 2 - 24 / 2, 0}));
    EXPECT_EQ(texts[0].Font.Height, -16);
    EXPECT_EQ(texts[0].BackMode, TBackMode::Transparent);
    EXPECT_EQ(texts[0].Alignment, TA_LEFT | TA_TOP);
}

TEST(DrawPass, BottomAxisLabelsLineTicksGridAndMinorTicks) {
    ScoreChart s({3, 1, 0});
    s.Pass();
    const auto labels = s.canvas.Of("TextAtDepth");
    ASSERT_EQ(labels.size(), 3u);
    const QString names[] = {QStringLiteral(u"Игрок"), QStringLiteral(u"Компьютер"),
                             QStringLiteral(u"Ничья")};
    const int centres[] = {37, 105, 173};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(labels[i].Text, names[i]);
        EXPECT_EQ(labels[i].Args, (std::vector<int>{centres[i], 207, 0}));
        EXPECT_EQ(labels[i].Alignment, TA_CENTER);
        EXPECT_EQ(labels[i].BackMode, TBackMode::Transparent);
        EXPECT_EQ(labels[i].Font.Height, -11);
    }

    const auto hlines = s.canvas.Of("HLineAtDepth");
    ASSERT_EQ(hlines.size(), 1u);
    EXPECT_EQ(hlines[0].Args, (std::vector<int>{11, 199, 201, 0}));
    EXPECT_EQ(hlines[0].Pen.Width, 2);
    EXPECT_EQ(hlines[0].Pen.Color, clBlack);

    std::vector<std::vector<int>> ticks;
    std::vector<std::vector<int>> grid;
    std::vector<std::vector<int>> minor;
    for (const auto& r : s.canvas.Of("VLineAtDepth")) {
        if (r.Args[3] == 3) {
            grid.push_back(r.Args);
            EXPECT_EQ(r.Pen.Style, TPenStyle::psDot);
            EXPECT_EQ(r.Pen.Color, clGray);
        } else if (r.Args[2] == 206) {
            ticks.push_back(r.Args);
            EXPECT_EQ(r.Pen.Color, clGray);
        } else {
            minor.push_back(r.Args);
        }
    }
    EXPECT_EQ(ticks, (std::vector<std::vector<int>>{
                         {37, 202, 206, 0}, {105, 202, 206, 0}, {173, 202, 206, 0}}));
    EXPECT_EQ(grid, (std::vector<std::vector<int>>{
                        {37, 27, 201, 3}, {105, 27, 201, 3}, {173, 27, 201, 3}}));
    const auto depthLines = s.canvas.Of("DepthLine");
    ASSERT_EQ(depthLines.size(), 3u);
    EXPECT_EQ(depthLines[0].Args, (std::vector<int>{37, 201, 0, 3}));
    // Three minor ticks per gap of 68 pixels (every 17) and beyond the ends inside the axis.
    EXPECT_EQ(minor, (std::vector<std::vector<int>>{{20, 202, 204, 0},
                                                    {190, 202, 204, 0},
                                                    {88, 202, 204, 0},
                                                    {71, 202, 204, 0},
                                                    {54, 202, 204, 0},
                                                    {156, 202, 204, 0},
                                                    {139, 202, 204, 0},
                                                    {122, 202, 204, 0}}));
}

TEST(DrawPass, PyramidsOfTheScores) {
    ScoreChart s({3, 1, 0});
    s.Pass();
    const auto pyramids = s.canvas.Of("DrawPyramid");
    ASSERT_EQ(pyramids.size(), 3u);
    EXPECT_EQ(pyramids[0].Args, (std::vector<int>{1, 24, 64, 50, 201, 0, 3, 1}));
    EXPECT_EQ(pyramids[1].Args, (std::vector<int>{1, 92, 155, 118, 201, 0, 3, 1}));
    EXPECT_EQ(pyramids[2].Args, (std::vector<int>{1, 160, 201, 186, 201, 0, 3, 1}));
    for (const auto& p : pyramids) {
        EXPECT_EQ(p.Brush.Color, clRed);
        EXPECT_EQ(p.Brush.Style, TBrushStyle::bsSolid);
        EXPECT_EQ(p.BackMode, TBackMode::Transparent);
        EXPECT_EQ(p.Pen.Color, clBlack);
        EXPECT_EQ(p.Pen.Width, 1);
        EXPECT_EQ(p.Pen.Style, TPenStyle::psSolid);
    }

    // The tallest bar: front triangle in red, right face darkened by 128.
    const auto polygons = s.canvas.Of("FillPolygon");
    ASSERT_GE(polygons.size(), 4u);
    EXPECT_EQ(polygons[0].Points, (std::vector<TPoint>{{24, 201}, {38, 63}, {50, 201}}));
    EXPECT_EQ(polygons[0].Brush.Color, clRed);
    EXPECT_EQ(polygons[1].Points, (std::vector<TPoint>{{50, 201}, {38, 63}, {53, 198}}));
    EXPECT_EQ(polygons[1].Brush.Color, 0x00007Fu);

    // The zero bar is only its base, darkened by 64.
    const auto faces = s.canvas.Of("HorizontalFace");
    ASSERT_EQ(faces.size(), 1u);
    EXPECT_EQ(faces[0].Args, (std::vector<int>{160, 201, 186, 0, 3}));
    EXPECT_EQ(faces[0].Brush.Color, 0x0000BFu);
}

TEST(DrawPass, MarksOfTheScores) {
    ScoreChart s({3, 1, 0});
    s.Pass();
    const auto arrows = s.canvas.Of("LineWithDepth");
    ASSERT_EQ(arrows.size(), 3u);
    EXPECT_EQ(arrows[0].Args, (std::vector<int>{37, 64, 37, 44, 1}));
    EXPECT_EQ(arrows[1].Args, (std::vector<int>{105, 155, 105, 135, 1}));
    EXPECT_EQ(arrows[2].Args, (std::vector<int>{173, 201, 173, 181, 1}));
    EXPECT_EQ(arrows[0].Pen.Color, clWhite);

    const auto boxes = s.canvas.Of("Rectangle2D");
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].Points, (std::vector<TPoint>{{29, 28}, {48, 44}}));
    EXPECT_EQ(boxes[1].Points, (std::vector<TPoint>{{97, 119}, {116, 135}}));
    EXPECT_EQ(boxes[2].Points, (std::vector<TPoint>{{165, 165}, {184, 181}}));
    EXPECT_EQ(boxes[0].Brush.Color, 0x0080FFFFu);
    EXPECT_EQ(boxes[0].Brush.Style, TBrushStyle::bsSolid);
    EXPECT_EQ(boxes[0].Pen.Color, clBlack);

    // The last three texts are the marks (after the title and the labels).
    auto texts = s.canvas.Of("TextOut2D");
    ASSERT_EQ(texts.size(), 1u + 3u + 3u);
    texts.erase(texts.begin(), texts.begin() + 4);
    EXPECT_EQ(texts[0].Text, QStringLiteral("3"));
    EXPECT_EQ(texts[0].Points[0], (TPoint{38, 29}));
    EXPECT_EQ(texts[1].Text, QStringLiteral("1"));
    EXPECT_EQ(texts[1].Points[0], (TPoint{106, 120}));
    EXPECT_EQ(texts[2].Text, QStringLiteral("0"));
    EXPECT_EQ(texts[2].Points[0], (TPoint{174, 166}));
    for (const auto& t : texts) {
        EXPECT_EQ(t.Alignment, TA_CENTER);
        EXPECT_EQ(t.BackMode, TBackMode::Transparent);
        EXPECT_EQ(t.Font.Color, clBlack);
    }
    EXPECT_EQ(s.canvas.TextAlignment(), TA_LEFT | TA_TOP);

    // The stored geometry is the one before the 3D shift: box bottom row on the arrow end row.
    const auto& stored = s.series->Marks().Positions();
    ASSERT_EQ(stored.size(), 3u);
    ASSERT_TRUE(stored[0].has_value());
    EXPECT_EQ(stored[0]->BoxLeftTop.Y + stored[0]->BoxHeight - 1, stored[0]->ArrowEnd.Y);
    EXPECT_EQ(stored[0]->BoxWidth, 19);
    EXPECT_EQ(stored[0]->BoxHeight, 16);
}

TEST(DrawPass, MarkVariants) {
    ScoreChart s({3, 1, 0});
    // Two lines: the box fits the wider line plus a "W" and two line heights plus the frame.
    s.series->OnGetMarkText = [](TChartSeries&, int index, QString& text) {
        if (index == 0) text = QStringLiteral("ab") + QChar(13) + QStringLiteral("abcd");
        if (index == 2) text.clear();
    };
    // An arrow in the point's colour would vanish: it is drawn black on this background.
    s.series->Marks().Arrow().SetColor(clRed);
    s.Pass();
    const auto& first = *s.series->Marks().Positions()[0];
    EXPECT_EQ(first.BoxWidth, 24 + 11 + 2);
    EXPECT_EQ(first.BoxHeight, 2 * 14 + 2);
    auto texts = s.canvas.Of("TextOut2D");
    ASSERT_EQ(texts.size(), 1u + 3u + 3u);  // title, labels, two lines and one mark
    EXPECT_EQ(texts[4].Text, QStringLiteral("ab"));
    EXPECT_EQ(texts[5].Text, QStringLiteral("abcd"));
    EXPECT_EQ(texts[5].Points[0].Y, texts[4].Points[0].Y + 14);
    const auto arrows = s.canvas.Of("LineTo");
    ASSERT_FALSE(arrows.empty());
    EXPECT_EQ(arrows.back().Pen.Color, clBlack);
    EXPECT_EQ(s.canvas.Of("LineWithDepth").size(), 2u);  // the empty text has no mark

    // A transparent mark without a frame has no box at all.
    s.series->Marks().SetTransparent(true);
    s.series->Marks().Frame().SetVisible(false);
    s.Pass();
    EXPECT_TRUE(s.canvas.Of("Rectangle2D").empty());
    EXPECT_EQ(s.canvas.Of("LineWithDepth").size(), 2u);
}

TEST(DrawPass, StartUpShowsThreeEqualPyramidsWithZeroMarks) {
    ScoreChart s;
    s.Pass();
    TChart& chart = *s.chart;
    EXPECT_DOUBLE_EQ(chart.LeftAxis().ScaleRange(), 0);
    const int middle = chart.LeftAxis().AxisCenter();
    EXPECT_EQ(middle, (27 + 201) / 2);
    const auto pyramids = s.canvas.Of("DrawPyramid");
    ASSERT_EQ(pyramids.size(), 3u);
    EXPECT_EQ(pyramids[0].Args, (std::vector<int>{1, 24, middle, 50, 201, 0, 3, 1}));
    EXPECT_EQ(pyramids[1].Args, (std::vector<int>{1, 92, middle, 118, 201, 0, 3, 1}));
    EXPECT_EQ(pyramids[2].Args, (std::vector<int>{1, 160, middle, 186, 201, 0, 3, 1}));
    EXPECT_TRUE(s.canvas.Of("HorizontalFace").empty());

    const auto arrows = s.canvas.Of("LineWithDepth");
    ASSERT_EQ(arrows.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(arrows[i].Args[1], middle);
        EXPECT_EQ(arrows[i].Args[3], middle - 20);
    }
    const auto texts = s.canvas.Of("TextOut2D");
    ASSERT_EQ(texts.size(), 7u);
    for (size_t i = 4; i < 7; ++i) EXPECT_EQ(texts[i].Text, QStringLiteral("0"));
}

// The mark of a bar with BarLeft 40, BarWidth 26, top 100 and CenterZ 1, text "3" 6 pixels
// wide and "W" 11 by 14, frame width 1: replayed inside a pass, where the bar width is 26 and
// the depth 1.
TEST(DrawPass, MarkWorkedExample) {
    ScoreChart s({3, 1, 0});
    s.chart->OnAfterDraw = [&s] {
        s.canvas.Clear();
        TSeriesMarkPosition position;
        position.BoxWidth = 19;
        position.BoxHeight = 16;
        position.ArrowEnd = {40, 100};
        position.ArrowStart = position.ArrowEnd;
        position.BoxLeftTop = {40 - 19 / 2, 100 - 16 + 1};
        s.series->PlaceMark(0, QStringLiteral("3"), position);
    };
    s.Pass();
    const auto arrow = s.canvas.Of("LineWithDepth");
    ASSERT_EQ(arrow.size(), 1u);
    EXPECT_EQ(arrow[0].Args, (std::vector<int>{53, 100, 53, 80, 1}));
    const auto line = s.canvas.Of("LineTo");
    ASSERT_EQ(line.size(), 1u);
    EXPECT_EQ(line[0].Points, (std::vector<TPoint>{{54, 99}, {54, 79}}));
    EXPECT_EQ(line[0].Pen.Color, clWhite);
    const auto box = s.canvas.Of("Rectangle2D");
    ASSERT_EQ(box.size(), 1u);
    EXPECT_EQ(box[0].Points, (std::vector<TPoint>{{45, 64}, {64, 80}}));
    const auto text = s.canvas.Of("TextOut2D");
    ASSERT_EQ(text.size(), 1u);
    EXPECT_EQ(text[0].Points[0], (TPoint{54, 65}));
    EXPECT_EQ(text[0].Text, QStringLiteral("3"));
    const auto& stored = *s.series->Marks().Positions()[0];
    EXPECT_EQ(stored.ArrowStart, (TPoint{53, 100}));
    EXPECT_EQ(stored.ArrowEnd, (TPoint{53, 80}));
    EXPECT_EQ(stored.BoxLeftTop, (TPoint{44, 65}));
}

TEST(DrawPass, OneScoreAboveZeroLeavesBasesForTheOthers) {
    ScoreChart s({1, 0, 0});
    s.Pass();
    TChartAxis& left = s.chart->LeftAxis();
    EXPECT_EQ(left.ValueToPixel(0), s.chart->PlotRect().Bottom);
    EXPECT_EQ(left.ValueToPixel(1), s.chart->PlotRect().Top + 37);
    EXPECT_EQ(s.canvas.Of("HorizontalFace").size(), 2u);
}

TEST(DrawPass, WideLabelsDropTheOneTooCloseToThePreviousLabel) {
    ScoreChart s({3, 1, 0});
    s.canvas.TextWidth = [](const TFontData& font, const QString& text) {
        if (text == QStringLiteral("W")) return 11;
        return font.Height == -11 && text.size() > 1 ? 100 : 6 * static_cast<int>(text.size());
    };
    s.Pass();
    // 100 pixels: allowance 19, half 59; 105 - 59 < 37 + 50, but 173 - 59 >= 37 + 50.
    auto labels = s.canvas.Of("TextAtDepth");
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_EQ(labels[0].Args[0], 37);
    EXPECT_EQ(labels[1].Args[0], 173);
    EXPECT_EQ(s.chart->BottomAxis().TickPositions(), (std::vector<int>{37, 173}));

    s.chart->BottomAxis().SetLabelsSeparation(0);
    s.Pass();
    EXPECT_EQ(s.canvas.Of("TextAtDepth").size(), 3u);
}

TEST(DrawPass, FlatChartHasNoDepthAndAPlainBackWall) {
    ScoreChart s({3, 1, 0});
    s.chart->SetView3D(false);
    s.Pass();
    EXPECT_EQ(s.chart->SeriesDepth(), 0);
    EXPECT_EQ(s.chart->TotalDepth(), 0);
    EXPECT_EQ(s.chart->PlotRect(), (TRect{11, 24, 202, 201}));
    const auto rects = s.canvas.Of("Rectangle2D");
    ASSERT_FALSE(rects.empty());
    EXPECT_EQ(rects[0].Points, (std::vector<TPoint>{{11, 24}, {203, 202}}));
    EXPECT_TRUE(s.canvas.Of("DrawPyramid").empty());
}

TEST(DrawPass, TwoLineTitleTakesTwoLineHeights) {
    ScoreChart s({3, 1, 0});
    s.chart->Title().SetText(QStringLiteral("A\nB"));
    s.Pass();
    EXPECT_EQ(s.chart->PlotRect().Top, 2 * 19 + 5 + 3);
}

}  // namespace
}  // namespace zelmo::chart
