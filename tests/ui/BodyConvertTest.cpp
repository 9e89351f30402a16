#include "ui/BodyConvert.h"

#include "UiTestSupport.h"
#include "platform/Errors.h"
#include "support/TempHome.h"
#include "ui/BodyText.h"
#include "ui/Pictures.h"

#include <QFile>
#include <QProcess>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

using testsupport::freshDir;
using testsupport::readAll;
using testsupport::writeAll;
using ui::BodyFormat;

namespace {

QStringList linesOfFile(const QString &path)
{
    QTextDocument document;
    ui::readBodyAs(document, readAll(path), *ui::bodyFormatOf(path));
    return ui::plainLines(document);
}

QString convertError(const QString &in, const QString &out)
{
    try {
        ui::convertBodyFile(in, out);
    } catch (const Error &e) {
        return e.message();
    }
    return {};
}

} // namespace

TEST(BodyConvert, FormatComesFromTheExtensionInAnyCase)
{
    EXPECT_EQ(ui::bodyFormatOf(QStringLiteral("/a/b.RTF")), BodyFormat::Rtf);
    EXPECT_EQ(ui::bodyFormatOf(QStringLiteral("b.Txt")), BodyFormat::PlainText);
    EXPECT_EQ(ui::bodyFormatOf(QStringLiteral("b.html")), BodyFormat::Html);
    EXPECT_EQ(ui::bodyFormatOf(QStringLiteral("b.HTM")), BodyFormat::Html);
    EXPECT_EQ(ui::bodyFormatOf(QStringLiteral("/notes/1234.jtl2")), BodyFormat::Rtf);
    EXPECT_FALSE(ui::bodyFormatOf(QStringLiteral("b.jtl")).has_value());
    EXPECT_FALSE(ui::bodyFormatOf(QStringLiteral("rtf")).has_value());
}

TEST(BodyConvert, TextToHtmlAndBackKeepsTheLines)
{
    const QString folder = freshDir(QStringLiteral("convert-html"));
    writeAll(folder + "/in.txt",
             "Einkauf: Brot & <Milch>\n\nGr\xC3\xBC\xC3\x9F"
             "e \xE2\x82\xAC\n");
    ui::convertBodyFile(folder + "/in.txt", folder + "/out.html");
    EXPECT_TRUE(readAll(folder + "/out.html").contains("&lt;Milch&gt;"));
    ui::convertBodyFile(folder + "/out.html", folder + "/back.txt");
    EXPECT_EQ(linesOfFile(folder + "/back.txt"),
              QStringList({"Einkauf: Brot & <Milch>", "", "Grüße €"}));
}

TEST(BodyConvert, TextToRtfAndBackKeepsTheLines)
{
    if (!uitest::rtfKeepsText())
        GTEST_SKIP() << "the RTF writer does not keep text yet";
    const QString folder = freshDir(QStringLiteral("convert-rtf"));
    // Windows-1252 bytes come in as before; text goes out as UTF-8, even
    // where every character would fit Windows-1252.
    writeAll(folder + "/in.txt", "one\ncaf\xe9 \x80\n");
    ui::convertBodyFile(folder + "/in.txt", folder + "/out.Rtf");
    ui::convertBodyFile(folder + "/out.Rtf", folder + "/back.TXT");
    EXPECT_EQ(readAll(folder + "/back.TXT"), QByteArray("one\ncaf\xC3\xA9 \xE2\x82\xAC\n"));
    // A list's bullets, and a table's rows as tab-separated cells.
    writeAll(folder + "/list.rtf",
             "{\\rtf1{\\*\\listtable{\\list{\\listlevel\\levelnfc23{\\leveltext\\'01\\'95;}}"
             "\\listid1}}{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}}"
             "\\pard\\ls1{\\listtext\\'95\\tab}milk\\par\\pard\\trowd\\cellx100\\cellx200"
             "\\intbl Anna\\cell 555\\cell\\row}");
    ui::convertBodyFile(folder + "/list.rtf", folder + "/list.txt");
    EXPECT_EQ(readAll(folder + "/list.txt"), QByteArray("\xE2\x80\xA2 milk\nAnna\t555\n\n"));
}

TEST(BodyConvert, HtmlCarriesItsPicturesInside)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    cursor.insertText(QStringLiteral("pic: "));
    ui::insertPicture(cursor, uitest::solidImage(9, 6, Qt::red));
    const QByteArray html = ui::writeBodyAs(document, BodyFormat::Html);
    EXPECT_TRUE(html.contains("data:image/png;base64,"));
    EXPECT_FALSE(html.contains("jotlet-picture:"));

    QTextDocument back;
    ui::readBodyAs(back, html, BodyFormat::Html);
    const std::optional<ui::PictureInfo> picture = ui::pictureAt(back, 5);
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->pixelSize, QSize(9, 6));
    // The copy was changed for export, not the body itself.
    EXPECT_TRUE(ui::pictureAt(document, 5).has_value());
    EXPECT_FALSE(ui::writeBodyAs(document, BodyFormat::Rtf).contains("data:"));
}

TEST(BodyConvert, BadInputGivesAClearErrorAndNoOutput)
{
    const QString folder = freshDir(QStringLiteral("convert-bad"));
    writeAll(folder + "/fake.rtf", "just words");
    EXPECT_EQ(convertError(folder + "/fake.rtf", folder + "/out.txt"),
              folder + "/fake.rtf: not a Rich Text Format file");
    EXPECT_EQ(convertError(folder + "/none.txt", folder + "/out.txt"),
              folder + "/none.txt: File not found");
    EXPECT_TRUE(
        convertError(folder + "/in.doc", folder + "/out.txt").contains("unknown body format"));
    EXPECT_TRUE(convertError(folder + "/fake.rtf", folder + "/out.pdf").contains("out.pdf"));
    EXPECT_FALSE(QFile::exists(folder + "/out.txt"));
    EXPECT_FALSE(QFile::exists(folder + "/out.pdf"));
}

TEST(BodyConvert, FailedConversionLeavesAnExistingOutputAlone)
{
    const QString folder = freshDir(QStringLiteral("convert-keep"));
    writeAll(folder + "/fake.rtf", "just words");
    writeAll(folder + "/out.txt", "earlier export");
    EXPECT_FALSE(convertError(folder + "/fake.rtf", folder + "/out.txt").isEmpty());
    EXPECT_EQ(readAll(folder + "/out.txt"), QByteArray("earlier export"));
}

TEST(BodyConvert, OutputIntoAMissingFolderIsAnErrorNamingIt)
{
    const QString folder = freshDir(QStringLiteral("convert-nofolder"));
    writeAll(folder + "/in.txt", "x\n");
    const QString out = folder + "/no/such/out.html";
    try {
        ui::convertBodyFile(folder + "/in.txt", out);
        FAIL() << "no error";
    } catch (const EInOutError &e) {
        EXPECT_TRUE(e.message().startsWith(out + ": "));
    }
}

TEST(JotletctlConvert, ConvertsAndFailsCleanly)
{
    const QString program = QStringLiteral(JL_TEST_BINARY_DIR "/ctl/jotletctl");
    const QString folder = freshDir(QStringLiteral("jotletctl"));
    writeAll(folder + "/in.txt", "hello from the shell\n");

    QProcess ok;
    ok.start(program, {"convert", folder + "/in.txt", folder + "/out.html"});
    ASSERT_TRUE(ok.waitForFinished(30000));
    EXPECT_EQ(ok.exitCode(), 0) << ok.readAllStandardError().toStdString();
    EXPECT_TRUE(readAll(folder + "/out.html").contains("hello from the shell"));

    writeAll(folder + "/bad.rtf", "not rich");
    QProcess bad;
    bad.start(program, {"convert", folder + "/bad.rtf", folder + "/bad.txt"});
    ASSERT_TRUE(bad.waitForFinished(30000));
    EXPECT_NE(bad.exitCode(), 0);
    EXPECT_TRUE(bad.readAllStandardError().contains("not a Rich Text Format file"));
    EXPECT_FALSE(QFile::exists(folder + "/bad.txt"));

    QProcess usage;
    usage.start(program, {"convert", folder + "/in.txt"});
    ASSERT_TRUE(usage.waitForFinished(30000));
    EXPECT_EQ(usage.exitCode(), 2);
}
