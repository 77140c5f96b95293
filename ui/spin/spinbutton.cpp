// SPDX-License-Identifier: GPL-3.0-or-later
// The arrows of the spin editor: the held, auto-repeating arrow and the pair that lays two out.
#include "ui/spin/spinbutton.h"

#include <qdrawutil.h>
#include <QAccessibleWidget>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <algorithm>

#include "ui/widgets/devicepixels.h"
#include "ui/widgets/texts.h"

namespace zelmo::ui {

namespace {

// What assistive technology sees of an arrow: a button whose press action steps once.
class ArrowAccessible : public QAccessibleWidget {
  public:
    explicit ArrowAccessible(QWidget* arrow) : QAccessibleWidget(arrow, QAccessible::Button) {}

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        if (name == pressAction() && widget()->isEnabled()) {
            emit static_cast<TTimerSpeedButton*>(widget())->clicked();
        }
    }
};

QAccessibleInterface* arrowAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String(TTimerSpeedButton::staticMetaObject.className()) &&
        object->isWidgetType()) {
        return new ArrowAccessible(static_cast<QWidget*>(object));
    }
    return nullptr;
}

// The arrow's triangle in device pixels, centred on the arrow's face inside its two-line bevel:
// at scale s it has 4s rows, each one device pixel longer at both ends than the row before, so
// its slanted edges step by one device pixel at any scale; at scale 1 the rows are 1, 3, 5 and 7
// pixels wide. The point is the 1-pixel row. Where the scaled lines leave the face too few rows
// for it, the triangle keeps off the dark line below and then off the light line above.
void drawGlyph(DevicePixels& pixels, TTimerSpeedButton::Direction direction, const QColor& color) {
    const QRect face = pixels.rect();
    const int width = pixels.scaled(TTimerSpeedButton::kGlyphWidth);
    const int rows = std::max(1, pixels.scaled(4));
    const int line = pixels.scaled(1);
    const int left = face.left() + (face.width() - width) / 2;
    const int inside = face.height() - 4 * line;
    const int lowest = face.height() - 2 * line - rows;
    const int top = face.top() + std::max(line, std::min(2 * line + (inside - rows) / 2, lowest));
    const int centre = left + width / 2;
    for (int row = 0; row < rows; ++row) {
        const int half = direction == TTimerSpeedButton::Direction::Up ? row : rows - 1 - row;
        pixels.painter().fillRect(centre - half, top + row, 2 * half + 1, 1, color);
    }
}

}  // namespace

TTimerSpeedButton::TTimerSpeedButton(Direction direction, QWidget* parent)
    : QWidget(parent), direction_(direction), timer_(new QTimer(this)) {
    setFocusPolicy(Qt::NoFocus);
    setContextMenuPolicy(Qt::PreventContextMenu);
    setAccessibleName(direction == Direction::Up ? texts::kStepUpName : texts::kStepDownName);
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(&arrowAccessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    connect(timer_, &QTimer::timeout, this, &TTimerSpeedButton::timerTick);
}

void TTimerSpeedButton::timerTick() {
    timer_->setInterval(kRepeatMs);
    // A tick while the pointer is off the arrow only keeps the rhythm.
    if (down_ && held_) {
        emit clicked();
    }
}

bool TTimerSpeedButton::timerActive() const {
    return timer_->isActive();
}

int TTimerSpeedButton::timerInterval() const {
    return timer_->interval();
}

void TTimerSpeedButton::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    // The up arrow's bottom line lies under the down arrow's top line (the pair shares that
    // row): it is painted one scaled pixel below the row where the down arrow begins, so that on
    // any scale the down arrow covers it whole and nothing of it shows between the two.
    const bool sharesBottom = direction_ == Direction::Up;
    DevicePixels pixels(painter, rect().adjusted(0, 0, 0, sharesBottom ? -1 : 0),
                        QMargins(0, 0, 0, sharesBottom ? 1 : 0));
    const QBrush face = palette().brush(QPalette::Button);
    pixels.frame(
        2, [&](QPainter& p, const QRect& r) { qDrawWinButton(&p, r, palette(), down_, &face); });
    const QColor glyph = isEnabled() ? QColor(Qt::black) : palette().color(QPalette::Dark);
    drawGlyph(pixels, direction_, glyph);
}

void TTimerSpeedButton::press() {
    held_ = true;
    setDown(true);
    timer_->start(kFirstDelayMs);
}

void TTimerSpeedButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        press();
    }
}

void TTimerSpeedButton::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click acts as a press of its own.
    if (event->button() == Qt::LeftButton) {
        press();
    }
}

void TTimerSpeedButton::mouseMoveEvent(QMouseEvent* event) {
    if (held_) {
        setDown(rect().contains(event->position().toPoint()));
    }
}

void TTimerSpeedButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !held_) {
        return;
    }
    const bool over = rect().contains(event->position().toPoint());
    held_ = false;
    setDown(false);
    timer_->stop();
    if (over) {
        emit clicked();
    }
}

void TTimerSpeedButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        cancelHold();
    }
    QWidget::changeEvent(event);
}

void TTimerSpeedButton::hideEvent(QHideEvent* event) {
    cancelHold();
    QWidget::hideEvent(event);
}

bool TTimerSpeedButton::event(QEvent* event) {
    // A window that loses activation mid-press (a modal box, another program) will not send us
    // the release; without this the repeat would never stop.
    if (event->type() == QEvent::WindowDeactivate) {
        cancelHold();
    }
    return QWidget::event(event);
}

void TTimerSpeedButton::cancelHold() {
    held_ = false;
    setDown(false);
    timer_->stop();
}

void TTimerSpeedButton::setDown(bool down) {
    if (down_ == down) {
        return;
    }
    down_ = down;
    update();
}

TSpinButton::TSpinButton(QWidget* parent)
    : QWidget(parent),
      up_(new TTimerSpeedButton(TTimerSpeedButton::Direction::Up, this)),
      down_(new TTimerSpeedButton(TTimerSpeedButton::Direction::Down, this)) {
    setFocusPolicy(Qt::NoFocus);
    setContextMenuPolicy(Qt::PreventContextMenu);
    setCursor(Qt::ArrowCursor);
    setMinimumWidth(kMinWidth);
    connect(up_, &TTimerSpeedButton::clicked, this, &TSpinButton::OnUpClick);
    connect(down_, &TTimerSpeedButton::clicked, this, &TSpinButton::OnDownClick);
}

void TSpinButton::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The down arrow starts one row above the up arrow's bottom: the two share that row.
    const int upHeight = height() / 2;
    up_->setGeometry(0, 0, width(), upHeight);
    down_->setGeometry(0, upHeight - 1, width(), height() - upHeight + 1);
}

}  // namespace zelmo::ui
