#include "platform/ControlChannel.h"

#include "platform/Paths.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QStandardPaths>
#include <QTimer>

namespace platform {
namespace {

const QByteArray kPrefix = QByteArrayLiteral("jotlet/1 ");
// A client sends its line at once; one that has not within this is dropped.
constexpr int kConnectionTimeoutMs = 5000;
constexpr char kAnswering[] = "jotletAnswering";
// As often as the alarm timer ticks anyway.
constexpr int kWatchIntervalMs = 5000;

bool isCommandWord(const QByteArray &word)
{
    if (word.isEmpty() || word.size() > 32)
        return false;
    for (char c : word) {
        if (!((c >= 'a' && c <= 'z') || c == '-'))
            return false;
    }
    return true;
}

bool isArgumentWord(const QByteArray &word)
{
    if (word.isEmpty() || word.size() > kMaxControlArgument)
        return false;
    for (char c : word) {
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.'
              || c == '_' || c == '-'))
            return false;
    }
    return true;
}

void drop(QLocalSocket *socket)
{
    socket->abort();
    socket->deleteLater();
}

// "ok", or "error" with the reason; one answer per connection.
void reply(QLocalSocket *socket, const QString &refusal)
{
    socket->write(refusal.isEmpty() ? QByteArray("ok\n")
                                    : "error " + refusal.toUtf8().replace('\n', ' ') + '\n');
    socket->flush();
    socket->disconnectFromServer();
}

} // namespace

QString controlSocketPath(const QString &noteFolder)
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    // By the real path, as the instance lock: one folder, one socket.
    const QByteArray hash
        = QCryptographicHash::hash(realPath(noteFolder).toUtf8(), QCryptographicHash::Sha1)
              .toHex()
              .left(16);
    return dir + QStringLiteral("/jotletlight-") + QString::fromLatin1(hash);
}

QByteArray formatControlRequest(const ControlRequest &request)
{
    QByteArray line = kPrefix + request.command.toLatin1();
    if (!request.argument.isEmpty())
        line += ' ' + request.argument.toLatin1();
    return line + '\n';
}

std::optional<ControlRequest> parseControlRequest(const QByteArray &line)
{
    if (line.size() > kMaxControlMessage || !line.startsWith(kPrefix) || !line.endsWith('\n'))
        return std::nullopt;
    const QByteArray words = line.mid(kPrefix.size(), line.size() - kPrefix.size() - 1);
    // One blank at most: the command, then its argument.
    const qsizetype blank = words.indexOf(' ');
    const QByteArray word = blank < 0 ? words : words.left(blank);
    const QByteArray argument = blank < 0 ? QByteArray() : words.mid(blank + 1);
    if (!isCommandWord(word) || (blank >= 0 && !isArgumentWord(argument)))
        return std::nullopt;
    return ControlRequest(QString::fromLatin1(word), QString::fromLatin1(argument));
}

ControlServer::ControlServer(Handler handler, QObject *parent)
    : QObject(parent)
    , m_handler(std::move(handler))
    , m_server(new QLocalServer(this))
    , m_watch(new QTimer(this))
{
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &ControlServer::acceptConnection);
    // Qt tells nobody when it gives up listening; a look now and then costs
    // next to nothing.
    m_watch->setInterval(kWatchIntervalMs);
    connect(m_watch, &QTimer::timeout, this, &ControlServer::keepListening);
}

bool ControlServer::listen(const QString &socketPath, QString *error)
{
    QLocalServer::removeServer(socketPath);
    if (!m_server->listen(socketPath)) {
        if (error)
            *error = m_server->errorString();
        return false;
    }
    m_socketPath = socketPath;
    m_watch->start();
    return true;
}

void ControlServer::stopListening()
{
    m_watch->stop();
    m_server->close();
}

void ControlServer::keepListening()
{
    if (m_server->isListening())
        return;
    QLocalServer::removeServer(m_socketPath);
    m_server->listen(m_socketPath); // else tried again at the next look
}

void ControlServer::acceptConnection()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        if (m_connections.size() >= kMaxControlConnections)
            drop(m_connections.takeFirst());
        m_connections.append(socket);
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QObject::destroyed, this,
                [this, socket] { m_connections.removeOne(socket); });
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { answer(socket); });
        // A client that never finishes its line is dropped; one whose request
        // is being carried out waits for its answer.
        QTimer::singleShot(kConnectionTimeoutMs, socket, [socket] {
            if (!socket->property(kAnswering).toBool())
                drop(socket);
        });
    }
}

void ControlServer::answer(QLocalSocket *socket)
{
    if (!socket->canReadLine() && socket->bytesAvailable() <= kMaxControlMessage)
        return;
    const QByteArray line = socket->readLine(kMaxControlMessage + 1);
    socket->readAll();
    const std::optional<ControlRequest> request = parseControlRequest(line);
    if (!request) {
        reply(socket, QStringLiteral("malformed request"));
        return;
    }
    if (const QString refusal = controlRequestRefusal(request->command, request->argument);
        !refusal.isEmpty()) {
        reply(socket, refusal);
        return;
    }
    // On the event loop, so the handler may end this server (an exit does);
    // the answer says whether it was done.
    socket->setProperty(kAnswering, true);
    QTimer::singleShot(0, this,
                       [handler = m_handler, command = *controlCommandNamed(request->command),
                        argument = request->argument, s = QPointer(socket)] {
                           const QString refusal = handler(command, argument);
                           if (s)
                               reply(s, refusal);
                       });
}

bool sendControlRequest(const QString &socketPath, const ControlRequest &request, QString *error,
                        int timeoutMs, bool *answered)
{
    if (answered)
        *answered = false;
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(timeoutMs)) {
        if (error)
            *error = QStringLiteral("Jotlet Light is not running");
        return false;
    }
    socket.write(formatControlRequest(request));
    socket.flush();
    QByteArray reply;
    while (!reply.contains('\n') && socket.waitForReadyRead(timeoutMs))
        reply += socket.readAll();
    if (answered)
        *answered = reply == "ok\n" || reply.startsWith("error ");
    if (reply == "ok\n")
        return true;
    if (error) {
        *error = reply.startsWith("error ") ? QString::fromUtf8(reply.mid(6).trimmed())
                                            : QStringLiteral("no answer from Jotlet Light");
    }
    return false;
}

} // namespace platform
