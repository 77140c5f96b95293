// SPDX-License-Identifier: GPL-3.0-or-later
// The window with a memory file: saved after every finished game and every wipe, restored at
// start-up, an unreadable file reported and kept, a failing save reported once; and the
// program's command line.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <utility>
#include <vector>

#include "engine/memoryfile.h"
#include "tests/ui/printers.h"
#include "ui/controls.h"
#include "ui/memorystore.h"
#include "ui/unit1.h"

namespace {

using zelmo::ui::CommandLine;
using zelmo::ui::TForm1;

class MemoryFileWindowTest : public ::testing::Test {
  protected:
    // A new window (as at a start of the program) using the memory file `file`.
    std::unique_ptr<TForm1> start(const QString& file) {
        auto form = std::make_unique<TForm1>();
        form->setClock([this] { return clock; });
        form->setErrorBox([this](QWidget*, const QString& caption, const QString& text) {
            boxes.push_back({caption, text});
        });
        form->useMemoryFile(file);
        return form;
    }

    // One game by clicks: the player takes the first free cell each time.
    void playGame(TForm1& form) {
        clock += 7919;  // another random choice in every game
        form.Button2->click();
        finishGame(form);
    }
    void finishGame(TForm1& form) {
        while (form.acceptingMoves()) {
            int k = 1;
            while (form.cellButton(k)->text() != QStringLiteral(" ")) {
                ++k;
            }
            form.cellButton(k)->click();
        }
    }

    QByteArray bytes(const QString& name) const {
        QFile file(name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    // The file's entry count, or -1 when it cannot be read.
    int storedCount(const QString& name) const {
        auto snapshot = std::make_unique<zelmo::engine::MemorySnapshot>();
        const auto result = zelmo::engine::loadMemoryFile(name.toStdString(), *snapshot);
        return result.status == zelmo::engine::MemoryFileStatus::Ok ? snapshot->entryCount : -1;
    }

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("memory.zelmo"));
    std::uint32_t clock = 1;
    std::vector<std::pair<QString, QString>> boxes;
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
    again->Button1->click();
    EXPECT_EQ(storedCount(path), 0);
    EXPECT_TRUE(boxes.empty());
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

    // The player wipes: that gives the old file up, and saving goes on from here.
    form->Button1->click();
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
    EXPECT_TRUE(boxes.empty()) << "a missing file is an empty memory";
    playGame(*form);
    playGame(*form);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].second.contains(QStringLiteral("Не удалось сохранить")))
        << boxes[0].second.toStdString();
    EXPECT_TRUE(boxes[0].second.contains(inSub)) << boxes[0].second.toStdString();
    EXPECT_TRUE(form->Button2->isEnabled()) << "the game goes on";

    ASSERT_TRUE(QDir().mkdir(sub));
    playGame(*form);
    EXPECT_EQ(storedCount(inSub), form->entryCount());
    EXPECT_EQ(boxes.size(), 1u);

    ASSERT_TRUE(QDir(sub).removeRecursively());
    playGame(*form);
    EXPECT_EQ(boxes.size(), 2u) << "a new failure after a success is reported again";
}

TEST(CommandLineTest, OptionsHelpAndRefusals) {
    using Action = CommandLine::Action;
    struct Row {
        QStringList arguments;
        Action action;
        QString memoryPath;
        QString inText;
    };
    const Row rows[] = {
        {{}, Action::Run, {}, {}},
        {{"--memory", "a b.zelmo"}, Action::Run, "a b.zelmo", {}},
        {{"--memory=/tmp/m"}, Action::Run, "/tmp/m", {}},
        {{"--memory", "-odd-name"}, Action::Run, "-odd-name", {}},
        {{"--help"}, Action::Help, {}, "--memory ФАЙЛ"},
        {{"-h", "--bogus"}, Action::Help, {}, "--memory ФАЙЛ"},
        {{"--bogus"}, Action::Error, {}, "неизвестный параметр «--bogus»"},
        {{"file.zelmo"}, Action::Error, {}, "«file.zelmo»"},
        {{"--memory"}, Action::Error, {}, "нужно имя файла"},
        {{"--memory="}, Action::Error, {}, "нужно имя файла"},
        {{"--memory", "a", "--memory", "b"}, Action::Error, {}, "дважды"},
    };
    for (const Row& row : rows) {
        const CommandLine result = zelmo::ui::parseCommandLine(row.arguments);
        const std::string what = row.arguments.join(' ').toStdString();
        EXPECT_EQ(result.action, row.action) << what;
        EXPECT_EQ(result.memoryPath, row.memoryPath) << what;
        EXPECT_TRUE(result.text.contains(row.inText)) << what << ": " << result.text.toStdString();
    }
}

}  // namespace
