// The key actions by name, the keys proposed to the desktop, and where keys come from.

#include <QRegularExpression>
#include <QSet>
#include <QtTest>

#include "keyboard/shortcut_actions.h"
#include "keyboard/shortcut_route.h"

Q_DECLARE_METATYPE(HotkeyCommand)
Q_DECLARE_METATYPE(ShortcutChoice)
Q_DECLARE_METATYPE(ShortcutRoute)

class ShortcutActionsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyKeyCommandHasOneWellFormedName() {
        QSet<HotkeyCommand> commands;
        QSet<QString> methods;
        static const QRegularExpression nameForm(QStringLiteral("^[a-z]+(-[a-z]+)*$"));
        for (const ShortcutAction& action : shortcutActions()) {
            const QString name = QLatin1String(action.name);
            QVERIFY2(nameForm.match(name).hasMatch(), action.name);
            QVERIFY2(!commands.contains(action.command), action.name);
            commands << action.command;
            methods << QLatin1String(action.method);
            QCOMPARE(findShortcutAction(name), &action);
            QCOMPARE(findShortcutActionByMethod(QLatin1String(action.method)), &action);
        }
        QCOMPARE(methods.size(), kShortcutActionCount);
        for (const HotkeySlot& slot : HotkeyTable::slotList())
            if (slot.command != HotkeyCommand::Nothing)
                QVERIFY2(commands.contains(slot.command), slot.name);
        QVERIFY(!findShortcutAction(QStringLiteral("list")));
        QVERIFY(!findShortcutAction(QStringLiteral("Play-Pause")));
    }

    void listNamesEveryAction() {
        const QStringList lines = shortcutActionList().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), kShortcutActionCount);
        QVERIFY(lines.first().startsWith(QStringLiteral("play-pause ")));
    }

    void preferredTriggers_data() {
        QTest::addColumn<HotkeyCommand>("command");
        QTest::addColumn<QString>("trigger");
        QTest::newRow("plain") << HotkeyCommand::PlayPause << QStringLiteral("Pause");
        QTest::newRow("alt") << HotkeyCommand::VolumeUp << QStringLiteral("ALT+Pause");
        QTest::newRow("shift") << HotkeyCommand::SpeedDown << QStringLiteral("SHIFT+Scroll_Lock");
        QTest::newRow("ctrl") << HotkeyCommand::InsertTimeCode << QStringLiteral("CTRL+Insert");
        QTest::newRow("print") << HotkeyCommand::PlayFromClipboardTimeCode
                               << QStringLiteral("CTRL+Print");
        QTest::newRow("japanese key")
            << HotkeyCommand::StartContinuousRewind << QStringLiteral("ALT+Muhenkan");
        QTest::newRow("space") << HotkeyCommand::ToggleSpeed << QStringLiteral("ALT+space");
        QTest::newRow("no key") << HotkeyCommand::StopContinuousSkip << QString();
    }
    void preferredTriggers() {
        QFETCH(HotkeyCommand, command);
        QFETCH(QString, trigger);
        QCOMPARE(preferredTrigger(command), trigger);
    }

    void everyKeyedActionProposesAKey() {
        for (const ShortcutAction& action : shortcutActions())
            if (action.command != HotkeyCommand::StopContinuousSkip)
                QVERIFY2(!preferredTrigger(action.command).isEmpty(), action.name);
    }

    void routes_data() {
        QTest::addColumn<ShortcutChoice>("choice");
        QTest::addColumn<QString>("platform");
        QTest::addColumn<QString>("sessionType");
        QTest::addColumn<bool>("waylandDisplay");
        QTest::addColumn<bool>("x11");
        QTest::addColumn<ShortcutRoute>("route");
        const auto grabs = ShortcutRoute::KeyGrabs;
        const auto portal = ShortcutRoute::Portal;
        const auto autoChoice = ShortcutChoice::Auto;
        QTest::newRow("X11 session") << autoChoice << "xcb"
                                     << "x11" << false << true << grabs;
        QTest::newRow("X11, no session type") << autoChoice << "xcb"
                                              << "" << false << true << grabs;
        QTest::newRow("Wayland, Qt native") << autoChoice << "wayland"
                                            << "wayland" << true << false << portal;
        QTest::newRow("Wayland, Qt through XWayland") << autoChoice << "xcb"
                                                      << "wayland" << true << true << portal;
        QTest::newRow("Wayland display, no session type") << autoChoice << "xcb"
                                                          << "" << true << true << portal;
        QTest::newRow("X11 session wins over a stray WAYLAND_DISPLAY")
            << autoChoice << "xcb"
            << "x11" << true << true << grabs;
        QTest::newRow("no X server") << autoChoice << "offscreen"
                                     << "" << false << false << portal;
        QTest::newRow("forced x11 on Wayland") << ShortcutChoice::KeyGrabs << "xcb"
                                               << "wayland" << true << true << grabs;
        QTest::newRow("forced portal on X11") << ShortcutChoice::Portal << "xcb"
                                              << "x11" << false << true << portal;
    }
    void routes() {
        QFETCH(ShortcutChoice, choice);
        QFETCH(QString, platform);
        QFETCH(QString, sessionType);
        QFETCH(bool, waylandDisplay);
        QFETCH(bool, x11);
        QFETCH(ShortcutRoute, route);
        QCOMPARE(chooseShortcutRoute(choice, {platform, sessionType, waylandDisplay, x11}), route);
    }

    void choices_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<ShortcutChoice>("choice");
        QTest::newRow("x11") << "x11" << ShortcutChoice::KeyGrabs;
        QTest::newRow("any case, blanks") << " Portal " << ShortcutChoice::Portal;
        QTest::newRow("auto") << "auto" << ShortcutChoice::Auto;
        QTest::newRow("missing") << "" << ShortcutChoice::Auto;
        QTest::newRow("unknown") << "wayland" << ShortcutChoice::Auto;
    }
    void choices() {
        QFETCH(QString, value);
        QFETCH(ShortcutChoice, choice);
        QCOMPARE(parseShortcutChoice(value), choice);
    }
};

QTEST_APPLESS_MAIN(ShortcutActionsTest)
#include "shortcut_actions_test.moc"
