#pragma once

#include <QString>

// A real, tiny file system for tests of full and read-only disks: a tmpfs
// mounted over a folder for the life of the object. Mounting needs root (or
// CAP_SYS_ADMIN); where it is not allowed, available() is false and reason()
// says why, so the test can skip with that reason.
//
// The first mount moves this test process into a mount namespace of its own
// when it can, so the mounts are seen by nobody else and vanish with the
// process even if it dies half-way.
class SmallDisk
{
public:
    SmallDisk(const QString &folder, int kilobytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;

    bool available() const { return m_mounted; }
    const QString &reason() const { return m_reason; }
    const QString &folder() const { return m_folder; }

    // Remounts the file system read-only or writable again; false on failure.
    bool setReadOnly(bool readOnly);

    // Takes every free byte but leaveBytes (rounded to whole pages) with a
    // filler file; freeFiller() gives it back.
    void fill(qint64 leaveBytes = 0);
    void freeFiller();

private:
    QString fillerPath() const;

    QString m_folder;
    int m_kilobytes;
    bool m_mounted = false;
    QString m_reason;
};
