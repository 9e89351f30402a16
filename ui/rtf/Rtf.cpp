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

bool read(const QByteArray &bytes, QTextDocument *document, const QTextCharFormat &implicit)
{
    if (!looksLikeRtf(bytes))
        return false;
    // Loading replaces the body; there is nothing to undo back to.
    const bool undo = document->isUndoRedoEnabled();
    document->setUndoRedoEnabled(false);
    document->clear();
    {
        DocumentBuilder builder(document);
        Reader(bytes, builder, implicit).run();
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

QByteArray write(const QTextDocument &document, const QTextCharFormat &defaults)
{
    return Writer(document, defaults).run();
}

void fillDefaults(QTextCharFormat &format, const QTextCharFormat &defaults)
{
    const QMap<int, QVariant> properties = defaults.properties();
    for (auto it = properties.cbegin(); it != properties.cend(); ++it) {
        if (format.hasProperty(it.key()))
            continue;
        // The face is kept under two property ids depending on who set it.
        if (it.key() == QTextFormat::FontFamilies && format.hasProperty(QTextFormat::FontFamily))
            continue;
        format.setProperty(it.key(), it.value());
    }
}

void dropDefaults(QTextCharFormat &format, const QTextCharFormat &defaults)
{
    const QMap<int, QVariant> properties = defaults.properties();
    for (auto it = properties.cbegin(); it != properties.cend(); ++it) {
        if (format.hasProperty(it.key()) && format.property(it.key()) == it.value())
            format.clearProperty(it.key());
    }
    const QStringList families = defaults.fontFamilies().toStringList();
    if (!families.isEmpty() && format.hasProperty(QTextFormat::FontFamily)
        && format.property(QTextFormat::FontFamily).toString() == families.first())
        format.clearProperty(QTextFormat::FontFamily);
}

} // namespace rtf
