#pragma once

#include <QDBusArgument>
#include <QDBusConnection>
#include <QList>
#include <QObject>
#include <QString>
#include <QVariantMap>

// One shortcut as the portal takes and returns it: an id and its properties (description,
// preferred_trigger going in; trigger_description coming back), D-Bus type (sa{sv}).
struct PortalShortcut {
    QString id;
    QVariantMap properties;
};
Q_DECLARE_METATYPE(PortalShortcut)
QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut);
const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut);

namespace portal {
inline constexpr auto kService = "org.freedesktop.portal.Desktop";
inline constexpr auto kObjectPath = "/org/freedesktop/portal/desktop";
inline constexpr auto kShortcutsInterface = "org.freedesktop.portal.GlobalShortcuts";
inline constexpr auto kRequestInterface = "org.freedesktop.portal.Request";
}  // namespace portal

// The desktop's global shortcuts (Wayland desktops: KDE Plasma 6, GNOME 48 and later). Scribo
// asks for one session and binds its actions there, proposing its own keys; the desktop lets
// the user confirm or change them, and reports each press by the shortcut's id.
class PortalShortcuts : public QObject {
    Q_OBJECT
public:
    explicit PortalShortcuts(const QDBusConnection& bus, QObject* parent = nullptr);

    // Registers appId (the desktop entry's name) with the portal, opens the session and binds
    // the shortcuts; the outcome comes as bound() or unavailable(). Called once.
    void start(const QList<PortalShortcut>& shortcuts, const QString& appId);
    bool isBound() const { return step_ == Step::Bound; }

Q_SIGNALS:
    // The shortcuts as the desktop holds them now: "id: trigger", the trigger possibly empty.
    void bound(const QStringList& shortcuts);
    // No portal, or it refused: why, once.
    void unavailable(const QString& reason);
    void activated(const QString& id);

private Q_SLOTS:
    void onResponse(const QDBusMessage& signal);
    void onActivated(const QDBusMessage& signal);

private:
    enum class Step { Idle, Probing, OpeningSession, Binding, Bound, Failed };
    void openSession();
    void bind();
    // Calls a portal method that answers through a request object, listening on the request's
    // path before the call, as the portal asks of its callers.
    void callWithRequest(const QString& method, const QVariantList& arguments, QVariantMap options);
    void fail(const QString& reason);

    QDBusConnection bus_;
    Step step_ = Step::Idle;
    QList<PortalShortcut> shortcuts_;
    QString requestPath_;
    QString session_;
    int tokens_ = 0;
};
