#include "ui/BodyHighlighter.h"

#include "ui/Links.h"

#include <QTextBlock>

namespace ui {

BodyHighlighter::BodyHighlighter(QTextDocument *document, const QColor &linkColor)
    : QSyntaxHighlighter(document)
    , m_linkColor(linkColor)
{
}

void BodyHighlighter::setDefaultHighlight(const QColor &color)
{
    if (color == m_defaultHighlight)
        return;
    m_defaultHighlight = color;
    rehighlight();
}

void BodyHighlighter::highlightBlock(const QString &text)
{
    markDefaultHighlight();
    markLinks(text);
}

void BodyHighlighter::markDefaultHighlight()
{
    if (!m_defaultHighlight.isValid())
        return;
    QTextCharFormat highlight;
    highlight.setBackground(m_defaultHighlight);
    const QTextBlock block = currentBlock();
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (!fragment.charFormat().hasProperty(QTextFormat::BackgroundBrush))
            setFormat(fragment.position() - block.position(), fragment.length(), highlight);
    }
}

void BodyHighlighter::markLinks(const QString &text)
{
    for (const LinkSpan &link : findLinks(text)) {
        // Per character, to keep a default highlight laid under the link.
        for (int i = link.start; i < link.start + link.length; ++i) {
            QTextCharFormat format = this->format(i);
            format.setFontUnderline(true);
            format.setForeground(m_linkColor);
            setFormat(i, 1, format);
        }
    }
}

} // namespace ui
