#include "ui/ColorRef.h"

#include <gtest/gtest.h>

using ui::colorFromRef;
using ui::colorToRef;

TEST(ColorRef, ReadsBlueGreenRedFromLowToHighByte)
{
    EXPECT_EQ(colorFromRef(0x0000FFFF), QColor(255, 255, 0)); // yellow
    EXPECT_EQ(colorFromRef(0x00C0DCC0), QColor(0xC0, 0xDC, 0xC0));
    EXPECT_EQ(colorFromRef(0x00008000), QColor(0, 0x80, 0));
    EXPECT_EQ(colorFromRef(0x00FFFF00), QColor(0, 255, 255)); // cyan
}

TEST(ColorRef, WritesTheSameLayoutAndDropsAlpha)
{
    EXPECT_EQ(colorToRef(QColor(1, 2, 3)), 0x00030201);
    EXPECT_EQ(colorToRef(QColor(255, 0, 0, 10)), 0x000000FF);
    for (const qint32 ref : {0x00000000, 0x00FFFFFF, 0x0000FFFF, 0x00123456})
        EXPECT_EQ(colorToRef(colorFromRef(ref)), ref);
}

TEST(ColorRef, SystemColoursGiveTheClassicScheme)
{
    EXPECT_EQ(colorFromRef(qint32(0xFF000005)), QColor(Qt::white)); // window
    EXPECT_EQ(colorFromRef(qint32(0xFF000008)), QColor(Qt::black)); // window text
    EXPECT_EQ(colorFromRef(qint32(0xFF00000F)), QColor(0xD4, 0xD0, 0xC8)); // button face
    EXPECT_EQ(colorFromRef(qint32(0xFF0000FF)), QColor(Qt::black)); // unknown
}
