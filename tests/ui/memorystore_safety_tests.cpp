// SPDX-License-Identifier: GPL-3.0-or-later
// The window's memory store on its own: a file another program holds, a file changed under
// it, a backup that fails, and every system call of a save failing in turn.
#include <gtest/gtest.h>

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine/store/atomicfile.h"
#include "engine/store/memorybackup.h"
#include "engine/store/memorydocument.h"
#include "engine/store/memoryformat.h"
#include "engine/store/memorylock.h"
#include "engine/store/systemerrors.h"
#include "tests/common/faultysteps.h"
#include "tests/engine/recording_flow.h"
#include "ui/store/memorylocation.h"
#include "ui/store/memorystore.h"

namespace {

// The store alone, on the engine's game flow: what it reads, writes and tells.
class MemoryStoreTest : public ::testing::Test {
  protected:
    std::unique_ptr<zelmo::ui::MemoryStore> open() {
        auto store = std::make_unique<zelmo::ui::MemoryStore>(
            document, QString::fromStdString(path),
            [this](const QString& text) { boxes.push_back(text); });
        store->load(zelmo::ui::FolderPolicy::MustExist);
        return store;
    }
    // One game, the player taking the first free cell each time, then its save, written.
    void playAndSave(zelmo::ui::MemoryStore& store) {
        flow.clockMs += 7919;
        flow.Button2Click();
        for (int cell = 1; flow.acceptingMoves(); cell = cell % 9 + 1) {
            flow.SpeedButtonClick(cell);
        }
        store.gameFinished();
        store.flush();
    }
    std::string memory() const {
        const auto bytes = zelmo::engine::encodeMemory(document.view());
        return std::string(bytes.begin(), bytes.end());
    }
    static std::string contents(const std::string& name) {
        std::ifstream in(name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static void putFile(const std::string& name, const std::string& bytes) {
        std::ofstream(name, std::ios::binary | std::ios::trunc) << bytes;
    }
    std::set<std::string> names() const {
        const QStringList list =
            QDir(dir.path())
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        std::set<std::string> result;
        for (const QString& name : list) {
            result.insert(name.toStdString());
        }
        return result;
    }

    QTemporaryDir dir;
    std::string path =
        QFile::encodeName(dir.filePath(QStringLiteral("memory.zelmo"))).toStdString();
    zelmo::engine::test::RecordingFlow flow;
    zelmo::engine::LearningHistory history;
    zelmo::engine::FlowDocument document{flow, history};
    std::vector<QString> boxes;
};

TEST_F(MemoryStoreTest, AFileAnotherProgramHoldsIsNeitherReadNorWritten) {
    {
        auto first = open();
        playAndSave(*first);
    }
    const std::string before = contents(path);
    const zelmo::engine::MemoryLock trainer =
        zelmo::engine::MemoryLock::acquire(path, zelmo::engine::kTrainerProgram);
    ASSERT_TRUE(trainer.locked());
    flow.Button1Click();
    auto store = open();
    ASSERT_EQ(boxes.size(), 1U);
    EXPECT_TRUE(boxes[0].startsWith(QString::fromStdString(
        "Файл памяти «" + path + "» занят: в него пишет тренировка zelmo-train (процесс " +
        std::to_string(::getpid()) + ").")))
        << boxes[0].toStdString();
    ASSERT_TRUE(store->heldBy().has_value());
    EXPECT_EQ(store->heldBy()->program, "zelmo-train");
    EXPECT_EQ(flow.entryCount(), 0) << "not read";
    playAndSave(*store);
    store->wiped(true);
    store->finish();
    EXPECT_EQ(contents(path), before) << "not written";
    EXPECT_EQ(boxes.size(), 1U);
}

TEST_F(MemoryStoreTest, AFileChangedUnderTheWindowIsKeptAndTheMemoryGoesBesideIt) {
    auto store = open();
    playAndSave(*store);
    ASSERT_EQ(contents(path), memory());
    // A program that takes no lock saves its own memory over the file.
    putFile(path + ".theirs", "theirs");
    ASSERT_EQ(std::rename((path + ".theirs").c_str(), path.c_str()), 0);
    playAndSave(*store);
    const std::string beside =
        dir.filePath(QStringLiteral("memory.conflict-1.zelmo")).toStdString();
    EXPECT_EQ(contents(path), "theirs");
    EXPECT_EQ(contents(beside), memory());
    ASSERT_EQ(boxes.size(), 1U);
    EXPECT_TRUE(boxes[0].contains(QStringLiteral("изменила другая программа")))
        << boxes[0].toStdString();
    EXPECT_TRUE(boxes[0].contains(QString::fromStdString("«" + beside + "»")));
    EXPECT_EQ(store->path().toStdString(), beside);
    // The window holds the new file from then on (another window or a trainer opened it while
    // the window wrote it), and has let the old one go.
    const auto holder = zelmo::engine::lockHolderOf(beside);
    ASSERT_TRUE(holder.has_value()) << "the new file is not held";
    EXPECT_EQ(holder->pid, ::getpid());
    EXPECT_FALSE(zelmo::engine::lockHolderOf(path).has_value()) << "the old file is still held";
    // The saves after it go there, silently.
    playAndSave(*store);
    EXPECT_EQ(contents(beside), memory());
    EXPECT_EQ(contents(path), "theirs");
    EXPECT_EQ(boxes.size(), 1U);
}

TEST_F(MemoryStoreTest, AFailedBackupStopsThatWipeOnly) {
    auto store = open();
    for (int game = 0; game < 3; ++game) {
        playAndSave(*store);
    }
    const std::string before = memory();
    const std::string elsewhere = dir.filePath(QStringLiteral("elsewhere")).toStdString();
    putFile(elsewhere, "someone's");
    ASSERT_EQ(::symlink(elsewhere.c_str(), zelmo::engine::backupPathOf(path).c_str()), 0);
    flow.Button1Click();
    store->wiped(true);
    store->flush();
    ASSERT_EQ(boxes.size(), 1U);
    EXPECT_TRUE(boxes[0].contains(QStringLiteral("Память компьютера не стёрта")))
        << boxes[0].toStdString();
    EXPECT_EQ(contents(elsewhere), "someone's") << "the link's file is untouched";
    EXPECT_EQ(memory(), before) << "the memory comes back";
    EXPECT_EQ(contents(path), before) << "the file stays";
    // Later saves go on.
    playAndSave(*store);
    EXPECT_NE(memory(), before);
    EXPECT_EQ(contents(path), memory());
    EXPECT_EQ(boxes.size(), 1U);
}

// Each system call of the saving thread's save fails in turn with each error: the file holds
// the old or the new memory, one box tells it in Russian, and the next game's save works.
TEST_F(MemoryStoreTest, EveryFailingCallOfASaveIsToldOnceAndTheNextSaveWorks) {
    std::string oldBytes;
    std::vector<std::string> calls;
    {
        auto store = open();
        for (int game = 0; game < 20; ++game) {
            playAndSave(*store);
        }
        oldBytes = contents(path);
        zelmo::faults::FaultySteps recording(0, EIO, false, 512);
        const zelmo::engine::ScopedSaveSteps installed(recording);
        playAndSave(*store);
        calls = recording.calls();
    }
    ASSERT_GE(calls.size(), 10U) << "a save of several writes";
    for (std::size_t k = 1; k <= calls.size(); ++k) {
        for (const int error : zelmo::faults::kFaultErrors) {
            putFile(path, oldBytes);
            boxes.clear();
            flow.Button1Click();
            auto store = open();
            zelmo::faults::FaultySteps faulty(static_cast<int>(k), error, false, 512);
            {
                const zelmo::engine::ScopedSaveSteps installed(faulty);
                playAndSave(*store);
            }
            const zelmo::faults::AfterFault expected = zelmo::faults::afterFault(faulty.failed());
            const std::string what = faulty.failed() + " #" + std::to_string(k) + ", " +
                                     zelmo::engine::systemErrorText(error);
            EXPECT_EQ(contents(path), expected.replaced ? memory() : oldBytes) << what;
            if (expected.message.empty()) {
                EXPECT_TRUE(boxes.empty()) << what;
            } else {
                ASSERT_EQ(boxes.size(), 1U) << what;
                const std::string box = boxes[0].toStdString();
                EXPECT_NE(box.find("«" + path + "»"), std::string::npos) << what << box;
                EXPECT_NE(box.find(expected.message), std::string::npos) << what << box;
                EXPECT_NE(box.find("(" + zelmo::engine::systemErrorText(error) + ")"),
                          std::string::npos)
                    << what << box;
            }
            playAndSave(*store);
            EXPECT_EQ(contents(path), memory()) << what;
            EXPECT_EQ(boxes.size(), expected.message.empty() ? 0U : 1U) << what;
            store.reset();
            EXPECT_EQ(names(), std::set<std::string>{"memory.zelmo"}) << what;
        }
    }
}

}  // namespace
