// SPDX-License-Identifier: GPL-3.0-or-later
// The window with a memory file: saved after every finished game and every wipe, restored at
// start-up, an unreadable file reported and kept, a failing save reported once.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "engine/game/history.h"
#include "engine/game/learner.h"
#include "engine/game/plural.h"
#include "engine/store/memorybackup.h"
#include "engine/store/memoryfile.h"
#include "tests/common/positionsonly.h"
#include "tests/common/windowgame.h"
#include "tests/ui/modalbox.h"
#include "tests/ui/printers.h"
#include "tests/ui/sessionform.h"
#include "ui/form/unit1.h"
#include "ui/history/historykeeper.h"
#include "ui/spin/spinedit.h"
#include "ui/store/memorylocation.h"
#include "ui/store/memorystore.h"
#include "ui/store/wipequestion.h"
#include "ui/watch.h"
#include "ui/widgets/controls.h"

namespace {

// The window with its session, as the program makes it.
using TForm1 = zelmo::ui::test::SessionForm;

class MemoryFileWindowTest : public ::testing::Test {
  protected:
    // A new window (as at a start of the program) using the memory file `file`.
    std::unique_ptr<TForm1> start(const QString& file) {
        auto form = std::make_unique<TForm1>();
        prepare(*form);
        form->useMemoryFile(file);
        return form;
    }
    void prepare(TForm1& form) {
        form.setClock([this] { return clock; });
        form.setErrorBox([this](QWidget*, const QString& caption, const QString& text) {
            boxes.push_back({caption, text});
        });
        form.setWipeQuestion([this](QWidget*, const QString&, const QString& text) {
            questions.push_back(text);
            return confirmWipe;
        });
    }

    // One game by clicks: the player takes the first free cell each time. Then, unless told
    // otherwise, waits for the save it started.
    void playGame(TForm1& form, bool waitForSave = true) {
        clock += 7919;  // another random choice in every game
        form.Button2->click();
        finishGame(form, waitForSave);
    }
    void finishGame(TForm1& form, bool waitForSave = true) {
        zelmo::windowgame::OrderPlayer firstFree;
        zelmo::windowgame::finishGame(form, firstFree);
        if (waitForSave) {
            form.finishSaving();
        }
    }
    void wipe(TForm1& form) {
        form.Button1->click();
        form.finishSaving();
    }

    QByteArray bytes(const QString& name) const {
        QFile file(name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    // The file's entry count, or -1 when it cannot be read.
    int storedCount(const QString& name) const {
        auto snapshot = std::make_unique<zelmo::engine::MemorySnapshot>();
        const auto result = zelmo::engine::test::loadMemoryFile(name.toStdString(), *snapshot);
        return result.status == zelmo::engine::MemoryFileStatus::Ok ? snapshot->entryCount : -1;
    }

    // The file's history (empty when it cannot be read).
    zelmo::engine::LearningHistory storedHistory(const QString& name) const {
        auto snapshot = std::make_unique<zelmo::engine::MemorySnapshot>();
        zelmo::engine::LearningHistory history;
        zelmo::engine::test::loadMemoryFile(name.toStdString(), *snapshot, history);
        return history;
    }

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("memory.zelmo"));
    std::uint32_t clock = 1;
    std::vector<std::pair<QString, QString>> boxes;
    std::vector<QString> questions;
    bool confirmWipe = true;
};

TEST_F(MemoryFileWindowTest, FinishedGamesAreSavedAndARestartRestoresThem) {
    {
        auto form = start(path);
        EXPECT_EQ(form->Label8->text(), QStringLiteral("0"));
        form->Button2->click();
        EXPECT_FALSE(QFile::exists(path)) << "nothing is written before a game ends";
        finishGame(*form);
        EXPECT_EQ(storedCount(path), form->entryCount());
        for (int game = 0; game < 5; ++game) {
            playGame(*form);
            EXPECT_EQ(storedCount(path), form->entryCount()) << "game " << game;
        }
        ASSERT_GT(form->entryCount(), 2);
    }
    const int saved = storedCount(path);
    auto again = start(path);
    EXPECT_EQ(again->entryCount(), saved);
    EXPECT_EQ(again->Label8->text(), QString::number(saved));
    EXPECT_TRUE(boxes.empty());

    // The wipe is saved at once.
    wipe(*again);
    EXPECT_EQ(storedCount(path), 0);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(MemoryFileWindowTest, TheUsedMarksInAFileAreDroppedWhenItIsRead) {
    // A file keeps the used marks of the last game played on it (they go when the next game
    // begins); a window that reads it, maybe during a game of its own (Ctrl+O), must not grade
    // them with its game.
    {
        auto form = start(path);
        playGame(*form);
        playGame(*form);
    }
    auto snapshot = std::make_unique<zelmo::engine::MemorySnapshot>();
    ASSERT_EQ(zelmo::engine::test::loadMemoryFile(path.toStdString(), *snapshot).status,
              zelmo::engine::MemoryFileStatus::Ok);
    ASSERT_GE(snapshot->entryCount, 1);
    snapshot->memory.markUsed(1, 1);
    ASSERT_TRUE(zelmo::engine::saveMemoryFile(path.toStdString(),
                                              zelmo::engine::test::encodeMemory(*snapshot))
                    .empty());

    auto form = start(path);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(form->entryCount(), snapshot->entryCount);
    for (int j = 1; j <= form->entryCount(); ++j) {
        for (int k = 1; k <= zelmo::engine::MemoryEntry::kSlots; ++k) {
            EXPECT_FALSE(form->memory()[j].Slots[k].Used) << "entry " << j << ", slot " << k;
        }
    }
}

TEST_F(MemoryFileWindowTest, AnUnreadableFileIsReportedAndKeptUntilAWipe) {
    {
        auto form = start(path);
        playGame(*form);
        playGame(*form);
    }
    QByteArray damaged = bytes(path);
    damaged[damaged.size() / 2] = static_cast<char>(damaged[damaged.size() / 2] ^ 1);
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(damaged);
    }

    auto form = start(path);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].first, QStringLiteral("Zelmo"));
    EXPECT_TRUE(boxes[0].second.contains(QStringLiteral("«") + path + QStringLiteral("»")))
        << boxes[0].second.toStdString();
    EXPECT_TRUE(boxes[0].second.contains(QStringLiteral("повреждён")))
        << boxes[0].second.toStdString();
    EXPECT_TRUE(boxes[0].second.contains(QStringLiteral("промыть мозги")))
        << boxes[0].second.toStdString();
    EXPECT_EQ(form->entryCount(), 0);
    EXPECT_EQ(form->Label8->text(), QStringLiteral("0"));

    for (int game = 0; game < 3; ++game) {
        playGame(*form);
    }
    EXPECT_EQ(bytes(path), damaged) << "the file is left byte for byte";
    EXPECT_EQ(boxes.size(), 1u);

    // A wipe would give the old file up: it is asked first, and a confirmed one keeps it as
    // the backup; saving goes on from there.
    confirmWipe = false;
    wipe(*form);
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_TRUE(questions[0].contains(path)) << questions[0].toStdString();
    EXPECT_EQ(bytes(path), damaged) << "declined: the file stays";
    confirmWipe = true;
    wipe(*form);
    EXPECT_EQ(bytes(path + QStringLiteral(".bak")), damaged);
    EXPECT_EQ(storedCount(path), 0);
    playGame(*form);
    EXPECT_EQ(storedCount(path), form->entryCount());
    EXPECT_GT(form->entryCount(), 0);
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(MemoryFileWindowTest, AFailingSaveIsReportedOnceUntilASaveSucceeds) {
    const QString sub = dir.filePath(QStringLiteral("sub"));
    const QString inSub = sub + QStringLiteral("/memory.zelmo");
    auto form = start(inSub);
    ASSERT_EQ(boxes.size(), 1u) << "the missing folder is reported at start-up";
    EXPECT_TRUE(boxes[0].second.contains(inSub)) << boxes[0].second.toStdString();
    playGame(*form);
    playGame(*form);
    EXPECT_EQ(boxes.size(), 1u) << "and not again after every game";
    EXPECT_TRUE(form->Button2->isEnabled()) << "the game goes on";

    ASSERT_TRUE(QDir().mkdir(sub));
    playGame(*form);
    EXPECT_EQ(storedCount(inSub), form->entryCount());
    EXPECT_EQ(boxes.size(), 1u);

    ASSERT_TRUE(QDir(sub).removeRecursively());
    playGame(*form);
    ASSERT_EQ(boxes.size(), 2u) << "a new failure after a success is reported again";
    EXPECT_TRUE(boxes[1].second.contains(QStringLiteral("Не удалось сохранить")))
        << boxes[1].second.toStdString();
    EXPECT_TRUE(boxes[1].second.contains(inSub)) << boxes[1].second.toStdString();

    // Another failure is not told again, but closing says what is lost with the window.
    playGame(*form);
    ASSERT_EQ(boxes.size(), 2u);
    form->close();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_TRUE(boxes[2].second.contains(QStringLiteral("Окно закрывается")))
        << boxes[2].second.toStdString();
}

TEST_F(MemoryFileWindowTest, AFolderThatCannotTakeTheFileIsReportedAtStartUp) {
    QFile plain(dir.filePath(QStringLiteral("plain")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    struct Row {
        QString file;
        QString cause;
    };
    const QString noTemporary = QStringLiteral("не создаётся временный файл");
    // The causes in Russian, whatever the C library's language.
    auto cause = [&](const char* why) { return noTemporary + QStringLiteral(" (") + why + ')'; };
    // /proc takes no new file, whoever runs the tests (root included).
    const Row rows[] = {
        {dir.filePath(QStringLiteral("none/memory.zelmo")), cause("нет такого файла или папки")},
        {dir.filePath(QStringLiteral("plain/memory.zelmo")), cause("часть пути — не папка")},
        {QStringLiteral("/proc/memory.zelmo"), noTemporary},
    };
    for (const Row& row : rows) {
        boxes.clear();
        auto form = start(row.file);
        ASSERT_EQ(boxes.size(), 1u) << row.file.toStdString();
        const QString& text = boxes[0].second;
        EXPECT_TRUE(text.contains(QStringLiteral("«") + row.file + QStringLiteral("»")))
            << text.toStdString();
        EXPECT_TRUE(text.contains(row.cause)) << text.toStdString();
    }
}

TEST_F(MemoryFileWindowTest, TheKeptMemoryLivesInTheUserDataFolderMadeWhenNeeded) {
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    const QString base = dir.filePath(QStringLiteral("data home"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(base));
    const QString kept = zelmo::ui::keptMemoryPath();
    qputenv("XDG_DATA_HOME", "relative/path");
    const QString fallback = zelmo::ui::keptMemoryPath();
    // Without a home folder there is nowhere to keep it (not the root folder).
    const QByteArray home = qgetenv("HOME");
    qunsetenv("HOME");
    const QString nowhere = zelmo::ui::keptMemoryPath();
    {
        TForm1 homeless;
        prepare(homeless);
        homeless.useKeptMemory();
        EXPECT_EQ(homeless.memoryStore(), nullptr);
    }
    qputenv("HOME", home);
    qputenv("XDG_DATA_HOME", saved);
    EXPECT_TRUE(nowhere.isEmpty()) << nowhere.toStdString();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].second.contains(QStringLiteral("HOME"))) << boxes[0].second.toStdString();
    boxes.clear();

    EXPECT_EQ(kept, base + QStringLiteral("/zelmo/memory.zelmo"));
    EXPECT_EQ(fallback, QDir::homePath() + QStringLiteral("/.local/share/zelmo/memory.zelmo"));
    auto form = std::make_unique<TForm1>();
    prepare(*form);
    form->useMemoryFile(kept, zelmo::ui::FolderPolicy::Create);
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(QFileInfo(base + QStringLiteral("/zelmo")).isDir());
    playGame(*form);
    form.reset();
    EXPECT_GT(storedCount(kept), 0);
}

TEST_F(MemoryFileWindowTest, TheHistoryIsKeptWithTheMemoryAcrossARestartAndStartsAnewAtAWipe) {
    using zelmo::engine::HistoryBlock;
    using zelmo::engine::LearningHistory;
    // A file the trainer wrote: its history goes on in the window, not lost at its first save.
    {
        auto snapshot = std::make_unique<zelmo::engine::MemorySnapshot>();
        LearningHistory trained;
        trained.add({zelmo::engine::Outcome::ComputerWin, true, {5, -3, 1}, 0},
                    LearningHistory::kWhileRunning);
        ASSERT_EQ(
            zelmo::engine::saveMemoryFile(path.toStdString(), zelmo::engine::test::encodeMemory(
                                                                  snapshot->memory, 0, trained)),
            "");
    }
    {
        auto form = start(path);
        form->SpinEdit1->setText(QStringLiteral("7"));
        playGame(*form);
        playGame(*form);
    }
    auto again = start(path);
    const std::vector<HistoryBlock>& blocks = again->session.historyKeeper().history().blocks();
    ASSERT_EQ(blocks.size(), 3u) << "the trainer's block, then one per game played by hand";
    EXPECT_EQ(blocks[0].computerWins, 1u);
    EXPECT_EQ(blocks[1].grades.win, 7);
    EXPECT_EQ(blocks[2].positions, again->entryCount());
    EXPECT_EQ(storedHistory(path).blocks(), blocks);

    // Watched games go in blocks of a hundred.
    ASSERT_TRUE(again->watch(QStringLiteral("random"), 0));
    while (again->session.historyKeeper().history().games() < 6) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    again->watchMode().stop();
    again->finishSaving();
    const LearningHistory watched = storedHistory(path);
    ASSERT_GE(watched.blocks().size(), 4u);
    EXPECT_GT(watched.blocks()[3].games(), 1u) << "a block of many games";
    EXPECT_EQ(watched.games(), again->session.historyKeeper().history().games());

    wipe(*again);
    EXPECT_TRUE(again->session.historyKeeper().history().empty());
    EXPECT_TRUE(storedHistory(path).empty());
    EXPECT_EQ(storedHistory(path + QStringLiteral(".bak")).games(), watched.games())
        << "the old history stays in the backup";
    EXPECT_TRUE(boxes.empty());
}

// A learner for "X" in the watch mode learns in its own file, locked while it plays and saved
// when watching stops; the window refuses that file as the computer's memory and leaves it be.
TEST_F(MemoryFileWindowTest, AnXLearnersFileIsItsOwnAndNoWindowPlaysOnIt) {
    const QString learnerPath = dir.filePath(QStringLiteral("x.zelmo"));
    const QString learner = QStringLiteral("learner:") + learnerPath;
    auto form = start(path);
    ASSERT_TRUE(form->watch(learner, 0));
    while (form->session.historyKeeper().history().games() < 30) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    EXPECT_TRUE(form->watch(learner, 0)) << "the learner that plays is kept";
    EXPECT_TRUE(boxes.empty());
    auto other = start(dir.filePath(QStringLiteral("other.zelmo")));
    EXPECT_FALSE(other->watch(learner, 0)) << "the file is taken while the learner plays";
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].second.contains(QStringLiteral("занят"))) << boxes[0].second.toStdString();
    form->watchMode().stop();
    const zelmo::engine::LearnerPlayer* played = form->watchMode().learner();
    ASSERT_NE(played, nullptr);
    auto kept = std::make_unique<zelmo::engine::MemoryDocument>();
    ASSERT_EQ(zelmo::engine::loadMemoryFile(learnerPath.toStdString(), *kept,
                                            zelmo::engine::MemorySide::Cross)
                  .status,
              zelmo::engine::MemoryFileStatus::Ok);
    EXPECT_EQ(kept->positions.entryCount, played->entryCount());
    EXPECT_GT(kept->positions.entryCount, 0);
    EXPECT_EQ(kept->history.games(), form->session.historyKeeper().history().games());

    const QByteArray learnt = bytes(learnerPath);
    form.reset();
    auto wrong = start(learnerPath);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_TRUE(boxes[1].second.contains(QStringLiteral("«X»"))) << boxes[1].second.toStdString();
    EXPECT_EQ(wrong->entryCount(), 0);
    playGame(*wrong);
    EXPECT_EQ(bytes(learnerPath), learnt);
}

TEST_F(MemoryFileWindowTest, AWipeThatForgetsAKeptMemoryAsksAndKeepsABackup) {
    const QString backup = path + QStringLiteral(".bak");
    auto form = start(path);
    for (int game = 0; game < 3; ++game) {
        playGame(*form);
    }
    const int count = form->entryCount();
    ASSERT_GT(count, 0);
    const QByteArray before = bytes(path);

    confirmWipe = false;
    ASSERT_TRUE(form->watch(QStringLiteral("random"), 60000));
    wipe(*form);
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_FALSE(form->watchMode().watching()) << "nothing is learnt behind the question";
    const zelmo::engine::RussianForms forms{"позицию", "позиции", "позиций"};
    EXPECT_TRUE(questions[0].contains(QString::fromStdString(zelmo::engine::countOf(count, forms))))
        << questions[0].toStdString();
    EXPECT_TRUE(questions[0].contains(backup)) << questions[0].toStdString();
    EXPECT_EQ(form->entryCount(), count) << "declined: the memory stays";
    EXPECT_EQ(form->Label8->text(), QString::number(count));
    EXPECT_NE(form->Bar1->simpleText(), QStringLiteral("промыл"));
    EXPECT_EQ(bytes(path), before) << "declined: the file stays";
    EXPECT_FALSE(QFile::exists(backup));

    confirmWipe = true;
    wipe(*form);
    EXPECT_EQ(questions.size(), 2u);
    EXPECT_EQ(form->entryCount(), 0);
    EXPECT_EQ(storedCount(path), 0);
    EXPECT_EQ(bytes(backup), before) << "the old file is kept beside";

    // An empty memory is wiped without a question and the backup is left alone.
    wipe(*form);
    EXPECT_EQ(questions.size(), 2u);
    EXPECT_EQ(bytes(backup), before);

    // The next confirmed wipe replaces the backup.
    playGame(*form);
    const QByteArray second = bytes(path);
    ASSERT_NE(second, before);
    wipe(*form);
    EXPECT_EQ(questions.size(), 3u);
    EXPECT_EQ(bytes(backup), second);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(MemoryFileWindowTest, WithoutAMemoryFileAWipeAsksNothing) {
    TForm1 form;
    prepare(form);
    playGame(form);
    ASSERT_GT(form.entryCount(), 0);
    confirmWipe = false;
    form.Button1->click();
    EXPECT_TRUE(questions.empty());
    EXPECT_EQ(form.entryCount(), 0);
    EXPECT_EQ(form.Bar1->simpleText(), QStringLiteral("промыл"));
}

TEST_F(MemoryFileWindowTest, ASlowSaveLetsTheWindowGoOnAndCloseWaitsForTheLast) {
    std::mutex mutex;
    std::condition_variable changed;
    bool released = false;
    bool failing = false;
    int started = 0;
    std::vector<int> written;
    std::thread::id writer;
    auto form = std::make_unique<TForm1>();
    prepare(*form);
    form->setMemoryWriter([&](const std::string& file, const std::vector<std::uint8_t>& in) {
        std::unique_lock lock(mutex);
        writer = std::this_thread::get_id();
        ++started;
        changed.notify_all();
        // Held until the test lets it go (the time limit only keeps a broken build from
        // hanging).
        changed.wait_for(lock, std::chrono::seconds(60), [&] { return released; });
        auto decoded = std::make_unique<zelmo::engine::MemorySnapshot>();
        zelmo::engine::test::decodeMemory(in.data(), in.size(), *decoded);
        written.push_back(decoded->entryCount);
        return failing ? std::string("диск пропал") : zelmo::engine::saveMemoryFile(file, in);
    });
    form->useMemoryFile(path);

    playGame(*form, false);
    {
        std::unique_lock lock(mutex);
        ASSERT_TRUE(changed.wait_for(lock, std::chrono::seconds(60), [&] { return started > 0; }));
        EXPECT_NE(writer, std::this_thread::get_id());
    }
    // The first save is held; the window plays on and hands over two more snapshots.
    playGame(*form, false);
    playGame(*form, false);
    EXPECT_EQ(form->Label2->text(), QStringLiteral("3"));
    const int last = form->entryCount();
    {
        const std::lock_guard lock(mutex);
        EXPECT_TRUE(written.empty());
        released = true;
    }
    changed.notify_all();
    form->close();
    ASSERT_EQ(written.size(), 2u) << "the snapshot overtaken while waiting is not written";
    EXPECT_EQ(written.back(), last);
    EXPECT_EQ(storedCount(path), last) << "closing waited for the last snapshot";
    EXPECT_TRUE(boxes.empty());

    // A last save that fails is reported when the window closes.
    failing = true;
    playGame(*form, false);
    form->close();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].second.contains(QStringLiteral("диск пропал")));
}

TEST(MemoryBackupTest, OnlyARegularFileIsCopied) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // A named pipe is neither waited on nor copied (it is never replaced either).
    const std::string pipe = QFile::encodeName(dir.filePath(QStringLiteral("pipe"))).toStdString();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(zelmo::engine::keepBackup(pipe), "");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(zelmo::engine::backupPathOf(pipe))));
    // A file far larger than any memory is not read into memory; the wipe is stopped instead.
    const QString big = dir.filePath(QStringLiteral("big"));
    QFile file(big);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(qint64{17} << 20));
    file.close();
    EXPECT_NE(zelmo::engine::keepBackup(QFile::encodeName(big).toStdString()).find("больше"),
              std::string::npos);
    EXPECT_FALSE(QFile::exists(big + QStringLiteral(".bak")));
}

TEST(WipeQuestionTest, KeepingTheMemoryIsTheDefaultAndEscapeChoosesIt) {
    // Each row answers the real question: a key, or a click on the wipe button (0).
    for (const int answer : {int(Qt::Key_Escape), int(Qt::Key_Return), 0}) {
        const auto poll = whenMessageBoxShows([answer](QMessageBox* box) {
            if (answer != 0) {
                QTest::keyClick(box, static_cast<Qt::Key>(answer));
                return;
            }
            for (QAbstractButton* button : box->buttons()) {
                if (button->text() == QStringLiteral("Промыть")) {
                    button->click();
                }
            }
        });
        const bool wiped =
            zelmo::ui::askWipeQuestion(nullptr, QStringLiteral("Zelmo"),
                                       zelmo::ui::wipeQuestionText(21, QStringLiteral("m.bak")));
        EXPECT_EQ(wiped, answer == 0) << "answer " << answer;
    }
    EXPECT_TRUE(zelmo::ui::wipeQuestionText(21, QStringLiteral("m.bak"))
                    .contains(QStringLiteral("21 позицию")));
}

}  // namespace
