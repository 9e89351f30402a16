#include "ui/ColorRef.h"

#include <array>

namespace ui {
namespace {

constexpr quint32 kSystemColorFlag = 0xFF000000u;

// The classic scheme's system colours, by index, as 0xRRGGBB.
constexpr std::array<QRgb, 31> kSystemColors = {
    0xD4D0C8, // scroll bar
    0x3A6EA5, // desktop
    0x0A246A, // active caption
    0x808080, // inactive caption
    0xD4D0C8, // menu
    0xFFFFFF, // window
    0x000000, // window frame
    0x000000, // menu text
    0x000000, // window text
    0xFFFFFF, // caption text
    0xD4D0C8, // active border
    0xD4D0C8, // inactive border
    0x808080, // application workspace
    0x0A246A, // highlight
    0xFFFFFF, // highlight text
    0xD4D0C8, // button face
    0x808080, // button shadow
    0x808080, // grey text
    0x000000, // button text
    0xD4D0C8, // inactive caption text
    0xFFFFFF, // button highlight
    0x404040, // 3-D dark shadow
    0xD4D0C8, // 3-D light
    0x000000, // tooltip text
    0xFFFFE1, // tooltip background
    0xB5B5B5, // (alternate button face)
    0x0000C8, // hot-tracked item
    0xA6CAF0, // active caption gradient
    0xC0C0C0, // inactive caption gradient
    0x0A246A, // menu highlight
    0xD4D0C8, // menu bar
};

} // namespace

QColor colorFromRef(qint32 ref)
{
    const auto value = static_cast<quint32>(ref);
    if ((value & 0xFF000000u) == kSystemColorFlag) {
        const quint32 index = value & 0x00FFFFFFu;
        return index < kSystemColors.size() ? QColor(kSystemColors[index]) : QColor(Qt::black);
    }
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

qint32 colorToRef(const QColor &color)
{
    const QRgb rgb = color.rgb();
    return qint32(quint32(qRed(rgb)) | (quint32(qGreen(rgb)) << 8) | (quint32(qBlue(rgb)) << 16));
}

} // namespace ui
