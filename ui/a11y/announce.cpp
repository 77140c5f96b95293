// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/a11y/announce.h"

#include <QAccessible>
#include <QElapsedTimer>
#include <QMetaObject>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstddef>
#include <numeric>
#include <utility>

#include "engine/game/plural.h"
#include "ui/a11y/announcetexts.h"
#include "ui/spin/spinedit.h"

namespace zelmo::ui {

namespace {

Announcer::Listener& listener() {
    static Announcer::Listener instance;
    return instance;
}

// Phrases of one message are read as sentences.
const QString kSeparator = QStringLiteral(". ");

// The real clock: the time since the announcer was made, and a single-shot timer.
class SteadyClock : public AnnounceClock {
  public:
    SteadyClock() {
        elapsed_.start();
        timer_.setSingleShot(true);
        QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] {
            auto due = std::exchange(due_, nullptr);
            if (due) {
                due();
            }
        });
    }

    std::int64_t now() override { return elapsed_.elapsed(); }

    void callAfter(std::int64_t delay, std::function<void()> due) override {
        due_ = std::move(due);
        timer_.start(std::chrono::milliseconds(delay));
    }

    void cancel() override {
        timer_.stop();
        due_ = nullptr;
    }

  private:
    QElapsedTimer elapsed_;
    QTimer timer_;
    std::function<void()> due_;
};

}  // namespace

Announcer::Announcer(QWidget* window, std::unique_ptr<AnnounceClock> clock)
    : QWidget(window), clock_(clock ? std::move(clock) : std::make_unique<SteadyClock>()) {
    // Nothing to see or click: an empty rectangle in the corner.
    setGeometry(0, 0, 0, 0);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

Announcer::~Announcer() {
    clock_->cancel();
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

void Announcer::sayNow(const QString& phrase) {
    say(phrase);
    urgent_ = urgent_ || !phrase.isEmpty();
}

std::int64_t Announcer::spokenMs(const QString& message) {
    // Measured with espeak-ng -v ru: about 240 ms a syllable and 250 ms a pause; a digit is read
    // as a word of about two syllables, "%" as «процентов».
    static const QString kVowels = QStringLiteral("аеёиоуыэюяАЕЁИОУЫЭЮЯ");
    std::int64_t syllables = 0;
    std::int64_t pauses = 0;
    for (const QChar c : message) {
        if (c.isDigit()) {
            syllables += 2;
        } else if (c == QLatin1Char('%')) {
            syllables += 3;
        } else if (kVowels.contains(c) || (c.isLetter() && c.unicode() < 128)) {
            syllables += 1;  // a Russian vowel, or a Latin letter said as a name
        } else if (c == QLatin1Char('.') || c == QLatin1Char(',') || c == QLatin1Char(':') ||
                   c == QLatin1Char(';')) {
            pauses += 1;
        }
    }
    return kMsPerSyllable * syllables + kMsPerPause * pauses;
}

std::int64_t Announcer::gapAfter(const QString& message) {
    return std::max(kSummaryInterval, spokenMs(message));
}

void Announcer::followGrade(TSpinEdit* spin, const QString& name) {
    connect(spin, &TSpinEdit::stepped, this, [this, spin, name] {
        const std::int32_t value = spin->value();
        QString phrase = announcetexts::kGradeStep.arg(name).arg(value);
        if (value >= spin->maxValue()) {
            phrase += announcetexts::kHighestGrade;
        } else if (value <= spin->minValue()) {
            phrase += announcetexts::kLowestGrade;
        }
        // In place of the change said with the spinner's long name a moment before.
        const QString changed = spin->accessibleName() + QStringLiteral(": ");
        phrases_.removeIf([&changed](const QString& said) { return said.startsWith(changed); });
        say(phrase);
    });
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

void Announcer::setSummarising(bool on) {
    if (on == summarising_) {
        return;
    }
    summarising_ = on;
    openNext_ = on && !phrases_.isEmpty();
    if (on) {
        clearHeld();
        summarised_ = false;
        return;
    }
    // What waited goes out with the message of this event (the window stopping, as a rule), in
    // place of what the event said before: that is the window catching up with the games the
    // summary counts.
    phrases_.clear();
    if (waiting_) {
        clock_->cancel();
        waiting_ = false;
    }
    say(heldCount_ == 1 ? held_ : summary());
    clearHeld();
}

void Announcer::gameFinished(engine::Outcome outcome) {
    if (summarising_) {
        ++games_.at(static_cast<std::size_t>(outcome));
    }
}

void Announcer::setListener(Listener newListener) {
    listener() = std::move(newListener);
}

void Announcer::speak() {
    if (phrases_.isEmpty()) {
        return;
    }
    const QString message = phrases_.join(kSeparator);
    phrases_.clear();
    const bool urgent = std::exchange(urgent_, false);
    if (summarising_ && !std::exchange(openNext_, false) && !urgent) {
        pass(message);
        return;
    }
    if (urgent) {
        // What the player asked for takes the place of what waited; the games stay counted.
        held_.clear();
        heldCount_ = 0;
    }
    deliver(message);
}

void Announcer::pass(const QString& message) {
    held_ = message;
    ++heldCount_;
    if (waiting_) {
        return;
    }
    const std::int64_t wait =
        delivered_ ? lastDelivered_ + gapAfter(message_) - clock_->now() : std::int64_t{0};
    if (wait <= 0) {
        release();
        return;
    }
    waiting_ = true;
    clock_->callAfter(wait, [this] {
        waiting_ = false;
        release();
    });
}

void Announcer::release() {
    if (heldCount_ == 0) {
        return;
    }
    // One message held back goes out as it is; several make a summary, which waits for a game
    // to finish: moves of a game no one can follow any more say nothing on their own.
    const QString message = heldCount_ == 1 ? held_ : summary();
    if (message.isEmpty()) {
        return;
    }
    summarised_ = summarised_ || heldCount_ > 1;
    clearHeld();
    deliver(message);
}

QString Announcer::summary() const {
    const int total = std::accumulate(games_.begin(), games_.end(), 0);
    if (total == 0) {
        return {};
    }
    // Short enough to be said before the next: the games rounded to thousands or millions,
    // the computer's wins and the draws in whole per cent (the player's are the rest).
    const auto percent = [total](int games) {
        return static_cast<int>(std::lround(100.0 * games / total));
    };
    QString games;
    if (total < 1000) {
        games = QString::fromStdString(engine::countOf(total, announcetexts::kGames));
    } else {
        const bool millions = total >= 1000000;
        const int rounded = static_cast<int>(std::lround(total / (millions ? 1e6 : 1e3)));
        games = announcetexts::kRoundedGames.arg(QString::fromStdString(engine::countOf(
            rounded, millions ? announcetexts::kMillions : announcetexts::kThousands)));
    }
    return (summarised_ ? announcetexts::kMore : QString()) +
           announcetexts::kSummary.arg(
               games,
               QString::number(
                   percent(games_[static_cast<std::size_t>(engine::Outcome::ComputerWin)])),
               QString::number(percent(games_[static_cast<std::size_t>(engine::Outcome::Draw)])));
}

void Announcer::clearHeld() {
    held_.clear();
    heldCount_ = 0;
    games_ = {};
}

void Announcer::deliver(const QString& message) {
    message_ = message;
    delivered_ = true;
    lastDelivered_ = clock_->now();
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
