#pragma once

#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>

class QTextDocument;
class QImage;

namespace rtf {

// Writes what the reader finds into the document, in order. A paragraph end
// is held back until more content follows, so the final \par of a file does
// not leave an empty last paragraph behind.
class DocumentBuilder
{
public:
    explicit DocumentBuilder(QTextDocument *document);
    ~DocumentBuilder();
    DocumentBuilder(const DocumentBuilder &) = delete;
    DocumentBuilder &operator=(const DocumentBuilder &) = delete;

    void appendText(const QString &text, const QTextCharFormat &format);
    void appendImage(const QImage &image, const QString &name, QSizeF shownSize,
                     const QByteArray &originalGroup);
    // The paragraph ends with these formats.
    void endParagraph(const QTextBlockFormat &blockFormat, const QTextCharFormat &charFormat);
    // The text after the last paragraph end, if any, takes these formats.
    void finish(const QTextBlockFormat &blockFormat, const QTextCharFormat &charFormat);

    bool hasContentInParagraph() const { return m_paragraphHasContent; }

private:
    void startPendingParagraph();
    void applyFormats(const QTextBlockFormat &blockFormat, const QTextCharFormat &charFormat);

    QTextDocument *m_document;
    QTextCursor m_cursor;
    bool m_paragraphPending = false;
    bool m_paragraphHasContent = false;
};

} // namespace rtf
