#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTextCharFormat>

class QTextDocument;

// The note body as plain lines and as a file, independent of any widget.
namespace ui {

// One entry per line, without formatting: a paragraph's soft line breaks
// start new lines, pictures leave no trace, a list item starts with its
// marker and a table row is one line of tab-separated cells. An empty body
// has no lines.
QStringList plainLines(const QTextDocument &document);

// Replaces the whole body with the lines as unformatted paragraphs.
void setPlainLines(QTextDocument &document, const QStringList &lines);

// Plain text as lines: CR LF, LF and CR all end a line, a final line end
// adds no empty line, and a byte-order mark is not text.
QStringList splitPlainText(const QString &text);

// Replaces the body with the bytes read as Rich Text Format, or as plain
// lines in the program's text encoding when they are not rich text. Read
// text takes no property of its own that `implicit` gives with that value.
void loadBody(QTextDocument &document, const QByteArray &bytes,
              const QTextCharFormat &implicit = QTextCharFormat());

// The lines loadBody would give the bytes, without building a document.
QStringList bodyLines(const QByteArray &bytes);

// A body file's bytes. EInOutError "File not found" when it is missing;
// EInOutError naming the file when it is larger than the limit for bodies
// (512 MB), a symbolic link or no regular file (none of these is read), or
// the system's reason when it cannot be read.
QByteArray readBodyFile(const QString &path);

} // namespace ui
