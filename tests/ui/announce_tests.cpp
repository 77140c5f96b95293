// SPDX-License-Identifier: GPL-3.0-or-later
// The announcer's summarising mode, on a clock the test steps: a slow pace is read move by move,
// a fast one as summaries no closer than the interval, which count every game once.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "tests/ui/printers.h"
#include "ui/a11y/announce.h"

namespace {

using zelmo::engine::Outcome;
using zelmo::ui::Announcer;

class ManualClock : public zelmo::ui::AnnounceClock {
  public:
    std::int64_t now() override { return time_; }
    void callAfter(std::int64_t delay, std::function<void()> due) override {
        dueAt_ = time_ + delay;
        due_ = std::move(due);
    }
    void cancel() override { due_ = nullptr; }

    // Moves the clock on, making the call that falls due on the way.
    void advance(std::int64_t ms) {
        const std::int64_t end = time_ + ms;
        if (due_ && dueAt_ <= end) {
            time_ = dueAt_;
            std::exchange(due_, nullptr)();
        }
        time_ = end;
    }

  private:
    std::int64_t time_ = 100000;
    std::int64_t dueAt_ = 0;
    std::function<void()> due_;
};

struct Heard {
    std::int64_t at;
    QString message;
};

// One announcer on a manual clock, and every message it read out with the time.
struct Listening {
    QWidget window;
    ManualClock* clock = nullptr;
    Announcer* announcer = nullptr;
    std::vector<Heard> heard;

    Listening() {
        auto owned = std::make_unique<ManualClock>();
        clock = owned.get();
        announcer = new Announcer(&window, std::move(owned));
        Announcer::setListener([this](const QString& message) {
            heard.push_back({clock->now(), message});
        });
    }
    ~Listening() { Announcer::setListener(nullptr); }
    Listening(const Listening&) = delete;
    Listening& operator=(const Listening&) = delete;
    Listening(Listening&&) = delete;
    Listening& operator=(Listening&&) = delete;

    // One event of the window: what it says, and the game it finishes, if any.
    void event(const QString& phrase, const Outcome* finished = nullptr) {
        if (finished != nullptr) {
            announcer->gameFinished(*finished);
        }
        announcer->say(phrase);
        QCoreApplication::sendPostedEvents(announcer, QEvent::MetaCall);
    }

    // Plays `games` games of five moves, `pace` ms a move; the outcomes take turns.
    void play(int games, std::int64_t pace) {
        static const Outcome kOutcomes[] = {Outcome::PlayerWin, Outcome::ComputerWin, Outcome::Draw,
                                            Outcome::ComputerWin};
        for (int game = 0; game < games; ++game) {
            for (int move = 1; move <= 5; ++move) {
                clock->advance(pace);
                const bool last = move == 5;
                event(QStringLiteral("партия %1, ход %2").arg(game).arg(move),
                      last ? &kOutcomes[game % 4] : nullptr);
            }
        }
    }
};

TEST(AnnouncerSummary, SlowPaceIsReadMoveByMove) {
    for (const std::int64_t pace : {std::int64_t{200}, std::int64_t{1500}, std::int64_t{4000}}) {
        // Off, every message goes out at once whatever the pace; on, at a pace the listener can
        // follow, every one still goes out unchanged.
        for (const bool summarising : {false, true}) {
            if (summarising && pace < Announcer::gapAfter(QStringLiteral("партия 0, ход 1"))) {
                continue;
            }
            Listening listening;
            listening.announcer->setSummarising(summarising);
            listening.play(2, pace);
            ASSERT_EQ(listening.heard.size(), 10U) << pace << " " << summarising;
            for (std::size_t i = 0; i < listening.heard.size(); ++i) {
                EXPECT_EQ(listening.heard[i].message,
                          QStringLiteral("партия %1, ход %2").arg(i / 5).arg(i % 5 + 1));
                EXPECT_EQ(listening.heard[i].at, 100000 + pace * static_cast<std::int64_t>(i + 1));
            }
        }
    }
}

TEST(AnnouncerSummary, FastPaceIsSummarisedNoCloserThanTheInterval) {
    const QRegularExpression summary(
        QStringLiteral("^(?:ещё )?(\\d+) \\S+: компьютер (\\d+) %, ничьи (\\d+) %$"));
    for (const std::int64_t pace : {std::int64_t{0}, std::int64_t{200}, std::int64_t{700}}) {
        Listening listening;
        listening.announcer->setSummarising(true);
        listening.play(37, pace);
        // The window stops: what waited goes out with the stop's own message.
        listening.announcer->setSummarising(false);
        listening.event(QStringLiteral("стоп"));

        int games = 0;
        std::array<int, 3> outcomes{};
        for (std::size_t i = 0; i < listening.heard.size(); ++i) {
            const Heard& heard = listening.heard[i];
            // Each waits until the one before can have been said.
            if (i > 0 && i + 1 < listening.heard.size()) {
                EXPECT_GE(heard.at - listening.heard[i - 1].at,
                          Announcer::gapAfter(listening.heard[i - 1].message))
                    << pace << ": " << heard.message.toStdString();
            }
            const QStringList parts = heard.message.split(QStringLiteral(". "));
            for (const QString& part : parts) {
                const QRegularExpressionMatch match = summary.match(part);
                if (match.hasMatch()) {
                    games += match.captured(1).toInt();
                    outcomes = {match.captured(2).toInt(), match.captured(3).toInt(), 0};
                } else if (part.endsWith(QStringLiteral("ход 5"))) {
                    games += 1;  // the game's own last move, said as it is
                }
            }
        }
        EXPECT_EQ(games, 37) << pace << ": every game counted once";
        if (pace == 0) {
            // All at once: the first move, then the one summary with the stop.
            ASSERT_EQ(listening.heard.size(), 2U);
            // 18 of 37 won by the computer, 9 drawn.
            EXPECT_EQ(outcomes, (std::array<int, 3>{49, 24, 0}));
        }
        EXPECT_EQ(listening.heard.back().message.endsWith(QStringLiteral("стоп")), true);
        // No growing queue: about one message an interval, over the whole run.
        const std::int64_t duration = listening.heard.back().at - listening.heard.front().at;
        EXPECT_LE(static_cast<std::int64_t>(listening.heard.size()),
                  duration / Announcer::kSummaryInterval + 2)
            << pace;
    }
}

// The summary stays short at any count (rounded, in per cent), so a voice keeps up with it; what
// the player asks for meanwhile goes out at once in place of what was held back.
TEST(AnnouncerSummary, SummariesAreShortAndAskedForMessagesGoFirst) {
    Listening listening;
    listening.announcer->setSummarising(true);
    listening.play(2999, 0);
    listening.clock->advance(60000);
    ASSERT_FALSE(listening.heard.empty());
    const QString summary = listening.heard.back().message;
    EXPECT_EQ(summary, QStringLiteral("3 тысячи партий: компьютер 50 %, ничьи 25 %"));
    EXPECT_LE(Announcer::spokenMs(summary), 7000) << "about five seconds with espeak-ng";
    // A fast run, then the player asks for the board: it is said at once, and the games held
    // back are not said after it.
    // The next counts the games since this one, and says so.
    listening.play(1000, 0);
    listening.clock->advance(60000);
    EXPECT_TRUE(listening.heard.back().message.startsWith(QStringLiteral("ещё 1 тысяча партий")))
        << listening.heard.back().message.toStdString();
    listening.play(50, 0);
    const std::size_t before = listening.heard.size();
    listening.announcer->sayNow(QStringLiteral("доска"));
    QCoreApplication::sendPostedEvents(listening.announcer, QEvent::MetaCall);
    ASSERT_EQ(listening.heard.size(), before + 1);
    EXPECT_EQ(listening.heard.back().message, QStringLiteral("доска"));
    listening.clock->advance(60000);
    EXPECT_EQ(listening.heard.size(), before + 1) << "nothing held back comes after it";
}

TEST(AnnouncerSummary, StartIsSaidAtOnceAndTheSummaryTakesThePlaceOfTheCatchUp) {
    Listening listening;
    listening.event(QStringLiteral("ход"));
    listening.clock->advance(100);
    // The window begins playing in the next event: its message is not held for the interval.
    listening.announcer->say(QStringLiteral("старт"));
    listening.announcer->setSummarising(true);
    QCoreApplication::sendPostedEvents(listening.announcer, QEvent::MetaCall);
    ASSERT_EQ(listening.heard.size(), 2U);
    EXPECT_EQ(listening.heard[1].message, QStringLiteral("старт"));
    EXPECT_EQ(listening.heard[1].at, 100100);

    // Within the interval after it, the games are held; as the window stops, the cells it shows
    // once more give way to the summary of those games.
    listening.play(3, 0);
    EXPECT_EQ(listening.heard.size(), 2U);
    listening.announcer->say(QStringLiteral("клетка"));
    listening.announcer->setSummarising(false);
    listening.event(QStringLiteral("стоп"));
    ASSERT_EQ(listening.heard.size(), 3U);
    const QString last = listening.heard[2].message;
    EXPECT_FALSE(last.contains(QStringLiteral("клетка"))) << last.toStdString();
    EXPECT_TRUE(last.startsWith(QStringLiteral("3 партии: "))) << last.toStdString();
    EXPECT_TRUE(last.endsWith(QStringLiteral("стоп"))) << last.toStdString();
}

}  // namespace
