// Moving, resizing, rolling up and retitling a note: it has no system frame,
// so it provides all of these itself.
#include "note/Note.h"
#include "note/NoteParts.h"
#include "ui/Guarded.h"
#include "ui/NoteText.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWindow>

void TSingolNote::NotePanelMouseDown(Qt::MouseButton, const QPoint &position)
{
    ui::runGuarded(this, [&] {
        const notegeometry::Grip grip = notegeometry::gripAt(position, size());
        m_sizingWidth = grip.width;
        m_sizingHeight = grip.height;
        m_sizeOrigin = pos();
        // The pressed panel keeps receiving the moves until the release, even
        // outside the window, so no explicit grab is needed.
    });
}

void TSingolNote::NotePanelMouseMove(const QPoint &position)
{
    ui::runGuarded(this, [&] {
        NotePanel->setCursor(notegeometry::gripCursor(position, size()));
        if (!m_sizingWidth && !m_sizingHeight)
            return;
        // The pointer's own screen position, not the event's: the window
        // changes under the event while it is being resized.
        const QPoint pointer = QCursor::pos();
        int newWidth = width();
        int newHeight = height();
        if (m_sizingWidth) {
            if (const std::optional<int> dragged
                = notegeometry::draggedWidth(pointer.x(), m_sizeOrigin.x()))
                newWidth = *dragged;
        }
        if (m_sizingHeight) {
            if (const std::optional<int> dragged
                = notegeometry::draggedHeight(pointer.y(), m_sizeOrigin.y(), NoteTitle->height()))
                newHeight = *dragged;
        }
        resize(newWidth, newHeight);
    });
}

void TSingolNote::NotePanelMouseUp()
{
    ui::runGuarded(this, [this] {
        m_sizingWidth = false;
        m_sizingHeight = false;
        LayoutBody();
    });
}

void TSingolNote::NoteTitleMouseDown(Qt::MouseButton button)
{
    ui::runGuarded(this, [&] {
        // The right button opens the title menu through the context menu event.
        if (button == Qt::LeftButton)
            m_titleDrag = TitleDrag {QCursor::pos(), pos(), false};
    });
}

void TSingolNote::NoteTitleMouseMove()
{
    ui::runGuarded(this, [this] {
        if (!m_titleDrag)
            return;
        const QPoint moved = QCursor::pos() - m_titleDrag->pressPointer;
        // The window system's own move starts only once the pointer really
        // moves: started at the press, it would swallow the second click of
        // a double click. Where it is refused, the note follows the pointer
        // itself until the release.
        if (!m_titleDrag->systemMoveRefused) {
            if (moved.manhattanLength() < QApplication::startDragDistance())
                return;
            QWindow *window = windowHandle();
            if (window && window->startSystemMove()) {
                m_titleDrag.reset();
                m_modified = true;
                return;
            }
            m_titleDrag->systemMoveRefused = true;
        }
        move(m_titleDrag->pressWindow + moved);
    });
}

void TSingolNote::NoteTitleMouseUp(Qt::MouseButton button)
{
    ui::runGuarded(this, [&] {
        if (button != Qt::LeftButton || !m_titleDrag)
            return;
        m_titleDrag.reset();
        // Even a press that moved nothing counts as a move.
        m_modified = true;
    });
}

void TSingolNote::NoteTitleDblClick()
{
    ui::runGuarded(this, [this] {
        const notegeometry::RollUp next
            = notegeometry::toggleRollUp(size(), QSize(RestoreWidth(), RestoreHeight()));
        m_record.restoreWidth = quint16(next.restore.width());
        m_record.restoreHeight = quint16(next.restore.height());
        applyWindowSize(next.window.width(), next.window.height());
    });
}

void TSingolNote::Changetitle1Click()
{
    ui::runGuarded(this, [this] {
        TitleEdit->setGeometry(NoteTitle->geometry());
        TitleEdit->setText(NoteTitle->text());
        TitleEdit->show();
        TitleEdit->raise();
        TitleEdit->setFocus(Qt::OtherFocusReason);
    });
}

void TSingolNote::TitleEditChange()
{
    ui::runGuarded(this, [this] { m_modified = true; });
}

void TSingolNote::TitleEditKeyDown(int key)
{
    ui::runGuarded(this, [&] {
        // Only Enter ends editing: Escape does not cancel, and the editor
        // stays open when it loses the focus.
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return;
        NoteTitle->setText(TitleEdit->text());
        TitleEdit->hide();
        NoteText->setFocus(Qt::OtherFocusReason);
        noteChanged();
    });
}

bool TSingolNote::eventFilter(QObject *watched, QEvent *event)
{
    if (NoteText.is(watched) && event->type() == QEvent::KeyPress
        && bodyShortcutPressed(*static_cast<QKeyEvent *>(event)))
        return true;
    if (TitleEdit.is(watched) && event->type() == QEvent::KeyPress)
        TitleEditKeyDown(static_cast<QKeyEvent *>(event)->key());
    // The key goes on to the editor either way.
    return QWidget::eventFilter(watched, event);
}
