// The guards around the running instance: one instance per note folder,
// requests from other processes, and termination signals.
#include "platform/ControlChannel.h"
#include "platform/InstanceLock.h"
#include "platform/SignalBridge.h"
#include "support/TempHome.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

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
              ControlRequest(QStringLiteral("show-all")));
    const ControlRequest show(QStringLiteral("show"), QStringLiteral("123.jtl"));
    EXPECT_EQ(formatControlRequest(show), "jotlet/1 show 123.jtl\n");
    EXPECT_EQ(parseControlRequest("jotlet/1 show 123.jtl\n"), show);
    EXPECT_FALSE(parseControlRequest("jotlet/1 exit")); // no line end
    EXPECT_FALSE(parseControlRequest("jotlet/2 exit\n")); // other version
    EXPECT_FALSE(parseControlRequest("jotlet/1 \n")); // no command
    EXPECT_FALSE(parseControlRequest("jotlet/1 rm -rf /\n")); // not two words
    EXPECT_FALSE(parseControlRequest("jotlet/1 show ../1.jtl\n")); // a path
    EXPECT_FALSE(parseControlRequest("jotlet/1 show \n")); // an empty argument
    EXPECT_FALSE(parseControlRequest("jotlet/1 EXIT\n")); // commands are lower case
    EXPECT_FALSE(parseControlRequest("jotlet/1 " + QByteArray(200, 'a') + "\n"));
    EXPECT_FALSE(parseControlRequest("jotlet/1 show " + QByteArray(101, '1') + ".jtl\n"));
}

// Only the names of note files reach the program, never a path or a body file.
TEST(ControlRequest, ShowTakesANoteFileNameAndOtherCommandsNoArgument)
{
    const QString show = QStringLiteral("show");
    for (const char *name : {"123.jtl", "about.jtl", "7.sync-conflict-20240102-030405-ABCDEFG.jtl"})
        EXPECT_EQ(controlRequestRefusal(show, QLatin1String(name)), QString()) << name;
    for (const char *name : {"", "123.jtl2", "123.jtl2.jtl", ".jtl", "123.JTL", "123", "a/1.jtl",
                             "..", "1 2.jtl", "n\xc3\xa4me.jtl"})
        EXPECT_NE(controlRequestRefusal(show, QString::fromUtf8(name)), QString()) << name;
    EXPECT_FALSE(isNoteFileName(QString(97, QLatin1Char('1')) + QStringLiteral(".jtl")));
    EXPECT_EQ(controlRequestRefusal(QStringLiteral("exit"), QStringLiteral("1.jtl")),
              QStringLiteral("exit takes no argument"));
    EXPECT_EQ(controlRequestRefusal(QStringLiteral("format-disk"), {}),
              QStringLiteral("unknown command format-disk"));
}

namespace {

// Runs a client in a thread while the server's event loop turns here.
bool requestFromThread(const QString &path, const ControlRequest &request, QString *error)
{
    bool ok = false;
    QThread *client = QThread::create([&] { ok = sendControlRequest(path, request, error); });
    client->start();
    while (!client->isFinished())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    client->wait();
    delete client;
    return ok;
}

} // namespace

// The answer comes once the command was carried out, and says whether it
// was: a command one list knew and another did not once answered "ok" and
// did nothing.
TEST(ControlServer, KnownCommandsAreCarriedOutThenAnsweredUnknownOnesRefused)
{
    const QString path = controlSocketPath(testsupport::tempHome() + QStringLiteral("/notes-d"));
    QStringList received;
    ControlServer server([&](ControlCommand command, const QString &argument) {
        received << (controlCommandWord(command) + QLatin1Char(' ') + argument).trimmed();
        return command == ControlCommand::Exit ? QStringLiteral("not now") : QString();
    });
    QString error;
    ASSERT_TRUE(server.listen(path, &error)) << error.toStdString();

    EXPECT_TRUE(requestFromThread(path, QStringLiteral("new"), &error)) << error.toStdString();
    EXPECT_EQ(received, QStringList {QStringLiteral("new")}) << "answered before it was done";
    EXPECT_FALSE(requestFromThread(path, QStringLiteral("exit"), &error));
    EXPECT_EQ(error, QStringLiteral("not now"));
    EXPECT_TRUE(
        requestFromThread(path, {QStringLiteral("show"), QStringLiteral("12.jtl")}, &error));
    EXPECT_EQ(received.last(), QStringLiteral("show 12.jtl"));

    received.clear();
    EXPECT_FALSE(requestFromThread(path, QStringLiteral("format-disk"), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("unknown command")));
    EXPECT_FALSE(requestFromThread(path, QStringLiteral("show"), &error));
    EXPECT_EQ(error, QStringLiteral("show needs the name of a note file"));
    QCoreApplication::processEvents();
    EXPECT_TRUE(received.isEmpty());
}

namespace {

// Lowers this process's descriptor limit for the life of the object.
class DescriptorLimit
{
public:
    explicit DescriptorLimit(rlim_t limit)
    {
        ::getrlimit(RLIMIT_NOFILE, &m_saved);
        rlimit lower = m_saved;
        lower.rlim_cur = limit;
        m_set = ::setrlimit(RLIMIT_NOFILE, &lower) == 0;
    }
    ~DescriptorLimit() { ::setrlimit(RLIMIT_NOFILE, &m_saved); }
    bool isSet() const { return m_set; }

private:
    rlimit m_saved = {};
    bool m_set = false;
};

int openDescriptors()
{
    return int(
        QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::AllEntries | QDir::System).size());
}

// Another process that opens `count` connections to the socket and keeps
// them open, sending nothing, until it is killed. Its own descriptor limit
// is as high as it may go.
class IdleClients
{
public:
    IdleClients(const QString &socketPath, int count)
    {
        sockaddr_un address = {};
        address.sun_family = AF_UNIX;
        const QByteArray name = QFile::encodeName(socketPath);
        std::memcpy(address.sun_path, name.constData(),
                    std::min(size_t(name.size()), sizeof address.sun_path - 1));
        if (::pipe(m_report) != 0)
            return;
        m_pid = ::fork();
        if (m_pid == 0)
            connectAndWait(address, count, m_report[1]);
    }
    ~IdleClients()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
        ::close(m_report[0]);
        ::close(m_report[1]);
    }

    // Turns this thread's event loop (the server's) until the other process
    // is done; how many connections it made.
    int made() const
    {
        int count = -1;
        pollfd report = {m_report[0], POLLIN, 0};
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 30000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            if (::poll(&report, 1, 0) == 1) {
                if (::read(m_report[0], &count, sizeof count) != sizeof count)
                    count = -1;
                break;
            }
        }
        return count;
    }

private:
    // In the forked child: system calls only.
    [[noreturn]] static void connectAndWait(const sockaddr_un &address, int count, int report)
    {
        rlimit limit = {};
        ::getrlimit(RLIMIT_NOFILE, &limit);
        limit.rlim_cur = limit.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &limit);
        timespec start = {};
        timespec now = {};
        ::clock_gettime(CLOCK_MONOTONIC, &start);
        int made = 0;
        while (made < count) {
            ::clock_gettime(CLOCK_MONOTONIC, &now);
            if (now.tv_sec - start.tv_sec > 20)
                break;
            const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
            if (fd < 0)
                break;
            if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0) {
                ++made;
                continue;
            }
            const int reason = errno;
            ::close(fd);
            if (reason != EAGAIN)
                break; // the socket is gone
            const timespec pause = {0, 1000000};
            ::nanosleep(&pause, nullptr);
        }
        ::write(report, &made, sizeof made);
        for (;;)
            ::pause();
    }

    pid_t m_pid = -1;
    int m_report[2] = {-1, -1};
};

// Asks until the server answers, for a while: it may be making its socket
// again.
bool answersWithin(const QString &path, int milliseconds)
{
    QElapsedTimer waited;
    waited.start();
    QString error;
    while (!requestFromThread(path, QStringLiteral("new"), &error)) {
        if (waited.elapsed() > milliseconds)
            return false;
        QTest::qWait(100);
    }
    return true;
}

} // namespace

// A thousand connections that send nothing, and a process out of
// descriptors when a client connects: the socket is there again afterwards
// and answers, so jotletctl and a second start still reach the program.
TEST(ControlServer, KeepsAnsweringThroughIdleConnectionsAndAFullDescriptorTable)
{
    const QString path = controlSocketPath(testsupport::tempHome() + QStringLiteral("/notes-e"));
    ControlServer server([](ControlCommand, const QString &) { return QString(); });
    QString error;
    ASSERT_TRUE(server.listen(path, &error)) << error.toStdString();
    {
        // Room for far fewer than the thousand.
        DescriptorLimit limit(rlim_t(openDescriptors() + 200));
        ASSERT_TRUE(limit.isSet());
        IdleClients idle(path, 1000);
        EXPECT_EQ(idle.made(), 1000);
        EXPECT_TRUE(answersWithin(path, 0));

        // Every descriptor taken (the last two by the client's report pipe):
        // the next connection cannot be accepted, and Qt gives up the socket.
        std::vector<int> taken;
        for (int fd = ::dup(2); fd >= 0; fd = ::dup(2))
            taken.push_back(fd);
        for (int i = 0; i < 2 && !taken.empty(); ++i) {
            ::close(taken.back());
            taken.pop_back();
        }
        {
            IdleClients one(path, 1);
            EXPECT_EQ(one.made(), 1);
            QTest::qWait(200);
            EXPECT_FALSE(QFile::exists(path)) << "the accept did not fail";
        }
        for (int fd : taken)
            ::close(fd);
        EXPECT_TRUE(answersWithin(path, 8000));
    }
    EXPECT_TRUE(answersWithin(path, 0));
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
