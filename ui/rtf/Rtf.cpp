#include "ui/rtf/Rtf.h"

#include "ui/rtf/RtfDocumentBuilder.h"
#include "ui/rtf/RtfPlainText.h"
#include "ui/rtf/RtfReader.h"
#include "ui/rtf/RtfWriter.h"

#include <QTextDocument>

namespace rtf {

bool looksLikeRtf(const QByteArray &bytes)
{
    return bytes.startsWith("{\\rtf");
}

bool read(const QByteArray &bytes, QTextDocument *document)
{
    if (!looksLikeRtf(bytes))
        return false;
    // Loading replaces the body; there is nothing to undo back to.
    const bool undo = document->isUndoRedoEnabled();
    document->setUndoRedoEnabled(false);
    document->clear();
    {
        DocumentBuilder builder(document);
        Reader(bytes, builder).run();
    }
    document->setUndoRedoEnabled(undo);
    return true;
}

std::optional<QStringList> readPlainLines(const QByteArray &bytes)
{
    if (!looksLikeRtf(bytes))
        return std::nullopt;
    PlainTextSink sink;
    Reader(bytes, sink).run();
    return sink.takeLines();
}

QByteArray write(const QTextDocument &document)
{
    return Writer(document).run();
}

} // namespace rtf
