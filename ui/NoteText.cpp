#include "ui/NoteText.h"

#include "platform/Errors.h"
#include "storage/PrivateFile.h"
#include "ui/BodyHighlighter.h"
#include "ui/BodyPrint.h"
#include "ui/BodyText.h"
#include "ui/CharFormats.h"
#include "ui/ColorRef.h"
#include "ui/Dialogs.h"
#include "ui/Links.h"
#include "ui/PictureSizeDialog.h"
#include "ui/rtf/Rtf.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPrinter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>

namespace ui {
namespace {

// A small inset, so text does not touch the note's frame.
constexpr qreal kBodyMargin = 2;

} // namespace

NoteText::NoteText(QWidget *parent)
    : QTextEdit(parent)
    , m_highlighter(new BodyHighlighter(document(), palette().color(QPalette::Link)))
    , m_textColor(Qt::black)
{
    setFrameShape(QFrame::NoFrame);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setAcceptRichText(true);
    setContextMenuPolicy(Qt::PreventContextMenu);
    viewport()->setMouseTracking(true);
    document()->setDocumentMargin(kBodyMargin);
    document()->setUndoRedoEnabled(true);
    // One signal per step: a merged run of typing or a whole edit block.
    connect(document(), &QTextDocument::undoCommandAdded, this,
            [this] { m_undoableSteps = qMin(m_undoableSteps + 1, kUndoSteps); });
    setBackColor(QColor(Qt::yellow));
    setBodyFont(descFromFont(font(), m_textColor));
}

NoteText::~NoteText() = default;

QColor NoteText::backColor() const
{
    return palette().color(QPalette::Base);
}

void NoteText::setBackColor(const QColor &color)
{
    QPalette p = palette();
    for (const QPalette::ColorGroup group :
         {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(group, QPalette::Base, color);
        p.setColor(group, QPalette::Window, color);
    }
    setPalette(p);
}

QStringList NoteText::lines() const
{
    return plainLines(*document());
}

void NoteText::setLines(const QStringList &lines)
{
    setPlainLines(*document(), lines);
    afterBodyReplaced();
}

void NoteText::saveToFile(const QString &path)
{
    // Written straight from the body, with the body font for text that has
    // none of its own: no copy, no layout, whatever the body's size.
    storage::writePrivateFile(path, rtf::write(*document(), defaultFormat()));
    document()->setModified(false);
}

void NoteText::loadFromFile(const QString &path)
{
    loadFromBytes(readBodyFile(path));
}

void NoteText::loadFromBytes(const QByteArray &bytes)
{
    const QFont bodyFont = document()->defaultFont();
    // A load is no edit the user could undo; with the history off it is
    // also not recorded step by step.
    document()->setUndoRedoEnabled(false);
    // Loaded text that looks like the body font follows later changes of it.
    loadBody(*document(), bytes, defaultFormat());
    document()->setDefaultFont(bodyFont);
    document()->setUndoRedoEnabled(true);
    afterBodyReplaced();
}

void NoteText::afterBodyReplaced()
{
    document()->clearUndoRedoStacks();
    m_undoableSteps = 0;
    document()->setModified(false);
    selectNoneAtStart();
}

storage::FontDesc NoteText::bodyFont() const
{
    return descFromFont(document()->defaultFont(), m_textColor);
}

void NoteText::setBodyFont(const storage::FontDesc &font)
{
    // The widget's font is what the text engine takes as the document's
    // default font, so both must change together.
    setFont(fontFromDesc(font));
    m_textColor = colorFromRef(font.color);
    QPalette p = palette();
    for (const QPalette::ColorGroup group :
         {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(group, QPalette::Text, m_textColor);
    setPalette(p);
}

QColor NoteText::defaultHighlight() const
{
    return m_highlighter->defaultHighlight();
}

QTextCharFormat NoteText::defaultFormat() const
{
    return charFormatFromDesc(bodyFont(), defaultHighlight());
}

std::unique_ptr<QTextDocument> NoteText::standaloneCopy() const
{
    std::unique_ptr<QTextDocument> copy(document()->clone());
    applyDefaults(*copy, defaultFormat());
    return copy;
}

QTextCharFormat NoteText::selectionCharFormat() const
{
    const QTextCursor selection = textCursor();
    if (!selection.hasSelection())
        return selection.charFormat();
    // A cursor reports the format of the character before it: stand behind
    // the first selected one.
    QTextCursor first(document());
    first.setPosition(selection.selectionStart() + 1);
    return first.charFormat();
}

storage::FontDesc NoteText::selectionFont() const
{
    const QTextCharFormat format = selectionCharFormat();
    const QFont font = format.font().resolve(document()->defaultFont());
    const QColor color = format.hasProperty(QTextFormat::ForegroundBrush)
        ? format.foreground().color()
        : m_textColor;
    return descFromFont(font, color);
}

void NoteText::setSelectionFont(const storage::FontDesc &font)
{
    if (!textCursor().hasSelection()) {
        setBodyFont(font);
        return;
    }
    textCursor().mergeCharFormat(charFormatFromDesc(font));
}

QColor NoteText::selectionHighlight() const
{
    const QTextCharFormat format = selectionCharFormat();
    if (format.hasProperty(QTextFormat::BackgroundBrush))
        return format.background().color();
    return defaultHighlight();
}

void NoteText::setSelectionHighlight(const QColor &color)
{
    if (!textCursor().hasSelection()) {
        m_highlighter->setDefaultHighlight(color);
        return;
    }
    QTextCharFormat format;
    format.setBackground(color);
    textCursor().mergeCharFormat(format);
}

int NoteText::selectionLength() const
{
    const QTextCursor cursor = textCursor();
    return cursor.selectionEnd() - cursor.selectionStart();
}

void NoteText::selectNoneAtStart()
{
    setTextCursor(QTextCursor(document()));
}

void NoteText::appendLine(const QString &text)
{
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.beginEditBlock();
    if (!document()->isEmpty())
        cursor.insertBlock(cursor.blockFormat(), QTextCharFormat());
    cursor.insertText(text, QTextCharFormat());
    cursor.endEditBlock();
}

void NoteText::insertPicture(const QImage &image)
{
    QTextCursor cursor = textCursor();
    ui::insertPicture(cursor, image);
    setTextCursor(cursor);
}

std::optional<PictureInfo> NoteText::selectedPicture() const
{
    if (selectionLength() != 1)
        return std::nullopt;
    return pictureAt(*document(), textCursor().selectionStart());
}

void NoteText::setSelectedPictureSize(const QSize &shown)
{
    if (const std::optional<PictureInfo> picture = selectedPicture())
        setPictureShownSize(*document(), picture->position, shown);
}

bool NoteText::editObjectProperties()
{
    const std::optional<PictureInfo> picture = selectedPicture();
    if (!picture)
        return false;
    PictureSizeDialog dialog(*picture, this);
    if (dialogs::execute(dialog) == QDialog::Accepted)
        setSelectedPictureSize(dialog.shownSize());
    return true;
}

void NoteText::printBody(QPrinter &printer, const QString &jobTitle) const
{
    printer.setDocName(jobTitle);
    const std::unique_ptr<QTextDocument> copy = standaloneCopy();
    printDocument(*copy, printer);
}

QString NoteText::linkAt(const QPoint &viewportPosition) const
{
    const QPointF documentPosition
        = viewportPosition + QPointF(horizontalScrollBar()->value(), verticalScrollBar()->value());
    const int position = document()->documentLayout()->hitTest(documentPosition, Qt::ExactHit);
    if (position < 0)
        return {};
    const QTextBlock block = document()->findBlock(position);
    // A link of a pasted page or a word processor's link field opens its
    // address; whether it may open is the note's to decide.
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (position < fragment.position() || position >= fragment.position() + fragment.length())
            continue;
        const QTextCharFormat format = fragment.charFormat();
        if (format.isAnchor() && !format.anchorHref().isEmpty())
            return format.anchorHref();
        break;
    }
    const int inBlock = position - block.position();
    const QString text = block.text();
    for (const LinkSpan &link : findLinks(text)) {
        if (inBlock >= link.start && inBlock < link.start + link.length)
            return text.mid(link.start, link.length);
    }
    return {};
}

bool NoteText::canInsertFromMimeData(const QMimeData *source) const
{
    return source->hasImage() || QTextEdit::canInsertFromMimeData(source);
}

void NoteText::insertFromMimeData(const QMimeData *source)
{
    // A picture comes in as a picture unless the clipboard also holds the
    // text that was copied (word processors add a picture of their text).
    if (source->hasImage() && !source->hasText()) {
        const QImage image = qvariant_cast<QImage>(source->imageData());
        if (!image.isNull()) {
            insertPicture(image);
            return;
        }
    }
    QTextEdit::insertFromMimeData(source);
}

void NoteText::mousePressEvent(QMouseEvent *event)
{
    const QPoint position = event->position().toPoint();
    m_pressedLink = linkAt(position);
    m_pressPosition = position;
    QTextEdit::mousePressEvent(event);
    Q_EMIT mousePressed(event->button(), viewport()->mapTo(this, position));
}

void NoteText::mouseMoveEvent(QMouseEvent *event)
{
    QTextEdit::mouseMoveEvent(event);
    const bool overLink = !linkAt(event->position().toPoint()).isEmpty();
    viewport()->setCursor(overLink ? Qt::PointingHandCursor : Qt::IBeamCursor);
}

void NoteText::mouseReleaseEvent(QMouseEvent *event)
{
    QTextEdit::mouseReleaseEvent(event);
    const QPoint position = event->position().toPoint();
    const QString pressedLink = std::exchange(m_pressedLink, QString());
    const bool dragged
        = (position - m_pressPosition).manhattanLength() >= QApplication::startDragDistance();
    if (!pressedLink.isEmpty() && !dragged && linkAt(position) == pressedLink)
        Q_EMIT linkClicked(pressedLink, event->button());
}

void NoteText::focusOutEvent(QFocusEvent *event)
{
    QTextEdit::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason)
        Q_EMIT focusLost();
}

void NoteText::undoStep()
{
    if (m_undoableSteps == 0 || !document()->isUndoAvailable())
        return;
    undo();
    --m_undoableSteps;
}

void NoteText::redoStep()
{
    if (!document()->isRedoAvailable())
        return;
    redo();
    m_undoableSteps = qMin(m_undoableSteps + 1, kUndoSteps);
}

void NoteText::toggleBold()
{
    QTextCharFormat format;
    format.setFontWeight(selectionFont().bold ? QFont::Normal : QFont::Bold);
    mergeCurrentCharFormat(format);
}

void NoteText::toggleItalic()
{
    QTextCharFormat format;
    format.setFontItalic(!selectionFont().italic);
    mergeCurrentCharFormat(format);
}

void NoteText::toggleUnderline()
{
    QTextCharFormat format;
    format.setFontUnderline(!selectionFont().underline);
    mergeCurrentCharFormat(format);
}

void NoteText::keyPressEvent(QKeyEvent *event)
{
    // The editor's own undo keys (Ctrl+Shift+Z) count the steps too.
    if (event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo)) {
        event->matches(QKeySequence::Undo) ? undoStep() : redoStep();
        event->accept();
        return;
    }
    // The rich-edit keys; on X11 the editor would take Ctrl+U to delete the line.
    if (event->modifiers() == Qt::ControlModifier) {
        const std::pair<int, void (NoteText::*)()> keys[]
            = {{Qt::Key_B, &NoteText::toggleBold},
               {Qt::Key_I, &NoteText::toggleItalic},
               {Qt::Key_U, &NoteText::toggleUnderline}};
        for (const auto &[key, toggle] : keys) {
            if (event->key() == key) {
                (this->*toggle)();
                event->accept();
                return;
            }
        }
    }
    QTextEdit::keyPressEvent(event);
}

} // namespace ui
