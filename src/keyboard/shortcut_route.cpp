#include "keyboard/shortcut_route.h"

ShortcutChoice parseShortcutChoice(const QString& value) {
    const QString v = value.trimmed().toLower();
    if (v == QLatin1String("x11")) return ShortcutChoice::KeyGrabs;
    if (v == QLatin1String("portal")) return ShortcutChoice::Portal;
    return ShortcutChoice::Auto;
}

ShortcutRoute chooseShortcutRoute(ShortcutChoice choice, const DesktopSession& session) {
    if (choice == ShortcutChoice::KeyGrabs) return ShortcutRoute::KeyGrabs;
    if (choice == ShortcutChoice::Portal) return ShortcutRoute::Portal;
    if (session.qtPlatform.startsWith(QLatin1String("wayland")) || !session.x11Display)
        return ShortcutRoute::Portal;
    const QString type = session.sessionType.toLower();
    if (type == QLatin1String("wayland")) return ShortcutRoute::Portal;
    if (type == QLatin1String("x11")) return ShortcutRoute::KeyGrabs;
    return session.waylandDisplay ? ShortcutRoute::Portal : ShortcutRoute::KeyGrabs;
}
