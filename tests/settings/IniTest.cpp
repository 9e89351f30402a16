#include "settings/Ini.h"
#include "support/TempHome.h"

#include <QFile>
#include <gtest/gtest.h>

using settings::IniDocument;
using settings::IniFile;
using testsupport::freshDir;
using testsupport::readAll;
using testsupport::writeAll;

TEST(IniDocument, ProfileReadingRules)
{
    const IniDocument ini
        = IniDocument::parse(QStringLiteral("; comment=not a key\r\n"
                                            "  [ Options ]  \r\n"
                                            "  Flags =  42 \r\n"
                                            "quoted=\"  padded  \"\r\n"
                                            "single=' x '\r\n"
                                            "unbalanced=\"open\r\n"
                                            "twice=\"\"inner\"\"\r\n"
                                            "empty=\r\n"
                                            "equals=a=b\r\n"
                                            "[other]\r\n"
                                            "flags=other section\r\n"
                                            "[OPTIONS]\r\n"
                                            "later=second block of the same section\r\n"));
    const QString options = QStringLiteral("options");
    EXPECT_EQ(ini.value(options, QStringLiteral("FLAGS")), QStringLiteral("42"));
    EXPECT_EQ(ini.value(options, QStringLiteral("quoted")), QStringLiteral("  padded  "));
    EXPECT_EQ(ini.value(options, QStringLiteral("single")), QStringLiteral(" x "));
    EXPECT_EQ(ini.value(options, QStringLiteral("unbalanced")), QStringLiteral("\"open"));
    EXPECT_EQ(ini.value(options, QStringLiteral("twice")), QStringLiteral("\"inner\""));
    EXPECT_EQ(ini.value(options, QStringLiteral("empty")), QString());
    EXPECT_EQ(ini.value(options, QStringLiteral("equals")), QStringLiteral("a=b"));
    EXPECT_EQ(ini.value(options, QStringLiteral("later")),
              QStringLiteral("second block of the same section"));
    EXPECT_EQ(ini.value(QStringLiteral("Other"), QStringLiteral("flags")),
              QStringLiteral("other section"));
    EXPECT_FALSE(ini.value(options, QStringLiteral("; comment")));
    EXPECT_FALSE(ini.value(options, QStringLiteral("missing")));
    EXPECT_FALSE(ini.value(QStringLiteral("nowhere"), QStringLiteral("flags")));
}

TEST(IniDocument, WriterKeepsTheRestOfTheFile)
{
    const QString text = QStringLiteral("; my settings\n[options]\nFlags = 1\n\n"
                                        "[other]\nx=1\n\n; end\n");
    IniDocument ini = IniDocument::parse(text);
    ini.setValue(QStringLiteral("OPTIONS"), QStringLiteral("flags"), QStringLiteral("2"));
    ini.setValue(QStringLiteral("options"), QStringLiteral("NormPos"), QStringLiteral("1,2,3,4"));
    ini.setValue(QStringLiteral("new"), QStringLiteral("k"), QStringLiteral("v"));
    EXPECT_EQ(ini.toText(),
              QStringLiteral("; my settings\n[options]\nFlags=2\nNormPos=1,2,3,4\n\n"
                             "[other]\nx=1\n\n; end\n\n[new]\nk=v\n"));
}

TEST(IniDocument, WrittenValuesReadBackExactly)
{
    IniDocument ini;
    const QStringList values = {QStringLiteral("  blanks  "), QStringLiteral("\"quoted\""),
                                QStringLiteral("'single'"),   QString(),
                                QStringLiteral("a=b;c"),      QStringLiteral("\"")};
    for (int i = 0; i < values.size(); ++i)
        ASSERT_TRUE(ini.setValue(QStringLiteral("s"), QString::number(i), values[i]));
    const IniDocument reread = IniDocument::parse(ini.toText());
    for (int i = 0; i < values.size(); ++i)
        EXPECT_EQ(reread.value(QStringLiteral("s"), QString::number(i)), values[i]) << i;
    // A line break cannot stand in a value: it becomes a blank.
    ini.setValue(QStringLiteral("s"), QStringLiteral("lines"), QStringLiteral("a\r\nb\nc"));
    EXPECT_EQ(IniDocument::parse(ini.toText()).value(QStringLiteral("s"), QStringLiteral("lines")),
              QStringLiteral("a b c"));
}

TEST(IniDocument, NamesThatCannotBeWrittenAreRefused)
{
    IniDocument ini;
    EXPECT_FALSE(ini.setValue(QStringLiteral("a]b"), QStringLiteral("k"), QStringLiteral("v")));
    EXPECT_FALSE(ini.setValue(QStringLiteral("s"), QStringLiteral("k=1"), QStringLiteral("v")));
    EXPECT_FALSE(ini.setValue(QStringLiteral("s"), QStringLiteral(" k"), QStringLiteral("v")));
    EXPECT_FALSE(ini.setValue(QStringLiteral("s"), QStringLiteral("[k"), QStringLiteral("v")));
    EXPECT_FALSE(ini.setValue(QStringLiteral("s\n"), QStringLiteral("k"), QStringLiteral("v")));
    EXPECT_FALSE(ini.setValue(QString(), QStringLiteral("k"), QStringLiteral("v")));
    EXPECT_TRUE(ini.toText().isEmpty());
}

TEST(IniFile, MissingFileGivesDefaultsAndWritingCreatesIt)
{
    const QString path = freshDir(QStringLiteral("ini-new")) + QStringLiteral("/sub/jotlig.ini");
    IniFile ini(path);
    EXPECT_EQ(
        ini.readString(QStringLiteral("options"), QStringLiteral("NormPos"), QStringLiteral("def")),
        QStringLiteral("def"));
    EXPECT_EQ(ini.readInteger(QStringLiteral("options"), QStringLiteral("Flags"), 7), 7);
    ASSERT_TRUE(
        ini.writeString(QStringLiteral("options"), QStringLiteral("Flags"), QStringLiteral("-3")));
    EXPECT_EQ(ini.readInteger(QStringLiteral("options"), QStringLiteral("Flags"), 7), -3);
    EXPECT_EQ(readAll(path), QByteArray("[options]\nFlags=-3\n"));
    EXPECT_EQ(IniFile(path).readInteger(QStringLiteral("options"), QStringLiteral("flags"), 0), -3);
}

TEST(IniFile, EncodingOfTheFileIsKept)
{
    const QString dir = freshDir(QStringLiteral("ini-enc"));
    const struct
    {
        QByteArray before;
        QByteArray after;
    } cases[] = {
        {"[a]\nk=Caf\xe9\n", "[a]\nk=Caf\xe9\nn=\xe9t\xe9\n"},
        {"[a]\nk=Caf\xc3\xa9\n", "[a]\nk=Caf\xc3\xa9\nn=\xc3\xa9t\xc3\xa9\n"},
        {"\xef\xbb\xbf[a]\nk=x\n", "\xef\xbb\xbf[a]\nk=x\nn=\xc3\xa9t\xc3\xa9\n"},
    };
    for (const auto &c : cases) {
        const QString path = dir + QStringLiteral("/f.ini");
        writeAll(path, c.before);
        IniFile ini(path);
        ASSERT_TRUE(ini.writeString(QStringLiteral("a"), QStringLiteral("n"),
                                    QStringLiteral("\u00e9t\u00e9")));
        EXPECT_EQ(readAll(path), c.after);
    }
    // A character outside Windows-1252 turns a 1252 file into UTF-8, meaning intact.
    const QString path = dir + QStringLiteral("/g.ini");
    writeAll(path, "[a]\nk=Caf\xe9\n");
    IniFile ini(path);
    ASSERT_TRUE(
        ini.writeString(QStringLiteral("a"), QStringLiteral("n"), QStringLiteral("\u65e5")));
    EXPECT_EQ(IniFile(path).readString(QStringLiteral("a"), QStringLiteral("k"), {}),
              QStringLiteral("Caf\u00e9"));
}

TEST(IniFile, FileThatIsNotTextIsNeverOverwritten)
{
    const QString path = freshDir(QStringLiteral("ini-bin")) + QStringLiteral("/jotlig.ini");
    const QByteArray binary("[options]\0\xff\xfe", 12);
    writeAll(path, binary);
    IniFile ini(path);
    EXPECT_EQ(
        ini.readString(QStringLiteral("options"), QStringLiteral("Flags"), QStringLiteral("d")),
        QStringLiteral("d"));
    EXPECT_FALSE(
        ini.writeString(QStringLiteral("options"), QStringLiteral("Flags"), QStringLiteral("1")));
    EXPECT_EQ(readAll(path), binary);
}
