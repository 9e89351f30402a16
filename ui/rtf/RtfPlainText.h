#pragma once

#include "ui/rtf/RtfSink.h"

#include <QStringList>

namespace rtf {

// The text of an RTF document as lines, without building a document: the same
// lines as the document's plain text (pictures leave nothing, a line break
// within a paragraph starts a line), for exporting a body as text.
class PlainTextSink : public ContentSink
{
public:
    bool wantsFormats() const override { return false; }
    void appendText(const QString &text, const QTextCharFormat &format) override;
    void appendImage(const QImage &image, const QString &name, QSizeF shownSize,
                     const QByteArray &originalGroup) override;
    void endParagraph(const QTextBlockFormat &blockFormat,
                      const QTextCharFormat &charFormat) override;
    void finish(const QTextBlockFormat &blockFormat, const QTextCharFormat &charFormat) override;

    // Empty for a document with nothing in it.
    QStringList takeLines();

private:
    void startPendingParagraph();
    void breakLine();

    QStringList m_lines {QString()};
    bool m_paragraphPending = false;
    bool m_empty = true;
};

} // namespace rtf
