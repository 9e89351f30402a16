#pragma once

#include <QByteArrayView>
#include <QString>

#include <memory>
#include <unordered_map>

class QStringDecoder;

namespace rtf {

constexpr int kWindows1252 = 1252;
constexpr int kUtf8CodePage = 65001;
// Not a Windows code page: the Symbol font's own byte meanings.
constexpr int kSymbolCodePage = 42;

// The code page of a \fcharsetN; 0 when the charset means "the document's".
int codePageOfCharset(int charset);

// A code page as written in \ansicpgN or \cpgN, made usable: UTF-8 also
// arrives as its signed 16-bit form, and nonsense falls back to Windows-1252.
int normalizedCodePage(int codePage);

// Decodes \'xx bytes. A block is decoded whole, so double-byte code pages
// get both bytes of a character together.
class CodePageDecoder
{
public:
    CodePageDecoder();
    ~CodePageDecoder();
    CodePageDecoder(const CodePageDecoder &) = delete;
    CodePageDecoder &operator=(const CodePageDecoder &) = delete;

    QString decode(int codePage, QByteArrayView bytes);

private:
    QStringDecoder *decoderFor(int codePage);

    std::unordered_map<int, std::unique_ptr<QStringDecoder>> m_decoders;
};

// The Windows-1252 byte of a UTF-16 unit, or -1 when it has none.
int windows1252Byte(char16_t unit);

} // namespace rtf
