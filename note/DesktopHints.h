#pragma once

#include <QPoint>

#include <optional>

class QWidget;

namespace note {

// Asks the window manager to leave a top-level window off the taskbar and
// the pager. Call it before the window is mapped (from showEvent): the hint
// is set on the unmapped window, where the toolkit keeps it when it maps the
// window. Does nothing outside X11.
void keepOffTaskbarAndPager(QWidget &window);

// Where a mapped top-level window really is on the screen, as the X server
// has it; nothing outside X11 or for a window not on screen. The toolkit's
// own idea can be wrong: when the window manager reparents a window as it
// maps it, Qt 6.4 may take the frame's place before the frame is moved
// (and then put the window there at its next resize).
std::optional<QPoint> placeOnScreen(const QWidget &window);

} // namespace note
