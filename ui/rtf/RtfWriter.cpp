#include "ui/rtf/RtfWriter.h"

#include "platform/Product.h"
#include "ui/rtf/Rtf.h"
#include "ui/rtf/RtfCodePages.h"
#include "ui/rtf/RtfLists.h"
#include "ui/rtf/RtfPicture.h"
#include "ui/rtf/RtfTokenizer.h"

#include <QBuffer>
#include <QImage>
#include <QPixmap>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
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

const char *underlineWord(int style)
{
    switch (style) {
    case QTextCharFormat::NoUnderline:
        return "ulnone";
    case QTextCharFormat::DashUnderline:
        return "uldash";
    case QTextCharFormat::DotLine:
        return "uld";
    case QTextCharFormat::DashDotLine:
        return "uldashd";
    case QTextCharFormat::DashDotDotLine:
        return "uldashdd";
    case QTextCharFormat::WaveUnderline:
    case QTextCharFormat::SpellCheckUnderline:
        return "ulwave";
    default:
        return "ul";
    }
}

} // namespace

bool Writer::ParaFormat::operator==(const ParaFormat &other) const
{
    return std::tie(alignment, leftTwips, rightTwips, firstTwips, spaceBefore, spaceAfter,
                    lineSpacing, lineMultiple, tabs, list, listLevel, tableDepth)
        == std::tie(other.alignment, other.leftTwips, other.rightTwips, other.firstTwips,
                    other.spaceBefore, other.spaceAfter, other.lineSpacing, other.lineMultiple,
                    other.tabs, other.list, other.listLevel, other.tableDepth);
}

Writer::Writer(const QTextDocument &document, const QTextCharFormat &defaults)
    : m_document(document)
    , m_defaults(defaults)
    , m_allFormats(document.allFormats())
    , m_effective(size_t(m_allFormats.size()))
    , m_runs(size_t(m_allFormats.size()))
    , m_collected(size_t(m_allFormats.size()))
{
}

QByteArray Writer::run()
{
    collectTables();
    writeHeader();
    writeFrame(m_document.rootFrame()->begin(), 0);
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
    collectFrame(m_document.rootFrame()->begin());
}

void Writer::collectFrame(QTextFrame::iterator it)
{
    for (; !it.atEnd(); ++it) {
        if (const QTextTable *table = qobject_cast<const QTextTable *>(it.currentFrame())) {
            for (int row = 0; row < table->rows(); ++row) {
                for (int column = 0; column < table->columns(); ++column) {
                    const QTextTableCell cell = table->cellAt(row, column);
                    if (cell.row() == row && cell.column() == column)
                        collectFrame(cell.begin());
                }
            }
        } else if (const QTextFrame *frame = it.currentFrame()) {
            collectFrame(frame->begin());
        } else {
            collectBlock(it.currentBlock());
        }
    }
}

void Writer::collectBlock(const QTextBlock &block)
{
    if (const QTextList *list = block.textList(); list && !m_listIndex.contains(list)) {
        m_lists.push_back(list);
        m_listIndex.insert(list, int(m_lists.size()));
    }
    if (block.length() <= 1)
        collectFormat(block.charFormatIndex());
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        if (!it.fragment().charFormat().isImageFormat())
            collectFormat(it.fragment().charFormatIndex());
    }
}

// The format as the text shows it: its own properties, else the defaults.
const QTextCharFormat &Writer::effectiveFormat(int index)
{
    std::optional<QTextCharFormat> &effective = m_effective[size_t(index)];
    if (!effective) {
        effective = m_allFormats.at(index).toCharFormat();
        // Pasted headings and <big>/<small> are sized relative to the text
        // around them: written as the size they show.
        if (effective->hasProperty(QTextFormat::FontSizeAdjustment)
            && !effective->hasProperty(QTextFormat::FontPointSize)
            && !effective->hasProperty(QTextFormat::FontPixelSize)) {
            static const double scale[] = {7.0 / 9, 8.0 / 9, 1, 1.2, 1.4, 1.8, 2.4};
            const int step
                = std::clamp(effective->intProperty(QTextFormat::FontSizeAdjustment) + 2, 0, 6);
            const double base = m_defaults.hasProperty(QTextFormat::FontPointSize)
                ? m_defaults.fontPointSize()
                : m_document.defaultFont().pointSizeF();
            if (base > 0)
                effective->setFontPointSize(qRound(base * scale[step] * 2) / 2.0);
        }
        fillDefaults(*effective, m_defaults);
    }
    return *effective;
}

void Writer::collectFormat(int index)
{
    if (index < 0 || size_t(index) >= m_collected.size() || m_collected[size_t(index)])
        return;
    m_collected[size_t(index)] = true;
    const QTextCharFormat &format = effectiveFormat(index);
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

const Writer::RunFormat &Writer::runFormat(int index)
{
    std::optional<RunFormat> &cached = m_runs[size_t(index)];
    if (cached)
        return *cached;
    const QTextCharFormat &format = effectiveFormat(index);
    RunFormat run;
    const QString family = familyOf(format);
    if (!family.isEmpty())
        run.font = m_fontIndex.value(family, -1);
    run.halfPoints = halfPointsOf(format);
    run.bold = format.fontWeight() > QFont::Medium;
    run.italic = format.fontItalic();
    run.underline = format.underlineStyle();
    run.strike = format.fontStrikeOut();
    const int vertical = format.verticalAlignment();
    if (vertical == QTextCharFormat::AlignSuperScript
        || vertical == QTextCharFormat::AlignSubScript)
        run.vertical = vertical;
    if (format.hasProperty(QTextFormat::FontCapitalization)) {
        const QFont::Capitalization caps = format.fontCapitalization();
        run.caps = caps == QFont::SmallCaps ? 1 : caps == QFont::AllUppercase ? 2 : 0;
    }
    if (const auto color = colorOf(format, QTextFormat::ForegroundBrush))
        run.foreground = m_colorIndex.value(*color);
    if (const auto color = colorOf(format, QTextFormat::BackgroundBrush))
        run.background = m_colorIndex.value(*color);
    if (format.isAnchor())
        run.link = format.anchorHref();
    cached = run;
    return *cached;
}

Writer::ParaFormat Writer::paraFormat(const QTextBlock &block, int tableDepth) const
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
    para.spaceBefore = twips(format.topMargin());
    para.spaceAfter = twips(format.bottomMargin());
    switch (format.lineHeightType()) {
    case QTextBlockFormat::ProportionalHeight:
        para.lineSpacing = qRound(format.lineHeight() * 240 / 100);
        para.lineMultiple = true;
        break;
    case QTextBlockFormat::FixedHeight:
        para.lineSpacing = -twips(format.lineHeight());
        break;
    case QTextBlockFormat::MinimumHeight:
        para.lineSpacing = twips(format.lineHeight());
        break;
    default:
        break;
    }
    for (const QTextOption::Tab &tab : format.tabPositions()) {
        static const char *const kinds[] = {"", "\\tqr", "\\tqc", "\\tqdec"};
        para.tabs += kinds[std::clamp(int(tab.type), 0, 3)];
        para.tabs += "\\tx" + QByteArray::number(twips(tab.position));
    }
    if (const QTextList *list = block.textList()) {
        para.list = m_listIndex.value(list);
        para.listLevel = std::clamp(list->format().indent() - 1, 0, kListLevels - 1);
        // The level gives the indents; the paragraph's own come on top.
        para.leftTwips += kListIndentTwips * (para.listLevel + 1);
        para.firstTwips += kListHangTwips;
    }
    para.tableDepth = tableDepth;
    return para;
}

void Writer::writeHeader()
{
    m_out += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl";
    for (qsizetype i = 0; i < m_fonts.size(); ++i) {
        m_out += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset0 ";
        m_out += encodedText(m_fonts.at(i)) + ";}";
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
    writeListTable();
    m_out += "{\\*\\generator ";
    m_out += product::kApplicationTitle;
    m_out += ' ';
    m_out += product::kFileVersion;
    m_out += ";}\\viewkind4\\uc1";
    m_out += kLineEnd;
}

void Writer::writeBlock(const QTextBlock &block, int tableDepth, const char *endWord)
{
    writeParaFormat(paraFormat(block, tableDepth));
    writeListMarker(block);
    if (block.length() <= 1)
        writeRunFormat(runFormat(block.charFormatIndex()));
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const QTextCharFormat format = fragment.charFormat();
        if (format.isImageFormat()) {
            closeLink();
            for (qsizetype i = 0; i < fragment.length(); ++i)
                writePicture(format.toImageFormat());
            continue;
        }
        const RunFormat &run = runFormat(fragment.charFormatIndex());
        if (run.link != m_openLink) {
            closeLink();
            openLink(run.link);
        }
        writeRunFormat(run);
        writeText(fragment.text());
    }
    closeLink();
    writeWord(endWord);
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
    if (format.tableDepth > 0)
        writeWord("intbl");
    if (format.tableDepth > 1)
        writeWord("itap", format.tableDepth);
    if (format.list) {
        writeWord("ls", format.list);
        writeWord("ilvl", format.listLevel);
    }
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
    if (format.spaceBefore)
        writeWord("sb", format.spaceBefore);
    if (format.spaceAfter)
        writeWord("sa", format.spaceAfter);
    if (format.lineSpacing) {
        writeWord("sl", format.lineSpacing);
        writeWord("slmult", format.lineMultiple ? 1 : 0);
    }
    if (!format.tabs.isEmpty()) {
        m_out += format.tabs;
        m_needDelimiter = true;
    }
}

void Writer::writeRunFormat(const RunFormat &format)
{
    // Only \plain takes a font or size away again.
    if ((m_run.font >= 0 && format.font < 0) || (m_run.halfPoints > 0 && format.halfPoints == 0)) {
        writeWord("plain");
        const QString link = m_run.link;
        m_run = RunFormat();
        m_run.link = link;
    }
    if (format.foreground != m_run.foreground)
        writeWord("cf", format.foreground);
    if (format.background != m_run.background) {
        // Word and LibreOffice show the shading, rich-edit the highlight.
        writeWord("chcbpat", format.background);
        writeWord("highlight", format.background);
    }
    if (format.bold != m_run.bold)
        writeWord(format.bold ? "b" : "b0");
    if (format.italic != m_run.italic)
        writeWord(format.italic ? "i" : "i0");
    if (format.underline != m_run.underline)
        writeWord(underlineWord(format.underline));
    if (format.strike != m_run.strike)
        writeWord(format.strike ? "strike" : "strike0");
    if (format.font != m_run.font)
        writeWord("f", format.font);
    if (format.halfPoints != m_run.halfPoints)
        writeWord("fs", format.halfPoints);
    if (format.vertical != m_run.vertical)
        writeWord(format.vertical == QTextCharFormat::AlignSuperScript     ? "super"
                      : format.vertical == QTextCharFormat::AlignSubScript ? "sub"
                                                                           : "nosupersub");
    if (format.caps != m_run.caps) {
        if (m_run.caps)
            writeWord(m_run.caps == 1 ? "scaps0" : "caps0");
        if (format.caps)
            writeWord(format.caps == 1 ? "scaps" : "caps");
    }
    m_run = format;
}

void Writer::writeListMarker(const QTextBlock &block)
{
    const QTextList *list = block.textList();
    if (!list)
        return;
    // For readers that know no list table.
    m_out += "{\\listtext";
    m_needDelimiter = true;
    writeText(listMarker(list->format(), m_listItems.next(block)));
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
    // An object, or a picture this program cannot show, goes back as it
    // came, at the size it is shown now.
    for (int property : {kOriginalObjectProperty, kOriginalPictureProperty}) {
        const QByteArray original = format.property(property).toByteArray();
        if (!isWholeGroup(original))
            continue;
        const QSizeF shown(format.width(), format.height());
        const QVariant read = format.property(kOriginalShownSizeProperty);
        m_out += !read.isValid() || read.toSizeF() == shown ? original
                                                            : withShownSize(original, shown);
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

QByteArray Writer::encodedText(const QString &text)
{
    QByteArray encoded;
    std::swap(encoded, m_out);
    m_needDelimiter = false;
    writeText(text);
    std::swap(encoded, m_out);
    m_needDelimiter = false;
    // A ';' would end a name early; as \'3b it stays part of it.
    return encoded.replace(";", "\\'3b");
}

} // namespace rtf
