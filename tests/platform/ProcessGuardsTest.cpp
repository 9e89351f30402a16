// The guards around the running instance: one instance per note folder,
// requests from other processes, and termination signals.
#include "platform/ControlChannel.h"
#include "platform/InstanceLock.h"
#include "platform/SignalBridge.h"
#include "support/TempHome.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>

using namespace platform;

TEST(InstanceLock, SecondHolderIsRefusedUntilTheFirstLetsGo)
{
    const QString folder = testsupport::tempHome() + QStringLiteral("/notes-a");
    InstanceLock first(folder);
    ASSERT_TRUE(first.tryLock(0));
    InstanceLock second(folder);
    EXPECT_FALSE(second.tryLock(100));
    first.unlock();
    EXPECT_TRUE(second.tryLock(0));
}

TEST(InstanceLock, OtherFoldersAreIndependent)
{
    InstanceLock a(testsupport::tempHome() + QStringLiteral("/notes-b"));
    InstanceLock b(testsupport::tempHome() + QStringLiteral("/notes-c"));
    EXPECT_TRUE(a.tryLock(0));
    EXPECT_TRUE(b.tryLock(0));
}

TEST(ControlRequest, OnlyWellFormedLinesAreAccepted)
{
    EXPECT_EQ(parseControlRequest(formatControlRequest(QStringLiteral("show-all"))),
              QStringLiteral("show-all"));
    EXPECT_FALSE(parseControlRequest("jotlet/1 exit")); // no line end
    EXPECT_FALSE(parseControlRequest("jotlet/2 exit\n")); // other version
    EXPECT_FALSE(parseControlRequest("jotlet/1 \n")); // no command
    EXPECT_FALSE(parseControlRequest("jotlet/1 rm -rf /\n")); // not one word
    EXPECT_FALSE(parseControlRequest("jotlet/1 EXIT\n")); // commands are lower case
    EXPECT_FALSE(parseControlRequest("jotlet/1 " + QByteArray(200, 'a') + "\n"));
}

namespace {

// Runs a client in a thread while the server's event loop turns here.
bool requestFromThread(const QString &path, const QString &command, QString *error)
{
    bool ok = false;
    QThread *client = QThread::create([&] { ok = sendControlRequest(path, command, error); });
    client->start();
    while (!client->isFinished())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    client->wait();
    delete client;
    return ok;
}

} // namespace

TEST(ControlServer, KnownCommandsArriveAndUnknownOnesAreRefused)
{
    const QString path = controlSocketPath(testsupport::tempHome() + QStringLiteral("/notes-d"));
    ControlServer server({QStringLiteral("exit"), QStringLiteral("new")});
    QString error;
    ASSERT_TRUE(server.listen(path, &error)) << error.toStdString();
    QSignalSpy received(&server, &ControlServer::requestReceived);

    EXPECT_TRUE(requestFromThread(path, QStringLiteral("new"), &error)) << error.toStdString();
    ASSERT_TRUE(!received.isEmpty() || received.wait(2000));
    EXPECT_EQ(received.takeFirst().at(0).toString(), QStringLiteral("new"));

    EXPECT_FALSE(requestFromThread(path, QStringLiteral("format-disk"), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("unknown command")));
    QCoreApplication::processEvents();
    EXPECT_EQ(received.count(), 0);
}

TEST(ControlServer, NoRunningInstanceIsAClearError)
{
    QString error;
    EXPECT_FALSE(sendControlRequest(testsupport::tempHome() + QStringLiteral("/no-such-socket"),
                                    QStringLiteral("exit"), &error, 500));
    EXPECT_EQ(error, QStringLiteral("Jotlet Light is not running"));
}

TEST(SignalBridge, TerminationSignalsArriveOnTheEventLoop)
{
    SignalBridge bridge;
    QSignalSpy spy(&bridge, &SignalBridge::terminationRequested);
    ::raise(SIGTERM);
    ASSERT_TRUE(spy.wait(2000));
    EXPECT_EQ(spy.takeFirst().at(0).toInt(), SIGTERM);
    ::raise(SIGHUP);
    ASSERT_TRUE(spy.wait(2000));
    EXPECT_EQ(spy.takeFirst().at(0).toInt(), SIGHUP);
}
