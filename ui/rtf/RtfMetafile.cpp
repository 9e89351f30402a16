#include "ui/rtf/RtfMetafile.h"

#include <QtEndian>

namespace rtf {
namespace {

constexpr quint32 kPlaceableMagic = 0x9AC6CDD7;
constexpr int kPlaceableHeaderSize = 22;
constexpr int kStandardHeaderWords = 9;
constexpr int kRecordHeaderWords = 3;

quint16 word16(const QByteArray &data, qsizetype at)
{
    return qFromLittleEndian<quint16>(data.constData() + at);
}

quint32 word32(const QByteArray &data, qsizetype at)
{
    return qFromLittleEndian<quint32>(data.constData() + at);
}

// Where the bitmap starts inside a record of this function, or 0 when the
// record carries none.
int dibOffset(quint16 function, quint32 sizeInWords)
{
    switch (function) {
    case 0x0B41: // DIBSTRETCHBLT
        return sizeInWords == quint32(function >> 8) + kRecordHeaderWords ? 0 : 26;
    case 0x0940: // DIBBITBLT
        return sizeInWords == quint32(function >> 8) + kRecordHeaderWords ? 0 : 22;
    case 0x0F43: // STRETCHDIB
        return 28;
    case 0x0D33: // SETDIBTODEV
        return 24;
    default:
        return 0;
    }
}

} // namespace

QByteArray dibFromMetafile(const QByteArray &metafile)
{
    qsizetype pos = 0;
    if (metafile.size() >= kPlaceableHeaderSize && word32(metafile, 0) == kPlaceableMagic)
        pos = kPlaceableHeaderSize;
    if (metafile.size() - pos < kStandardHeaderWords * 2)
        return {};
    const quint16 headerWords = word16(metafile, pos + 2);
    pos += qMax<qsizetype>(headerWords, kStandardHeaderWords) * 2;
    // Every record is at least six bytes long, so the loop ends with the data.
    while (metafile.size() - pos >= kRecordHeaderWords * 2) {
        const quint32 words = word32(metafile, pos);
        const quint16 function = word16(metafile, pos + 4);
        if (function == 0 || words < kRecordHeaderWords)
            break;
        const qsizetype recordSize = qMin<qsizetype>(qsizetype(words) * 2, metafile.size() - pos);
        const int offset = dibOffset(function, words);
        if (offset > 0 && recordSize > offset)
            return metafile.mid(pos + offset, recordSize - offset);
        pos += recordSize;
    }
    return {};
}

} // namespace rtf
