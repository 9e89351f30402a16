#include "ui/QuietShow.h"

#include <QWidget>
#include <QWindow>

namespace ui {

void showWithoutActivating(QWidget *window)
{
    const bool wasQuiet = window->testAttribute(Qt::WA_ShowWithoutActivating);
    window->setAttribute(Qt::WA_ShowWithoutActivating);
    window->show();
    window->setAttribute(Qt::WA_ShowWithoutActivating, wasQuiet);
}

void setStaysOnTop(QWidget *window, bool onTop)
{
    // setWindowFlags would hide and re-create the window: the created window
    // gets the hint directly, and the widget's flags are kept in step for a
    // window not yet created.
    Qt::WindowFlags flags = window->windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, onTop);
    window->overrideWindowFlags(flags);
    if (QWindow *handle = window->windowHandle())
        handle->setFlag(Qt::WindowStaysOnTopHint, onTop);
}

} // namespace ui
