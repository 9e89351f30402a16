#pragma once

#include <QByteArray>

class QTextDocument;

// The note body's Rich Text Format reader and writer, working on QTextDocument.
namespace rtf {

// True when the bytes start like an RTF document ("{\rtf").
bool looksLikeRtf(const QByteArray &bytes);

// Replaces the document's content with the RTF. Returns false, leaving the
// document untouched, when the bytes are not RTF. Never throws or hangs on
// malformed input; a truncated document loads what it holds.
bool read(const QByteArray &bytes, QTextDocument *document);

// The document as RTF in the shape the Windows rich-edit control writes.
QByteArray write(const QTextDocument &document);

} // namespace rtf
