#include "ui/rtf/RtfPlainText.h"

#include "ui/rtf/RtfLists.h"

#include <algorithm>

namespace rtf {
namespace {

// Characters a text document takes as the end of a paragraph when inserted.
bool endsParagraph(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::ParagraphSeparator;
}

// In a table's text a list item's marker waits as its number between these
// two until the outermost table is whole: merging cells moves paragraphs,
// and the document numbers items in the order it shows them. The reader
// passes neither in text, as the document keeps them for its frames.
constexpr QChar kMarkerStart(0xFDD0);
constexpr QChar kMarkerEnd(0xFDD1);

// The length of the waiting marker that `text` starts with; 0 for none.
qsizetype markerLength(QStringView text)
{
    if (!text.startsWith(kMarkerStart))
        return 0;
    return text.indexOf(kMarkerEnd) + 1;
}

} // namespace

std::vector<CellMerge> cellMerges(const std::vector<std::vector<TableRow::Cell>> &rows)
{
    std::vector<CellMerge> merges;
    // A merge over cells that an earlier one took is left out.
    const auto overlaps = [&merges](const CellMerge &next) {
        return std::any_of(merges.begin(), merges.end(), [&](const CellMerge &m) {
            return next.row < m.row + m.rows && m.row < next.row + next.rows
                && next.column < m.column + m.columns && m.column < next.column + next.columns;
        });
    };
    for (size_t r = 0; r < rows.size(); ++r) {
        const std::vector<TableRow::Cell> &cells = rows[r];
        for (size_t c = 0; c < cells.size(); ++c) {
            if (cells[c].mergedLeft || cells[c].mergedUp)
                continue;
            size_t columns = 1;
            while (c + columns < cells.size() && cells[c + columns].mergedLeft)
                ++columns;
            size_t spanned = 1;
            while (r + spanned < rows.size() && c < rows[r + spanned].size()
                   && rows[r + spanned][c].mergedUp)
                ++spanned;
            const CellMerge merge {int(r), int(c), int(spanned), int(columns)};
            if ((spanned > 1 || columns > 1) && !overlaps(merge))
                merges.push_back(merge);
        }
    }
    return merges;
}

QStringList tableLines(const std::vector<std::vector<QString>> &rows)
{
    size_t columns = 0;
    for (const std::vector<QString> &row : rows)
        columns = std::max(columns, row.size());
    QStringList lines;
    for (const std::vector<QString> &row : rows) {
        QStringList cells(row.begin(), row.end());
        while (size_t(cells.size()) < columns)
            cells.append(QString());
        lines += cells.join(QLatin1Char('\t')).split(QLatin1Char('\n'));
    }
    return lines;
}

void PlainTextSink::setTableDepth(int depth)
{
    m_wantedDepth = std::clamp(depth, 0, kMaxTableDepth);
}

void PlainTextSink::startContent()
{
    while (int(m_tables.size()) > m_wantedDepth)
        closeTable();
    while (int(m_tables.size()) < m_wantedDepth) {
        if (!m_tables.empty())
            enterCell();
        // The table follows the paragraph before it, as the builder does.
        current().pending = false;
        m_tables.emplace_back();
    }
    if (!m_tables.empty())
        enterCell();
}

void PlainTextSink::enterCell()
{
    Table &table = m_tables.back();
    if (table.inCell)
        return;
    table.inCell = true;
    table.rowStarted = true;
    table.cell = Lines();
    if (table.row.size() >= size_t(kMaxTableColumns)) {
        // Cells past the last column go on in the last one.
        table.cell.lines = table.row.back().text.split(QLatin1Char('\n'));
        table.cell.paragraphStart = table.row.back().paragraphStart;
        table.cell.empty = table.row.back().empty;
        table.row.pop_back();
    }
}

void PlainTextSink::endCurrentCell()
{
    Table &table = m_tables.back();
    if (!table.inCell)
        return;
    table.inCell = false;
    table.row.push_back(
        {table.cell.lines.join(QLatin1Char('\n')), table.cell.empty, table.cell.paragraphStart});
}

void PlainTextSink::closeTable()
{
    Table table = std::move(m_tables.back());
    m_tables.pop_back();
    // A cell or row that the file did not end still holds its text.
    if (table.inCell) {
        table.inCell = false;
        table.row.push_back({table.cell.lines.join(QLatin1Char('\n')), table.cell.empty,
                             table.cell.paragraphStart});
    }
    if (!table.row.empty())
        table.rows.push_back(std::move(table.row));
    applyMerges(table);
    std::vector<std::vector<QString>> texts;
    for (const std::vector<CellText> &row : table.rows) {
        texts.emplace_back();
        for (const CellText &cell : row)
            texts.back().push_back(cell.text);
    }
    Lines &lines = current();
    if (lines.pending)
        lines.pending = false;
    const bool outermost = m_tables.empty();
    for (const QString &line : tableLines(texts))
        lines.lines.append(outermost ? withMarkers(line) : line);
    if (outermost)
        m_deferredMarkers.clear();
    // The paragraph after the table.
    lines.lines.append(QString());
    lines.paragraphStart = lines.lines.size() - 1;
    lines.empty = false;
}

// A merged cell holds the paragraphs of the cells it covers after its own,
// as the document builder moves them; an empty covered cell goes.
void PlainTextSink::applyMerges(Table &table)
{
    size_t columns = 0;
    for (const std::vector<CellText> &row : table.rows)
        columns = std::max(columns, row.size());
    for (auto &row : table.rows)
        row.resize(columns);
    for (const CellMerge &merge : cellMerges(table.merges)) {
        const size_t top = size_t(merge.row);
        const size_t left = size_t(merge.column);
        if (top >= table.rows.size() || left >= columns)
            continue;
        CellText &first = table.rows[top][left];
        for (size_t r = top; r < top + size_t(merge.rows) && r < table.rows.size(); ++r) {
            for (size_t c = left; c < left + size_t(merge.columns) && c < columns; ++c) {
                CellText &covered = table.rows[r][c];
                if (r == top && c == left)
                    continue;
                if (covered.empty) {
                    dropMarkers(covered.text);
                } else if (first.empty) {
                    // Into an empty cell the text goes on its one line,
                    // which stays in the list it is in.
                    dropLeadingMarker(covered.text);
                    first.text += covered.text;
                    first.empty = false;
                } else {
                    first.text += QLatin1Char('\n') + covered.text;
                }
                covered = CellText();
            }
        }
    }
}

void PlainTextSink::startPendingParagraph()
{
    Lines &lines = current();
    if (!lines.pending)
        return;
    lines.pending = false;
    breakLine(lines);
    lines.paragraphStart = lines.lines.size() - 1;
}

void PlainTextSink::breakLine(Lines &lines)
{
    lines.lines.append(QString());
    lines.empty = false;
}

void PlainTextSink::appendText(const QString &text, const QTextCharFormat &)
{
    if (text.isEmpty())
        return;
    startContent();
    startPendingParagraph();
    Lines &lines = current();
    lines.empty = false;
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const bool paragraph = endsParagraph(c);
        const bool breaks = paragraph || c == QChar::LineSeparator;
        // A document's plain text leaves out the character that stands for
        // a picture, also where the text itself holds one.
        if (!breaks && c != QChar::ObjectReplacementCharacter)
            continue;
        lines.lines.last() += QStringView(text).sliced(runStart, i - runStart);
        runStart = i + 1;
        if (!breaks)
            continue;
        breakLine(lines);
        if (paragraph)
            lines.paragraphStart = lines.lines.size() - 1;
        // The document takes a CR LF pair as one paragraph end.
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n')) {
            ++i;
            runStart = i + 1;
        }
    }
    lines.lines.last() += QStringView(text).sliced(runStart);
}

void PlainTextSink::appendImage(const QImage &, const QString &, QSizeF, const QByteArray &)
{
    startContent();
    startPendingParagraph();
    current().empty = false;
}

void PlainTextSink::addMarker(const ParagraphEnd &paragraph)
{
    Lines &lines = current();
    QString &start = lines.lines[lines.paragraphStart];
    // A cell's paragraph that goes on past the last column ends again, in
    // the list its new end names.
    dropLeadingMarker(start);
    if (!paragraph.markerText.isEmpty()) {
        start.prepend(paragraph.markerText);
        lines.empty = false;
    }
    const int id = paragraph.listId;
    if (id < 0)
        return;
    if (m_listMembers[id]++ == 0) {
        m_listFormats.insert(id, paragraph.list);
        m_listItems.insert(id, 0);
    }
    // The marker is no text: a body of one empty list item is still empty.
    start.prepend(m_tables.empty() ? listItemPrefix(m_listFormats.value(id), ++m_listItems[id])
                                   : deferredMarker(id));
}

QString PlainTextSink::deferredMarker(int listId)
{
    m_deferredMarkers.push_back(listId);
    return kMarkerStart + QString::number(m_deferredMarkers.size() - 1) + kMarkerEnd;
}

int PlainTextSink::listOfMarker(QStringView marker) const
{
    return m_deferredMarkers[marker.sliced(1, marker.size() - 2).toULongLong()];
}

// The items whose markers the text holds are no longer in their lists.
void PlainTextSink::dropMarkers(QStringView text)
{
    for (qsizetype at = text.indexOf(kMarkerStart); at >= 0;
         at = text.indexOf(kMarkerStart, at + 1))
        --m_listMembers[listOfMarker(text.sliced(at, markerLength(text.sliced(at))))];
}

void PlainTextSink::dropLeadingMarker(QString &text)
{
    if (const qsizetype length = markerLength(text)) {
        dropMarkers(QStringView(text).left(length));
        text.remove(0, length);
    }
}

// The line with its waiting markers numbered, in the order they come.
QString PlainTextSink::withMarkers(const QString &line)
{
    QString numbered;
    qsizetype done = 0;
    for (qsizetype at = line.indexOf(kMarkerStart); at >= 0; at = line.indexOf(kMarkerStart, at)) {
        const qsizetype length = markerLength(QStringView(line).sliced(at));
        const int id = listOfMarker(QStringView(line).sliced(at, length));
        numbered += QStringView(line).sliced(done, at - done);
        numbered += listItemPrefix(m_listFormats.value(id), ++m_listItems[id]);
        at += length;
        done = at;
    }
    if (done == 0)
        return line;
    numbered += QStringView(line).sliced(done);
    return numbered;
}

void PlainTextSink::endParagraph(const ParagraphEnd &paragraph)
{
    startContent();
    startPendingParagraph();
    addMarker(paragraph);
    current().pending = true;
}

void PlainTextSink::endCell(const ParagraphEnd &paragraph)
{
    startContent();
    if (m_tables.empty())
        return;
    startPendingParagraph();
    addMarker(paragraph);
    endCurrentCell();
}

void PlainTextSink::endRow(const TableRow &row)
{
    while (int(m_tables.size()) > std::max(m_wantedDepth, 1))
        closeTable();
    if (m_tables.empty())
        return;
    Table &table = m_tables.back();
    if (!table.rowStarted)
        return;
    table.rowStarted = false;
    endCurrentCell();
    table.rows.push_back(std::move(table.row));
    table.row.clear();
    table.merges.push_back(row.cells);
    if (table.rows.size() >= size_t(kMaxTableRows))
        closeTable();
}

void PlainTextSink::finish(const ParagraphEnd &paragraph)
{
    while (!m_tables.empty())
        closeTable();
    if (!m_document.pending)
        addMarker(paragraph);
}

QStringList PlainTextSink::takeLines()
{
    if (m_document.empty)
        return {};
    QStringList lines = std::move(m_document.lines);
    m_document = Lines();
    return lines;
}

} // namespace rtf
