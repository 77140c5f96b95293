// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/devicepixels.h"

#include <QTransform>

#include <cmath>

namespace zelmo::ui {

qreal DevicePixels::ratioOf(const QPainter& painter) {
    // The device transform holds the scale of the screen or image besides the painter's own
    // translations; the window never rotates or shears what it paints.
    const qreal ratio = painter.deviceTransform().m11();
    return ratio > 0 ? ratio : 1.0;
}

DevicePixels::DevicePixels(QPainter& target, const QRect& logical)
    : target_(target), logical_(logical), ratio_(ratioOf(target)), painter_(&target_) {
    if (qFuzzyCompare(ratio_, 1.0)) {
        ratio_ = 1.0;
        rect_ = logical_;
        return;
    }
    image_ = QImage(scaled(logical_.width()), scaled(logical_.height()),
                    QImage::Format_ARGB32_Premultiplied);
    image_.fill(Qt::transparent);
    own_.emplace(&image_);
    painter_ = &*own_;
    rect_ = image_.rect();
}

DevicePixels::~DevicePixels() {
    if (!own_) {
        return;
    }
    own_.reset();
    image_.setDevicePixelRatio(ratio_);
    target_.drawImage(logical_.topLeft(), image_);
}

int DevicePixels::scaled(int logicalPixels) const {
    return static_cast<int>(std::lround(logicalPixels * ratio_));
}

}  // namespace zelmo::ui
