#pragma once

#include <QByteArray>
#include <QString>

// The program's stand-in for the Windows ANSI code page: text is stored as
// Windows-1252 when every character fits, otherwise as UTF-8, and read back
// by looking at the bytes. Files written on Windows (1252) and files holding
// any other script (UTF-8) both come through without garbage.
namespace platform {

// True when every character of the text has a Windows-1252 byte.
bool fitsWindows1252(const QString &text);

QByteArray encodeAnsi(const QString &text);

// Like encodeAnsi, but at most maxBytes bytes, cut at a character boundary
// (never inside a UTF-8 sequence or a surrogate pair).
QByteArray encodeAnsiLimited(const QString &text, int maxBytes);

// UTF-8 when the bytes are valid UTF-8 holding a byte above 0x7F, or would be
// but for an unfinished last character (left out then), else Windows-1252.
QString decodeAnsi(const QByteArray &bytes);

QString decodeWindows1252(const QByteArray &bytes);

} // namespace platform
