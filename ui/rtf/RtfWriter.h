#pragma once

#include "ui/rtf/RtfLists.h"

#include <QByteArray>
#include <QHash>
#include <QRgb>
#include <QStringList>
#include <QTextCharFormat>
#include <QTextFrame>

#include <optional>
#include <vector>

class QTextBlock;
class QTextDocument;
class QTextImageFormat;
class QTextList;
class QTextTable;

namespace rtf {

// Writes a document as the Windows rich-edit control does: font, colour and
// list tables first, then paragraphs whose formats are written as
// differences; tables, lists and links in the forms word processors read.
// The same document always gives the same bytes. The work is linear in the
// document's size: formats are looked at once each, nothing is laid out.
class Writer
{
public:
    Writer(const QTextDocument &document, const QTextCharFormat &defaults);
    QByteArray run();

private:
    struct RunFormat
    {
        int font = -1;
        int halfPoints = 0;
        bool bold = false;
        bool italic = false;
        int underline = 0; // QTextCharFormat::UnderlineStyle
        bool strike = false;
        int vertical = 0; // 0, super- or subscript
        int caps = 0; // 0, 1 small capitals, 2 all capitals
        int foreground = 0;
        int background = 0;
        QString link;
    };

    struct ParaFormat
    {
        char alignment = 0; // 0, 'r', 'c' or 'j'
        int leftTwips = 0;
        int rightTwips = 0;
        int firstTwips = 0;
        int spaceBefore = 0;
        int spaceAfter = 0;
        int lineSpacing = 0;
        bool lineMultiple = false;
        QByteArray tabs; // as written
        int list = 0; // \lsN; 0: none
        int listLevel = 0;
        int tableDepth = 0;
        bool operator==(const ParaFormat &other) const;
    };

    void collectTables();
    void collectFrame(QTextFrame::iterator it);
    void collectBlock(const QTextBlock &block);
    void collectFormat(int index);
    const QTextCharFormat &effectiveFormat(int index);
    const RunFormat &runFormat(int index);
    ParaFormat paraFormat(const QTextBlock &block, int tableDepth) const;

    void writeHeader();
    void writeListTable();
    void writeFrame(QTextFrame::iterator it, int tableDepth);
    void writeTable(const QTextTable &table, int tableDepth);
    void writeRowDefinition(const QTextTable &table, int row);
    void writeCell(const QTextTable &table, int row, int column, int tableDepth);
    // The paragraph ends with \par, or with the word that ends its cell.
    void writeBlock(const QTextBlock &block, int tableDepth, const char *endWord);
    void writeParaFormat(const ParaFormat &format);
    void writeRunFormat(const RunFormat &format);
    void openLink(const QString &link);
    void closeLink();
    void writeListMarker(const QTextBlock &block);
    void writeText(const QString &text);
    void writePicture(const QTextImageFormat &format);
    void writeWord(const char *word);
    void writeWord(const char *word, int value);
    void writeRaw(char c);
    QByteArray encodedText(const QString &text);

    const QTextDocument &m_document;
    QTextCharFormat m_defaults;
    const QList<QTextFormat> m_allFormats;
    std::vector<std::optional<QTextCharFormat>> m_effective;
    std::vector<std::optional<RunFormat>> m_runs;
    std::vector<bool> m_collected;
    QByteArray m_out;
    bool m_needDelimiter = false;
    QStringList m_fonts;
    QHash<QString, int> m_fontIndex;
    std::vector<QRgb> m_colors;
    QHash<QRgb, int> m_colorIndex;
    std::vector<const QTextList *> m_lists;
    QHash<const QTextList *, int> m_listIndex;
    ListItemCounter m_listItems;
    RunFormat m_run;
    ParaFormat m_para;
    bool m_firstParagraph = true;
    QString m_openLink;
    RunFormat m_runBeforeLink;
};

// The picture or object group, as it came, with a new shown size put in.
QByteArray withShownSize(const QByteArray &group, QSizeF shown);

} // namespace rtf
