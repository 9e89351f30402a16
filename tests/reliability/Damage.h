#pragma once

#include <QByteArray>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// The ways the damaged-input tests spoil a good file: cut short at every
// offset, one byte changed at every offset, and random bytes.
namespace damage {

inline QByteArray flipped(const QByteArray &bytes, int offset, unsigned char mask)
{
    QByteArray copy = bytes;
    copy[offset] = char(quint8(copy[offset]) ^ mask);
    return copy;
}

// One way to change a byte: flip the bits of a mask, or put another byte there.
struct Change
{
    bool replace;
    unsigned char byte;
    QByteArray applied(const QByteArray &bytes, int offset) const
    {
        if (!replace)
            return flipped(bytes, offset, byte);
        QByteArray copy = bytes;
        copy[offset] = char(byte);
        return copy;
    }
};

// Single bits low and high, every bit, and the bytes that mean most to a
// text format (line end, NUL, brackets, '=', quotes, RTF's braces and escape).
inline const std::vector<Change> &everyChange()
{
    static const std::vector<Change> changes = {
        {false, 0x01}, {false, 0x20}, {false, 0x80}, {false, 0xFF}, {true, '\n'},
        {true, '\0'},  {true, '['},   {true, ']'},   {true, '='},   {true, '"'},
        {true, '{'},   {true, '}'},   {true, '\\'},
    };
    return changes;
}

// For readers too slow to run many thousand times: every bit flipped, a
// line end and a section bracket.
inline const std::vector<Change> &coreChanges()
{
    static const std::vector<Change> changes = {{false, 0xFF}, {true, '\n'}, {true, '['}};
    return changes;
}

// Calls check with every prefix of the bytes (the whole excluded).
inline void forEachCut(const QByteArray &bytes,
                       const std::function<void(const QByteArray &, int cut)> &check)
{
    for (int cut = 0; cut < bytes.size(); ++cut)
        check(bytes.left(cut), cut);
}

// Calls check with every one-byte change of the bytes, and what was changed.
inline void
forEachChangedByte(const QByteArray &bytes,
                   const std::function<void(const QByteArray &, const QString &)> &check,
                   const std::vector<Change> &changes = everyChange())
{
    for (int offset = 0; offset < bytes.size(); ++offset) {
        for (const Change &change : changes) {
            check(change.applied(bytes, offset),
                  QStringLiteral("byte %1 %2 0x%3")
                      .arg(offset)
                      .arg(QLatin1String(change.replace ? "=" : "^"))
                      .arg(change.byte, 0, 16));
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
