// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets/devicepixels.h"

#include "chart/devicegrid.h"
#include "chart/pixelscale.h"

namespace zelmo::ui {

DevicePixels::DevicePixels(QPainter& target, const QRect& logical, const QMargins& beyond)
    : target_(target), logical_(logical), ratio_(chart::DeviceRatio(target)), painter_(&target_) {
    if (qFuzzyCompare(ratio_, 1.0)) {
        ratio_ = 1.0;
        rect_ = logical.marginsAdded(beyond);
        return;
    }
    const int line = scaled(1);
    device_ = chart::DeviceRect(target_, logical)
                  .marginsAdded(QMargins(beyond.left() * line, beyond.top() * line,
                                         beyond.right() * line, beyond.bottom() * line));
    image_ = QImage(device_.size().expandedTo(QSize(0, 0)), QImage::Format_ARGB32_Premultiplied);
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
    if (!image_.isNull()) {
        chart::DrawAtDevicePixel(target_, device_.topLeft(), image_);
    }
}

int DevicePixels::scaled(int logicalPixels) const {
    return chart::PixelScale(ratio_).Length(logicalPixels);
}

void DevicePixels::frame(int depth, const std::function<void(QPainter&, const QRect&)>& draw) {
    if (ratio_ == 1.0) {
        draw(*painter_, rect_);
        return;
    }
    const int n = 2 * depth + 1;
    QImage sample(n, n, QImage::Format_ARGB32_Premultiplied);
    sample.fill(Qt::transparent);
    {
        QPainter painter(&sample);
        draw(painter, sample.rect());
    }
    // Where the sample's column (or row) i begins on the picture: every line one scaled pixel
    // wide, those of the near edge from it, those of the far edge back from it, the middle
    // between.
    const int line = scaled(1);
    const auto edge = [&](int i, int size) {
        return i <= depth ? i * line : size - (n - i) * line;
    };
    for (int j = 0; j < n; ++j) {
        const int top = edge(j, rect_.height());
        const int bottom = edge(j + 1, rect_.height());
        for (int i = 0; i < n; ++i) {
            const QColor colour = sample.pixelColor(i, j);
            const int left = edge(i, rect_.width());
            const int right = edge(i + 1, rect_.width());
            if (colour.alpha() != 0 && left < right && top < bottom) {
                painter_->fillRect(
                    QRect(rect_.left() + left, rect_.top() + top, right - left, bottom - top),
                    colour);
            }
        }
    }
}

void DevicePixels::magnified(const std::function<void(QPainter&, const QRect&)>& draw) {
    if (ratio_ == 1.0) {
        draw(*painter_, rect_);
        return;
    }
    QImage sample(logical_.size(), QImage::Format_ARGB32_Premultiplied);
    sample.fill(Qt::transparent);
    {
        QPainter painter(&sample);
        painter.setBackground(target_.background());
        draw(painter, sample.rect());
    }
    const chart::PixelScale scale(ratio_);
    for (int y = 0; y < sample.height(); ++y) {
        const int top = static_cast<int>(scale.Position(y));
        const int bottom = static_cast<int>(scale.Position(y + 1));
        for (int x = 0; x < sample.width(); ++x) {
            const QColor colour = sample.pixelColor(x, y);
            if (colour.alpha() != 0) {
                const int left = static_cast<int>(scale.Position(x));
                const int right = static_cast<int>(scale.Position(x + 1));
                painter_->fillRect(
                    QRect(rect_.left() + left, rect_.top() + top, right - left, bottom - top),
                    colour);
            }
        }
    }
}

}  // namespace zelmo::ui
