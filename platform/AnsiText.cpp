#include "platform/AnsiText.h"

#include <QStringDecoder>

#include <array>
#include <optional>

namespace platform {
namespace {

// 0x80..0x9F of Windows-1252. The five unassigned bytes map to the C1
// controls of the same value, as Windows itself converts them, so every byte
// survives a round trip.
constexpr std::array<char16_t, 32> kHighControls
    = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
       0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
       0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The Windows-1252 byte of a character, or -1 when it has none.
int windows1252Byte(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == c)
            return int(0x80 + i);
    }
    return -1;
}

bool hasHighByte(const QByteArray &bytes)
{
    for (char b : bytes) {
        if (static_cast<unsigned char>(b) > 0x7F)
            return true;
    }
    return false;
}

QByteArray toWindows1252(const QString &text)
{
    // Written in place: appending byte by byte costs more than the mapping.
    QByteArray out(text.size(), Qt::Uninitialized);
    char *next = out.data();
    for (QChar c : text)
        *next++ = char(windows1252Byte(c.unicode()));
    return out;
}

// Cuts UTF-8 to at most maxBytes without splitting a sequence.
QByteArray cutUtf8(const QByteArray &utf8, int maxBytes)
{
    int end = maxBytes;
    while (end > 0 && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80)
        --end;
    return utf8.left(end);
}

// The length of the bytes without an unfinished UTF-8 sequence at their end.
qsizetype withoutUnfinishedUtf8(const QByteArray &bytes)
{
    for (qsizetype back = 1; back <= 4 && back <= bytes.size(); ++back) {
        const auto b = static_cast<unsigned char>(bytes[bytes.size() - back]);
        if ((b & 0xC0) == 0x80)
            continue; // a continuation byte: the lead is further back
        const int needed = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
        return needed > back ? bytes.size() - back : bytes.size();
    }
    return bytes.size();
}

std::optional<QString> strictUtf8(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return std::nullopt;
    return text;
}

} // namespace

bool fitsWindows1252(const QString &text)
{
    for (QChar c : text) {
        if (windows1252Byte(c.unicode()) < 0)
            return false;
    }
    return true;
}

QByteArray encodeAnsi(const QString &text)
{
    return fitsWindows1252(text) ? toWindows1252(text) : text.toUtf8();
}

QByteArray encodeAnsiLimited(const QString &text, int maxBytes)
{
    if (maxBytes <= 0)
        return {};
    if (fitsWindows1252(text))
        return toWindows1252(text.left(maxBytes));
    const QByteArray utf8 = text.toUtf8();
    if (utf8.size() <= maxBytes)
        return utf8;
    // The characters that did not fit may have been the only ones outside
    // Windows-1252; then the shorter single-byte form is the right one.
    return encodeAnsi(QString::fromUtf8(cutUtf8(utf8, maxBytes)));
}

QString decodeAnsi(const QByteArray &bytes)
{
    if (!hasHighByte(bytes))
        return decodeWindows1252(bytes);
    if (std::optional<QString> text = strictUtf8(bytes))
        return *text;
    // A file cut inside its last character (a full disk, a crash) is still
    // UTF-8 when the rest holds characters of several bytes; read as
    // Windows-1252, every one of them would come out garbled.
    const qsizetype whole = withoutUnfinishedUtf8(bytes);
    if (whole < bytes.size()) {
        const std::optional<QString> text = strictUtf8(QByteArrayView(bytes).first(whole));
        if (text && text->size() < whole)
            return *text;
    }
    return decodeWindows1252(bytes);
}

QString decodeWindows1252(const QByteArray &bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *next = text.data();
    for (char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        *next++ = QChar(u >= 0x80 && u < 0xA0 ? kHighControls[u - 0x80] : char16_t(u));
    }
    return text;
}

} // namespace platform
