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
        table.cell.paragraphStart = table.cell.lines.size() - 1;
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
    table.row.push_back({table.cell.lines.join(QLatin1Char('\n')), table.cell.empty});
}

void PlainTextSink::closeTable()
{
    Table table = std::move(m_tables.back());
    m_tables.pop_back();
    // A cell or row that the file did not end still holds its text.
    if (table.inCell) {
        table.inCell = false;
        table.row.push_back({table.cell.lines.join(QLatin1Char('\n')), table.cell.empty});
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
    for (const QString &line : tableLines(texts))
        lines.lines.append(line);
    // The paragraph after the table.
    lines.lines.append(QString());
    lines.paragraphStart = lines.lines.size() - 1;
    lines.empty = false;
}

// A merged cell holds the paragraphs of the cells it covers after its own,
// as the document builder moves them.
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
                if ((r == top && c == left) || covered.empty)
                    continue;
                // Into an empty cell the text goes on its one line, a list
                // item's marker and all.
                first.text += first.empty ? covered.text : QLatin1Char('\n') + covered.text;
                first.empty = false;
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
    if (!paragraph.markerText.isEmpty()) {
        Lines &lines = current();
        lines.lines[lines.paragraphStart].prepend(paragraph.markerText);
        lines.empty = false;
    }
    if (paragraph.listId < 0)
        return;
    const auto format = m_listFormats.constFind(paragraph.listId);
    const QTextListFormat &list = format == m_listFormats.constEnd()
        ? *m_listFormats.insert(paragraph.listId, paragraph.list)
        : *format;
    // The marker is no text: a body of one empty list item is still empty.
    Lines &lines = current();
    lines.lines[lines.paragraphStart].prepend(
        listItemPrefix(list, ++m_listItems[paragraph.listId]));
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
