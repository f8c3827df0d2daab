#include "app/portal_shortcuts.h"

#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut) {
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut) {
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

namespace {
QString pathText(const QVariant& value) {
    if (value.metaType() == QMetaType::fromType<QDBusObjectPath>())
        return value.value<QDBusObjectPath>().path();
    return value.toString();
}
}  // namespace

PortalShortcuts::PortalShortcuts(const QDBusConnection& bus, QObject* parent)
    : QObject(parent), bus_(bus) {
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<QList<PortalShortcut>>();
}

void PortalShortcuts::start(const QList<PortalShortcut>& shortcuts, const QString& appId) {
    if (step_ != Step::Idle) return;
    shortcuts_ = shortcuts;
    if (!bus_.isConnected()) return fail(QStringLiteral("there is no D-Bus session bus"));
    step_ = Step::Probing;
    const QString service = QString::fromLatin1(portal::kService);
    const QString path = QString::fromLatin1(portal::kObjectPath);
    // A program outside a sandbox names itself before its first portal call, or the desktop
    // cannot tell whose shortcuts these are. Older portals lack this; they manage without.
    QDBusMessage registry = QDBusMessage::createMethodCall(
        service, path, QStringLiteral("org.freedesktop.host.portal.Registry"),
        QStringLiteral("Register"));
    registry << appId << QVariantMap();
    bus_.asyncCall(registry);

    QDBusMessage probe = QDBusMessage::createMethodCall(
        service, path, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    probe << QString::fromLatin1(portal::kShortcutsInterface) << QStringLiteral("version");
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(probe), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        if (w->isError())
            return fail(QStringLiteral("the desktop offers no global shortcuts portal (%1)")
                            .arg(w->error().message()));
        openSession();
    });
}

void PortalShortcuts::callWithRequest(const QString& method, const QVariantList& arguments,
                                      QVariantMap options) {
    const QString token = QStringLiteral("scribo%1").arg(++tokens_);
    options.insert(QStringLiteral("handle_token"), token);
    QString sender = bus_.baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    requestPath_ =
        QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
    bus_.connect(QString::fromLatin1(portal::kService), requestPath_,
                 QString::fromLatin1(portal::kRequestInterface), QStringLiteral("Response"), this,
                 SLOT(onResponse(QDBusMessage)));

    QDBusMessage call = QDBusMessage::createMethodCall(
        QString::fromLatin1(portal::kService), QString::fromLatin1(portal::kObjectPath),
        QString::fromLatin1(portal::kShortcutsInterface), method);
    call.setArguments(arguments + QVariantList{options});
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, method](QDBusPendingCallWatcher* w) {
                w->deleteLater();
                const QDBusPendingReply<QDBusObjectPath> reply = *w;
                if (reply.isError())
                    return fail(QStringLiteral("the shortcuts portal refused %1 (%2)")
                                    .arg(method, reply.error().message()));
                // A portal older than the handle_token option answers on a path of its own.
                const QString path = reply.value().path();
                if (path == requestPath_) return;
                bus_.disconnect(QString::fromLatin1(portal::kService), requestPath_,
                                QString::fromLatin1(portal::kRequestInterface),
                                QStringLiteral("Response"), this, SLOT(onResponse(QDBusMessage)));
                requestPath_ = path;
                bus_.connect(QString::fromLatin1(portal::kService), requestPath_,
                             QString::fromLatin1(portal::kRequestInterface),
                             QStringLiteral("Response"), this, SLOT(onResponse(QDBusMessage)));
            });
}

void PortalShortcuts::openSession() {
    step_ = Step::OpeningSession;
    callWithRequest(QStringLiteral("CreateSession"), {},
                    {{QStringLiteral("session_handle_token"), QStringLiteral("scribo")}});
}

void PortalShortcuts::bind() {
    step_ = Step::Binding;
    callWithRequest(QStringLiteral("BindShortcuts"),
                    {QVariant::fromValue(QDBusObjectPath(session_)),
                     QVariant::fromValue(shortcuts_), QString()},
                    {});
}

void PortalShortcuts::onResponse(const QDBusMessage& signal) {
    if (signal.path() != requestPath_) return;
    bus_.disconnect(QString::fromLatin1(portal::kService), requestPath_,
                    QString::fromLatin1(portal::kRequestInterface), QStringLiteral("Response"),
                    this, SLOT(onResponse(QDBusMessage)));
    requestPath_.clear();
    const QVariantList arguments = signal.arguments();
    const uint code = arguments.value(0).toUInt();
    const QVariantMap results = qdbus_cast<QVariantMap>(arguments.value(1));
    if (step_ == Step::OpeningSession) {
        session_ = pathText(results.value(QStringLiteral("session_handle")));
        if (code != 0 || session_.isEmpty())
            return fail(QStringLiteral("the desktop refused a shortcuts session"));
        bus_.connect(QString::fromLatin1(portal::kService),
                     QString::fromLatin1(portal::kObjectPath),
                     QString::fromLatin1(portal::kShortcutsInterface), QStringLiteral("Activated"),
                     this, SLOT(onActivated(QDBusMessage)));
        bind();
    } else if (step_ == Step::Binding) {
        if (code == 1)
            return fail(QStringLiteral("the shortcuts were not confirmed in the desktop's dialog"));
        if (code != 0) return fail(QStringLiteral("the desktop refused the shortcuts"));
        step_ = Step::Bound;
        QStringList lines;
        const auto held =
            qdbus_cast<QList<PortalShortcut>>(results.value(QStringLiteral("shortcuts")));
        for (const PortalShortcut& shortcut : held)
            lines
                << shortcut.id + QStringLiteral(": ") +
                       shortcut.properties.value(QStringLiteral("trigger_description")).toString();
        Q_EMIT bound(lines);
    }
}

void PortalShortcuts::onActivated(const QDBusMessage& signal) {
    const QVariantList arguments = signal.arguments();
    if (arguments.size() < 2 || pathText(arguments.at(0)) != session_) return;
    Q_EMIT activated(arguments.at(1).toString());
}

void PortalShortcuts::fail(const QString& reason) {
    if (step_ == Step::Failed) return;
    step_ = Step::Failed;
    Q_EMIT unavailable(reason);
}
