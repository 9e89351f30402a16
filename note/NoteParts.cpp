#include "note/NoteParts.h"

#include "ui/CharFormats.h"
#include "ui/ColorRef.h"

#include <QMouseEvent>
#include <QPainter>

namespace note {
namespace {

void setBackground(QWidget &widget, const QColor &color)
{
    QPalette p = widget.palette();
    for (const QPalette::ColorGroup group :
         {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(group, QPalette::Window, color);
    widget.setPalette(p);
}

} // namespace

NotePanel::NotePanel(QWidget *parent)
    : QWidget(parent)
{
    // Cursor updates need moves without a pressed button too.
    setMouseTracking(true);
    setCursor(Qt::ArrowCursor);
}

void NotePanel::setColorRef(qint32 ref)
{
    m_colorRef = ref;
    setBackground(*this, ui::colorFromRef(ref));
    update();
}

void NotePanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QColor back = palette().color(QPalette::Window);
    painter.fillRect(rect(), back);
    const QColor light = back.lighter(160);
    const QColor dark = back.darker(160);
    // Raised outside: light top and left, dark bottom and right; lowered
    // inside the other way round.
    const QRect outer = rect().adjusted(0, 0, -1, -1);
    const QRect inner = outer.adjusted(1, 1, -1, -1);
    const auto bevel
        = [&painter](const QRect &r, const QColor &topLeft, const QColor &bottomRight) {
              painter.setPen(topLeft);
              painter.drawLine(r.topLeft(), r.topRight());
              painter.drawLine(r.topLeft(), r.bottomLeft());
              painter.setPen(bottomRight);
              painter.drawLine(r.bottomLeft(), r.bottomRight());
              painter.drawLine(r.topRight(), r.bottomRight());
          };
    bevel(outer, light, dark);
    bevel(inner, dark, light);
}

void NotePanel::mousePressEvent(QMouseEvent *event)
{
    Q_EMIT mousePressed(event->button(), event->position().toPoint());
}

void NotePanel::mouseMoveEvent(QMouseEvent *event)
{
    Q_EMIT mouseMoved(event->position().toPoint());
}

void NotePanel::mouseReleaseEvent(QMouseEvent *event)
{
    Q_EMIT mouseReleased(event->button());
}

NoteTitle::NoteTitle(QWidget *parent)
    : QLabel(parent)
{
    // A title read from a file is text, never markup.
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setAutoFillBackground(true);
    setContextMenuPolicy(Qt::CustomContextMenu);
}

void NoteTitle::setColorRef(qint32 ref)
{
    m_colorRef = ref;
    setBackground(*this, ui::colorFromRef(ref));
}

void NoteTitle::setFontDesc(const storage::FontDesc &font)
{
    m_font = font;
    setFont(ui::fontFromDesc(font));
    QPalette p = palette();
    for (const QPalette::ColorGroup group :
         {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(group, QPalette::WindowText, ui::colorFromRef(font.color));
    setPalette(p);
}

void NoteTitle::mousePressEvent(QMouseEvent *event)
{
    Q_EMIT mousePressed(event->button());
}

void NoteTitle::mouseMoveEvent(QMouseEvent *)
{
    Q_EMIT mouseMoved();
}

void NoteTitle::mouseReleaseEvent(QMouseEvent *event)
{
    Q_EMIT mouseReleased(event->button());
}

void NoteTitle::mouseDoubleClickEvent(QMouseEvent *)
{
    Q_EMIT doubleClicked();
}

} // namespace note
