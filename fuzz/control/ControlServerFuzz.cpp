// Any bytes sent to the running instance's control server over a real local
// socket: the server never crashes, answers a complete line (or more than a
// request can hold) with exactly one line, "ok" only for a known command
// with the argument it needs, hands each accepted command on once with that
// argument, and lets go of every connection, including those of clients
// that leave without finishing a line.
#include "platform/ControlChannel.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>

namespace {

struct Harness
{
    QString socketPath;
    std::unique_ptr<platform::ControlServer> server;
    QList<platform::ControlRequest> received;
    platform::ControlRequest expected;
};

Harness &harness()
{
    static Harness h;
    return h;
}

// Runs the event loop until done() or a generous limit; false at the limit.
bool pumpUntil(const std::function<bool()> &done)
{
    QElapsedTimer waited;
    waited.start();
    while (!done()) {
        if (waited.elapsed() > 5000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return true;
}

// The server gives every connection a five-second deadline, a timer that
// outlives the connection it guarded and then does nothing. Dropping those
// that are left keeps allocations balanced per input, so libFuzzer does not
// take them for leaks and scan the heap after every input.
void dropSpentDeadlines()
{
    const QObjectList timers = QAbstractEventDispatcher::instance()->children();
    for (QObject *timer : timers) {
        if (qstrcmp(timer->metaObject()->className(), "QSingleShotTimer") == 0)
            delete timer;
    }
}

bool serverHoldsConnections()
{
    return !harness().server->findChildren<QLocalSocket *>().isEmpty();
}

// The answer the server owes to these bytes; an empty one when it must
// wait for the rest of the line.
QByteArray expectedAnswer(const QByteArray &input)
{
    const qsizetype end = input.indexOf('\n');
    if (end < 0 && input.size() <= platform::kMaxControlMessage)
        return {};
    const qsizetype lineLength = end < 0 ? input.size() : end + 1;
    const QByteArray line
        = input.left(qMin(lineLength, qsizetype(platform::kMaxControlMessage + 1)));
    const std::optional<platform::ControlRequest> request = platform::parseControlRequest(line);
    if (!request)
        return "error malformed request\n";
    const QString refusal = platform::controlRequestRefusal(request->command, request->argument);
    if (!refusal.isEmpty())
        return "error " + refusal.toLatin1() + '\n';
    harness().expected = *request;
    return "ok\n";
}

void removeSocket()
{
    harness().server.reset();
    QFile::remove(harness().socketPath);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    Harness &h = harness();
    h.socketPath = QDir::tempPath() + QStringLiteral("/jl-fuzz-control-")
        + QString::number(QCoreApplication::applicationPid());
    h.server = std::make_unique<platform::ControlServer>(
        [](platform::ControlCommand command, const QString &argument) {
            harness().received << platform::ControlRequest(platform::controlCommandWord(command),
                                                           argument);
            return QString();
        });
    if (!h.server->listen(h.socketPath, nullptr))
        abort();
    std::atexit(removeSocket);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    Harness &h = harness();
    h.received.clear();
    const QByteArray expected = expectedAnswer(input);

    QLocalSocket client;
    client.connectToServer(h.socketPath);
    if (!client.waitForConnected(5000))
        abort();
    client.write(input);
    client.flush();

    QByteArray answer;
    if (!expected.isEmpty()) {
        // The server answers and hangs up.
        if (!pumpUntil([&] {
                answer += client.readAll();
                return client.state() == QLocalSocket::UnconnectedState;
            }))
            abort();
        answer += client.readAll();
        if (answer != expected)
            abort();
    } else {
        // Half a line: once the server has taken the connection it waits for
        // the rest; the client leaves instead.
        if (!pumpUntil([&] { return !client.bytesToWrite() && serverHoldsConnections(); }))
            abort();
        client.abort();
    }
    // No connection may be left behind, and an accepted command arrives once.
    if (!pumpUntil([&] {
            return !serverHoldsConnections() && h.received.size() == (expected == "ok\n" ? 1 : 0);
        }))
        abort();
    if (!h.received.isEmpty() && h.received.first() != h.expected)
        abort();
    dropSpentDeadlines();
    return 0;
}
