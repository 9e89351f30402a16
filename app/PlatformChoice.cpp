#include "app/PlatformChoice.h"

#include <QtGlobal>

namespace app {

QByteArray preferredQpaPlatform(const QByteArray &userChoice, const QByteArray &waylandDisplay,
                                const QByteArray &sessionType)
{
    if (!userChoice.isEmpty())
        return {};
    if (waylandDisplay.isEmpty() && sessionType.toLower() != "wayland")
        return {};
    // Falls back to Wayland itself where no XWayland server runs, so the
    // program still starts (only without its own window placement).
    return QByteArrayLiteral("xcb;wayland");
}

void choosePlatformBeforeStart()
{
    const QByteArray platform = preferredQpaPlatform(
        qgetenv("QT_QPA_PLATFORM"), qgetenv("WAYLAND_DISPLAY"), qgetenv("XDG_SESSION_TYPE"));
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
}

} // namespace app
