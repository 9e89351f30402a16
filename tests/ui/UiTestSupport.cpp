#include "UiTestSupport.h"

#include "ui/Pictures.h"
#include "ui/rtf/Rtf.h"

#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

namespace uitest {

bool rtfKeepsText()
{
    QTextDocument in;
    in.setPlainText(QStringLiteral("round trip"));
    QTextDocument out;
    return rtf::read(rtf::write(in), &out) && out.toPlainText() == in.toPlainText();
}

bool rtfKeepsFormats()
{
    QTextDocument document;
    QTextCursor cursor(&document);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cursor.insertText(QStringLiteral("bold"), bold);
    return rtf::write(document).contains("\\b");
}

bool rtfKeepsPictures()
{
    QTextDocument document;
    QTextCursor cursor(&document);
    ui::insertPicture(cursor, solidImage(2, 2, Qt::red));
    return rtf::write(document).contains("\\pict");
}

QImage solidImage(int width, int height, Qt::GlobalColor color)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

void typeInto(ui::NoteText &text, const QString &typed)
{
    QTextCursor cursor = text.textCursor();
    cursor.insertText(typed);
    text.setTextCursor(cursor);
}

void selectRange(ui::NoteText &text, int start, int end)
{
    QTextCursor cursor(text.document());
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    text.setTextCursor(cursor);
}

QPoint pointOverCharacter(const ui::NoteText &text, int position)
{
    const QTextBlock block = text.document()->findBlock(position);
    const QRectF blockRect = text.document()->documentLayout()->blockBoundingRect(block);
    const QTextLine line = block.layout()->lineForTextPosition(position - block.position());
    const qreal left = line.cursorToX(position - block.position());
    const qreal right = line.cursorToX(position - block.position() + 1);
    const QPointF inDocument(blockRect.left() + (left + right) / 2,
                             blockRect.top() + line.y() + line.height() / 2);
    return (inDocument
            - QPointF(text.horizontalScrollBar()->value(), text.verticalScrollBar()->value()))
        .toPoint();
}

} // namespace uitest
