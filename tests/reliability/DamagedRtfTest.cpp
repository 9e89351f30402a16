// Body files cut short at every offset, with every byte changed, and of
// random bytes or random RTF words: the reader never crashes, hangs or
// throws; it reads whatever starts like RTF and refuses the rest (the body
// then loads as plain text), and what it read saves and reads back the same.
#include "reliability/Damage.h"

#include "support/TempHome.h"
#include "ui/BodyText.h"
#include "ui/NoteText.h"
#include "ui/rtf/Rtf.h"

#include <QImage>
#include <QLoggingCategory>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace {

// A body as a user makes it: styles, colours, a centred line, a link,
// accented and non-Latin text, and a picture.
QByteArray typicalBody()
{
    ui::NoteText body;
    QTextCursor cursor(body.document());
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cursor.insertText(QStringLiteral("Shopping "), bold);
    QTextCharFormat red;
    red.setForeground(Qt::red);
    red.setFontItalic(true);
    cursor.insertText(QStringLiteral("today: café, 5 €, молоко"), red);
    cursor.insertBlock();
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cursor.setBlockFormat(centred);
    cursor.insertText(QStringLiteral("see www.example.com {braces} and \\backslash"),
                      QTextCharFormat());
    cursor.insertBlock();
    body.setTextCursor(cursor);
    QImage picture(6, 4, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    body.insertPicture(picture);
    const QString path = testsupport::freshDir(QStringLiteral("rtf")) + QStringLiteral("/1.jtl2");
    body.saveToFile(path);
    return testsupport::readAll(path);
}

// Reads the bytes: true exactly for what starts like RTF, and what was read
// is written and read back with the same text.
void expectSoundRead(const QByteArray &bytes, const QString &what)
{
    QTextDocument document;
    const bool read = rtf::read(bytes, &document);
    EXPECT_EQ(read, rtf::looksLikeRtf(bytes)) << what.toStdString();
    if (!read) {
        EXPECT_TRUE(document.isEmpty()) << what.toStdString() << ": refused input changed it";
        return;
    }
    QTextDocument again;
    ASSERT_TRUE(rtf::read(rtf::write(document), &again)) << what.toStdString();
    EXPECT_EQ(again.toPlainText(), document.toPlainText()) << what.toStdString();
}

class DamagedRtf : public ::testing::Test
{
protected:
    // Broken pictures are expected here; their warnings would bury the output.
    static void SetUpTestSuite()
    {
        QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio.warning=false"));
    }
    static void TearDownTestSuite() { QLoggingCategory::setFilterRules(QString()); }
};

TEST_F(DamagedRtf, CutAtEveryOffsetReadsWhatItHolds)
{
    const QByteArray full = typicalBody();
    EXPECT_GT(full.size(), 500) << full.constData();
    QTextDocument whole;
    ASSERT_TRUE(rtf::read(full, &whole));
    ASSERT_TRUE(whole.toPlainText().startsWith(QStringLiteral("Shopping today")));
    damage::forEachCut(full, [&](const QByteArray &bytes, int cut) {
        expectSoundRead(bytes, QStringLiteral("cut %1").arg(cut));
        // The body loads whatever it is, rich text or plain lines.
        QTextDocument body;
        ui::loadBody(body, bytes);
    });
}

TEST_F(DamagedRtf, EveryChangedByteIsReadSoundly)
{
    const QByteArray full = typicalBody();
    damage::forEachChangedByte(full, [&](const QByteArray &bytes, const QString &change) {
        expectSoundRead(bytes, change);
    });
}

TEST_F(DamagedRtf, RandomBytesAreReadSoundly)
{
    damage::forEachRandom(2000, 300, [&](const QByteArray &bytes, const QString &input) {
        expectSoundRead(bytes, input);
        expectSoundRead("{\\rtf1" + bytes, input + QStringLiteral(" after {\\rtf1"));
    });
}

// Random documents of real RTF words, groups and escapes get much further
// into the reader than random bytes.
TEST_F(DamagedRtf, RandomRtfWordsAreReadSoundly)
{
    const char *const words[] = {
        "{",
        "}",
        "\\par ",
        "\\b ",
        "\\b0 ",
        "\\i",
        "\\fs-5 ",
        "\\f99 ",
        "\\cf3 ",
        "\\highlight2 ",
        "\\u-4 ",
        "\\u1087?",
        "\\uc0 ",
        "\\uc5 ",
        "\\'e9",
        "\\'",
        "\\'zz",
        "{\\fonttbl{\\f0 Arial;}}",
        "{\\colortbl;\\red255\\green0\\blue0;}",
        "{\\*\\generator x;}",
        "{\\pict\\pngblip\\picw4\\pich4 89504e47}",
        "{\\pict\\wmetafile8 0100}",
        "\\bin5 ab",
        "\\bin-1 ",
        "\\bin99999999 ",
        "{\\object ",
        "\\qc ",
        "\\ql ",
        "\\line ",
        "\\tab ",
        "\\~",
        "\\\\",
        "\\{",
        "text ",
        "\xc3\xa9",
        "\\*",
        "\\",
        "\\fs999999999999 ",
        "\\pard ",
        "{\\field{\\*\\fldinst HYPERLINK x}}",
    };
    QRandomGenerator random(3);
    for (int input = 0; input < 3000; ++input) {
        QByteArray bytes = "{\\rtf1\\ansi ";
        const int count = int(random.bounded(60));
        for (int i = 0; i < count; ++i)
            bytes += words[random.bounded(int(std::size(words)))];
        expectSoundRead(
            bytes, QStringLiteral("random document %1: ").arg(input) + QString::fromLatin1(bytes));
    }
}

} // namespace
