// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/announce.h"

#include <QAccessible>
#include <QMetaObject>

#include <utility>

#include "ui/spinedit.h"

namespace zelmo::ui {

namespace {

Announcer::Listener& listener() {
    static Announcer::Listener instance;
    return instance;
}

// Phrases of one message are read as sentences.
const QString kSeparator = QStringLiteral(". ");

}  // namespace

Announcer::Announcer(QWidget* window) : QWidget(window) {
    // Nothing to see or click: an empty rectangle in the corner.
    setGeometry(0, 0, 0, 0);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Announcer::say(const QString& phrase) {
    if (phrase.isEmpty()) {
        return;
    }
    if (phrases_.isEmpty()) {
        QMetaObject::invokeMethod(this, &Announcer::speak, Qt::QueuedConnection);
    }
    phrases_.append(phrase);
}

void Announcer::followGrade(TSpinEdit* spin) {
    connect(spin, &QLineEdit::textChanged, this, [this, spin, last = spin->value()]() mutable {
        const std::int32_t value = spin->value();
        if (value == last) {
            return;
        }
        last = value;
        QAccessibleValueChangeEvent event(spin, value);
        QAccessible::updateAccessibility(&event);
        if (!spin->hasFocus()) {
            say(spin->accessibleName() + QStringLiteral(": ") + QString::number(value));
        }
    });
}

void Announcer::setListener(Listener newListener) {
    listener() = std::move(newListener);
}

void Announcer::speak() {
    if (phrases_.isEmpty()) {
        return;
    }
    message_ = phrases_.join(kSeparator);
    phrases_.clear();
    if (listener()) {
        listener()(message_);
    }
    // The message is the notification's name; showing it is what the screen reader reads out.
    QAccessibleEvent nameChanged(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&nameChanged);
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

}  // namespace zelmo::ui
