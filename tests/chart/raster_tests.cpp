// SPDX-License-Identifier: GPL-3.0-or-later
// The device's pixel arithmetic without Qt: the pen stroke's stepper against its closed form,
// the search for the steps that can touch an image, polygon spans and the scaling rule.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>
#include <tuple>
#include <vector>

#include "chart/pixelscale.h"
#include "chart/raster.h"

namespace zelmo::chart {
namespace {

TEST(Raster, StepperFollowsTheClosedFormOfTheStroke) {
    std::mt19937_64 random(7);
    for (int round = 0; round < 2000; ++round) {
        // Short strokes, and long ones far out where products pass 64 bits.
        const long long reach = round % 2 == 0 ? 40 : (1LL << 40);
        std::uniform_int_distribution<long long> coordinate(-reach, reach);
        const long long from = coordinate(random);
        const long long to = coordinate(random);
        const long long other = coordinate(random);
        const long long steps = std::max(std::llabs(to - from), std::llabs(other - from));
        if (steps == 0) {
            continue;
        }
        const raster::StrokeAxis axis = raster::AxisOf(from, to, steps);
        const long long start = std::uniform_int_distribution<long long>(0, steps)(random);
        raster::StrokeStepper stepper(axis, start);
        for (long long i = start; i < std::min(steps + 1, start + 50); ++i) {
            // round(i * run / steps), halves away from the start.
            const long double exact = static_cast<long double>(i) * std::llabs(to - from) / steps;
            const long long offset = static_cast<long long>(std::floor(exact + 0.5L));
            ASSERT_EQ(stepper.Pos, axis.At(i)) << from << " " << to << " " << steps << " " << i;
            if (reach < 100) {
                ASSERT_EQ(axis.At(i), from + (to < from ? -offset : offset)) << i;
            }
            stepper.Next();
        }
        ASSERT_EQ(axis.At(steps), to) << "the stroke ends at its end point";
    }
}

TEST(Raster, StepsWithinAreTheStepsInsideTheRange) {
    for (const auto& [from, to, steps] : {std::tuple{-30LL, 50LL, 80LL},
                                          {50LL, -30LL, 120LL},
                                          {5LL, 5LL, 9LL},
                                          {-100LL, 100LL, 200LL}}) {
        const raster::StrokeAxis axis = raster::AxisOf(from, to, steps);
        for (const auto& [lo, hi] : {std::pair{0LL, 19LL}, {-5LL, 5LL}, {60LL, 70LL}}) {
            long long first = -1;
            long long end = -1;
            for (long long i = 0; i <= steps; ++i) {
                const bool inside = axis.At(i) >= lo && axis.At(i) <= hi;
                if (inside && first < 0) {
                    first = i;
                }
                if (inside) {
                    end = i + 1;
                }
            }
            const auto [f, e] = axis.StepsWithin(lo, hi, steps);
            if (first < 0) {
                EXPECT_GE(f, e);
            } else {
                EXPECT_EQ(f, first) << from << ">" << to << " in " << lo << ".." << hi;
                EXPECT_EQ(e, end) << from << ">" << to << " in " << lo << ".." << hi;
            }
        }
    }
}

TEST(Raster, PolygonSpansLeaveOutTheRightAndBottomEdges) {
    const std::vector<raster::Point> square = {{2, 1}, {6, 1}, {6, 4}, {2, 4}};
    std::vector<std::tuple<int, int, int>> spans;
    raster::ForEachSpan(square, 0, 10, 0, 5,
                        [&](int y, int x0, int x1) { spans.emplace_back(y, x0, x1); });
    EXPECT_EQ(spans, (std::vector<std::tuple<int, int, int>>{{1, 2, 5}, {2, 2, 5}, {3, 2, 5}}))
        << "cut to the columns below 5";
}

TEST(PixelScaleRule, NearestDevicePixelNeverBelowOne) {
    const struct {
        double ratio;
        int one, two, three, twenty;
        long long at213;
    } rows[] = {
        {1.0, 1, 2, 3, 20, 213},  {1.25, 1, 3, 4, 25, 266}, {1.5, 2, 3, 5, 30, 320},
        {1.75, 2, 4, 5, 35, 373}, {2.0, 2, 4, 6, 40, 426},  {0.4, 1, 1, 1, 8, 85},
    };
    for (const auto& row : rows) {
        const PixelScale scale(row.ratio);
        EXPECT_EQ(scale.Length(1), row.one) << row.ratio;
        EXPECT_EQ(scale.Length(2), row.two) << row.ratio;
        EXPECT_EQ(scale.Length(3), row.three) << row.ratio;
        EXPECT_EQ(scale.Length(20), row.twenty) << row.ratio;
        EXPECT_EQ(scale.Length(-1), -row.one) << row.ratio;
        EXPECT_EQ(scale.Length(0), 0);
        EXPECT_EQ(scale.Position(213), row.at213) << row.ratio;
    }
    EXPECT_TRUE(PixelScale(0).Identity()) << "no ratio is ratio 1";
}

}  // namespace
}  // namespace zelmo::chart
