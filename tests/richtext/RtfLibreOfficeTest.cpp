// RTF and LibreOffice: what LibreOffice Writer writes (the committed corpus,
// made from the HTML beside it by make-corpus.sh) reads into the structure
// it shows, and what the program writes, LibreOffice reads with its lists,
// tables, links, super- and subscripts and highlights.
#include "richtext/RtfTestSupport.h"

#include "support/TempHome.h"
#include "ui/BodyText.h"
#include "ui/rtf/Rtf.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextList>
#include <QTextTable>
#include <gtest/gtest.h>

using namespace rtftest;

namespace {

std::unique_ptr<QTextDocument> readCorpus(const QString &name)
{
    return readRtf(testsupport::readAll(dataPath(QStringLiteral("libreoffice/") + name)));
}

QTextBlock blockWith(const QTextDocument &document, const QString &text)
{
    const QTextCursor found = document.find(text);
    EXPECT_FALSE(found.isNull()) << "no paragraph holds " << text.toStdString();
    return found.isNull() ? QTextBlock() : found.block();
}

QTextListFormat::Style styleOf(const QTextDocument &document, const QString &text)
{
    const QTextList *list = blockWith(document, text).textList();
    return list ? list->format().style() : QTextListFormat::ListStyleUndefined;
}

QTextTable *tableOf(const QTextDocument &document, const QString &text)
{
    const QTextCursor found = document.find(text);
    return found.isNull() ? nullptr : found.currentTable();
}

QTextCharFormat formatOf(const QTextDocument &document, const QString &text)
{
    return runWith(document, text).format;
}

// Converts the files in one LibreOffice run, with a profile of its own and a
// time limit; the output lands beside them. An empty result means success.
QString convertWithLibreOffice(const QString &program, const QStringList &files,
                               const QString &format, const QString &folder)
{
    QTemporaryDir profile;
    QProcess soffice;
    soffice.setProcessChannelMode(QProcess::MergedChannels);
    QStringList arguments = {QStringLiteral("-env:UserInstallation=")
                                 + QUrl::fromLocalFile(profile.path()).toString(),
                             QStringLiteral("--headless"),
                             QStringLiteral("--norestore"),
                             QStringLiteral("--nolockcheck"),
                             QStringLiteral("--convert-to"),
                             format,
                             QStringLiteral("--outdir"),
                             folder};
    soffice.start(program, arguments + files);
    if (!soffice.waitForFinished(180000)) {
        soffice.kill();
        soffice.waitForFinished(5000);
        return QStringLiteral("LibreOffice did not finish in time: ")
            + QString::fromLocal8Bit(soffice.readAll());
    }
    if (soffice.exitStatus() != QProcess::NormalExit || soffice.exitCode() != 0)
        return QStringLiteral("LibreOffice failed: ") + QString::fromLocal8Bit(soffice.readAll());
    return {};
}

// A note body with every structure the program writes.
std::unique_ptr<QTextDocument> structuredBody()
{
    auto document = newDocument();
    QTextCursor cursor(document.get());
    cursor.insertText(QStringLiteral("Shopping"));
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("bread item"));
    cursor.createList(QTextListFormat::ListDisc);
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("milk item"));
    cursor.insertBlock(QTextBlockFormat());
    cursor.insertText(QStringLiteral("first step"));
    cursor.createList(QTextListFormat::ListDecimal);
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("second step"));
    cursor.insertBlock(QTextBlockFormat());
    QTextTableFormat tableFormat;
    tableFormat.setBorder(1);
    QTextTable *table = cursor.insertTable(2, 2, tableFormat);
    const QStringList cells = {QStringLiteral("Anna"), QStringLiteral("555-0199"),
                               QStringLiteral("Bo"), QStringLiteral("555-0142")};
    for (int i = 0; i < 4; ++i)
        table->cellAt(i / 2, i % 2).firstCursorPosition().insertText(cells.at(i));
    cursor = table->lastCursorPosition();
    cursor.movePosition(QTextCursor::NextBlock);
    cursor.insertText(QStringLiteral("See "));
    QTextCharFormat link;
    link.setAnchor(true);
    link.setAnchorHref(QStringLiteral("https://example.org/notes"));
    cursor.insertText(QStringLiteral("the notes page"), link);
    cursor.insertText(QStringLiteral(" and E=mc"), QTextCharFormat());
    QTextCharFormat super;
    super.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    cursor.insertText(QStringLiteral("2"), super);
    cursor.insertText(QStringLiteral(" H"), QTextCharFormat());
    QTextCharFormat sub;
    sub.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    cursor.insertText(QStringLiteral("2"), sub);
    cursor.insertText(QStringLiteral("O "), QTextCharFormat());
    QTextCharFormat marked;
    marked.setBackground(QColor(255, 255, 0));
    cursor.insertText(QStringLiteral("marked"), marked);
    return document;
}

QString attribute(const QString &xml, const QString &style, const QString &name)
{
    const QRegularExpression definition(QStringLiteral("<style:style style:name=\"%1\"[^>]*>(.*?)"
                                                       "</style:style>")
                                            .arg(QRegularExpression::escape(style)),
                                        QRegularExpression::DotMatchesEverythingOption);
    const QString body = definition.match(xml).captured(1);
    const QRegularExpression value(QRegularExpression::escape(name)
                                   + QStringLiteral("=\"([^\"]*)\""));
    return value.match(body).captured(1);
}

// The style name of the span holding the text.
QString spanStyle(const QString &xml, const QString &text)
{
    const QRegularExpression span(
        QStringLiteral("<text:span text:style-name=\"([^\"]+)\">%1</text:span>")
            .arg(QRegularExpression::escape(text)));
    return span.match(xml).captured(1);
}

} // namespace

TEST(RtfLibreOffice, ListsComeAsLists)
{
    const auto document = readCorpus(QStringLiteral("lists.rtf"));
    EXPECT_EQ(styleOf(*document, QStringLiteral("milk")), QTextListFormat::ListDisc);
    EXPECT_EQ(styleOf(*document, QStringLiteral("rye")), QTextListFormat::ListDisc);
    EXPECT_EQ(blockWith(*document, QStringLiteral("rye")).textList()->format().indent(), 2);
    EXPECT_EQ(blockWith(*document, QStringLiteral("milk")).textList(),
              blockWith(*document, QStringLiteral("caf\u00e9")).textList());
    EXPECT_EQ(styleOf(*document, QStringLiteral("call Anna")), QTextListFormat::ListDecimal);
    EXPECT_EQ(styleOf(*document, QStringLiteral("alpha one")), QTextListFormat::ListLowerAlpha);
    EXPECT_EQ(styleOf(*document, QStringLiteral("roman two")), QTextListFormat::ListUpperRoman);
    EXPECT_FALSE(blockWith(*document, QStringLiteral("After the lists")).textList());
    // The marker is the list's, not text; the level's indent is the list's.
    EXPECT_EQ(blockWith(*document, QStringLiteral("milk")).text(), QStringLiteral("milk "));
    EXPECT_DOUBLE_EQ(blockWith(*document, QStringLiteral("milk")).blockFormat().leftMargin(), 0.0);
    const QStringList lines = ui::plainLines(*document);
    EXPECT_TRUE(lines.contains(QStringLiteral("3. send the agenda ")))
        << lines.join('|').toStdString();
}

TEST(RtfLibreOffice, TablesComeAsTables)
{
    const auto document = readCorpus(QStringLiteral("table.rtf"));
    QTextTable *table = tableOf(*document, QStringLiteral("555-0199"));
    ASSERT_TRUE(table);
    EXPECT_EQ(table->rows(), 3);
    EXPECT_EQ(table->columns(), 3);
    EXPECT_EQ(table->cellAt(1, 1).firstCursorPosition().block().text(), QStringLiteral("555-0199"));
    EXPECT_EQ(table->cellAt(2, 2).firstCursorPosition().charFormat().fontWeight(), QFont::Bold);
    EXPECT_GT(table->format().border(), 0);
    EXPECT_EQ(table->format().columnWidthConstraints().size(), 3);
    EXPECT_FALSE(tableOf(*document, QStringLiteral("After the table")));
    EXPECT_TRUE(ui::plainLines(*document).contains(QStringLiteral("Anna\t555-0199\tevenings")));
    // The second table: a row with one wide cell (LibreOffice writes it
    // as one cell, not as merged ones), and a table inside a table.
    QTextTable *outer = tableOf(*document, QStringLiteral("Wide heading"));
    ASSERT_TRUE(outer);
    EXPECT_NE(outer, table);
    EXPECT_EQ(outer->cellAt(0, 0).firstCursorPosition().block().text(),
              QStringLiteral("Wide heading"));
    QTextTable *inner = tableOf(*document, QStringLiteral("inner two"));
    ASSERT_TRUE(inner);
    EXPECT_NE(inner, outer);
    EXPECT_EQ(inner->columns(), 2);
    EXPECT_TRUE(inner->parentFrame() != document->rootFrame());
}

TEST(RtfLibreOffice, LinksKeepTheirAddress)
{
    const auto document = readCorpus(QStringLiteral("links.rtf"));
    const QTextCharFormat page = formatOf(*document, QStringLiteral("the notes page"));
    EXPECT_TRUE(page.isAnchor());
    EXPECT_EQ(page.anchorHref(), QStringLiteral("https://example.org/notes?id=7"));
    EXPECT_EQ(formatOf(*document, QStringLiteral("Anna")).anchorHref(),
              QStringLiteral("mailto:anna@example.org"));
    EXPECT_FALSE(formatOf(*document, QStringLiteral(" for details.")).isAnchor());
}

TEST(RtfLibreOffice, CharacterAndParagraphFormatsComeThrough)
{
    const auto document = readCorpus(QStringLiteral("formats.rtf"));
    const auto runAfter = [&](const QString &before) {
        const std::vector<rtftest::Run> runs = runsOf(*document);
        for (size_t i = 0; i + 1 < runs.size(); ++i) {
            if (runs[i].text.endsWith(before))
                return runs[i + 1].format;
        }
        ADD_FAILURE() << "nothing after " << before.toStdString();
        return QTextCharFormat();
    };
    EXPECT_EQ(runAfter(QStringLiteral("E = mc")).verticalAlignment(),
              QTextCharFormat::AlignSuperScript);
    EXPECT_EQ(runAfter(QStringLiteral(" and H")).verticalAlignment(),
              QTextCharFormat::AlignSubScript);
    EXPECT_EQ(formatOf(*document, QStringLiteral("Small capitals")).fontCapitalization(),
              QFont::SmallCaps);
    EXPECT_EQ(formatOf(*document, QStringLiteral("underlined")).underlineStyle(),
              QTextCharFormat::SingleUnderline);
    EXPECT_EQ(formatOf(*document, QStringLiteral("marked")).background().color(),
              QColor(255, 255, 0));
    const QTextBlockFormat spaced = blockWith(*document, QStringLiteral("Spaced")).blockFormat();
    EXPECT_DOUBLE_EQ(spaced.topMargin(), 48.0); // 0.5 inch
    EXPECT_DOUBLE_EQ(spaced.bottomMargin(), 24.0);
    const QTextBlockFormat lines
        = blockWith(*document, QStringLiteral("One and a half")).blockFormat();
    EXPECT_EQ(lines.lineHeightType(), QTextBlockFormat::ProportionalHeight);
    EXPECT_DOUBLE_EQ(lines.lineHeight(), 150.0);
    const QTextBlockFormat indented
        = blockWith(*document, QStringLiteral("Indented")).blockFormat();
    EXPECT_DOUBLE_EQ(indented.leftMargin(), 96.0);
    EXPECT_DOUBLE_EQ(indented.rightMargin(), 48.0);
    EXPECT_DOUBLE_EQ(indented.textIndent(), 48.0);
}

TEST(RtfLibreOffice, CorpusSurvivesSavingAndLoading)
{
    for (const char *name : {"lists.rtf", "table.rtf", "links.rtf", "formats.rtf"}) {
        const auto document = readCorpus(QString::fromLatin1(name));
        const QByteArray saved = rtf::write(*document);
        const auto loaded = readRtf(saved);
        EXPECT_EQ(describeDocument(*loaded), describeDocument(*document)) << name;
        EXPECT_EQ(rtf::write(*loaded), saved) << name;
    }
}

TEST(RtfLibreOffice, LibreOfficeReadsWhatTheProgramWrites)
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        GTEST_SKIP()
            << "LibreOffice (soffice) is not installed: scripts/install-deps.sh installs it";
    const QString folder = testsupport::freshDir(QStringLiteral("libreoffice"));
    const QString input = folder + QStringLiteral("/body.rtf");
    testsupport::writeAll(input, rtf::write(*structuredBody()));
    // Flat XML: everything LibreOffice made of the file, in one readable file.
    const QString error = convertWithLibreOffice(soffice, {input}, QStringLiteral("fodt"), folder);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    const QString xml
        = QString::fromUtf8(testsupport::readAll(folder + QStringLiteral("/body.fodt")));
    ASSERT_FALSE(xml.isEmpty());

    // Lists: two of them, the first bulleted, the second numbered.
    const auto listStyle = [&](const QString &text) {
        const QRegularExpression item(
            QStringLiteral("<text:list [^>]*text:style-name=\"([^\"]+)\"[^>]*>\\s*<text:list-item>"
                           "\\s*<text:p[^>]*>(?:<text:span[^>]*>)?%1")
                .arg(QRegularExpression::escape(text)));
        return item.match(xml).captured(1);
    };
    const QString bulletStyle = listStyle(QStringLiteral("bread item"));
    const QString numberStyle = listStyle(QStringLiteral("first step"));
    ASSERT_FALSE(bulletStyle.isEmpty()) << xml.toStdString();
    ASSERT_FALSE(numberStyle.isEmpty());
    const QRegularExpression bulletLevel(
        QStringLiteral("<text:list-style style:name=\"%1\"[^>]*>\\s*<text:list-level-style-bullet")
            .arg(QRegularExpression::escape(bulletStyle)));
    EXPECT_TRUE(bulletLevel.match(xml).hasMatch());
    const QRegularExpression numberLevel(
        QStringLiteral(
            "<text:list-style style:name=\"%1\"[^>]*>\\s*<text:list-level-style-number[^>]*"
            "style:num-format=\"1\"")
            .arg(QRegularExpression::escape(numberStyle)));
    EXPECT_TRUE(numberLevel.match(xml).hasMatch());
    EXPECT_FALSE(xml.contains(QStringLiteral("\u2022\tbread"))) << "the marker is no text";

    // The table: two rows of two cells.
    const QRegularExpression table(QStringLiteral("<table:table .*?</table:table>"),
                                   QRegularExpression::DotMatchesEverythingOption);
    const QString tableXml = table.match(xml).captured(0);
    EXPECT_EQ(tableXml.count(QStringLiteral("<table:table-row")), 2);
    EXPECT_EQ(tableXml.count(QStringLiteral("<table:table-cell ")), 4);
    EXPECT_TRUE(tableXml.contains(QStringLiteral("555-0142")));

    EXPECT_TRUE(xml.contains(QStringLiteral("xlink:href=\"https://example.org/notes\"")));
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("<text:a [^>]*>(<text:span[^>]*>)?the notes page<"))
            .match(xml)
            .hasMatch());

    const auto position = [&](const QString &before) {
        const QRegularExpression after(
            QRegularExpression::escape(before)
            + QStringLiteral("</text:span><text:span text:style-name=\"([^\"]+)\">2<"));
        return attribute(xml, after.match(xml).captured(1), QStringLiteral("style:text-position"));
    };
    EXPECT_TRUE(position(QStringLiteral(" and E=mc")).startsWith(QStringLiteral("super")));
    EXPECT_TRUE(position(QStringLiteral(" H")).startsWith(QStringLiteral("sub")));
    EXPECT_EQ(attribute(xml, spanStyle(xml, QStringLiteral("marked")),
                        QStringLiteral("fo:background-color")),
              QStringLiteral("#ffff00"));
}
