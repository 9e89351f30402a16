#include "settings/FormPlacement.h"

#include "settings/Ini.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <optional>

namespace settings {
namespace {

const QString kNormPos = QStringLiteral("NormPos");

// Show states as the placement saver writes them.
constexpr int kShowNormal = 1;
constexpr int kShowMinimized = 2;
constexpr int kShowMaximized = 3;

QString fourNumbers(int a, int b, int c, int d)
{
    return QStringLiteral("%1,%2,%3,%4").arg(a).arg(b).arg(c).arg(d);
}

// "left,top,right,bottom" as a rectangle; nullopt for anything else.
std::optional<QRect> parseRect(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        return std::nullopt;
    int numbers[4] = {};
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        numbers[i] = parts[i].trimmed().toInt(&ok, 10);
        if (!ok)
            return std::nullopt;
    }
    if (numbers[2] <= numbers[0] || numbers[3] <= numbers[1])
        return std::nullopt;
    return QRect(QPoint(numbers[0], numbers[1]), QPoint(numbers[2] - 1, numbers[3] - 1));
}

int showCommand(const QWidget &form)
{
    if (form.isMinimized())
        return kShowMinimized;
    if (form.isMaximized())
        return kShowMaximized;
    return kShowNormal;
}

QScreen *screenHolding(const QRect &frame)
{
    for (QScreen *screen : QGuiApplication::screens()) {
        if (screen->availableGeometry().intersects(frame))
            return screen;
    }
    return nullptr;
}

// The frame's top-left corner moved just enough to keep it inside the area.
QPoint keptInside(const QRect &frame, const QRect &area)
{
    const int x = qMax(area.left(), qMin(frame.left(), area.right() + 1 - frame.width()));
    const int y = qMax(area.top(), qMin(frame.top(), area.bottom() + 1 - frame.height()));
    return {x, y};
}

// The borders of the window manager's frame: as it draws them now, or, while
// it has not told them yet (X11, before the window is mapped), as they were
// when `savedFrame` was saved around a window of this size.
QMargins frameMargins(const QWidget &form, const QRect &savedFrame)
{
    const QRect outside = form.frameGeometry();
    const QRect inside = form.geometry();
    if (outside != inside) {
        return {inside.left() - outside.left(), inside.top() - outside.top(),
                outside.right() - inside.right(), outside.bottom() - inside.bottom()};
    }
    const int side = qMax(0, (savedFrame.width() - inside.width()) / 2);
    return {side, qMax(0, savedFrame.height() - inside.height() - side), side, side};
}

// The frame's corner at topLeft, by placing the window inside it: a move of
// a window being shown is taken for the inside on one platform and for the
// frame on another, and the dialog crept up by its title bar at every
// opening.
void placeFrame(QWidget &form, const QPoint &topLeft, const QMargins &margins)
{
    form.setGeometry(QRect(topLeft + QPoint(margins.left(), margins.top()), form.size()));
}

} // namespace

FormPlacement::FormPlacement(QString iniFile, QString section)
    : m_file(std::move(iniFile))
    , m_section(std::move(section))
{
}

void FormPlacement::restore(QWidget &form) const
{
    const IniFile ini(m_file);
    const std::optional<QRect> saved = parseRect(ini.readString(m_section, kNormPos, {}));
    const QMargins margins = frameMargins(form, saved.value_or(form.geometry()));
    const QSize size = form.size().grownBy(margins);
    if (saved) {
        const QRect frame(saved->topLeft(), size);
        if (QScreen *screen = screenHolding(frame)) {
            placeFrame(form, keptInside(frame, screen->availableGeometry()), margins);
            return;
        }
    }
    if (const QScreen *primary = QGuiApplication::primaryScreen()) {
        const QRect area = primary->availableGeometry();
        placeFrame(form, area.center() - QPoint(size.width() / 2, size.height() / 2), margins);
    }
}

void FormPlacement::save(const QWidget &form) const
{
    const QRect frame = form.frameGeometry();
    IniFile ini(m_file);
    const QString values[][2] = {
        {QStringLiteral("Flags"), QStringLiteral("0")},
        {QStringLiteral("ShowCmd"), QString::number(showCommand(form))},
        {QStringLiteral("PixelsPerInch"), QString::number(form.logicalDpiY())},
        {QStringLiteral("MinMaxPos"), fourNumbers(-1, -1, -1, -1)},
        {kNormPos,
         fourNumbers(frame.left(), frame.top(), frame.left() + frame.width(),
                     frame.top() + frame.height())},
        {QStringLiteral("Visible"), form.isVisible() ? QStringLiteral("1") : QStringLiteral("0")},
        {QStringLiteral("FormVersion"), QStringLiteral("0")},
    };
    for (const auto &value : values) {
        if (!ini.writeString(m_section, value[0], value[1]))
            return;
    }
}

} // namespace settings
