#include "ui/rtf/RtfPicture.h"

#include "ui/rtf/RtfMetafile.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace rtf {
namespace {

constexpr double kPlaceholderSide = 64.0;
constexpr double kHundredthMmPerPixel = 2540.0 / 96.0;

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

QImage readImage(const QByteArray &bytes, const char *format, PixelBudget &budget)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (!size.isValid() || !budget.take(qint64(size.width()) * size.height()))
        return {};
    return reader.read();
}

// A device-dependent bitmap: rows of raw pixels, top row first.
QImage readDeviceBitmap(const PictureData &picture, PixelBudget &budget)
{
    const int width = picture.width;
    const int height = picture.height;
    QImage::Format format = QImage::Format_Invalid;
    switch (picture.bitsPerPixel) {
    case 1:
        format = QImage::Format_Mono;
        break;
    case 24:
        format = QImage::Format_BGR888;
        break;
    case 32:
        format = QImage::Format_RGB32;
        break;
    default:
        return {};
    }
    if (width <= 0 || height <= 0 || !budget.take(qint64(width) * height))
        return {};
    const qint64 rowBits = qint64(width) * picture.bitsPerPixel;
    const qint64 minRowBytes = (rowBits + 7) / 8;
    const qint64 rowBytes
        = picture.widthBytes >= minRowBytes ? picture.widthBytes : (rowBits + 15) / 16 * 2;
    if (rowBytes * height > picture.data.size())
        return {};
    QImage image(width, height, format);
    if (image.isNull())
        return {};
    if (format == QImage::Format_Mono)
        image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    for (int y = 0; y < height; ++y)
        std::memcpy(image.scanLine(y), picture.data.constData() + rowBytes * y,
                    size_t(minRowBytes));
    return image;
}

QImage decodeImage(const PictureData &picture, PixelBudget &budget)
{
    switch (picture.kind) {
    case PictureData::Kind::Png:
        return readImage(picture.data, "png", budget);
    case PictureData::Kind::Jpeg:
        return readImage(picture.data, "jpeg", budget);
    case PictureData::Kind::Dib:
        return readImage(picture.data, "dib", budget);
    case PictureData::Kind::Metafile: {
        const QByteArray dib = dibFromMetafile(picture.data);
        return dib.isEmpty() ? QImage() : readImage(dib, "dib", budget);
    }
    case PictureData::Kind::DeviceBitmap:
        return readDeviceBitmap(picture, budget);
    default:
        return {};
    }
}

double shownLength(int goal, int declared, int natural, int scale, bool metafile)
{
    double length = kPlaceholderSide;
    if (goal > 0)
        length = goal / kTwipsPerPixel;
    else if (natural > 0)
        length = natural;
    else if (declared > 0)
        length = metafile ? declared / kHundredthMmPerPixel : declared;
    if (scale > 0)
        length = length * scale / 100.0;
    // Whole pixels: a size in twips then comes back exactly.
    return std::clamp(std::round(length), 1.0, kMaxShownPixels);
}

} // namespace

void PictureData::appendHex(std::string_view text)
{
    for (char c : text) {
        const int value = hexValue(c);
        if (value < 0)
            continue; // blanks and stray characters between the digits
        if (m_pendingNibble < 0) {
            m_pendingNibble = value;
        } else {
            data.append(char(m_pendingNibble * 16 + value));
            m_pendingNibble = -1;
        }
    }
}

void PictureData::appendBinary(std::string_view bytes)
{
    data.append(bytes.data(), qsizetype(bytes.size()));
}

bool PixelBudget::take(qint64 pixels)
{
    if (pixels <= 0 || pixels > kPerImage || m_used + pixels > kPerDocument)
        return false;
    m_used += pixels;
    return true;
}

DecodedPicture decodePicture(const PictureData &picture, PixelBudget &budget)
{
    DecodedPicture result;
    result.image = decodeImage(picture, budget);
    const bool metafile
        = picture.kind == PictureData::Kind::Metafile || picture.kind == PictureData::Kind::Other;
    const int naturalWidth = result.image.isNull() ? 0 : result.image.width();
    const int naturalHeight = result.image.isNull() ? 0 : result.image.height();
    result.shownSize = QSizeF(
        shownLength(picture.goalWidth, picture.width, naturalWidth, picture.scaleX, metafile),
        shownLength(picture.goalHeight, picture.height, naturalHeight, picture.scaleY, metafile));
    return result;
}

QImage placeholderImage()
{
    const int side = int(kPlaceholderSide);
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(224, 224, 224));
    QPainter painter(&image);
    painter.setPen(QPen(QColor(128, 128, 128), 2));
    painter.drawRect(1, 1, side - 2, side - 2);
    painter.drawLine(8, 8, side - 8, side - 8);
    painter.drawLine(side - 8, 8, 8, side - 8);
    return image;
}

} // namespace rtf
