#pragma once

#include <QByteArray>
#include <QStringList>
#include <QTextCharFormat>

#include <optional>

class QTextDocument;

// The note body's Rich Text Format reader and writer, working on QTextDocument.
namespace rtf {

// True when the bytes start like an RTF document ("{\rtf").
bool looksLikeRtf(const QByteArray &bytes);

// Replaces the document's content with the RTF. Returns false, leaving the
// document untouched, when the bytes are not RTF. Never throws or hangs on
// malformed input; a truncated document loads what it holds. Text takes no
// property of its own that `implicit` gives it with the same value.
bool read(const QByteArray &bytes, QTextDocument *document,
          const QTextCharFormat &implicit = QTextCharFormat());

// The text the document read() would build, as its plain lines (see
// ui/BodyText.h), without building it; nullopt when the bytes are not RTF.
std::optional<QStringList> readPlainLines(const QByteArray &bytes);

// The document as RTF in the shape the Windows rich-edit control writes;
// every character that lacks a property of `defaults` is written with it.
QByteArray write(const QTextDocument &document,
                 const QTextCharFormat &defaults = QTextCharFormat());

// Gives the format each property of `defaults` it has none of its own of.
void fillDefaults(QTextCharFormat &format, const QTextCharFormat &defaults);
// Takes every property the format holds with the value `defaults` has.
void dropDefaults(QTextCharFormat &format, const QTextCharFormat &defaults);

// A picture the reader could not decode shows a placeholder; its image format
// keeps the original {\pict ...} group under this property (a QByteArray),
// and write() puts those bytes back unchanged.
inline constexpr int kOriginalPictureProperty = QTextFormat::UserProperty + 0x5254;
// A picture that an embedded {\object ...} showed keeps the object's group
// (a QByteArray) here; write() puts the object back whole, data and all.
inline constexpr int kOriginalObjectProperty = QTextFormat::UserProperty + 0x5255;
// The shown size (a QSizeF) that a kept group gives: when the picture has
// been resized since, write() puts the new size into the group.
inline constexpr int kOriginalShownSizeProperty = QTextFormat::UserProperty + 0x5256;

} // namespace rtf
