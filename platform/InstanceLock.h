#pragma once

#include <QLockFile>
#include <QString>

namespace platform {

// Keeps two running instances from working on one note folder. The lock file
// stands beside the folder's real path (links resolved), so it works before
// the folder exists and two paths to one folder share it; a lock left by a
// crashed instance is taken over (QLockFile checks the process).
class InstanceLock
{
public:
    explicit InstanceLock(const QString &noteFolder);

    // Waits up to timeoutMs for another instance to let go (a restart
    // overlaps the old and the new process). False when it still holds on.
    bool tryLock(int timeoutMs);
    void unlock();
    bool isLocked() const { return m_lock.isLocked(); }

private:
    QString m_path;
    QLockFile m_lock;
};

} // namespace platform
