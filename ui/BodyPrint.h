#pragma once

class QPagedPaintDevice;
class QTextDocument;

namespace ui {

// Lays the document out on the device's printable area and paints it page by
// page, breaking only between lines. The document's layout is changed: pass
// a copy. EInOutError when the device cannot be painted on.
void printDocument(QTextDocument &document, QPagedPaintDevice &device);

} // namespace ui
