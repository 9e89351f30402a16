#pragma once

#include <QString>
#include <QtGlobal>

namespace storage {

// A font as the program stores and passes it around: what a note file keeps
// of a font, and nothing more (no character set, no pixel height).
struct FontDesc
{
    QString name;
    int size = 0; // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    // 0x00BBGGRR, or a system-colour constant 0xFF0000nn
    qint32 color = 0;

    friend bool operator==(const FontDesc &a, const FontDesc &b)
    {
        return a.name == b.name && a.size == b.size && a.bold == b.bold && a.italic == b.italic
            && a.underline == b.underline && a.strikeOut == b.strikeOut && a.color == b.color;
    }
    friend bool operator!=(const FontDesc &a, const FontDesc &b) { return !(a == b); }
};

} // namespace storage
