#pragma once

#include "ui/rtf/RtfCodePages.h"
#include "ui/rtf/RtfFormatTables.h"
#include "ui/rtf/RtfKeywords.h"
#include "ui/rtf/RtfPicture.h"
#include "ui/rtf/RtfSink.h"
#include "ui/rtf/RtfTokenizer.h"

#include <vector>

namespace rtf {

// Reads RTF into a sink with an explicit group stack: no recursion on
// '{', a depth cap, and work bounded by the input size.
class Reader
{
public:
    static constexpr size_t kMaxDepth = 400;
    static constexpr int kMaxUnicodeSkip = 8;

    Reader(QByteArrayView input, ContentSink &sink);
    void run();

private:
    enum class Destination { Text, FontTable, ColorTable, Picture, Ignore };

    struct ParaState
    {
        Qt::Alignment alignment = Qt::AlignLeft;
        int leftTwips = 0;
        int rightTwips = 0;
        int firstTwips = 0;
    };

    struct Group
    {
        CharState chr;
        ParaState para;
        Destination dest = Destination::Text;
        Destination beforeUnicodePair = Destination::Text;
        int unicodeSkip = 1;
        qsizetype openOffset = 0;
        bool starred = false; // \* was read: an unknown destination word skips the group
        bool shapePicture = false;
        bool pictureGroup = false; // the group that \pict made a picture
    };

    Group &top() { return m_groups.back(); }
    void openGroup(const Token &token);
    void dropBlankBeforeDestination();
    void closeGroup(qsizetype endOffset);
    void skipCurrentGroup();
    void finishAtEnd();

    void controlWord(const Token &token);
    void documentWord(const KeywordInfo &info, const Token &token);
    bool destinationWord(const KeywordInfo &info, const Token &token);
    void formatWord(const KeywordInfo &info, const Token &token);
    void tableWord(const KeywordInfo &info);
    void pictureWord(const KeywordInfo &info, const Token &token);
    void controlSymbol(char symbol);
    void text(std::string_view bytes);
    void hexByte(unsigned char byte);
    void binary(std::string_view bytes);
    bool consumeSkip();

    // The text pipeline: bytes wait to be decoded as one block, decoded text
    // waits for a format change.
    void prepareTextSink();
    void addTextBytes(std::string_view bytes);
    void addTextChars(const QString &text);
    void addUnicode(int value);
    void emitPendingSurrogate();
    void flushBytes();
    void flushText();
    void flushFontName();
    int textCodePage();
    void endParagraph();
    struct ShownPicture
    {
        QImage image;
        QString name;
        QSizeF shownSize;
        QByteArray original; // the group as read, for a picture that could not be decoded
    };
    ShownPicture shownPicture(qsizetype endOffset);
    void finishPicture(qsizetype endOffset);
    QByteArray canonicalPictureGroup() const;
    QTextBlockFormat blockFormat(const ParaState &para) const;
    QTextCharFormat charFormat(const CharState &state);

    Tokenizer m_tokens;
    ContentSink &m_builder;
    FontTable m_fonts;
    ColorTable m_colors;
    CharFormatCache m_formats {m_fonts, m_colors};
    CodePageDecoder m_decoder;
    PixelBudget m_budget;
    std::vector<Group> m_groups;

    int m_documentCodePage = kWindows1252;
    int m_defaultFont = -1;
    int m_skip = 0; // fallback units still to drop after \u
    char16_t m_highSurrogate = 0;
    bool m_cellPending = false;
    bool m_afterShapePicture = false;
    bool m_finished = false;
    bool m_finalCaptured = false;

    QByteArray m_pendingBytes;
    int m_pendingCodePage = kWindows1252;
    QString m_pendingText;
    CharState m_pendingState;
    QByteArray m_fontNameBytes;
    PictureData m_picture;
    qsizetype m_pictureOpenOffset = 0;
    bool m_pictureGroupIsClean = false;
    ParaState m_finalPara;
    CharState m_finalChr;
};

} // namespace rtf
