#pragma once

#include <QPoint>
#include <QSize>
#include <Qt>

#include <functional>
#include <optional>

// The geometry rules of a note window, free of any widget so they can be
// checked exactly: where a new note goes, how the frame grip resizes, and the
// roll-up toggle.
namespace notegeometry {

// Draws an integer r with 0 <= r < bound; asked only for bound > 0.
using RandomDraw = std::function<int(int bound)>;

// R(n): a draw below n, or 0 when n <= 0 (a note nearly as large as the screen).
int drawBelow(int bound, const RandomDraw &draw);

// The placement codes of the "position" setting; anything else counts as Casual.
enum Placement { Casual = 1, ScreenCenter, LeftBorder, RightBorder, TopBorder, ScreenBottom };

// Left and top edge of a new note of the given size on a screen of the given size.
// The left edge is drawn before the top edge.
QPoint placeNewNote(int position, QSize screen, QSize note, const RandomDraw &draw);

// The grip along the right and bottom frame: which edges a press at pos
// (window coordinates) takes hold of, and the cursor shown there.
struct Grip
{
    bool width = false;
    bool height = false;
};
Grip gripAt(QPoint pos, QSize window);
Qt::CursorShape gripCursor(QPoint pos, QSize window);

// Sizes reached by dragging the grip to the pointer's screen position; a size
// at or below its limit is refused (nothing), keeping the last accepted one.
std::optional<int> draggedWidth(int pointerX, int originLeft);
std::optional<int> draggedHeight(int pointerY, int originTop, int titleHeight);

inline constexpr int kRolledUpSide = 20;

struct RollUp
{
    QSize window; // the size to take now
    QSize restore; // the size to come back to later
};
// A height of exactly 20 means rolled up, whatever the width. Unrolling to a
// stored size of 0 x 0 (never rolled up) keeps the current size.
RollUp toggleRollUp(QSize window, QSize restore);

} // namespace notegeometry
