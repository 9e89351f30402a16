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

// What NUL bytes in a file without a UTF-16 byte-order mark mean.
enum class NulBytes {
    NotText, // the file is no text at all
    // In text that is otherwise clean (no control characters but tab and
    // line ends), lines damaged in place, as a crash can leave runs of NULs:
    // they stay in the text as U+0000, for the reader to take as damage.
    // Beside other control characters they still mean no text.
    Damage,
};

// The text of a file's bytes; nullopt when they are not text at all: NUL
// bytes without a UTF-16 byte-order mark (but see NulBytes::Damage), or
// broken UTF-16 / BOM-marked UTF-8.
std::optional<DecodedText> decodeTextFile(const QByteArray &bytes,
                                          NulBytes nulBytes = NulBytes::NotText);

// The lines of a text: LF or CR LF ends a line, and a last line end adds no
// empty line.
QStringList textLines(const QString &text);

// Bytes for the text in the given encoding (with its byte-order mark).
QByteArray encodeTextFile(const QString &text, TextEncoding encoding);

} // namespace platform
