#pragma once

class QWidget;

namespace ui {

// Shows a window without taking the keyboard focus from the one the user
// is working in.
void showWithoutActivating(QWidget *window);

} // namespace ui
