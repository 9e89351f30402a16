#pragma once

#include <QByteArray>
#include <QList>
#include <QSizeF>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextFormat>
#include <QTextListFormat>

#include <vector>

class QImage;

namespace rtf {

// How a paragraph ends: its formats, and the list it belongs to.
struct ParagraphEnd
{
    QTextBlockFormat block;
    QTextCharFormat chr; // what an empty paragraph shows
    int listId = -1; // paragraphs with one id form one list; -1: none
    QTextListFormat list;
    // A marker the file gave as text that no list here can show (a list
    // that starts at 10): it goes in front of the paragraph's text.
    QString markerText;
};

// A table row as its definition (\trowd ... \cellxN) gives it.
struct TableRow
{
    struct Cell
    {
        QTextLength width; // variable when the row does not say
        bool mergeFirst = false; // \clmgf, \clvmgf: a merge starts here
        bool mergedLeft = false; // \clmrg: part of the cell before it
        bool mergedUp = false; // \clvmrg: part of the cell above it
    };
    std::vector<Cell> cells;
    double border = 0; // pixels; 0: none
    double padding = 0;
    double spacing = 0;
};

// A cell that spans more than one grid position, as the rows' merge words
// (\clmrg, \clvmrg) describe it.
struct CellMerge
{
    int row = 0;
    int column = 0;
    int rows = 1;
    int columns = 1;
};
std::vector<CellMerge> cellMerges(const std::vector<std::vector<TableRow::Cell>> &rows);

// Where the reader puts what it finds, in order: a document, or plain lines.
class ContentSink
{
public:
    static constexpr int kMaxTableDepth = 6;
    // A document rebuilds a table's grid after every new row, so one table's
    // rows are bounded; a longer table goes on in the next one.
    static constexpr int kMaxTableRows = 500;
    static constexpr int kMaxTableColumns = 64;

    virtual ~ContentSink() = default;

    // False when formats and decoded pictures would be thrown away: the reader
    // then passes empty formats and a null image, and saves the work.
    virtual bool wantsFormats() const = 0;
    virtual void appendText(const QString &text, const QTextCharFormat &format) = 0;
    virtual void appendImage(const QImage &image, const QString &name, QSizeF shownSize,
                             const QByteArray &originalGroup)
        = 0;
    // The picture appended last stands for an embedded object: its group as
    // it came, kept to be written back.
    virtual void attachObject(const QByteArray &objectGroup) = 0;
    // The table nesting of what follows: 0 outside tables.
    virtual void setTableDepth(int depth) = 0;
    // The paragraph ends with these formats.
    virtual void endParagraph(const ParagraphEnd &paragraph) = 0;
    // The paragraph ends, and with it the table cell it is in.
    virtual void endCell(const ParagraphEnd &paragraph) = 0;
    virtual void endRow(const TableRow &row) = 0;
    // The text after the last paragraph end, if any, takes these formats.
    virtual void finish(const ParagraphEnd &paragraph) = 0;
};

} // namespace rtf
