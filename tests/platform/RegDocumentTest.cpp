#include "platform/RegDocument.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

const QStringList kSettings = {QStringLiteral("Software"), QStringLiteral("Harvel"),
                               QStringLiteral("Vesk Jotlet 2003"), QStringLiteral("1.9.5")};

QString settingsFile(const QString &values)
{
    return QStringLiteral("Windows Registry Editor Version 5.00\n\n"
                          "[HKEY_CURRENT_USER\\Software\\Harvel\\Vesk Jotlet 2003\\1.9.5]\n")
        + values + QStringLiteral("\n");
}

} // namespace

TEST(RegDocument, ReadsTheThreeKindsTheProgramUses)
{
    const RegDocument doc = RegDocument::parse(
        settingsFile(QStringLiteral("\"title\"=\"say \\\"hi\\\" C:\\\\notes\"\n"
                                    "\"width\"=dword:0000002a\n"
                                    "\"color\"=dword:ff000005\n"
                                    "\"Path\"=hex(2):25,00,48,00,4f,00,4d,00,45,00,25,00,00,00\n"
                                    "@=\"default\"")));
    EXPECT_EQ(doc.value(kSettings, QStringLiteral("title"))->text(),
              QStringLiteral("say \"hi\" C:\\notes"));
    EXPECT_EQ(doc.value(kSettings, QStringLiteral("width"))->dword(), 42);
    // Colours with the system flag read as negative numbers.
    EXPECT_EQ(doc.value(kSettings, QStringLiteral("color"))->dword(), qint32(0xff000005));
    const RegValue path = *doc.value(kSettings, QStringLiteral("Path"));
    EXPECT_EQ(path.type, quint32(RegExpandString));
    EXPECT_EQ(path.text(), QStringLiteral("%HOME%"));
    EXPECT_EQ(doc.value(kSettings, QString())->text(), QStringLiteral("default"));
    EXPECT_FALSE(doc.value(kSettings, QStringLiteral("missing")));
}

TEST(RegDocument, NamesAndKeysIgnoreAsciiCaseOnly)
{
    RegDocument doc = RegDocument::parse(settingsFile(QStringLiteral("\"Title\"=\"mine\"")));
    const QStringList upper = {QStringLiteral("SOFTWARE"), QStringLiteral("harvel"),
                               QStringLiteral("VESK jotlet 2003"), QStringLiteral("1.9.5")};
    EXPECT_EQ(doc.value(upper, QStringLiteral("tItLe"))->text(), QStringLiteral("mine"));
    // Only ASCII folds: these are different names.
    doc.setValue(kSettings, QStringLiteral("\u00c4"), RegValue::fromDWord(1));
    EXPECT_FALSE(doc.value(kSettings, QStringLiteral("\u00e4")));
    // Writing under another spelling replaces the value and keeps the first spelling.
    doc.setValue(kSettings, QStringLiteral("TITLE"), RegValue::fromText(QStringLiteral("new")));
    EXPECT_TRUE(doc.toText().contains(QStringLiteral("\"Title\"=\"new\"")));
    EXPECT_FALSE(doc.toText().contains(QStringLiteral("TITLE")));
    EXPECT_EQ(doc.toText().count(QStringLiteral("Title")), 1);
}

TEST(RegDocument, SetReplacesAValueOfAnyType)
{
    RegDocument doc = RegDocument::parse(settingsFile(QStringLiteral("\"fontSize\"=\"big\"")));
    doc.setValue(kSettings, QStringLiteral("fontsize"), RegValue::fromDWord(10));
    EXPECT_EQ(*doc.value(kSettings, QStringLiteral("fontSize")), RegValue::fromDWord(10));
    EXPECT_EQ(doc.toText(), settingsFile(QStringLiteral("\"fontSize\"=dword:0000000a")));
}

TEST(RegDocument, UnknownLinesAndOtherRootsAreKeptInPlace)
{
    const QString text
        = QStringLiteral("Windows Registry Editor Version 5.00\r\n"
                         "; written by hand\r\n"
                         "\r\n"
                         "[HKEY_LOCAL_MACHINE\\Software\\Harvel\\Vesk Jotlet 2003\\1.9.5]\r\n"
                         "\"width\"=dword:00000001\r\n"
                         "\r\n"
                         "[HKEY_CURRENT_USER\\Software\\Harvel\\Vesk Jotlet 2003\\1.9.5]\r\n"
                         "garbage line = with no sense\r\n"
                         "\"broken\"=dword:xyz\r\n"
                         "\"width\"=dword:00000087\r\n"
                         "\"multi\"=hex(7):61,00,00,00,62,00,00,00,\\\r\n"
                         "  00,00\r\n"
                         "\r\n");
    RegDocument doc = RegDocument::parse(text);
    QString expected = text;
    expected.remove(QLatin1Char('\r'));
    EXPECT_EQ(doc.toText(), expected);
    EXPECT_EQ(doc.value(kSettings, QStringLiteral("width"))->dword(), 0x87);
    EXPECT_FALSE(doc.value(kSettings, QStringLiteral("broken")));
    const RegValue multi = *doc.value(kSettings, QStringLiteral("multi"));
    EXPECT_EQ(multi.type, 7u);
    EXPECT_EQ(multi.data, QByteArray("a\0\0\0b\0\0\0\0\0", 10));

    doc.setValue(kSettings, QStringLiteral("height"), RegValue::fromDWord(80));
    expected.replace(QStringLiteral("  00,00\n"),
                     QStringLiteral("  00,00\n\"height\"=dword:00000050\n"));
    EXPECT_EQ(doc.toText(), expected);
}

TEST(RegDocument, LastDefinitionWinsAndSetLeavesOne)
{
    RegDocument doc = RegDocument::parse(settingsFile(
        QStringLiteral("\"a\"=dword:00000001\n\"other\"=\"x\"\n\"A\"=dword:00000002")));
    EXPECT_EQ(doc.value(kSettings, QStringLiteral("a"))->dword(), 2);
    doc.setValue(kSettings, QStringLiteral("a"), RegValue::fromDWord(3));
    EXPECT_EQ(doc.toText(), settingsFile(QStringLiteral("\"other\"=\"x\"\n\"A\"=dword:00000003")));
    EXPECT_TRUE(doc.removeValue(kSettings, QStringLiteral("a")));
    EXPECT_FALSE(doc.removeValue(kSettings, QStringLiteral("a")));
    EXPECT_EQ(doc.toText(), settingsFile(QStringLiteral("\"other\"=\"x\"")));
}

TEST(RegDocument, EmptyDocumentGetsHeaderAndSection)
{
    RegDocument doc;
    doc.setValue(kSettings, QStringLiteral("Version"), RegValue::fromText(QStringLiteral("1.9.5")));
    // Sections end with a blank line, as the registry editor writes them.
    EXPECT_EQ(doc.toText(), settingsFile(QStringLiteral("\"Version\"=\"1.9.5\"\n")));
    // A second key goes into its own section after a blank line.
    doc.setValue({QStringLiteral("Software"), QStringLiteral("Harvel")},
                 QStringLiteral("Vesk Jotlet 2003"), RegValue::fromText(QStringLiteral("x")));
    EXPECT_TRUE(doc.toText().endsWith(
        QStringLiteral("\"Version\"=\"1.9.5\"\n\n[HKEY_CURRENT_USER\\Software\\Harvel]\n"
                       "\"Vesk Jotlet 2003\"=\"x\"\n\n")));
}

TEST(RegDocument, KeysExistThroughTheirSubkeys)
{
    RegDocument doc = RegDocument::parse(settingsFile(QString()));
    EXPECT_TRUE(doc.hasKey({QStringLiteral("software"), QStringLiteral("HARVEL")}));
    EXPECT_TRUE(doc.hasKey(kSettings));
    EXPECT_TRUE(doc.hasKey({}));
    // "Harv" is a prefix of the name, not a parent key.
    EXPECT_FALSE(doc.hasKey({QStringLiteral("Software"), QStringLiteral("Harv")}));
    const QString before = doc.toText();
    doc.createKey({QStringLiteral("Software"), QStringLiteral("Harvel")});
    EXPECT_EQ(doc.toText(), before);
}

TEST(RegDocument, TextsThatCannotStandInQuotesRoundTripAsHex)
{
    RegDocument doc;
    const QString lines = QStringLiteral("first\nsecond\r\n\u65e5\U0001F600 \"q\" \\");
    doc.setValue(kSettings, QStringLiteral("multi"), RegValue::fromText(lines));
    doc.setValue(kSettings, QStringLiteral("exp"),
                 RegValue::fromText(QString(60, QLatin1Char('x')), RegExpandString));
    doc.setValue(kSettings, QStringLiteral("bin"), RegValue {RegBinary, QByteArray()});
    const RegDocument reread = RegDocument::parse(doc.toText());
    EXPECT_EQ(reread.value(kSettings, QStringLiteral("multi"))->text(), lines);
    EXPECT_EQ(reread.value(kSettings, QStringLiteral("multi"))->type, quint32(RegString));
    EXPECT_EQ(reread.value(kSettings, QStringLiteral("exp"))->text(),
              QString(60, QLatin1Char('x')));
    EXPECT_EQ(*reread.value(kSettings, QStringLiteral("bin")),
              (RegValue {RegBinary, QByteArray()}));
    // Every physical line stays short, as the registry editor writes them.
    for (const QString &line : doc.toText().split(QLatin1Char('\n')))
        EXPECT_LE(line.size(), 80);
}

TEST(RegDocument, NamesThatWouldBreakTheLineAreRefused)
{
    RegDocument doc;
    EXPECT_FALSE(doc.setValue(kSettings, QStringLiteral("a\nb"), RegValue::fromDWord(1)));
    EXPECT_TRUE(doc.toText().isEmpty());
    EXPECT_TRUE(doc.setValue(kSettings, QStringLiteral("q\"uote\\d"), RegValue::fromDWord(1)));
    EXPECT_EQ(RegDocument::parse(doc.toText()).value(kSettings, QStringLiteral("q\"uote\\d")),
              RegValue::fromDWord(1));
}

TEST(RegDocument, KeyPathsAreValidated)
{
    EXPECT_EQ(parseKeyPath(QStringLiteral("\\Software\\Harvel")),
              QStringList({QStringLiteral("Software"), QStringLiteral("Harvel")}));
    EXPECT_EQ(parseKeyPath(QStringLiteral("Software\\")),
              QStringList({QStringLiteral("Software")}));
    EXPECT_FALSE(parseKeyPath(QStringLiteral("Software\\\\Harvel")));
    EXPECT_FALSE(parseKeyPath(QStringLiteral("Soft\nware")));
}
