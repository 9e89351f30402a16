#pragma once

#include <QByteArray>
#include <QStringList>
#include <QTextFormat>

#include <optional>

class QTextDocument;

// The note body's Rich Text Format reader and writer, working on QTextDocument.
namespace rtf {

// True when the bytes start like an RTF document ("{\rtf").
bool looksLikeRtf(const QByteArray &bytes);

// Replaces the document's content with the RTF. Returns false, leaving the
// document untouched, when the bytes are not RTF. Never throws or hangs on
// malformed input; a truncated document loads what it holds.
bool read(const QByteArray &bytes, QTextDocument *document);

// The text the document read() would build, as its plain lines (see
// ui/BodyText.h), without building it; nullopt when the bytes are not RTF.
std::optional<QStringList> readPlainLines(const QByteArray &bytes);

// The document as RTF in the shape the Windows rich-edit control writes.
QByteArray write(const QTextDocument &document);

// A picture the reader could not decode shows a placeholder; its image format
// keeps the original {\pict ...} group under this property (a QByteArray),
// and write() puts those bytes back unchanged.
inline constexpr int kOriginalPictureProperty = QTextFormat::UserProperty + 0x5254;

} // namespace rtf
