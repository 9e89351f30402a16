// The reader's text pipeline, paragraphs and pictures.
#include "ui/rtf/RtfReader.h"

#include <QCryptographicHash>

namespace rtf {
namespace {

constexpr char16_t kReplacement = 0xFFFD;
constexpr int kHexLineBytes = 40;

bool isHighSurrogate(int unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(int unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

} // namespace

int Reader::textCodePage()
{
    const int font = top().chr.font >= 0 ? top().chr.font : m_defaultFont;
    if (const FontEntry *entry = m_fonts.find(font); entry && entry->codePage)
        return entry->codePage;
    return m_documentCodePage;
}

void Reader::prepareTextSink()
{
    const CharState &chr = top().chr;
    const int codePage = textCodePage();
    if (chr != m_pendingState) {
        flushBytes();
        flushText();
        m_pendingState = chr;
    } else if (codePage != m_pendingCodePage) {
        flushBytes();
    }
    m_pendingCodePage = codePage;
    m_afterShapePicture = false;
    emitPendingSurrogate();
    if (top().para.tableDepth != m_tableDepth) {
        flushBytes();
        flushText();
        tellTableDepth(top().para.tableDepth);
    }
}

void Reader::addTextBytes(std::string_view bytes)
{
    prepareTextSink();
    m_pendingBytes.append(bytes.data(), qsizetype(bytes.size()));
}

void Reader::addTextChars(const QString &text)
{
    prepareTextSink();
    flushBytes();
    m_pendingText += text;
}

void Reader::emitPendingSurrogate()
{
    if (!m_highSurrogate)
        return;
    m_highSurrogate = 0;
    flushBytes();
    m_pendingText += QChar(kReplacement);
}

void Reader::addUnicode(int value)
{
    // A signed 16-bit value; some writers send 0x8000 and up unsigned.
    const int unit = value < 0 ? value + 65536 : value;
    const Destination dest = top().dest;
    if (collecting()) {
        if (unit >= 0 && unit <= 0xFFFF)
            collectText(QString(QChar(char16_t(unit))));
        return;
    }
    if (dest != Destination::Text && dest != Destination::FontTable)
        return;
    QString text;
    if (unit < 0 || unit > 0xFFFF) {
        text = QChar(kReplacement);
    } else if (isHighSurrogate(unit)) {
        if (dest == Destination::Text) {
            prepareTextSink();
            m_highSurrogate = char16_t(unit);
        }
        return;
    } else if (isLowSurrogate(unit)) {
        if (m_highSurrogate) {
            const char16_t high = m_highSurrogate;
            m_highSurrogate = 0;
            text = QString(QChar(high)) + QChar(char16_t(unit));
        } else {
            text = QChar(kReplacement);
        }
    } else {
        text = QChar(char16_t(unit));
    }
    if (dest == Destination::FontTable) {
        flushFontName();
        m_fonts.appendName(text);
    } else if (!top().chr.hidden) {
        addTextChars(text);
    }
}

void Reader::flushBytes()
{
    if (m_pendingBytes.isEmpty())
        return;
    m_pendingText += m_decoder.decode(m_pendingCodePage, m_pendingBytes);
    m_pendingBytes.clear();
}

void Reader::flushText()
{
    if (m_pendingText.isEmpty())
        return;
    // The document keeps these two for its own frame structure.
    for (QChar &c : m_pendingText) {
        if (c.unicode() == 0xFDD0 || c.unicode() == 0xFDD1)
            c = QChar(kReplacement);
    }
    m_builder.appendText(m_pendingText, charFormat(m_pendingState));
    m_pendingText.clear();
    m_objectText = m_objectText || m_openObject;
}

void Reader::flushFontName()
{
    if (m_fontNameBytes.isEmpty())
        return;
    const int codePage = m_fonts.pendingCodePage() ? m_fonts.pendingCodePage() : m_documentCodePage;
    m_fonts.appendName(m_decoder.decode(codePage, m_fontNameBytes));
    m_fontNameBytes.clear();
}

QTextCharFormat Reader::charFormat(const CharState &state)
{
    return m_builder.wantsFormats() ? m_formats.format(state) : QTextCharFormat();
}

void Reader::endParagraph()
{
    emitPendingSurrogate();
    flushBytes();
    flushText();
    tellTableDepth(top().para.tableDepth);
    m_builder.endParagraph(paragraphEnd(top().para, top().chr));
    m_objectText = m_objectText || m_openObject;
}

Reader::ShownPicture Reader::shownPicture(qsizetype endOffset)
{
    const DecodedPicture decoded = decodePicture(m_picture, m_budget);
    if (!decoded.image.isNull()) {
        return {decoded.image,
                QStringLiteral("rtf-image:")
                    + QString::fromLatin1(
                        QCryptographicHash::hash(m_picture.data, QCryptographicHash::Sha1).toHex()),
                decoded.shownSize, QByteArray()};
    }
    // Kept as it came, so saving the note gives the picture back.
    const QByteArray original = endOffset > 0 && m_pictureGroupIsClean
        ? m_tokens.input()
              .sliced(m_pictureOpenOffset, endOffset - m_pictureOpenOffset)
              .toByteArray()
        : canonicalPictureGroup();
    return {placeholderImage(), QStringLiteral("rtf-placeholder"), decoded.shownSize, original};
}

void Reader::finishPicture(qsizetype endOffset)
{
    // Plain text shows nothing of a picture: no need to decode it.
    const ShownPicture picture
        = m_builder.wantsFormats() ? shownPicture(endOffset) : ShownPicture();
    emitPendingSurrogate();
    flushBytes();
    flushText();
    tellTableDepth(top().para.tableDepth);
    m_builder.appendImage(picture.image, picture.name, picture.shownSize, picture.original);
    m_picture = PictureData();
    if (m_openObject)
        ++m_objectPictures;
}

// The picture group rebuilt from what was read, for a file cut off inside it.
QByteArray Reader::canonicalPictureGroup() const
{
    const PictureData &p = m_picture;
    QByteArray group = "{\\pict";
    if (!p.typeWord.isEmpty())
        group += '\\' + p.typeWord;
    const auto word = [&group](const char *name, int value) {
        group += '\\';
        group += name;
        group += QByteArray::number(value);
    };
    word("picw", p.width);
    word("pich", p.height);
    if (p.goalWidth)
        word("picwgoal", p.goalWidth);
    if (p.goalHeight)
        word("pichgoal", p.goalHeight);
    if (p.scaleX != 100)
        word("picscalex", p.scaleX);
    if (p.scaleY != 100)
        word("picscaley", p.scaleY);
    if (p.kind == PictureData::Kind::DeviceBitmap) {
        word("wbmbitspixel", p.bitsPerPixel);
        word("wbmwidthbytes", p.widthBytes);
    }
    group += "\r\n";
    for (qsizetype at = 0; at < p.data.size(); at += kHexLineBytes)
        group += p.data.mid(at, kHexLineBytes).toHex() + "\r\n";
    group += '}';
    return group;
}

} // namespace rtf
