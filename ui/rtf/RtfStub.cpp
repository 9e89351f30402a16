// Temporary stand-in until the real reader and writer land.
#include "ui/rtf/Rtf.h"

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
    document->setPlainText(QString::fromLatin1(bytes));
    return true;
}

QByteArray write(const QTextDocument &document)
{
    return "{\\rtf1\\ansi " + document.toPlainText().toLatin1() + "}";
}

} // namespace rtf
