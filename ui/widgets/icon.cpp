// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets/icon.h"

#include <QByteArray>
#include <QPixmap>
#include <QResource>
#include <QSize>
#include <QString>
#include <QSysInfo>

#include <png.h>

#include <array>

namespace zelmo::ui {

namespace {

// The 16 standard colours, in their usual order.
enum Colour : uint {
    Black,
    Maroon,
    Green,
    Olive,
    Navy,
    Purple,
    Teal,
    Silver,
    Gray,
    Red,
    Lime,
    Yellow,
    Blue,
    Fuchsia,
    Aqua,
    White,
};
const QList<QRgb> kColourTable = {
    qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
    qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
    qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
    qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255),
};

constexpr int kSize = 32;
// Cells are 8 pixels square, two-pixel grid lines between them, the board starting at 2.
constexpr int kCell = 8;
constexpr int kPitch = 10;
constexpr int kBoard = 2;

// A nought inside the 8 x 8 cell, with a one-pixel margin.
constexpr std::array<const char*, kCell> kNought = {
    "........", "..####..", ".#....#.", ".#....#.", ".#....#.", ".#....#.", "..####..", "........",
};

void fill(QImage& image, int x0, int y0, int x1, int y1, Colour colour) {
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            image.setPixel(x, y, colour);
        }
    }
}

void drawCross(QImage& image, int left, int top) {
    // Two diagonals, two pixels thick, inside a one-pixel margin.
    for (int i = 1; i < kCell - 1; ++i) {
        for (int t = 0; t < 2 && i + t < kCell - 1; ++t) {
            image.setPixel(left + i + t, top + i, Red);
            image.setPixel(left + kCell - 1 - i - t, top + i, Red);
        }
    }
}

void drawNought(QImage& image, int left, int top) {
    for (int y = 0; y < kCell; ++y) {
        for (int x = 0; x < kCell; ++x) {
            if (kNought[static_cast<std::size_t>(y)][x] == '#') {
                image.setPixel(left + x, top + y, Blue);
            }
        }
    }
}

}  // namespace

QImage mainIconImage() {
    QImage image(kSize, kSize, QImage::Format_Indexed8);
    image.setColorTable(kColourTable);
    fill(image, 0, 0, kSize - 1, kSize - 1, Silver);

    // The raised tile: white on the top and left, grey and black on the bottom and right.
    fill(image, 0, 0, kSize - 2, 0, White);
    fill(image, 0, 0, 0, kSize - 2, White);
    fill(image, 0, kSize - 1, kSize - 1, kSize - 1, Black);
    fill(image, kSize - 1, 0, kSize - 1, kSize - 1, Black);
    fill(image, 1, kSize - 2, kSize - 2, kSize - 2, Gray);
    fill(image, kSize - 2, 1, kSize - 2, kSize - 2, Gray);

    // White cells on the dark grid.
    fill(image, kBoard, kBoard, kBoard + 3 * kPitch - 3, kBoard + 3 * kPitch - 3, Gray);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            const int left = kBoard + column * kPitch;
            const int top = kBoard + row * kPitch;
            fill(image, left, top, left + kCell - 1, top + kCell - 1, White);
            if (row == column) {
                drawCross(image, left, top);
            } else if (row + column == 2) {
                drawNought(image, left, top);
            }
        }
    }
    return image;
}

namespace {

// A PNG of the program's resources, decoded by libpng itself: Qt's image reader would first
// load every image format plugin installed to ask each whether it reads the file, which costs
// the start-up more than the rest of the icon. A null image when the file is missing or damaged.
QImage resourcePng(const QString& path) {
    const QByteArray bytes = QResource(path).uncompressedData();
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (bytes.isEmpty() || png_image_begin_read_from_memory(
                               &png, bytes.constData(), static_cast<size_t>(bytes.size())) == 0) {
        return {};
    }
    // Byte order B, G, R, A is QImage's ARGB32 on a little-endian machine, not premultiplied.
    png.format = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? PNG_FORMAT_BGRA : PNG_FORMAT_ARGB;
    QImage image(static_cast<int>(png.width), static_cast<int>(png.height), QImage::Format_ARGB32);
    if (image.isNull() ||
        png_image_finish_read(&png, nullptr, image.bits(),
                              static_cast<png_int_32>(image.bytesPerLine()), nullptr) == 0) {
        png_image_free(&png);
        return {};
    }
    return image;
}

}  // namespace

QIcon mainIcon() {
    QIcon icon(QPixmap::fromImage(mainIconImage()));
    // Rendered from data/icons at build time: the 16 and 22 pixel ones are drawn pixel for pixel.
    for (const int size : {16, 22, 48}) {
        const QImage image = resourcePng(QStringLiteral(":/zelmo/icons/%1.png").arg(size));
        if (image.size() == QSize(size, size)) {
            icon.addPixmap(QPixmap::fromImage(image));
        }
    }
    return icon;
}

}  // namespace zelmo::ui
