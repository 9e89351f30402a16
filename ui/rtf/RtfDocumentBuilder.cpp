#include "ui/rtf/RtfDocumentBuilder.h"

#include "ui/rtf/Rtf.h"

#include <QImage>
#include <QTextDocument>
#include <QUrl>

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
    m_cursor.endEditBlock();
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
    startPendingParagraph();
    m_cursor.insertText(text, format);
    m_paragraphHasContent = true;
}

void DocumentBuilder::appendImage(const QImage &image, const QString &name, QSizeF shownSize,
                                  const QByteArray &originalGroup)
{
    startPendingParagraph();
    m_document->addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat format;
    format.setName(name);
    format.setWidth(shownSize.width());
    format.setHeight(shownSize.height());
    if (!originalGroup.isEmpty())
        format.setProperty(kOriginalPictureProperty, originalGroup);
    m_cursor.insertImage(format);
    m_paragraphHasContent = true;
}

void DocumentBuilder::endParagraph(const QTextBlockFormat &blockFormat,
                                   const QTextCharFormat &charFormat)
{
    startPendingParagraph();
    applyFormats(blockFormat, charFormat);
    m_paragraphPending = true;
    m_paragraphHasContent = false;
}

void DocumentBuilder::finish(const QTextBlockFormat &blockFormat, const QTextCharFormat &charFormat)
{
    if (!m_paragraphPending)
        applyFormats(blockFormat, charFormat);
}

void DocumentBuilder::applyFormats(const QTextBlockFormat &blockFormat,
                                   const QTextCharFormat &charFormat)
{
    // A new paragraph starts with the format of the one before, so most
    // paragraphs need no change; the character format of a paragraph only
    // shows while it is empty.
    if (m_cursor.blockFormat() != blockFormat)
        m_cursor.setBlockFormat(blockFormat);
    if (!m_paragraphHasContent)
        m_cursor.setBlockCharFormat(charFormat);
}

} // namespace rtf
