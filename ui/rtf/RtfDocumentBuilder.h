#pragma once

#include "ui/rtf/RtfSink.h"

#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>

class QTextDocument;
class QImage;

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
    void endParagraph(const QTextBlockFormat &blockFormat,
                      const QTextCharFormat &charFormat) override;
    void finish(const QTextBlockFormat &blockFormat, const QTextCharFormat &charFormat) override;

private:
    void startPendingParagraph();
    void applyFormats(const QTextBlockFormat &blockFormat, const QTextCharFormat &charFormat);

    QTextDocument *m_document;
    QTextCursor m_cursor;
    bool m_paragraphPending = false;
    bool m_paragraphHasContent = false;
};

} // namespace rtf
