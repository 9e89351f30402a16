#include "richtext/RtfTestSupport.h"

#include "ui/BodyText.h"
#include "ui/rtf/Rtf.h"

#include <QTextBlock>
#include <QTextList>
#include <QTextTable>
#include <gtest/gtest.h>

using namespace rtftest;

namespace {

QString textOf(const QByteArray &rtf)
{
    return readRtf(rtf)->toPlainText();
}

const QByteArray kRichEditHeader
    = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
      "{\\f1\\froman\\fcharset238 Times New Roman CE;}{\\f2\\fmodern Courier New;}}\r\n"
      "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\r\n"
      "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n";

QString plainText(const QTextDocument &document)
{
    return ui::plainLines(document).join(QLatin1Char('\n'));
}

const QTextTable *firstTable(QTextFrame::iterator it)
{
    for (; !it.atEnd(); ++it) {
        if (const auto *table = qobject_cast<const QTextTable *>(it.currentFrame()))
            return table;
    }
    return nullptr;
}

const QTextTable *firstTable(const QTextDocument &document)
{
    return firstTable(document.rootFrame()->begin());
}

const QTextTable *firstTable(const QTextTableCell &cell)
{
    return firstTable(cell.begin());
}

// The text with line separators and no-break spaces as they are.
QString rawTextOf(const QByteArray &rtf)
{
    return readRtf(rtf)->toRawText().replace(QChar(0x2029), QLatin1Char('\n'));
}

} // namespace

TEST(RtfRead, RefusesWhatIsNotRtfAndLeavesTheDocumentAlone)
{
    QTextDocument document;
    document.setPlainText(QStringLiteral("keep me"));
    EXPECT_FALSE(rtf::read("plain text\r\nsecond line", &document));
    EXPECT_FALSE(rtf::read("", &document));
    EXPECT_FALSE(rtf::read(" {\\rtf1 x}", &document));
    EXPECT_EQ(document.toPlainText(), QStringLiteral("keep me"));
    EXPECT_TRUE(rtf::looksLikeRtf("{\\rtf1}"));
    EXPECT_FALSE(rtf::looksLikeRtf("{\\rt"));
}

TEST(RtfRead, ReplacesTheWholeDocumentWithoutAnUndoStep)
{
    QTextDocument document;
    document.setPlainText(QStringLiteral("old body"));
    ASSERT_TRUE(rtf::read("{\\rtf1 new body\\par}", &document));
    EXPECT_EQ(document.toPlainText(), QStringLiteral("new body"));
    EXPECT_FALSE(document.isUndoAvailable());
    EXPECT_TRUE(document.isUndoRedoEnabled());
}

TEST(RtfRead, ParagraphsAndTheFinalParagraphMark)
{
    EXPECT_EQ(textOf("{\\rtf1 one\\par two\\par}"), QStringLiteral("one\ntwo"));
    EXPECT_EQ(textOf("{\\rtf1 one\\par two}"), QStringLiteral("one\ntwo"));
    EXPECT_EQ(textOf("{\\rtf1 one\\par\\par}"), QStringLiteral("one\n"));
    EXPECT_EQ(textOf("{\\rtf1 one\\\r\ntwo}"), QStringLiteral("one\ntwo"));
    EXPECT_EQ(readRtf("{\\rtf1 \\par\\par\\par}")->blockCount(), 3);
    EXPECT_EQ(readRtf("{\\rtf1}")->blockCount(), 1);
}

TEST(RtfRead, DelimitersLineEndsAndEscapes)
{
    // The blank after a control word delimits it; line ends in the file are not text.
    EXPECT_EQ(textOf("{\\rtf1\\b bold\\b0  plain\r\nwrapped}"),
              QStringLiteral("bold plainwrapped"));
    EXPECT_EQ(textOf("{\\rtf1 a\\\\b\\{c\\}}"), QStringLiteral("a\\b{c}"));
    // A blank after \'xx is text.
    EXPECT_EQ(textOf("{\\rtf1 gr\\'fc\\'df Gott}"), QStringLiteral("gr\u00fc\u00df Gott"));
    EXPECT_EQ(textOf("{\\rtf1 x\\'e9 y}"), QStringLiteral("x\u00e9 y"));
    EXPECT_EQ(textOf("{\\rtf1 a\\'zzb\\'4}"), QStringLiteral("azzb4"));
}

TEST(RtfRead, SymbolsBecomeTheirCharacters)
{
    EXPECT_EQ(
        rawTextOf("{\\rtf1 a\\tab b\\line c\\emdash\\endash\\bullet\\lquote\\rquote"
                  "\\ldblquote\\rdblquote\\~\\-\\_}"),
        QStringLiteral("a\tb\u2028c\u2014\u2013\u2022\u2018\u2019\u201c\u201d\u00a0\u00ad\u2011"));
}

TEST(RtfRead, UnicodeWithFallbackSkipping)
{
    EXPECT_EQ(textOf("{\\rtf1\\uc1 \\u8364?5}"), QStringLiteral("\u20ac5"));
    EXPECT_EQ(textOf("{\\rtf1\\uc2 \\u8364\\'80\\'80x}"), QStringLiteral("\u20acx"));
    EXPECT_EQ(textOf("{\\rtf1\\uc0 \\u8804 1}"), QStringLiteral("\u22641"));
    // Negative values are the upper half of the 16-bit range.
    EXPECT_EQ(textOf("{\\rtf1\\u-3999?}"), QString(QChar(char16_t(65536 - 3999))));
    EXPECT_EQ(textOf("{\\rtf1\\u61537?}"), QString(QChar(char16_t(61537))));
    // Surrogate pairs arrive as two units; a lone half becomes U+FFFD.
    EXPECT_EQ(textOf("{\\rtf1\\u-10179?\\u-8704?}"), QStringLiteral("\U0001F600"));
    EXPECT_EQ(textOf("{\\rtf1\\u-10179?x}"), QStringLiteral("\ufffdx"));
    EXPECT_EQ(textOf("{\\rtf1 a\\u-8704?b}"), QStringLiteral("a\ufffdb"));
    // \uc is group state; a group end stops the skipping.
    EXPECT_EQ(textOf("{\\rtf1{\\uc3 \\u233 ab}cd}"), QStringLiteral("\u00e9cd"));
    EXPECT_EQ(textOf("{\\rtf1\\uc1{\\u233}ab}"), QStringLiteral("\u00e9ab"));
    // A huge \uc cannot swallow the document.
    EXPECT_EQ(textOf("{\\rtf1\\uc99999 \\u233 abcdefghijklmnop}"),
              QStringLiteral("\u00e9ijklmnop"));
}

TEST(RtfRead, CodePagesFollowTheFontCharset)
{
    // The header says 1252, the font says Central European: \'c8 is "Č".
    const auto document
        = readRtf(kRichEditHeader + "\\pard\\f1\\fs20 \\'c8esk\\'e1 \\f0 \\'c8\\par}");
    EXPECT_EQ(document->toPlainText(), QStringLiteral("\u010cesk\u00e1 \u00c8"));
    EXPECT_EQ(textOf("{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8}"),
              QStringLiteral("\u041f\u0440\u0438"));
    EXPECT_EQ(textOf("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset204 X;}}\\f0 \\'cf}"),
              QStringLiteral("\u041f"));
    EXPECT_EQ(textOf("{\\rtf1{\\fonttbl{\\f0\\cpg1253 X;}}\\f0 \\'e1}"), QStringLiteral("\u03b1"));
    EXPECT_EQ(textOf("{\\rtf1\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fcharset161 X;}}\\'e1}"),
              QStringLiteral("\u03b1"));
}

TEST(RtfRead, DocumentCodePageIsSetOnlyInTheHeader)
{
    EXPECT_EQ(textOf("{\\rtf1\\ansi{\\pict\\emfblip\\ansicpg1251 01}{\\foo\\mac}\\'e9}"),
              QStringLiteral("\ufffc\u00e9"));
}

TEST(RtfRead, DoubleByteCodePagesDecodeByteBlocks)
{
    EXPECT_EQ(textOf("{\\rtf1\\ansi\\ansicpg932 \\'82\\'a0\\'82\\'a2}"),
              QStringLiteral("\u3042\u3044"));
    EXPECT_EQ(textOf("{\\rtf1{\\fonttbl{\\f0\\fcharset134 SimSun;}}\\f0 \\'d6\\'d0\\'ce\\'c4}"),
              QStringLiteral("\u4e2d\u6587"));
    EXPECT_EQ(textOf("{\\rtf1\\ansicpg949 \\'c7\\'d1}"), QStringLiteral("\ud55c"));
    EXPECT_EQ(textOf("{\\rtf1\\ansicpg950 \\'a4\\'a4}"), QStringLiteral("\u4e2d"));
    // A block cut inside a character does not carry its half over.
    EXPECT_EQ(textOf("{\\rtf1\\ansicpg932 \\'82{\\b x}}").right(1), QStringLiteral("x"));
}

TEST(RtfRead, UnusableCodePagesFallBackToWindows1252)
{
    EXPECT_EQ(textOf("{\\rtf1\\ansi\\ansicpg0 \\'e9}"), QStringLiteral("\u00e9"));
    EXPECT_EQ(textOf("{\\rtf1\\ansi\\ansicpg77777 \\'e9}"), QStringLiteral("\u00e9"));
    EXPECT_EQ(textOf("{\\rtf1{\\fonttbl{\\f0\\fcharset130 Johab;}}\\f0 \\'e9}"),
              QStringLiteral("\u00e9"));
    EXPECT_EQ(textOf("{\\rtf1\\ansicpg65001 \\'c3\\'a9}"), QStringLiteral("\u00e9"));
    EXPECT_EQ(textOf("{\\rtf1\\ansicpg-535 \\'c3\\'a9}"), QStringLiteral("\u00e9"));
}

TEST(RtfRead, FontTableFacesAndSizes)
{
    const auto document = readRtf(kRichEditHeader + "\\pard\\f0\\fs20 small \\f2\\fs36 big\\par}");
    const rtftest::Run small = runWith(*document, QStringLiteral("small"));
    EXPECT_EQ(small.format.fontFamilies().toStringList(), QStringList(QStringLiteral("Arial")));
    EXPECT_DOUBLE_EQ(small.format.fontPointSize(), 10.0);
    const rtftest::Run big = runWith(*document, QStringLiteral("big"));
    EXPECT_EQ(big.format.fontFamilies().toStringList(), QStringList(QStringLiteral("Courier New")));
    EXPECT_DOUBLE_EQ(big.format.fontPointSize(), 18.0);
    // Text without a font or size of its own keeps following the body font.
    const auto plain = readRtf("{\\rtf1 plain}");
    EXPECT_FALSE(
        runWith(*plain, QStringLiteral("plain")).format.hasProperty(QTextFormat::FontFamilies));
    EXPECT_FALSE(
        runWith(*plain, QStringLiteral("plain")).format.hasProperty(QTextFormat::FontPointSize));
}

TEST(RtfRead, FontTableVariants)
{
    // No inner groups, a blank before the word, \*\panose and \*\falt inside an entry.
    const auto document
        = readRtf("{\\rtf1{ \\fonttbl\\f0\\fnil Tahoma;\\f1 Verdana;}"
                  "{\\fonttbl{\\f3{\\*\\panose 020b0604}Segoe UI{\\*\\falt Arial};}}"
                  "\\f1 a\\f3 b\\f9 c}");
    EXPECT_EQ(document->toPlainText(), QStringLiteral("abc"));
    EXPECT_EQ(runWith(*document, "a").format.fontFamilies().toStringList().value(0), "Verdana");
    EXPECT_EQ(runWith(*document, "b").format.fontFamilies().toStringList().value(0), "Segoe UI");
    EXPECT_FALSE(runWith(*document, "c").format.hasProperty(QTextFormat::FontFamilies));
    // A font name in its own charset.
    const auto cyrillic
        = readRtf("{\\rtf1{\\fonttbl{\\f0\\fcharset204 \\'c0\\'f0\\'e8\\'e0\\'eb;}}\\f0 x}");
    EXPECT_EQ(runWith(*cyrillic, "x").format.fontFamilies().toStringList().value(0),
              QStringLiteral("\u0410\u0440\u0438\u0430\u043b"));
}

TEST(RtfRead, CharacterStylesToggleAndRestoreWithGroups)
{
    const auto document = readRtf("{\\rtf1 \\b b{\\i bi\\ul biu\\ulnone\\strike bis}b\\b0 n"
                                  "\\b1\\i1 on\\plain off}");
    const auto check = [&](const char *text, bool bold, bool italic, bool underline, bool strike) {
        const QTextCharFormat format = runWith(*document, QString::fromLatin1(text)).format;
        EXPECT_EQ(format.fontWeight() == QFont::Bold, bold) << text;
        EXPECT_EQ(format.fontItalic(), italic) << text;
        EXPECT_EQ(format.fontUnderline(), underline) << text;
        EXPECT_EQ(format.fontStrikeOut(), strike) << text;
    };
    EXPECT_EQ(document->toPlainText(), QStringLiteral("bbibiubisbnonoff"));
    check("biu", true, true, true, false);
    check("bis", true, true, false, true);
    check("on", true, true, false, false);
    check("off", false, false, false, false);
    const auto underline = readRtf("{\\rtf1 \\uldb x\\ul0 y}");
    EXPECT_TRUE(runWith(*underline, "x").format.fontUnderline());
    EXPECT_FALSE(runWith(*underline, "y").format.fontUnderline());
}

TEST(RtfRead, ColoursIndexTheTableAndZeroIsAutomatic)
{
    const auto document = readRtf(kRichEditHeader
                                  + "\\cf1 red\\cf2\\highlight1 blueOnRed\\cf0"
                                    "\\highlight0 auto\\cb2 cb\\cf7 outside\\cf-3 neg}");
    EXPECT_EQ(runWith(*document, "red").format.foreground().color(), QColor(255, 0, 0));
    const QTextCharFormat both = runWith(*document, "blueOnRed").format;
    EXPECT_EQ(both.foreground().color(), QColor(0, 0, 255));
    EXPECT_EQ(both.background().color(), QColor(255, 0, 0));
    const QTextCharFormat automatic = runWith(*document, "auto").format;
    EXPECT_FALSE(automatic.hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_FALSE(automatic.hasProperty(QTextFormat::BackgroundBrush));
    EXPECT_EQ(runWith(*document, "cb").format.background().color(), QColor(0, 0, 255));
    EXPECT_FALSE(runWith(*document, "outside").format.hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_FALSE(runWith(*document, "neg").format.hasProperty(QTextFormat::ForegroundBrush));
}

TEST(RtfRead, ParagraphAlignmentAndIndentsApplyAtTheParagraphEnd)
{
    const auto document = readRtf("{\\rtf1\\pard\\qc centred\\par\\pard\\qr right\\par"
                                  "\\pard\\qj\\li720\\ri360\\fi-360 just\\par left\\qc\\par"
                                  "\\pard last}");
    ASSERT_EQ(document->blockCount(), 5);
    const auto block = [&](int i) {
        return document->findBlockByNumber(i).blockFormat();
    };
    EXPECT_EQ(block(0).alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(block(1).alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_EQ(block(2).alignment() & Qt::AlignHorizontal_Mask, Qt::AlignJustify);
    EXPECT_DOUBLE_EQ(block(2).leftMargin(), 48.0);
    EXPECT_DOUBLE_EQ(block(2).rightMargin(), 24.0);
    EXPECT_DOUBLE_EQ(block(2).textIndent(), -24.0);
    // The format in force at \par counts, even when set after the text.
    EXPECT_EQ(block(3).alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(block(4).alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
}

TEST(RtfRead, IgnorableAndSkippedDestinations)
{
    EXPECT_EQ(textOf("{\\rtf1{\\info{\\title T}{\\author A}}{\\stylesheet{\\s0 Normal;}}"
                     "{\\*\\unknownthing {nested} text}{\\*\\generator G;}"
                     "{\\header head}a{\\footnote note}b{\\*\\bkmkstart m}c}"),
              QStringLiteral("abc"));
    // An unknown destination without \* keeps its text.
    EXPECT_EQ(textOf("{\\rtf1{\\madeup kept}}"), QStringLiteral("kept"));
    // \bin payloads are skipped byte-wise, braces and all.
    EXPECT_EQ(textOf("{\\rtf1{\\*\\blob \\bin4 }}{x}y}z"), QStringLiteral("y"));
    EXPECT_EQ(textOf("{\\rtf1 a\\bin3 {{{b}"), QStringLiteral("ab"));
    EXPECT_EQ(textOf("{\\rtf1 a\\bin-5 b}"), QStringLiteral("ab"));
    EXPECT_EQ(textOf("{\\rtf1 a\\bin999999 bc}"), QStringLiteral("a"));
}

TEST(RtfRead, FieldsShowTheirResult)
{
    EXPECT_EQ(textOf("{\\rtf1 see {\\field{\\*\\fldinst{HYPERLINK \"https://example.org\"}}"
                     "{\\fldrslt{\\ul\\cf1 the site}}} now}"),
              QStringLiteral("see the site now"));
    EXPECT_EQ(textOf("{\\rtf1{\\field{\\fldinst PAGE}{\\fldrslt 3}}}"), QStringLiteral("3"));
}

TEST(RtfRead, TablesKeepTheirTextInOrder)
{
    const QByteArray rtf = "{\\rtf1\\trowd\\cellx1000\\cellx2000\\cellx3000"
                           "\\pard\\intbl a\\cell b\\cell c\\cell\\row"
                           "\\trowd\\cellx1000\\cellx2000\\pard\\intbl\\cell d\\cell\\row"
                           "\\pard after\\par}";
    const auto document = readRtf(rtf);
    // A table follows a paragraph, here an empty one.
    EXPECT_EQ(plainText(*document), QStringLiteral("\na\tb\tc\n\td\t\nafter"));
    const QTextTable *table = firstTable(*document);
    ASSERT_TRUE(table);
    EXPECT_EQ(table->rows(), 2);
    EXPECT_EQ(table->columns(), 3);
    EXPECT_EQ(table->cellAt(1, 1).firstCursorPosition().block().text(), QStringLiteral("d"));
    // A merged cell takes the paragraphs of the cells it covers, list items
    // staying in their list, and an empty covered cell leaves nothing.
    EXPECT_EQ(
        plainText(*readRtf(
            "{\\rtf1 {\\pn\\pnlvlbody\\pndec{\\pntxta .}}\\trowd\\clvmgf\\cellx100\\clmgf"
            "\\cellx200\\clmrg\\cellx300\\intbl a\\cell b\\cell\\cell\\row\\trowd\\clvmrg\\cellx100"
            "\\cellx200\\cellx300\\intbl c\\cell d\\cell e\\cell\\row\\pard after\\par}")),
        QStringLiteral("\n1. a\n2. c\t3. b\t\n\t4. d\t5. e\nafter"));
    // Nested tables: the nesting-aware form is read, the fallback skipped.
    const auto nested
        = readRtf("{\\rtf1\\pard\\intbl x\\cell\\pard\\intbl\\itap2 y\\nestcell z\\nestcell"
                  "{\\*\\nesttableprops\\trowd\\nestrow}{\\nonesttables y z}\\cell\\row}");
    const QTextTable *outer = firstTable(*nested);
    ASSERT_TRUE(outer);
    EXPECT_EQ(outer->columns(), 2);
    const QTextTable *inner = firstTable(outer->cellAt(0, 1));
    ASSERT_TRUE(inner);
    EXPECT_EQ(inner->columns(), 2);
    EXPECT_EQ(inner->cellAt(0, 1).firstCursorPosition().block().text(), QStringLiteral("z"));
}

TEST(RtfRead, ListsOfOldWritersFromTheirMarkers)
{
    // Rich-edit's bullets, and a bare marker as the oldest writers leave.
    const auto bullets = readRtf("{\\rtf1{\\fonttbl{\\f1\\fcharset2 Symbol;}}"
                                 "{\\pntext\\f1\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf1{\\pntxtb\\'B7}}"
                                 "\\fi-360\\li720 item\\par}");
    ASSERT_TRUE(bullets->begin().textList());
    EXPECT_EQ(bullets->begin().textList()->format().style(), QTextListFormat::ListDisc);
    EXPECT_EQ(bullets->begin().text(), QStringLiteral("item"));
    EXPECT_EQ(plainText(*bullets), QStringLiteral("\u2022 item"));
    const auto numbered
        = readRtf("{\\rtf1{\\listtext 1.\\tab}first\\par{\\listtext 2.\\tab}second}");
    ASSERT_TRUE(numbered->begin().textList());
    EXPECT_EQ(numbered->begin().textList()->format().style(), QTextListFormat::ListDecimal);
    EXPECT_EQ(numbered->begin().textList(), numbered->lastBlock().textList());
    EXPECT_EQ(plainText(*numbered), QStringLiteral("1. first\n2. second"));
    // A number text longer than a list table can hold is cut to fit it, so
    // saving twice gives the same file.
    const auto longPrefix = readRtf("{\\rtf1{\\*\\pn\\pnlvlbody\\pndec{\\pntxtb "
                                    + QByteArray(300, 'y') + "}}one\\par}");
    const QByteArray saved = rtf::write(*longPrefix);
    EXPECT_EQ(rtf::write(*readRtf(saved)), saved);
}

TEST(RtfRead, WordProcessorCharacterFormats)
{
    struct Case
    {
        const char *rtf;
        int vertical;
        QFont::Capitalization caps;
        QTextCharFormat::UnderlineStyle underline;
    };
    const Case cases[] = {
        {"{\\super x}", QTextCharFormat::AlignSuperScript, QFont::MixedCase,
         QTextCharFormat::NoUnderline},
        {"{\\sub x}", QTextCharFormat::AlignSubScript, QFont::MixedCase,
         QTextCharFormat::NoUnderline},
        {"{\\up6 x}", QTextCharFormat::AlignSuperScript, QFont::MixedCase,
         QTextCharFormat::NoUnderline},
        {"{\\dn4 x}", QTextCharFormat::AlignSubScript, QFont::MixedCase,
         QTextCharFormat::NoUnderline},
        {"{\\super\\nosupersub x}", QTextCharFormat::AlignNormal, QFont::MixedCase,
         QTextCharFormat::NoUnderline},
        {"{\\scaps x}", QTextCharFormat::AlignNormal, QFont::SmallCaps,
         QTextCharFormat::NoUnderline},
        {"{\\caps x}", QTextCharFormat::AlignNormal, QFont::AllUppercase,
         QTextCharFormat::NoUnderline},
        {"{\\uldb x}", QTextCharFormat::AlignNormal, QFont::MixedCase,
         QTextCharFormat::SingleUnderline},
        {"{\\uld x}", QTextCharFormat::AlignNormal, QFont::MixedCase, QTextCharFormat::DotLine},
        {"{\\ulthdash x}", QTextCharFormat::AlignNormal, QFont::MixedCase,
         QTextCharFormat::DashUnderline},
        {"{\\uldashdd x}", QTextCharFormat::AlignNormal, QFont::MixedCase,
         QTextCharFormat::DashDotDotLine},
        {"{\\ulwave x}", QTextCharFormat::AlignNormal, QFont::MixedCase,
         QTextCharFormat::WaveUnderline},
        {"{\\ulwave\\ul0 x}", QTextCharFormat::AlignNormal, QFont::MixedCase,
         QTextCharFormat::NoUnderline},
    };
    for (const Case &c : cases) {
        const QTextCharFormat format
            = runWith(*readRtf(QByteArray("{\\rtf1 ") + c.rtf + "}"), QStringLiteral("x")).format;
        EXPECT_EQ(int(format.verticalAlignment()), c.vertical) << c.rtf;
        EXPECT_EQ(format.fontCapitalization(), c.caps) << c.rtf;
        EXPECT_EQ(format.underlineStyle(), c.underline) << c.rtf;
    }
}

TEST(RtfRead, ParagraphSpacingAndTabStops)
{
    const auto document
        = readRtf("{\\rtf1\\pard\\sb300\\sa150\\sl-450\\slmult0\\tqr\\tx1500"
                  "\\tqdec\\tx3000\\tx4500 exact\\par\\pard\\sl300\\slmult0 least\\par"
                  "\\pard\\sl480\\slmult1 double\\par}");
    const QTextBlockFormat exact = document->begin().blockFormat();
    EXPECT_DOUBLE_EQ(exact.topMargin(), 20.0);
    EXPECT_DOUBLE_EQ(exact.bottomMargin(), 10.0);
    EXPECT_EQ(exact.lineHeightType(), QTextBlockFormat::FixedHeight);
    EXPECT_DOUBLE_EQ(exact.lineHeight(), 30.0);
    const QList<QTextOption::Tab> tabs = exact.tabPositions();
    ASSERT_EQ(tabs.size(), 3);
    EXPECT_EQ(tabs[0], QTextOption::Tab(100, QTextOption::RightTab));
    EXPECT_EQ(tabs[1].type, QTextOption::DelimiterTab);
    EXPECT_EQ(tabs[2], QTextOption::Tab(300, QTextOption::LeftTab));
    const QTextBlockFormat least = document->begin().next().blockFormat();
    EXPECT_EQ(least.lineHeightType(), QTextBlockFormat::MinimumHeight);
    EXPECT_DOUBLE_EQ(least.lineHeight(), 20.0);
    EXPECT_EQ(document->lastBlock().blockFormat().lineHeightType(),
              QTextBlockFormat::ProportionalHeight);
    EXPECT_DOUBLE_EQ(document->lastBlock().blockFormat().lineHeight(), 200.0);
}

TEST(RtfRead, ListDefinitionsAreNoText)
{
    // A {\list} group outside the list table, and level texts of every kind.
    EXPECT_EQ(rawTextOf("{\\rtf1{\\list\\listtemplateid1{\\listlevel\\levelnfc0{\\leveltext"
                        "\\'02\\'00.;}{\\levelnumbers\\'01;}}\\listid1}a"
                        "{\\listoverridetable{\\listoverride\\listid1\\ls1}}b}"),
              QStringLiteral("ab"));
    // The list it defines is used all the same; a start other than one
    // keeps the numbers as the file wrote them.
    const auto lists = readRtf(
        "{\\rtf1{\\*\\listtable{\\list{\\listlevel\\levelnfc4{\\leveltext\\'02(\\'00;}}\\listid5}"
        "{\\list{\\listlevel\\levelnfc0\\levelstartat7{\\leveltext\\'02\\'00.;}}\\listid6}}"
        "{\\*\\listoverridetable{\\listoverride\\listid5\\ls1}{\\listoverride\\listid6\\ls2}}"
        "\\pard\\ls1{\\listtext (a\\tab}one\\par\\pard\\ls2{\\listtext 7.\\tab}seven\\par}");
    const QTextList *alpha = lists->begin().textList();
    ASSERT_TRUE(alpha);
    EXPECT_EQ(alpha->format().style(), QTextListFormat::ListLowerAlpha);
    EXPECT_EQ(alpha->format().numberPrefix(), QStringLiteral("("));
    EXPECT_EQ(alpha->format().numberSuffix(), QString());
    EXPECT_FALSE(lists->lastBlock().textList());
    EXPECT_EQ(lists->lastBlock().text(), QStringLiteral("7.\tseven"));
    EXPECT_EQ(plainText(*lists), QStringLiteral("(a one\n7.\tseven"));
    // The length is a byte, not what the code page makes of it.
    const auto counted
        = readRtf("{\\rtf1{\\*\\listtable{\\list{\\listlevel\\levelnfc0{\\leveltext\\'85"
                  + QByteArray(132, 'x')
                  + "\\'00;}}\\listid5}}"
                    "{\\*\\listoverridetable{\\listoverride\\listid5\\ls1}}\\pard\\ls1 one\\par}");
    ASSERT_TRUE(counted->begin().textList());
    EXPECT_EQ(counted->begin().textList()->format().numberPrefix(), QString(132, 'x'));
    EXPECT_EQ(counted->begin().textList()->format().numberSuffix(), QString());
}

TEST(RtfRead, HyperlinkFieldsBecomeLinks)
{
    const auto document = readRtf(
        "{\\rtf1 see {\\field{\\*\\fldinst{HYPERLINK \"https://example.org/a b\" \\\\o \"tip\"}}"
        "{\\fldrslt{\\ul\\cf1 the \\plain site}}} or {\\field{\\*\\fldinst HYPERLINK \\\\l \"top\"}"
        "{\\fldrslt up}}{\\field{\\*\\fldinst PAGE}{\\fldrslt 3}}}");
    EXPECT_EQ(runWith(*document, QStringLiteral("the")).format.anchorHref(),
              QStringLiteral("https://example.org/a b"));
    EXPECT_EQ(runWith(*document, QStringLiteral("site")).format.anchorHref(),
              QStringLiteral("https://example.org/a b"))
        << "\\plain keeps the link";
    EXPECT_EQ(runWith(*document, QStringLiteral("up")).format.anchorHref(), QStringLiteral("#top"));
    EXPECT_FALSE(runWith(*document, QStringLiteral("3")).format.isAnchor());
    EXPECT_FALSE(runWith(*document, QStringLiteral(" or ")).format.isAnchor());
}

TEST(RtfRead, HiddenTextIsNotShown)
{
    EXPECT_EQ(textOf("{\\rtf1 a{\\v hidden}b\\v c\\v0 d}"), QStringLiteral("abd"));
}

TEST(RtfRead, TruncatedAndUnbalancedInput)
{
    EXPECT_EQ(textOf("{\\rtf1 {\\b bold} and more"), QStringLiteral("bold and more"));
    EXPECT_EQ(textOf("{\\rtf1 one\\par two\\par th"), QStringLiteral("one\ntwo\nth"));
    EXPECT_EQ(textOf("{\\rtf1 end} trailing {junk}"), QStringLiteral("end"));
    EXPECT_EQ(textOf("{\\rtf1 a\\"), QStringLiteral("a"));
    EXPECT_EQ(textOf("{\\rtf1 a\\'"), QStringLiteral("a"));
    EXPECT_EQ(textOf("{\\rtf1 a\\'4"), QStringLiteral("a4"));
    EXPECT_EQ(textOf("{\\rtf1{\\fonttbl{\\f0 Arial"), QString());
    const auto truncated = readRtf("{\\rtf1\\pard\\qc{\\b centred");
    EXPECT_EQ(truncated->firstBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignHCenter);
}

TEST(RtfRead, ControlWordLimits)
{
    // Oversized parameters saturate instead of overflowing.
    EXPECT_EQ(textOf("{\\rtf1\\fs99999999999999999999 a\\li-99999999999999 b\\u-2147483648 c}"),
              QStringLiteral("ab\ufffd"));
    const QByteArray longWord = "{\\rtf1\\" + QByteArray(5000, 'x') + " text}";
    EXPECT_EQ(textOf(longWord), QStringLiteral("text"));
}

TEST(RtfRead, DeepNestingIsBounded)
{
    const QByteArray deep
        = "{\\rtf1 " + QByteArray(200000, '{') + "deep" + QByteArray(200000, '}') + "after}";
    const auto document = readRtf(deep);
    EXPECT_TRUE(document->toPlainText().endsWith(QStringLiteral("after")));
    const QByteArray shallow
        = "{\\rtf1 " + QByteArray(100, '{') + "in" + QByteArray(100, '}') + "}";
    EXPECT_EQ(textOf(shallow), QStringLiteral("in"));
    EXPECT_EQ(textOf("{\\rtf1 " + QByteArray(100000, '{')), QString());
}
