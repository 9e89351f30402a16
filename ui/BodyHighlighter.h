#pragma once

#include <QColor>
#include <QSyntaxHighlighter>

// Display-only formats laid over the body: links underlined in the link
// colour, and the default highlight behind text without one of its own.
// They live in the text layout, never in the document's formats, so saving,
// copying and undo see the text exactly as the user formatted it.
namespace ui {

class BodyHighlighter : public QSyntaxHighlighter
{
    Q_OBJECT
public:
    BodyHighlighter(QTextDocument *document, const QColor &linkColor);

    // Invalid: no default highlight.
    void setDefaultHighlight(const QColor &color);
    QColor defaultHighlight() const { return m_defaultHighlight; }

protected:
    void highlightBlock(const QString &text) override;

private:
    void markDefaultHighlight();
    void markLinks(const QString &text);

    QColor m_linkColor;
    QColor m_defaultHighlight;
};

} // namespace ui
