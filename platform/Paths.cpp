#include "platform/Paths.h"

#include "platform/Product.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace platform {
namespace {

const QString kDefaultLanguageFile = QStringLiteral("default.lng");

QString xdgConfigHome()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

} // namespace

QString installedDataFolder()
{
    return QStringLiteral(JL_INSTALL_DATA_FOLDER);
}

QString programFolderFor(const QString &executableFolder)
{
    if (QFileInfo(executableFolder + QStringLiteral("/language")).isDir())
        return QDir::cleanPath(executableFolder);
    return installedDataFolder();
}

QString programFolder()
{
    return programFolderFor(QCoreApplication::applicationDirPath());
}

QString languageFolder()
{
    return programFolder() + QStringLiteral("/language");
}

QString configFolder()
{
    return xdgConfigHome() + QLatin1Char('/') + QLatin1String(product::kMaker);
}

QString registryFile()
{
    return configFolder() + QStringLiteral("/registry.reg");
}

QString windowPlacementFile()
{
    return configFolder() + QStringLiteral("/jotlig.ini");
}

QString userLanguageFile()
{
    return configFolder() + QLatin1Char('/') + kDefaultLanguageFile;
}

QString activeLanguageFile()
{
    return activeLanguageFileIn(programFolder());
}

QString activeLanguageFileIn(const QString &programFolder)
{
    const QFileInfo user(userLanguageFile());
    if (user.isFile() && user.isReadable())
        return user.filePath();
    return programFolder + QLatin1Char('/') + kDefaultLanguageFile;
}

QString realPath(const QString &path)
{
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    QString missing;
    for (QString existing = absolute;; existing = QFileInfo(existing).path()) {
        const QString resolved = QFileInfo(existing).canonicalFilePath();
        if (!resolved.isEmpty())
            return QDir::cleanPath(resolved + missing);
        if (QFileInfo(existing).path() == existing)
            return absolute;
        missing.prepend(QLatin1Char('/') + QFileInfo(existing).fileName());
    }
}

QString autostartFile()
{
    return xdgConfigHome() + QStringLiteral("/autostart/VeskJotlet")
        + QLatin1String(product::kKeyVersion) + QStringLiteral(".desktop");
}

} // namespace platform
