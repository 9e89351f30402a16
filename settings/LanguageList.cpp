#include "settings/LanguageList.h"

#include "platform/Errors.h"
#include "platform/FileUpdate.h"
#include "platform/TextFile.h"
#include "settings/Ini.h"

#include <QDir>
#include <QFileInfo>

namespace settings {
namespace {

const QString kGeneral = QStringLiteral("General");

QString cannotInstall(const QString &source, const QString &reason)
{
    return QStringLiteral("Cannot install the language file %1: %2").arg(source, reason);
}

} // namespace

LanguageFileInfo readLanguageInfo(const QString &path, const QString &languageDefault)
{
    const IniFile file(path);
    LanguageFileInfo info;
    info.fileName = QFileInfo(path).fileName();
    info.language = file.readString(kGeneral, QStringLiteral("Language"), languageDefault);
    info.author
        = file.readString(kGeneral, QStringLiteral("Author"), QStringLiteral("not defined"));
    info.version = file.readString(kGeneral, QStringLiteral("Version"), QString());
    info.email = file.readString(kGeneral, QStringLiteral("email"), QString());
    return info;
}

std::vector<LanguageFileInfo> listLanguageFiles(const QString &languageFolder)
{
    const QDir folder(languageFolder);
    const QStringList names = folder.entryList(
        {QStringLiteral("*.lng")}, QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
    std::vector<LanguageFileInfo> languages;
    for (const QString &name : names) {
        if (name.toLower().contains(QLatin1String("default.lng")))
            continue;
        languages.push_back(readLanguageInfo(folder.filePath(name), name));
    }
    return languages;
}

void installLanguageFile(const QString &source, const QString &target)
{
    std::optional<QByteArray> bytes;
    try {
        bytes = platform::readExistingFile(source, platform::kMaxSettingsFileBytes);
    } catch (const EInOutError &error) {
        throw EInOutError(cannotInstall(source, error.message()));
    }
    if (!bytes)
        throw EInOutError(cannotInstall(source, QStringLiteral("File not found")));
    // A file that is not text would leave the next start without a caption.
    if (!platform::decodeTextFile(*bytes))
        throw EInOutError(cannotInstall(source, QStringLiteral("it is not a language file")));
    try {
        platform::updateFile(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner,
                             [&](const std::optional<QByteArray> &) { return bytes; });
    } catch (const EInOutError &error) {
        throw EInOutError(cannotInstall(source, error.message()));
    }
}

} // namespace settings
