#include "storage/PrivateFile.h"

#include "platform/Errors.h"
#include "platform/FileUpdate.h"

#include <QFile>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace storage {
namespace {

// The system's reason alone ("No space left on device") does not say which
// of the user's notes could not be saved.
EInOutError saveError(const QString &path, const QString &reason)
{
    if (reason.contains(path))
        return EInOutError(reason);
    return EInOutError(path + QStringLiteral(": ") + reason);
}

// Some file systems have no flush to disk; a write there is as safe as it gets.
bool syncUnsupported(int reason)
{
    return reason == EINVAL || reason == ENOTSUP || reason == ENOSYS;
}

bool holdsAlready(const QString &path, const QByteArray &bytes)
{
    try {
        const std::unique_ptr<QFile> file
            = platform::openRegularFile(path, platform::LinkPolicy::Refuse);
        struct stat info = {};
        if (!file || ::fstat(file->handle(), &info) != 0 || (info.st_mode & 07777) != 0600
            || info.st_size != bytes.size())
            return false;
        return file->readAll() == bytes;
    } catch (const Error &) {
        return false; // a link or something else in the way: it is replaced
    }
}

} // namespace

void writePrivateFile(const QString &path, const QByteArray &bytes)
{
    if (holdsAlready(path, bytes))
        return;
    // Not QSaveFile: it follows a symbolic link standing at the path and
    // writes (and makes private) the file the link points to, wherever that
    // is. Renaming over the path replaces the link itself.
    QTemporaryFile file(path + QStringLiteral(".XXXXXX")); // made 0600
    if (!file.open())
        throw saveError(path, file.errorString());
    if (file.write(bytes) != bytes.size() || !file.flush())
        throw saveError(path, file.errorString());
    // On disk before it takes the old file's place, so a crash or a full
    // disk never leaves a torn file under the note's name.
    if (::fsync(file.handle()) != 0 && !syncUnsupported(errno))
        throw saveError(path, qt_error_string(errno));
    const QString temporary = file.fileName();
    if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(path).constData())
        != 0)
        throw saveError(path, qt_error_string(errno));
    file.setAutoRemove(false);
}

} // namespace storage
