#include "note/ScreenFit.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <limits>

namespace note {
namespace {

// How far apart two rectangles are: the squared gap between them, 0 when
// they touch or overlap.
qint64 squaredGap(const QRect &a, const QRect &b)
{
    const qint64 dx
        = std::max<qint64>({0, qint64(b.left()) - a.right(), qint64(a.left()) - b.right()});
    const qint64 dy
        = std::max<qint64>({0, qint64(b.top()) - a.bottom(), qint64(a.top()) - b.bottom()});
    return dx * dx + dy * dy;
}

int clampEdge(int edge, int size, int areaStart, int areaSize)
{
    // The start of the area wins over its end when the window is larger.
    return std::max(areaStart, std::min(edge, areaStart + areaSize - size));
}

} // namespace

QSize primaryScreenSize()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(0, 0);
}

QList<ScreenArea> desktopScreens()
{
    QList<ScreenArea> areas;
    for (const QScreen *screen : QGuiApplication::screens())
        areas.append({screen->geometry(), screen->availableGeometry()});
    return areas;
}

QPoint keepOnScreen(const QRect &window, const QList<ScreenArea> &screens)
{
    const ScreenArea *nearest = nullptr;
    qint64 nearestGap = std::numeric_limits<qint64>::max();
    for (const ScreenArea &screen : screens) {
        if (screen.geometry.intersects(window))
            return window.topLeft();
        const qint64 gap = squaredGap(window, screen.geometry);
        if (gap < nearestGap) {
            nearestGap = gap;
            nearest = &screen;
        }
    }
    if (!nearest)
        return window.topLeft();
    const QRect &area = nearest->available.isValid() ? nearest->available : nearest->geometry;
    return {clampEdge(window.left(), window.width(), area.left(), area.width()),
            clampEdge(window.top(), window.height(), area.top(), area.height())};
}

} // namespace note
