// The key actions without key grabs, on the real binary and a private session bus: every action
// through `scribo --cmd`, seen through MPRIS, the clipboard and the index file; the desktop's
// global shortcuts portal (a fake one in this process) binding the actions and reporting a press.

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QFileInfo>
#include <QtTest>

#include "app/portal_shortcuts.h"
#include "core/profile_file.h"
#include "e2e/e2e_support.h"
#include "fakes/test_media.h"

namespace {
const QString kService = QStringLiteral("org.mpris.MediaPlayer2.scribo");

QVariant playerProperty(const QString& name) {
    QDBusMessage get = QDBusMessage::createMethodCall(
        kService, QStringLiteral("/org/mpris/MediaPlayer2"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << QStringLiteral("org.mpris.MediaPlayer2.Player") << name;
    const QDBusMessage reply = QDBusConnection::sessionBus().call(get);
    if (reply.type() != QDBusMessage::ReplyMessage) return {};
    return reply.arguments().value(0).value<QDBusVariant>().variant();
}
double volume() {
    return playerProperty(QStringLiteral("Volume")).toDouble();
}
double rate() {
    return playerProperty(QStringLiteral("Rate")).toDouble();
}
bool near(double a, double b, double within = 0.001) {
    return qAbs(a - b) <= within;
}
QString clipboard() {
    return runTool(QStringLiteral("xclip"), {QStringLiteral("-o"), QStringLiteral("-selection"),
                                             QStringLiteral("clipboard")});
}
void quit() {
    QDBusConnection::sessionBus().call(QDBusMessage::createMethodCall(
        kService, QStringLiteral("/org/mpris/MediaPlayer2"),
        QStringLiteral("org.mpris.MediaPlayer2"), QStringLiteral("Quit")));
}

// The desktop's side of org.freedesktop.portal.GlobalShortcuts, as far as Scribo uses it: it
// answers through request objects, keeps the shortcuts bound, and reports presses.
class FakePortal : public QDBusVirtualObject {
public:
    QList<PortalShortcut> bound;
    QString session;

    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& call, const QDBusConnection& bus) override {
        if (call.member() == QLatin1String("Get")) {
            bus.send(call.createReply(QVariant::fromValue(QDBusVariant(uint(1)))));
            return true;
        }
        if (call.member() == QLatin1String("Register")) {
            bus.send(call.createReply());
            return true;
        }
        const QVariantMap options =
            qdbus_cast<QVariantMap>(call.arguments().value(call.arguments().size() - 1));
        const QString sender = call.service().mid(1).replace(QLatin1Char('.'), QLatin1Char('_'));
        const QString request =
            QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2")
                .arg(sender, options.value(QStringLiteral("handle_token")).toString());
        QVariantMap results;
        if (call.member() == QLatin1String("CreateSession")) {
            session =
                QStringLiteral("/org/freedesktop/portal/desktop/session/%1/%2")
                    .arg(sender, options.value(QStringLiteral("session_handle_token")).toString());
            results.insert(QStringLiteral("session_handle"), session);
        } else if (call.member() == QLatin1String("BindShortcuts")) {
            bound = qdbus_cast<QList<PortalShortcut>>(call.arguments().value(1));
            QList<PortalShortcut> held = bound;
            for (PortalShortcut& shortcut : held)
                shortcut.properties = {
                    {QStringLiteral("description"),
                     shortcut.properties.value(QStringLiteral("description")).toString()},
                    {QStringLiteral("trigger_description"),
                     shortcut.properties.value(QStringLiteral("preferred_trigger")).toString()}};
            results.insert(QStringLiteral("shortcuts"), QVariant::fromValue(held));
        } else {
            return false;
        }
        bus.send(call.createReply(QVariant::fromValue(QDBusObjectPath(request))));
        QDBusMessage response = QDBusMessage::createSignal(
            request, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
        response << uint(0) << results;
        bus.send(response);
        return true;
    }
    void press(const QString& id, const QString& inSession) const {
        QDBusMessage activated = QDBusMessage::createSignal(
            QStringLiteral("/org/freedesktop/portal/desktop"),
            QStringLiteral("org.freedesktop.portal.GlobalShortcuts"), QStringLiteral("Activated"));
        activated << QVariant::fromValue(QDBusObjectPath(inSession)) << id << qulonglong(0)
                  << QVariantMap();
        QDBusConnection::sessionBus().send(activated);
    }
};
}  // namespace

class DesktopShortcutsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void commandWithoutScribo_data();
    void commandWithoutScribo();
    void everyActionRunsThroughCommand();
    void portalBindsTheActionsAndRunsThem();
};

void DesktopShortcutsTest::initTestCase() {
    QVERIFY(QDBusConnection::sessionBus().isConnected());
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<QList<PortalShortcut>>();
}

void DesktopShortcutsTest::commandWithoutScribo_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("error");
    QTest::newRow("none running") << "play-pause" << 1 << "no Scribo is running";
    QTest::newRow("unknown action") << "dance" << 2 << "'scribo --cmd list' shows the actions";
    QTest::newRow("list") << "list" << 0 << "";
}

void DesktopShortcutsTest::commandWithoutScribo() {
    QFETCH(QString, action);
    QFETCH(int, status);
    QFETCH(QString, error);
    ScriboProcess scribo;
    QString said;
    QCOMPARE(command(scribo, action, &said), status);
    if (error.isEmpty())
        QVERIFY2(said.isEmpty(), qPrintable(said));
    else
        QVERIFY2(said.startsWith(QStringLiteral("Scribo: ")) && said.contains(error),
                 qPrintable(said));
}

void DesktopShortcutsTest::everyActionRunsThroughCommand() {
    ScriboProcess scribo;
    const QString media = scribo.folder() + QStringLiteral("tone.wav");
    QVERIFY(testmedia::writeWav(media, 60, 440, {8000, 1, 16}));
    // The portal as the route, and no portal on this bus: no keys at all, as on a bare Wayland.
    scribo.writeSettings(
        "[FormPosition]\nTop=10\nLeft=10\n[Play]\nSpeed=2\n[Scribo]\nShortcuts=portal\n");
    scribo.start({media});
    QVERIFY(scribo.waitForWindow() != 0);
    QVERIFY2(waitUntil([] { return playerStatus() == QStringLiteral("Paused"); }, 20000),
             qPrintable(playerStatus()));
    const auto run = [&scribo](const char* action) {
        QString error;
        const int status = command(scribo, QLatin1String(action), &error);
        if (status != 0) qWarning("%s: %d %s", action, status, qPrintable(error));
        return status == 0;
    };

    // Volume: the key counter starts at 50 whatever the bar shows.
    QVERIFY(run("volume-up"));
    QVERIFY2(near(volume(), 0.51), qPrintable(QString::number(volume())));
    QVERIFY(run("volume-down") && run("volume-down"));
    QVERIFY2(near(volume(), 0.49), qPrintable(QString::number(volume())));

    // Speed steps from the chosen speed, and the switch to 1.0 and back.
    const double chosen = rate();
    QVERIFY(chosen > 0.45 && chosen < 1.95);
    const struct {
        const char* action;
        double expected;
    } speeds[] = {{"speed-up", chosen + 0.1},      {"speed-down", chosen},
                  {"speed-up-wide", chosen + 0.1}, {"speed-down-wide", chosen},
                  {"speed-switch", 1.0},           {"speed-switch", chosen}};
    for (const auto& step : speeds) {
        QVERIFY(run(step.action));
        QVERIFY2(near(rate(), step.expected),
                 qPrintable(QStringLiteral("%1: %2").arg(QLatin1String(step.action)).arg(rate())));
    }

    // The repeat position, set at 30 s and played from 10 s away.
    playerctl({QStringLiteral("position"), QStringLiteral("30")});
    QVERIFY(waitUntil([] { return near(playerPosition(), 30, 0.05); }, 5000));
    QVERIFY(run("set-repeat"));
    playerctl({QStringLiteral("position"), QStringLiteral("10")});
    QVERIFY(waitUntil([] { return near(playerPosition(), 10, 0.05); }, 5000));
    QVERIFY(run("play-repeat"));
    QVERIFY(waitUntil([] { return playerStatus() == QStringLiteral("Playing"); }, 5000));
    QVERIFY2(playerPosition() >= 29.99 && playerPosition() < 32,
             qPrintable(QString::number(playerPosition())));
    QVERIFY(run("play-pause"));
    QVERIFY(waitUntil([] { return playerStatus() == QStringLiteral("Paused"); }, 5000));

    // Continuous skips run until stopped.
    for (const char* start : {"rewind-start", "forward-start"}) {
        const double from = playerPosition();
        QVERIFY(run(start));
        QVERIFY2(waitUntil([&] { return qAbs(playerPosition() - from) > 1; }, 5000), start);
        QVERIFY(run("skip-stop"));
        const double stopped = playerPosition();
        QTest::qWait(1500);
        QVERIFY2(near(playerPosition(), stopped, 0.01), start);
    }

    // An index entry at the position, kept in the index file at the close.
    const double registered = playerPosition();
    QVERIFY(run("register-index"));

    // Without keystrokes the time code waits on the clipboard, and says so once.
    QVERIFY(run("insert-time-code"));
    const int s = int(registered);
    const QString code = QStringLiteral("0:%1:%2")
                             .arg(s / 60, 2, 10, QLatin1Char('0'))
                             .arg(s % 60, 2, 10, QLatin1Char('0'));
    QVERIFY(waitUntil([&] { return clipboard() == QStringLiteral("{▼[%1]▲}").arg(code); }, 5000));

    // A time code copied elsewhere: played from, and left on the clipboard.
    QProcess copy;
    copy.start(QStringLiteral("xclip"),
               {QStringLiteral("-selection"), QStringLiteral("clipboard")});
    QVERIFY(copy.waitForStarted());
    copy.write("[0:00:42]");
    copy.closeWriteChannel();
    QVERIFY(copy.waitForFinished(5000));
    QVERIFY(waitUntil([] { return clipboard() == QStringLiteral("[0:00:42]"); }, 5000));
    QVERIFY(run("play-clipboard-time"));
    QVERIFY(waitUntil([] { return playerStatus() == QStringLiteral("Playing"); }, 5000));
    QVERIFY2(playerPosition() >= 41.99 && playerPosition() < 44,
             qPrintable(QString::number(playerPosition())));
    QTest::qWait(500);
    QCOMPARE(clipboard(), QStringLiteral("[0:00:42]"));

    quit();
    QVERIFY(scribo.waitForExit(15000));
    const ProfileFile index(scribo.folder() + QStringLiteral("tone.mpx"));
    QVERIFY2(
        near(index.readFloat(QStringLiteral("Index"), QStringLiteral("1"), -1), registered, 0.01),
        qPrintable(index.readString(QStringLiteral("Index"), QStringLiteral("1"), {})));
    const QString said = QString::fromUtf8(scribo.process().readAllStandardError());
    QCOMPARE(said.count(QStringLiteral("system-wide keys are unavailable")), 1);
    QVERIFY2(said.contains(QStringLiteral("scribo --cmd")), qPrintable(said));
}

void DesktopShortcutsTest::portalBindsTheActionsAndRunsThem() {
    FakePortal portal;
    QDBusConnection bus = QDBusConnection::sessionBus();
    QVERIFY(bus.registerVirtualObject(QStringLiteral("/org/freedesktop/portal/desktop"), &portal));
    QVERIFY(bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop")));

    ScriboProcess scribo;
    const QString media = scribo.folder() + QStringLiteral("tone.wav");
    QVERIFY(testmedia::writeWav(media, 60, 440, {8000, 1, 16}));
    scribo.writeSettings("[FormPosition]\nTop=10\nLeft=10\n[Scribo]\nShortcuts=portal\n");
    scribo.start({media});
    QVERIFY2(waitUntil([&] { return !portal.bound.isEmpty(); }, 20000), "nothing was bound");

    QStringList ids;
    for (const PortalShortcut& shortcut : portal.bound) {
        ids << shortcut.id;
        QVERIFY2(!shortcut.properties.value(QStringLiteral("description")).toString().isEmpty(),
                 qPrintable(shortcut.id));
    }
    QCOMPARE(ids.size(), 16);
    QVERIFY(ids.contains(QStringLiteral("play-pause")) &&
            ids.contains(QStringLiteral("skip-stop")));
    const auto trigger = [&](const QString& id) {
        for (const PortalShortcut& shortcut : portal.bound)
            if (shortcut.id == id)
                return shortcut.properties.value(QStringLiteral("preferred_trigger")).toString();
        return QString();
    };
    QCOMPARE(trigger(QStringLiteral("volume-up")), QStringLiteral("ALT+Pause"));
    QCOMPARE(trigger(QStringLiteral("insert-time-code")), QStringLiteral("CTRL+Insert"));

    QVERIFY2(waitUntil([] { return playerStatus() == QStringLiteral("Paused"); }, 20000),
             qPrintable(playerStatus()));
    // A press in another session is not ours; one in Scribo's runs the action.
    portal.press(QStringLiteral("volume-up"), QStringLiteral("/org/freedesktop/portal/other"));
    portal.press(QStringLiteral("volume-up"), portal.session);
    QVERIFY2(waitUntil([] { return near(volume(), 0.51); }, 5000),
             qPrintable(QString::number(volume())));
    portal.press(QStringLiteral("play-pause"), portal.session);
    QVERIFY(waitUntil([] { return playerStatus() == QStringLiteral("Playing"); }, 5000));
    QTest::qWait(300);
    QVERIFY(near(volume(), 0.51));  // the other session's press did nothing

    quit();
    QVERIFY(scribo.waitForExit(15000));
    QVERIFY(!QString::fromUtf8(scribo.process().readAllStandardError())
                 .contains(QStringLiteral("unavailable")));
    // Closing wrote the settings around Scribo's own section, which it only reads.
    QVERIFY(scribo.settingsBytes().contains("\r\n[Scribo]\r\nShortcuts=portal\r\n"));
}

QTEST_MAIN(DesktopShortcutsTest)
#include "desktop_shortcuts_test.moc"
