#include "settings/SamplePanel.h"

#include "ui/CharFormats.h"
#include "ui/ColorRef.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace settings {
namespace {

// Any stored size is kept, but only a sane one is drawn.
constexpr int kLargestSampleSize = 200;

} // namespace

SamplePanel::SamplePanel(const QString &objectName, QWidget *parent)
    : QFrame(parent)
{
    setObjectName(objectName);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setMinimumHeight(24);
}

void SamplePanel::setColorRef(qint32 color)
{
    m_color = color;
    update();
}

void SamplePanel::setFontDesc(const storage::FontDesc &font)
{
    m_font = font;
    update();
}

void SamplePanel::setCaption(const QString &caption)
{
    m_caption = caption;
    update();
}

void SamplePanel::paintEvent(QPaintEvent *event)
{
    {
        QPainter painter(this);
        const QRect area = contentsRect();
        painter.fillRect(area, ui::colorFromRef(m_color));
        if (!m_caption.isEmpty()) {
            storage::FontDesc shown = m_font;
            shown.size = qBound(1, shown.size, kLargestSampleSize);
            painter.setFont(ui::fontFromDesc(shown));
            painter.setPen(ui::colorFromRef(m_font.color));
            painter.setClipRect(area);
            painter.drawText(area, Qt::AlignCenter, m_caption);
        }
        if (hasFocus()) {
            QStyleOptionFocusRect focus;
            focus.initFrom(this);
            focus.rect = area.adjusted(2, 2, -2, -2);
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
        }
    }
    QFrame::paintEvent(event);
}

void SamplePanel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
    QFrame::mouseReleaseEvent(event);
}

void SamplePanel::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return
        || event->key() == Qt::Key_Enter) {
        Q_EMIT clicked();
        return;
    }
    QFrame::keyPressEvent(event);
}

} // namespace settings
