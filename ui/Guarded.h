#pragma once

#include "platform/Errors.h"
#include "ui/Dialogs.h"

#include <exception>
#include <utility>

class QWidget;

namespace ui {

// Runs an event handler's body. An exception never crosses Qt's event loop:
// its message is shown in a message box and the program goes on.
// Returns false when the body raised.
template<typename Body> bool runGuarded(QWidget *parent, Body &&body)
{
    try {
        std::forward<Body>(body)();
        return true;
    } catch (const Error &error) {
        dialogs::showError(parent, error.message());
    } catch (const std::exception &error) {
        dialogs::showError(parent, QString::fromLocal8Bit(error.what()));
    }
    return false;
}

} // namespace ui
