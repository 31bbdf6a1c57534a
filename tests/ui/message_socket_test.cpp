// Other programs' messages through the local socket.
#include "ui_test_support.h"

#include "platform/message_socket.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocalSocket>
#include <gtest/gtest.h>

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
