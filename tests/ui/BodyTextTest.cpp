#include "ui/BodyText.h"
#include "ui/Pictures.h"

#include "UiTestSupport.h"

#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

TEST(BodyText, LinesRoundTripWithEmptyLines)
{
    QTextDocument document;
    const QStringList lines = {"first", "", "third", ""};
    ui::setPlainLines(document, lines);
    EXPECT_EQ(ui::plainLines(document), lines);
    EXPECT_EQ(document.blockCount(), 4);
}

TEST(BodyText, AnEmptyBodyHasNoLines)
{
    QTextDocument document;
    EXPECT_TRUE(ui::plainLines(document).isEmpty());
    ui::setPlainLines(document, {});
    EXPECT_TRUE(document.isEmpty());
    EXPECT_TRUE(ui::plainLines(document).isEmpty());
}

TEST(BodyText, SoftBreaksStartLinesAndPicturesLeaveNoTrace)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    cursor.insertText(QStringLiteral("one") + QChar(QChar::LineSeparator) + QStringLiteral("two "));
    ui::insertPicture(cursor, uitest::solidImage(4, 4, Qt::red));
    cursor.insertText(QStringLiteral("end"));
    EXPECT_EQ(ui::plainLines(document), QStringList({"one", "two end"}));
}

TEST(BodyText, PlainTextSplitsAtEveryKindOfLineEnd)
{
    EXPECT_EQ(ui::splitPlainText(QStringLiteral("a\r\nb\rc\nd\n")),
              QStringList({"a", "b", "c", "d"}));
    EXPECT_EQ(ui::splitPlainText(QStringLiteral("a\n\n")), QStringList({"a", ""}));
    EXPECT_EQ(ui::splitPlainText(QStringLiteral("\n")), QStringList({""}));
    EXPECT_EQ(ui::splitPlainText(QStringLiteral("no end")), QStringList({"no end"}));
    EXPECT_TRUE(ui::splitPlainText(QString()).isEmpty());
    EXPECT_EQ(ui::splitPlainText(QString(QChar::ByteOrderMark) + QStringLiteral("x")),
              QStringList({"x"}));
}

TEST(BodyText, NonRtfBytesLoadAsPlainLinesInEitherEncoding)
{
    QTextDocument document;
    ui::loadBody(document,
                 QByteArray("Gr\xC3\xBC\xC3\x9F"
                            "e\r\n\xE2\x82\xAC 5\r\n"));
    EXPECT_EQ(ui::plainLines(document), QStringList({"Grüße", "€ 5"}));
    ui::loadBody(document,
                 QByteArray("Gr\xFC\xDF"
                            "e\n\x80 5"));
    EXPECT_EQ(ui::plainLines(document), QStringList({"Grüße", "€ 5"}));
}

TEST(BodyText, NewLinesLetGoOfTheOldPictures)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    ui::insertPicture(cursor, uitest::solidImage(4, 4, Qt::red));
    const QString name = cursor.charFormat().toImageFormat().name();
    ASSERT_FALSE(document.resource(QTextDocument::ImageResource, QUrl(name)).isNull());
    ui::setPlainLines(document, {"text"});
    EXPECT_TRUE(document.resource(QTextDocument::ImageResource, QUrl(name)).isNull());
}
