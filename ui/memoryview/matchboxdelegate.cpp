// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/memoryview/matchboxdelegate.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "ui/memoryview/memorymodel.h"

namespace zelmo::ui {

namespace {

const QColor kBoxFace(0xf4, 0xe4, 0xc1);  // the match box's cardboard
const QColor kBoxEdge(0x8a, 0x6a, 0x3c);
const QColor kInGameEdge(0x1e, 0x5f, 0xc8);  // a position of the game in progress
const QColor kPlayedCell(0xbf, 0xd7, 0xff);  // the answer played there
const QColor kGridLine(0xb8, 0x9c, 0x6e);
const QColor kMarkColour(0x26, 0x1c, 0x10);

constexpr int kPad = 6;
constexpr int kMargin = 3;
// Boxes across the view: they grow until so many fill it, up to twice their least size.
constexpr int kBoxesAcross = 8;
// The weight at which a bead is as big as it gets.
constexpr double kWeightCap = 64.0;

// Cell k (1..9) of a board whose top left corner is `origin`, row by row.
QRectF squareOf(const QPointF& origin, int cell, int k) {
    const int column = (k - 1) % 3;
    const int row = (k - 1) / 3;
    return {origin.x() + column * cell, origin.y() + row * cell, static_cast<qreal>(cell),
            static_cast<qreal>(cell)};
}

void paintBead(QPainter& painter, const QRectF& square, const MatchBox& box, std::size_t i,
               bool chosen, QFont& font) {
    const QColor colour = MemoryModel::beadColour(box.beads[i]);
    const qreal diameter = square.width() * MatchBoxDelegate::beadShare(box.weights[i]);
    const QRectF bead(square.center() - QPointF(diameter / 2, diameter / 2),
                      QSizeF(diameter, diameter));
    // The answer it would play now wears a black ring.
    painter.setPen(chosen ? QPen(Qt::black, 2.2) : QPen(colour.darker(140), 1.0));
    painter.setBrush(colour);
    painter.drawEllipse(bead);
    // The number, where it can be read: it shrinks to fit the bead, but never below the least
    // legible type (the exact weight is in the box's tool tip and name).
    const QString number = MemoryModel::beadLabel(box.weights[i]);
    int pixels = std::max(MatchBoxDelegate::kLeastNumberPixels, static_cast<int>(diameter * 0.55));
    font.setPixelSize(pixels);
    while (pixels > MatchBoxDelegate::kLeastNumberPixels &&
           QFontMetricsF(font).horizontalAdvance(number) > diameter - 2) {
        font.setPixelSize(--pixels);
    }
    if (QFontMetricsF(font).horizontalAdvance(number) > diameter - 2) {
        return;
    }
    painter.setFont(font);
    painter.setPen(box.beads[i] == MatchBox::Bead::Zero ? Qt::black : Qt::white);
    painter.drawText(bead, Qt::AlignCenter, number);
}

}  // namespace

MatchBoxDelegate::MatchBoxDelegate(const MemoryModel& model, const QWidget& view, QObject* parent)
    : QStyledItemDelegate(parent), model_(model), view_(view) {}

int MatchBoxDelegate::cellSide(const QFontMetrics& metrics, int viewWidth) {
    const int least = metrics.height() * 3 / 2 + 2;
    // The list's spacing (2 pixels on each side) and a little slack for rounding.
    const int fitting = ((viewWidth - 8) / kBoxesAcross - 2 * kPad - 2 * kMargin - 6) / 3;
    return std::clamp(fitting, least, 2 * least);
}

int MatchBoxDelegate::boxSide(const QFontMetrics& metrics, int viewWidth) {
    return 3 * cellSide(metrics, viewWidth) + 2 * kPad + 2 * kMargin;
}

double MatchBoxDelegate::beadShare(std::int32_t weight) {
    // Zero is a small bead, the cap and beyond fill most of the cell; the size follows the
    // weight's logarithm, so that small weights still differ.
    const double magnitude = std::fabs(static_cast<double>(weight));
    const double grown = std::min(1.0, std::log2(1.0 + magnitude) / std::log2(1.0 + kWeightCap));
    return 0.42 + 0.46 * grown;
}

QSize MatchBoxDelegate::sizeHint(const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
    if (index.isValid() && model_.box(index.row()).heading()) {
        // Across the whole view, so that the group's boxes begin on the next line.
        return {std::max(1, view_.width() - 8), option.fontMetrics.height() + 8};
    }
    const int side = boxSide(option.fontMetrics, view_.width());
    return {side, side};
}

void MatchBoxDelegate::paintHeading(QPainter& painter, const QStyleOptionViewItem& option,
                                    const MatchBox& box) const {
    QFont font = option.font;
    font.setBold(true);
    painter.setFont(font);
    // Headings are not items one can select, but they read as plainly as the boxes.
    painter.setPen(option.palette.color(QPalette::Active, QPalette::WindowText));
    painter.drawText(QRectF(option.rect).adjusted(kMargin, 0, -kMargin, 0),
                     Qt::AlignLeft | Qt::AlignBottom,
                     MemoryModel::headingText(box.stage, box.groupSize));
}

void MatchBoxDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    const MatchBox& box = model_.box(index.row());
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    if (box.heading()) {
        paintHeading(*painter, option, box);
        painter->restore();
        return;
    }
    const int cell = cellSide(option.fontMetrics, view_.width());
    const QRectF outer = QRectF(option.rect).adjusted(kMargin, kMargin, -kMargin, -kMargin);
    const bool inGame = box.played != 0;
    painter->setPen(QPen(inGame ? kInGameEdge : kBoxEdge, inGame ? 2.5 : 1.0));
    painter->setBrush(kBoxFace);
    painter->drawRoundedRect(outer.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);

    const QPointF origin = outer.topLeft() + QPointF(kPad - kMargin, kPad - kMargin);
    QFont markFont = option.font;
    markFont.setBold(true);
    markFont.setPixelSize(std::max(8, cell * 2 / 3));
    QFont beadFont = option.font;
    for (int k = 1; k <= 9; ++k) {
        const auto i = static_cast<std::size_t>(k - 1);
        const QRectF square = squareOf(origin, cell, k);
        painter->setPen(QPen(kGridLine, 1.0));
        painter->setBrush(k == box.played ? QBrush(kPlayedCell) : Qt::NoBrush);
        painter->drawRect(square);
        if (box.marks[i] != ' ') {
            painter->setPen(kMarkColour);
            painter->setFont(markFont);
            painter->drawText(square, Qt::AlignCenter, QString(QChar(box.marks[i])));
        } else if (box.beads[i] != MatchBox::Bead::None) {
            paintBead(*painter, square, box, i, k == box.chosen, beadFont);
        }
    }
    if (box.played != 0) {
        // The answer of the game in progress: its cell framed in the position's colour.
        painter->setPen(QPen(kInGameEdge, 2.0));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(squareOf(origin, cell, box.played).adjusted(1, 1, -1, -1));
    }
    if (option.state & QStyle::State_HasFocus) {
        painter->setPen(QPen(option.palette.highlight().color(), 2.0, Qt::DotLine));
        painter->setBrush(Qt::NoBrush);
        painter->drawRoundedRect(QRectF(option.rect).adjusted(1, 1, -1, -1), 5, 5);
    }
    painter->restore();
}

}  // namespace zelmo::ui
