#include "ui/rtf/Rtf.h"

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
    Reader(bytes, document).run();
    document->setUndoRedoEnabled(undo);
    return true;
}

QByteArray write(const QTextDocument &document)
{
    return Writer(document).run();
}

} // namespace rtf
