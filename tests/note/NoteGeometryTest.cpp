#include "note/NoteGeometry.h"

#include <gtest/gtest.h>

#include <vector>

using namespace notegeometry;

namespace {

// Hands out scripted draws and records the bounds asked for.
struct ScriptedDraw
{
    std::vector<int> values;
    std::vector<int> bounds;
    RandomDraw fn()
    {
        return [this](int bound) {
            bounds.push_back(bound);
            const int v = values.empty() ? 0 : values.front();
            if (!values.empty())
                values.erase(values.begin());
            return v;
        };
    }
};

} // namespace

TEST(Placement, CasualDrawsLeftThenTopKeepingThirtyPixelsOff)
{
    ScriptedDraw d {{100, 50}, {}};
    EXPECT_EQ(placeNewNote(Casual, {1024, 768}, {135, 80}, d.fn()), QPoint(100, 50));
    EXPECT_EQ(d.bounds, (std::vector<int> {1024 - 135 - 30, 768 - 80 - 30}));
}

TEST(Placement, UnknownCodesActAsCasual)
{
    for (int code : {0, 7, -1, -3}) {
        ScriptedDraw d {{3, 4}, {}};
        EXPECT_EQ(placeNewNote(code, {1024, 768}, {135, 80}, d.fn()), QPoint(3, 4)) << code;
        EXPECT_EQ(d.bounds.size(), 2u);
    }
}

TEST(Placement, CenterTruncatesTowardZero)
{
    ScriptedDraw d;
    EXPECT_EQ(placeNewNote(ScreenCenter, {1289 + 135, 768}, {135, 80}, d.fn()).x(), 644);
    // A note wider than the screen: -5 div 2 is -2, not -3.
    EXPECT_EQ(placeNewNote(ScreenCenter, {130, 768}, {135, 80}, d.fn()).x(), -2);
    EXPECT_TRUE(d.bounds.empty());
}

TEST(Placement, BordersKeepOnePixelOff)
{
    ScriptedDraw d {{7, 7, 7, 7}, {}};
    EXPECT_EQ(placeNewNote(LeftBorder, {1024, 768}, {135, 80}, d.fn()), QPoint(1, 7));
    EXPECT_EQ(placeNewNote(RightBorder, {1024, 768}, {135, 80}, d.fn()), QPoint(888, 7));
    EXPECT_EQ(placeNewNote(TopBorder, {1024, 768}, {135, 80}, d.fn()), QPoint(7, 1));
    EXPECT_EQ(placeNewNote(ScreenBottom, {1024, 768}, {135, 80}, d.fn()), QPoint(7, 687));
}

TEST(Placement, NoteNearlyAsLargeAsTheScreenDrawsNothing)
{
    ScriptedDraw d {{99}, {}};
    EXPECT_EQ(placeNewNote(Casual, {150, 100}, {135, 80}, d.fn()), QPoint(0, 0));
    EXPECT_TRUE(d.bounds.empty());
}

TEST(Grip, PressMustBeStrictlyInsideTheFivePixelBand)
{
    const QSize note(135, 80);
    EXPECT_FALSE(gripAt({130, 10}, note).width);
    EXPECT_TRUE(gripAt({131, 10}, note).width);
    const Grip corner = gripAt({131, 76}, note);
    EXPECT_TRUE(corner.width && corner.height);
    const Grip leftTop = gripAt({0, 0}, note);
    EXPECT_FALSE(leftTop.width || leftTop.height);
    EXPECT_EQ(gripCursor({131, 76}, note), Qt::SizeFDiagCursor);
    EXPECT_EQ(gripCursor({131, 10}, note), Qt::SizeHorCursor);
    EXPECT_EQ(gripCursor({10, 76}, note), Qt::SizeVerCursor);
    EXPECT_EQ(gripCursor({10, 10}, note), Qt::ArrowCursor);
}

TEST(Grip, DraggedSizesBelowTheLimitsAreRefused)
{
    EXPECT_EQ(draggedWidth(110, 100), std::nullopt);
    EXPECT_EQ(draggedWidth(111, 100), 11);
    EXPECT_EQ(draggedWidth(50, 100), std::nullopt); // dragged past the left edge
    EXPECT_EQ(draggedHeight(120, 100, 15), std::nullopt); // 20 is never reached by dragging
    EXPECT_EQ(draggedHeight(121, 100, 15), 21);
}

TEST(RollUp, DoubleToggleComesBack)
{
    const RollUp up = toggleRollUp({135, 80}, {0, 0});
    EXPECT_EQ(up.window, QSize(20, 20));
    EXPECT_EQ(up.restore, QSize(135, 80));
    const RollUp down = toggleRollUp(up.window, up.restore);
    EXPECT_EQ(down.window, QSize(135, 80));
}

TEST(RollUp, HeightTwentyAloneMeansRolledUp)
{
    EXPECT_EQ(toggleRollUp({300, 20}, {150, 90}).window, QSize(150, 90));
    // Never rolled up: the stored 0 x 0 would make the note unusable.
    EXPECT_EQ(toggleRollUp({300, 20}, {0, 0}).window, QSize(300, 20));
}
