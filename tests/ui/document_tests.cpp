// SPDX-License-Identifier: GPL-3.0-or-later
// The memory as one document: every way a window reads, writes, backs up or brings back a
// memory carries all of it (positions and their plays, the learning history, the grades in
// force), and a wipe without a file can be undone.
#include <gtest/gtest.h>

#include <QFile>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "engine/game/lesson.h"
#include "engine/game/players.h"
#include "engine/store/memorybackup.h"
#include "engine/store/memoryfile.h"
#include "tests/common/windowgame.h"
#include "tests/ui/sessionform.h"
#include "train/trainflow.h"
#include "ui/history/historykeeper.h"
#include "ui/memoryview/memoryview.h"
#include "ui/spin/spinedit.h"
#include "ui/store/memoryfiles.h"
#include "ui/store/windowdocument.h"
#include "ui/widgets/controls.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using zelmo::engine::Grade;
using zelmo::engine::Grades;
using zelmo::engine::MemoryDocument;
using TForm1 = zelmo::ui::test::SessionForm;

std::string native(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// A document as play makes one, different for each seed: positions with their plays, a history
// of blocks under changing grades, and grades in force that are not those at start.
std::unique_ptr<MemoryDocument> randomDocument(unsigned seed) {
    std::mt19937 random(seed);
    auto document = std::make_unique<MemoryDocument>();
    auto flow = std::make_unique<zelmo::train::TrainFlow>(Grades{});
    flow->setClock([&random] { return static_cast<std::uint32_t>(random() % 86400000); });
    zelmo::engine::RandomPlayer player(seed);
    const int games = 20 + static_cast<int>(random() % 200);
    for (int game = 0; game < games; ++game) {
        if (game % 37 == 0) {
            flow->grades = {2 + static_cast<int>(random() % 4), 2 + static_cast<int>(random() % 4),
                            2 + static_cast<int>(random() % 4)};
        }
        const auto result = flow->playGame(player, [](const std::exception&) {});
        document->history.add(zelmo::engine::historyGame(*result.finished),
                              random() % 2 == 0 ? zelmo::engine::LearningHistory::kByHand
                                                : zelmo::engine::LearningHistory::kWhileRunning);
    }
    document->positions.memory = flow->memory();
    document->positions.entryCount = flow->entryCount();
    document->dropUsedMarks();
    document->grades = Grades{3, 3, 3};
    return document;
}

Bytes bytesOf(const MemoryDocument& document) {
    return zelmo::engine::encodeMemory(document);
}

Bytes fileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray bytes = file.readAll();
    return Bytes(bytes.begin(), bytes.end());
}

// The file's document, with the used marks of the game it was saved in dropped.
Bytes documentIn(const QString& path) {
    auto document = std::make_unique<MemoryDocument>();
    if (zelmo::engine::loadMemoryFile(native(path), *document).status !=
        zelmo::engine::MemoryFileStatus::Ok) {
        return {};
    }
    document->dropUsedMarks();
    return bytesOf(*document);
}

class DocumentTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath(QStringLiteral("data"))));
        window = std::make_unique<TForm1>();
        prepare(*window);
    }
    void TearDown() override { qunsetenv("XDG_DATA_HOME"); }

    void prepare(TForm1& form) {
        form.setErrorBox(
            [this](QWidget*, const QString&, const QString& text) { boxes.push_back(text); });
        form.setWipeQuestion([](QWidget*, const QString&, const QString&) { return true; });
        zelmo::ui::MemoryFiles& files = form.session.memoryFiles();
        const auto dialog = [this](QWidget*, const QString&, const QString&, const QString&) {
            return chosen;
        };
        files.setOpenDialog(dialog);
        files.setSaveDialog(dialog);
        files.setQuestion(
            [](QWidget*, const QString&, const QString&, const QString&) { return true; });
    }
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    // The window's document as it stands, encoded, without the used marks of the last game.
    Bytes windowDocument(const TForm1& form) const {
        const Bytes now = zelmo::engine::encodeMemory(form.session.document().view());
        auto document = std::make_unique<MemoryDocument>();
        zelmo::engine::decodeMemory(now.data(), now.size(), *document);
        document->dropUsedMarks();
        return bytesOf(*document);
    }
    void write(const QString& name, const MemoryDocument& document) {
        ASSERT_EQ(zelmo::engine::saveMemoryFile(native(name), bytesOf(document)), "");
    }

    QTemporaryDir dir;
    std::unique_ptr<TForm1> window;
    std::vector<QString> boxes;
    QString chosen;
};

// Each action takes a file holding a random document and must leave the document whole where
// it puts it: in the window, in another file, in the backup.
TEST_F(DocumentTest, EveryActionCarriesTheWholeDocument) {
    struct Row {
        const char* action;
        // Runs the action on `source` (a file with the document); returns the document where
        // the action put it, encoded.
        std::function<Bytes(const QString& source)> run;
    };
    const Row rows[] = {
        {"start-up with the file",
         [this](const QString& source) {
             window->useMemoryFile(source);
             return windowDocument(*window);
         }},
        {"Ctrl+O",
         [this](const QString& source) {
             window->useMemoryFile(path("other.zelmo"));
             chosen = source;
             window->session.memoryFiles().open();
             return windowDocument(*window);
         }},
        {"the save after opening and closing (nothing changed)",
         [this](const QString& source) {
             window->useMemoryFile(source);
             window.reset();  // the window closes, its store finishes
             window = std::make_unique<TForm1>();
             prepare(*window);
             return fileBytes(source);
         }},
        {"Ctrl+Shift+S",
         [this](const QString& source) {
             window->useMemoryFile(source);
             chosen = path("copy.zelmo");
             window->session.memoryFiles().saveCopy();
             return documentIn(chosen);
         }},
        {"the backup of a wipe, then Ctrl+R",
         [this](const QString& source) {
             window->useMemoryFile(source);
             window->Button1->click();
             EXPECT_EQ(window->entryCount(), 0);
             EXPECT_TRUE(window->session.historyKeeper().history().empty());
             window->session.memoryFiles().restore();
             EXPECT_EQ(window->Bar1->simpleText(), QStringLiteral("вспомнил"));
             window->finishSaving();
             // The wiped document is now the backup: a second restore would bring it back.
             MemoryDocument wiped;
             wiped.grades = Grades{3, 3, 3};
             EXPECT_EQ(
                 documentIn(QFile::decodeName(zelmo::engine::backupPathOf(native(source)).c_str())),
                 bytesOf(wiped));
             return windowDocument(*window);
         }},
        {"a wipe and Ctrl+R without a file",
         [this](const QString& source) {
             chosen = source;
             window->useMemoryFile(source);
             // A window without a file: a new one, given the document by reading it.
             window = std::make_unique<TForm1>();
             prepare(*window);
             auto document = std::make_unique<MemoryDocument>();
             zelmo::engine::loadMemoryFile(native(source), *document);
             window->session.document().replace(*document);
             window->Button1->click();
             EXPECT_EQ(window->entryCount(), 0);
             window->session.memoryFiles().restore();
             EXPECT_EQ(window->Bar1->simpleText(), QStringLiteral("вспомнил"));
             return windowDocument(*window);
         }},
    };
    for (unsigned seed = 1; seed <= 3; ++seed) {
        const std::unique_ptr<MemoryDocument> document = randomDocument(seed);
        ASSERT_GT(document->positions.entryCount, 0);
        ASSERT_GT(document->history.games(), 0u);
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(row.action) + ", seed " + std::to_string(seed));
            const QString source = path("memory.zelmo");
            QFile::remove(source);
            QFile::remove(source + QStringLiteral(".bak"));
            write(source, *document);
            EXPECT_EQ(row.run(source), bytesOf(*document));
            EXPECT_TRUE(boxes.empty()) << boxes.front().toStdString();
            boxes.clear();
            window = std::make_unique<TForm1>();
            prepare(*window);
        }
    }
    // A file from before grades were kept, opened and closed unchanged, stays as it was; the
    // spinners take the grades of its history's last block.
    std::unique_ptr<MemoryDocument> older = randomDocument(4);
    older->grades.reset();
    const QString source = path("older.zelmo");
    write(source, *older);
    window->useMemoryFile(source);
    EXPECT_EQ(window->spinnerGrades(), older->gradesInForce());
    window.reset();
    EXPECT_EQ(fileBytes(source), bytesOf(*older));
}

// Grades set by the player are kept with the memory, even without a game: the next window on
// the file starts with them; a window without a file starts with 5, 2 and 4.
TEST_F(DocumentTest, GradesAreKeptWithTheMemory) {
    EXPECT_EQ(window->spinnerGrades(), (Grades{5, 2, 4}));
    window->useMemoryFile(path("kept.zelmo"));
    window->setGrades({3, 3, 3});
    window->close();
    window.reset();
    window = std::make_unique<TForm1>();
    prepare(*window);
    EXPECT_EQ(window->spinnerGrades(), (Grades{5, 2, 4}));
    window->useMemoryFile(path("kept.zelmo"));
    EXPECT_EQ(window->spinnerGrades(), (Grades{3, 3, 3}));
    // A game's record in the history takes the grades in force at its end.
    zelmo::windowgame::OrderPlayer firstFree;
    window->Button2->click();
    zelmo::windowgame::finishGame(*window, firstFree);
    EXPECT_EQ(window->session.historyKeeper().history().blocks().back().grades,
              (zelmo::engine::HistoryGrades{3, 3, 3}));
    EXPECT_TRUE(boxes.empty());
}

// The keys of a shown window without a file: Space on «промыть мозги» (the focus rests there)
// wipes at once, Ctrl+R brings everything back after the question, a second Ctrl+R the wiped
// memory again; the digits play from the memory view.
TEST_F(DocumentTest, AWipeWithoutAFileIsUndoneByKeys) {
    TForm1& form = *window;
    int asked = 0;
    form.session.memoryFiles().setQuestion(
        [&asked](QWidget*, const QString&, const QString&, const QString&) {
            ++asked;
            return true;
        });
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    zelmo::engine::RandomPlayer player(3);
    for (int game = 0; game < 6; ++game) {
        form.setClock([game] { return static_cast<std::uint32_t>(7919 * (game + 1)); });
        zelmo::windowgame::playGame(form, player);
    }
    const Bytes learnt = windowDocument(form);
    const std::int32_t positions = form.entryCount();
    ASSERT_GT(positions, 0);
    form.Button1->setFocus();
    QTest::keyClick(form.Button1, Qt::Key_Space);
    EXPECT_EQ(form.entryCount(), 0);
    EXPECT_EQ(form.Bar1->simpleText(), QStringLiteral("промыл"));
    const Bytes wiped = windowDocument(form);

    QTest::keyClick(&form, Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(form.entryCount(), positions);
    EXPECT_EQ(form.Bar1->simpleText(), QStringLiteral("вспомнил"));
    EXPECT_EQ(windowDocument(form), learnt);
    EXPECT_EQ(form.session.historyKeeper().history().games(), 6u);
    QTest::keyClick(&form, Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(windowDocument(form), wiped);
    QTest::keyClick(&form, Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(windowDocument(form), learnt);
    EXPECT_TRUE(boxes.empty());

    // Digits reach the board from the memory view, whose list has the focus.
    form.Button2->click();
    QTest::keyClick(&form, Qt::Key_F3);
    auto* view = form.findChild<zelmo::ui::MemoryView*>();
    ASSERT_NE(view, nullptr);
    view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view));
    QTRY_VERIFY(view->list().hasFocus());
    int free = 1;
    while (!form.board().is(free, zelmo::engine::kEmpty)) {
        ++free;
    }
    QTest::keyClick(&view->list(), static_cast<Qt::Key>(Qt::Key_0 + free));
    EXPECT_TRUE(form.board().is(free, zelmo::engine::Cell('X')));
}

}  // namespace
