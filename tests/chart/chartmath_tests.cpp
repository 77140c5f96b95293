// SPDX-License-Identifier: GPL-3.0-or-later
// The rounding rules of the chart geometry and the number picture of marks and axis labels.
#include <gtest/gtest.h>

#include "chart/chartmath.h"
#include "chart/numberformat.h"
#include "scorechartfixture.h"

namespace zelmo::chart {
namespace {

TEST(ChartMath, RoundingRules) {
    // MulDiv rounds halves away from zero; Rnd to the even neighbour.
    EXPECT_EQ(MulDiv(5, 213, 100), 11);  // 10.65
    EXPECT_EQ(MulDiv(5, 210, 100), 11);  // 10.5 goes up, not to the even 10
    EXPECT_EQ(MulDiv(-5, 210, 100), -11);
    EXPECT_EQ(MulDiv(5, 209, 100), 10);
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
    // The window scales its layout with MulDiv too.
    EXPECT_EQ(MulDiv(33, 15, 13), 38);  // 38.08
    EXPECT_EQ(MulDiv(13, 15, 26), 8);   // 7.5
    EXPECT_EQ(MulDiv(-13, 15, 26), -8);
    EXPECT_EQ(MulDiv(19, 12, 13), 18);  // 17.54
    EXPECT_EQ(Rnd(2.5L), 2);
    EXPECT_EQ(Rnd(3.5L), 4);
    EXPECT_EQ(Rnd(-2.5L), -2);
    EXPECT_EQ(Rnd(25.9L), 26);

    // trunc(width x 0.02 x separation) in extended precision, where 40 x 0.02 x 10 lands
    // just below 8 but 55 x 0.02 x 10 on 11.
    EXPECT_EQ(LabelAllowance(40, 10), 7);
    EXPECT_EQ(LabelAllowance(55, 10), 11);
    EXPECT_EQ(LabelAllowance(30, 10), 5);
    EXPECT_EQ(LabelAllowance(40, 0), 0);
}

TEST(ChartMath, SeriesDepthRoundsExactHalvesDown) {
    testing::ScoreChart s;
    EXPECT_EQ(s.chart->CalcSeriesDepth(100), 1);  // 1.5 lies just below the half
    EXPECT_EQ(s.chart->CalcSeriesDepth(500), 7);  // 7.5 likewise
    EXPECT_EQ(s.chart->CalcSeriesDepth(191), 3);  // 2.865
    s.chart->View3DOptions().SetOrthogonal(false);
    EXPECT_EQ(s.chart->CalcSeriesDepth(191), 6);  // doubled factor: 5.73
    s.chart->SetView3D(false);
    EXPECT_EQ(s.chart->CalcSeriesDepth(191), 0);
}

TEST(ChartMath, NextNiceStepRunsOneTwoFive) {
    const std::pair<double, double> steps[] = {{1, 2},   {2, 5},   {3, 5},    {5, 10},
                                               {10, 20}, {20, 50}, {0.3, 0.5}};
    for (const auto& [from, to] : steps) {
        EXPECT_NEAR(NextNiceStep(from), to, 1e-15) << from;
    }
}

TEST(NumberFormat, PicturesOfValues) {
    struct Case {
        const char* picture;
        double value;
        QChar thousands;
        QChar decimal;
        const char16_t* text;
    };
    const Case cases[] = {
        {"#,##0.###", 0, u' ', u',', u"0"},        {"#,##0.###", 999, u' ', u',', u"999"},
        {"#,##0.###", 1000, u' ', u',', u"1 000"}, {"#,##0.###", 1234567, u' ', u',', u"1 234 567"},
        {"#,##0.###", 2.5, u' ', u',', u"2,5"},    {"#,##0.###", 0.12345, u' ', u',', u"0,123"},
        {"#,##0.###", 1.0004, u' ', u',', u"1"},   {"#,##0.###", -1234.5, u' ', u',', u"-1 234,5"},
        {"#,##0.###", -0.0001, u' ', u',', u"0"},  {"###", 0, u',', u'.', u""},
        {"###", 1234, u',', u'.', u"1234"},        {"##0.## %", 12.5, u',', u'.', u"12.5 %"},
        {"0.00", 3, u',', u'.', u"3.00"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatFloat(QString::fromLatin1(c.picture), c.value, c.thousands, c.decimal),
                  QString::fromUtf16(c.text))
            << c.picture << " " << c.value;
    }
}

}  // namespace
}  // namespace zelmo::chart
