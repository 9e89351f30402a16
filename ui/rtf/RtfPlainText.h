#pragma once

#include "ui/rtf/RtfSink.h"

#include <QHash>
#include <QStringList>

#include <vector>

namespace rtf {

// The text of an RTF document as lines, without building a document: the same
// lines as the document's plain text (see ui/BodyText.h: pictures leave
// nothing, a line break within a paragraph starts a line, list items start
// with their marker, a table row is one line of tab-separated cells), for
// exporting a body as text.
class PlainTextSink : public ContentSink
{
public:
    bool wantsFormats() const override { return false; }
    void appendText(const QString &text, const QTextCharFormat &format) override;
    void appendImage(const QImage &image, const QString &name, QSizeF shownSize,
                     const QByteArray &originalGroup) override;
    void attachObject(const QByteArray &) override { }
    void setTableDepth(int depth) override;
    void endParagraph(const ParagraphEnd &paragraph) override;
    void endCell(const ParagraphEnd &paragraph) override;
    void endRow(const TableRow &row) override;
    void finish(const ParagraphEnd &paragraph) override;

    // Empty for a document with nothing in it.
    QStringList takeLines();

private:
    // The lines of the document or of one table cell.
    struct Lines
    {
        QStringList lines {QString()};
        qsizetype paragraphStart = 0;
        bool pending = false;
        bool empty = true;
    };
    struct CellText
    {
        QString text;
        bool empty = true; // no character, picture or paragraph end
        qsizetype paragraphStart = 0; // the line its last paragraph starts on
    };
    struct Table
    {
        std::vector<std::vector<CellText>> rows;
        std::vector<std::vector<TableRow::Cell>> merges;
        std::vector<CellText> row;
        Lines cell;
        bool inCell = false;
        bool rowStarted = false; // as the document's rows come with a first cell
    };

    Lines &current() { return m_tables.empty() ? m_document : m_tables.back().cell; }
    void startContent();
    void enterCell();
    void endCurrentCell();
    void closeTable();
    void applyMerges(Table &table);
    void startPendingParagraph();
    void breakLine(Lines &lines);
    void addMarker(const ParagraphEnd &paragraph);
    QString deferredMarker(int listId);
    int listOfMarker(QStringView marker) const;
    void dropMarkers(QStringView text);
    void dropLeadingMarker(QString &text);
    QString withMarkers(const QString &line);

    Lines m_document;
    std::vector<Table> m_tables;
    int m_wantedDepth = 0;
    // A list's format is the one of its first item; a list whose every item
    // went with merged cells is gone, and the next item starts it anew, as
    // the document makes a new list then.
    QHash<int, QTextListFormat> m_listFormats;
    QHash<int, int> m_listMembers;
    QHash<int, int> m_listItems; // items numbered so far
    // The lists of the markers that wait in table text, by their number.
    std::vector<int> m_deferredMarkers;
};

// The lines a table shows as plain text: a row is a line of its cells'
// texts joined by tabs, where a line break within a cell starts a new line.
QStringList tableLines(const std::vector<std::vector<QString>> &rows);

} // namespace rtf
