// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cmath>
#include <cstdlib>

namespace zelmo::chart {

// How a picture laid out in pixels becomes device pixels on a screen with `ratio` device
// pixels per pixel: everything is `ratio` times as large, rounded to the nearest device pixel
// (halves away from zero), and a length that is not zero never shrinks below one device pixel.
// The chart's drawing device and the window's controls both scale by this one rule, so that
// the picture at any ratio, scaled down, is the picture at ratio 1; at ratio 1 it is the
// identity.
class PixelScale {
  public:
    explicit PixelScale(double ratio = 1.0)
        : ratio_(ratio > 0 && std::isfinite(ratio) ? ratio : 1.0) {}

    double Ratio() const { return ratio_; }
    bool Identity() const { return ratio_ == 1.0; }

    // The device pixel at which pixel `p` begins.
    long long Position(long long p) const {
        return Identity() ? p : std::llround(static_cast<double>(p) * ratio_);
    }
    // A length in device pixels: at least one for any length that is not zero.
    int Length(int pixels) const {
        if (Identity() || pixels == 0) {
            return pixels;
        }
        const long scaled = std::lround(std::abs(static_cast<double>(pixels)) * ratio_);
        const int length = scaled < 1 ? 1 : static_cast<int>(scaled);
        return pixels < 0 ? -length : length;
    }

  private:
    double ratio_;
};

}  // namespace zelmo::chart
