// SPDX-License-Identifier: GPL-3.0-or-later
// Memory files handled from the window through the session, with the file dialogs and the
// questions answered by the test: open (Ctrl+O), save a copy (Ctrl+Shift+S), restore the
// backup (Ctrl+R); a file another program holds asks no wipe question; an ending signal
// closes the window as Ctrl+Q does.
#include <gtest/gtest.h>

#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <csignal>
#include <memory>
#include <string>
#include <vector>

#include "engine/store/memorybackup.h"
#include "engine/store/memoryfile.h"
#include "engine/store/memorylock.h"
#include "tests/common/windowgame.h"
#include "tests/ui/printers.h"
#include "tests/ui/sessionform.h"
#include "ui/desktop/shutdown.h"
#include "ui/memoryview/memoryview.h"
#include "ui/store/memoryfiles.h"
#include "ui/store/memorystore.h"
#include "ui/widgets/controls.h"

namespace {

using zelmo::ui::MemoryFiles;
using TForm1 = zelmo::ui::test::SessionForm;

std::string native(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

class MemoryFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        // The dialogs start in the kept memory's folder, which lives under XDG_DATA_HOME.
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath(QStringLiteral("data"))));
        form.setErrorBox(
            [this](QWidget*, const QString&, const QString& text) { boxes.push_back(text); });
        form.setWipeQuestion([](QWidget*, const QString&, const QString&) { return true; });
        MemoryFiles& files = form.session.memoryFiles();
        files.setOpenDialog(
            [this](QWidget*, const QString&, const QString& folder, const QString&) {
                folders.push_back(folder);
                return chosen;
            });
        files.setSaveDialog(
            [this](QWidget*, const QString&, const QString&, const QString&) { return chosen; });
        files.setQuestion([this](QWidget*, const QString&, const QString& text, const QString&) {
            questions.push_back(text);
            return answer;
        });
    }
    void TearDown() override { qunsetenv("XDG_DATA_HOME"); }

    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    void playGames(int games) {
        for (int i = 0; i < games; ++i) {
            form.setClock([i] { return static_cast<std::uint32_t>(7919 * (i + 1)); });
            zelmo::windowgame::playGame(form, player);
        }
        form.finishSaving();
    }
    // The positions a memory file holds, -1 when it cannot be read.
    static int positionsIn(const QString& file) {
        auto document = std::make_unique<zelmo::engine::MemoryDocument>();
        return zelmo::engine::loadMemoryFile(native(file), *document).status ==
                       zelmo::engine::MemoryFileStatus::Ok
                   ? document->positions.entryCount
                   : -1;
    }

    QTemporaryDir dir;
    TForm1 form;
    zelmo::engine::RandomPlayer player{5};
    std::vector<QString> boxes;
    std::vector<QString> questions;
    std::vector<QString> folders;
    QString chosen;
    bool answer = true;
};

TEST_F(MemoryFilesTest, HeldFileAsksNoWipeQuestion) {
    // Another program holds the file: the window plays without it, and a wipe loses nothing
    // kept, so it is not asked about.
    const zelmo::engine::MemoryLock trainer =
        zelmo::engine::MemoryLock::acquire(native(path("held.zelmo")), "zelmo-train");
    ASSERT_TRUE(trainer.locked());
    int asked = 0;
    form.setWipeQuestion([&asked](QWidget*, const QString&, const QString&) {
        ++asked;
        return false;
    });
    form.useMemoryFile(path("held.zelmo"));
    ASSERT_TRUE(form.memoryStore()->heldBy());
    playGames(2);
    ASSERT_GT(form.entryCount(), 0);
    form.Button1->click();
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(form.entryCount(), 0);
    EXPECT_FALSE(QFile::exists(path("held.zelmo.bak")));
}

TEST_F(MemoryFilesTest, OpenSavesTheOldFileAndGoesOnWithTheNew) {
    form.useMemoryFile(path("a.zelmo"));
    playGames(3);
    const int learnt = form.entryCount();
    ASSERT_EQ(positionsIn(path("a.zelmo")), learnt);
    ASSERT_TRUE(
        QFile::copy(QStringLiteral(ZELMO_SOURCE_DIR "/tests/fuzz/corpus/memoryfile/one-entry"),
                    path("b.zelmo")));

    // A game in progress goes on with the new memory; the old file gets that game's state.
    form.Button2->click();
    chosen = path("b.zelmo");
    form.session.memoryFiles().open();
    // The dialog starts in the open file's folder, not the kept memory's.
    EXPECT_EQ(folders, std::vector<QString>{QFileInfo(path("a.zelmo")).absolutePath()});
    EXPECT_EQ(form.memoryStore()->path(), path("b.zelmo"));
    EXPECT_EQ(form.entryCount(), 1);
    EXPECT_FALSE(QFile::exists(path("a.zelmo.lock"))) << "the old file is still held";
    EXPECT_EQ(zelmo::engine::lockHolderOf(native(path("b.zelmo")))->pid, ::getpid());
    EXPECT_TRUE(questions.empty());
    zelmo::windowgame::finishGame(form, player);
    form.finishSaving();
    EXPECT_EQ(positionsIn(path("b.zelmo")), form.entryCount());
    EXPECT_EQ(positionsIn(path("a.zelmo")), learnt);

    // The memory view names the file in use.
    zelmo::ui::MemoryView& view = form.session.memoryView();
    view.open();
    bool named = false;
    for (const QLabel* label : view.findChildren<QLabel*>()) {
        named = named || label->text().contains(QStringLiteral("Файл памяти: b.zelmo"));
    }
    EXPECT_TRUE(named);
    EXPECT_TRUE(boxes.empty()) << boxes.front().toStdString();
}

TEST_F(MemoryFilesTest, OpenRefusesWhatCannotBeReadAndAsksBeforeDroppingAnUnsavedMemory) {
    playGames(2);
    const int learnt = form.entryCount();
    QFile damaged(path("damaged.zelmo"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("ZELMOMEM and nothing more");
    damaged.close();
    chosen = path("damaged.zelmo");
    form.session.memoryFiles().open();
    ASSERT_EQ(boxes.size(), 1U);
    EXPECT_TRUE(boxes[0].contains(QStringLiteral("прежней памятью"))) << boxes[0].toStdString();
    EXPECT_EQ(form.memoryStore(), nullptr);
    EXPECT_EQ(form.entryCount(), learnt);

    // A window without a file would lose what it learnt: asked first, and "no" keeps it.
    ASSERT_TRUE(
        QFile::copy(QStringLiteral(ZELMO_SOURCE_DIR "/tests/fuzz/corpus/memoryfile/one-entry"),
                    path("b.zelmo")));
    chosen = path("b.zelmo");
    answer = false;
    form.session.memoryFiles().open();
    ASSERT_EQ(questions.size(), 1U);
    EXPECT_EQ(form.memoryStore(), nullptr);
    EXPECT_EQ(form.entryCount(), learnt);
    answer = true;
    form.session.memoryFiles().open();
    EXPECT_EQ(questions.size(), 2U);
    EXPECT_EQ(form.entryCount(), 1);
}

TEST_F(MemoryFilesTest, SaveCopyWritesTheMemoryAndLeavesAHeldFileAlone) {
    form.useMemoryFile(path("a.zelmo"));
    playGames(3);
    chosen = path("copy.zelmo");
    form.session.memoryFiles().saveCopy();
    EXPECT_EQ(positionsIn(path("copy.zelmo")), form.entryCount());
    EXPECT_EQ(form.memoryStore()->path(), path("a.zelmo"));
    EXPECT_FALSE(QFile::exists(path("copy.zelmo.lock")));

    const zelmo::engine::MemoryLock trainer =
        zelmo::engine::MemoryLock::acquire(native(path("held.zelmo")), "zelmo-train");
    chosen = path("held.zelmo");
    form.session.memoryFiles().saveCopy();
    ASSERT_EQ(boxes.size(), 1U);
    EXPECT_TRUE(boxes[0].contains(QStringLiteral("занят"))) << boxes[0].toStdString();
    EXPECT_FALSE(QFile::exists(path("held.zelmo")));
}

TEST_F(MemoryFilesTest, RestoreBringsBackTheMemoryBeforeTheWipeAndKeepsTheOneItReplaces) {
    form.useMemoryFile(path("a.zelmo"));
    form.session.memoryFiles().restore();
    ASSERT_EQ(boxes.size(), 1U);
    EXPECT_TRUE(boxes[0].contains(QStringLiteral("a.zelmo.bak"))) << boxes[0].toStdString();

    playGames(4);
    const int beforeWipe = form.entryCount();
    form.Button1->click();
    ASSERT_EQ(positionsIn(path("a.zelmo.bak")), beforeWipe);
    playGames(1);
    const int afterWipe = form.entryCount();
    ASSERT_NE(afterWipe, beforeWipe);

    answer = false;
    form.session.memoryFiles().restore();
    ASSERT_EQ(questions.size(), 1U);
    EXPECT_EQ(form.entryCount(), afterWipe);

    answer = true;
    form.session.memoryFiles().restore();
    form.finishSaving();
    EXPECT_EQ(form.entryCount(), beforeWipe);
    EXPECT_EQ(positionsIn(path("a.zelmo")), beforeWipe);
    EXPECT_EQ(positionsIn(path("a.zelmo.bak")), afterWipe);
    EXPECT_EQ(boxes.size(), 1U);
}

TEST_F(MemoryFilesTest, EndingSignalClosesTheWindowAsQuitDoes) {
    form.show();
    const zelmo::ui::TerminationSignals endRequests([this] { zelmo::ui::closeForShutdown(form); });
    QSignalSpy closing(&form, &zelmo::ui::TForm1::closing);
    ASSERT_EQ(::raise(SIGTERM), 0);
    ASSERT_TRUE(closing.wait(5000));
    EXPECT_FALSE(form.isVisible());
}

}  // namespace
