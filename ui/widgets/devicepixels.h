// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QMargins>
#include <QPainter>
#include <QRect>

#include <functional>
#include <optional>

// Paints the pixel-exact parts of the window's controls (bevels, frames, arrow glyphs) at the
// resolution of the device: on a scaled screen each line of a frame is as many device pixels
// wide as the rule shared with the chart (chart::PixelScale) makes one pixel, so the control
// looks as it does at scale 1, and a glyph's edge steps by one device pixel instead of being
// magnified into blocks or smeared. The cell buttons, push buttons, arrows, spin editors,
// panel and status bar use it.
namespace zelmo::ui {

class DevicePixels {
  public:
    // Starts a picture of the target's `logical` rectangle. At scale 1 the painting goes
    // straight to the target; at any other scale into an image of the device pixels that the
    // rectangle covers, which is drawn pixel for pixel onto them when this object ends.
    // `beyond` adds lines of pixels past the rectangle's sides, each as many device pixels wide
    // as one scaled pixel: a control whose last line lies under its neighbour paints that line
    // there, where the target's clip or the neighbour hides it, at any scale.
    DevicePixels(QPainter& target, const QRect& logical, const QMargins& beyond = {});
    ~DevicePixels();
    DevicePixels(const DevicePixels&) = delete;
    DevicePixels& operator=(const DevicePixels&) = delete;

    // Paints in device pixels.
    QPainter& painter() { return *painter_; }
    // The picture's area in device pixels: the logical rectangle itself at scale 1.
    QRect rect() const { return rect_; }
    qreal ratio() const { return ratio_; }
    // A length in logical pixels as device pixels.
    int scaled(int logicalPixels) const;

    // A frame `depth` pixels deep on each side, filled inside, that `draw` paints as at scale 1
    // on the rectangle it is given. At scale 1 it paints on the picture's rectangle; at any
    // other scale it is drawn once on a rectangle of 2 x depth + 1 pixels, whose pixels are then
    // laid out over the picture: each line of the frame as wide as one scaled pixel (two device
    // pixels at 1.5 and at 2, one at 1.25) on every side, the middle stretched to fill the rest.
    void frame(int depth, const std::function<void(QPainter&, const QRect&)>& draw);

    // A picture that `draw` paints as at scale 1 on the rectangle it is given (the target's
    // background and the logical rectangle's size), laid over the picture with each of its
    // pixels as the block of device pixels that pixel covers at this scale: a dotted focus
    // rectangle keeps its dots, only larger.
    void magnified(const std::function<void(QPainter&, const QRect&)>& draw);

  private:
    QPainter& target_;
    QRect logical_;
    QRect device_;  // where the picture goes on the target's device
    qreal ratio_;
    QImage image_;
    std::optional<QPainter> own_;
    QPainter* painter_;
    QRect rect_;
};

}  // namespace zelmo::ui
