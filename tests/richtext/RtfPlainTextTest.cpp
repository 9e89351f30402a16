// Text export reads RTF without building a document; it must give exactly
// the lines the document built from the same bytes shows, for whole files,
// for files cut short anywhere, and for the corner cases of paragraph ends.
#include "richtext/RtfTestSupport.h"

#include "support/TempHome.h"
#include "ui/BodyText.h"
#include "ui/rtf/Rtf.h"

#include <QDirIterator>
#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace rtftest;

namespace {

QStringList documentLines(const QByteArray &rtf)
{
    QTextDocument document;
    rtf::read(rtf, &document);
    return ui::plainLines(document);
}

void expectSameLines(const QByteArray &rtf, const std::string &what)
{
    const std::optional<QStringList> lines = rtf::readPlainLines(rtf);
    QTextDocument document;
    ASSERT_EQ(bool(lines), rtf::read(rtf, &document)) << what;
    if (!lines)
        return;
    EXPECT_EQ(*lines, documentLines(rtf)) << what << "\n" << rtf.left(300).toStdString();
}

QList<QByteArray> committedSamples()
{
    QList<QByteArray> samples;
    QDirIterator it(dataPath(QString()), {QStringLiteral("*.rtf")}, QDir::Files);
    while (it.hasNext())
        samples << testsupport::readAll(it.next());
    // The shared third-party corpus as well, where this machine has it.
    QDirIterator corpus(QStringLiteral(JL_TEST_SOURCE_DIR "/../shared/rtf-corpus"),
                        {QStringLiteral("*.rtf")}, QDir::Files, QDirIterator::Subdirectories);
    while (corpus.hasNext())
        samples << testsupport::readAll(corpus.next());
    return samples;
}

TEST(RtfPlainText, ParagraphEndsAndBreaksGiveTheDocumentsLines)
{
    const char *cases[] = {
        "{\\rtf1}",
        "{\\rtf1 }",
        "{\\rtf1 \\par}",
        "{\\rtf1 \\par\\par}",
        "{\\rtf1 one\\par}",
        "{\\rtf1 one\\par two}",
        "{\\rtf1 one\\par\\par two\\par\\par}",
        "{\\rtf1 one\\line two\\line\\par}",
        "{\\rtf1 a\\'0d\\'0ab\\'0dc\\'0ad\\par}",
        "{\\rtf1 a\\u8233?b\\u8232?c\\u10?d}",
        "{\\rtf1 tab\\tab end{\\v hidden\\par}\\par}",
        "{\\rtf1 \\trowd\\cellx100\\cellx200 a\\cell b\\cell\\row after\\par}",
        // Merged cells with list items: an empty covered one goes, the others
        // move and are numbered where they end up.
        "{\\rtf1 {\\pn\\pnlvlbody\\pndec{\\pntxta .}}\\trowd\\clvmgf\\cellx100\\clmgf\\cellx200"
        "\\clmrg\\cellx300\\intbl a\\cell b\\cell\\cell\\row\\trowd\\clvmrg\\cellx100\\cellx200"
        "\\cellx300\\intbl c\\cell d\\cell e\\cell\\row\\pard after\\par}",
        // A list whose only item is in a merged cell goes on after the table.
        "{\\rtf1{\\*\\listtable{\\list{\\listlevel\\levelnfc0{\\leveltext\\'02(\\'00;}}\\listid1}}"
        "{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}}\\trowd\\clmgf\\cellx100\\clmrg"
        "\\cellx200\\pard\\intbl\\ls1\\cell\\pard\\intbl\\cell\\row\\pard\\ls1\\par}",
        "{\\rtf1 {\\pict\\pngblip 89504e47}\\par}",
        "{\\rtf1 {\\pict\\pngblip 89504e47}}",
        "{\\rtf1 x{\\pict\\wmetafile8 0100}\\par y\\par}",
        "{\\rtf1 {\\*\\shppict{\\pict\\pngblip 00}}{\\nonshppict{\\pict\\wmetafile8 00}}t}",
        "{\\rtf1 caf\\'e9 \\u8364? \\uc2\\u-10179\\'3f\\'3f\\u-8704??\\par}",
        "{\\rtf1 \\ansicpg932 \\'82\\'a0\\par}",
        "{\\rtf1 \\u-1072?\\u-1071?frame}",
        "{\\rtf1 object\\u-4?replacement\\par}",
    };
    for (const char *rtf : cases)
        expectSameLines(QByteArray(rtf), rtf);
}

TEST(RtfPlainText, SamplesGiveTheDocumentsLinesWholeAndCutShort)
{
    const QList<QByteArray> samples = committedSamples();
    ASSERT_FALSE(samples.isEmpty());
    for (const QByteArray &sample : samples) {
        expectSameLines(sample, "whole sample");
        // A file cut by a crash or a full disk, at a spread of places.
        const qsizetype step = std::max<qsizetype>(1, sample.size() / 25);
        for (qsizetype cut = 5; cut < sample.size(); cut += step)
            expectSameLines(sample.left(cut), "cut at " + std::to_string(cut));
    }
}

TEST(RtfPlainText, DamagedBytesGiveTheDocumentsLines)
{
    QRandomGenerator random(20261208);
    const char alphabet[] = "{}\\\\par line cell row u8233? '0d '0a pict \\v0 x\n";
    for (const QByteArray &sample : committedSamples()) {
        for (int round = 0; round < 8; ++round) {
            QByteArray damaged = sample;
            for (int i = 0; i < 8 && damaged.size() > 6; ++i) {
                const qsizetype at = 5 + random.bounded(damaged.size() - 5);
                damaged[at] = alphabet[random.bounded(int(sizeof alphabet - 1))];
            }
            expectSameLines(damaged, "damaged round " + std::to_string(round));
        }
    }
}

TEST(RtfPlainText, NotRtfIsRefused)
{
    EXPECT_FALSE(rtf::readPlainLines("plain words"));
    EXPECT_FALSE(rtf::readPlainLines(QByteArray()));
}

} // namespace
