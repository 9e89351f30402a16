#include "storage/NoteFolder.h"

#include "platform/Errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStandardPaths>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

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

// The folder holds everything the user wrote: it must be the user's own and
// private. One of another user is not used at all.
void claimFolder(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info = {};
    if (::stat(name.constData(), &info) != 0)
        throw EInOutError(QStringLiteral("%1: %2").arg(path, qt_error_string(errno)));
    if (!S_ISDIR(info.st_mode))
        throw EInOutError(QStringLiteral("Not a folder: %1").arg(path));
    if (info.st_uid != ::geteuid()) {
        throw EInOutError(
            QStringLiteral("The note folder %1 belongs to another user, so Jotlet Light does not "
                           "use it. Make it your own, or remove it, and start Jotlet Light again.")
                .arg(path));
    }
    // A read-only file system keeps its mode; the notes still load.
    if ((info.st_mode & 07777) != 0700)
        ::chmod(name.constData(), 0700);
}

} // namespace

bool entryExists(const QString &path)
{
    struct stat info = {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0;
}

std::optional<FileIdentity> fileIdentity(const QString &path)
{
    struct stat info = {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    constexpr qint64 kNs = 1000000000;
    return FileIdentity {quint64(info.st_dev),
                         quint64(info.st_ino),
                         qint64(info.st_size),
                         qint64(info.st_mtim.tv_sec) * kNs + info.st_mtim.tv_nsec,
                         qint64(info.st_ctim.tv_sec) * kNs + info.st_ctim.tv_nsec,
                         S_ISREG(info.st_mode)};
}

PairIdentity pairIdentity(const QString &notePath)
{
    return {fileIdentity(notePath), fileIdentity(companionPath(notePath))};
}

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
    claimFolder(path);
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
        if (!entryExists(path) && !entryExists(companionPath(path)))
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
    // System: links (also those leading nowhere), FIFOs, sockets and devices
    // are listed too, so that loading refuses each by name like any
    // unreadable note.
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
