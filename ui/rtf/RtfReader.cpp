#include "ui/rtf/RtfReader.h"

#include <algorithm>

namespace rtf {
namespace {

constexpr int kMaxIndentTwips = 100000;
constexpr int kMaxHalfPoints = 3276;

bool isBlank(std::string_view bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c == ' ' || c == '\t'; });
}

bool isDestination(Keyword keyword)
{
    switch (keyword) {
    case Keyword::FontTable:
    case Keyword::ColorTable:
    case Keyword::Picture:
    case Keyword::Object:
    case Keyword::ObjectResult:
    case Keyword::TextDestination:
    case Keyword::ShapePicture:
    case Keyword::NonShapePicture:
    case Keyword::UnicodePair:
    case Keyword::UnicodeAlternative:
    case Keyword::SkipDestination:
    case Keyword::ListTable:
    case Keyword::ListOverrideTable:
    case Keyword::ListDefinition:
    case Keyword::ListLevel:
    case Keyword::ListOverride:
    case Keyword::LevelText:
    case Keyword::Numbering:
    case Keyword::NumberingBefore:
    case Keyword::NumberingAfter:
    case Keyword::MarkerText:
    case Keyword::FieldInstruction:
    case Keyword::FieldResult:
    case Keyword::TableProperties:
        return true;
    default:
        return false;
    }
}

bool toggleValue(const Token &token)
{
    return !token.hasParam || token.param != 0;
}

} // namespace

Reader::Reader(QByteArrayView input, ContentSink &sink, const QTextCharFormat &implicit)
    : m_tokens(input)
    , m_builder(sink)
    , m_formats(m_fonts, m_colors, m_links, implicit)
    , m_rows(size_t(ContentSink::kMaxTableDepth))
{
}

void Reader::run()
{
    while (!m_finished) {
        const Token token = m_tokens.next();
        if (m_groups.empty() && token.type != Token::GroupOpen && token.type != Token::End)
            continue;
        switch (token.type) {
        case Token::End:
            finishAtEnd();
            break;
        case Token::GroupOpen:
            openGroup(token);
            break;
        case Token::GroupClose:
            closeGroup(token.offset + 1);
            break;
        case Token::ControlWord:
            controlWord(token);
            break;
        case Token::ControlSymbol:
            controlSymbol(token.symbol);
            break;
        case Token::Text:
            text(token.bytes);
            break;
        case Token::HexByte:
            hexByte(token.byte);
            break;
        case Token::Binary:
            binary(token.bytes);
            break;
        }
    }
}

void Reader::openGroup(const Token &token)
{
    m_skip = 0;
    if (m_groups.size() >= kMaxDepth) {
        m_tokens.skipGroup();
        return;
    }
    Group group = m_groups.empty() ? Group() : top();
    group.openOffset = token.offset;
    group.starred = false;
    group.shapePicture = false;
    group.pictureGroup = false;
    group.opened = Keyword::Unknown;
    group.objectGroup = false;
    m_groups.push_back(group);
    dropBlankBeforeDestination();
}

// "{ \fonttbl" and "{ \*\generator": the blank belongs to no text.
void Reader::dropBlankBeforeDestination()
{
    const qsizetype start = m_tokens.position();
    const Token blank = m_tokens.next();
    if (blank.type == Token::Text && isBlank(blank.bytes)) {
        const Token after = m_tokens.next();
        const bool destination = (after.type == Token::ControlSymbol && after.symbol == '*')
            || (after.type == Token::ControlWord
                && isDestination(lookupKeyword(after.bytes).keyword));
        if (destination) {
            m_tokens.setPosition(blank.offset + qsizetype(blank.bytes.size()));
            return;
        }
    }
    m_tokens.setPosition(start);
}

void Reader::closeGroup(qsizetype endOffset)
{
    if (m_groups.empty())
        return;
    m_skip = 0;
    const Group closing = top();
    if (closing.dest == Destination::FontTable) {
        flushFontName();
        m_fonts.commitEntry();
    }
    if (m_groups.size() == 1 && !m_finalCaptured) {
        m_finalPara = closing.para;
        m_finalChr = closing.chr;
    }
    m_groups.pop_back();
    if (closing.dest == Destination::Picture && !m_groups.empty()
        && top().dest == Destination::Text)
        finishPicture(endOffset);
    closeStructureGroup(closing);
    if (closing.objectGroup) {
        // The picture it showed stands for the object, which is kept whole,
        // when it showed nothing else.
        emitPendingSurrogate();
        flushBytes();
        flushText();
        if (endOffset > 0 && m_objectPictures == 1 && !m_objectText)
            m_builder.attachObject(m_tokens.input()
                                       .sliced(closing.openOffset, endOffset - closing.openOffset)
                                       .toByteArray());
        m_openObject = false;
    }
    if (closing.shapePicture)
        m_afterShapePicture = true;
    if (m_groups.empty()) {
        emitPendingSurrogate();
        flushBytes();
        flushText();
        tellTableDepth(m_finalPara.tableDepth);
        m_builder.finish(paragraphEnd(m_finalPara, m_finalChr));
        m_finished = true;
    }
}

void Reader::finishAtEnd()
{
    // A truncated file: everything read so far stays, in the innermost format.
    if (m_groups.empty()) {
        m_finished = true;
        return;
    }
    m_finalPara = top().para;
    m_finalChr = top().chr;
    m_finalCaptured = true;
    while (!m_groups.empty())
        closeGroup(-1);
}

void Reader::skipCurrentGroup()
{
    m_tokens.skipGroup();
    m_groups.pop_back();
    m_skip = 0;
}

bool Reader::consumeSkip()
{
    if (m_skip <= 0)
        return false;
    --m_skip;
    return true;
}

void Reader::controlWord(const Token &token)
{
    if (consumeSkip())
        return;
    const KeywordInfo info = lookupKeyword(token.bytes);
    Group &group = top();
    if (group.starred) {
        group.starred = false;
        if (!isDestination(info.keyword)) {
            // A picture keeps its data whatever unknown words it carries.
            if (m_groups.size() > 1 && !group.pictureGroup)
                skipCurrentGroup();
            return;
        }
    }
    if (destinationWord(info, token))
        return;
    if (m_groups.size() == 1)
        documentWord(info, token);
    switch (info.keyword) {
    case Keyword::UnicodeSkip:
        group.unicodeSkip = std::clamp(token.param, 0, kMaxUnicodeSkip);
        break;
    case Keyword::Unicode:
        if (token.hasParam) {
            addUnicode(token.param);
            m_skip = group.unicodeSkip;
        }
        break;
    case Keyword::Charset:
        if (group.dest == Destination::FontTable)
            m_fonts.setCharset(token.param);
        break;
    case Keyword::CodePage:
        if (group.dest == Destination::FontTable)
            m_fonts.setCodePage(token.param);
        break;
    case Keyword::Character:
        if (group.dest == Destination::Text && !group.chr.hidden) {
            addTextChars(QString(QChar(info.character)));
        } else if (collecting()) {
            collectText(QString(QChar(info.character)));
        } else if (group.dest == Destination::FontTable) {
            flushFontName();
            m_fonts.appendName(QString(QChar(info.character)));
        }
        break;
    case Keyword::Red:
        if (group.dest == Destination::ColorTable)
            m_colors.setRed(token.param);
        break;
    case Keyword::Green:
        if (group.dest == Destination::ColorTable)
            m_colors.setGreen(token.param);
        break;
    case Keyword::Blue:
        if (group.dest == Destination::ColorTable)
            m_colors.setBlue(token.param);
        break;
    default:
        formatWord(info, token);
        paragraphWord(info, token);
        listWord(info, token);
        tableWord(info, token);
        rowWord(info, token);
        pictureWord(info, token);
        break;
    }
}

// Document settings count only in the header: the same words inside a
// kept picture or another program's private group must change nothing.
void Reader::documentWord(const KeywordInfo &info, const Token &token)
{
    switch (info.keyword) {
    case Keyword::Ansi:
        m_documentCodePage = kWindows1252;
        break;
    case Keyword::Mac:
        m_documentCodePage = 10000;
        break;
    case Keyword::Pc:
        m_documentCodePage = 437;
        break;
    case Keyword::Pca:
        m_documentCodePage = 850;
        break;
    case Keyword::AnsiCodePage:
        m_documentCodePage = normalizedCodePage(token.param);
        break;
    case Keyword::DefaultFont:
        m_defaultFont = token.param;
        break;
    default:
        break;
    }
}

bool Reader::destinationWord(const KeywordInfo &info, const Token &token)
{
    Group &group = top();
    const bool root = m_groups.size() == 1;
    if (group.dest == Destination::Picture && isDestination(info.keyword)) {
        // Inside a picture only its own data counts: a nested destination
        // ({\*\blipuid}, a stray {\pict}) is skipped whole.
        if (!group.pictureGroup && !root)
            skipCurrentGroup();
        return true;
    }
    switch (info.keyword) {
    case Keyword::FontTable:
        group.dest = Destination::FontTable;
        return true;
    case Keyword::ColorTable:
        group.dest = Destination::ColorTable;
        return true;
    case Keyword::Picture:
        group.dest = Destination::Picture;
        group.pictureGroup = true;
        m_picture = PictureData();
        m_pictureOpenOffset = group.openOffset;
        // Only a group that is all picture can be written back as it came;
        // text before \pict was shown already and must not come twice.
        m_pictureGroupIsClean = isBlank(
            std::string_view(m_tokens.input().data() + group.openOffset + 1,
                             size_t(qMax<qsizetype>(0, token.offset - group.openOffset - 1))));
        return true;
    case Keyword::Object:
        group.dest = Destination::Ignore;
        // Only a group that is all object can be written back as it came.
        group.objectGroup = !root && !m_openObject
            && isBlank(
                std::string_view(m_tokens.input().data() + group.openOffset + 1,
                                 size_t(qMax<qsizetype>(0, token.offset - group.openOffset - 1))));
        if (group.objectGroup) {
            // Text before the object is no part of it.
            emitPendingSurrogate();
            flushBytes();
            flushText();
            m_openObject = true;
            m_objectPictures = 0;
            m_objectText = false;
        }
        return true;
    case Keyword::ObjectResult:
    case Keyword::TextDestination:
        if (group.dest == Destination::Ignore)
            group.dest = Destination::Text;
        return true;
    case Keyword::ShapePicture:
        group.shapePicture = true;
        return true;
    case Keyword::NonShapePicture:
        // Word's second copy of the picture it has just written.
        if (m_afterShapePicture && !root)
            skipCurrentGroup();
        return true;
    case Keyword::UnicodePair:
        group.beforeUnicodePair = group.dest;
        group.dest = Destination::Ignore;
        return true;
    case Keyword::UnicodeAlternative:
        group.dest = group.beforeUnicodePair;
        return true;
    case Keyword::SkipDestination:
        if (!root)
            skipCurrentGroup();
        return true;
    default:
        return !root && structureDestination(info);
    }
}

void Reader::formatWord(const KeywordInfo &info, const Token &token)
{
    Group &group = top();
    CharState &chr = group.chr;
    ParaState &para = group.para;
    switch (info.keyword) {
    case Keyword::Plain: {
        // A link is no format: the text stays a link.
        const int link = chr.link;
        chr = CharState();
        chr.link = link;
        break;
    }
    case Keyword::Font:
        if (group.dest == Destination::FontTable) {
            flushFontName();
            m_fonts.beginEntry(token.param);
        } else {
            chr.font = token.param;
        }
        break;
    case Keyword::FontSize:
        chr.halfPoints = std::clamp(token.hasParam ? token.param : 24, 0, kMaxHalfPoints);
        break;
    case Keyword::Bold:
        chr.bold = toggleValue(token);
        break;
    case Keyword::Italic:
        chr.italic = toggleValue(token);
        break;
    case Keyword::Underline:
        chr.underline = toggleValue(token) ? info.value : 0;
        break;
    case Keyword::UnderlineNone:
        chr.underline = 0;
        break;
    case Keyword::Strike:
        chr.strike = toggleValue(token);
        break;
    case Keyword::Hidden:
        chr.hidden = toggleValue(token);
        break;
    case Keyword::Super:
        chr.vertical = toggleValue(token) ? QTextCharFormat::AlignSuperScript : 0;
        break;
    case Keyword::Sub:
        chr.vertical = toggleValue(token) ? QTextCharFormat::AlignSubScript : 0;
        break;
    case Keyword::NoSuperSub:
        chr.vertical = 0;
        break;
    case Keyword::Up:
        // A raised or lowered baseline shows as super- or subscript.
        chr.vertical = !token.hasParam || token.param > 0 ? QTextCharFormat::AlignSuperScript : 0;
        break;
    case Keyword::Down:
        chr.vertical = !token.hasParam || token.param > 0 ? QTextCharFormat::AlignSubScript : 0;
        break;
    case Keyword::SmallCaps:
        chr.smallCaps = toggleValue(token);
        break;
    case Keyword::AllCaps:
        chr.allCaps = toggleValue(token);
        break;
    case Keyword::Foreground:
        chr.foreground = token.param;
        break;
    case Keyword::Background:
        chr.background = token.param;
        break;
    case Keyword::ParagraphDefault:
        para = ParaState();
        break;
    case Keyword::AlignLeft:
        para.alignment = Qt::AlignLeft;
        break;
    case Keyword::AlignRight:
        para.alignment = Qt::AlignRight;
        break;
    case Keyword::AlignCenter:
        para.alignment = Qt::AlignHCenter;
        break;
    case Keyword::AlignJustify:
        para.alignment = Qt::AlignJustify;
        break;
    case Keyword::LeftIndent:
        para.leftTwips = std::clamp(token.param, -kMaxIndentTwips, kMaxIndentTwips);
        break;
    case Keyword::RightIndent:
        para.rightTwips = std::clamp(token.param, -kMaxIndentTwips, kMaxIndentTwips);
        break;
    case Keyword::FirstIndent:
        para.firstTwips = std::clamp(token.param, -kMaxIndentTwips, kMaxIndentTwips);
        break;
    default:
        break;
    }
}

void Reader::pictureWord(const KeywordInfo &info, const Token &token)
{
    if (top().dest != Destination::Picture)
        return;
    PictureData &picture = m_picture;
    const auto kind = [&](PictureData::Kind value) {
        picture.kind = value;
        picture.typeWord = QByteArray(token.bytes.data(), qsizetype(token.bytes.size()));
        if (token.hasParam)
            picture.typeWord += QByteArray::number(token.param);
    };
    switch (info.keyword) {
    case Keyword::PictureWidth:
        picture.width = token.param;
        break;
    case Keyword::PictureHeight:
        picture.height = token.param;
        break;
    case Keyword::PictureGoalWidth:
        picture.goalWidth = token.param;
        break;
    case Keyword::PictureGoalHeight:
        picture.goalHeight = token.param;
        break;
    case Keyword::PictureScaleX:
        picture.scaleX = token.param;
        break;
    case Keyword::PictureScaleY:
        picture.scaleY = token.param;
        break;
    case Keyword::BitmapBitsPerPixel:
        picture.bitsPerPixel = token.param;
        break;
    case Keyword::BitmapWidthBytes:
        picture.widthBytes = token.param;
        break;
    case Keyword::PngBlip:
        kind(PictureData::Kind::Png);
        break;
    case Keyword::JpegBlip:
        kind(PictureData::Kind::Jpeg);
        break;
    case Keyword::DibBitmap:
        kind(PictureData::Kind::Dib);
        break;
    case Keyword::DeviceBitmap:
        kind(PictureData::Kind::DeviceBitmap);
        break;
    case Keyword::WindowsMetafile:
        kind(PictureData::Kind::Metafile);
        break;
    case Keyword::OtherPicture:
        kind(PictureData::Kind::Other);
        break;
    default:
        break;
    }
}

void Reader::controlSymbol(char symbol)
{
    if (consumeSkip())
        return;
    Group &group = top();
    if (symbol == '*') {
        group.starred = true;
        return;
    }
    if (group.dest != Destination::Text || group.chr.hidden)
        return;
    switch (symbol) {
    case '~':
        addTextChars(QString(QChar(0x00A0)));
        break;
    case '-':
        addTextChars(QString(QChar(0x00AD)));
        break;
    case '_':
        addTextChars(QString(QChar(0x2011)));
        break;
    default:
        break;
    }
}

void Reader::text(std::string_view bytes)
{
    while (m_skip > 0 && !bytes.empty()) {
        bytes.remove_prefix(1);
        --m_skip;
    }
    if (bytes.empty())
        return;
    switch (top().dest) {
    case Destination::Text:
        if (!top().chr.hidden)
            addTextBytes(bytes);
        break;
    case Destination::FontTable:
        for (size_t end = bytes.find(';'); end != std::string_view::npos; end = bytes.find(';')) {
            m_fontNameBytes.append(bytes.data(), qsizetype(end));
            flushFontName();
            m_fonts.commitEntry();
            bytes.remove_prefix(end + 1);
        }
        m_fontNameBytes.append(bytes.data(), qsizetype(bytes.size()));
        break;
    case Destination::ColorTable:
        for (char c : bytes) {
            if (c == ';')
                m_colors.commitEntry();
        }
        break;
    case Destination::Picture:
        m_picture.appendHex(bytes);
        break;
    case Destination::LevelText:
    case Destination::NumberingText:
    case Destination::MarkerText:
    case Destination::FieldInstruction:
        collectText(m_decoder.decode(textCodePage(),
                                     QByteArrayView(bytes.data(), qsizetype(bytes.size()))));
        break;
    case Destination::Ignore:
    case Destination::ListTable:
    case Destination::Numbering:
        break;
    }
}

void Reader::hexByte(unsigned char byte)
{
    if (consumeSkip())
        return;
    const char c = char(byte);
    if (top().dest == Destination::Text && !top().chr.hidden)
        addTextBytes(std::string_view(&c, 1));
    else if (top().dest == Destination::FontTable)
        m_fontNameBytes.append(c);
    else if (collecting())
        // A level's text starts with its length and names levels in bytes
        // below 32: bytes, not characters of a code page.
        collectText(byte < 0x20 || (top().dest == Destination::LevelText && m_collected.isEmpty())
                        ? QString(QChar(byte))
                        : m_decoder.decode(textCodePage(), QByteArrayView(&c, 1)));
}

void Reader::binary(std::string_view bytes)
{
    if (consumeSkip())
        return;
    if (top().dest == Destination::Picture)
        m_picture.appendBinary(bytes);
}

} // namespace rtf
