// The window's side of the foot pedal: start-up, the settings that reach the controller, and the
// status line, on the scripted fake library.

#include <QAction>
#include <QLabel>
#include <QtTest>

#include "fakes/window_fixture.h"

class PedalViewTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void switchedOffSkipsSetUp();
    void missingLibraryIsReportedAndNotPolled();
    void readsOnlyWithMediaOpen();
    void settingsReachController();
    void chordsItemDrivesController();
    void resetTurnsSwitchOff();
};

void PedalViewTest::switchedOffSkipsSetUp() {
    WindowFixture f;
    f.writeSettings("[Menu]\nDontUseUseFooptPeadl=1\n");
    QVERIFY(f.start());
    QVERIFY(f.pedalLibrary.log.isEmpty());
    QVERIFY(!f.session().pedal().isPolling());
    QCOMPARE(control<QAction>(f.window(), "pedalStatusAction")->text(),
             PedalController::statusText(PedalController::Status::SwitchedOff));
}

void PedalViewTest::missingLibraryIsReportedAndNotPolled() {
    WindowFixture f;
    f.writeSettings("");
    f.pedalLibrary.loadSucceeds = false;
    QVERIFY(f.start());
    QCOMPARE(f.dialogs.messages.size(), 1);
    QVERIFY(!f.session().pedal().isPolling());
    QCOMPARE(control<QAction>(f.window(), "pedalStatusAction")->text(),
             PedalController::statusText(PedalController::Status::NotConnected));
}

void PedalViewTest::readsOnlyWithMediaOpen() {
    WindowFixture f;
    f.writeSettings("");
    QVERIFY(f.start());
    QVERIFY(f.pedalLibrary.isOpen());
    QVERIFY(f.session().pedal().isPolling());
    QCOMPARE(control<QAction>(f.window(), "pedalStatusAction")->text(),
             PedalController::statusText(PedalController::Status::Connected));
    f.pedalLibrary.queueReport(0x02);
    f.session().pedal().pollTick();
    f.session().pedal().pollTick();
    QCOMPARE(f.pedalLibrary.count(QStringLiteral("read")), 0);

    f.openMedia(f.addMediaFile(QStringLiteral("talk.mp3"), 60.0));
    f.session().pedal().pollTick();
    QCOMPARE(f.pedalLibrary.count(QStringLiteral("read")), 1);
    QVERIFY(f.transport().isPlaying());
    QCOMPARE(control<QLabel>(f.window(), "pedalStateLabel")->text(), QStringLiteral("Down Center"));
}

void PedalViewTest::settingsReachController() {
    WindowFixture f;
    f.writeSettings("[Pedal]\nCenter=2\nLeft=0\nRight=1\nPedalMode=1\n");
    QVERIFY(f.start());
    const PedalSettings& s = f.session().pedal().settings();
    QVERIFY(s.centre == PedalAction::FastForward);
    QVERIFY(s.left == PedalAction::Play);
    QVERIFY(s.right == PedalAction::Rewind);
    QVERIFY(s.mode == PedalMode::Switch);

    control<RadioGroup>(f.window(), "pedalModeGroup")->setItemIndex(0);
    QVERIFY(f.session().pedal().settings().mode == PedalMode::Normal);
    QVERIFY(f.settingsBytes().contains("PedalMode=0"));
}

void PedalViewTest::chordsItemDrivesController() {
    WindowFixture f;
    f.writeSettings("[Menu]\nDontChangeSpeedVolume=0\n");
    QVERIFY(f.start());
    QVERIFY(f.session().pedal().settings().chordsEnabled);
    control<QAction>(f.window(), "twoPedalsKeepSpeedAndVolumeAction")->trigger();
    QVERIFY(!f.session().pedal().settings().chordsEnabled);
    QVERIFY(f.settingsBytes().contains("DontChangeSpeedVolume=1"));
}

void PedalViewTest::resetTurnsSwitchOff() {
    WindowFixture f;
    f.writeSettings("[Pedal]\nPedalMode=1\n");
    QVERIFY(f.start());
    f.openMedia(f.addMediaFile(QStringLiteral("talk.mp3"), 60.0));
    f.pedalLibrary.queueReport(0x02);
    f.session().pedal().pollTick();
    QVERIFY(f.session().pedal().switchState().on);
    control<QAction>(f.window(), "resetAction")->trigger();
    QVERIFY(!f.session().pedal().switchState().on);
    QVERIFY(!f.transport().isPlaying());
}

QTEST_MAIN(PedalViewTest)
#include "pedal_view_test.moc"
