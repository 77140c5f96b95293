// SPDX-License-Identifier: GPL-3.0-or-later
// The whole drawing pass of the score chart on the recording canvas, checked call by call
// against layouts worked out by hand.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "chart/tseriesmarks.h"
#include "scorechartfixture.h"

namespace zelmo::chart {
namespace {

using testing::ScoreChart;
using Rows = std::vector<std::vector<int>>;
using Strings = std::vector<std::string>;

// The flat texts after the bars' clip is removed: the marks' lines, in call order.
std::vector<TCanvasRecord> MarkTexts(const TRecordingCanvas& c) {
    std::vector<TCanvasRecord> result;
    for (const TCanvasRecord& r : c.Records) {
        if (r.Kind == "Unclip") {
            result.clear();
        }
        if (r.Kind == "TextOut2D") {
            result.push_back(r);
        }
    }
    return result;
}

TEST(DrawPass, LayoutAndOrderForScoresThreeOneNil) {
    ScoreChart s({3, 1, 0});
    s.Pass();
    TChart& chart = *s.chart;
    EXPECT_EQ(chart.PlotRect(), (TRect{11, 27, 199, 201}));
    EXPECT_EQ((std::vector<int>{chart.SeriesDepth(), chart.TotalDepth(), s.series->FrontZ(),
                                s.series->BackZ(), s.series->CenterZ(), s.series->BarWidth()}),
              (std::vector<int>{3, 3, 0, 3, 1, 26}));
    TChartAxis& bottom = chart.BottomAxis();
    TChartAxis& left = chart.LeftAxis();
    EXPECT_EQ(bottom.LabelsPos(), 207);
    EXPECT_EQ(bottom.AxisLinePos(), 201);
    EXPECT_NEAR(bottom.ScaleMin(), -52.0 / 136, 1e-12);
    EXPECT_NEAR(bottom.ScaleMax(), 2 + 52.0 / 136, 1e-12);
    EXPECT_NEAR(left.ScaleMax(), 3 + 111.0 / 137, 1e-12);
    EXPECT_EQ(
        (std::vector<int>{bottom.ValueToPixel(0), bottom.ValueToPixel(1), bottom.ValueToPixel(2)}),
        (std::vector<int>{37, 105, 173}));
    EXPECT_EQ((std::vector<int>{left.ValueToPixel(3), left.ValueToPixel(1), left.ValueToPixel(0)}),
              (std::vector<int>{64, 155, 201}));
    // Only the bottom axis is visible; the hidden ones take no room and draw nothing.
    const std::vector<bool> visible = {true, false, false, false, false};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(chart.AxesList()[i]->IsVisible(), visible[i]) << i;
    }

    // Background, projection, axis, the bars inside the box clip, then the unclipped marks.
    const std::set<std::string> steps = {"FillRect",     "SetProjection", "HLineAtDepth",
                                         "ClipToBox",    "DrawPyramid",   "Unclip",
                                         "LineWithDepth"};
    Strings order;
    for (const TCanvasRecord& r : s.canvas.Records) {
        if (steps.count(r.Kind) && (order.empty() || order.back() != r.Kind)) {
            order.push_back(r.Kind);
        }
    }
    EXPECT_EQ(order, (Strings{"FillRect", "SetProjection", "HLineAtDepth", "ClipToBox",
                              "DrawPyramid", "Unclip", "LineWithDepth"}));
    EXPECT_EQ(s.canvas.Args("SetProjection"), (Rows{{3, 0, 0, 213, 221, 11, 27, 199, 201}}));
    EXPECT_EQ(s.canvas.Args("ClipToBox"), (Rows{{11, 27, 199, 201, 0, 3}}));
}

TEST(DrawPass, PanelBevelTitleAndBottomAxis) {
    ScoreChart s({3, 1, 0});
    s.Pass();
    const auto fills = s.canvas.Of("FillRect");
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(TRecordingCanvas::Str(fills[0].Points), "(0,0)(213,221)");
    EXPECT_EQ(fills[0].Brush, (TBrushData{clBtnFace, TBrushStyle::bsSolid}));

    // One raised bevel line: light on the left and top, dark on the right and bottom.
    const auto lines = s.canvas.Of("LineTo");
    ASSERT_GE(lines.size(), 4u);
    const Strings bevel = {"(0,220)(0,0)", "(0,0)(212,0)", "(212,0)(212,220)", "(212,220)(-1,220)"};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(TRecordingCanvas::Str(lines[i].Points), bevel[i]);
        EXPECT_EQ(lines[i].Pen.Color, i < 2 ? clBtnHighlight : clBtnShadow) << i;
    }

    // The title is centred over the plot's width at the top, transparent, top-left aligned.
    const auto title = s.canvas.Of("TextOut2D").at(0);
    EXPECT_EQ(title.Text, QStringLiteral(u"Счёт"));
    EXPECT_EQ(title.Points[0], (TPoint{(11 + 202) / 2 - 24 / 2, 0}));
    EXPECT_EQ(title.Font.Height, -16);
    EXPECT_EQ(title.BackMode, TBackMode::Transparent);
    EXPECT_EQ(title.Alignment, TA_LEFT | TA_TOP);

    // Labels under the bar centres, on the label row, centred and transparent.
    const auto labels = s.canvas.Of("TextAtDepth");
    EXPECT_EQ(s.canvas.Args("TextAtDepth"), (Rows{{37, 207, 0}, {105, 207, 0}, {173, 207, 0}}));
    const QString names[] = {QStringLiteral(u"Игрок"), QStringLiteral(u"Компьютер"),
                             QStringLiteral(u"Ничья")};
    for (size_t i = 0; i < labels.size(); ++i) {
        EXPECT_EQ(labels[i].Text, names[i]);
        EXPECT_EQ(labels[i].Alignment, TA_CENTER);
        EXPECT_EQ(labels[i].BackMode, TBackMode::Transparent);
    }

    // Axis line 2 pixels wide; ticks 202..206 in grey; dotted grid and depth lines on the
    // back plane; three minor ticks per gap of 68 pixels and beyond the ends inside the axis.
    const auto axis = s.canvas.Of("HLineAtDepth");
    EXPECT_EQ(s.canvas.Args("HLineAtDepth"), (Rows{{11, 199, 201, 0}}));
    EXPECT_EQ(axis.at(0).Pen.Width, 2);
    Rows ticks, grid;
    std::vector<int> minor;
    for (const auto& r : s.canvas.Of("VLineAtDepth")) {
        const bool isGrid = r.Args[3] == 3;
        if (isGrid || r.Args[2] == 206) {
            (isGrid ? grid : ticks).push_back(r.Args);
        } else {
            minor.push_back(r.Args[0]);
            EXPECT_EQ(r.Args, (std::vector<int>{r.Args[0], 202, 204, 0}));
        }
        EXPECT_EQ(r.Pen.Color, clGray);
        EXPECT_EQ(r.Pen.Style, isGrid ? TPenStyle::psDot : TPenStyle::psSolid);
    }
    EXPECT_EQ(ticks, (Rows{{37, 202, 206, 0}, {105, 202, 206, 0}, {173, 202, 206, 0}}));
    EXPECT_EQ(grid, (Rows{{37, 27, 201, 3}, {105, 27, 201, 3}, {173, 27, 201, 3}}));
    EXPECT_EQ(s.canvas.Args("DepthLine").at(0), (std::vector<int>{37, 201, 0, 3}));
    EXPECT_EQ(minor, (std::vector<int>{20, 190, 88, 71, 54, 156, 139, 122}));
}

TEST(DrawPass, PyramidsAndMarksOfTheScores) {
    ScoreChart s({3, 1, 0});
    s.Pass();
    EXPECT_EQ(s.canvas.Args("DrawPyramid"), (Rows{{1, 24, 64, 50, 201, 0, 3, 1},
                                                  {1, 92, 155, 118, 201, 0, 3, 1},
                                                  {1, 160, 201, 186, 201, 0, 3, 1}}));
    for (const auto& p : s.canvas.Of("DrawPyramid")) {
        EXPECT_EQ(p.Brush, (TBrushData{clRed, TBrushStyle::bsSolid}));
        EXPECT_EQ(p.Pen, TPenData{});
    }
    // The tallest bar: front triangle in red, right face darkened by 128.
    const auto faces = s.canvas.Of("FillPolygon");
    ASSERT_GE(faces.size(), 2u);
    EXPECT_EQ(TRecordingCanvas::Str(faces[0].Points), "(24,201)(38,63)(50,201)");
    EXPECT_EQ(TRecordingCanvas::Str(faces[1].Points), "(50,201)(38,63)(53,198)");
    EXPECT_EQ(faces[0].Brush.Color, clRed);
    EXPECT_EQ(faces[1].Brush.Color, 0x00007Fu);
    // The zero bar is only its base, darkened by 64.
    EXPECT_EQ(s.canvas.Args("HorizontalFace"), (Rows{{160, 201, 186, 0, 3}}));
    EXPECT_EQ(s.canvas.Of("HorizontalFace").at(0).Brush.Color, 0x0000BFu);

    // Each mark: a white arrow 20 pixels up from the apex at the centre depth, a pale yellow
    // box with a black frame, the value centred in black.
    EXPECT_EQ(s.canvas.Args("LineWithDepth"),
              (Rows{{37, 64, 37, 44, 1}, {105, 155, 105, 135, 1}, {173, 201, 173, 181, 1}}));
    EXPECT_EQ(s.canvas.Of("LineWithDepth").at(0).Pen.Color, clWhite);
    EXPECT_EQ(s.canvas.Pts("Rectangle2D"),
              (Strings{"(29,28)(48,44)", "(97,119)(116,135)", "(165,165)(184,181)"}));
    const auto box = s.canvas.Of("Rectangle2D").at(0);
    EXPECT_EQ(box.Brush, (TBrushData{0x0080FFFFu, TBrushStyle::bsSolid}));
    EXPECT_EQ(box.Pen.Color, clBlack);
    const auto texts = MarkTexts(s.canvas);
    ASSERT_EQ(texts.size(), 3u);
    const Strings at = {"(38,29)", "(106,120)", "(174,166)"};
    const QString values[] = {QStringLiteral("3"), QStringLiteral("1"), QStringLiteral("0")};
    for (size_t i = 0; i < 3; ++i) {
        const TCanvasRecord& t = texts[i];
        EXPECT_EQ(t.Text, values[i]);
        EXPECT_EQ(TRecordingCanvas::Str(t.Points), at[i]);
        EXPECT_EQ(t.Alignment, TA_CENTER);
        EXPECT_EQ(t.BackMode, TBackMode::Transparent);
        EXPECT_EQ(t.Font.Color, clBlack);
    }
    EXPECT_EQ(s.canvas.Alignment, TA_LEFT | TA_TOP) << "the alignment is restored";

    // The stored geometry is the one before the 3D shift: box bottom row on the arrow end row.
    const auto& stored = *s.series->Marks().Positions().at(0);
    EXPECT_EQ(stored.BoxLeftTop.Y + stored.BoxHeight - 1, stored.ArrowEnd.Y);
    EXPECT_EQ(stored.BoxWidth, 19);
    EXPECT_EQ(stored.BoxHeight, 16);
}

TEST(DrawPass, MarkVariants) {
    ScoreChart s({3, 1, 0});
    // Two lines: the box fits the wider line plus a "W" and two line heights plus the frame.
    s.series->OnGetMarkText = [](TChartSeries&, int index, QString& text) {
        if (index == 0) {
            text = QStringLiteral("ab") + QChar(13) + QStringLiteral("abcd");
        }
        if (index == 2) {
            text.clear();
        }
    };
    // An arrow in the point's colour would vanish: it is drawn black on this background.
    s.series->Marks().Arrow().SetColor(clRed);
    s.Pass();
    const auto& first = *s.series->Marks().Positions()[0];
    EXPECT_EQ(first.BoxWidth, 24 + 11 + 2);
    EXPECT_EQ(first.BoxHeight, 2 * 14 + 2);
    const auto texts = MarkTexts(s.canvas);
    ASSERT_EQ(texts.size(), 3u);  // two lines and one mark
    EXPECT_EQ(texts[0].Text, QStringLiteral("ab"));
    EXPECT_EQ(texts[1].Text, QStringLiteral("abcd"));
    EXPECT_EQ(texts[1].Points[0].Y, texts[0].Points[0].Y + 14);
    EXPECT_EQ(s.canvas.Of("LineTo").back().Pen.Color, clBlack);
    EXPECT_EQ(s.canvas.Of("LineWithDepth").size(), 2u) << "an empty text has no mark";

    // A transparent mark without a frame has no box at all.
    s.series->Marks().SetTransparent(true);
    s.series->Marks().Frame().SetVisible(false);
    s.Pass();
    EXPECT_TRUE(s.canvas.Of("Rectangle2D").empty());
    EXPECT_EQ(s.canvas.Of("LineWithDepth").size(), 2u);
}

// Scores all 0 (start-up): three equal pyramids to the middle of the plot, marks "0". One
// score above 0: the others are bases on the axis.
TEST(DrawPass, EqualAndZeroScores) {
    ScoreChart s;
    s.Pass();
    EXPECT_DOUBLE_EQ(s.chart->LeftAxis().ScaleRange(), 0);
    const int middle = (27 + 201) / 2;
    EXPECT_EQ(s.canvas.Args("DrawPyramid"), (Rows{{1, 24, middle, 50, 201, 0, 3, 1},
                                                  {1, 92, middle, 118, 201, 0, 3, 1},
                                                  {1, 160, middle, 186, 201, 0, 3, 1}}));
    EXPECT_TRUE(s.canvas.Of("HorizontalFace").empty());
    for (const auto& arrow : s.canvas.Args("LineWithDepth")) {
        EXPECT_EQ(arrow[1], middle);
        EXPECT_EQ(arrow[3], middle - 20);
    }
    const auto texts = MarkTexts(s.canvas);
    ASSERT_EQ(texts.size(), 3u);
    for (const auto& t : texts) {
        EXPECT_EQ(t.Text, QStringLiteral("0"));
    }

    ScoreChart one({1, 0, 0});
    one.Pass();
    EXPECT_EQ(one.chart->LeftAxis().ValueToPixel(0), 201);
    EXPECT_EQ(one.chart->LeftAxis().ValueToPixel(1), 27 + 37);
    EXPECT_EQ(one.canvas.Of("HorizontalFace").size(), 2u);
}

// The mark of a bar with BarLeft 40, BarWidth 26, top 100 and CenterZ 1, text "3" 6 pixels
// wide and "W" 11 by 14, frame width 1, placed and painted inside a pass.
TEST(DrawPass, MarkOfAThreeAboveItsBar) {
    ScoreChart s({3, 1, 0});
    s.chart->OnAfterDraw = [&s] {
        s.canvas.Records.clear();
        TSeriesMarkPosition position;
        position.BoxWidth = 19;
        position.BoxHeight = 16;
        position.ArrowStart = position.ArrowEnd = {40, 100};
        position.BoxLeftTop = {40 - 19 / 2, 100 - 16 + 1};
        s.series->PlaceMark(0, QStringLiteral("3"), position);
    };
    s.Pass();
    EXPECT_EQ(s.canvas.Args("LineWithDepth"), (Rows{{53, 100, 53, 80, 1}}));
    EXPECT_EQ(s.canvas.Pts("LineTo"), (Strings{"(54,99)(54,79)"}));
    EXPECT_EQ(s.canvas.Of("LineTo").at(0).Pen.Color, clWhite);
    EXPECT_EQ(s.canvas.Pts("Rectangle2D"), (Strings{"(45,64)(64,80)"}));
    EXPECT_EQ(s.canvas.Pts("TextOut2D"), (Strings{"(54,65)"}));
    EXPECT_EQ(s.canvas.Of("TextOut2D").at(0).Text, QStringLiteral("3"));
    const auto& stored = *s.series->Marks().Positions()[0];
    EXPECT_EQ(stored.ArrowStart, (TPoint{53, 100}));
    EXPECT_EQ(stored.ArrowEnd, (TPoint{53, 80}));
    EXPECT_EQ(stored.BoxLeftTop, (TPoint{44, 65}));
}

// Label widths around the clearance rule: after a label at prior the next one at p is drawn
// only if p - (w + trunc(w x 0.02 x separation)) div 2 >= prior + priorHalf, where the first
// label's half is w div 2. The labels sit at 37, 105 and 173.
TEST(DrawPass, LabelOverlapRule) {
    struct Case {
        int first;
        int second;
        int separation;
        std::vector<int> drawn;
        bool inverted = false;
    };
    const Case cases[] = {
        {90, 40, 10, {37, 105, 173}},  // allowance 7: 105 - 23 >= 37 + 45
        {96, 40, 10, {37, 173}},       // 105 - 23 < 37 + 48
        {70, 55, 10, {37, 105, 173}},  // allowance 11: 105 - 33 >= 37 + 35
        {72, 55, 10, {37, 173}},       // 105 - 33 < 37 + 36
        {96, 40, 0, {37, 105, 173}},   // no separation, no rule
        // Inverted, the labels go leftwards from 173: drawn when prior - priorHalf >= p + w'.
        {90, 40, 10, {173, 105, 37}, true},  // 173 - 45 >= 105 + 23
        {96, 40, 10, {173, 37}, true},       // 173 - 48 < 105 + 23
    };
    for (const Case& c : cases) {
        ScoreChart s({3, 1, 0});
        s.chart->BottomAxis().SetInverted(c.inverted);
        s.chart->BottomAxis().SetLabelsSeparation(c.separation);
        s.canvas.TextWidth = [&c](const TFontData&, const QString& text) {
            if (text == QStringLiteral(u"Игрок")) {
                return c.first;
            }
            if (text == QStringLiteral(u"Компьютер")) {
                return c.second;
            }
            return 6 * static_cast<int>(text.size());
        };
        s.Pass();
        std::vector<int> drawn;
        for (const auto& label : s.canvas.Args("TextAtDepth")) {
            drawn.push_back(label[0]);
        }
        EXPECT_EQ(drawn, c.drawn) << c.first << ", " << c.second << ", " << c.separation << ", "
                                  << c.inverted;
        EXPECT_EQ(s.chart->BottomAxis().TickPositions(), c.drawn);
    }
}

TEST(DrawPass, FlatChartAndTwoLineTitle) {
    ScoreChart s({3, 1, 0});
    s.chart->SetView3D(false);
    s.Pass();
    EXPECT_EQ(s.chart->TotalDepth(), 0);
    EXPECT_EQ(s.chart->PlotRect(), (TRect{11, 24, 202, 201}));
    EXPECT_EQ(s.canvas.Pts("Rectangle2D").at(0), "(11,24)(203,202)") << "plain back wall";
    EXPECT_TRUE(s.canvas.Of("DrawPyramid").empty());

    s.chart->SetView3D(true);
    s.chart->Title().SetText(QStringLiteral("A\nB"));
    s.Pass();
    EXPECT_EQ(s.chart->PlotRect().Top, 2 * 19 + 5 + 3);
}

// Six points, four per page: page 2 holds points 4 and 5, spread like the ends of a full page;
// only their bars, labels and marks are drawn, while the heights still follow all six scores.
TEST(DrawPass, SecondPageDrawsItsOwnPoints) {
    ScoreChart s({3, 1, 0});
    s.series->Add(5, QStringLiteral("d"));
    s.series->Add(2, QStringLiteral("e"));
    s.series->Add(4, QStringLiteral("f"));
    s.chart->SetPage(2);
    s.Pass();
    EXPECT_EQ(s.series->FirstVisible(), 4);
    EXPECT_EQ(s.series->LastVisible(), 5);
    const TChartAxis& left = s.chart->LeftAxis();
    EXPECT_EQ(left.ValueToPixel(5), 27 + 37) << "the highest score is on page 1";
    EXPECT_EQ(s.canvas.Args("DrawPyramid"),
              (Rows{{1, 24, left.ValueToPixel(2), 50, 201, 0, 3, 1},
                    {1, 160, left.ValueToPixel(4), 186, 201, 0, 3, 1}}));
    EXPECT_EQ(s.canvas.Args("TextAtDepth"), (Rows{{37, 207, 0}, {173, 207, 0}}));
    Strings labels;
    for (const auto& t : s.canvas.Of("TextAtDepth")) {
        labels.push_back(t.Text.toStdString());
    }
    EXPECT_EQ(labels, (Strings{"e", "f"}));
    Strings marks;
    for (const auto& t : MarkTexts(s.canvas)) {
        marks.push_back(t.Text.toStdString());
    }
    EXPECT_EQ(marks, (Strings{"2", "4"}));
}

// BarWidth = rnd(percent x 0.01 x 37) on the 188-pixel axis, one more when odd; the margins and
// so the bar centres follow it.
TEST(DrawPass, BarWidthIsMadeEven) {
    struct Case {
        int percent;
        int width;
        std::vector<int> lefts;
    };
    const Case cases[] = {
        {70, 26, {24, 92, 160}},  // 25.9 -> 26
        {40, 16, {19, 97, 175}},  // 14.8 -> 15, odd -> 16; centres 27, 105, 183
        {60, 22, {22, 94, 166}},  // 22.2 -> 22; centres 33, 105, 177
    };
    for (const Case& c : cases) {
        ScoreChart s({3, 1, 0});
        s.series->SetBarWidthPercent(c.percent);
        s.Pass();
        EXPECT_EQ(s.series->BarWidth(), c.width) << c.percent;
        std::vector<int> lefts;
        for (const auto& p : s.canvas.Args("DrawPyramid")) {
            lefts.push_back(p[1]);
            EXPECT_EQ(p[3] - p[1], c.width) << c.percent;
        }
        EXPECT_EQ(lefts, c.lefts) << c.percent;
    }
}

// With the bars standing on YOrigin 0, a negative score hangs below its origin: its mark goes
// below the bar, the arrow ArrowLength + BoxHeight long, the box's last row on the arrow's end.
TEST(DrawPass, MarkBelowAHangingBar) {
    ScoreChart s({-3, 1, 0});
    s.series->SetUseYOrigin(true);
    s.Pass();
    const TChartAxis& left = s.chart->LeftAxis();
    const int low = left.ValueToPixel(-3);
    const int one = left.ValueToPixel(1);
    ASSERT_GT(low, left.ValueToPixel(0));
    const auto arrows = s.canvas.Args("LineWithDepth");
    ASSERT_EQ(arrows.size(), 3u);
    EXPECT_EQ(arrows[0], (std::vector<int>{37, low, 37, low + 20 + 16, 1}));
    EXPECT_EQ(arrows[1], (std::vector<int>{105, one, 105, one - 20, 1}));
    // "-3" is 12 wide, so the box 12 + 11 + 2 = 25; shifted by CenterZ 1 right and up.
    EXPECT_EQ(s.canvas.Pts("Rectangle2D").at(0),
              "(26," + std::to_string(low + 21 - 1) + ")(51," + std::to_string(low + 36) + ")");
}

// Axis labels whose value lies outside the scale are dropped, with their ticks; the bars are
// still drawn (and clipped by the box).
TEST(DrawPass, LabelsOutsideTheScaleAreDropped) {
    ScoreChart s({3, 1, 0});
    s.series->XValues().SetOrder(TChartListOrder::loNone);
    TChartAxis& bottom = s.chart->BottomAxis();
    bottom.SetAutomatic(false);
    bottom.SetAutomaticMinimum(false);
    bottom.SetAutomaticMaximum(false);
    bottom.SetMinimum(0);
    bottom.SetMaximum(1);
    s.Pass();
    EXPECT_EQ(s.canvas.Args("TextAtDepth"), (Rows{{11, 207, 0}, {199, 207, 0}}));
    EXPECT_EQ(bottom.TickPositions(), (std::vector<int>{11, 199}));
    EXPECT_EQ(s.canvas.Of("DrawPyramid").size(), 3u);
}

}  // namespace
}  // namespace zelmo::chart
