// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "engine/game/board.h"

namespace zelmo::ui {

class TSpinEdit;

// The time the announcer's summarising mode goes by: a clock and one pending call. The window
// uses the real clock and a single-shot timer; tests step a clock of their own.
class AnnounceClock {
  public:
    virtual ~AnnounceClock() = default;
    // Milliseconds on a clock that never goes back.
    virtual std::int64_t now() = 0;
    // Calls `due` once, `delay` milliseconds from now, in place of a call still waiting.
    virtual void callAfter(std::int64_t delay, std::function<void()> due) = 0;
    // Drops the call still waiting, if any.
    virtual void cancel() = 0;
};

// Speaks what the game does without moving the focus: the computer's answer, the outcome, the
// counters and a changed grade. A screen reader reads out changes of the focused control only,
// and the board never has the focus; so the window keeps this notification object, and every
// change it hears during one event is read out at once, in one message, when the event is over
// (a second message in the same event would cut the first one short). Tests listen through the
// listener, since nothing reaches assistive technology while none is running.
//
// While the window plays by itself, messages may come faster than anyone can listen. Then the
// announcer summarises: a message goes out at once when the last one can have been said (its
// spoken length, as spokenMs() estimates it for espeak-ng's Russian voice at its default rate,
// and at least kSummaryInterval), and otherwise waits for that time; if more messages came
// meanwhile, what goes out instead is one short summary of the games finished since the last
// message («3 тысячи партий: компьютер 55 %, ничьи 30 %»), or nothing until a game has
// finished. So at a slow pace every move is still said, and at a fast one the screen reader
// hears one short message at a time, never a growing queue. What the player asked for
// (sayNow: the board, a refused digit, the watch mode stopping) goes out at once, in place of
// what was held back.
class Announcer : public QWidget {
    Q_OBJECT
  public:
    using Listener = std::function<void(const QString& message)>;

    // The least time between two messages while summarising, in milliseconds.
    static constexpr std::int64_t kSummaryInterval = 1500;
    // The spoken length's estimate (spokenMs): fitted to espeak-ng's Russian voice.
    static constexpr std::int64_t kMsPerSyllable = 240;
    static constexpr std::int64_t kMsPerPause = 250;

    // `clock` drives the summarising mode; none for the real clock.
    explicit Announcer(QWidget* window, std::unique_ptr<AnnounceClock> clock = nullptr);
    ~Announcer() override;
    Announcer(const Announcer&) = delete;
    Announcer& operator=(const Announcer&) = delete;
    Announcer(Announcer&&) = delete;
    Announcer& operator=(Announcer&&) = delete;

    // Adds a phrase to the message of the running event.
    void say(const QString& phrase);
    // The same for what the player asked for: the message goes out at once even while
    // summarising, and what was held back is dropped (the games stay counted).
    void sayNow(const QString& phrase);
    // How long espeak-ng's Russian voice takes to say `message` at its default rate, estimated
    // from its syllables and pauses; never shorter than measured (bench/speech/measure.py).
    static std::int64_t spokenMs(const QString& message);
    // How long the next message waits after `message` while summarising.
    static std::int64_t gapAfter(const QString& message);
    // Says "name: value" when the grade changes while another control has the focus (the focused
    // spinner is read out by the screen reader itself), and tells it every new value. An arrow
    // step says «Поражение: 3» whatever has the focus, and at a bound that it is the highest or
    // the lowest grade.
    void followGrade(TSpinEdit* spin, const QString& name);

    // Turns the summarising mode on (when the window starts playing by itself) or off (when it
    // stops). Turning it on lets the message of the running event (that the window plays) go out
    // at once, and the next one waits from then. Turning it off adds what is still waiting (the
    // last message, or the summary of the games since the last message) to the message of the
    // running event, in place of what it said before (the window catching up with those games).
    void setSummarising(bool on);
    bool summarising() const { return summarising_; }
    // Counts a finished game for the next summary; call it for every game that ends. Ignored
    // while not summarising, when the game's own message tells its outcome.
    void gameFinished(engine::Outcome outcome);

    // The message read out last; empty before the first.
    QString message() const { return message_; }

    // Hears every message besides assistive technology; an empty listener stops it.
    static void setListener(Listener listener);

  private:
    void speak();
    // Lets a message through the summarising mode's gate, or holds it back.
    void pass(const QString& message);
    // Sends what was held back, when the gate opens.
    void release();
    // The summary of the games since the last message; empty when none finished.
    QString summary() const;
    // Forgets what was held back and the games counted.
    void clearHeld();
    // Reads `message` out.
    void deliver(const QString& message);

    QStringList phrases_;
    QString message_;

    std::unique_ptr<AnnounceClock> clock_;
    bool summarising_ = false;
    bool waiting_ = false;            // a release is due
    bool openNext_ = false;           // the next message passes the gate at once
    bool urgent_ = false;             // the message of this event was asked for
    bool delivered_ = false;          // whether any message went out yet
    std::int64_t lastDelivered_ = 0;  // and when the last one did
    QString held_;                    // the last message held back
    int heldCount_ = 0;               // how many were held back since the last one went out
    bool summarised_ = false;         // a summary went out since the window began to play
    std::array<int, 3> games_{};      // games finished since then, by outcome
};

}  // namespace zelmo::ui
