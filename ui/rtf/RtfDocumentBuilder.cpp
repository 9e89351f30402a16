#include "ui/rtf/RtfDocumentBuilder.h"

#include "ui/rtf/Rtf.h"

#include <QImage>
#include <QPointer>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

#include <algorithm>

namespace rtf {

DocumentBuilder::DocumentBuilder(QTextDocument *document)
    : m_document(document)
    , m_cursor(document)
{
    // One edit for the whole load: the document tells its views once.
    m_cursor.beginEditBlock();
}

DocumentBuilder::~DocumentBuilder()
{
    flushBatch();
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
    if (m_wantedDepth > 0 || !m_tables.empty())
        flushBatch();
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
    open.rowStarted = true;
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

// What a covered cell holds goes on as paragraphs of the merged cell, in the
// lists they are in, so merging joins nothing into one line; into an empty
// merged cell the first one goes on its paragraph.
void DocumentBuilder::moveIntoFirstCell(QTextTable *table, const CellMerge &merge, int row,
                                        int column)
{
    QTextTableCell covered = table->cellAt(row, column);
    if (covered.firstPosition() == covered.lastPosition())
        return;
    // A fragment puts its paragraphs into lists of its own: they get their
    // formats, and with them their lists, back from here.
    std::vector<QTextBlockFormat> formats;
    for (QTextBlock block = m_document->findBlock(covered.firstPosition());
         block.isValid() && block.position() <= covered.lastPosition(); block = block.next())
        formats.push_back(block.blockFormat());
    QTextCursor from(m_document);
    from.setPosition(covered.firstPosition());
    const QTextCharFormat firstChars = from.blockCharFormat();
    from.setPosition(covered.lastPosition(), QTextCursor::KeepAnchor);
    const QTextDocumentFragment content = from.selection();
    const QTextTableCell first = table->cellAt(merge.row, merge.column);
    const bool intoEmpty = first.firstPosition() == first.lastPosition();
    QTextCursor to(m_document);
    to.setPosition(first.lastPosition());
    if (!intoEmpty)
        to.insertBlock(formats.front(), firstChars);
    const int start = to.block().position();
    to.insertFragment(content);
    int end = to.block().position();
    const auto blocksFromStart = [&] {
        std::vector<QTextBlock> blocks;
        for (QTextBlock block = m_document->findBlock(start);
             block.isValid() && block.position() <= end; block = block.next())
            blocks.push_back(block);
        return blocks;
    };
    std::vector<QTextBlock> moved = blocksFromStart();
    // A fragment that starts in a list item brings a paragraph of its own in
    // front of it. Deleting an empty paragraph's end deletes the paragraph,
    // so the one after takes its format first (and stays in its list).
    if (moved.size() == formats.size() + 1 && moved.front().length() == 1) {
        QTextCursor(moved[1]).setBlockFormat(moved[0].blockFormat());
        QTextCursor join(moved.front());
        join.setPosition(start + 1, QTextCursor::KeepAnchor);
        join.removeSelectedText();
        --end;
        moved = blocksFromStart();
    }
    if (moved.size() == formats.size()) {
        for (size_t i = intoEmpty ? 1 : 0; i < moved.size(); ++i)
            QTextCursor(moved[i]).setBlockFormat(formats[i]);
    }
    covered = table->cellAt(row, column);
    from.setPosition(covered.firstPosition());
    from.setPosition(covered.lastPosition(), QTextCursor::KeepAnchor);
    from.removeSelectedText();
}

void DocumentBuilder::applyMerges(OpenTable &open)
{
    QTextTable *table = open.table;
    const std::vector<CellMerge> merges = cellMerges(open.rows);
    if (merges.empty())
        return;
    // Merging loses paragraph formats of cells beside the merged ones: each
    // cell's paragraphs get theirs back afterwards.
    std::vector<std::vector<std::vector<QTextBlockFormat>>> formats(size_t(table->rows()));
    for (int row = 0; row < table->rows(); ++row) {
        for (int column = 0; column < table->columns(); ++column)
            formats[size_t(row)].push_back(cellBlockFormats(table->cellAt(row, column)));
    }
    // A list whose only paragraphs merging takes away is deleted; the formats
    // given back make a new one of the same index, which the list's later
    // paragraphs must join.
    QHash<int, int> listOfObject;
    for (auto it = m_lists.cbegin(); it != m_lists.cend(); ++it) {
        if (it.value())
            listOfObject.insert(it.value()->objectIndex(), it.key());
    }
    for (const CellMerge &merge : merges) {
        // Only what the table holds: rows may have named more cells.
        const int rows = std::min(merge.rows, table->rows() - merge.row);
        const int columns = std::min(merge.columns, table->columns() - merge.column);
        if (rows <= 0 || columns <= 0 || (rows == 1 && columns == 1))
            continue;
        for (int row = merge.row; row < merge.row + rows; ++row) {
            for (int column = merge.column; column < merge.column + columns; ++column) {
                if (row != merge.row || column != merge.column)
                    moveIntoFirstCell(table, merge, row, column);
            }
        }
        table->mergeCells(merge.row, merge.column, rows, columns);
    }
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
    for (auto it = listOfObject.cbegin(); it != listOfObject.cend(); ++it) {
        QPointer<QTextList> &list = m_lists[it.value()];
        if (!list)
            list = qobject_cast<QTextList *>(m_document->object(it.key()));
    }
}

void DocumentBuilder::startPendingParagraph()
{
    if (!m_paragraphPending)
        return;
    m_paragraphPending = false;
    // A new paragraph takes the format of the one before, in a batch too;
    // but it is an item of a list only when its own end says so.
    if (m_batching) {
        m_batch += QChar(QChar::ParagraphSeparator);
        return;
    }
    QTextBlockFormat format = m_cursor.blockFormat();
    if (format.hasProperty(QTextFormat::ObjectIndex)) {
        format.clearProperty(QTextFormat::ObjectIndex);
        m_cursor.insertBlock(format);
        m_blockFormat = format;
    } else {
        m_cursor.insertBlock();
    }
}

void DocumentBuilder::flushBatch()
{
    if (!m_batching)
        return;
    m_batching = false;
    m_cursor.insertText(m_batch, m_batchFormat);
    m_batch.clear();
}

// Whether the paragraph ending in the batch needs nothing the batch does not
// give it already.
bool DocumentBuilder::batchCovers(const ParagraphEnd &paragraph) const
{
    return m_blockFormat && *m_blockFormat == paragraph.block && paragraph.listId < 0
        && paragraph.markerText.isEmpty()
        && (m_paragraphHasContent || paragraph.chr == m_batchFormat);
}

void DocumentBuilder::appendText(const QString &text, const QTextCharFormat &format)
{
    if (text.isEmpty())
        return;
    startContent();
    startPendingParagraph();
    if (m_tables.empty()) {
        if (m_batching && format != m_batchFormat)
            flushBatch();
        if (!m_batching) {
            m_batching = true;
            m_batchFormat = format;
        }
        m_batch += text;
    } else {
        m_cursor.insertText(text, format);
    }
    m_paragraphHasContent = true;
}

void DocumentBuilder::appendImage(const QImage &image, const QString &name, QSizeF shownSize,
                                  const QByteArray &originalGroup)
{
    startContent();
    startPendingParagraph();
    flushBatch();
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
    if (!open.rowStarted)
        return;
    if (!open.widthsSet) {
        open.widthsSet = true;
        QTextTableFormat format = open.table->format();
        QList<QTextLength> widths;
        bool anyWidth = false;
        for (const TableRow::Cell &cell : row.cells) {
            widths.append(cell.width);
            anyWidth = anyWidth || cell.width.type() != QTextLength::VariableLength;
        }
        // One width for each column: Qt takes the list to be as long as the
        // table is wide when it adds columns.
        widths.resize(open.table->columns());
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
    open.rowStarted = false;
    m_paragraphPending = false;
    m_paragraphHasContent = false;
    if (open.row >= kMaxTableRows)
        closeTable();
}

void DocumentBuilder::finish(const ParagraphEnd &paragraph)
{
    flushBatch();
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
    if (m_batching) {
        if (batchCovers(paragraph))
            return;
        flushBatch();
    }
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
