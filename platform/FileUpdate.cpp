#include "platform/FileUpdate.h"

#include "platform/StaleLock.h"

#include "platform/Errors.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QThread>

namespace platform {
namespace {

void (*g_beforeReplace)() = nullptr;
// Long enough for a slow disk under another instance's write, short enough
// that a wedged lock shows up as an error rather than a hung program.
int g_lockTimeoutMs = 5000;

void ensurePrivateFolder(const QString &folder)
{
    QDir dir(folder);
    if (dir.exists())
        return;
    // Create level by level so that each folder made here is private.
    const QString parent = QFileInfo(dir.absolutePath()).path();
    if (parent != dir.absolutePath())
        ensurePrivateFolder(parent);
    if (!dir.mkdir(dir.absolutePath()) && !dir.exists())
        throw EInOutError(QStringLiteral("Cannot create folder %1").arg(folder));
    QFile::setPermissions(dir.absolutePath(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

// QLockFile's own wait backs off to seconds between tries, so a writer can
// starve while another instance writes in quick succession; short, growing
// pauses catch the gaps between the other's writes.
bool acquire(QLockFile &lock, const QString &lockPath)
{
    QElapsedTimer waited;
    waited.start();
    unsigned long pauseMs = 1;
    while (!lock.tryLock(0)) {
        if (lock.error() != QLockFile::LockFailedError || waited.elapsed() >= g_lockTimeoutMs)
            return false;
        if (removeOwnerlessLock(lock, lockPath))
            continue;
        QThread::msleep(pauseMs);
        pauseMs = qMin(pauseMs * 2, 16ul);
    }
    return true;
}

void writeReplacing(const QString &path, QFileDevice::Permissions permissions,
                    const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw EInOutError(file.errorString());
    if (!file.setPermissions(permissions))
        throw EInOutError(file.errorString());
    if (file.write(bytes) != bytes.size() || !file.flush())
        throw EInOutError(file.errorString());
    if (g_beforeReplace)
        g_beforeReplace();
    if (!file.commit())
        throw EInOutError(file.errorString());
}

} // namespace

std::optional<QByteArray> readExistingFile(const QString &path, qint64 maxBytes)
{
    QFile file(path);
    if (!file.exists())
        return std::nullopt;
    if (!file.open(QIODevice::ReadOnly))
        throw EInOutError(file.errorString());
    if (file.size() > maxBytes)
        throw EInOutError(QStringLiteral("File too large: %1").arg(path));
    // Not read(maxBytes + 1): Qt sizes that buffer to the maximum first, which
    // cost a 512 MB allocation for every note body read.
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw EInOutError(file.errorString());
    if (bytes.size() > maxBytes)
        throw EInOutError(QStringLiteral("File too large: %1").arg(path));
    return bytes;
}

void updateFile(const QString &path, QFileDevice::Permissions permissions, const FileChange &change)
{
    ensurePrivateFolder(QFileInfo(path).absolutePath());
    const QString lockPath = path + QStringLiteral(".lock");
    QLockFile lock(lockPath);
    if (!acquire(lock, lockPath))
        throw EInOutError(QStringLiteral("Cannot lock %1").arg(path));
    // Read again under the lock: another process may have changed the file
    // since the caller last looked.
    const std::optional<QByteArray> current = readExistingFile(path, kMaxSettingsFileBytes);
    const std::optional<QByteArray> next = change(current);
    if (next && next != current)
        writeReplacing(path, permissions, *next);
}

namespace testhooks {

void setBeforeReplace(void (*hook)())
{
    g_beforeReplace = hook;
}

void setLockTimeoutMs(int milliseconds)
{
    g_lockTimeoutMs = milliseconds;
}

} // namespace testhooks

} // namespace platform
