#include "ui/QuietShow.h"

#include <QWidget>

namespace ui {

void showWithoutActivating(QWidget *window)
{
    const bool wasQuiet = window->testAttribute(Qt::WA_ShowWithoutActivating);
    window->setAttribute(Qt::WA_ShowWithoutActivating);
    window->show();
    window->setAttribute(Qt::WA_ShowWithoutActivating, wasQuiet);
}

} // namespace ui
