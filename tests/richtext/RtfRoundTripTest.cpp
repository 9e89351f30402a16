// Documents of every kind a note can hold, made by a seeded generator, must
// come back from write() and read() as they were.
#include "richtext/RtfTestSupport.h"

#include "ui/rtf/Rtf.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QUrl>
#include <gtest/gtest.h>

#include <random>

using namespace rtftest;

namespace {

class DocumentGenerator
{
public:
    explicit DocumentGenerator(unsigned seed)
        : m_random(seed)
    {
    }

    std::unique_ptr<QTextDocument> generate()
    {
        auto document = newDocument();
        QTextCursor cursor(document.get());
        const int paragraphs = number(1, 8);
        for (int p = 0; p < paragraphs; ++p) {
            if (p > 0)
                cursor.insertBlock();
            cursor.setBlockFormat(blockFormat());
            const int runs = number(0, 6);
            for (int r = 0; r < runs; ++r) {
                if (chance(8))
                    insertPicture(document.get(), cursor);
                else
                    cursor.insertText(text(), charFormat());
            }
        }
        return document;
    }

private:
    int number(int low, int high)
    {
        return std::uniform_int_distribution<int>(low, high)(m_random);
    }
    bool chance(int oneIn) { return number(1, oneIn) == 1; }

    QTextBlockFormat blockFormat()
    {
        static const Qt::Alignment alignments[]
            = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter, Qt::AlignJustify};
        QTextBlockFormat format;
        format.setAlignment(alignments[number(0, 3)]);
        if (chance(4)) {
            format.setLeftMargin(number(0, 100));
            format.setRightMargin(number(0, 40));
            format.setTextIndent(number(-20, 40));
        }
        return format;
    }

    QColor color() { return QColor(number(0, 255), number(0, 255), number(0, 255)); }

    QTextCharFormat charFormat()
    {
        static const QStringList families
            = {QStringLiteral("Arial"),           QStringLiteral("Times New Roman"),
               QStringLiteral("Courier New"),     QStringLiteral("DejaVu Sans"),
               QStringLiteral("Comic; Sans {X}"), QStringLiteral("\u5b8b\u4f53")};
        QTextCharFormat format;
        if (chance(2))
            format.setFontFamilies(QStringList(families.at(number(0, int(families.size()) - 1))));
        if (chance(2))
            format.setFontPointSize(number(12, 96) / 2.0);
        if (chance(3))
            format.setFontWeight(QFont::Bold);
        if (chance(3))
            format.setFontItalic(true);
        if (chance(4))
            format.setFontUnderline(true);
        if (chance(5))
            format.setFontStrikeOut(true);
        if (chance(3))
            format.setForeground(color());
        if (chance(4))
            format.setBackground(color());
        return format;
    }

    QString text()
    {
        static const QStringList pieces = {
            QStringLiteral("note"),
            QStringLiteral(" "),
            QStringLiteral("555-0199"),
            QStringLiteral("\\{}"),
            QStringLiteral("\t"),
            QStringLiteral("\u2028"),
            QStringLiteral("caf\u00e9 \u00e0 \u00ff"),
            QStringLiteral("\u20ac\u2013\u2014\u201c\u201d"),
            QStringLiteral("\u00a0\u00ad"),
            QStringLiteral("\u010c\u0161\u017e\u0142"),
            QStringLiteral("\u041f\u0440\u0438\u0432\u0435\u0442"),
            QStringLiteral("\u65e5\u672c\u8a9e"),
            QStringLiteral("\U0001F600\U0001F4DE"),
            QStringLiteral("\u05e9\u05dc\u05d5\u05dd"),
            QStringLiteral("a;b"),
            QStringLiteral("?"),
            QStringLiteral("\u0081\u008d"),
            QStringLiteral("x\\par y"),
        };
        QString text;
        const int count = number(1, 4);
        for (int i = 0; i < count; ++i)
            text += pieces.at(number(0, int(pieces.size()) - 1));
        return text;
    }

    void insertPicture(QTextDocument *document, QTextCursor &cursor)
    {
        const QImage image = testImage(number(1, 24), number(1, 24), number(0, 1000));
        const QString name = QStringLiteral("gen:%1").arg(m_pictures++);
        document->addResource(QTextDocument::ImageResource, QUrl(name), image);
        QTextImageFormat format;
        format.setName(name);
        format.setWidth(number(1, 300));
        format.setHeight(number(1, 300));
        cursor.insertImage(format);
    }

    std::mt19937 m_random;
    int m_pictures = 0;
};

QString joinedDifference(const QStringList &expected, const QStringList &actual)
{
    for (qsizetype i = 0; i < qMax(expected.size(), actual.size()); ++i) {
        if (expected.value(i) != actual.value(i))
            return QStringLiteral("line %1:\n  expected %2\n  actual   %3")
                .arg(i)
                .arg(expected.value(i).left(300), actual.value(i).left(300));
    }
    return {};
}

} // namespace

TEST(RtfRoundTrip, GeneratedDocumentsComeBackUnchanged)
{
    for (unsigned seed = 1; seed <= 300; ++seed) {
        DocumentGenerator generator(seed);
        const auto original = generator.generate();
        const QByteArray written = rtf::write(*original);
        const auto back = readRtf(written);
        const QStringList expected = describeDocument(*original);
        const QStringList actual = describeDocument(*back);
        ASSERT_EQ(actual, expected) << "seed " << seed << "\n"
                                    << joinedDifference(expected, actual).toStdString() << "\n"
                                    << written.left(3000).constData();
        // Saving the loaded note again gives the same bytes.
        ASSERT_EQ(rtf::write(*back), written) << "seed " << seed;
    }
}

TEST(RtfRoundTrip, RunBoundariesDoNotMatterButFormatsDo)
{
    // The comparison itself must see a lost format.
    auto document = newDocument();
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    QTextCursor(document.get()).insertText(QStringLiteral("x"), bold);
    auto plain = newDocument();
    QTextCursor(plain.get()).insertText(QStringLiteral("x"));
    EXPECT_NE(describeDocument(*document), describeDocument(*plain));
}
