// The system-wide keys as the window drives them: grabs follow the settings, a key runs its
// command through the window, and keys another program holds are listed.

#include <QLabel>
#include <QTest>

#include "app/outside_entries.h"
#include "app/portal_shortcuts.h"
#include "fakes/fake_clipboard.h"
#include "fakes/window_fixture.h"
#include "index/index_controller.h"
#include "keyboard/hotkey_dispatcher.h"
#include "transport/transport_controller.h"

namespace {
constexpr int kPause = 1, kScrollLock = 2, kCtrlInsert = 21, kF1 = 27;

// The window on fakes; the session wires the keys as the program does.
struct KeyedForm {
    WindowFixture f;
    FakeKeystrokeOutput& keystrokes = f.keystrokes;

    KeyedForm() { f.writeSettings("[Menu]\n"); }

    bool start() { return f.start(); }
    // Presses a grabbed key and lets the queued command run.
    bool press(int id) {
        if (!f.hotkeyService.press(id)) return false;
        QCoreApplication::processEvents();
        return true;
    }
};
}  // namespace

class KeyboardViewTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void grabsFollowTheSettingsFromStartToEnd() {
        auto k = std::make_unique<KeyedForm>();  // too large for the stack under ASan
        k->f.writeSettings("[Menu]\nDontUseF1=1\n");
        QVERIFY(k->start());
        FakeHotkeyService& keys = k->f.hotkeyService;
        QVERIFY(keys.grabbed.contains(kPause));
        QVERIFY(!keys.grabbed.contains(kF1));

        // Clearing the setting lets every key go, waits, and grabs F1 as well.
        const qint64 waited = k->f.clock.waitedMs();
        keys.log.clear();
        control<QAction>(k->f.window(), "ignoreF1Action")->trigger();
        QVERIFY(keys.grabbed.contains(kF1));
        QCOMPARE(k->f.clock.waitedMs() - waited, HotkeyController::kReregisterPauseMs);
        const int firstGrab = keys.log.indexOf(QStringLiteral("grab 1"));
        QVERIFY(firstGrab > keys.log.indexOf(QStringLiteral("release 1")));
    }

    void endReleasesEveryKey() {
        WindowFixture f;
        f.writeSettings("[Menu]\n");
        QVERIFY(f.start());
        QVERIFY(!f.hotkeyService.grabbed.isEmpty());
        f.destroy();
        QVERIFY(f.hotkeyService.grabbed.isEmpty());
    }

    void keysRunTheirCommandsThroughTheWindow() {
        KeyedForm k;
        k.f.writeSettings("[Play]\nAutoBackSpace=7\n");  // 2.5 s
        const QString media = k.f.addMediaFile(QStringLiteral("talk.mp3"), 600);
        QVERIFY(k.start());
        k.f.openMedia(media);
        TransportController& t = k.f.transport();

        QVERIFY(k.press(kPause));
        QVERIFY(t.isPlaying());
        k.f.clock.advance(65000);
        QVERIFY(k.press(kPause));
        QVERIFY(!t.isPlaying());
        QCOMPARE(k.f.player.position(), 62.5);

        QVERIFY(k.press(kCtrlInsert));
        QCOMPARE(k.keystrokes.pastes, 1);
        QCOMPARE(k.f.clipboard.content, QStringLiteral("{▼[0:01:02]▲}"));

        // Scroll Lock registers into the window's own index, as its menu does.
        QVERIFY(k.press(kScrollLock));
        QCOMPARE(registerEntryAction(k.f.window(), 1)->text(), QStringLiteral(" 1. 0:01:02,　"));
        QCOMPARE(control<ProgressBar>(k.f.window(), "volumeBar")->positionTextPrefix(),
                 registerEntryAction(k.f.window(), 1)->text());
    }

    void abandonedPasteIsToldOnTheStatusLine() {
        KeyedForm k;
        QVERIFY(k.start());
        k.keystrokes.keysHeld = true;
        QVERIFY(k.press(kCtrlInsert));
        QCOMPARE(control<ProgressBar>(k.f.window(), "volumeBar")->positionTextPrefix(), QString());
        k.keystrokes.giveUp();
        QCOMPARE(control<ProgressBar>(k.f.window(), "volumeBar")->positionTextPrefix(),
                 HotkeyDispatcher::PasteAbandonedText);
        QCOMPARE(k.f.clipboard.content, QStringLiteral("{▼[0:00:00]▲}"));  // still to paste by hand
        QVERIFY(k.f.dialogs.messages.isEmpty() && k.f.dialogs.errors.isEmpty());
    }

    void keysHeldElsewhereAreListedOnTheKeyboardTab() {
        KeyedForm k;
        k.f.hotkeyService.heldElsewhere
            << FakeHotkeyService::Combination{HotkeyModifier::None, 0x13};
        QVERIFY(k.start());
        QVERIFY(!control<QLabel>(k.f.window(), "heldKeysLabel")->isHidden());
        QVERIFY(control<QLabel>(k.f.window(), "heldKeysLabel")
                    ->text()
                    .contains(QStringLiteral("Pause")));
    }

    // No X server on the X11 route, or no portal on the portal's: the tab says why and what
    // to do instead.
    void keysUnavailableAreExplainedOnTheKeyboardTab_data() {
        QTest::addColumn<bool>("x11");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no X server") << false << QStringLiteral("no system-wide keys");
        QTest::newRow("no portal") << true << QStringLiteral("there is no D-Bus session bus");
    }
    void keysUnavailableAreExplainedOnTheKeyboardTab() {
        QFETCH(bool, x11);
        QFETCH(QString, reason);
        KeyedForm k;
        k.f.hotkeyService.available = x11;
        PortalShortcuts portal{QDBusConnection(QString())};
        MainWindow& w = k.f.create();
        AttachDesktopShortcuts(k.f.hotkeyService, portal, k.f.session(), w);
        auto* label = w.findChild<QLabel*>(QStringLiteral("keysUnavailableLabel"));
        QVERIFY(label);
        QVERIFY(k.f.start());
        if (x11) {
            QVERIFY(label->isHidden());
            portal.start({}, QStringLiteral("scribo"));
        }
        QVERIFY(!label->isHidden());
        QVERIFY2(label->text().contains(reason), qPrintable(label->text()));
        QVERIFY(label->text().contains(QStringLiteral("scribo --cmd")));
    }

    void noKeyHeldElsewhereLeavesTheListHidden() {
        KeyedForm k;
        QVERIFY(k.start());
        QVERIFY(control<QLabel>(k.f.window(), "heldKeysLabel")->isHidden());
    }
};

QTEST_MAIN(KeyboardViewTest)
#include "keyboard_view_test.moc"
