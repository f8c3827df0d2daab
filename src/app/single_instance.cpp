#include "app/single_instance.h"

#include <unistd.h>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <cstdio>

QDBusConnection SessionBusOrNotice() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        QString line = QStringLiteral("Scribo: no D-Bus session bus");
        if (const QString reason = bus.lastError().message(); !reason.isEmpty())
            line += QStringLiteral(" (") + reason + QLatin1Char(')');
        line += QStringLiteral("; media keys and desktop media controls are off\n");
        std::fputs(qPrintable(line), stderr);
    }
    return bus;
}

HandOver HandToRunningInstance(const QDBusConnection& bus, const QString& uri,
                               const QString& serviceName, int timeoutMs) {
    if (!bus.isConnected() || !bus.interface()) return {};
    QDBusConnectionInterface& daemon = *bus.interface();
    if (!daemon.isServiceRegistered(serviceName).value()) return {};
    // The session bus may be shared by other users' programs; only our own Scribo is asked.
    const QDBusReply<uint> owner = daemon.serviceUid(serviceName);
    if (owner.isValid() && owner.value() != ::getuid()) return {};

    QDBusMessage call = QDBusMessage::createMethodCall(
        serviceName, QString::fromLatin1(mpris::kObjectPath),
        QString::fromLatin1(mpris::kPlayerInterface), QStringLiteral("OpenUri"));
    call << uri;
    const QDBusMessage reply = bus.call(call, QDBus::Block, timeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage) return {HandOver::Delivered, {}};
    const QString error = reply.errorName();
    if (error == QDBusError::errorString(QDBusError::NoReply) ||
        error == QDBusError::errorString(QDBusError::Timeout))
        return {HandOver::Refused,
                QStringLiteral("the running Scribo did not answer; %1 was not opened").arg(uri)};
    return {HandOver::Refused, reply.errorMessage()};
}
