#include "settings/DResource.h"
#include "settings/Ini.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

using settings::EResourceFileMissing;
using settings::IniFile;
using testsupport::freshDir;
using testsupport::writeAll;

namespace {

// A program folder with default.lng and a language folder.
struct ProgramFolder
{
    QString root;
    QString language;
    QString defaultLng;

    explicit ProgramFolder(const QString &name)
        : root(freshDir(name))
        , language(root + QStringLiteral("/language"))
        , defaultLng(root + QStringLiteral("/default.lng"))
    {
        QDir().mkpath(language);
    }
};

QByteArray languageFile(int skip, const QByteArray &general = {})
{
    QByteArray text = "[Resource]\n";
    for (int id = 0; id <= 104; ++id) {
        if (id != skip)
            text += QByteArray::number(id) + "=text " + QByteArray::number(id) + "\n";
    }
    return text + general;
}

} // namespace

TEST(TReadRes, MissingFileIsFatalWithItsFullPath)
{
    const ProgramFolder folder(QStringLiteral("res-missing"));
    try {
        TReadRes table(folder.defaultLng, folder.language);
        FAIL() << "no error raised";
    } catch (const EResourceFileMissing &e) {
        EXPECT_EQ(e.message(),
                  QStringLiteral("Resource file ") + folder.defaultLng
                      + QStringLiteral("not founded. Program killed"));
    }
    // A folder in the file's place cannot be loaded either.
    QDir().mkdir(folder.defaultLng);
    EXPECT_THROW(TReadRes(folder.defaultLng, folder.language), EResourceFileMissing);
}

TEST(TReadRes, TextsComeFromTheFile)
{
    const ProgramFolder folder(QStringLiteral("res-full"));
    writeAll(folder.defaultLng,
             languageFile(-1,
                          "[general]\nLanguage = Deutsch\nAUTHOR=\"Anna\"\nversion=1.0\n"
                          "email=anna@example.org\nnote=hi\n"));
    const TReadRes table(folder.defaultLng, folder.language);
    EXPECT_EQ(table.FileName(), QStringLiteral("default.lng"));
    EXPECT_EQ(table.GetText(0), QStringLiteral("text 0"));
    EXPECT_EQ(table.GetText(104), QStringLiteral("text 104"));
    EXPECT_EQ(table.GetText(105), QString());
    EXPECT_EQ(table.GetText(106), QStringLiteral("No resource 106"));
    EXPECT_EQ(table.GetText(200), QStringLiteral("No resource 200"));
    EXPECT_EQ(table.GetText(-1), QStringLiteral("No resource -1"));
    EXPECT_EQ(table.LangLanguage, QStringLiteral("Deutsch"));
    EXPECT_EQ(table.LangAuthor, QStringLiteral("Anna"));
    EXPECT_EQ(table.LangVersion, QStringLiteral("1.0"));
    EXPECT_EQ(table.LangEmail, QStringLiteral("anna@example.org"));
    EXPECT_EQ(table.LangNote, QStringLiteral("hi"));
}

TEST(TReadRes, MissingTextWithoutInstalledSetIsAnError)
{
    const ProgramFolder folder(QStringLiteral("res-noset"));
    writeAll(folder.defaultLng, languageFile(42));
    writeAll(folder.language + QStringLiteral("/english.lng"), "[Resource]\n42=Alignment\n");
    const TReadRes table(folder.defaultLng, folder.language);
    EXPECT_EQ(table.GetText(42), QStringLiteral("Error load res [42]"));
    EXPECT_EQ(table.LangLanguage, QStringLiteral("Not defined"));
    EXPECT_EQ(table.LangNote, QStringLiteral("Not defined"));
}

TEST(TReadRes, MissingTextFallsBackToEnglishWhenTheSetIsInstalled)
{
    const ProgramFolder folder(QStringLiteral("res-fallback"));
    // The set counts as installed when the language folder holds a file of
    // the loaded file's name.
    writeAll(folder.language + QStringLiteral("/default.lng"), "anything");
    writeAll(folder.language + QStringLiteral("/english.lng"), "[Resource]\n42=Alignment\n");
    writeAll(folder.defaultLng, languageFile(42));
    EXPECT_EQ(TReadRes(folder.defaultLng, folder.language).GetText(42),
              QStringLiteral("Alignment"));
    // "!!!" counts as missing; an id English lacks as well ends as an error text.
    writeAll(folder.defaultLng, "[Resource]\n42=!!!\n43=!!!\n");
    const TReadRes table(folder.defaultLng, folder.language);
    EXPECT_EQ(table.GetText(42), QStringLiteral("Alignment"));
    EXPECT_EQ(table.GetText(43), QStringLiteral("Error load res [43]"));
    // Without english.lng every gap is an error text.
    QFile::remove(folder.language + QStringLiteral("/english.lng"));
    EXPECT_EQ(TReadRes(folder.defaultLng, folder.language).GetText(42),
              QStringLiteral("Error load res [42]"));
}

TEST(TReadRes, Utf8AndWindows1252FilesBothRead)
{
    const ProgramFolder folder(QStringLiteral("res-enc"));
    writeAll(folder.defaultLng,
             "[General]\nlanguage=Fran\xe7"
             "ais\n[Resource]\n0=Cr\xe9\x65r\n");
    EXPECT_EQ(TReadRes(folder.defaultLng, folder.language).GetText(0),
              QStringLiteral("Cr\u00e9er"));
    EXPECT_EQ(TReadRes(folder.defaultLng, folder.language).LangLanguage,
              QStringLiteral("Fran\u00e7ais"));
    writeAll(folder.defaultLng, "[Resource]\n0=\xd0\x9d\xd0\xbe\xd0\xb2\xd0\xb0\xd1\x8f\n");
    EXPECT_EQ(TReadRes(folder.defaultLng, folder.language).GetText(0),
              QStringLiteral("\u041d\u043e\u0432\u0430\u044f"));
    writeAll(folder.defaultLng, "\xef\xbb\xbf[Resource]\n0=\xc3\xa9\n");
    EXPECT_EQ(TReadRes(folder.defaultLng, folder.language).GetText(0), QStringLiteral("\u00e9"));
}

TEST(TReadRes, HostileFilesGiveErrorTextsNotCrashes)
{
    const ProgramFolder folder(QStringLiteral("res-hostile"));
    const QList<QByteArray> files = {QByteArray(),
                                     QByteArray("\0\0\0\0", 4),
                                     QByteArray(100000, '['),
                                     QByteArray("[Resource]\n0"),
                                     QByteArray("[Resource]\n-1=x\n999999999999=y\n0x1=z\n"),
                                     QByteArray("\xff\xfe[\0", 4)};
    for (const QByteArray &bytes : files) {
        writeAll(folder.defaultLng, bytes);
        const TReadRes table(folder.defaultLng, folder.language);
        EXPECT_EQ(table.GetText(1), QStringLiteral("Error load res [1]"));
        EXPECT_EQ(table.LangAuthor, QStringLiteral("Not defined"));
    }
}

TEST(TReadRes, CurrentTableIsEmptyUntilInstalled)
{
    EXPECT_EQ(TReadRes::current().GetText(0), QString());
    const ProgramFolder folder(QStringLiteral("res-current"));
    writeAll(folder.defaultLng, languageFile(-1));
    TReadRes::setCurrent(std::make_unique<TReadRes>(folder.defaultLng, folder.language));
    EXPECT_EQ(TReadRes::current().GetText(5), QStringLiteral("text 5"));
    TReadRes::setCurrent(nullptr);
    EXPECT_EQ(TReadRes::current().GetText(5), QString());
}

// The language files shipped with the program.
class ShippedLanguage : public ::testing::TestWithParam<const char *>
{
};

TEST_P(ShippedLanguage, HoldsEveryTextAndItsDescription)
{
    const QString languages = QStringLiteral(JL_TEST_SOURCE_DIR "/resources/language");
    const QString path = languages + QLatin1Char('/') + QLatin1String(GetParam());
    ASSERT_TRUE(QFile::exists(path));
    const IniFile file(path);
    const QRegularExpression placeholder(QStringLiteral("%\\d"));
    for (int id = 0; id <= TReadRes::kLastLoadedId; ++id) {
        const QString text = file.readString(QStringLiteral("Resource"), QString::number(id),
                                             QStringLiteral("!!!"));
        EXPECT_NE(text, QStringLiteral("!!!")) << "id " << id;
        // Every id is asked for, so none may be left blank.
        EXPECT_FALSE(text.trimmed().isEmpty()) << "id " << id;
        EXPECT_FALSE(text.contains(placeholder)) << "id " << id;
    }
    for (const char *key : {"language", "author", "version", "email", "note"}) {
        EXPECT_FALSE(
            file.readString(QStringLiteral("General"), QLatin1String(key), QString()).isEmpty())
            << key;
    }
    // Loaded the way the program loads it, no requested id shows an error text.
    const TReadRes table(path, languages);
    for (int id = 0; id <= TReadRes::kLastLoadedId; ++id)
        EXPECT_FALSE(table.GetText(id).startsWith(QStringLiteral("Error load res"))) << id;
}

INSTANTIATE_TEST_SUITE_P(Files, ShippedLanguage,
                         ::testing::Values("english.lng", "german.lng", "italian.lng",
                                           "french.lng"));
