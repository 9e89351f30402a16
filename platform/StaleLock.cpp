#include "platform/StaleLock.h"

#include <QDateTime>
#include <QFileInfo>

namespace platform {

bool removeOwnerlessLock(QLockFile &lock, const QString &lockPath)
{
    constexpr qint64 kWritingMomentMs = 2000;
    qint64 pid = 0;
    QString hostName;
    QString appName;
    if (lock.getLockInfo(&pid, &hostName, &appName))
        return false;
    const QFileInfo info(lockPath);
    if (!info.exists()
        || info.lastModified().msecsTo(QDateTime::currentDateTime()) < kWritingMomentMs)
        return false;
    return lock.removeStaleLockFile();
}

} // namespace platform
