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

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

std::unique_ptr<QFile> openRegularFile(const QString &path, LinkPolicy links)
{
    const QByteArray name = QFile::encodeName(path);
    const bool refuseLinks = links == LinkPolicy::Refuse;
    struct stat seen = {};
    if ((refuseLinks ? ::lstat(name.constData(), &seen) : ::stat(name.constData(), &seen)) != 0) {
        if (errno == ENOENT)
            return nullptr;
        throw EInOutError(QStringLiteral("%1: %2").arg(path, qt_error_string(errno)));
    }
    if (S_ISLNK(seen.st_mode)) {
        throw EInOutError(
            QStringLiteral("%1 is a symbolic link, not a file of its own: it is not read")
                .arg(path));
    }
    if (!S_ISREG(seen.st_mode)) {
        throw EInOutError(
            QStringLiteral(
                "%1 is not a regular file (a folder, FIFO, socket or device): it is not read")
                .arg(path));
    }
    // Non-blocking and not through a link, in case something else was put
    // in its place since it was looked at.
    const int fd = ::open(name.constData(),
                          O_RDONLY | O_CLOEXEC | O_NONBLOCK | (refuseLinks ? O_NOFOLLOW : 0));
    if (fd < 0)
        throw EInOutError(QStringLiteral("%1: %2").arg(path, qt_error_string(errno)));
    struct stat opened = {};
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode) || opened.st_dev != seen.st_dev
        || opened.st_ino != seen.st_ino) {
        ::close(fd);
        throw EInOutError(QStringLiteral("%1 changed while it was opened").arg(path));
    }
    auto file = std::make_unique<QFile>(path);
    if (!file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        throw EInOutError(QStringLiteral("%1: %2").arg(path, file->errorString()));
    }
    return file;
}

std::optional<QByteArray> readExistingFile(const QString &path, qint64 maxBytes, LinkPolicy links)
{
    const std::unique_ptr<QFile> file = openRegularFile(path, links);
    if (!file)
        return std::nullopt;
    const auto tooLarge = [&] {
        constexpr qint64 kMiB = 1024 * 1024;
        const QString limit = maxBytes % kMiB == 0 ? QStringLiteral("%1 MB").arg(maxBytes / kMiB)
                                                   : QStringLiteral("%1 bytes").arg(maxBytes);
        return EInOutError(QStringLiteral("File too large: %1 (more than %2)").arg(path, limit));
    };
    if (file->size() > maxBytes)
        throw tooLarge();
    // Not read(maxBytes + 1): Qt sizes that buffer to the maximum first, which
    // cost a 512 MB allocation for every note body read. What the file holds
    // now, then whatever it grew by meanwhile, within the limit.
    QByteArray bytes = file->read(file->size());
    constexpr qint64 kChunk = 64 * 1024;
    for (QByteArray more = file->read(kChunk); !more.isEmpty(); more = file->read(kChunk)) {
        bytes += more;
        if (bytes.size() > maxBytes)
            throw tooLarge();
    }
    if (file->error() != QFileDevice::NoError)
        throw EInOutError(QStringLiteral("%1: %2").arg(path, file->errorString()));
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
    if (!next || next == current)
        return;
    // A file past the read limit could never be read back: every setting in
    // it would be lost at once.
    if (next->size() > kMaxSettingsFileBytes)
        throw EInOutError(QStringLiteral("%1 would grow past %2 MB")
                              .arg(path)
                              .arg(kMaxSettingsFileBytes / (1024 * 1024)));
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
