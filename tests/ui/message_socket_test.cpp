// Other programs' messages through the local socket.
#include "ui_test_support.h"

#include "platform/message_socket.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <pwd.h>
#include <unistd.h>
#include <vector>

class MessageSocketTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        socketName = QStringLiteral("kestrova-test-%1.sock").arg(QCoreApplication::applicationPid());
        ASSERT_TRUE(server.Listen(socketName));
    }

    bool WaitForMessages(size_t count)
    {
        return RunEventsUntil([&] { return window.messages.size() >= count; }, 2000);
    }

    QString socketName;
    CMessageServer server;
    TestWindow window;
};

TEST_F(MessageSocketTest, RegisteredNameArrivesAsItsNumber)
{
    const UINT instance = RegisterWindowMessage(QStringLiteral("socket test instance"));
    ASSERT_TRUE(PostRegisteredMessageTo(socketName, QStringLiteral("socket test instance"), 0, 1));
    ASSERT_TRUE(WaitForMessages(1));
    EXPECT_EQ(window.messages[0].message, instance);
    EXPECT_EQ(window.messages[0].lParam, 1);
}

TEST_F(MessageSocketTest, UnknownNamesAreDroppedAndBytesArriveAsCopyData)
{
    ASSERT_TRUE(PostRegisteredMessageTo(socketName, QStringLiteral("nobody registered this"), 3090, 0));
    ASSERT_TRUE(PostRegisteredMessageTo(socketName, QString(), 1, 0, QByteArray("levels")));
    ASSERT_TRUE(WaitForMessages(1));
    RunEventsUntil([] { return false; }, 20);
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].message, WM_COPYDATA);
    EXPECT_EQ(window.messages[0].bytes, QByteArray("levels"));
}

TEST_F(MessageSocketTest, GarbageDropsTheConnectionOnly)
{
    QLocalSocket rogue;
    rogue.connectToServer(MessageSocketPath(socketName));
    ASSERT_TRUE(rogue.waitForConnected(1000));
    // A name that claims to be 2 GB long, and keeps coming.
    rogue.write(QByteArray("\x7f\xff\xff\xf0", 4) + QByteArray(2 << 20, 'a'));
    rogue.flush();
    RunEventsUntil([&] { return rogue.state() == QLocalSocket::UnconnectedState; }, 2000);

    RegisterWindowMessage(QStringLiteral("after garbage"));
    ASSERT_TRUE(PostRegisteredMessageTo(socketName, QStringLiteral("after garbage"), 0, 0));
    EXPECT_TRUE(WaitForMessages(1));
}

TEST_F(MessageSocketTest, UnfinishedFrameDropsItsConnectionAfterAWhile)
{
    QLocalSocket slow;
    slow.connectToServer(MessageSocketPath(socketName));
    ASSERT_TRUE(slow.waitForConnected(1000));
    slow.write(QByteArray("\x00\x00\x00\x10", 4));  // a name of 8 characters that never comes
    slow.flush();
    EXPECT_TRUE(RunEventsUntil([&] { return slow.state() == QLocalSocket::UnconnectedState; }, 10000));
}

TEST_F(MessageSocketTest, ConnectionsBeyondTheBoundAreRefusedUntilOthersLeave)
{
    constexpr int kBound = 16;
    std::vector<std::unique_ptr<QLocalSocket>> held;
    for (int i = 0; i <= kBound; ++i) {
        held.push_back(std::make_unique<QLocalSocket>());
        held.back()->connectToServer(MessageSocketPath(socketName));
        ASSERT_TRUE(held.back()->waitForConnected(1000));
    }
    EXPECT_TRUE(RunEventsUntil([&] { return held.back()->state() == QLocalSocket::UnconnectedState; }, 2000));
    for (int i = 0; i < kBound; ++i)
        EXPECT_EQ(held[i]->state(), QLocalSocket::ConnectedState) << i;
    held.clear();
    RegisterWindowMessage(QStringLiteral("after the crowd"));
    // The server sees the others leave a moment later.
    EXPECT_TRUE(RunEventsUntil([&] {
        return PostRegisteredMessageTo(socketName, QStringLiteral("after the crowd"), 0, 0) && WaitForMessages(1);
    }));
}

TEST_F(MessageSocketTest, SecondListenerIsRefusedWhileTheFirstLives)
{
    CMessageServer second;
    EXPECT_FALSE(second.Listen(socketName));
}

TEST(MessageSocketStaleTest, LeftoverFileIsReplacedAndNoServerMeansFalse)
{
    const QString name = QStringLiteral("kestrova-stale-%1.sock").arg(QCoreApplication::applicationPid());
    EXPECT_FALSE(PostRegisteredMessageTo(name, QStringLiteral("x"), 0, 0));
    QFile leftover(MessageSocketPath(name));
    ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    leftover.close();
    CMessageServer server;
    EXPECT_TRUE(server.Listen(name));
}

// Without XDG_RUNTIME_DIR the runtime folder lies in the shared temporary
// folder; one that others may write to is refused, and /tmp itself is never
// taken in its place.
TEST(MessageSocketFolderTest, SharedRuntimeFolderOthersCanWriteIsRefused)
{
    QTemporaryDir temp;
    const passwd* user = ::getpwuid(::geteuid());
    ASSERT_NE(user, nullptr);
    const QString runtime = temp.path() + "/runtime-" + QString::fromLocal8Bit(user->pw_name);
    ASSERT_TRUE(QDir().mkpath(runtime));
    ASSERT_TRUE(QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                    QFileDevice::ExeOwner | QFileDevice::WriteOther |
                                                    QFileDevice::ReadOther | QFileDevice::ExeOther));
    const QByteArray oldRuntime = qgetenv("XDG_RUNTIME_DIR");
    const QByteArray oldTemp = qgetenv("TMPDIR");
    qunsetenv("XDG_RUNTIME_DIR");
    qputenv("TMPDIR", temp.path().toUtf8());
    const QString name = QStringLiteral("kestrova-refused-%1.sock").arg(QCoreApplication::applicationPid());
    CMessageServer server;
    EXPECT_EQ(MessageSocketPath(name), QString());
    EXPECT_FALSE(server.Listen(name));
    EXPECT_FALSE(PostRegisteredMessageTo(name, QStringLiteral("x"), 0, 0));
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::System | QDir::Files), QStringList());
    for (const auto& [variable, old] : {std::pair{"XDG_RUNTIME_DIR", oldRuntime}, std::pair{"TMPDIR", oldTemp}}) {
        if (old.isEmpty())
            qunsetenv(variable);
        else
            qputenv(variable, old);
    }
}
