// The rounding rules of the chart geometry and the number picture of marks and axis labels.
#include <gtest/gtest.h>

#include "chart/chartmath.h"
#include "chart/numberformat.h"
#include "scorechartfixture.h"

namespace zelmo::chart {
namespace {

TEST(ChartMath, MulDivRoundsHalvesAwayFromZero) {
    EXPECT_EQ(MulDiv(5, 213, 100), 11);  // 10.65
    EXPECT_EQ(MulDiv(5, 210, 100), 11);  // 10.5 goes up, not to the even 10
    EXPECT_EQ(MulDiv(-5, 210, 100), -11);
    EXPECT_EQ(MulDiv(5, 209, 100), 10);
    EXPECT_EQ(MulDiv(8, 96, 72), 11);
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
}

TEST(ChartMath, RndGoesToTheEvenNeighbour) {
    EXPECT_EQ(Rnd(2.5L), 2);
    EXPECT_EQ(Rnd(3.5L), 4);
    EXPECT_EQ(Rnd(-2.5L), -2);
    EXPECT_EQ(Rnd(25.9L), 26);
}

TEST(ChartMath, ExtendedProductsFallJustBelowWholeNumbers) {
    EXPECT_EQ(LabelAllowance(40, 10), 7);
    EXPECT_EQ(LabelAllowance(55, 10), 11);
    EXPECT_EQ(LabelAllowance(30, 10), 5);
    EXPECT_EQ(LabelAllowance(40, 0), 0);
    EXPECT_EQ((40 + LabelAllowance(40, 10)) / 2, 23);
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
    EXPECT_DOUBLE_EQ(NextNiceStep(1), 2);
    EXPECT_DOUBLE_EQ(NextNiceStep(2), 5);
    EXPECT_DOUBLE_EQ(NextNiceStep(3), 5);
    EXPECT_DOUBLE_EQ(NextNiceStep(5), 10);
    EXPECT_DOUBLE_EQ(NextNiceStep(10), 20);
    EXPECT_DOUBLE_EQ(NextNiceStep(20), 50);
    EXPECT_NEAR(NextNiceStep(0.3), 0.5, 1e-15);
}

TEST(NumberFormat, GroupsThousandsAndDropsTrailingZeros) {
    const QString picture = QStringLiteral("#,##0.###");
    auto f = [&](double v) { return FormatFloat(picture, v, QChar(u' '), QChar(u',')); };
    EXPECT_EQ(f(0), QStringLiteral("0"));
    EXPECT_EQ(f(3), QStringLiteral("3"));
    EXPECT_EQ(f(999), QStringLiteral("999"));
    EXPECT_EQ(f(1000), QStringLiteral("1 000"));
    EXPECT_EQ(f(1234567), QStringLiteral("1 234 567"));
    EXPECT_EQ(f(2.5), QStringLiteral("2,5"));
    EXPECT_EQ(f(0.12345), QStringLiteral("0,123"));
    EXPECT_EQ(f(1.0004), QStringLiteral("1"));
    EXPECT_EQ(f(-1234.5), QStringLiteral("-1 234,5"));
    EXPECT_EQ(f(-0.0001), QStringLiteral("0"));
}

TEST(NumberFormat, DigitsWithoutAFixedZero) {
    auto f = [](double v) {
        return FormatFloat(QStringLiteral("###"), v, QChar(u','), QChar(u'.'));
    };
    EXPECT_EQ(f(0), QString());
    EXPECT_EQ(f(7), QStringLiteral("7"));
    EXPECT_EQ(f(1234), QStringLiteral("1234"));
    EXPECT_EQ(FormatFloat(QStringLiteral("##0.## %"), 12.5, QChar(u','), QChar(u'.')),
              QStringLiteral("12.5 %"));
    EXPECT_EQ(FormatFloat(QStringLiteral("0.00"), 3, QChar(u','), QChar(u'.')),
              QStringLiteral("3.00"));
}

}  // namespace
}  // namespace zelmo::chart
