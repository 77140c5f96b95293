// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chart/pixelscale.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <span>
#include <utility>
#include <vector>

// The pixel arithmetic of the chart's drawing device, free of Qt so that tests reach it
// directly: which pixels a polygon covers row by row, the steps of a pen stroke, the steps of a
// stroke that can touch an image, and the dot patterns of dotted pens.
namespace zelmo::chart::raster {

// Products of coordinates that may lie anywhere in the range of long long's halves need more
// than 64 bits.
__extension__ typedef __int128 Wide;

// A point in device pixels; scaled coordinates may pass the int range.
struct Point {
    long long X = 0;
    long long Y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// floor(a / b) for b > 0.
template <typename T>
T FloorDiv(T a, T b) {
    const T q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

// Coordinates up to this size keep every product of the polygon walk within 64 bits.
inline constexpr long long kSmallCoordinate = 1LL << 29;

// The pixels inside a polygon under the alternate rule, row by row: a pixel belongs to it when
// its centre (the integer point) lies inside, counting points on a left or top edge and
// leaving out points on a right or bottom edge. Each edge covers the rows from its upper end
// up to, not including, its lower end, so a vertex shared by two edges is counted once.
// Only rows top <= y < bottom are walked, and spans are cut to colFrom <= x < colTo (the
// crossings are clamped, which keeps their order and so their pairing). Calls span(y, x0, x1)
// for the pixels x0 <= x < x1 of row y.
template <typename T, typename SpanFn>
void WalkSpans(std::span<const Point> points, long long top, long long bottom, int colFrom,
               int colTo, SpanFn span) {
    const std::size_t n = points.size();
    // Up to a handful of crossings per row; a fixed buffer when they fit.
    std::array<long long, 16> fixed{};
    std::vector<long long> spill;
    for (long long y = top; y < bottom; ++y) {
        std::size_t count = 0;
        auto push = [&](long long x) {
            if (count < fixed.size()) {
                fixed[count] = x;
            } else {
                if (count == fixed.size()) {
                    spill.assign(fixed.begin(), fixed.end());
                }
                spill.push_back(x);
            }
            ++count;
        };
        for (std::size_t i = 0; i < n; ++i) {
            Point a = points[i];
            Point b = points[(i + 1) % n];
            if (a.Y == b.Y) {
                continue;
            }
            if (a.Y > b.Y) {
                std::swap(a, b);
            }
            if (y < a.Y || y >= b.Y) {
                continue;
            }
            // First pixel column at or right of the crossing: ceil(a.x + (y-a.y)*dx/dy).
            const T dy = static_cast<T>(b.Y) - a.Y;
            const T num =
                static_cast<T>(a.X) * dy + static_cast<T>(y - a.Y) * (static_cast<T>(b.X) - a.X);
            const T x = -FloorDiv<T>(-num, dy);
            push(static_cast<long long>(std::clamp<T>(x, colFrom, colTo)));
        }
        long long* xs = count <= fixed.size() ? fixed.data() : spill.data();
        std::sort(xs, xs + count);
        for (std::size_t k = 0; k + 1 < count; k += 2) {
            if (xs[k] < xs[k + 1]) {
                span(static_cast<int>(y), static_cast<int>(xs[k]), static_cast<int>(xs[k + 1]));
            }
        }
    }
}

// The spans of a polygon within rows [rowFrom, rowTo) and columns [colFrom, colTo).
template <typename SpanFn>
void ForEachSpan(std::span<const Point> points, int rowFrom, int rowTo, int colFrom, int colTo,
                 SpanFn span) {
    if (points.size() < 3) {
        return;
    }
    long long top = points[0].Y;
    long long bottom = points[0].Y;
    bool small = true;
    for (const Point& p : points) {
        top = std::min(top, p.Y);
        bottom = std::max(bottom, p.Y);
        small = small && std::llabs(p.X) < kSmallCoordinate && std::llabs(p.Y) < kSmallCoordinate;
    }
    top = std::max<long long>(top, rowFrom);
    bottom = std::min<long long>(bottom, rowTo);
    if (small) {
        WalkSpans<long long>(points, top, bottom, colFrom, colTo, span);
    } else {
        WalkSpans<Wide>(points, top, bottom, colFrom, colTo, span);
    }
}

// One coordinate of a pen stroke of `Steps` steps that moves `Run` pixels in `Sign` direction:
// at step i it lies at Start + Sign * round(i * Run / Steps), an exact half rounding away from
// the start.
struct StrokeAxis {
    long long Start;
    int Sign;
    long long Run;
    long long Steps;

    long long Offset(long long i) const {
        return static_cast<long long>((2 * static_cast<Wide>(i) * Run + Steps) /
                                      (2 * static_cast<Wide>(Steps)));
    }
    long long At(long long i) const { return Start + Sign * Offset(i); }

    // The steps in [0, last] at which the coordinate lies in [lo, hi], as [first, end); the
    // coordinate is monotonic in i, so they form one run.
    std::pair<long long, long long> StepsWithin(long long lo, long long hi, long long last) const;
};

// The axis of a stroke from `from` to `to` in `steps` steps.
inline StrokeAxis AxisOf(long long from, long long to, long long steps) {
    return {from, to < from ? -1 : 1, std::llabs(to - from), steps};
}

// Walks a stroke axis step by step from step i, kept as quotient and remainder so that a step
// costs an addition; Pos equals the axis' At at every step.
struct StrokeStepper {
    long long Pos;
    int Sign;
    long long TwoRun;
    long long TwoSteps;
    long long Rest;

    StrokeStepper(const StrokeAxis& axis, long long i)
        : Sign(axis.Sign), TwoRun(2 * axis.Run), TwoSteps(2 * axis.Steps) {
        const Wide num = 2 * static_cast<Wide>(i) * axis.Run + axis.Steps;
        Pos = axis.Start + axis.Sign * static_cast<long long>(num / TwoSteps);
        Rest = static_cast<long long>(num % TwoSteps);
    }
    void Next() {
        Rest += TwoRun;
        if (Rest >= TwoSteps) {
            Rest -= TwoSteps;
            Pos += Sign;
        }
    }
};

// The on-off pattern of a pen along its path, counted in steps: On steps set, then Period - On
// steps left out. A Period of 0 sets every step.
struct DotPattern {
    int On = 1;
    int Period = 0;

    bool Solid() const { return Period == 0; }
    bool Sets(long long phase) const { return Solid() || phase % Period < On; }
};

// The dotted pen: three pixels set, three left; scaled with the screen.
inline DotPattern DottedPattern(const PixelScale& scale) {
    return {scale.Length(3), scale.Length(6)};
}
// The one-pixel dotted pen: every other pixel; scaled with the screen.
inline DotPattern SmallDotsPattern(const PixelScale& scale) {
    return {scale.Length(1), scale.Length(2)};
}

}  // namespace zelmo::chart::raster
