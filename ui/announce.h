// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>

namespace zelmo::ui {

class TSpinEdit;

// Speaks what the game does without moving the focus: the computer's answer, the outcome, the
// counters and a changed grade. A screen reader reads out changes of the focused control only,
// and the board never has the focus; so the window keeps this notification object, and every
// change it hears during one event is read out at once, in one message, when the event is over
// (a second message in the same event would cut the first one short). Tests listen through the
// listener, since nothing reaches assistive technology while none is running.
class Announcer : public QWidget {
    Q_OBJECT
  public:
    using Listener = std::function<void(const QString& message)>;

    explicit Announcer(QWidget* window);

    // Adds a phrase to the message of the running event.
    void say(const QString& phrase);
    // Says "name: value" when the grade changes while another control has the focus (the focused
    // spinner is read out by the screen reader itself), and tells it every new value.
    void followGrade(TSpinEdit* spin);

    // The message read out last; empty before the first.
    QString message() const { return message_; }

    // Hears every message besides assistive technology; an empty listener stops it.
    static void setListener(Listener listener);

  private:
    void speak();

    QStringList phrases_;
    QString message_;
};

}  // namespace zelmo::ui
