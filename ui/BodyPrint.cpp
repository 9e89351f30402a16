#include "ui/BodyPrint.h"

#include "platform/Errors.h"

#include <QAbstractTextDocumentLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextDocument>

namespace ui {

void printDocument(QTextDocument &document, QPagedPaintDevice &device)
{
    QPainter painter;
    if (!painter.begin(&device))
        throw EInOutError(QStringLiteral("The printer is not available"));
    // Measure in the device's own resolution, over the whole printable area.
    document.documentLayout()->setPaintDevice(&device);
    const QRectF printable = device.pageLayout().paintRectPixels(device.logicalDpiX());
    document.setDocumentMargin(0);
    document.setPageSize(printable.size());
    const qreal pageHeight = document.pageSize().height();
    const int pages = document.pageCount();
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            device.newPage();
        painter.save();
        const QRectF area(0, page * pageHeight, printable.width(), pageHeight);
        painter.translate(0, -area.top());
        painter.setClipRect(area);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = area;
        document.documentLayout()->draw(&painter, context);
        painter.restore();
    }
    painter.end();
}

} // namespace ui
