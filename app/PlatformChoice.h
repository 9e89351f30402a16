#pragma once

#include <QByteArray>

// Wayland lets no client place its own windows, yet notes reopen where the
// user left them; so under Wayland the program asks for X11 (XWayland).
namespace app {

// The QT_QPA_PLATFORM to set before the application object exists, or an
// empty array to leave the choice as it is. The user's own choice wins.
QByteArray preferredQpaPlatform(const QByteArray &userChoice, const QByteArray &waylandDisplay,
                                const QByteArray &sessionType);

// Applies preferredQpaPlatform to this process's environment.
void choosePlatformBeforeStart();

} // namespace app
