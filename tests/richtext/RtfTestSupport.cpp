#include "richtext/RtfTestSupport.h"

#include "ui/rtf/Rtf.h"

#include <QBuffer>
#include <QTextBlock>
#include <QTextList>
#include <QTextTable>
#include <QUrl>
#include <QtEndian>
#include <gtest/gtest.h>

namespace rtftest {

std::unique_ptr<QTextDocument> newDocument()
{
    auto document = std::make_unique<QTextDocument>();
    document->setDefaultFont(QFont(QStringLiteral("Arial"), 10));
    return document;
}

std::unique_ptr<QTextDocument> readRtf(const QByteArray &rtf)
{
    auto document = newDocument();
    EXPECT_TRUE(rtf::read(rtf, document.get()));
    return document;
}

std::vector<Run> runsOf(const QTextDocument &document)
{
    std::vector<Run> runs;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it)
            runs.push_back({it.fragment().text(), it.fragment().charFormat()});
    }
    return runs;
}

Run runWith(const QTextDocument &document, const QString &text)
{
    for (const Run &run : runsOf(document)) {
        if (run.text.contains(text))
            return run;
    }
    ADD_FAILURE() << "no run holds " << text.toStdString();
    return {};
}

std::vector<Picture> picturesOf(const QTextDocument &document)
{
    std::vector<Picture> pictures;
    for (const Run &run : runsOf(document)) {
        if (!run.format.isImageFormat())
            continue;
        const QTextImageFormat format = run.format.toImageFormat();
        const QVariant resource
            = document.resource(QTextDocument::ImageResource, QUrl(format.name()));
        // Equal pictures side by side share one run.
        for (qsizetype i = 0; i < run.text.size(); ++i)
            pictures.push_back({resource.value<QImage>(), QSizeF(format.width(), format.height()),
                                format.property(rtf::kOriginalPictureProperty).toByteArray()});
    }
    return pictures;
}

QByteArray pngBytes(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "png");
    return bytes;
}

QByteArray dibBytes(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "dib");
    return bytes;
}

namespace {

void put16(QByteArray &out, int value)
{
    char bytes[2];
    qToLittleEndian<quint16>(quint16(value), bytes);
    out.append(bytes, 2);
}

void put32(QByteArray &out, quint32 value)
{
    char bytes[4];
    qToLittleEndian<quint32>(value, bytes);
    out.append(bytes, 4);
}

} // namespace

QByteArray metafileWithDib(const QImage &image, bool placeable)
{
    QByteArray out;
    if (placeable) {
        put32(out, 0x9AC6CDD7);
        out.append(18, '\0'); // handle, bounds, inch, reserved, checksum: unread
    }
    const QByteArray dib = dibBytes(image);
    // Header: type, header words, version, size, objects, max record, params.
    put16(out, 1);
    put16(out, 9);
    put16(out, 0x300);
    put32(out, 0);
    put16(out, 0);
    put32(out, 0);
    put16(out, 0);
    // A record without a bitmap first: SETMAPMODE.
    put32(out, 4);
    put16(out, 0x0103);
    put16(out, 8);
    // STRETCHDIB: 28 bytes of fields, then the bitmap.
    put32(out, quint32((28 + dib.size() + 1) / 2));
    put16(out, 0x0F43);
    put32(out, 0x00CC0020);
    put16(out, 0);
    for (int i = 0; i < 8; ++i)
        put16(out, i < 2 ? (i == 0 ? image.height() : image.width()) : 0);
    out += dib;
    if (dib.size() % 2)
        out.append('\0');
    put32(out, 3);
    put16(out, 0);
    return out;
}

QImage testImage(int width, int height, int seed)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(
                x, y,
                qRgb((x * 37 + seed * 11) & 255, (y * 53 + seed) & 255, (x ^ y ^ seed) & 255));
    }
    return image;
}

bool sameImage(const QImage &a, const QImage &b)
{
    return a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}

// What a note shows of a character, in comparable form.
QString describeFormat(const QTextDocument &document, const QTextCharFormat &format)
{
    if (format.isImageFormat()) {
        const QTextImageFormat image = format.toImageFormat();
        const QImage pixels = document.resource(QTextDocument::ImageResource, QUrl(image.name()))
                                  .value<QImage>()
                                  .convertToFormat(QImage::Format_RGB32);
        QByteArray bits(reinterpret_cast<const char *>(pixels.constBits()), pixels.sizeInBytes());
        return QStringLiteral("image %1x%2 shown %3x%4 %5")
            .arg(pixels.width())
            .arg(pixels.height())
            .arg(image.width())
            .arg(image.height())
            .arg(QString::fromLatin1(bits.toBase64()));
    }
    const auto colorText = [&](int property) {
        return format.hasProperty(property) ? format.brushProperty(property).color().name()
                                            : QStringLiteral("auto");
    };
    return QStringLiteral("%1|%2|b%3 i%4 u%5 s%6 v%7 c%8|%9|%10|%11")
        .arg(format.fontFamilies().toStringList().join(QLatin1Char(',')))
        .arg(format.hasProperty(QTextFormat::FontPointSize) ? format.fontPointSize() : 0)
        .arg(format.fontWeight() > QFont::Medium)
        .arg(format.fontItalic())
        .arg(int(format.underlineStyle()))
        .arg(format.fontStrikeOut())
        .arg(int(format.verticalAlignment()))
        .arg(format.hasProperty(QTextFormat::FontCapitalization) ? int(format.fontCapitalization())
                                                                 : 0)
        .arg(colorText(QTextFormat::ForegroundBrush), colorText(QTextFormat::BackgroundBrush))
        .arg(format.isAnchor() ? format.anchorHref() : QString());
}

QString describeBlockFormat(const QTextBlock &block)
{
    const QTextBlockFormat format = block.blockFormat();
    QString tabs;
    for (const QTextOption::Tab &tab : format.tabPositions())
        tabs += QStringLiteral(" tab%1@%2").arg(int(tab.type)).arg(tab.position);
    QString list;
    if (const QTextList *textList = block.textList()) {
        const QTextListFormat listFormat = textList->format();
        list = QStringLiteral(" list%1 style%2 indent%3 '%4' '%5'")
                   .arg(textList->itemNumber(block))
                   .arg(int(listFormat.style()))
                   .arg(listFormat.indent())
                   .arg(listFormat.numberPrefix(),
                        listFormat.hasProperty(QTextFormat::ListNumberSuffix)
                            ? listFormat.numberSuffix()
                            : QStringLiteral("."));
    }
    return QStringLiteral("paragraph %1 %2 %3 %4 space %5 %6 line %7 %8%9%10")
        .arg(int(format.alignment() & Qt::AlignHorizontal_Mask))
        .arg(format.leftMargin())
        .arg(format.rightMargin())
        .arg(format.textIndent())
        .arg(format.topMargin())
        .arg(format.bottomMargin())
        .arg(format.lineHeightType())
        .arg(format.lineHeight())
        .arg(tabs, list);
}

void describeFrame(const QTextDocument &document, QTextFrame::iterator it, QStringList &lines);

void describeTable(const QTextDocument &document, const QTextTable &table, QStringList &lines)
{
    const QTextTableFormat format = table.format();
    QStringList widths;
    for (const QTextLength &width : format.columnWidthConstraints()) {
        if (width.type() != QTextLength::VariableLength)
            widths << QStringLiteral("%1:%2").arg(int(width.type())).arg(width.rawValue());
        else
            widths << QStringLiteral("auto");
    }
    // No constraints and variable ones look the same.
    if (widths.count(QStringLiteral("auto")) == widths.size())
        widths.clear();
    lines << QStringLiteral("table %1x%2 border %3 padding %4 spacing %5 widths %6")
                 .arg(table.rows())
                 .arg(table.columns())
                 .arg(format.border())
                 .arg(format.cellPadding())
                 .arg(format.cellSpacing())
                 .arg(widths.join(QLatin1Char(',')));
    for (int row = 0; row < table.rows(); ++row) {
        for (int column = 0; column < table.columns(); ++column) {
            const QTextTableCell cell = table.cellAt(row, column);
            if (cell.row() != row || cell.column() != column)
                continue;
            lines << QStringLiteral("cell %1,%2 span %3x%4")
                         .arg(row)
                         .arg(column)
                         .arg(cell.rowSpan())
                         .arg(cell.columnSpan());
            describeFrame(document, cell.begin(), lines);
        }
    }
    lines << QStringLiteral("end table");
}

void describeFrame(const QTextDocument &document, QTextFrame::iterator it, QStringList &lines)
{
    for (; !it.atEnd(); ++it) {
        if (const QTextTable *table = qobject_cast<const QTextTable *>(it.currentFrame())) {
            describeTable(document, *table, lines);
            continue;
        }
        const QTextBlock block = it.currentBlock();
        lines << describeBlockFormat(block);
        QString previous;
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QString look = describeFormat(document, fragment.fragment().charFormat());
            if (look != previous)
                lines << look;
            previous = look;
            lines.last() += QStringLiteral(" [") + fragment.fragment().text() + QLatin1Char(']');
        }
    }
}

// Every paragraph's format and every character with its format; run
// boundaries do not matter, only what each character looks like.
QStringList describeDocument(const QTextDocument &document)
{
    QStringList lines;
    describeFrame(document, document.rootFrame()->begin(), lines);
    return lines;
}

QString dataPath(const QString &name)
{
    return QStringLiteral(JL_TEST_SOURCE_DIR "/tests/data/rtf/") + name;
}

} // namespace rtftest
