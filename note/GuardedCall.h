#pragma once

#include "platform/Errors.h"

#include <QString>

#include <exception>
#include <functional>
#include <utility>

class QWidget;

// No exception may cross the Qt event loop: every event handler runs its body
// through guardedCall, which shows an error's message to the user and lets
// the program carry on.
namespace note {

// Shows an error message; by default in a message box over `parent`.
using ErrorReporter = std::function<void(QWidget *parent, const QString &message)>;

// Replaces the reporter (tests collect the messages); an empty one restores
// the message box.
void setErrorReporter(ErrorReporter reporter);
void reportError(QWidget *parent, const QString &message);

// Runs body; an error it raises is reported. True when body ran through.
template<typename Body> bool guardedCall(QWidget *parent, Body &&body) noexcept
{
    try {
        std::forward<Body>(body)();
        return true;
    } catch (const Error &e) {
        reportError(parent, e.message());
    } catch (const std::exception &e) {
        reportError(parent, QString::fromLocal8Bit(e.what()));
    }
    return false;
}

} // namespace note
