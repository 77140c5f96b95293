// SPDX-License-Identifier: GPL-3.0-or-later
// The learning views, measured: a full refresh of the memory view with 1000 positions beside a
// floor that only copies the weights, the games per second of the window's watch mode at
// pace 0 beside the trainer's flow against the same player in the same run, and a history of a
// million games read from its file's bytes and drawn.
//   QT_QPA_PLATFORM=offscreen memoryview_bench [benchmark options]
//   QT_QPA_PLATFORM=offscreen memoryview_bench --shots DIR   (the memory view's pictures)
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QListView>
#include <QPainter>
#include <QPixmap>
#include <QTemporaryDir>

#include <array>
#include <cstdio>
#include <cstring>
#include <memory>

#include "engine/game/history.h"
#include "engine/game/players.h"
#include "engine/store/memoryformat.h"
#include "tests/common/windowgame.h"
#include "train/trainflow.h"
#include "ui/form/unit1.h"
#include "ui/history/historyplot.h"
#include "ui/history/historywindow.h"
#include "ui/memoryview/memorymodel.h"
#include "ui/memoryview/memoryview.h"
#include "ui/session.h"
#include "ui/watch.h"
#include "ui/widgets/application.h"
#include "ui/widgets/controls.h"

namespace {

using zelmo::engine::PositionMemory;
using zelmo::ui::Session;
using zelmo::ui::TForm1;

// A full table: every entry a position with three answers whose weights depend on `round`,
// so that two rounds differ in every entry.
std::unique_ptr<PositionMemory> fullMemory(int round) {
    auto memory = std::make_unique<PositionMemory>();
    for (int j = 1; j <= PositionMemory::Capacity; ++j) {
        zelmo::engine::Board board;
        board.fill(zelmo::engine::kEmpty);
        board.set(1 + j % 9, zelmo::engine::kCross);
        (*memory)[j].Position = board;
        int slot = 1;
        for (int cell = 1; cell <= 9 && slot <= 3; ++cell) {
            if (cell != 1 + j % 9) {
                (*memory)[j].Slots[slot] = {static_cast<std::int16_t>(cell),
                                            (j + slot + round) % 5 - 2, false};
                ++slot;
            }
        }
    }
    return memory;
}

void BM_MemoryViewFullRefresh(benchmark::State& state) {
    TForm1 form;
    Session session(form);
    form.show();
    zelmo::ui::MemoryView& view = session.memoryView();
    view.open();
    const std::array<std::unique_ptr<PositionMemory>, 2> memories = {fullMemory(0), fullMemory(1)};
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        form.restoreMemory(*memories[static_cast<std::size_t>(round)], PositionMemory::Capacity);
        round = 1 - round;
        state.ResumeTiming();
        // Every box changed: read them all, then paint what the window shows.
        view.refreshNow();
        view.list().viewport()->repaint();
    }
    state.counters["positions"] = view.model().rowCount();
}
BENCHMARK(BM_MemoryViewFullRefresh)->Unit(benchmark::kMicrosecond);

// The floor: only copying the 9000 weights out of the table.
void BM_CopyWeightsFloor(benchmark::State& state) {
    const std::unique_ptr<PositionMemory> memory = fullMemory(0);
    std::array<std::int32_t, std::size_t{9} * PositionMemory::Capacity> weights{};
    for (auto _ : state) {
        std::size_t i = 0;
        for (int j = 1; j <= PositionMemory::Capacity; ++j) {
            for (int k = 1; k <= 9; ++k) {
                weights[i++] = (*memory)[j].Slots[k].Weight;
            }
        }
        benchmark::DoNotOptimize(weights.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CopyWeightsFloor)->Unit(benchmark::kMicrosecond);

// Shows the window and starts it watching at pace 0 on the same games in every run: the
// computer's clock and the player's draws are fixed.
void watchFixedGames(TForm1& form, Session& session, const char* opponent) {
    form.setClock(zelmo::train::SteppingClock(0, 1777));
    form.show();
    session.watchMode().setOpponent(QString::fromLatin1(opponent), 1);
    session.watchMode().setPace(0);
    session.watchMode().start();
}

// The window watching a fixed number of games (watching stopped between games): what it
// executes does not depend on the machine, for bench/trainer/compare.py to count side by side.
void BM_WindowWatchFixedGames(benchmark::State& state, const char* opponent) {
    constexpr int kGames = 2000;
    for (auto _ : state) {
        TForm1 form;
        Session session(form);
        struct StopAt : zelmo::engine::GameListener {
            explicit StopAt(Session& watched) : session(watched) {}
            void gameFinished(const zelmo::engine::FinishedGame& game) override {
                if (game.gameNumber >= kGames) {
                    session.watchMode().stop();
                }
            }
            Session& session;
        } stop(session);
        form.addListener(stop);
        watchFixedGames(form, session, opponent);
        while (session.watchMode().watching()) {
            QApplication::processEvents();
        }
        form.removeListener(stop);
    }
    state.SetItemsProcessed(state.iterations() * kGames);
}
BENCHMARK_CAPTURE(BM_WindowWatchFixedGames, perfect, "perfect")->Iterations(1);
BENCHMARK_CAPTURE(BM_WindowWatchFixedGames, random, "random")->Iterations(1);

// The window in watch mode at pace 0: one iteration is one pass of the event loop (one slice
// of games, and a repaint at most once a frame); games per second is the items rate.
void BM_WindowWatchGames(benchmark::State& state, const char* opponent) {
    TForm1 form;
    Session session(form);
    watchFixedGames(form, session, opponent);
    const int first = form.gameNumber();
    for (auto _ : state) {
        QApplication::processEvents();
    }
    session.watchMode().stop();
    state.SetItemsProcessed(form.gameNumber() - first);
    state.counters["entries"] = form.entryCount();
}
BENCHMARK_CAPTURE(BM_WindowWatchGames, perfect, "perfect")->UseRealTime()->MinTime(2.0);
BENCHMARK_CAPTURE(BM_WindowWatchGames, random, "random")->UseRealTime()->MinTime(2.0);

// The trainer's flow against the same player.
void BM_TrainerGames(benchmark::State& state, const char* opponent) {
    auto flow = std::make_unique<zelmo::train::TrainFlow>(zelmo::train::Grades{});
    const auto player = zelmo::engine::makePlayer(opponent, 1);
    for (auto _ : state) {
        flow->playGame(*player, [](const std::exception&) {});
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["entries"] = flow->entryCount();
}
BENCHMARK_CAPTURE(BM_TrainerGames, perfect, "perfect")->UseRealTime();
BENCHMARK_CAPTURE(BM_TrainerGames, random, "random")->UseRealTime();

// A history of a million games, as the file keeps it, read and drawn into an image of the
// window's default size at ratio 2: the plot's cost when it opens after a long training.
void BM_HistoryReadAndDraw(benchmark::State& state) {
    using zelmo::engine::LearningHistory;
    LearningHistory history;
    std::uint64_t seed = 1;
    for (int game = 0; game < 1000000; ++game) {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        // The computer wins less and less often as the draws grow: a curve worth drawing.
        const auto roll = static_cast<int>((seed >> 33) % 1000000);
        const auto outcome = roll < 1000000 - game ? zelmo::engine::Outcome::Draw
                             : roll % 3 == 0       ? zelmo::engine::Outcome::PlayerWin
                                                   : zelmo::engine::Outcome::ComputerWin;
        history.add({outcome, game % 2 == 0, {5, 2, 4}, 100}, LearningHistory::kWhileRunning);
    }
    const auto memory = std::make_unique<PositionMemory>();
    const std::vector<std::uint8_t> bytes = zelmo::engine::encodeMemory(
        zelmo::engine::DocumentView{*memory, 0, history, zelmo::engine::Grades{}});
    const QFont font = QApplication::font();
    const int line = QFontMetrics(font).height();
    QImage image(QSize(40 * line, 20 * line) * 2, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(2);
    auto document = std::make_unique<zelmo::engine::MemoryDocument>();
    for (auto _ : state) {
        zelmo::engine::decodeMemory(bytes.data(), bytes.size(), *document);
        QPainter painter(&image);
        zelmo::ui::paintHistory(painter, QRect(0, 0, 40 * line, 20 * line), document->history,
                                font);
    }
    state.counters["games"] = static_cast<double>(history.games());
    state.counters["blocks"] = static_cast<double>(history.blocks().size());
}
BENCHMARK(BM_HistoryReadAndDraw)->Unit(benchmark::kMillisecond);

void save(QWidget& widget, const QString& path) {
    if (!widget.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    }
}

// Pictures of the memory view and the history's plot after three games by clicks and after
// 2000 watched games against the perfect player, and of the plot after a restart.
int shots(const QString& dir) {
    QTemporaryDir files;
    const QString memoryFile = files.filePath(QStringLiteral("memory.zelmo"));
    QDir().mkpath(dir);
    const QString scale = QString::number(qApp->devicePixelRatio());
    {
        TForm1 form;
        Session session(form);
        form.show();
        auto player = zelmo::engine::makePlayer("random", 3);
        for (int game = 0; game < 3; ++game) {
            zelmo::windowgame::playGame(form, *player);
        }
        // A game in progress, so its positions are highlighted.
        form.Button2->click();
        if (form.acceptingMoves()) {
            form.cellButton(player->move(form.board()))->click();
        }
        session.memoryView().open();
        session.memoryView().resize(620, 420);
        QApplication::processEvents();
        save(session.memoryView(), dir + QStringLiteral("/memoryview-few-games@") + scale + ".png");
        save(form, dir + QStringLiteral("/window-few-games@") + scale + ".png");
        session.historyWindow().open();
        QApplication::processEvents();
        save(session.historyWindow(), dir + QStringLiteral("/history-few-games@") + scale + ".png");
    }
    {
        TForm1 form;
        Session session(form);
        session.useMemoryFile(memoryFile);
        form.show();
        // Watching stops between games once 2000 have been played.
        struct StopAt2000 : zelmo::engine::GameListener {
            explicit StopAt2000(Session& watched) : session(watched) {}
            void gameFinished(const zelmo::engine::FinishedGame& game) override {
                if (game.gameNumber >= 2000) {
                    session.watchMode().stop();
                }
            }
            Session& session;
        } stop(session);
        form.addListener(stop);
        session.watch(QStringLiteral("perfect"), 0);
        while (session.watchMode().watching()) {
            QApplication::processEvents();
        }
        form.removeListener(stop);
        session.memoryView().open();
        session.memoryView().resize(900, 700);
        QApplication::processEvents();
        save(session.memoryView(),
             dir + QStringLiteral("/memoryview-2000-perfect@") + scale + ".png");
        save(form, dir + QStringLiteral("/window-2000-perfect@") + scale + ".png");
        session.historyWindow().open();
        QApplication::processEvents();
        save(session.historyWindow(),
             dir + QStringLiteral("/history-2000-perfect@") + scale + ".png");
        session.finishSaving();
    }
    {
        // The next start with the same memory file: the history is read with the memory.
        TForm1 form;
        Session session(form);
        session.useMemoryFile(memoryFile);
        form.show();
        session.historyWindow().open();
        QApplication::processEvents();
        save(session.historyWindow(),
             dir + QStringLiteral("/history-after-restart@") + scale + ".png");
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    zelmo::ui::initApplication(app);
    if (argc == 3 && std::strcmp(argv[1], "--shots") == 0) {
        return shots(QString::fromLocal8Bit(argv[2]));
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
