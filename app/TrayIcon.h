#pragma once

#include <QIcon>
#include <QObject>
#include <QSystemTrayIcon>

#include <optional>

class QMenu;
class QToolButton;
class QWidget;

namespace app {

// The program's icon in the notification area, with its menu and its hint.
// Where the desktop has no notification area (plain GNOME, offscreen) the
// same icon, menu and clicks live in a small window in the screen's corner.
class TrayIcon : public QObject
{
    Q_OBJECT
public:
    // The menu is not owned. systemTray: whether the desktop offers one
    // (QSystemTrayIcon::isSystemTrayAvailable()).
    TrayIcon(QMenu *menu, bool systemTray, QObject *parent = nullptr);
    ~TrayIcon() override;

    bool usesSystemTray() const { return m_tray != nullptr; }
    // Moves into the notification area when one has come (a panel started
    // after the program, at log-in, brings its tray late), or back into the
    // stand-in window when it went (the panel ended or crashed), keeping the
    // icon, hint and state.
    void followSystemTray(bool available);
    // The window standing in for the notification area, or none.
    QWidget *fallbackWindow() const { return m_window; }

    void setIcon(const QIcon &icon);
    QIcon icon() const { return m_icon; }
    void setHint(const QString &hint);
    QString hint() const { return m_hint; }

    // Shown in the notification area (or the stand-in window shown).
    void setActive(bool active);
    bool isActive() const { return m_active; }

    // The button a tray activation stands for: Trigger and DoubleClick are
    // left clicks (a double click is the second of two), Context a right
    // click after the menu opened, MiddleClick the middle button.
    static std::optional<Qt::MouseButton> buttonOf(QSystemTrayIcon::ActivationReason reason);

Q_SIGNALS:
    // One release of a mouse button over the icon.
    void clicked(Qt::MouseButton button);

private:
    void createSystemTray();
    void createFallbackWindow();
    void placeFallbackWindow();

    QMenu *m_menu;
    QSystemTrayIcon *m_tray = nullptr;
    QWidget *m_window = nullptr;
    QToolButton *m_button = nullptr;
    QIcon m_icon;
    QString m_hint;
    bool m_active = false;
};

} // namespace app
