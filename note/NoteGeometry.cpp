#include "note/NoteGeometry.h"

namespace notegeometry {
namespace {

constexpr int kGripBand = 5; // a press within 5 pixels of the edge resizes
constexpr int kRandomMargin = 30; // a random edge keeps 30 pixels off the far screen edge
constexpr int kMinDragWidth = 10;
constexpr int kMinDragHeightOverTitle = 5;

} // namespace

int drawBelow(int bound, const RandomDraw &draw)
{
    return bound > 0 ? draw(bound) : 0;
}

QPoint placeNewNote(int position, QSize screen, QSize note, const RandomDraw &draw)
{
    const int sw = screen.width();
    const int sh = screen.height();
    const int w = note.width();
    const int h = note.height();
    const auto randomLeft = [&] {
        return drawBelow(sw - w - kRandomMargin, draw);
    };
    const auto randomTop = [&] {
        return drawBelow(sh - h - kRandomMargin, draw);
    };

    // Left before top: the order of the draws is part of the rule.
    switch (position) {
    case ScreenCenter: {
        const int left = (sw - w) / 2;
        return {left, (sh - h) / 2};
    }
    case LeftBorder:
        return {1, randomTop()};
    case RightBorder:
        return {sw - w - 1, randomTop()};
    case TopBorder:
        return {randomLeft(), 1};
    case ScreenBottom: {
        const int left = randomLeft();
        return {left, sh - h - 1};
    }
    default: {
        const int left = randomLeft();
        return {left, randomTop()};
    }
    }
}

Grip gripAt(QPoint pos, QSize window)
{
    return {pos.x() > window.width() - kGripBand, pos.y() > window.height() - kGripBand};
}

Qt::CursorShape gripCursor(QPoint pos, QSize window)
{
    const Grip grip = gripAt(pos, window);
    if (grip.width && grip.height)
        return Qt::SizeFDiagCursor;
    if (grip.width)
        return Qt::SizeHorCursor;
    if (grip.height)
        return Qt::SizeVerCursor;
    return Qt::ArrowCursor;
}

std::optional<int> draggedWidth(int pointerX, int originLeft)
{
    const int width = pointerX - originLeft;
    return width > kMinDragWidth ? std::optional<int>(width) : std::nullopt;
}

std::optional<int> draggedHeight(int pointerY, int originTop, int titleHeight)
{
    const int height = pointerY - originTop;
    return height > titleHeight + kMinDragHeightOverTitle ? std::optional<int>(height)
                                                          : std::nullopt;
}

RollUp toggleRollUp(QSize window, QSize restore)
{
    if (window.height() == kRolledUpSide) {
        if (restore.width() == 0 && restore.height() == 0)
            return {window, restore};
        return {restore, restore};
    }
    // Stored as 16-bit values in the note file.
    const QSize remembered(window.width() & 0xFFFF, window.height() & 0xFFFF);
    return {QSize(kRolledUpSide, kRolledUpSide), remembered};
}

} // namespace notegeometry
