#include "ui/rtf/RtfCodePages.h"

#include "platform/AnsiText.h"

#include <QStringDecoder>

#include <array>

namespace rtf {
namespace {

struct CharsetCodePage
{
    int charset;
    int codePage;
};

constexpr std::array<CharsetCodePage, 19> kCharsets = {{
    {0, kWindows1252}, {2, kSymbolCodePage}, {77, 10000}, {128, 932},  {129, 949},
    {130, 1361},       {134, 936},           {136, 950},  {161, 1253}, {162, 1254},
    {163, 1258},       {177, 1255},          {178, 1256}, {186, 1257}, {204, 1251},
    {222, 874},        {238, 1250},          {254, 437},  {255, 850},
}};

const char *decoderName(int codePage)
{
    switch (codePage) {
    case 874:
        return "windows-874";
    case 932:
        return "windows-932";
    case 936:
        return "windows-936";
    case 949:
        return "windows-949";
    case 950:
        return "windows-950";
    case 1250:
        return "windows-1250";
    case 1251:
        return "windows-1251";
    case 1253:
        return "windows-1253";
    case 1254:
        return "windows-1254";
    case 1255:
        return "windows-1255";
    case 1256:
        return "windows-1256";
    case 1257:
        return "windows-1257";
    case 1258:
        return "windows-1258";
    case 10000:
        return "macintosh";
    case 437:
        return "IBM437";
    case 850:
        return "IBM850";
    default:
        return nullptr;
    }
}

QString decodeSymbol(QByteArrayView bytes)
{
    // Only the bullet matters in practice: rich-edit lists write it so.
    QString text = platform::decodeWindows1252(bytes.toByteArray());
    text.replace(QChar(0xB7), QChar(0x2022));
    return text;
}

} // namespace

int codePageOfCharset(int charset)
{
    for (const CharsetCodePage &entry : kCharsets) {
        if (entry.charset == charset)
            return entry.codePage;
    }
    return 0;
}

int normalizedCodePage(int codePage)
{
    if (codePage == kUtf8CodePage || codePage == kUtf8CodePage - 65536)
        return kUtf8CodePage;
    if (codePage == kSymbolCodePage || decoderName(codePage))
        return codePage;
    return kWindows1252;
}

CodePageDecoder::CodePageDecoder() = default;
CodePageDecoder::~CodePageDecoder() = default;

QString CodePageDecoder::decode(int codePage, QByteArrayView bytes)
{
    if (codePage == kUtf8CodePage)
        return QString::fromUtf8(bytes);
    if (codePage == kSymbolCodePage)
        return decodeSymbol(bytes);
    if (QStringDecoder *decoder = decoderFor(codePage))
        return decoder->decode(bytes);
    return platform::decodeWindows1252(bytes.toByteArray());
}

QStringDecoder *CodePageDecoder::decoderFor(int codePage)
{
    const auto found = m_decoders.find(codePage);
    if (found != m_decoders.end())
        return found->second.get();
    std::unique_ptr<QStringDecoder> decoder;
    if (const char *name = decoderName(codePage)) {
        // Stateless: a block cut inside a double-byte character must not
        // leak its half into the next block.
        decoder = std::make_unique<QStringDecoder>(name, QStringDecoder::Flag::Stateless);
        if (!decoder->isValid())
            decoder.reset();
    }
    return m_decoders.emplace(codePage, std::move(decoder)).first->second.get();
}

int windows1252Byte(char16_t unit)
{
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF))
        return unit;
    static const QString high = [] {
        QByteArray bytes;
        for (int b = 0x80; b < 0xA0; ++b)
            bytes.append(char(b));
        return platform::decodeWindows1252(bytes);
    }();
    const qsizetype index = high.indexOf(QChar(unit));
    return index < 0 ? -1 : int(0x80 + index);
}

} // namespace rtf
