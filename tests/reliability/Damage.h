#pragma once

#include <QByteArray>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>

#include <functional>

// The ways the damaged-input tests spoil a good file: cut short at every
// offset, one byte changed at every offset, and random bytes.
namespace damage {

// Byte changes tried at every offset: single bits low and high, every bit,
// and the bytes that mean most to a text format (line end, NUL, brackets).
inline QByteArray flipped(const QByteArray &bytes, int offset, unsigned char mask)
{
    QByteArray copy = bytes;
    copy[offset] = char(quint8(copy[offset]) ^ mask);
    return copy;
}
inline constexpr unsigned char kFlipMasks[] = {0x01, 0x20, 0x80, 0xFF};

inline QByteArray replaced(const QByteArray &bytes, int offset, char with)
{
    QByteArray copy = bytes;
    copy[offset] = with;
    return copy;
}
inline constexpr char kStructureBytes[] = {'\n', '\0', '[', ']', '=', '"', '{', '}', '\\'};

// Calls check for every damaged variant of bytes with a label saying what
// was done, for the failure message.
inline void forEachCut(const QByteArray &bytes,
                       const std::function<void(const QByteArray &, int cut)> &check)
{
    for (int cut = 0; cut < bytes.size(); ++cut)
        check(bytes.left(cut), cut);
}

inline void
forEachChangedByte(const QByteArray &bytes,
                   const std::function<void(const QByteArray &, const QString &)> &check)
{
    for (int offset = 0; offset < bytes.size(); ++offset) {
        for (const unsigned char mask : kFlipMasks) {
            check(flipped(bytes, offset, mask),
                  QStringLiteral("byte %1 ^ 0x%2").arg(offset).arg(mask, 0, 16));
        }
        for (const char with : kStructureBytes) {
            check(replaced(bytes, offset, with),
                  QStringLiteral("byte %1 = 0x%2").arg(offset).arg(int(with), 0, 16));
        }
    }
}

// count inputs of random length up to maxSize; a fixed seed, so a failure
// can be repeated.
inline void forEachRandom(int count, int maxSize,
                          const std::function<void(const QByteArray &, const QString &)> &check)
{
    QRandomGenerator random(20240309);
    for (int i = 0; i < count; ++i) {
        QByteArray bytes(int(random.bounded(maxSize + 1)), '\0');
        for (char &c : bytes)
            c = char(random.bounded(256));
        check(bytes, QStringLiteral("random input %1").arg(i));
    }
}

} // namespace damage
