#pragma once

#include "storage/FontDesc.h"

#include <QLabel>
#include <QWidget>

// The two plain parts of a note window; the note itself decides what their
// mouse events do.
namespace note {

// The panel filling the whole note: its back colour and a 2-pixel bevel
// (1 pixel raised outside, 1 pixel lowered inside). Only that frame is left
// uncovered by the title strip and the body, so it is the resize grip.
class NotePanel : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kFrameWidth = 2;

    explicit NotePanel(QWidget *parent);

    // A colour value as the note file keeps it (0x00BBGGRR or a system colour).
    qint32 colorRef() const { return m_colorRef; }
    void setColorRef(qint32 ref);

Q_SIGNALS:
    void mousePressed(Qt::MouseButton button, const QPoint &position);
    void mouseMoved(const QPoint &position);
    void mouseReleased(Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    qint32 m_colorRef = 0;
};

// The title strip: a plain-text caption in a font and on a colour of its own.
class NoteTitle : public QLabel
{
    Q_OBJECT
public:
    static constexpr int kHeight = 15;

    explicit NoteTitle(QWidget *parent);

    qint32 colorRef() const { return m_colorRef; }
    void setColorRef(qint32 ref);
    // Kept as given, so a font read from a note file is written back unchanged.
    const storage::FontDesc &fontDesc() const { return m_font; }
    void setFontDesc(const storage::FontDesc &font);

Q_SIGNALS:
    void mousePressed(Qt::MouseButton button);
    void mouseMoved();
    void mouseReleased(Qt::MouseButton button);
    void doubleClicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    qint32 m_colorRef = 0;
    storage::FontDesc m_font;
};

} // namespace note
