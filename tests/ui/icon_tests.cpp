// SPDX-License-Identifier: GPL-3.0-or-later
// The program's icons: the window's own 32 x 32 picture and the smallest sizes of the icon theme,
// each read cell by cell as a board, crosses on one diagonal and noughts in the other corners.
#include <gtest/gtest.h>

#include <QColor>
#include <QDir>
#include <QImage>
#include <QTest>

#include <algorithm>
#include <memory>

#include "tests/ui/printers.h"
#include "ui/form/unit1.h"
#include "ui/widgets/icon.h"

namespace {

// Where the cells of a picture lie: the first cell's corner, the distance between cells and
// their size, in pixels.
struct Grid {
    int origin;
    int pitch;
    int cell;
};

enum class Ink { Paper, Cross, Nought, Other };

Ink inkOf(QColor colour) {
    if (colour.red() > 200 && colour.green() > 200 && colour.blue() > 200) {
        return Ink::Paper;
    }
    if (colour.red() > 150 && colour.green() < 100 && colour.blue() < 100) {
        return Ink::Cross;
    }
    if (colour.blue() > 150 && colour.red() < 100 && colour.green() < 100) {
        return Ink::Nought;
    }
    return Ink::Other;
}

// The mark in one cell as a reader sees it: an X is inked at the corners and in the middle of
// what it covers, a 0 at neither; "?" for a blend of colours, a mix of inks or a blob.
QChar markIn(const QImage& image, Grid grid, int row, int column) {
    const int left = grid.origin + column * grid.pitch;
    const int top = grid.origin + row * grid.pitch;
    Ink ink = Ink::Paper;
    QRect box;
    for (int y = top; y < top + grid.cell; ++y) {
        for (int x = left; x < left + grid.cell; ++x) {
            const Ink here = inkOf(image.pixelColor(x, y));
            if (here == Ink::Paper) {
                continue;
            }
            if (here == Ink::Other || (ink != Ink::Paper && here != ink)) {
                return u'?';
            }
            ink = here;
            box |= QRect(x, y, 1, 1);
        }
    }
    if (ink == Ink::Paper) {
        return u'.';
    }
    const auto inked = [&](int x, int y) { return inkOf(image.pixelColor(x, y)) == ink; };
    const QPoint c = box.center();  // the middle, rounded up and left for even sizes
    const bool corners = inked(box.left(), box.top()) && inked(box.right(), box.top()) &&
                         inked(box.left(), box.bottom()) && inked(box.right(), box.bottom());
    const bool middle = inked(c.x(), c.y()) && inked(c.x() + 1, c.y() + 1);
    const bool edges = inked(c.x(), box.top()) || inked(box.left(), c.y());
    if (ink == Ink::Cross && corners && middle && !edges) {
        return u'X';
    }
    const bool hole = !inked(c.x(), c.y()) && !inked(c.x() + 1, c.y() + 1);
    const bool open = !inked(box.left(), box.top()) && !inked(box.right(), box.bottom());
    if (ink == Ink::Nought && hole && open && edges) {
        return u'0';
    }
    return u'?';
}

QString boardIn(const QImage& image, Grid grid) {
    QString board;
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            board += markIn(image, grid, row, column);
        }
    }
    return board;
}

const QString kBoard = QStringLiteral(
    "X.0"
    ".X."
    "0.X");

TEST(Icons, WindowIconShowsTheBoardAndIsTheWindowsOwn) {
    const QImage picture = zelmo::ui::mainIconImage();
    EXPECT_EQ(picture.size(), QSize(32, 32));
    EXPECT_LE(picture.colorCount(), 16);
    EXPECT_EQ(boardIn(picture, {2, 10, 8}), kBoard);

    zelmo::ui::TForm1 form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const QImage shown = form.windowIcon().pixmap(32, 32).toImage();
    EXPECT_EQ(shown.convertToFormat(QImage::Format_RGB32),
              picture.convertToFormat(QImage::Format_RGB32));
}

// The icon theme's picture of one size, as installed.
QImage themeIcon(int size) {
    const QDir dir(QStringLiteral(ZELMO_ICON_DIR "/%1x%1").arg(size));
    const QStringList files = dir.entryList({QStringLiteral("*.png")}, QDir::Files);
    if (files.size() != 1) {
        ADD_FAILURE() << "no icon rendered in " << dir.path().toStdString();
        return {};
    }
    return QImage(dir.filePath(files.first())).convertToFormat(QImage::Format_ARGB32);
}

TEST(Icons, SmallestThemeSizesShowClearMarks) {
    // Drawn for their size: every cell holds a whole X, a whole 0 or nothing, in pure colours.
    for (const auto& [size, grid] : {std::pair{16, Grid{1, 5, 4}}, std::pair{22, Grid{3, 6, 5}}}) {
        const QImage image = themeIcon(size);
        ASSERT_EQ(image.size(), QSize(size, size));
        EXPECT_EQ(boardIn(image, grid), kBoard) << size;
    }
}

TEST(Icons, WindowOffersTheThemesSmallAndLargePictures) {
    // A window manager drawing the icon at 16, 22 or 48 pixels takes the picture drawn for that
    // size, not the 32 pixel one scaled.
    const QIcon icon = zelmo::ui::mainIcon();
    const QList<QSize> sizes = icon.availableSizes();
    for (const int size : {16, 22, 32, 48}) {
        EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
    }
    for (const int size : {16, 22, 48}) {
        EXPECT_EQ(icon.pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32),
                  themeIcon(size))
            << size;
    }
}

}  // namespace
