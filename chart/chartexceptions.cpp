// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/chartexceptions.h"

#include <QString>

namespace zelmo::chart {

std::string FormatMessage(const char* format, int value) {
    return QString::asprintf(format, value).toStdString();
}

std::string FormatMessage(const char* format, int a, int b) {
    return QString::asprintf(format, a, b).toStdString();
}

std::string FormatMessage(const char* format, const char* text) {
    return QString::asprintf(format, text).toStdString();
}

}  // namespace zelmo::chart
