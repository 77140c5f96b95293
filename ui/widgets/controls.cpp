// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets/controls.h"

#include "ui/widgets/devicepixels.h"

#include <qdrawutil.h>
#include <QEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>

namespace zelmo::ui {

TSpeedButton::TSpeedButton(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::NoFocus);
    setAutoRepeat(false);
    setCheckable(false);
}

QSize TSpeedButton::sizeHint() const {
    return {33, 33};
}

void TSpeedButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    {
        // The classic raised (or, while held, sunken) face with its two-line bevel.
        DevicePixels face(painter, rect());
        const QBrush fill = palette().brush(QPalette::Button);
        face.frame(2, [&](QPainter& p, const QRect& r) {
            qDrawWinButton(&p, r, palette(), isDown(), &fill);
        });
    }

    // An empty cell's caption is a space: drawing it shows nothing, and skipping it keeps the
    // cell font from being loaded before the first mark is placed.
    if (text().trimmed().isEmpty()) {
        return;
    }
    // A pushed-in face shows its caption one pixel lower and one pixel further right.
    QRect textRect = rect();
    if (isDown()) {
        textRect.translate(1, 1);
    }
    painter.setFont(font());
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(textRect, Qt::AlignCenter | Qt::TextSingleLine, text());
}

void TSpeedButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    QAbstractButton::mousePressEvent(event);
}

void TSpeedButton::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click is one more ordinary press.
    mousePressEvent(event);
}

TLabel::TLabel(const QString& caption, QWidget* parent) : QLabel(caption, parent) {
    setTextFormat(Qt::PlainText);
    // The text colour is the label's own (window text, or blue for a link) whatever surface
    // it is drawn on.
    setForegroundRole(QPalette::WindowText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setMargin(0);
    setIndent(0);
    setFocusPolicy(Qt::NoFocus);
    adjustSize();
}

void TLabel::setCaption(const QString& caption) {
    if (caption == text()) {
        return;
    }
    setText(caption);
    adjustSize();
}

QSize TLabel::sizeHint() const {
    // The text's own width and one line's height: a host name or an address has no place to
    // wrap, so even a word-wrapping label stays on one line.
    const QFontMetrics metrics(font());
    return {metrics.horizontalAdvance(text()), metrics.height()};
}

void TLabel::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void TLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton) {
        pressed_ = false;
    }
    event->accept();
    if (click) {
        emit clicked();
    }
}

void TLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    // The release that follows the second press must not click again.
    pressed_ = false;
    event->accept();
}

void TLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        adjustSize();
    }
}

TPanel::TPanel(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::NoFrame);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::NoFocus);
}

void TPanel::paintEvent(QPaintEvent*) {
    // The raised bevel: highlight on the top and left edges, shadow on the bottom and right.
    QPainter target(this);
    DevicePixels bevel(target, rect());
    bevel.frame(1, [this](QPainter& painter, const QRect& r) {
        painter.setPen(palette().color(QPalette::Light));
        painter.drawLine(r.left(), r.top(), r.right() - 1, r.top());
        painter.drawLine(r.left(), r.top(), r.left(), r.bottom() - 1);
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
        painter.drawLine(r.right(), r.top(), r.right(), r.bottom());
    });
}

TButton::TButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {
    // Outside a dialog Qt only treats Enter as a click for auto-default buttons.
    setAutoDefault(true);
    setFocusPolicy(Qt::StrongFocus);
}

void TButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    // The style's own default frame would leave a pixel of room around the face; the classic
    // look has none: only the focused button shows the black frame, with its face inside it.
    option.features &= ~(QStyleOptionButton::DefaultButton | QStyleOptionButton::AutoDefaultButton);
    const bool focused = hasFocus();
    if (focused) {
        option.rect.adjust(1, 1, -1, -1);
    }
    {
        DevicePixels face(painter, rect());
        const QBrush fill = palette().brush(QPalette::Button);
        face.frame(focused ? 3 : 2, [&](QPainter& p, const QRect& r) {
            QRect bevel = r;
            if (focused) {
                p.setPen(QPen(palette().color(QPalette::Shadow), 0));
                p.setBrush(Qt::NoBrush);
                p.drawRect(bevel.adjusted(0, 0, -1, -1));
                bevel.adjust(1, 1, -1, -1);
            }
            qDrawWinButton(&p, bevel, palette(), isDown(), &fill);
        });
    }
    QStyleOptionButton label = option;
    label.rect = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    style()->drawControl(QStyle::CE_PushButtonLabel, &label, &painter, this);
    if (focused) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        const QRect dots = style()->subElementRect(QStyle::SE_PushButtonFocusRect, &option, this);
        DevicePixels(painter, dots).magnified([&](QPainter& p, const QRect& r) {
            focus.rect = r;
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
        });
    }
}

bool TButton::hitButton(const QPoint& pos) const {
    return rect().contains(pos);
}

TStatusBar::TStatusBar(QWidget* parent) : QStatusBar(parent), field_(new QLabel(this)) {
    setSizeGripEnabled(true);
    setFocusPolicy(Qt::NoFocus);
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    field_->setTextFormat(Qt::PlainText);
    field_->setIndent(2);
    addWidget(field_, 1);
}

void TStatusBar::paintEvent(QPaintEvent*) {
    // The text field's sunken one-pixel frame, a little outside the field.
    QPainter painter(this);
    DevicePixels frame(painter, field_->geometry().adjusted(-2, -1, 2, 1));
    frame.frame(1, [this](QPainter& p, const QRect& r) {
        qDrawShadePanel(&p, r, palette(), true, 1, nullptr);
    });
}

QString TStatusBar::simpleText() const {
    return field_->text();
}

void TStatusBar::setSimpleText(const QString& text) {
    if (text != field_->text()) {
        field_->setText(text);
    }
}

}  // namespace zelmo::ui
