// SPDX-License-Identifier: GPL-3.0-or-later
// One window per memory file, the socket side: what the holder answers and to whom, and whom a
// second start asks. The whole path between two real windows is tests/window/second_start.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "ui/desktop/localsocket.h"
#include "ui/desktop/singleinstance.h"

namespace {

namespace localsocket = zelmo::ui::localsocket;
using zelmo::ui::Forwarded;
using zelmo::ui::InstanceServer;

// Sends `request` to the server and returns all it says until it closes the connection;
// "(open)" when it has neither answered nor closed within three seconds.
std::string ask(const QString& path, const std::string& request) {
    const localsocket::Descriptor socket = localsocket::connectTo(path, 1000);
    if (!socket.valid() || !localsocket::sendAll(socket.fd, request)) {
        return "(no connection)";
    }
    std::string answer;
    const bool closed = QTest::qWaitFor(
        [&] {
            char bytes[64];
            const ssize_t n = ::recv(socket.fd, bytes, sizeof bytes, MSG_DONTWAIT);
            if (n > 0) {
                answer.append(bytes, static_cast<std::size_t>(n));
            }
            return n == 0 || (n < 0 && errno != EAGAIN);
        },
        3000);
    return closed ? answer : "(open)";
}

class SingleInstanceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(runtime.isValid());
        saved = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    }
    void TearDown() override { qputenv("XDG_RUNTIME_DIR", saved); }

    QTemporaryDir runtime;
    QByteArray saved;
};

TEST_F(SingleInstanceTest, TheHolderAnswersItsUsersRequestAndDropsAnythingElse) {
    const QString path = zelmo::ui::instanceSocketOf(::getpid());
    {
        InstanceServer server;
        ASSERT_TRUE(server.listen());
        EXPECT_TRUE(server.listen()) << "a second call changes nothing";
        struct stat info {};
        ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
        EXPECT_TRUE(S_ISSOCK(info.st_mode));
        EXPECT_EQ(info.st_mode & 077, 0U) << "only the user may connect";

        QSignalSpy raised(&server, &InstanceServer::raiseRequested);
        // A connection that says nothing holds up nobody.
        const localsocket::Descriptor silent = localsocket::connectTo(path, 1000);
        ASSERT_TRUE(silent.valid());
        const struct {
            std::string request;
            std::string answer;
            int raises;
            QString token;
        } rows[] = {
            {"raise\n", "ok\n", 1, ""},
            {"raise token-1.2\n", "ok\n", 1, "token-1.2"},
            {std::string("raise to\x01ken\n"), "ok\n", 1, ""},  // not a token: none passed on
            {"lower\n", "", 0, ""},
            {"raisee\n", "", 0, ""},
            {std::string(5000, 'r'), "", 0, ""},  // no line within the longest request
        };
        for (const auto& row : rows) {
            raised.clear();
            EXPECT_EQ(ask(path, row.request), row.answer) << row.request.substr(0, 20);
            ASSERT_EQ(raised.size(), row.raises) << row.request.substr(0, 20);
            if (row.raises == 1) {
                EXPECT_EQ(raised.at(0).at(0).toString(), row.token);
            }
        }
    }
    EXPECT_FALSE(QFile::exists(path)) << "the socket goes with the window";
}

// A flood of idle connections is served a few at a time and the rest closed at once, so that it
// never fills the window's descriptor table (a save then failed with EMFILE); a request after
// the flood is answered again.
TEST_F(SingleInstanceTest, AFloodOfConnectionsTakesOnlyAFewDescriptors) {
    const QString path = zelmo::ui::instanceSocketOf(::getpid());
    InstanceServer server;
    ASSERT_TRUE(server.listen());
    std::vector<localsocket::Descriptor> flood;
    for (int i = 0; i < 200; ++i) {
        flood.push_back(localsocket::connectTo(path, 1000));
        ASSERT_TRUE(flood.back().valid());
        QCoreApplication::processEvents();
    }
    QTest::qWait(50);
    EXPECT_LE(server.connections(), 4);
    int dropped = 0;
    for (const localsocket::Descriptor& client : flood) {
        char byte = 0;
        dropped += ::recv(client.fd, &byte, 1, MSG_DONTWAIT) == 0 ? 1 : 0;
    }
    EXPECT_GE(dropped, 196) << "the connections beyond the few served are closed at once";
    flood.clear();
    QSignalSpy raised(&server, &InstanceServer::raiseRequested);
    QTRY_COMPARE_WITH_TIMEOUT(server.connections(), 0, 5000);
    EXPECT_EQ(ask(path, "raise\n"), "ok\n");
    EXPECT_EQ(raised.size(), 1);
}

// Without a runtime folder the socket has no file that another user could plant: a folder at
// the name the temporary folder once gave no longer keeps the window from answering.
TEST_F(SingleInstanceTest, WithoutARuntimeFolderNothingCanBePlanted) {
    qunsetenv("XDG_RUNTIME_DIR");
    const QString planted =
        QDir(QDir::tempPath())
            .filePath(QStringLiteral("zelmo-window-%1-%2").arg(::getuid()).arg(::getpid()));
    ASSERT_TRUE(QDir().mkpath(planted));
    const QString path = zelmo::ui::instanceSocketOf(::getpid());
    EXPECT_TRUE(path.startsWith(QLatin1Char('@'))) << path.toStdString();
    {
        InstanceServer server;
        ASSERT_TRUE(server.listen());
        QSignalSpy raised(&server, &InstanceServer::raiseRequested);
        EXPECT_EQ(ask(path, "raise\n"), "ok\n");
        EXPECT_EQ(raised.size(), 1);
    }
    EXPECT_TRUE(QDir().rmdir(planted));
}

TEST_F(SingleInstanceTest, OnlyTheProcessThatHoldsTheFileIsAsked) {
    const QString memory = runtime.filePath(QStringLiteral("memory.zelmo"));
    const int lock =
        ::open(QFile::encodeName(memory + ".lock").constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_GE(lock, 0);
    ASSERT_EQ(::flock(lock, LOCK_EX | LOCK_NB), 0);
    const auto holdAs = [lock](const std::string& holder) {
        return ::ftruncate(lock, 0) == 0 && ::pwrite(lock, holder.data(), holder.size(), 0) ==
                                                static_cast<ssize_t>(holder.size());
    };

    EXPECT_EQ(zelmo::ui::bringHolderForward(memory), Forwarded::NoWindow) << "nobody holds it yet";
    ASSERT_TRUE(holdAs("zelmo " + std::to_string(::getpid())));
    EXPECT_EQ(zelmo::ui::bringHolderForward(memory), Forwarded::ThisWindow);
    ASSERT_TRUE(holdAs("zelmo-train " + std::to_string(::getppid())));
    EXPECT_EQ(zelmo::ui::bringHolderForward(memory), Forwarded::NoWindow) << "not a window";

    // The holder's socket name, taken by another process (this one): it is not asked.
    const pid_t holder = ::getppid();
    ASSERT_TRUE(holdAs("zelmo " + std::to_string(holder)));
    const localsocket::Descriptor other =
        localsocket::listenAt(zelmo::ui::instanceSocketOf(holder));
    ASSERT_TRUE(other.valid());
    EXPECT_EQ(zelmo::ui::bringHolderForward(memory, QStringLiteral("token")), Forwarded::NoWindow);
    const int asked = ::accept(other.fd, nullptr, nullptr);
    ASSERT_GE(asked, 0) << "it connected, then checked who answers";
    char byte = 0;
    EXPECT_EQ(::recv(asked, &byte, 1, 0), 0) << "and said nothing";
    ::close(asked);
    ::close(lock);
}

}  // namespace
