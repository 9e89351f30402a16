#include "storage/NoteFolder.h"

#include "platform/Errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStandardPaths>

#include <cerrno>

namespace storage {
namespace {

constexpr int kNameDrawBound = 30000;
// A working random source finds a free name at once; this only stops a broken
// one from hanging the program.
constexpr int kMaxNameDraws = 10000;

void removeIfPresent(const QString &path)
{
    QFile file(path);
    if (file.remove() || !file.exists())
        return;
    throw EInOutError(file.errorString());
}

// Makes one folder, private to the user.
void makePrivateFolder(const QString &path)
{
    if (QDir().mkdir(path,
                     QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner))
        return;
    // QDir gives no reason; the system's is in errno.
    const int reason = errno;
    if (QFileInfo(path).isDir()) // made meanwhile by someone else
        return;
    throw EInOutError(qt_error_string(reason));
}

} // namespace

QString noteFolderPath()
{
    return QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                           + QStringLiteral("/Jotlet light cache"));
}

QString ensureNoteFolder()
{
    const QString path = noteFolderPath();
    QStringList missing;
    for (QString folder = path; !QFileInfo(folder).exists(); folder = QFileInfo(folder).path()) {
        missing.prepend(folder);
        if (QFileInfo(folder).path() == folder)
            break;
    }
    for (const QString &folder : missing)
        makePrivateFolder(folder);
    if (!QFileInfo(path).isDir())
        throw EInOutError(QStringLiteral("Not a folder: %1").arg(path));
    return path;
}

QString newNoteFileName(const QString &folder, const RandomBelow &random)
{
    const RandomBelow draw = random ? random : [](int bound) {
        return int(QRandomGenerator::global()->bounded(bound));
    };
    const QDir dir(folder);
    for (int attempt = 0; attempt < kMaxNameDraws; ++attempt) {
        const qint64 r1 = draw(kNameDrawBound);
        const qint64 r2 = draw(kNameDrawBound);
        const qint64 r3 = draw(kNameDrawBound);
        const QString name = QString::number(r1 * r2 + r3) + QStringLiteral(".jtl");
        const QString path = dir.filePath(name);
        if (!QFileInfo::exists(path) && !QFileInfo::exists(companionPath(path)))
            return name;
    }
    throw EInOutError(QStringLiteral("No free note file name in %1").arg(folder));
}

QString companionPath(const QString &notePath)
{
    return notePath + QLatin1Char('2');
}

void deleteNoteFiles(const QString &notePath)
{
    removeIfPresent(notePath);
    removeIfPresent(companionPath(notePath));
}

QStringList listNoteFiles(const QString &folder)
{
    const QDir dir(folder);
    const QStringList names = dir.entryList(
        {QStringLiteral("*.jtl")}, QDir::Files | QDir::Hidden | QDir::System | QDir::CaseSensitive,
        QDir::Name);
    QStringList notes;
    for (const QString &name : names) {
        if (!name.contains(QStringLiteral(".jtl2"), Qt::CaseInsensitive))
            notes.append(name);
    }
    return notes;
}

} // namespace storage
