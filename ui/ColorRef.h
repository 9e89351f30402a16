#pragma once

#include <QColor>
#include <QtGlobal>

// Colours travel through the program as signed 32-bit values: 0x00BBGGRR, or
// a system-colour constant 0xFF0000nn naming one of the desktop's standard
// colours. These are the only conversions to and from QColor.
namespace ui {

// The colour of a stored value. A system-colour constant gives the classic
// desktop scheme's colour; an unknown constant gives black.
QColor colorFromRef(qint32 ref);

// The stored value of a colour, always of the 0x00BBGGRR kind (alpha dropped).
qint32 colorToRef(const QColor &color);

} // namespace ui
