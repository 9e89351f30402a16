#include "settings/LanguageList.h"

#include "platform/Errors.h"
#include "platform/FileUpdate.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using settings::installLanguageFile;
using settings::LanguageFileInfo;
using settings::listLanguageFiles;
using settings::readLanguageInfo;

namespace {

QStringList fileNames(const std::vector<LanguageFileInfo> &languages)
{
    QStringList names;
    for (const LanguageFileInfo &language : languages)
        names << language.fileName;
    return names;
}

} // namespace

TEST(LanguageList, ListsLanguageFilesByNameLeavingOutCopiesOfDefaultLng)
{
    const QString folder = testsupport::freshDir(QStringLiteral("languages"));
    for (const char *name : {"zulu.lng", "Basque.LNG", "default.lng", "Default.LNG",
                             "mydefault.lng", "default.lng.lng", "notes.txt", "lng", ".hidden.lng"})
        testsupport::writeAll(folder + QLatin1Char('/') + QLatin1String(name), "[General]\n");
    QDir(folder).mkdir(QStringLiteral("folder.lng"));
    EXPECT_EQ(fileNames(listLanguageFiles(folder)),
              (QStringList {QStringLiteral(".hidden.lng"), QStringLiteral("Basque.LNG"),
                            QStringLiteral("zulu.lng")}));
    EXPECT_TRUE(listLanguageFiles(folder + QStringLiteral("/missing")).empty());
}

TEST(LanguageList, MissingGeneralKeysGetTheirDefaults)
{
    const QString folder = testsupport::freshDir(QStringLiteral("languages"));
    testsupport::writeAll(folder + QStringLiteral("/bare.lng"), "[Resource]\n0=Neu\n");
    testsupport::writeAll(folder + QStringLiteral("/full.lng"),
                          "[general]\nLANGUAGE=Suomi\nauthor = Aino \nversion=2\nEMAIL=a@b.fi\n");
    const std::vector<LanguageFileInfo> languages = listLanguageFiles(folder);
    ASSERT_EQ(languages.size(), 2u);
    const LanguageFileInfo &bare = languages[0];
    EXPECT_EQ(bare.fileName, QStringLiteral("bare.lng"));
    EXPECT_EQ(bare.language, QStringLiteral("bare.lng"));
    EXPECT_EQ(bare.author, QStringLiteral("not defined"));
    EXPECT_TRUE(bare.version.isEmpty());
    EXPECT_TRUE(bare.email.isEmpty());
    const LanguageFileInfo &full = languages[1];
    EXPECT_EQ(full.language, QStringLiteral("Suomi"));
    EXPECT_EQ(full.author, QStringLiteral("Aino"));
    EXPECT_EQ(full.version, QStringLiteral("2"));
    EXPECT_EQ(full.email, QStringLiteral("a@b.fi"));

    // The language in use shows an empty name when it has none, or is missing.
    EXPECT_TRUE(readLanguageInfo(folder + QStringLiteral("/bare.lng"), {}).language.isEmpty());
    const LanguageFileInfo missing = readLanguageInfo(folder + QStringLiteral("/gone.lng"), {});
    EXPECT_TRUE(missing.language.isEmpty());
    EXPECT_EQ(missing.author, QStringLiteral("not defined"));
}

TEST(LanguageInstall, CopiesTheFileOverTheTarget)
{
    const QString folder = testsupport::freshDir(QStringLiteral("install"));
    const QString source = folder + QStringLiteral("/german.lng");
    const QString target = folder + QStringLiteral("/config/default.lng");
    testsupport::writeAll(source, "[General]\nlanguage=Deutsch\n");
    installLanguageFile(source, target);
    EXPECT_EQ(testsupport::readAll(target), QByteArray("[General]\nlanguage=Deutsch\n"));
    EXPECT_EQ(QFile::permissions(target) & (QFileDevice::ReadOther | QFileDevice::WriteOther),
              QFileDevice::Permissions());
}

TEST(LanguageInstall, FailureRaisesAClearErrorAndKeepsThePreviousFile)
{
    const QString folder = testsupport::freshDir(QStringLiteral("install"));
    const QString target = folder + QStringLiteral("/default.lng");
    const QByteArray previous = "[General]\nlanguage=English\n";
    testsupport::writeAll(target, previous);
    const QString binary = folder + QStringLiteral("/binary.lng");
    testsupport::writeAll(binary, QByteArray("MZ\0\0\x90\0", 6));
    const QString good = folder + QStringLiteral("/good.lng");
    testsupport::writeAll(good, "[General]\nlanguage=Deutsch\n");

    const auto messageOf = [&](const QString &source) {
        try {
            installLanguageFile(source, target);
        } catch (const EInOutError &error) {
            return error.message();
        }
        return QString();
    };
    EXPECT_EQ(
        messageOf(folder + QStringLiteral("/gone.lng")),
        QStringLiteral("Cannot install the language file %1/gone.lng: File not found").arg(folder));
    EXPECT_TRUE(messageOf(binary).endsWith(QStringLiteral("it is not a language file")));
    EXPECT_TRUE(messageOf(folder).startsWith(QStringLiteral("Cannot install the language file")));
    // Stopped just before the new file replaces the old one.
    platform::testhooks::setBeforeReplace([] { throw EInOutError(QStringLiteral("disk full")); });
    EXPECT_TRUE(messageOf(good).endsWith(QStringLiteral("disk full")));
    platform::testhooks::setBeforeReplace(nullptr);
    EXPECT_EQ(testsupport::readAll(target), previous);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 3); // no temporary file left behind
}
