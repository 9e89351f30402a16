#include "storage/PrivateFile.h"

#include "platform/Errors.h"

#include <QFile>
#include <QSaveFile>

namespace storage {
namespace {

constexpr QFileDevice::Permissions kPrivate = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// The system's reason alone ("No space left on device") does not say which
// of the user's notes could not be saved.
EInOutError saveError(const QSaveFile &file)
{
    const QString reason = file.errorString();
    if (reason.contains(file.fileName()))
        return EInOutError(reason);
    return EInOutError(file.fileName() + QStringLiteral(": ") + reason);
}

bool holdsAlready(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    // The user's bits only repeat the owner's when the user owns the file.
    const QFileDevice::Permissions mode = file.permissions()
        & ~(QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser);
    if (file.size() != bytes.size() || mode != kPrivate)
        return false;
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return file.readAll() == bytes;
}

} // namespace

void writePrivateFile(const QString &path, const QByteArray &bytes)
{
    if (holdsAlready(path, bytes))
        return;
    QSaveFile file(path);
    // Never fall back to writing the target in place: that is what tears files.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        throw saveError(file);
    // The temporary file takes the old file's mode; a note is private whatever
    // that was.
    if (!file.setPermissions(kPrivate))
        throw saveError(file);
    if (file.write(bytes) != bytes.size())
        throw saveError(file);
    // Flushed here, not only inside commit(): this Qt's commit() renames the
    // temporary file over the old one even when its final flush came short
    // (a full disk), which would put a torn file in place.
    if (!file.flush() || !file.commit())
        throw saveError(file);
}

} // namespace storage
