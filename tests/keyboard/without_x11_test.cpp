// Without an X display the keyboard layers say so once and otherwise stay out of the way.

#include <QtTest>

#include "keyboard/hotkey_service.h"
#include "keyboard/key_state.h"
#include "keyboard/keystroke_output.h"

class WithoutX11Test : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QCOMPARE(QGuiApplication::platformName(), QStringLiteral("offscreen")); }

    void hotkeysReportUnavailableOnce() {
        auto service = createHotkeyService();
        QVERIFY(!service->isAvailable());
        QSignalSpy unavailable(service.get(), &HotkeyService::unavailable);
        QCOMPARE(service->grab(1, HotkeyModifier::None, 0x13), GrabResult::Unavailable);
        QCOMPARE(service->grab(2, HotkeyModifier::None, 0x91), GrabResult::Unavailable);
        service->release(1);
        QCOMPARE(unavailable.size(), 1);
        QVERIFY(unavailable.at(0).at(0).toString().contains(QStringLiteral("offscreen")));
        QCOMPARE(service->result(2), GrabResult::Unavailable);
    }

    void pasteIsAbandoned() {
        auto output = createKeystrokeOutput();
        QVERIFY(!output->isAvailable());
        QSignalSpy abandoned(output.get(), &KeystrokeOutput::pasteAbandoned);
        QSignalSpy pasted(output.get(), &KeystrokeOutput::pasted);
        output->pasteWhenKeysReleased();
        QTRY_COMPARE(abandoned.size(), 1);
        QCOMPARE(pasted.size(), 0);
    }

    void noModifierCountsAsHeld() { QCOMPARE(int(createKeyState()->heldModifiers()), 0); }
};

QTEST_MAIN(WithoutX11Test)
#include "without_x11_test.moc"
