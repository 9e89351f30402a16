#pragma once

#include "ui/NoteText.h"

#include <QImage>
#include <QPoint>
#include <QString>

namespace uitest {

// Whether the RTF writer in this build keeps text and formats; tests of
// formatting persistence skip while it is a plain-text stand-in.
bool rtfKeepsText();
bool rtfKeepsFormats();
bool rtfKeepsPictures();

QImage solidImage(int width, int height, Qt::GlobalColor color);

// The body of a fresh note with its text.
void typeInto(ui::NoteText &text, const QString &typed);

// Selects [start, end) of the body.
void selectRange(ui::NoteText &text, int start, int end);

// A point of the viewport over the character at the position (the body
// must be shown and laid out).
QPoint pointOverCharacter(const ui::NoteText &text, int position);

} // namespace uitest
