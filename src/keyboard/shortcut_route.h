#pragma once

#include <QString>

// Where system-wide keys come from: key grabs on the X server, or the desktop's global shortcuts
// portal (a Wayland desktop, where one program cannot claim keys for the whole desktop).
enum class ShortcutRoute { KeyGrabs, Portal };

// The settings file's own choice, [Scribo] Shortcuts=auto|x11|portal; anything else is auto.
enum class ShortcutChoice { Auto, KeyGrabs, Portal };
inline const QString kShortcutsSection = QStringLiteral("Scribo");
inline const QString kShortcutsKey = QStringLiteral("Shortcuts");
ShortcutChoice parseShortcutChoice(const QString& value);

// What the process knows of its desktop.
struct DesktopSession {
    QString qtPlatform;           // QGuiApplication::platformName()
    QString sessionType;          // XDG_SESSION_TYPE
    bool waylandDisplay = false;  // WAYLAND_DISPLAY is set
    bool x11Display = false;      // Scribo has a connection to an X server
};

// Grabs in an X11 session; the portal on Wayland, where grabs through XWayland fire only while
// an X program has the focus, and wherever there is no X server.
ShortcutRoute chooseShortcutRoute(ShortcutChoice choice, const DesktopSession& session);
