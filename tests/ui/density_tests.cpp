// SPDX-License-Identifier: GPL-3.0-or-later
// The window on scaled screens: controls rendered into images of 1.5 and 2 device pixels per
// logical pixel show the picture of scale 1 enlarged, with bevel lines as wide as their scaled
// design pixels and sharp glyph edges, and the layout scales whole.
#include <gtest/gtest.h>

#include <QImage>
#include <QTest>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

#include "chart/pixelscale.h"
#include "tests/common/density.h"
#include "tests/ui/printers.h"
#include "ui/form/unit1.h"
#include "ui/spin/spinedit.h"
#include "ui/widgets/controls.h"

namespace {

using zelmo::density::pixelsDifferingFromHalf;
using zelmo::density::renderAt;
using zelmo::density::runLengths;
using zelmo::ui::TForm1;

constexpr qreal kRatios[] = {1.5, 2.0};

class DensityTest : public ::testing::Test {
  protected:
    void SetUp() override {
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
    std::unique_ptr<TForm1> form = std::make_unique<TForm1>();
};

TEST_F(DensityTest, BevelLinesScaleWithTheScreen) {
    for (const qreal ratio : kRatios) {
        // Each line of a bevel is one scaled pixel wide: two device pixels at 1.5 and at 2.
        const zelmo::chart::PixelScale scale(ratio);
        const int line = scale.Length(1);
        // A cell's raised face: black and dark grey lines at the bottom and right, then the face.
        const QImage cell = renderAt(*form->SpeedButton5, ratio);
        const int w = static_cast<int>(std::lround(33 * ratio));
        const int mid = w / 2;
        for (const auto& [x, y, dx, dy] :
             {std::array{mid, w - 1, 0, -1}, std::array{w - 1, mid, -1, 0}}) {
            const std::vector<int> edge = runLengths(cell, x, y, dx, dy, 8);
            ASSERT_GE(edge.size(), 3u) << ratio;
            EXPECT_EQ(edge[0], line) << "outer line at scale " << ratio;
            EXPECT_EQ(edge[1], line) << "inner line at scale " << ratio;
            EXPECT_EQ(cell.pixelColor(x, y), form->palette().color(QPalette::Shadow));
        }
        // The grade panel's one-line bevel, the spinner's two-line sunken border and an arrow.
        const QImage panel = renderAt(*form->Panel1, ratio);
        EXPECT_EQ(runLengths(panel, panel.width() / 3, 0, 0, 1, 4)[0], line) << ratio;
        EXPECT_EQ(runLengths(panel, panel.width() / 3, panel.height() - 1, 0, -1, 4)[0], line)
            << ratio;
        const QImage spin = renderAt(*form->SpinEdit2, ratio);
        const std::vector<int> border = runLengths(spin, 3, spin.height() - 1, 0, -1, 6);
        EXPECT_EQ(border[0], line) << ratio;
        EXPECT_EQ(border[1], line) << ratio;
        const QImage arrow = renderAt(*form->SpinEdit2->button()->downButton(), ratio);
        EXPECT_EQ(runLengths(arrow, 1, arrow.height() - 1, 0, -1, 4)[0], line) << ratio;
        // The chart's sunken edge, two rings, and its own raised bevel inside them: at the top
        // and at the right, three lines.
        const QImage chart = renderAt(*form->Chart1, ratio);
        for (const auto& [x, y, dx, dy] :
             {std::array{chart.width() / 2, 0, 0, 1},
              std::array{chart.width() - 1, chart.height() / 2, -1, 0}}) {
            const std::vector<int> lines = runLengths(chart, x, y, dx, dy, 8);
            ASSERT_GE(lines.size(), 4u) << ratio;
            EXPECT_EQ(std::vector<int>(lines.begin(), lines.begin() + 3), std::vector<int>(3, line))
                << "chart edge at scale " << ratio << " from " << x << "," << y;
        }
    }
}

TEST_F(DensityTest, NoBlackRowBetweenTheArrowsAtScaleOneAndAHalf) {
    // The up arrow's black bottom line lies under the down arrow's top line; at 1.5 the shared
    // row is one device pixel while the line is two. Down a column of the arrows' faces, left
    // of the glyphs, the only black is the down arrow's bottom line.
    const QImage spin = renderAt(*form->SpinEdit2, 1.5);
    const QRect pair = form->SpinEdit2->button()->geometry();
    const int x = static_cast<int>(std::lround(pair.left() * 1.5)) + 3;
    const int top = static_cast<int>(std::lround(pair.top() * 1.5));
    const int bottom = static_cast<int>(std::lround(pair.bottom() * 1.5));
    int blackRows = 0;
    for (int y = top; y < bottom - 2; ++y) {
        blackRows += spin.pixelColor(x, y) == QColor(Qt::black) ? 1 : 0;
    }
    EXPECT_EQ(blackRows, 0);
}

TEST_F(DensityTest, TheFocusRectangleKeepsItsDotsAtScaleTwo) {
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    form->Button2->setFocus();
    ASSERT_TRUE(form->Button2->hasFocus());
    // At scale 1 the top of the focus rectangle is the first row of one-pixel dots; at scale 2
    // the same rows are dots of two by two device pixels.
    const QImage one = renderAt(*form->Button2, 1.0);
    const int from = one.width() / 4;
    const std::size_t count = static_cast<std::size_t>(one.width() / 2);
    int row = 0;
    while (row < one.height() && runLengths(one, from, row, 1, 0, static_cast<int>(count)) !=
                                     std::vector<int>(count, 1)) {
        ++row;
    }
    ASSERT_LT(row, one.height()) << "no dotted row";
    const QImage two = renderAt(*form->Button2, 2.0);
    for (const int y : {2 * row, 2 * row + 1}) {
        EXPECT_EQ(runLengths(two, 2 * from, y, 1, 0, 2 * static_cast<int>(count)),
                  std::vector<int>(count, 2))
            << y;
    }
}

TEST_F(DensityTest, AtScaleTwoTheWindowIsThePictureOfScaleOneTwiceAsLarge) {
    const QImage one = renderAt(*form, 1.0);
    const QImage two = renderAt(*form, 2.0);
    ASSERT_EQ(two.size(), one.size() * 2);
    // Scaled down by two, the window is the one at scale 1 but for the edges of letters and
    // slanted lines: few pixels differ by more than a quarter of the full range.
    const int differing = pixelsDifferingFromHalf(one, two);
    EXPECT_LT(differing, one.width() * one.height() * 2 / 100) << differing << " pixels differ";

    // Between two cells the left one's shadow shows, then the right one's highlight: cell 5
    // (design columns 56 to 88) ends under cell 6, which begins at column 88.
    const QColor dark = form->palette().color(QPalette::Dark);
    const QColor light = form->palette().color(QPalette::Light);
    const int row = 2 * 88;
    const int seam = 2 * 88;
    EXPECT_EQ(two.pixelColor(seam - 2, row), dark);
    EXPECT_EQ(two.pixelColor(seam - 1, row), dark);
    EXPECT_EQ(two.pixelColor(seam, row), light);
    EXPECT_EQ(two.pixelColor(seam + 1, row), light);
}

TEST_F(DensityTest, ArrowGlyphEdgesStepByOneDevicePixel) {
    for (const qreal ratio : kRatios) {
        for (const bool up : {true, false}) {
            QWidget* arrow = up ? static_cast<QWidget*>(form->SpinEdit3->button()->upButton())
                                : static_cast<QWidget*>(form->SpinEdit3->button()->downButton());
            const QImage image = renderAt(*arrow, ratio);
            // The black rows of the triangle, from its point to its base.
            struct Row {
                int left, right;
            };
            std::vector<Row> rows;
            // Inside the arrow's two-line bevel, whose bottom line is black too.
            for (int y = 2; y < image.height() - 2; ++y) {
                int left = -1;
                int right = -1;
                for (int x = 0; x < image.width(); ++x) {
                    if (image.pixelColor(x, y) == QColor(Qt::black) && x > 1 &&
                        x < image.width() - 2) {
                        left = left < 0 ? x : left;
                        right = x;
                    }
                }
                if (left >= 0) {
                    rows.push_back({left, right});
                }
            }
            if (!up) {
                std::reverse(rows.begin(), rows.end());
            }
            ASSERT_EQ(static_cast<int>(rows.size()), static_cast<int>(std::lround(4 * ratio)))
                << ratio;
            for (std::size_t i = 0; i < rows.size(); ++i) {
                EXPECT_EQ(rows[i].right - rows[i].left, static_cast<int>(2 * i))
                    << "row " << i << " at scale " << ratio << (up ? " up" : " down");
                EXPECT_EQ(rows[i].left + rows[i].right, rows[0].left + rows[0].right) << "centred";
            }
        }
    }
}

TEST_F(DensityTest, LayoutScalesWithTheScreen) {
    // At scale 2 each control covers twice its designed rectangle in device pixels: the play
    // button's black bottom line lies on the device row below design row 40, over the cells.
    const QImage image = renderAt(*form, 2.0);
    const QColor black = form->palette().color(QPalette::Shadow);
    const QColor light = form->palette().color(QPalette::Light);
    const int cellX = 2 * (56 + 16);
    EXPECT_EQ(image.pixelColor(cellX, 2 * 41 - 1), black) << "Button2's bottom";
    EXPECT_NE(image.pixelColor(cellX, 2 * 41), black) << "the cells below it";
    EXPECT_EQ(image.pixelColor(2 * (88 + 33) - 1, 2 * 88), black) << "SpeedButton6's right edge";
    EXPECT_EQ(image.pixelColor(2 * 8, 2 * 200), light) << "Panel1's left edge";
    EXPECT_NE(image.pixelColor(2 * 8 - 1, 2 * 200), light);
    EXPECT_EQ(image.pixelColor(2 * (8 + 137) - 1, 2 * 200), form->palette().color(QPalette::Dark))
        << "Panel1's right edge";
}

}  // namespace
