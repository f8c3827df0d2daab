#include "app/action_client.h"

#include <unistd.h>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>

#include "app/action_service.h"
#include "keyboard/shortcut_actions.h"

ActionCommandResult RunActionCommand(const QString& name, const QDBusConnection& bus,
                                     const QString& serviceName, int timeoutMs) {
    if (name == QLatin1String("list")) return {0, shortcutActionList(), {}};
    const ShortcutAction* action = findShortcutAction(name);
    if (!action)
        return {
            2,
            {},
            QStringLiteral("no action \"%1\"; 'scribo --cmd list' shows the actions").arg(name)};
    const QString notRunning =
        QStringLiteral("no Scribo is running, so %1 was not run").arg(QLatin1String(action->name));
    if (!bus.isConnected() || !bus.interface())
        return {1, {}, notRunning + QStringLiteral(" (there is no D-Bus session bus)")};
    QDBusConnectionInterface& daemon = *bus.interface();
    // Another user's Scribo on a shared bus is not ours to drive.
    const QDBusReply<uint> owner = daemon.serviceUid(serviceName);
    if (!daemon.isServiceRegistered(serviceName).value() ||
        (owner.isValid() && owner.value() != ::getuid()))
        return {1, {}, notRunning};

    const QDBusMessage call = QDBusMessage::createMethodCall(
        serviceName, QString::fromLatin1(actions::kObjectPath),
        QString::fromLatin1(actions::kInterface), QLatin1String(action->method));
    const QDBusMessage reply = bus.call(call, QDBus::Block, timeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage) return {0, {}, {}};
    const QString errorName = reply.errorName();
    if (errorName == QDBusError::errorString(QDBusError::ServiceUnknown) ||
        errorName == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner"))
        return {1, {}, notRunning};
    if (errorName == QDBusError::errorString(QDBusError::NoReply) ||
        errorName == QDBusError::errorString(QDBusError::Timeout))
        return {1,
                {},
                QStringLiteral("Scribo did not answer; %1 may not have run")
                    .arg(QLatin1String(action->name))};
    if (errorName == QDBusError::errorString(QDBusError::UnknownObject) ||
        errorName == QDBusError::errorString(QDBusError::UnknownMethod))
        return {1,
                {},
                QStringLiteral("the running Scribo is older and has no %1; restart it")
                    .arg(QLatin1String(action->name))};
    return {1, {}, reply.errorMessage()};
}
