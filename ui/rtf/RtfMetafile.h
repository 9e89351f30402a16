#pragma once

#include <QByteArray>

namespace rtf {

// The device-independent bitmap that a Windows metafile draws, as rich-edit
// stores pasted bitmaps. Empty when the metafile holds none (vector drawings).
QByteArray dibFromMetafile(const QByteArray &metafile);

} // namespace rtf
