#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class QTextDocument;

// A note body exported to or imported from the formats other programs read:
// Rich Text Format (as the note keeps it), plain text and HTML.
namespace ui {

enum class BodyFormat { Rtf, PlainText, Html };

// By the file name's extension (.rtf or .jtl2, .txt, .html or .htm, any letter case).
std::optional<BodyFormat> bodyFormatOf(const QString &path);

// Replaces the document with the bytes read in the format. Error when RTF
// bytes are not Rich Text Format; the document is then unchanged.
void readBodyAs(QTextDocument &document, const QByteArray &bytes, BodyFormat format,
                const QString &baseFolder = QString());

// The document in the format. HTML carries its pictures inside itself.
QByteArray writeBodyAs(const QTextDocument &document, BodyFormat format);

// Converts a body file into another format, chosen by each name's
// extension. The output is written whole or not at all. Errors (naming the
// file at fault) leave no output file behind.
void convertBodyFile(const QString &inputPath, const QString &outputPath);

} // namespace ui
