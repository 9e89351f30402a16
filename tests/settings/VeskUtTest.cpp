#include "settings/veskUt.h"
#include "platform/FileUpdate.h"
#include "platform/Paths.h"
#include "platform/Registry.h"
#include "settings/SettingsTable.h"
#include "settings/StartupValues.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <gtest/gtest.h>

using platform::RegistryKey;
using platform::RegValue;
using settings::settingsKeyPath;
using settings::writeStartupValues;

namespace {

// Every test starts from an empty store in the test program's private HOME.
class SettingsStore : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QFile::remove(platform::registryFile());
        QDir().mkpath(platform::configFolder());
    }

    static std::optional<RegValue> stored(const QString &name)
    {
        return RegistryKey(settingsKeyPath()).value(name);
    }
    static void store(const QString &name, const RegValue &value)
    {
        RegistryKey(settingsKeyPath()).setValue(name, value);
    }
};

} // namespace

TEST_F(SettingsStore, KeyPathIsBuiltFromTheProduct)
{
    EXPECT_EQ(settingsKeyPath(), QStringLiteral("Software\\Harvel\\Vesk Jotlet 2003\\1.9.5"));
}

TEST_F(SettingsStore, ReadOfAMissingValueStoresTheDefault)
{
    EXPECT_EQ(readRegInt(QStringLiteral("width"), 135), 135);
    EXPECT_EQ(stored(QStringLiteral("width")), RegValue::fromDWord(135));
    // The first reader's default wins.
    EXPECT_EQ(readRegInt(QStringLiteral("width"), 200), 135);
    EXPECT_EQ(readRegString(QStringLiteral("fontName"), QStringLiteral("Arial")),
              QStringLiteral("Arial"));
    EXPECT_EQ(stored(QStringLiteral("fontName")), RegValue::fromText(QStringLiteral("Arial")));
    EXPECT_TRUE(readRegBool(QStringLiteral("FirstRun"), true));
    EXPECT_EQ(stored(QStringLiteral("FirstRun")), RegValue::fromDWord(1));
    EXPECT_FALSE(readRegBool(QStringLiteral("OnTopOnNew"), false));
    EXPECT_EQ(stored(QStringLiteral("OnTopOnNew")), RegValue::fromDWord(0));
}

TEST_F(SettingsStore, EmptyTextIsReplacedByTheDefault)
{
    writeRegString(QStringLiteral("Title"), QString());
    EXPECT_EQ(stored(QStringLiteral("title")), RegValue::fromText(QString()));
    EXPECT_EQ(readRegString(QStringLiteral("title"), QStringLiteral("Vesk Jotlet 2003")),
              QStringLiteral("Vesk Jotlet 2003"));
    EXPECT_EQ(stored(QStringLiteral("title"))->text(), QStringLiteral("Vesk Jotlet 2003"));
}

TEST_F(SettingsStore, NamesIgnoreLetterCase)
{
    writeRegString(QStringLiteral("Title"), QStringLiteral("Shopping"));
    EXPECT_EQ(readRegString(QStringLiteral("title"), QStringLiteral("x")),
              QStringLiteral("Shopping"));
    writeRegInt(QStringLiteral("LeftDefaultAction"), 1);
    EXPECT_EQ(readRegInt(QStringLiteral("LEFTDEFAULTACTION"), 0), 1);
    // Still one value each, under the first spelling.
    const QByteArray file = testsupport::readAll(platform::registryFile());
    EXPECT_EQ(file.count("\"Title\"="), 1);
    EXPECT_EQ(file.toLower().count("\"leftdefaultaction\"="), 1);
}

TEST_F(SettingsStore, WrongTypeIsReplacedByTheDefault)
{
    writeRegString(QStringLiteral("fontSize"), QStringLiteral("12"));
    EXPECT_EQ(readRegInt(QStringLiteral("fontSize"), 10), 10);
    EXPECT_EQ(stored(QStringLiteral("fontSize")), RegValue::fromDWord(10));
    writeRegInt(QStringLiteral("fontName"), 3);
    EXPECT_EQ(readRegString(QStringLiteral("fontName"), QStringLiteral("Arial")),
              QStringLiteral("Arial"));
    // A DWORD of the wrong size is no integer either.
    store(QStringLiteral("width"), RegValue {platform::RegDWord, QByteArray(8, '\1')});
    EXPECT_EQ(readRegInt(QStringLiteral("width"), 135), 135);
}

TEST_F(SettingsStore, ExpandableTextIsReadAsText)
{
    store(QStringLiteral("fontName"),
          RegValue::fromText(QStringLiteral("%FONT%"), platform::RegExpandString));
    EXPECT_EQ(readRegString(QStringLiteral("fontName"), QStringLiteral("Arial")),
              QStringLiteral("%FONT%"));
    EXPECT_EQ(stored(QStringLiteral("fontName"))->type, quint32(platform::RegExpandString));
}

TEST_F(SettingsStore, BooleansAreNumbers)
{
    writeRegInt(QStringLiteral("FontBold"), 5);
    EXPECT_TRUE(readRegBool(QStringLiteral("FontBold"), false));
    EXPECT_EQ(stored(QStringLiteral("FontBold")), RegValue::fromDWord(5));
    writeRegBool(QStringLiteral("FontBold"), true);
    EXPECT_EQ(stored(QStringLiteral("FontBold")), RegValue::fromDWord(1));
    writeRegBool(QStringLiteral("FontBold"), false);
    EXPECT_FALSE(readRegBool(QStringLiteral("FontBold"), true));
}

TEST_F(SettingsStore, ColoursAndNegativeNumbersRoundTrip)
{
    writeRegInt(QStringLiteral("backcolor"), qint32(0xFF000005));
    EXPECT_EQ(readRegInt(QStringLiteral("backcolor"), 0x0000FFFF), qint32(0xFF000005));
    writeRegInt(QStringLiteral("width"), -20);
    EXPECT_EQ(readRegInt(QStringLiteral("width"), 135), -20);
}

TEST_F(SettingsStore, UnopenableKeyGivesDefaultsAndWritesNothing)
{
    static const char bytes[] = "\0\1\2 not a registry file";
    const QByteArray garbage(bytes, sizeof bytes - 1);
    testsupport::writeAll(platform::registryFile(), garbage);
    EXPECT_EQ(readRegInt(QStringLiteral("width"), 135), 135);
    EXPECT_EQ(readRegString(QStringLiteral("title"), QStringLiteral("T")), QStringLiteral("T"));
    EXPECT_NO_THROW(writeRegInt(QStringLiteral("width"), 1));
    EXPECT_NO_THROW(writeStartupValues(QStringLiteral("/opt/jl/jotletlight")));
    EXPECT_EQ(testsupport::readAll(platform::registryFile()), garbage);
}

TEST_F(SettingsStore, RefusedWriteRaisesWithTheName)
{
    writeRegInt(QStringLiteral("width"), 1);
    platform::testhooks::setLockTimeoutMs(200);
    QLockFile other(platform::registryFile() + QStringLiteral(".lock"));
    ASSERT_TRUE(other.tryLock(0));
    try {
        writeRegInt(QStringLiteral("width"), 2);
        ADD_FAILURE() << "no error raised";
    } catch (const platform::ERegistryError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Failed to set data for 'width'"));
    }
    // The default write inside a read is refused the same way.
    EXPECT_THROW(readRegInt(QStringLiteral("height"), 80), platform::ERegistryError);
    platform::testhooks::setLockTimeoutMs(5000);
    other.unlock();
    EXPECT_EQ(readRegInt(QStringLiteral("width"), 0), 1);
}

TEST_F(SettingsStore, StartupValues)
{
    writeStartupValues(QStringLiteral("/opt/jotlet/bin/jotletlight"));
    const RegistryKey parent(QStringLiteral("\\Software\\Harvel"));
    EXPECT_EQ(parent.value(QStringLiteral("Vesk Jotlet 2003"))->text(),
              QStringLiteral("\\Software\\Harvel\\Vesk Jotlet 2003\\1.9.5"));
    EXPECT_EQ(stored(QStringLiteral("Path"))->text(), QStringLiteral("/opt/jotlet/bin"));
    EXPECT_EQ(stored(QStringLiteral("Filename"))->text(),
              QStringLiteral("/opt/jotlet/bin/jotletlight"));
    EXPECT_EQ(stored(QStringLiteral("Version")), RegValue::fromText(QStringLiteral("1.9.5")));
    EXPECT_EQ(stored(QStringLiteral("AboutBox")), RegValue::fromDWord(0));

    // A moved executable updates the paths; a boolean AboutBox is left as it is.
    writeRegBool(QStringLiteral("AboutBox"), true);
    writeStartupValues(QStringLiteral("/usr/bin/jotletlight"));
    EXPECT_EQ(stored(QStringLiteral("Path"))->text(), QStringLiteral("/usr/bin"));
    EXPECT_EQ(stored(QStringLiteral("AboutBox")), RegValue::fromDWord(1));
    // AboutBox of another type becomes false.
    writeRegString(QStringLiteral("AboutBox"), QStringLiteral("yes"));
    writeStartupValues(QStringLiteral("/usr/bin/jotletlight"));
    EXPECT_EQ(stored(QStringLiteral("AboutBox")), RegValue::fromDWord(0));
}

// The options dialog and a new note pass different font defaults: the
// dialog the table's, the note its own built-in font's face, size and style
// (never its colour). Whichever reads first stores its defaults.
TEST_F(SettingsStore, FontDefaultsDependOnTheReader)
{
    storage::FontDesc builtIn;
    builtIn.name = QStringLiteral("MS Sans Serif");
    builtIn.size = 8;
    builtIn.bold = builtIn.italic = builtIn.underline = true;
    builtIn.color = 0x00FF0000;
    storage::FontDesc noteReads = builtIn;
    noteReads.color = 0;
    storage::FontDesc dialogReads;
    dialogReads.name = QStringLiteral("Arial");
    dialogReads.size = 10;

    for (const settings::FontSettings &group : {settings::kNoteFont, settings::kTitleFont}) {
        SCOPED_TRACE(group.face.name);
        QFile::remove(platform::registryFile());
        EXPECT_EQ(group.read(), dialogReads);
        EXPECT_EQ(group.readForNewNote(builtIn), dialogReads) << "the dialog read first";

        QFile::remove(platform::registryFile());
        EXPECT_EQ(group.readForNewNote(builtIn), noteReads);
        EXPECT_EQ(stored(QLatin1String(group.underline.name)), RegValue::fromDWord(1));
        EXPECT_EQ(group.read(), noteReads) << "the note read first";
    }
}
