#pragma once

#include "platform/ControlCommands.h"

#include <QObject>
#include <QStringList>

#include <functional>
#include <optional>

class QLocalServer;
class QLocalSocket;
class QTimer;

// Requests from other processes (jotletctl, a second start) to the running
// instance, over a per-user local socket. One request per connection:
//   "jotlet/1 <command>\n" or "jotlet/1 <command> <argument>\n"
// answered by "ok\n" or "error <reason>\n". A command is lower-case letters
// and '-'; an argument, one word of at most kMaxControlArgument letters,
// digits, '.', '_' and '-'.
namespace platform {

inline constexpr int kMaxControlMessage = 128;

// The socket of the instance that works on this note folder, by its real
// path (links resolved).
QString controlSocketPath(const QString &noteFolder);

struct ControlRequest
{
    // A request of a command without argument may be given as its word.
    ControlRequest(QString word = {}, QString argumentWord = {})
        : command(std::move(word))
        , argument(std::move(argumentWord))
    {
    }
    QString command;
    QString argument; // empty: none

    friend bool operator==(const ControlRequest &a, const ControlRequest &b)
    {
        return a.command == b.command && a.argument == b.argument;
    }
    friend bool operator!=(const ControlRequest &a, const ControlRequest &b) { return !(a == b); }
};

QByteArray formatControlRequest(const ControlRequest &request);
// The command and argument of a well-formed request line, or nothing.
std::optional<ControlRequest> parseControlRequest(const QByteArray &line);

// At most this many connections are open at a time; a new one beyond that
// pushes out the oldest, which had its time to send its line.
inline constexpr int kMaxControlConnections = 16;

class ControlServer : public QObject
{
    Q_OBJECT
public:
    // Carries out a request: nothing when it was done, else why not. The
    // answer goes back once it returns.
    using Handler = std::function<QString(ControlCommand command, const QString &argument)>;

    // Takes the requests of kControlCommands with the argument each needs,
    // each on the event loop after the connection that brought it was read;
    // every other request is refused (see controlRequestRefusal).
    explicit ControlServer(Handler handler, QObject *parent = nullptr);

    // Call only while holding the instance lock: a leftover socket of a
    // crashed instance is removed first. Once listening, it stays so: when
    // the socket is lost (Qt closes it on any failed accept, such as at the
    // descriptor limit), it is made again as soon as that works.
    bool listen(const QString &socketPath, QString *error);
    // No new connections; those open still get their answers.
    void stopListening();

private:
    void acceptConnection();
    void answer(QLocalSocket *socket);
    void keepListening();

    Handler m_handler;
    QLocalServer *m_server;
    QString m_socketPath;
    QTimer *m_watch;
    QList<QLocalSocket *> m_connections; // oldest first
};

// Sends one request and waits for the answer. False with a reason when no
// instance runs or it did not carry the request out; `answered` tells the
// two apart.
bool sendControlRequest(const QString &socketPath, const ControlRequest &request, QString *error,
                        int timeoutMs = 15000, bool *answered = nullptr);

} // namespace platform
