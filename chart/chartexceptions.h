// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>
#include <string>

namespace zelmo::chart {

// Errors raised by the chart's property setters and point access. A setter that raises keeps its
// old value. what() is the fixed UTF-8 message.
class ChartException : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class AxisException : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class BarException : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class EListError : public std::out_of_range {
  public:
    using std::out_of_range::out_of_range;
};

// The chart's fixed texts.
namespace texts {
inline constexpr const char* kListIndexOutOfBounds = "List index out of bounds (%d)";
inline constexpr const char* kChart3DPercent = "3D effect percent must be between %d and %d";
inline constexpr const char* kMaxPointsPerPage = "MaxPointsPerPage must be >= 0";
inline constexpr const char* kAngleRange = "%s Angle must be between 0 and 359 degrees";
inline constexpr const char* kAxisTitle = "Axis Title";
inline constexpr const char* kLabelsSeparation = "Labels Separation % must be greater than 0";
inline constexpr const char* kBarWidthPercent = "Bar Width Percent must be between 1 and 100";
inline constexpr const char* kBarOffsetPercent =
    "Bar Offset Percent must be between -100% and 100%";
inline constexpr const char* kDefaultValueFormat = "#,##0.###";
inline constexpr const char* kDefaultPercentFormat = "##0.## %";
inline constexpr const char* kDefaultFontName = "Arial";
}  // namespace texts

// printf-style formatting of the messages above.
std::string FormatMessage(const char* format, int value);
std::string FormatMessage(const char* format, int a, int b);
std::string FormatMessage(const char* format, const char* text);

}  // namespace zelmo::chart
