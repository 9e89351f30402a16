#include "app/SingleInstance.h"

#include "platform/ControlChannel.h"

namespace app {
namespace {

// Long enough for a busy instance to answer (it may be loading its notes),
// short enough that a start behind a hung one ends in a message soon.
constexpr int kAnswerTimeoutMs = 10000;

} // namespace

SingleInstance::SingleInstance(const QString &noteFolder)
    : m_socketPath(platform::controlSocketPath(noteFolder))
    , m_lock(noteFolder)
{
}

SingleInstance::~SingleInstance()
{
    release();
}

QStringList SingleInstance::commands()
{
    return {QStringLiteral("exit"),     QStringLiteral("restart"),  QStringLiteral("new"),
            QStringLiteral("show-all"), QStringLiteral("hide-all"), QStringLiteral("options"),
            QStringLiteral("about")};
}

bool SingleInstance::askHolderToShowAll() const
{
    return platform::sendControlRequest(m_socketPath, QStringLiteral("show-all"), nullptr,
                                        kAnswerTimeoutMs);
}

SingleInstance::Claim SingleInstance::claim(int waitMs)
{
    if (m_lock.tryLock(0))
        return Claim::Acquired;
    if (askHolderToShowAll())
        return Claim::HandedOver;
    if (m_lock.tryLock(waitMs))
        return Claim::Acquired;
    // It may have been starting up (locked, not yet listening) all along.
    return askHolderToShowAll() ? Claim::HandedOver : Claim::Blocked;
}

bool SingleInstance::serve(std::function<void(const QString &command)> handler, QString *error)
{
    m_server = std::make_unique<platform::ControlServer>(commands());
    // Queued to an object of our own, so the handler may end this server
    // (an "exit" does) without the server being on the stack.
    QObject::connect(m_server.get(), &platform::ControlServer::requestReceived, &m_receiver,
                     std::move(handler), Qt::QueuedConnection);
    if (m_server->listen(m_socketPath, error))
        return true;
    m_server.reset();
    return false;
}

void SingleInstance::release()
{
    m_server.reset();
    if (m_lock.isLocked())
        m_lock.unlock();
}

} // namespace app
