#include "app/StartupFiles.h"

#include "storage/NoteFolder.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPixmap>

namespace app {
namespace {

constexpr QFileDevice::Permissions kPrivateFile = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

void makePrivate(const QString &path)
{
    if (QFileInfo::exists(path))
        QFile::setPermissions(path, kPrivateFile);
}

} // namespace

void deliverWelcomeNote(const QString &programFolder, const QString &noteFolder,
                        bool noteFolderIsNew, bool programFolderWritable)
{
    const QString source = programFolder + QLatin1Char('/') + QLatin1String(kWelcomeNote);
    const QString target = noteFolder + QLatin1Char('/') + QLatin1String(kWelcomeNote);
    const QString sourceBody = storage::companionPath(source);
    const QString targetBody = storage::companionPath(target);
    if (!QFileInfo::exists(source))
        return;
    // Never pairs the welcome note with a body file already there, nor
    // copies it through a link standing in the note folder.
    if (storage::entryExists(target) || storage::entryExists(targetBody))
        return;
    if (programFolderWritable) {
        if (!QFile::rename(source, target))
            return;
        QFile::rename(sourceBody, targetBody);
    } else {
        if (!noteFolderIsNew || !QFile::copy(source, target))
            return;
        QFile::copy(sourceBody, targetBody);
    }
    makePrivate(target);
    makePrivate(targetBody);
}

QIcon builtInIcon()
{
    QIcon icon;
    icon.addFile(QStringLiteral(":/jotletlight/jotletlight-32.png"), QSize(32, 32));
    icon.addFile(QStringLiteral(":/jotletlight/jotletlight-64.png"), QSize(64, 64));
    return icon;
}

QIcon trayImage(const QString &programFolder)
{
    QIcon icon;
    // An .ico file holds several sizes; each becomes one size of the icon.
    QImageReader reader(programFolder + QLatin1Char('/') + QLatin1String(kTrayImageFile));
    do {
        const QImage image = reader.read();
        if (!image.isNull())
            icon.addPixmap(QPixmap::fromImage(image));
    } while (reader.jumpToNextImage());
    return icon.isNull() ? builtInIcon() : icon;
}

} // namespace app
