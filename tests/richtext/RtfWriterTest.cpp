#include "richtext/RtfTestSupport.h"

#include "ui/rtf/Rtf.h"

#include <QTextCursor>
#include <QTextList>
#include <QUrl>
#include <gtest/gtest.h>

using namespace rtftest;

namespace {

QTextCharFormat family(const QString &name)
{
    QTextCharFormat format;
    format.setFontFamilies(QStringList(name));
    return format;
}

} // namespace

TEST(RtfWrite, HeaderTablesAndParagraphsInRichEditShape)
{
    auto document = newDocument();
    QTextCursor cursor(document.get());
    QTextCharFormat red = family(QStringLiteral("Courier New"));
    red.setForeground(QColor(255, 0, 0));
    red.setFontPointSize(12);
    cursor.insertText(QStringLiteral("plain "));
    cursor.insertText(QStringLiteral("red"), red);
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("second"), QTextCharFormat());
    const QByteArray rtf = rtf::write(*document);
    EXPECT_TRUE(
        rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl"
                       "{\\f0\\fnil\\fcharset0 Arial;}{\\f1\\fnil\\fcharset0 Courier New;}}\r\n"
                       "{\\colortbl ;\\red255\\green0\\blue0;}\r\n"))
        << rtf.constData();
    EXPECT_TRUE(rtf.contains("\\viewkind4\\uc1\r\n\\pard plain \\cf1\\f1\\fs24 red\\par\r\n"))
        << rtf.constData();
    // Taking a font and size away again needs \plain.
    EXPECT_TRUE(rtf.contains("\\plain second\\par\r\n}")) << rtf.constData();
    EXPECT_EQ(rtf.count("\\par\r\n"), 2);
}

TEST(RtfWrite, RunsAreWrittenAsDifferences)
{
    auto document = newDocument();
    QTextCursor cursor(document.get());
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    QTextCharFormat boldItalic = bold;
    boldItalic.setFontItalic(true);
    QTextCharFormat underlinedStruck;
    underlinedStruck.setFontUnderline(true);
    underlinedStruck.setFontStrikeOut(true);
    QTextCharFormat highlighted;
    highlighted.setBackground(QColor(0, 0, 255));
    cursor.insertText(QStringLiteral("b"), bold);
    cursor.insertText(QStringLiteral("bi"), boldItalic);
    cursor.insertText(QStringLiteral("us"), underlinedStruck);
    cursor.insertText(QStringLiteral("h"), highlighted);
    const QByteArray rtf = rtf::write(*document);
    EXPECT_TRUE(rtf.contains(
        "\\pard\\b b\\i bi\\b0\\i0\\ul\\strike us\\chcbpat1\\highlight1\\ulnone\\strike0 h\\par"))
        << rtf.constData();
}

TEST(RtfWrite, TextEncoding)
{
    auto document = newDocument();
    QTextCursor(document.get())
        .insertText(
            QStringLiteral("a{b}c\\d\te\u2028f \u00e9\u20ac\u00a0 \u010c\u4e2d\U0001F600 z"));
    const QByteArray rtf = rtf::write(*document);
    EXPECT_TRUE(rtf.contains("a\\{b\\}c\\\\d\\tab e\\line f \\'e9\\'80\\'a0 \\u268?\\u20013?"
                             "\\u-10179?\\u-8704? z\\par"))
        << rtf.constData();
}

TEST(RtfWrite, AlignmentAndIndents)
{
    auto document = newDocument();
    QTextCursor cursor(document.get());
    QTextBlockFormat block;
    block.setAlignment(Qt::AlignHCenter);
    cursor.setBlockFormat(block);
    cursor.insertText(QStringLiteral("c"));
    block.setAlignment(Qt::AlignRight);
    cursor.insertBlock(block);
    cursor.insertText(QStringLiteral("r"));
    block.setAlignment(Qt::AlignJustify);
    block.setLeftMargin(48);
    block.setTextIndent(-24);
    cursor.insertBlock(block);
    cursor.insertText(QStringLiteral("j"));
    cursor.insertBlock(block);
    cursor.insertText(QStringLiteral("j2"));
    cursor.insertBlock(QTextBlockFormat());
    cursor.insertText(QStringLiteral("l"));
    const QByteArray rtf = rtf::write(*document);
    EXPECT_TRUE(
        rtf.contains("\\pard\\qc c\\par\r\n\\pard\\qr r\\par\r\n\\pard\\qj\\li720\\fi-360 j\\par"
                     "\r\nj2\\par\r\n\\pard l\\par"))
        << rtf.constData();
}

TEST(RtfWrite, PicturesAsPngInHexLines)
{
    auto document = newDocument();
    const QImage image = testImage(40, 30, 9);
    document->addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("mem:pic")), image);
    QTextImageFormat format;
    format.setName(QStringLiteral("mem:pic"));
    format.setWidth(80);
    QTextCursor(document.get()).insertImage(format);
    const QByteArray rtf = rtf::write(*document);
    const qsizetype start
        = rtf.indexOf("{\\pict\\pngblip\\picw40\\pich30\\picwgoal1200\\pichgoal900\r\n");
    ASSERT_GE(start, 0) << rtf.constData();
    const QList<QByteArray> lines = rtf.mid(start).split('\n');
    EXPECT_EQ(lines.at(1), lines.at(1).toLower());
    EXPECT_EQ(lines.at(1).size(), 81); // 40 bytes and the CR
    const auto pictures = picturesOf(*readRtf(rtf));
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_TRUE(sameImage(pictures[0].image, image));
    EXPECT_EQ(pictures[0].shown, QSizeF(80, 60));
}

TEST(RtfWrite, ListItemsKeepAVisibleMarker)
{
    auto document = newDocument();
    QTextCursor cursor(document.get());
    cursor.insertText(QStringLiteral("one"));
    cursor.createList(QTextListFormat::ListDisc);
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("two"));
    const auto numbered = newDocument();
    QTextCursor numberedCursor(numbered.get());
    numberedCursor.insertText(QStringLiteral("first"));
    numberedCursor.createList(QTextListFormat::ListDecimal);
    // The list table for readers that know it, the marker for the others.
    const QByteArray rtf = rtf::write(*document);
    EXPECT_TRUE(rtf.contains("{\\*\\listtable")) << rtf.constData();
    EXPECT_TRUE(rtf.contains("\\ls1\\ilvl0")) << rtf.constData();
    EXPECT_TRUE(rtf.contains("{\\listtext\\'95\\tab}one\\par")) << rtf.constData();
    EXPECT_TRUE(rtf::write(*numbered).contains("{\\listtext 1.\\tab}first\\par"));
    const auto back = readRtf(rtf);
    ASSERT_TRUE(back->begin().textList());
    EXPECT_EQ(back->begin().textList(), back->lastBlock().textList());
    EXPECT_EQ(back->toPlainText(), QStringLiteral("one\ntwo"));
}

TEST(RtfWrite, EmptyDocumentAndFontNamesNeedingEscapes)
{
    QTextDocument empty;
    const QByteArray rtf = rtf::write(empty);
    EXPECT_TRUE(rtf.endsWith("\\pard\\par\r\n}\r\n")) << rtf.constData();
    EXPECT_EQ(readRtf(rtf)->blockCount(), 1);
    EXPECT_EQ(readRtf(rtf)->toPlainText(), QString());

    auto document = newDocument();
    const QString odd = QStringLiteral("Odd; {Font} \u00c9\u4e2d");
    QTextCursor(document.get()).insertText(QStringLiteral("x"), family(odd));
    const auto back = readRtf(rtf::write(*document));
    EXPECT_EQ(runWith(*back, "x").format.fontFamilies().toStringList().value(0), odd);
}

TEST(RtfWrite, IsDeterministic)
{
    const auto build = [] {
        auto document = newDocument();
        QTextCursor cursor(document.get());
        for (int i = 0; i < 20; ++i) {
            QTextCharFormat format
                = family(i % 3 ? QStringLiteral("Arial") : QStringLiteral("Tahoma"));
            format.setForeground(QColor::fromHsv(i * 17 % 360, 200, 200));
            cursor.insertText(QStringLiteral("run %1 ").arg(i), format);
        }
        document->addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("mem:p")),
                              testImage(10, 10, 1));
        QTextImageFormat image;
        image.setName(QStringLiteral("mem:p"));
        cursor.insertImage(image);
        return document;
    };
    const QByteArray first = rtf::write(*build());
    EXPECT_EQ(rtf::write(*build()), first);
    EXPECT_EQ(rtf::write(*readRtf(first)), first);
}
