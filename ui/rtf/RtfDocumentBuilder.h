#pragma once

#include "ui/rtf/RtfSink.h"

#include <QHash>
#include <QPointer>
#include <QTextCursor>

#include <optional>
#include <vector>

class QTextDocument;
class QTextList;
class QTextTable;

namespace rtf {

// Writes what the reader finds into the document, in order. A paragraph end
// is held back until more content follows, so the final \par of a file does
// not leave an empty last paragraph behind.
class DocumentBuilder : public ContentSink
{
public:
    explicit DocumentBuilder(QTextDocument *document);
    ~DocumentBuilder() override;
    DocumentBuilder(const DocumentBuilder &) = delete;
    DocumentBuilder &operator=(const DocumentBuilder &) = delete;

    bool wantsFormats() const override { return true; }
    void appendText(const QString &text, const QTextCharFormat &format) override;
    void appendImage(const QImage &image, const QString &name, QSizeF shownSize,
                     const QByteArray &originalGroup) override;
    void attachObject(const QByteArray &objectGroup) override;
    void setTableDepth(int depth) override;
    void endParagraph(const ParagraphEnd &paragraph) override;
    void endCell(const ParagraphEnd &paragraph) override;
    void endRow(const TableRow &row) override;
    void finish(const ParagraphEnd &paragraph) override;

private:
    struct OpenTable
    {
        QTextTable *table = nullptr;
        int row = 0;
        int column = 0;
        bool inCell = false;
        bool rowStarted = false; // a row comes into being with its first cell
        bool widthsSet = false;
        // Cells that merges will join once the table is whole.
        std::vector<std::pair<int, int>> mergeStarts;
        std::vector<std::vector<TableRow::Cell>> rows;
    };

    void startContent();
    void startPendingParagraph();
    void enterCell();
    void openTable();
    void closeTable();
    void applyMerges(OpenTable &open);
    void moveIntoFirstCell(QTextTable *table, const CellMerge &merge, int row, int column);
    void applyFormats(const ParagraphEnd &paragraph);
    bool batchCovers(const ParagraphEnd &paragraph) const;
    void flushBatch();

    QTextDocument *m_document;
    QTextCursor m_cursor;
    bool m_paragraphPending = false;
    bool m_paragraphHasContent = false;
    int m_wantedDepth = 0;
    std::vector<OpenTable> m_tables;
    QHash<int, QPointer<QTextList>> m_lists;
    int m_lastImagePosition = -1;
    // The format of the block the cursor is in, when it is known without
    // asking the document: a new block takes the format of the one before.
    std::optional<QTextBlockFormat> m_blockFormat;
    // Text of one format, paragraph ends included, that waits to go in as
    // one insertion: a body of plain lines costs one call, not one a line.
    QString m_batch;
    QTextCharFormat m_batchFormat;
    bool m_batching = false;
};

} // namespace rtf
