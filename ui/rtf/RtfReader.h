#pragma once

#include "ui/rtf/RtfCodePages.h"
#include "ui/rtf/RtfFormatTables.h"
#include "ui/rtf/RtfKeywords.h"
#include "ui/rtf/RtfLists.h"
#include "ui/rtf/RtfPicture.h"
#include "ui/rtf/RtfSink.h"
#include "ui/rtf/RtfTokenizer.h"

#include <QHash>

#include <vector>

namespace rtf {

// Reads RTF into a sink with an explicit group stack: no recursion on
// '{', a depth cap, and work bounded by the input size.
class Reader
{
public:
    static constexpr size_t kMaxDepth = 400;
    static constexpr int kMaxUnicodeSkip = 8;

    static constexpr size_t kMaxTabStops = 64;
    static constexpr qsizetype kMaxCollectedText = 4096;

    Reader(QByteArrayView input, ContentSink &sink,
           const QTextCharFormat &implicit = QTextCharFormat());
    void run();

private:
    enum class Destination {
        Text,
        FontTable,
        ColorTable,
        Picture,
        Ignore,
        ListTable, // \listtable and \listoverridetable with their groups
        LevelText,
        Numbering, // {\*\pn ...}
        NumberingText, // its {\pntxtb ...} and {\pntxta ...}
        MarkerText, // {\listtext ...} and {\pntext ...}
        FieldInstruction,
    };

    struct TabStop
    {
        int twips = 0;
        int kind = 0; // QTextOption::TabType
        bool operator==(const TabStop &other) const
        {
            return twips == other.twips && kind == other.kind;
        }
    };

    // An old-style {\*\pn ...} numbering.
    struct OldNumbering
    {
        bool set = false;
        bool body = false; // \pnlvlbody: numbered, else bulleted
        int level = 0;
        QTextListFormat::Style style = QTextListFormat::ListDecimal;
        QString before;
        QString after;
        int start = 1;
    };

    struct ParaState
    {
        Qt::Alignment alignment = Qt::AlignLeft;
        int leftTwips = 0;
        int rightTwips = 0;
        int firstTwips = 0;
        int spaceBefore = 0;
        int spaceAfter = 0;
        int lineSpacing = 0; // \sl: 0 single; negative exact, positive at least
        bool lineMultiple = false; // \slmult1: \sl in 240ths of a line
        std::vector<TabStop> tabs;
        int tabKind = 0; // for the next \tx
        int listOverride = 0; // \lsN; 0: none
        int listLevel = 0;
        OldNumbering numbering;
        int tableDepth = 0;
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
        // The word that made this group its destination, for its close.
        Keyword opened = Keyword::Unknown;
        int fieldLink = 0; // the link a field's instruction named, for its result
        bool objectGroup = false;
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
    bool structureDestination(const KeywordInfo &info);
    void closeStructureGroup(const Group &closing);
    void paragraphWord(const KeywordInfo &info, const Token &token);
    void listWord(const KeywordInfo &info, const Token &token);
    void tableWord(const KeywordInfo &info, const Token &token);
    void rowWord(const KeywordInfo &info, const Token &token);
    void endCellOrRow(const KeywordInfo &info);
    bool collecting() const;
    void collectText(const QString &text);
    void tellTableDepth(int depth);
    int linkOfInstruction(const QString &instruction);
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
    QTextBlockFormat blockFormat(const ParaState &para, const ListLevel *level) const;
    ParagraphEnd paragraphEnd(const ParaState &para, const CharState &chr);
    QTextCharFormat charFormat(const CharState &state);

    Tokenizer m_tokens;
    ContentSink &m_builder;
    FontTable m_fonts;
    ColorTable m_colors;
    QStringList m_links;
    CharFormatCache m_formats;
    ListTable m_lists;
    CodePageDecoder m_decoder;
    PixelBudget m_budget;
    std::vector<Group> m_groups;

    int m_documentCodePage = kWindows1252;
    int m_defaultFont = -1;
    int m_skip = 0; // fallback units still to drop after \u
    char16_t m_highSurrogate = 0;
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

    // Text that a structure group collects: a level's text, a marker, a field
    // instruction.
    QString m_collected;
    QString m_marker; // the paragraph's {\listtext ...}, for readers of old files
    bool m_markerSeen = false;
    OldNumbering m_numbering; // the {\*\pn ...} being read
    // Old-style lists continue while paragraphs follow each other in them.
    int m_oldListRun = 0;
    bool m_lastWasOldList = false;
    QHash<int, int> m_oldListItems;
    int m_tableDepth = 0; // as the sink was last told
    // A row definition (\trowd ... \cellxN) as it is read.
    struct RowDefinition
    {
        TableRow row;
        TableRow::Cell cell; // what the words before its \cellx say
        int widthType = 0; // \clftsWidthN
        int width = 0;
        int lastRight = 0;
        bool cellBorder = false; // the words after \clbrdrX describe a border
    };
    RowDefinition &rowDefinition();
    std::vector<RowDefinition> m_rows; // one for each table depth
    bool m_openObject = false;
    int m_objectPictures = 0; // pictures the open object has shown
    bool m_objectText = false; // and whether it showed anything else
};

} // namespace rtf
