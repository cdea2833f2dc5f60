// One instance per user, and the close request to the running one.

#include "app/SingleInstance.h"
#include "support/TestSandbox.h"

#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace pavlora::test {
namespace {

TEST(SingleInstanceTest, TheRuntimeFolderIsPrivateAndBelowTheUsersRuntimeFolder)
{
    const QString folder = InstanceRuntimeFolder();
    EXPECT_EQ(folder, qEnvironmentVariable("XDG_RUNTIME_DIR") + QStringLiteral("/pavlora"));
    EXPECT_EQ(QFileInfo(folder).permissions() & 0x0077, 0); // nothing for group and others
}

TEST(SingleInstanceTest, WithoutARuntimeFolderTheCacheFolderIsUsed)
{
    qunsetenv("XDG_RUNTIME_DIR");
    const QString folder = InstanceRuntimeFolder();
    EXPECT_EQ(folder, qEnvironmentVariable("XDG_CACHE_HOME") + QStringLiteral("/pavlora/run"));
    EXPECT_TRUE(QFileInfo(folder).isDir());
}

TEST(SingleInstanceTest, ASecondLockFailsUntilTheFirstIsReleased)
{
    auto first = std::make_unique<TSingleInstanceLock>();
    ASSERT_TRUE(first->TryLock());
    EXPECT_TRUE(first->TryLock()); // the holder keeps it

    TSingleInstanceLock second;
    EXPECT_FALSE(second.TryLock());
    EXPECT_FALSE(second.IsLocked());

    first.reset();
    EXPECT_TRUE(second.TryLock());
}

TEST(SingleInstanceTest, AnotherProcessCannotTakeTheLockWhileItIsHeld)
{
    TSingleInstanceLock lock;
    ASSERT_TRUE(lock.TryLock());
    // flock(1) of util-linux: fails at once (-n) with status 1 while the lock is held.
    const QString file = lock.Folder() + QStringLiteral("/pavlora.lock");
    EXPECT_EQ(QProcess::execute(QStringLiteral("flock"), {QStringLiteral("-n"), file, QStringLiteral("true")}), 1);
}

TEST(SingleInstanceTest, TheCloseRequestReachesTheRunningInstance)
{
    TSingleInstanceLock lock;
    ASSERT_TRUE(lock.TryLock());
    TCloseRequestServer server;
    // A socket file left by a crashed instance does not stand in the way.
    WriteFile(lock.Folder() + QStringLiteral("/pavlora.socket"), "stale");
    ASSERT_TRUE(server.Listen(lock.Folder()));
    int requests = 0;
    QObject::connect(&server, &TCloseRequestServer::closeRequested, [&requests] { ++requests; });

    std::atomic<bool> sent{false};
    std::atomic<bool> done{false};
    std::thread sender([&] {
        sent = SendCloseRequest(lock.Folder());
        done = true;
    });
    const bool finished = WaitUntil([&] { return done.load() && requests == 1; });
    sender.join();
    EXPECT_TRUE(finished);
    EXPECT_TRUE(sent);
    EXPECT_EQ(requests, 1);
}

TEST(SingleInstanceTest, OtherTextsOnTheSocketAreNoCloseRequest)
{
    const QString folder = InstanceRuntimeFolder();
    TCloseRequestServer server;
    ASSERT_TRUE(server.Listen(folder));
    int requests = 0;
    QObject::connect(&server, &TCloseRequestServer::closeRequested, [&requests] { ++requests; });

    QLocalSocket socket;
    socket.connectToServer(server.SocketPath());
    ASSERT_TRUE(socket.waitForConnected(5000));
    socket.write("1149\n");
    socket.flush();
    EXPECT_TRUE(WaitUntil([&] { return socket.state() == QLocalSocket::UnconnectedState; }));
    EXPECT_EQ(requests, 0);
}

TEST(SingleInstanceTest, ACloseRequestWithoutARunningInstanceFails)
{
    EXPECT_FALSE(SendCloseRequest(InstanceRuntimeFolder(), 1000));
}

} // namespace
} // namespace pavlora::test
