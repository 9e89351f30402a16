#pragma once

#include "storage/FontDesc.h"
#include "ui/Pictures.h"

#include <QColor>
#include <QTextEdit>

#include <memory>
#include <optional>

class QPrinter;

namespace ui {

class BodyHighlighter;

// The rich-text body of a note: borderless, in the note's back colour, word
// wrapped at its width, with scroll bars only when needed, links shown and
// reported, pictures, printing, and its body kept as an RTF file.
//
// The default character format is the body font (face, size, styles and
// colour, as the note file keeps it) plus an optional default highlight: it
// is the look of every character that has no such property of its own.
//
// The control shows no context menu of its own: the note opens its menu on
// mousePressed. Edits are reported by document()->modificationChanged.
class NoteText : public QTextEdit
{
    Q_OBJECT
public:
    // The newest this many edits can be undone; older ones are out of reach.
    static constexpr int kUndoSteps = 100;

    explicit NoteText(QWidget *parent = nullptr);
    ~NoteText() override;

    QColor backColor() const;
    void setBackColor(const QColor &color);

    // The body as plain lines, one per line; setting replaces the whole body
    // with unformatted lines and forgets the undo history.
    QStringList lines() const;
    void setLines(const QStringList &lines);

    // Writes the whole body, formats and pictures included, as Rich Text
    // Format. The file is replaced whole or not at all (mode 0600);
    // EInOutError with the system's reason leaves the old file as it was.
    void saveToFile(const QString &path);
    // Replaces the body with the file, read as Rich Text Format or else as
    // plain lines. EInOutError when the file is missing or unreadable; the
    // body is then unchanged.
    void loadFromFile(const QString &path);
    // The same from bytes read earlier with readBodyFile; never fails.
    void loadFromBytes(const QByteArray &bytes);

    storage::FontDesc bodyFont() const;
    void setBodyFont(const storage::FontDesc &font);
    // Invalid when text without a highlight of its own has none.
    QColor defaultHighlight() const;

    // The format target of the note's Font and Back colors commands: the
    // selected characters, or with nothing selected the default format.
    // Reading gives the first selected character's look, or the look at the
    // caret.
    storage::FontDesc selectionFont() const;
    void setSelectionFont(const storage::FontDesc &font);
    QColor selectionHighlight() const; // invalid: none
    void setSelectionHighlight(const QColor &color);

    int selectionLength() const;
    // An empty selection at the start of the body.
    void selectNoneAtStart();

    // Adds a new last line in the default format, wherever the caret is.
    void appendLine(const QString &text);

    // Undo and redo one step (a run of typing, a paste, a format change).
    // The text engine keeps every step of the session, and can only forget
    // all of them at once; so of its history only the newest kUndoSteps are
    // offered, and the last edit is always among them.
    void undoStep();
    void redoStep();
    // How many steps undoStep can take back now.
    int undoableSteps() const { return m_undoableSteps; }

    // Bold, italic or underline on or off for the selection, or with nothing
    // selected for what is typed next, as the first selected character (or
    // the caret) has it now: Ctrl+B, Ctrl+I and Ctrl+U.
    void toggleBold();
    void toggleItalic();
    void toggleUnderline();

    // Inserts the picture at the caret, replacing the selection; the
    // clipboard is not used. Error "Invalid picture" for a null image.
    void insertPicture(const QImage &image);
    // The picture when the selection is exactly one picture.
    std::optional<PictureInfo> selectedPicture() const;
    void setSelectedPictureSize(const QSize &shown);
    // Opens the object-properties dialog when the selection is exactly one
    // picture and applies the size chosen there. False when there was none.
    bool editObjectProperties();

    // Prints the whole body in its note look over as many pages as it needs.
    // EInOutError when the printer cannot be used.
    void printBody(QPrinter &printer, const QString &jobTitle) const;

    // The link at a point of the viewport: a link's address, or an address
    // in the text; an empty string where there is none.
    QString linkAt(const QPoint &viewportPosition) const;

Q_SIGNALS:
    // A click (press and release on one link, without dragging) on a link.
    void linkClicked(const QString &linkText, Qt::MouseButton button);
    // Any mouse press; the position is relative to the control.
    void mousePressed(Qt::MouseButton button, const QPoint &position);
    // The input focus moved to another control or window; a popup menu
    // opening over the body does not count.
    void focusLost();

protected:
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QTextCharFormat defaultFormat() const;
    // A copy of the body in which every character carries the default format.
    std::unique_ptr<QTextDocument> standaloneCopy() const;
    QTextCharFormat selectionCharFormat() const;
    void afterBodyReplaced();

    BodyHighlighter *m_highlighter;
    QColor m_textColor;
    QString m_pressedLink;
    QPoint m_pressPosition;
    int m_undoableSteps = 0;
};

} // namespace ui
