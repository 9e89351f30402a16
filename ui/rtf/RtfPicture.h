#pragma once

#include <QByteArray>
#include <QImage>
#include <QSizeF>

#include <string_view>

namespace rtf {

// What a {\pict ...} group says about its picture, gathered while reading it.
struct PictureData
{
    enum class Kind { Unknown, Png, Jpeg, Dib, DeviceBitmap, Metafile, Other };
    Kind kind = Kind::Unknown;
    QByteArray typeWord; // "pngblip", "wmetafile8" ...: how the group named it
    int width = 0; // \picw: pixels, or 0.01 mm for metafiles
    int height = 0;
    int goalWidth = 0; // \picwgoal: twips
    int goalHeight = 0;
    int scaleX = 100; // percent
    int scaleY = 100;
    int bitsPerPixel = 1; // device-dependent bitmaps only
    int widthBytes = 0;
    QByteArray data;

    void appendHex(std::string_view text);
    void appendBinary(std::string_view bytes);

private:
    int m_pendingNibble = -1;
};

// Limits the pixels that one document may decode, so a small file cannot
// claim gigabytes of images.
class PixelBudget
{
public:
    static constexpr qint64 kPerImage = 24LL * 1024 * 1024;
    static constexpr qint64 kPerDocument = 64LL * 1024 * 1024;

    bool take(qint64 pixels);

private:
    qint64 m_used = 0;
};

struct DecodedPicture
{
    QImage image; // null when the data could not be shown
    QSizeF shownSize; // document pixels
};

DecodedPicture decodePicture(const PictureData &picture, PixelBudget &budget);

// What stands in for a picture that cannot be shown.
QImage placeholderImage();

constexpr double kTwipsPerPixel = 15.0; // at 96 dpi
inline int twips(double pixels)
{
    return qRound(pixels * kTwipsPerPixel);
}
constexpr double kMaxShownPixels = 16384.0;

} // namespace rtf
