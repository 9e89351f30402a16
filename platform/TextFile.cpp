#include "platform/TextFile.h"

#include "platform/AnsiText.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

namespace platform {
namespace {

std::optional<DecodedText> decodeStrictly(QStringDecoder::Encoding from, QByteArrayView bytes,
                                          TextEncoding encoding)
{
    QStringDecoder decoder(from, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError() || !text.isValidUtf16())
        return std::nullopt;
    return DecodedText {std::move(text), encoding};
}

std::optional<DecodedText> decodeUtf16(QStringDecoder::Encoding from, QByteArrayView bytes,
                                       TextEncoding encoding)
{
    if (bytes.size() % 2)
        return std::nullopt;
    return decodeStrictly(from, bytes, encoding);
}

// Control bytes other than NUL, tab and line ends: a binary file, not text.
bool hasControlBytes(const QByteArray &bytes)
{
    return std::any_of(bytes.begin(), bytes.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return (u < 0x20 && u != 0 && u != '\t' && u != '\n' && u != '\r') || u == 0x7F;
    });
}

} // namespace

std::optional<DecodedText> decodeTextFile(const QByteArray &bytes, NulBytes nulBytes)
{
    const QByteArrayView view(bytes);
    if (view.startsWith("\xFF\xFE"))
        return decodeUtf16(QStringDecoder::Utf16LE, view.sliced(2), TextEncoding::Utf16LE);
    if (view.startsWith("\xFE\xFF"))
        return decodeUtf16(QStringDecoder::Utf16BE, view.sliced(2), TextEncoding::Utf16BE);
    if (view.startsWith("\xEF\xBB\xBF"))
        return decodeStrictly(QStringDecoder::Utf8, view.sliced(3), TextEncoding::Utf8Bom);
    if (bytes.contains('\0') && (nulBytes == NulBytes::NotText || hasControlBytes(bytes)))
        return std::nullopt;
    QString text = decodeAnsi(bytes);
    // Only a UTF-8 reading with multi-byte characters gives fewer characters than bytes.
    const bool utf8 = text.size() != bytes.size();
    return DecodedText {std::move(text), utf8 ? TextEncoding::Utf8 : TextEncoding::Ansi};
}

QStringList textLines(const QString &text)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.last().isEmpty())
        lines.removeLast();
    for (QString &line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    return lines;
}

QByteArray encodeTextFile(const QString &text, TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Ansi:
        return encodeAnsi(text);
    case TextEncoding::Utf8:
        return text.toUtf8();
    case TextEncoding::Utf8Bom:
        return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE: {
        QStringEncoder encoder(encoding == TextEncoding::Utf16LE ? QStringEncoder::Utf16LE
                                                                 : QStringEncoder::Utf16BE,
                               QStringEncoder::Flag::WriteBom);
        return encoder.encode(text);
    }
    }
    return encodeAnsi(text);
}

} // namespace platform
