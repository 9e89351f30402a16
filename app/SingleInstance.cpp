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

bool SingleInstance::askHolderToShowAll() const
{
    // Any answer means it is there, also one that cannot show them now.
    bool answered = false;
    platform::sendControlRequest(m_socketPath, QStringLiteral("show-all"), nullptr,
                                 kAnswerTimeoutMs, &answered);
    return answered;
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

bool SingleInstance::serve(Handler handler, QString *error)
{
    m_server = new platform::ControlServer(std::move(handler), &m_owner);
    if (m_server->listen(m_socketPath, error))
        return true;
    delete m_server;
    return false;
}

void SingleInstance::release()
{
    // Deleted later: an exit lets go of the folder while its own request
    // is still to be answered.
    if (m_server) {
        m_server->stopListening();
        m_server->deleteLater();
    }
    m_server = nullptr;
    if (m_lock.isLocked())
        m_lock.unlock();
}

} // namespace app
