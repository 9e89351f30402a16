#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

// Keeps a note reachable when the monitor it was on is gone.
namespace note {

struct ScreenArea
{
    QRect geometry; // the whole screen
    QRect available; // without panels and docks
};

// The size of the primary screen in logical pixels; 0 x 0 without screens.
QSize primaryScreenSize();

// The screens of the running desktop.
QList<ScreenArea> desktopScreens();

// Where a window with the given geometry is to be shown: where it is when it
// overlaps any screen, else moved into the available area of the nearest
// screen (its top-left corner first when it is larger than that area).
// Without screens the window stays where it is.
QPoint keepOnScreen(const QRect &window, const QList<ScreenArea> &screens);

} // namespace note
