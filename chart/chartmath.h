// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

namespace zelmo::chart {

// Rounding and integer helpers of the chart geometry. Products that decide a pixel are formed in
// long double (the x87 80-bit format on x86-64): the decimal factors 0.01, 0.02 and 0.001 then lie
// slightly below their decimal values, and a product that is mathematically whole or a half can
// land just below it, which is what the layout relies on.

// Nearest integer, halves to the even neighbour (the default rounding mode). A value beyond the
// int range saturates and NaN gives 0: converting them would be undefined, and callers that must
// tell them apart test for them first.
inline int Rnd(long double x) {
    if (!(x > -2147483648.5L)) {
        return x < 0 ? std::numeric_limits<int>::min() : 0;
    }
    if (!(x < 2147483647.5L)) {
        return std::numeric_limits<int>::max();
    }
    return static_cast<int>(std::nearbyintl(x));
}

// a * b / d with a 64-bit product, rounded to the nearest integer with halves away from zero;
// -1 for a zero divisor, as the window system's MulDiv answers.
inline int MulDiv(int a, int b, int d) {
    if (d == 0) {
        return -1;
    }
    const std::int64_t num = static_cast<std::int64_t>(a) * b;
    const std::int64_t den = d;
    const std::int64_t absNum = num < 0 ? -num : num;
    const std::int64_t absDen = den < 0 ? -den : den;
    const std::int64_t q = (2 * absNum + absDen) / (2 * absDen);
    return static_cast<int>((num < 0) != (den < 0) ? -q : q);
}

// Decimal constants as their nearest extended values.
inline constexpr long double kPercent = 0.01L;
inline constexpr long double kFiftieth = 0.02L;
inline constexpr long double kTenth = 0.1L;
inline constexpr long double kThousandth = 0.001L;

// The free space an axis label keeps around it: trunc(width x 0.02 x separation percent).
inline int LabelAllowance(int width, int separation) {
    return static_cast<int>(std::truncl(width * kFiftieth * separation));
}

// The next step of the 1, 2, 5, 10, 20, 50, ... series above x. Zero, negative, infinite and NaN
// steps have no next one and come back unchanged (the search for a step then ends).
inline double NextNiceStep(double x) {
    if (!(x > 0) || std::isinf(x)) {
        return x;
    }
    if (x >= 10) {
        return static_cast<double>(10 * NextNiceStep(static_cast<double>(x * kTenth)));
    }
    if (x < 1) {
        return static_cast<double>(kTenth * NextNiceStep(x * 10));
    }
    if (x < 2) {
        return 2;
    }
    if (x < 5) {
        return 5;
    }
    return 10;
}

}  // namespace zelmo::chart
