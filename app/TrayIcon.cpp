#include "app/TrayIcon.h"

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMenu>
#include <QScreen>
#include <QToolButton>
#include <QWidget>

#include <functional>

namespace app {
namespace {

constexpr int kIconSize = 32;
constexpr int kCornerMargin = 8;

// A right click opens the menu, as it does on a tray icon.
class IconButton : public QToolButton
{
public:
    std::function<void(const QPoint &)> onContextMenu;

protected:
    void contextMenuEvent(QContextMenuEvent *event) override
    {
        if (onContextMenu)
            onContextMenu(event->globalPos());
        event->accept();
    }
};

} // namespace

TrayIcon::TrayIcon(QMenu *menu, bool systemTray, QObject *parent)
    : QObject(parent)
    , m_menu(menu)
{
    if (systemTray)
        createSystemTray();
    else
        createFallbackWindow();
}

void TrayIcon::createSystemTray()
{
    m_tray = new QSystemTrayIcon(this);
    m_tray->setContextMenu(m_menu);
    connect(m_tray, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (const std::optional<Qt::MouseButton> button = buttonOf(reason))
                    Q_EMIT clicked(*button);
            });
}

void TrayIcon::followSystemTray(bool available)
{
    if (available == usesSystemTray())
        return;
    if (available) {
        // Later: this may run from a click on the window's own button.
        m_window->hide();
        m_window->deleteLater();
        m_window = nullptr;
        m_button = nullptr;
        createSystemTray();
    } else {
        m_tray->hide();
        m_tray->deleteLater();
        m_tray = nullptr;
        createFallbackWindow();
    }
    setIcon(m_icon);
    setHint(m_hint);
    setActive(m_active);
}

TrayIcon::~TrayIcon()
{
    delete m_window;
}

std::optional<Qt::MouseButton> TrayIcon::buttonOf(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger:
    case QSystemTrayIcon::DoubleClick:
        return Qt::LeftButton;
    case QSystemTrayIcon::Context:
        return Qt::RightButton;
    case QSystemTrayIcon::MiddleClick:
        return Qt::MiddleButton;
    case QSystemTrayIcon::Unknown:
        break;
    }
    return std::nullopt;
}

void TrayIcon::createFallbackWindow()
{
    m_window = new QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    m_window->setAttribute(Qt::WA_ShowWithoutActivating);
    m_window->setObjectName(QStringLiteral("TrayStandIn"));

    auto *button = new IconButton;
    button->setAutoRaise(true);
    button->setIconSize(QSize(kIconSize, kIconSize));
    // The arrow opens the menu; the icon itself acts as a left click.
    button->setPopupMode(QToolButton::MenuButtonPopup);
    button->setMenu(m_menu);
    button->onContextMenu = [this](const QPoint &at) {
        m_menu->popup(at);
        Q_EMIT clicked(Qt::RightButton);
    };
    connect(button, &QToolButton::clicked, this, [this] { Q_EMIT clicked(Qt::LeftButton); });
    m_button = button;

    auto *layout = new QHBoxLayout(m_window);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(button);
}

void TrayIcon::placeFallbackWindow()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    m_window->adjustSize();
    const QRect area = screen->availableGeometry();
    m_window->move(area.right() - m_window->width() - kCornerMargin,
                   area.bottom() - m_window->height() - kCornerMargin);
}

void TrayIcon::setIcon(const QIcon &icon)
{
    m_icon = icon;
    if (m_tray)
        m_tray->setIcon(icon);
    if (m_button) {
        m_button->setIcon(icon);
        m_window->setWindowIcon(icon);
    }
}

void TrayIcon::setHint(const QString &hint)
{
    m_hint = hint;
    if (m_tray)
        m_tray->setToolTip(hint);
    if (m_window) {
        m_window->setWindowTitle(hint);
        m_button->setToolTip(hint);
    }
}

void TrayIcon::setActive(bool active)
{
    m_active = active;
    if (m_tray)
        m_tray->setVisible(active);
    if (m_window) {
        if (active)
            placeFallbackWindow();
        m_window->setVisible(active);
    }
}

} // namespace app
