#include "platform/InstanceLock.h"

#include <QDir>
#include <QFileInfo>

namespace platform {
namespace {

QString lockPathFor(const QString &noteFolder)
{
    QString path = QDir::cleanPath(noteFolder);
    QDir().mkpath(QFileInfo(path).absolutePath());
    return path + QStringLiteral(".lock");
}

} // namespace

InstanceLock::InstanceLock(const QString &noteFolder)
    : m_lock(lockPathFor(noteFolder))
{
    // Never stale by age: a long-running instance keeps its lock for weeks.
    m_lock.setStaleLockTime(0);
}

bool InstanceLock::tryLock(int timeoutMs)
{
    return m_lock.tryLock(timeoutMs);
}

void InstanceLock::unlock()
{
    m_lock.unlock();
}

} // namespace platform
