// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QTransform>

#include <cmath>

namespace zelmo::chart {

// The device pixels per pixel that a painter paints with: the screen's scale, or that of the
// image a widget is rendered into. The device transform holds it besides the painter's own
// translations; nothing here rotates or shears what it paints.
inline qreal DeviceRatio(const QPainter& painter) {
    const qreal ratio = painter.deviceTransform().m11();
    return ratio > 0 ? ratio : 1.0;
}

// Where a rectangle of the painter's pixels lies on its device: each edge at the device pixel
// nearest to it (halves up), as the window system rounds a widget's own area on a scaled
// screen. Rectangles that meet in pixels therefore meet in device pixels too, and a picture of
// this size fills the device pixels of its widget exactly, whatever fraction of a device pixel
// the widget begins at.
inline QRect DeviceRect(const QPainter& painter, const QRect& logical) {
    const QRectF mapped = painter.deviceTransform().mapRect(QRectF(logical));
    const auto at = [](qreal v) { return static_cast<int>(std::llround(v)); };
    return {QPoint(at(mapped.left()), at(mapped.top())),
            QPoint(at(mapped.right()) - 1, at(mapped.bottom()) - 1)};
}

// Draws `image` pixel for pixel onto the painter's device with its top left corner on the
// device pixel `device` (a position DeviceRect gave), not at a pixel's scaled position, which
// on a fractional scale lies between device pixels and would shift the picture's rows.
inline void DrawAtDevicePixel(QPainter& painter, const QPoint& device, QImage image) {
    image.setDevicePixelRatio(DeviceRatio(painter));
    painter.drawImage(painter.deviceTransform().inverted().map(QPointF(device)), image);
}

// Fills the rectangle `device` of device pixels, every one of them and no other.
inline void FillDeviceRect(QPainter& painter, const QRect& device, const QColor& colour) {
    painter.fillRect(painter.deviceTransform().inverted().mapRect(QRectF(device)), colour);
}

}  // namespace zelmo::chart
