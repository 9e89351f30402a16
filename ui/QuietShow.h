#pragma once

class QWidget;

namespace ui {

// Shows a window without taking the keyboard focus from the one the user
// is working in.
void showWithoutActivating(QWidget *window);

// Into or out of the always-on-top band, without hiding, moving, showing
// or activating the window.
void setStaysOnTop(QWidget *window, bool onTop);

} // namespace ui
