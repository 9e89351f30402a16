#include "storage/PrivateFile.h"

#include "platform/Errors.h"

namespace storage {
namespace {

// The system's reason alone ("No space left on device") does not say which
// of the user's notes could not be saved.
EInOutError saveError(const QSaveFile &file)
{
    const QString reason = file.errorString();
    if (reason.contains(file.fileName()))
        return EInOutError(reason);
    return EInOutError(file.fileName() + QStringLiteral(": ") + reason);
}

} // namespace

std::unique_ptr<QSaveFile> openPrivateSaveFile(const QString &path)
{
    auto file = std::make_unique<QSaveFile>(path);
    // Never fall back to writing the target in place: that is what tears files.
    file->setDirectWriteFallback(false);
    if (!file->open(QIODevice::WriteOnly))
        throw saveError(*file);
    // The temporary file takes the old file's mode; a note is private whatever
    // that was.
    if (!file->setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        throw saveError(*file);
    return file;
}

void writeToSaveFile(QSaveFile &file, const QByteArray &bytes)
{
    if (file.write(bytes) != bytes.size())
        throw saveError(file);
}

void commitSaveFile(QSaveFile &file)
{
    // Flushed here, not only inside commit(): this Qt's commit() renames the
    // temporary file over the old one even when its final flush came short
    // (a full disk), which would put a torn file in place.
    if (!file.flush() || !file.commit())
        throw saveError(file);
}

void writePrivateFile(const QString &path, const QByteArray &bytes)
{
    const std::unique_ptr<QSaveFile> file = openPrivateSaveFile(path);
    writeToSaveFile(*file, bytes);
    commitSaveFile(*file);
}

} // namespace storage
