#pragma once

#include "storage/FontDesc.h"

#include <QColor>
#include <QFont>
#include <QTextCharFormat>

class QTextDocument;

// The body's default character format (its font, colour and highlight) and
// how text that has no format of its own is told apart from formatted text.
namespace ui {

QFont fontFromDesc(const storage::FontDesc &desc);
storage::FontDesc descFromFont(const QFont &font, const QColor &color);

// Every property of the font as an explicit character property; with a valid
// highlight also the character background.
QTextCharFormat charFormatFromDesc(const storage::FontDesc &desc,
                                   const QColor &highlight = QColor());

// Gives every character each property of `defaults` that it has none of its
// own of. A copy for saving or printing carries the body's look this way, so
// other programs show the text as the note does.
void applyDefaults(QTextDocument &document, const QTextCharFormat &defaults);

} // namespace ui
