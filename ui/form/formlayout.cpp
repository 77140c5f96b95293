// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/form/formlayout.h"

#include <algorithm>

#include "engine/game/grades.h"
#include "ui/widgets/links.h"
#include "ui/widgets/texts.h"

namespace zelmo::ui {

using namespace formlayout;

const std::vector<LayoutRow>& formLayout() {
    const QString space = texts::kEmptyCell;
    const auto grade = [](std::int32_t value) { return QString::number(value); };
    static const std::vector<LayoutRow> rows = {
        // Cells 1..9 row by row, 32 pixels apart and 33 wide: neighbours share a border line.
        {QStringLiteral("SpeedButton1"), false, 24, 40, 33, 33, space},
        {QStringLiteral("SpeedButton2"), false, 56, 40, 33, 33, space},
        {QStringLiteral("SpeedButton3"), false, 88, 40, 33, 33, space},
        {QStringLiteral("SpeedButton4"), false, 24, 72, 33, 33, space},
        {QStringLiteral("SpeedButton5"), false, 56, 72, 33, 33, space},
        {QStringLiteral("SpeedButton6"), false, 88, 72, 33, 33, space},
        {QStringLiteral("SpeedButton7"), false, 24, 104, 33, 33, space},
        {QStringLiteral("SpeedButton8"), false, 56, 104, 33, 33, space},
        {QStringLiteral("SpeedButton9"), false, 88, 104, 33, 33, space},
        {QStringLiteral("Label2"), false, 80, 8, 0, 0, texts::kZero},
        {QStringLiteral("Label6"), false, 40, 8, 0, 0, texts::kGameLabel},
        {QStringLiteral("Label7"), false, 40, 152, 0, 0, texts::kMemoryLabel},
        {QStringLiteral("Label8"), false, 88, 152, 0, 0, texts::kZero},
        {QStringLiteral("Label9"), false, 288, 264, 0, 0, links::homepageHost()},
        {QStringLiteral("Label10"), false, 288, 248, 0, 0, links::contactEmail()},
        {QStringLiteral("Label11"), false, 200, 248, 0, 0, texts::kFeedbackLabel},
        {QStringLiteral("Label12"), false, 200, 264, 0, 0, texts::kSiteLabel},
        {QStringLiteral("Chart1"), false, 160, 16, 217, 225, QString()},
        {QStringLiteral("Panel1"), false, 8, 184, 137, 97, QString()},
        {QStringLiteral("Label1"), true, 16, 24, 0, 0, texts::kWinGrade},
        {QStringLiteral("Label3"), true, 16, 48, 0, 0, texts::kLossGrade},
        {QStringLiteral("Label4"), true, 16, 72, 0, 0, texts::kDrawGrade},
        {QStringLiteral("Label5"), true, 40, 8, 0, 0, texts::kGradesHeading},
        {QStringLiteral("SpinEdit1"), true, 96, 24, 33, 22, grade(engine::grades::kWinDefault)},
        {QStringLiteral("SpinEdit2"), true, 96, 48, 33, 22, grade(engine::grades::kLossDefault)},
        {QStringLiteral("SpinEdit3"), true, 96, 72, 33, 22, grade(engine::grades::kDrawDefault)},
        {QStringLiteral("Button1"), false, 8, 168, 137, 17, texts::kWipeButton},
        {QStringLiteral("Bar1"), false, 0, 284, 380, kStatusBarHeight, QString()},
        {QStringLiteral("Button2"), false, 24, 24, 97, 17, texts::kPlayButton},
    };
    return rows;
}

const LayoutRow* layoutRow(const QString& name) {
    const std::vector<LayoutRow>& rows = formLayout();
    const auto row = std::find_if(rows.begin(), rows.end(),
                                  [&name](const LayoutRow& r) { return r.name == name; });
    return row != rows.end() ? &*row : nullptr;
}

}  // namespace zelmo::ui
