#include "ui/rtf/RtfDocumentBuilder.h"

#include "ui/rtf/Rtf.h"

#include <QImage>
#include <QPointer>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

#include <algorithm>

namespace rtf {
namespace {

// Qt rebuilds a table's grid after every new row, so one table's rows are
// bounded; a longer table goes on in the next one.
constexpr int kMaxTableRows = 500;
constexpr int kMaxTableColumns = 64;

} // namespace

DocumentBuilder::DocumentBuilder(QTextDocument *document)
    : m_document(document)
    , m_cursor(document)
{
    // One edit for the whole load: the document tells its views once.
    m_cursor.beginEditBlock();
}

DocumentBuilder::~DocumentBuilder()
{
    while (!m_tables.empty())
        closeTable();
    m_cursor.endEditBlock();
}

void DocumentBuilder::setTableDepth(int depth)
{
    m_wantedDepth = std::clamp(depth, 0, kMaxTableDepth);
}

// Opens and closes tables to the depth of what comes next.
void DocumentBuilder::startContent()
{
    while (int(m_tables.size()) > m_wantedDepth)
        closeTable();
    while (int(m_tables.size()) < m_wantedDepth) {
        if (!m_tables.empty())
            enterCell();
        openTable();
    }
    if (!m_tables.empty())
        enterCell();
}

void DocumentBuilder::openTable()
{
    // A table follows the paragraph before it; a held-back paragraph end
    // is the one the table itself makes.
    m_paragraphPending = false;
    QTextTableFormat format;
    format.setBorder(0);
    format.setCellPadding(0);
    format.setCellSpacing(0);
    OpenTable open;
    open.table = m_cursor.insertTable(1, 1, format);
    m_blockFormat.reset();
    m_tables.push_back(std::move(open));
}

void DocumentBuilder::enterCell()
{
    OpenTable &open = m_tables.back();
    if (open.inCell)
        return;
    QTextTable *table = open.table;
    if (open.row >= table->rows())
        table->appendRows(open.row - table->rows() + 1);
    if (open.column >= table->columns())
        table->appendColumns(open.column - table->columns() + 1);
    // At the end of what the cell holds: cells past the last column go on there.
    m_cursor.setPosition(table->cellAt(open.row, open.column).lastPosition());
    m_blockFormat.reset();
    open.inCell = true;
    m_paragraphPending = false;
    m_paragraphHasContent = false;
}

void DocumentBuilder::closeTable()
{
    OpenTable &open = m_tables.back();
    applyMerges(open);
    m_cursor.setPosition(open.table->lastPosition());
    m_cursor.movePosition(QTextCursor::NextBlock);
    m_blockFormat.reset();
    m_tables.pop_back();
    m_paragraphPending = false;
    m_paragraphHasContent = false;
}

namespace {

std::vector<QTextBlockFormat> cellBlockFormats(const QTextTableCell &cell)
{
    std::vector<QTextBlockFormat> formats;
    for (QTextFrame::iterator it = cell.begin(); !it.atEnd(); ++it) {
        if (!it.currentFrame())
            formats.push_back(it.currentBlock().blockFormat());
    }
    return formats;
}

} // namespace

void DocumentBuilder::applyMerges(OpenTable &open)
{
    QTextTable *table = open.table;
    const int rows = std::min(int(open.rows.size()), table->rows());
    struct Merge
    {
        int row, column, rows, columns;
    };
    std::vector<Merge> merges;
    for (int row = 0; row < rows; ++row) {
        const std::vector<TableRow::Cell> &cells = open.rows[size_t(row)];
        const int columns = std::min(int(cells.size()), table->columns());
        for (int column = 0; column < columns; ++column) {
            const TableRow::Cell &cell = cells[size_t(column)];
            if (cell.mergedLeft || cell.mergedUp)
                continue;
            int spanColumns = 1;
            while (column + spanColumns < columns && cells[size_t(column + spanColumns)].mergedLeft)
                ++spanColumns;
            int spanRows = 1;
            while (row + spanRows < rows
                   && size_t(column) < open.rows[size_t(row + spanRows)].size()
                   && open.rows[size_t(row + spanRows)][size_t(column)].mergedUp)
                ++spanRows;
            if (spanRows > 1 || spanColumns > 1)
                merges.push_back({row, column, spanRows, spanColumns});
        }
    }
    if (merges.empty())
        return;
    // Merging loses paragraph formats of cells beside the merged ones: each
    // cell's paragraphs get theirs back afterwards.
    std::vector<std::vector<std::vector<QTextBlockFormat>>> formats(size_t(table->rows()));
    for (int row = 0; row < table->rows(); ++row) {
        for (int column = 0; column < table->columns(); ++column)
            formats[size_t(row)].push_back(cellBlockFormats(table->cellAt(row, column)));
    }
    for (const Merge &merge : merges)
        table->mergeCells(merge.row, merge.column, merge.rows, merge.columns);
    for (int row = 0; row < table->rows(); ++row) {
        for (int column = 0; column < table->columns(); ++column) {
            const QTextTableCell cell = table->cellAt(row, column);
            if (cell.row() != row || cell.column() != column)
                continue;
            const std::vector<QTextBlockFormat> &before = formats[size_t(row)][size_t(column)];
            size_t index = 0;
            for (QTextFrame::iterator it = cell.begin(); !it.atEnd() && index < before.size();
                 ++it) {
                if (it.currentFrame())
                    continue;
                QTextCursor block(it.currentBlock());
                if (block.blockFormat() != before[index])
                    block.setBlockFormat(before[index]);
                ++index;
            }
        }
    }
}

void DocumentBuilder::startPendingParagraph()
{
    if (!m_paragraphPending)
        return;
    m_paragraphPending = false;
    m_cursor.insertBlock();
}

void DocumentBuilder::appendText(const QString &text, const QTextCharFormat &format)
{
    if (text.isEmpty())
        return;
    startContent();
    startPendingParagraph();
    m_cursor.insertText(text, format);
    m_paragraphHasContent = true;
}

void DocumentBuilder::appendImage(const QImage &image, const QString &name, QSizeF shownSize,
                                  const QByteArray &originalGroup)
{
    startContent();
    startPendingParagraph();
    m_document->addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat format;
    format.setName(name);
    format.setWidth(shownSize.width());
    format.setHeight(shownSize.height());
    if (!originalGroup.isEmpty()) {
        format.setProperty(kOriginalPictureProperty, originalGroup);
        format.setProperty(kOriginalShownSizeProperty, shownSize);
    }
    m_lastImagePosition = m_cursor.position();
    m_cursor.insertImage(format);
    m_paragraphHasContent = true;
}

void DocumentBuilder::attachObject(const QByteArray &objectGroup)
{
    if (m_lastImagePosition < 0)
        return;
    QTextCursor picture(m_document);
    picture.setPosition(m_lastImagePosition);
    picture.setPosition(m_lastImagePosition + 1, QTextCursor::KeepAnchor);
    const QTextImageFormat image = picture.charFormat().toImageFormat();
    QTextCharFormat object;
    object.setProperty(kOriginalObjectProperty, objectGroup);
    object.setProperty(kOriginalShownSizeProperty, QSizeF(image.width(), image.height()));
    picture.mergeCharFormat(object);
    m_lastImagePosition = -1;
}

void DocumentBuilder::endParagraph(const ParagraphEnd &paragraph)
{
    startContent();
    startPendingParagraph();
    applyFormats(paragraph);
    m_paragraphPending = true;
    m_paragraphHasContent = false;
}

void DocumentBuilder::endCell(const ParagraphEnd &paragraph)
{
    startContent();
    if (m_tables.empty())
        return;
    startPendingParagraph();
    applyFormats(paragraph);
    OpenTable &open = m_tables.back();
    open.column = std::min(open.column + 1, kMaxTableColumns - 1);
    open.inCell = false;
    m_paragraphPending = false;
    m_paragraphHasContent = false;
}

void DocumentBuilder::endRow(const TableRow &row)
{
    while (int(m_tables.size()) > std::max(m_wantedDepth, 1))
        closeTable();
    if (m_tables.empty())
        return;
    OpenTable &open = m_tables.back();
    if (!open.widthsSet) {
        open.widthsSet = true;
        QTextTableFormat format = open.table->format();
        QList<QTextLength> widths;
        bool anyWidth = false;
        for (const TableRow::Cell &cell : row.cells) {
            widths.append(cell.width);
            anyWidth = anyWidth || cell.width.type() != QTextLength::VariableLength;
        }
        if (anyWidth)
            format.setColumnWidthConstraints(widths);
        format.setBorder(row.border);
        format.setCellPadding(row.padding);
        format.setCellSpacing(row.spacing);
        open.table->setFormat(format);
    }
    open.rows.push_back(row.cells);
    ++open.row;
    open.column = 0;
    open.inCell = false;
    m_paragraphPending = false;
    m_paragraphHasContent = false;
    if (open.row >= kMaxTableRows)
        closeTable();
}

void DocumentBuilder::finish(const ParagraphEnd &paragraph)
{
    // A file that ends inside a table: the text after it has nowhere else.
    while (!m_tables.empty())
        closeTable();
    if (!m_paragraphPending)
        applyFormats(paragraph);
}

void DocumentBuilder::applyFormats(const ParagraphEnd &paragraph)
{
    // A new paragraph starts with the format of the one before, so most
    // paragraphs need no change; the character format of a paragraph only
    // shows while it is empty.
    if (!m_blockFormat)
        m_blockFormat = m_cursor.blockFormat();
    if (*m_blockFormat != paragraph.block) {
        m_cursor.setBlockFormat(paragraph.block);
        m_blockFormat = paragraph.block;
    }
    if (paragraph.listId >= 0) {
        QTextList *list = m_lists.value(paragraph.listId);
        if (list)
            list->add(m_cursor.block());
        else
            m_lists.insert(paragraph.listId, m_cursor.createList(paragraph.list));
        m_blockFormat.reset();
    }
    if (!paragraph.markerText.isEmpty()) {
        QTextCursor start(m_cursor.block());
        start.insertText(paragraph.markerText, paragraph.chr);
        m_paragraphHasContent = true;
    }
    if (!m_paragraphHasContent)
        m_cursor.setBlockCharFormat(paragraph.chr);
}

} // namespace rtf
