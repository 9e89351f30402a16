#include "ui/rtf/RtfPlainText.h"

namespace rtf {
namespace {

// Characters a text document takes as the end of a paragraph when inserted.
bool endsParagraph(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::ParagraphSeparator;
}

} // namespace

void PlainTextSink::startPendingParagraph()
{
    if (!m_paragraphPending)
        return;
    m_paragraphPending = false;
    breakLine();
}

void PlainTextSink::breakLine()
{
    m_lines.append(QString());
    m_empty = false;
}

void PlainTextSink::appendText(const QString &text, const QTextCharFormat &)
{
    if (text.isEmpty())
        return;
    startPendingParagraph();
    m_empty = false;
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const bool breaks = endsParagraph(c) || c == QChar::LineSeparator;
        // A document's plain text leaves out the character that stands for
        // a picture, also where the text itself holds one.
        if (!breaks && c != QChar::ObjectReplacementCharacter)
            continue;
        m_lines.last() += QStringView(text).sliced(runStart, i - runStart);
        runStart = i + 1;
        if (!breaks)
            continue;
        breakLine();
        // The document takes a CR LF pair as one paragraph end.
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n')) {
            ++i;
            runStart = i + 1;
        }
    }
    m_lines.last() += QStringView(text).sliced(runStart);
}

void PlainTextSink::appendImage(const QImage &, const QString &, QSizeF, const QByteArray &)
{
    startPendingParagraph();
    m_empty = false;
}

void PlainTextSink::endParagraph(const QTextBlockFormat &, const QTextCharFormat &)
{
    startPendingParagraph();
    m_paragraphPending = true;
}

void PlainTextSink::finish(const QTextBlockFormat &, const QTextCharFormat &) { }

QStringList PlainTextSink::takeLines()
{
    if (m_empty)
        return {};
    QStringList lines = std::move(m_lines);
    m_lines = QStringList {QString()};
    m_empty = true;
    return lines;
}

} // namespace rtf
