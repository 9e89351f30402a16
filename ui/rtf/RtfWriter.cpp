#include "ui/rtf/RtfWriter.h"

#include "platform/Product.h"
#include "ui/rtf/Rtf.h"
#include "ui/rtf/RtfCodePages.h"
#include "ui/rtf/RtfPicture.h"
#include "ui/rtf/RtfTokenizer.h"

#include <QBuffer>
#include <QImage>
#include <QPixmap>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QUrl>

#include <optional>
#include <tuple>

namespace rtf {
namespace {

constexpr int kHexLineBytes = 40;
constexpr char kLineEnd[] = "\r\n";

QString familyOf(const QTextCharFormat &format)
{
    if (format.hasProperty(QTextFormat::FontFamilies)) {
        const QStringList families = format.fontFamilies().toStringList();
        if (!families.isEmpty())
            return families.first();
    }
    return format.stringProperty(QTextFormat::FontFamily);
}

int halfPointsOf(const QTextCharFormat &format)
{
    double points = 0;
    if (format.hasProperty(QTextFormat::FontPointSize))
        points = format.fontPointSize();
    else if (format.hasProperty(QTextFormat::FontPixelSize))
        points = format.intProperty(QTextFormat::FontPixelSize) * 0.75;
    return points > 0 ? qBound(1, qRound(points * 2), 3276) : 0;
}

std::optional<QRgb> colorOf(const QTextCharFormat &format, int property)
{
    if (!format.hasProperty(property))
        return std::nullopt;
    const QBrush brush = format.brushProperty(property);
    if (brush.style() == Qt::NoBrush)
        return std::nullopt;
    return brush.color().rgb();
}

QImage imageOf(const QTextDocument &document, const QString &name)
{
    const QVariant resource = document.resource(QTextDocument::ImageResource, QUrl(name));
    switch (resource.typeId()) {
    case QMetaType::QImage:
        return resource.value<QImage>();
    case QMetaType::QPixmap:
        return resource.value<QPixmap>().toImage();
    case QMetaType::QByteArray:
        return QImage::fromData(resource.toByteArray());
    default:
        return {};
    }
}

// Kept picture bytes go into the file as they are, so they must be exactly
// one group: anything else would swallow or cut the text after it.
bool isWholeGroup(const QByteArray &bytes)
{
    Tokenizer tokens(bytes);
    if (tokens.next().type != Token::GroupOpen)
        return false;
    for (int depth = 1; depth > 0;) {
        const Token token = tokens.next();
        if (token.type == Token::End)
            return false;
        if (token.type == Token::GroupOpen)
            ++depth;
        else if (token.type == Token::GroupClose)
            --depth;
    }
    return tokens.position() == bytes.size();
}

int twips(double pixels)
{
    return qRound(pixels * kTwipsPerPixel);
}

} // namespace

bool Writer::ParaFormat::operator==(const ParaFormat &other) const
{
    return std::tie(alignment, leftTwips, rightTwips, firstTwips)
        == std::tie(other.alignment, other.leftTwips, other.rightTwips, other.firstTwips);
}

Writer::Writer(const QTextDocument &document)
    : m_document(document)
{
}

QByteArray Writer::run()
{
    collectTables();
    writeHeader();
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next())
        writeBlock(block);
    m_out += '}';
    m_out += kLineEnd;
    return m_out;
}

void Writer::collectTables()
{
    QString defaultFamily = m_document.defaultFont().family();
    if (defaultFamily.isEmpty())
        defaultFamily = QStringLiteral("Arial");
    m_fonts.append(defaultFamily);
    m_fontIndex.insert(defaultFamily, 0);
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
        if (block.length() <= 1)
            collectFormat(block.charFormat());
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (!it.fragment().charFormat().isImageFormat())
                collectFormat(it.fragment().charFormat());
        }
    }
}

void Writer::collectFormat(const QTextCharFormat &format)
{
    const QString family = familyOf(format);
    if (!family.isEmpty() && !m_fontIndex.contains(family)) {
        m_fontIndex.insert(family, int(m_fonts.size()));
        m_fonts.append(family);
    }
    for (int property : {int(QTextFormat::ForegroundBrush), int(QTextFormat::BackgroundBrush)}) {
        const std::optional<QRgb> color = colorOf(format, property);
        if (color && !m_colorIndex.contains(*color)) {
            m_colors.push_back(*color);
            m_colorIndex.insert(*color, int(m_colors.size())); // 0 is "automatic"
        }
    }
}

Writer::RunFormat Writer::runFormat(const QTextCharFormat &format) const
{
    RunFormat run;
    const QString family = familyOf(format);
    if (!family.isEmpty())
        run.font = m_fontIndex.value(family, -1);
    run.halfPoints = halfPointsOf(format);
    run.bold = format.fontWeight() > QFont::Medium;
    run.italic = format.fontItalic();
    run.underline = format.underlineStyle() != QTextCharFormat::NoUnderline;
    run.strike = format.fontStrikeOut();
    if (const auto color = colorOf(format, QTextFormat::ForegroundBrush))
        run.foreground = m_colorIndex.value(*color);
    if (const auto color = colorOf(format, QTextFormat::BackgroundBrush))
        run.background = m_colorIndex.value(*color);
    return run;
}

Writer::ParaFormat Writer::paraFormat(const QTextBlock &block) const
{
    const QTextBlockFormat format = block.blockFormat();
    ParaFormat para;
    const Qt::Alignment horizontal = format.alignment() & Qt::AlignHorizontal_Mask;
    if (horizontal & Qt::AlignRight)
        para.alignment = 'r';
    else if (horizontal & Qt::AlignHCenter)
        para.alignment = 'c';
    else if (horizontal & Qt::AlignJustify)
        para.alignment = 'j';
    para.leftTwips = twips(format.leftMargin() + format.indent() * m_document.indentWidth());
    para.rightTwips = twips(format.rightMargin());
    para.firstTwips = twips(format.textIndent());
    return para;
}

void Writer::writeHeader()
{
    m_out += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl";
    for (qsizetype i = 0; i < m_fonts.size(); ++i) {
        m_out += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset0 ";
        m_out += encodedName(m_fonts.at(i)) + ";}";
    }
    m_out += '}';
    m_out += kLineEnd;
    // Entry 0 is the automatic colour that \\cf0 and \\highlight0 name.
    m_out += "{\\colortbl ;";
    for (QRgb color : m_colors) {
        m_out += "\\red" + QByteArray::number(qRed(color)) + "\\green"
            + QByteArray::number(qGreen(color)) + "\\blue" + QByteArray::number(qBlue(color)) + ';';
    }
    m_out += '}';
    m_out += kLineEnd;
    m_out += "{\\*\\generator ";
    m_out += product::kApplicationTitle;
    m_out += ' ';
    m_out += product::kFileVersion;
    m_out += ";}\\viewkind4\\uc1";
    m_out += kLineEnd;
}

void Writer::writeBlock(const QTextBlock &block)
{
    writeParaFormat(paraFormat(block));
    writeListMarker(block);
    if (block.length() <= 1)
        writeRunFormat(runFormat(block.charFormat()));
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const QTextCharFormat format = fragment.charFormat();
        if (format.isImageFormat()) {
            for (qsizetype i = 0; i < fragment.length(); ++i)
                writePicture(format.toImageFormat());
            continue;
        }
        writeRunFormat(runFormat(format));
        writeText(fragment.text());
    }
    writeWord("par");
    m_out += kLineEnd;
    m_needDelimiter = false;
}

void Writer::writeParaFormat(const ParaFormat &format)
{
    if (!m_firstParagraph && format == m_para)
        return;
    m_firstParagraph = false;
    m_para = format;
    writeWord("pard");
    if (format.alignment) {
        const char word[] = {'q', format.alignment, '\0'};
        writeWord(word);
    }
    if (format.leftTwips)
        writeWord("li", format.leftTwips);
    if (format.rightTwips)
        writeWord("ri", format.rightTwips);
    if (format.firstTwips)
        writeWord("fi", format.firstTwips);
}

void Writer::writeRunFormat(const RunFormat &format)
{
    // Only \plain takes a font or size away again.
    if ((m_run.font >= 0 && format.font < 0) || (m_run.halfPoints > 0 && format.halfPoints == 0)) {
        writeWord("plain");
        m_run = RunFormat();
    }
    if (format.foreground != m_run.foreground)
        writeWord("cf", format.foreground);
    if (format.background != m_run.background)
        writeWord("highlight", format.background);
    if (format.bold != m_run.bold)
        writeWord(format.bold ? "b" : "b0");
    if (format.italic != m_run.italic)
        writeWord(format.italic ? "i" : "i0");
    if (format.underline != m_run.underline)
        writeWord(format.underline ? "ul" : "ulnone");
    if (format.strike != m_run.strike)
        writeWord(format.strike ? "strike" : "strike0");
    if (format.font != m_run.font)
        writeWord("f", format.font);
    if (format.halfPoints != m_run.halfPoints)
        writeWord("fs", format.halfPoints);
    m_run = format;
}

void Writer::writeListMarker(const QTextBlock &block)
{
    const QTextList *list = block.textList();
    if (!list)
        return;
    // Disc, circle and square lists have no item text of their own.
    const int style = list->format().style();
    const bool bullet = style >= QTextListFormat::ListSquare && style <= QTextListFormat::ListDisc;
    const QString marker = bullet ? QString(QChar(0x2022)) : list->itemText(block);
    m_out += "{\\pntext";
    m_needDelimiter = true;
    writeText(marker);
    writeWord("tab");
    m_out += '}';
    m_needDelimiter = false;
}

void Writer::writeText(const QString &text)
{
    for (const QChar qc : text) {
        const char16_t unit = qc.unicode();
        if (unit == '\\' || unit == '{' || unit == '}') {
            m_out += '\\';
            m_out += char(unit);
            m_needDelimiter = false;
        } else if (unit == '\t') {
            writeWord("tab");
        } else if (unit == 0x2028) {
            writeWord("line");
        } else if (unit >= 0x20 && unit < 0x7F) {
            writeRaw(char(unit));
        } else if (const int byte = windows1252Byte(unit); byte >= 0x80) {
            m_out += "\\'" + QByteArray::number(byte, 16);
            m_needDelimiter = false;
        } else {
            // Control characters and everything Windows-1252 lacks, as
            // signed 16-bit units with a '?' for readers without Unicode.
            m_out += "\\u" + QByteArray::number(int(qint16(unit))) + '?';
            m_needDelimiter = false;
        }
    }
}

void Writer::writePicture(const QTextImageFormat &format)
{
    const QByteArray original = format.property(kOriginalPictureProperty).toByteArray();
    if (isWholeGroup(original)) {
        m_out += original;
        m_needDelimiter = false;
        return;
    }
    const QImage image = imageOf(m_document, format.name());
    if (image.isNull())
        return;
    // One pixel format for every source, so a picture read back from the
    // PNG is written as the same bytes again.
    const QImage canonical = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                                           : QImage::Format_RGB32);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    canonical.save(&buffer, "png");
    double width = format.width() > 0 ? format.width() : image.width();
    double height = format.height() > 0 ? format.height() : image.height();
    if (format.width() > 0 && format.height() <= 0)
        height = image.height() * width / image.width();
    else if (format.height() > 0 && format.width() <= 0)
        width = image.width() * height / image.height();
    m_out += "{\\pict\\pngblip";
    writeWord("picw", image.width());
    writeWord("pich", image.height());
    writeWord("picwgoal", twips(width));
    writeWord("pichgoal", twips(height));
    m_out += kLineEnd;
    for (qsizetype at = 0; at < png.size(); at += kHexLineBytes)
        m_out += png.mid(at, kHexLineBytes).toHex() + kLineEnd;
    m_out += '}';
    m_needDelimiter = false;
}

void Writer::writeWord(const char *word)
{
    m_out += '\\';
    m_out += word;
    m_needDelimiter = true;
}

void Writer::writeWord(const char *word, int value)
{
    writeWord(word);
    m_out += QByteArray::number(value);
}

void Writer::writeRaw(char c)
{
    if (m_needDelimiter)
        m_out += ' ';
    m_needDelimiter = false;
    m_out += c;
}

QByteArray Writer::encodedName(const QString &name)
{
    QByteArray text;
    std::swap(text, m_out);
    m_needDelimiter = false;
    writeText(name);
    std::swap(text, m_out);
    m_needDelimiter = false;
    // A ';' would end the name early; as \'3b it stays part of it.
    return text.replace(";", "\\'3b");
}

} // namespace rtf
