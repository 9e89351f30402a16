#pragma once

class QWidget;

namespace note {

// Asks the window manager to leave a top-level window off the taskbar and
// the pager. Call it before the window is mapped (from showEvent): the hint
// is set on the unmapped window, where the toolkit keeps it when it maps the
// window. Does nothing outside X11.
void keepOffTaskbarAndPager(QWidget &window);

} // namespace note
