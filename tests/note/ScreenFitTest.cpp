#include "note/ScreenFit.h"

#include <gtest/gtest.h>

using note::keepOnScreen;
using note::ScreenArea;

namespace {

// A wide monitor with a panel at its bottom, and a smaller one to its right.
const QList<ScreenArea> kTwoScreens {
    {QRect(0, 0, 1920, 1080), QRect(0, 0, 1920, 1040)},
    {QRect(1920, 0, 1280, 1024), QRect(1920, 0, 1280, 1024)},
};

} // namespace

TEST(KeepOnScreen, AWindowOverlappingAnyScreenStays)
{
    EXPECT_EQ(keepOnScreen(QRect(1900, 500, 200, 100), kTwoScreens), QPoint(1900, 500));
    EXPECT_EQ(keepOnScreen(QRect(-150, -50, 200, 100), kTwoScreens), QPoint(-150, -50));
    EXPECT_EQ(keepOnScreen(QRect(3199, 1023, 200, 100), kTwoScreens), QPoint(3199, 1023));
}

TEST(KeepOnScreen, AWindowOffEveryScreenMovesIntoTheNearest)
{
    // Right of the second monitor: its right edge.
    EXPECT_EQ(keepOnScreen(QRect(5000, 300, 200, 100), kTwoScreens), QPoint(3000, 300));
    // Below the first: above its panel.
    EXPECT_EQ(keepOnScreen(QRect(100, 1500, 200, 100), kTwoScreens), QPoint(100, 940));
    // Far up and left: the first monitor's corner.
    EXPECT_EQ(keepOnScreen(QRect(-900, -900, 200, 100), kTwoScreens), QPoint(0, 0));
    // Just off the right edge, touching nothing: one pixel away.
    EXPECT_EQ(keepOnScreen(QRect(3200, 10, 50, 50), kTwoScreens), QPoint(3150, 10));
}

TEST(KeepOnScreen, AWindowLargerThanTheScreenShowsItsTopLeftCorner)
{
    EXPECT_EQ(keepOnScreen(QRect(-5000, 2000, 4000, 3000), kTwoScreens), QPoint(0, 0));
}

TEST(KeepOnScreen, WithoutScreensNothingMoves)
{
    EXPECT_EQ(keepOnScreen(QRect(-5000, 2000, 40, 30), {}), QPoint(-5000, 2000));
}
