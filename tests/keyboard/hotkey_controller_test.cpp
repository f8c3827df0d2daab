#include "keyboard/hotkey_controller.h"

#include <QtTest>
#include <functional>

#include "core/settings_keys.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_keyboard.h"

namespace {
// A clock whose wait runs something, as the event loop would while the keys are free.
class ScriptedClock : public FakeClock {
public:
    std::function<void()> duringWait;
    void waitProcessingEvents(int ms) override {
        FakeClock::waitProcessingEvents(ms);
        if (auto run = std::exchange(duringWait, {})) run();
    }
};
}  // namespace

class HotkeyControllerTest : public QObject {
    Q_OBJECT

private slots:
    void pressesBecomeCommandsOfRegisteredSlots() {
        FakeHotkeyService service;
        FakeClock clock;
        HotkeyController controller(service, clock);
        QSignalSpy commands(&controller, &HotkeyController::commandRequested);
        controller.registerAll({Ini::IgnoreInsert});
        QCOMPARE(service.grabbed.size(), 75);
        QVERIFY(service.press(1));
        QVERIFY(service.press(4));
        QVERIFY(!service.press(21));
        QCOMPARE(commands.size(), 2);
        QCOMPARE(commands.at(0).at(0).value<HotkeyCommand>(), HotkeyCommand::PlayPause);
        QCOMPARE(commands.at(1).at(0).value<HotkeyCommand>(),
                 HotkeyCommand::PlayFromClipboardTimeCode);
        // A stray report for a slot the table does not hold is ignored.
        Q_EMIT service.activated(21);
        QCOMPARE(commands.size(), 2);
    }

    void changedSettingFreesKeysThenClaimsThemAgain() {
        FakeHotkeyService service;
        FakeClock clock;
        HotkeyController controller(service, clock);
        controller.registerAll({Ini::IgnoreAltCharacter});
        service.log.clear();
        controller.reregister({Ini::IgnoreAltCharacter, Ini::IgnoreF1});
        QCOMPARE(clock.waitedMs(), HotkeyController::kReregisterPauseMs);
        QCOMPARE(service.log.size(), 28 + 27);
        QCOMPARE(service.log.first(), QStringLiteral("release 1"));
        QCOMPARE(service.log.at(28), QStringLiteral("grab 1"));
        QVERIFY(service.log.contains(QStringLiteral("release 27")));
        QVERIFY(!service.log.contains(QStringLiteral("grab 27")));
        QVERIFY(!controller.table().isRegistered(27));
    }

    void settingChangedDuringTheWaitWins() {
        FakeHotkeyService service;
        ScriptedClock clock;
        HotkeyController controller(service, clock);
        controller.registerAll({});
        clock.duringWait = [&] { controller.reregister({Ini::IgnoreF2}); };
        controller.reregister({Ini::IgnoreF1});
        QVERIFY(controller.table().isRegistered(27));
        QVERIFY(!controller.table().isRegistered(28));
        QVERIFY(!service.grabbed.contains(28));
        QCOMPARE(service.grabbed.size(), 76);
    }

    void keysHeldElsewhereAreReportedOnce() {
        FakeHotkeyService service;
        service.heldElsewhere = {{HotkeyModifier::Control, 0x2C}, {HotkeyModifier::Alt, 'A'}};
        FakeClock clock;
        HotkeyController controller(service, clock);
        QSignalSpy held(&controller, &HotkeyController::keysHeldElsewhere);
        controller.registerAll({});
        controller.reregister({});
        QCOMPARE(held.size(), 1);
        const QStringList keys{QStringLiteral("Ctrl + Print Screen"), QStringLiteral("Alt + A")};
        QCOMPARE(held.at(0).at(0).toStringList(), keys);
        QCOMPARE(controller.heldElsewhere(), keys);
        controller.reregister({Ini::IgnorePrintScreen});
        QCOMPARE(controller.heldElsewhere(), QStringList{QStringLiteral("Alt + A")});
        QCOMPARE(held.size(), 1);
    }

    void withoutSystemWideKeysSaysSoOnce() {
        FakeHotkeyService service;
        service.available = false;
        FakeClock clock;
        HotkeyController controller(service, clock);
        QSignalSpy unavailable(&service, &HotkeyService::unavailable);
        controller.registerAll({});
        controller.reregister({});
        QCOMPARE(unavailable.size(), 1);
        QVERIFY(controller.heldElsewhere().isEmpty());
    }

    void destructionReleasesEveryGrab() {
        FakeHotkeyService service;
        FakeClock clock;
        {
            HotkeyController controller(service, clock);
            controller.registerAll({Ini::IgnoreCapsLock});
        }
        QVERIFY(service.grabbed.isEmpty());
        QVERIFY(!service.log.contains(QStringLiteral("release 14")));
    }
};

QTEST_GUILESS_MAIN(HotkeyControllerTest)
#include "hotkey_controller_test.moc"
