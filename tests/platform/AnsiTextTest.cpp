#include "platform/AnsiText.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(AnsiText, WesternTextIsStoredAsWindows1252)
{
    EXPECT_EQ(encodeAnsi(QStringLiteral("Caf\u00e9 \u20ac5")),
              QByteArray("Caf\xe9 \x80"
                         "5"));
    EXPECT_EQ(decodeAnsi(QByteArray("Caf\xe9 \x80"
                                    "5")),
              QStringLiteral("Caf\u00e9 \u20ac5"));
}

TEST(AnsiText, OtherScriptsAreStoredAsUtf8AndComeBack)
{
    const QString text
        = QStringLiteral("\u041f\u0440\u0438\u0432\u0435\u0442 \u65e5\u672c \U0001F600");
    EXPECT_EQ(encodeAnsi(text), text.toUtf8());
    EXPECT_EQ(decodeAnsi(encodeAnsi(text)), text);
}

TEST(AnsiText, EveryWindows1252ByteSurvivesARoundTrip)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = decodeWindows1252(all);
    EXPECT_EQ(text.size(), 256);
    EXPECT_TRUE(fitsWindows1252(text));
    EXPECT_EQ(encodeAnsi(text), all);
}

TEST(AnsiText, InvalidUtf8IsReadAsWindows1252)
{
    EXPECT_EQ(decodeAnsi(QByteArray("\xc3(")), QStringLiteral("\u00c3("));
}

// A settings or language file cut short by a full disk or a crash.
TEST(AnsiText, Utf8CutInsideItsLastCharacterStaysUtf8)
{
    EXPECT_EQ(decodeAnsi(QByteArray("caf\xc3\xa9 \xe6\x97")), QStringLiteral("caf\u00e9 "));
    EXPECT_EQ(decodeAnsi(QByteArray("\xc3\xa9\xf0\x9f\x98")), QStringLiteral("\u00e9"));
    EXPECT_EQ(decodeAnsi(QByteArray("\xc3\xa9\xc3")), QStringLiteral("\u00e9"));
    // Nothing before the cut shows it was UTF-8: a last byte of Windows-1252.
    EXPECT_EQ(decodeAnsi(QByteArray("abc\xc3")), QStringLiteral("abc\u00c3"));
    // Broken before the end: Windows-1252 as ever.
    EXPECT_EQ(decodeAnsi(QByteArray("caf\xc3\xa9 \xe6( \xe6\x97")),
              decodeWindows1252(QByteArray("caf\xc3\xa9 \xe6( \xe6\x97")));
}

TEST(AnsiText, LimitedTextIsCutAtACharacterBoundary)
{
    EXPECT_EQ(encodeAnsiLimited(QString(300, QLatin1Char('x')), 255).size(), 255);
    // Three bytes each in UTF-8: 255 bytes hold exactly 85 of them.
    const QString cjk(100, QChar(0x65e5));
    const QByteArray cut = encodeAnsiLimited(cjk, 255);
    EXPECT_EQ(cut.size(), 255);
    EXPECT_EQ(decodeAnsi(cut), QString(85, QChar(0x65e5)));
    // 254 bytes: the 85th character does not fit whole, so it is left out.
    EXPECT_EQ(encodeAnsiLimited(cjk, 254).size(), 252);
    // A surrogate pair is never split.
    const QString emoji = QStringLiteral("\U0001F600\U0001F600");
    EXPECT_EQ(decodeAnsi(encodeAnsiLimited(emoji, 6)), QStringLiteral("\U0001F600"));
}

TEST(AnsiText, CutThatDropsTheOnlyWideCharacterFallsBackToWindows1252)
{
    const QString text = QString(254, QLatin1Char('a')) + QChar(0x65e5);
    EXPECT_EQ(encodeAnsiLimited(text, 255), QByteArray(254, 'a'));
}
