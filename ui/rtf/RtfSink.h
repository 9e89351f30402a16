#pragma once

#include <QByteArray>
#include <QSizeF>
#include <QString>

class QImage;
class QTextBlockFormat;
class QTextCharFormat;

namespace rtf {

// Where the reader puts what it finds, in order: a document, or plain lines.
class ContentSink
{
public:
    virtual ~ContentSink() = default;

    // False when formats and decoded pictures would be thrown away: the reader
    // then passes empty formats and a null image, and saves the work.
    virtual bool wantsFormats() const = 0;
    virtual void appendText(const QString &text, const QTextCharFormat &format) = 0;
    virtual void appendImage(const QImage &image, const QString &name, QSizeF shownSize,
                             const QByteArray &originalGroup)
        = 0;
    // The paragraph ends with these formats.
    virtual void endParagraph(const QTextBlockFormat &blockFormat,
                              const QTextCharFormat &charFormat)
        = 0;
    // The text after the last paragraph end, if any, takes these formats.
    virtual void finish(const QTextBlockFormat &blockFormat, const QTextCharFormat &charFormat) = 0;
};

} // namespace rtf
