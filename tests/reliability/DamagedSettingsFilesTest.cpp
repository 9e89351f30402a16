// Language files and the registry file cut short at every offset, with every
// byte changed, and of random bytes: nothing crashes, hangs or throws; a
// text is either what the file says, or its documented fallback; and a
// registry file the program writes into keeps every line it had, readable or
// not, so nothing of the user's is ever dropped.
#include "reliability/Damage.h"

#include "platform/AnsiText.h"
#include "platform/FileUpdate.h"
#include "platform/Paths.h"
#include "platform/RegDocument.h"
#include "platform/Registry.h"
#include "platform/TextFile.h"
#include "settings/DResource.h"
#include "settings/Ini.h"
#include "settings/veskUt.h"
#include "support/TempHome.h"

#include <QFile>
#include <gtest/gtest.h>

#include <algorithm>

using settings::IniDocument;
using settings::IniFile;
using settings::settingsKeyPath;
using testsupport::readAll;
using testsupport::writeAll;

namespace {

// Each input goes into a new file: rewriting one file in place makes the
// file system flush it every time, which costs more than the read.
QString newInputPath(const QString &suffix)
{
    static const QString folder = testsupport::freshDir(QStringLiteral("damaged-settings"));
    static int inputs = 0;
    return folder + QLatin1Char('/') + QString::number(++inputs) + suffix;
}

// Every line of `before` is in `after`, in the same order.
bool keepsEveryLine(const QString &before, const QString &after)
{
    const QStringList kept = platform::textLines(after);
    qsizetype next = 0;
    for (const QString &line : platform::textLines(before)) {
        next = kept.indexOf(line, next);
        if (next < 0)
            return false;
        ++next;
    }
    return true;
}

bool isAscii(const QByteArray &bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return quint8(c) < 0x80; });
}

// ---- language files ----

const QString kNoLanguageFolder = QStringLiteral("/nonexistent-language-folder");

QByteArray englishFile()
{
    return readAll(QStringLiteral(JL_TEST_SOURCE_DIR "/resources/language/english.lng"));
}

std::unique_ptr<TReadRes> tableOf(const QByteArray &bytes)
{
    const QString path = newInputPath(QStringLiteral(".lng"));
    writeAll(path, bytes);
    auto table = std::make_unique<TReadRes>(path, kNoLanguageFolder);
    EXPECT_EQ(readAll(path), bytes) << "loading a language changed its file";
    QFile::remove(path);
    return table;
}

// A file whose bytes are not UTF-8, even allowing for a cut inside the last
// character, is read as Windows-1252.
bool readAsWindows1252(const QByteArray &bytes)
{
    return !bytes.isValidUtf8()
        && platform::decodeAnsi(bytes) == platform::decodeWindows1252(bytes);
}

QString missingText(int id)
{
    return QStringLiteral("Error load res [%1]").arg(id);
}

class DamagedLanguageFile : public ::testing::Test
{
protected:
    const QByteArray full = englishFile();
    const std::unique_ptr<TReadRes> reference = tableOf(full);

    // The ids whose text is neither the file's nor the missing-text fallback.
    // Where a change breaks the file's UTF-8, it is read as Windows-1252,
    // so only texts beyond ASCII may then look different.
    QList<int> oddTexts(const TReadRes &table, const QByteArray &bytes,
                        bool allowPrefixes = false) const
    {
        const bool recoded = readAsWindows1252(bytes);
        QList<int> odd;
        for (int id = 0; id <= TReadRes::kLastId; ++id) {
            const QString text = table.GetText(id);
            const QString original = reference->GetText(id);
            if (text == original || text == missingText(id))
                continue;
            if (allowPrefixes && original.startsWith(text))
                continue; // the cut line
            if (recoded && original != QString::fromLatin1(original.toLatin1()))
                continue;
            odd << id;
        }
        return odd;
    }
};

TEST_F(DamagedLanguageFile, CutAtEveryOffsetGivesTheTextsItHoldsOrTheFallback)
{
    ASSERT_EQ(reference->GetText(0), QStringLiteral("New Jotlet"));
    damage::forEachCut(full, [&](const QByteArray &bytes, int cut) {
        const std::unique_ptr<TReadRes> table = tableOf(bytes);
        EXPECT_EQ(oddTexts(*table, bytes, true), QList<int>()) << "cut " << cut;
        for (const QString &general :
             {table->LangLanguage, table->LangAuthor, table->LangVersion, table->LangEmail}) {
            EXPECT_FALSE(general.isNull()) << "cut " << cut;
        }
        EXPECT_EQ(table->GetText(106), QStringLiteral("No resource 106"));
    });
}

// One changed byte spoils at most its own line and the one it may merge
// with or stand in for; every other text stays.
TEST_F(DamagedLanguageFile, AChangedByteSpoilsNoMoreThanItsLine)
{
    damage::forEachChangedByte(
        full,
        [&](const QByteArray &bytes, const QString &change) {
            const std::unique_ptr<TReadRes> table = tableOf(bytes);
            EXPECT_LE(oddTexts(*table, bytes).size(), 2) << change.toStdString();
        },
        damage::coreChanges());
}

TEST_F(DamagedLanguageFile, RandomBytesGiveTextsOrTheFallback)
{
    damage::forEachRandom(500, 600, [&](const QByteArray &bytes, const QString &input) {
        const std::unique_ptr<TReadRes> table = tableOf(bytes);
        for (int id = 0; id <= TReadRes::kLastLoadedId; ++id)
            EXPECT_FALSE(table->GetText(id).isNull()) << input.toStdString();
    });
}

// The INI reader keeps every line of whatever text it is given, so writing
// one value never drops the rest of a damaged file.
TEST_F(DamagedLanguageFile, WritingIntoADamagedIniKeepsEveryOtherLine)
{
    int written = 0;
    damage::forEachCut(full, [&](const QByteArray &bytes, int cut) {
        const std::optional<platform::DecodedText> text = platform::decodeTextFile(bytes);
        ASSERT_TRUE(text) << "cut " << cut;
        IniDocument document = IniDocument::parse(text->text);
        EXPECT_EQ(platform::textLines(document.toText()), platform::textLines(text->text))
            << "cut " << cut;
        ASSERT_TRUE(document.setValue(QStringLiteral("Check"), QStringLiteral("value"),
                                      QStringLiteral("written")));
        EXPECT_TRUE(keepsEveryLine(text->text, document.toText())) << "cut " << cut;
        EXPECT_EQ(document.value(QStringLiteral("Check"), QStringLiteral("value")),
                  QStringLiteral("written"));
        // The same through the file, for some of them (each write is flushed to disk).
        if (cut % 97 == 0) {
            const QString path = newInputPath(QStringLiteral(".ini"));
            writeAll(path, bytes);
            ASSERT_TRUE(IniFile(path).writeString(QStringLiteral("Check"), QStringLiteral("value"),
                                                  QStringLiteral("written")));
            EXPECT_TRUE(keepsEveryLine(text->text, platform::decodeTextFile(readAll(path))->text));
            ++written;
        }
    });
    EXPECT_GT(written, 10);
}

TEST(DamagedIniFile, WritingIntoAFileThatIsNoTextLeavesItAlone)
{
    const QByteArray binary("[General]\nlanguage=Eng\0lish\n", 27);
    const QString path = newInputPath(QStringLiteral(".ini"));
    writeAll(path, binary);
    EXPECT_FALSE(IniFile(path).writeString(QStringLiteral("General"), QStringLiteral("author"),
                                           QStringLiteral("me")));
    EXPECT_EQ(readAll(path), binary);
}

// ---- the registry file ----

struct Setting
{
    const char *name;
    std::optional<qint32> number; // else a text
    const char *text;
};

// A user's settings as the program stores them, with escapes and non-ASCII.
const Setting kSettings[] = {
    {"Path", std::nullopt, "/home/j\xc3\xbcrgen/my \"apps\"\\bin"},
    {"Filename", std::nullopt, "/home/j\xc3\xbcrgen/my \"apps\"\\bin/jotletlight"},
    {"Version", std::nullopt, "1.9.5"},
    {"title", std::nullopt, "Einkauf \xe2\x82\xac"},
    {"fontName", std::nullopt, "DejaVu Sans"},
    {"AboutBox", 0, nullptr},
    {"FirstRun", 0, nullptr},
    {"width", 180, nullptr},
    {"height", 140, nullptr},
    {"backcolor", 0x0000FFFF, nullptr},
    {"BackTitleColor", 0x00C0DCC0, nullptr},
    {"fontSize", 10, nullptr},
    {"FontColor", qint32(0xFF000008), nullptr},
    {"position", 2, nullptr},
    {"LeftDefaultAction", 1, nullptr},
};

// The registry reads NULs in its own file as damage to their lines.
std::optional<platform::DecodedText> registryText(const QByteArray &bytes)
{
    return platform::decodeTextFile(bytes, platform::NulBytes::Damage);
}

platform::RegValue valueOf(const Setting &setting)
{
    return setting.number ? platform::RegValue::fromDWord(*setting.number)
                          : platform::RegValue::fromText(QString::fromUtf8(setting.text));
}

QStringList settingsKey()
{
    return *platform::parseKeyPath(settingsKeyPath());
}

class DamagedRegistryFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QFile::remove(platform::registryFile());
        for (const Setting &setting : kSettings) {
            if (setting.number)
                writeRegInt(QLatin1String(setting.name), *setting.number);
            else
                writeRegString(QLatin1String(setting.name), QString::fromUtf8(setting.text));
        }
        full = readAll(platform::registryFile());
        ASSERT_TRUE(full.startsWith("Windows Registry Editor Version 5.00"));
    }

    // Reads the damaged file in memory: every value is absent or the one
    // stored (a cut may leave a shorter run of a number's hex digits on the
    // last line), the text comes back line for line, and setting a value
    // keeps every other line.
    void expectSoundDocument(const QByteArray &bytes, const QString &what, bool cut)
    {
        const std::optional<platform::DecodedText> text = registryText(bytes);
        if (!text)
            return; // not text: the program leaves such a file alone (below)
        platform::RegDocument document = platform::RegDocument::parse(text->text);
        EXPECT_EQ(platform::textLines(document.toText()), platform::textLines(text->text))
            << what.toStdString();
        for (const Setting &setting : kSettings) {
            const std::optional<platform::RegValue> value
                = document.value(settingsKey(), QLatin1String(setting.name));
            if (!cut || !value || *value == valueOf(setting))
                continue;
            // Bytes that are no UTF-8 but where cut make the file Windows-1252.
            if (!setting.number && readAsWindows1252(bytes) && !isAscii(setting.text))
                continue;
            const bool onTheCutLine = setting.number && value->isDWord()
                && platform::textLines(text->text)
                       .last()
                       .startsWith(QLatin1Char('"') + QLatin1String(setting.name)
                                   + QLatin1Char('"'));
            EXPECT_TRUE(onTheCutLine) << what.toStdString() << ": " << setting.name;
        }
        ASSERT_TRUE(document.setValue(settingsKey(), QStringLiteral("Check"),
                                      platform::RegValue::fromDWord(7)));
        EXPECT_TRUE(keepsEveryLine(text->text, document.toText())) << what.toStdString();
        EXPECT_EQ(document.value(settingsKey(), QStringLiteral("Check")),
                  platform::RegValue::fromDWord(7));
    }

    // The settings store on the damaged file: a read gives the stored value
    // or the default, and the default it stores keeps every line; a file
    // that is no text is not touched.
    void expectSoundStore(const QByteArray &bytes, const QString &what)
    {
        writeAll(platform::registryFile(), bytes);
        const qint32 width = readRegInt(QStringLiteral("width"), 135);
        EXPECT_TRUE(width == 180 || width == 135) << what.toStdString() << ": " << width;
        EXPECT_EQ(readRegInt(QStringLiteral("Check"), 7), 7) << what.toStdString();
        const QByteArray after = readAll(platform::registryFile());
        const std::optional<platform::DecodedText> before = registryText(bytes);
        if (!before) {
            EXPECT_EQ(after, bytes) << what.toStdString();
            return;
        }
        EXPECT_TRUE(keepsEveryLine(before->text, registryText(after)->text)) << what.toStdString();
    }

    QByteArray full;
};

TEST_F(DamagedRegistryFile, CutAtEveryOffsetLosesNoValueAndNoLine)
{
    const QByteArray utf16
        = platform::encodeTextFile(QString::fromUtf8(full), platform::TextEncoding::Utf16LE);
    for (const QByteArray &file : {full, utf16}) {
        damage::forEachCut(file, [&](const QByteArray &bytes, int cut) {
            const QString what = QStringLiteral("cut %1 of %2 bytes").arg(cut).arg(file.size());
            expectSoundDocument(bytes, what, true);
            if (cut % 61 == 0)
                expectSoundStore(bytes, what);
        });
    }
}

TEST_F(DamagedRegistryFile, EveryChangedByteLosesNoLine)
{
    int sample = 0;
    damage::forEachChangedByte(full, [&](const QByteArray &bytes, const QString &change) {
        expectSoundDocument(bytes, change, false);
        if (++sample % 211 == 0)
            expectSoundStore(bytes, change);
    });
}

TEST_F(DamagedRegistryFile, RandomBytesLoseNoLine)
{
    int sample = 0;
    damage::forEachRandom(1000, 400, [&](const QByteArray &bytes, const QString &input) {
        expectSoundDocument(bytes, input, false);
        if (++sample % 50 == 0)
            expectSoundStore(bytes, input);
    });
}

// The program never makes its settings file one it cannot read back: a
// write that would take it past the read limit is refused, and the file
// stays as it was, every value readable.
TEST_F(DamagedRegistryFile, NoWriteTakesTheFilePastTheSizeItIsReadUpTo)
{
    const QByteArray bytes
        = full + ';' + QByteArray(platform::kMaxSettingsFileBytes - full.size() - 2, 'x') + '\n';
    ASSERT_EQ(bytes.size(), platform::kMaxSettingsFileBytes);
    writeAll(platform::registryFile(), bytes);

    EXPECT_THROW(writeRegString(QStringLiteral("title"), QStringLiteral("a longer title")),
                 platform::ERegistryError);
    EXPECT_EQ(readAll(platform::registryFile()), bytes);
    EXPECT_EQ(readRegInt(QStringLiteral("width"), 135), 180);
    EXPECT_EQ(readRegString(QStringLiteral("title"), QString()),
              QString::fromUtf8("Einkauf \xe2\x82\xac"));
}

} // namespace
