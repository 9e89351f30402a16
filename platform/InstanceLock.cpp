#include "platform/InstanceLock.h"

#include "platform/Paths.h"
#include "platform/StaleLock.h"

#include <QDir>
#include <QFileInfo>

namespace platform {
namespace {

// By the folder's real path: a second path that leads to the same folder
// through a link must meet the same lock.
QString lockPathFor(const QString &noteFolder)
{
    const QString path = realPath(noteFolder);
    QDir().mkpath(QFileInfo(path).absolutePath());
    return path + QStringLiteral(".lock");
}

} // namespace

InstanceLock::InstanceLock(const QString &noteFolder)
    : m_path(lockPathFor(noteFolder))
    , m_lock(m_path)
{
    // Never stale by age: a long-running instance keeps its lock for weeks.
    m_lock.setStaleLockTime(0);
}

bool InstanceLock::tryLock(int timeoutMs)
{
    if (m_lock.tryLock(timeoutMs))
        return true;
    return removeOwnerlessLock(m_lock, m_path) && m_lock.tryLock(0);
}

void InstanceLock::unlock()
{
    m_lock.unlock();
}

} // namespace platform
