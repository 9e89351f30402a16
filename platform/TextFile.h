#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace platform {

// How a text file's bytes were written, so a rewrite can keep it.
enum class TextEncoding {
    Ansi, // the program's text rule: Windows-1252, or UTF-8 where needed
    Utf8, // UTF-8 holding characters beyond ASCII, no byte-order mark
    Utf8Bom,
    Utf16LE, // with byte-order mark, as Windows tools save "Unicode"
    Utf16BE,
};

struct DecodedText
{
    QString text;
    TextEncoding encoding = TextEncoding::Ansi;
};

// The text of a file's bytes; nullopt when they are not text at all: NUL
// bytes without a UTF-16 byte-order mark, or broken UTF-16 / BOM-marked UTF-8.
std::optional<DecodedText> decodeTextFile(const QByteArray &bytes);

// The lines of a text: LF or CR LF ends a line, and a last line end adds no
// empty line.
QStringList textLines(const QString &text);

// Bytes for the text in the given encoding (with its byte-order mark).
QByteArray encodeTextFile(const QString &text, TextEncoding encoding);

} // namespace platform
