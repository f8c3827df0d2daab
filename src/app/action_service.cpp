#include "app/action_service.h"

#include <QDBusError>
#include <QDBusMessage>

#include "keyboard/shortcut_actions.h"

ActionService::ActionService(Runner run, QObject* parent)
    : QDBusVirtualObject(parent), run_(std::move(run)), bus_(QString()) {}

ActionService::~ActionService() {
    if (published_) bus_.unregisterObject(QString::fromLatin1(actions::kObjectPath));
}

bool ActionService::publish(const QDBusConnection& bus) {
    if (published_) return true;
    bus_ = bus;
    published_ = bus_.isConnected() &&
                 bus_.registerVirtualObject(QString::fromLatin1(actions::kObjectPath), this);
    return published_;
}

QString ActionService::introspect(const QString&) const {
    QString xml =
        QStringLiteral("<interface name=\"%1\">\n").arg(QLatin1String(actions::kInterface));
    for (const ShortcutAction& action : shortcutActions())
        xml += QStringLiteral("<method name=\"%1\"/>\n").arg(QLatin1String(action.method));
    return xml + QStringLiteral("</interface>\n");
}

bool ActionService::handleMessage(const QDBusMessage& message, const QDBusConnection& connection) {
    if (message.type() != QDBusMessage::MethodCallMessage) return false;
    const QString interface = message.interface();
    if (!interface.isEmpty() && interface != QLatin1String(actions::kInterface)) return false;
    const ShortcutAction* action = findShortcutActionByMethod(message.member());
    QDBusMessage reply;
    if (!action) {
        reply = message.createErrorReply(
            QDBusError::UnknownMethod,
            QStringLiteral("Scribo has no action %1").arg(message.member()));
    } else if (!message.signature().isEmpty()) {
        reply = message.createErrorReply(
            QDBusError::InvalidArgs, QStringLiteral("%1 takes no arguments").arg(message.member()));
    } else {
        switch (run_(action->command)) {
            case RequestOutcome::Done:
                reply = message.createReply();
                break;
            case RequestOutcome::Busy:
                reply = message.createErrorReply(
                    QString::fromLatin1(actions::kBusyError),
                    QStringLiteral("Scribo is busy (closing or finishing another command); %1 "
                                   "was not run")
                        .arg(QLatin1String(action->name)));
                break;
            case RequestOutcome::Failed:
                reply = message.createErrorReply(
                    QString::fromLatin1(actions::kFailedError),
                    QStringLiteral("%1 failed; Scribo shows why").arg(QLatin1String(action->name)));
                break;
        }
    }
    if (message.isReplyRequired()) connection.send(reply);
    return true;
}
