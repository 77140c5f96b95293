// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/raster.h"

namespace zelmo::chart::raster {

std::pair<long long, long long> StrokeAxis::StepsWithin(long long lo, long long hi,
                                                        long long last) const {
    // The first i in [0, last + 1) for which the predicate holds; false then true.
    auto firstTrue = [&](auto predicate) {
        long long a = 0;
        long long b = last + 1;
        while (a < b) {
            const long long m = a + (b - a) / 2;
            if (predicate(m)) {
                b = m;
            } else {
                a = m + 1;
            }
        }
        return a;
    };
    if (Sign >= 0) {
        return {firstTrue([&](long long i) { return At(i) >= lo; }),
                firstTrue([&](long long i) { return At(i) > hi; })};
    }
    return {firstTrue([&](long long i) { return At(i) <= hi; }),
            firstTrue([&](long long i) { return At(i) < lo; })};
}

}  // namespace zelmo::chart::raster
