// The window's side of the foot pedal: start-up, the settings that reach the controller, and the
// status line, on the scripted fake library.

#include <QAction>
#include <QLabel>
#include <QtTest>

#include "fakes/form_fixture.h"

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
    FormFixture f;
    f.writeSettings("[Menu]\nDontUseUseFooptPeadl=1\n");
    QVERIFY(f.start());
    QVERIFY(f.pedalLibrary.log.isEmpty());
    QVERIFY(!f.form().pedal().isPolling());
    QCOMPARE(control<QAction>(f.form(), "pedalStatusAction")->text(),
             PedalController::statusText(PedalController::Status::SwitchedOff));
}

void PedalViewTest::missingLibraryIsReportedAndNotPolled() {
    FormFixture f;
    f.writeSettings("");
    f.pedalLibrary.loadSucceeds = false;
    QVERIFY(f.start());
    QCOMPARE(f.dialogs.messages.size(), 1);
    QVERIFY(!f.form().pedal().isPolling());
    QCOMPARE(control<QAction>(f.form(), "pedalStatusAction")->text(),
             PedalController::statusText(PedalController::Status::NotConnected));
}

void PedalViewTest::readsOnlyWithMediaOpen() {
    FormFixture f;
    f.writeSettings("");
    QVERIFY(f.start());
    QVERIFY(f.pedalLibrary.isOpen());
    QVERIFY(f.form().pedal().isPolling());
    QCOMPARE(control<QAction>(f.form(), "pedalStatusAction")->text(),
             PedalController::statusText(PedalController::Status::Connected));
    f.pedalLibrary.queueReport(0x02);
    f.form().pedal().pollTick();
    f.form().pedal().pollTick();
    QCOMPARE(f.pedalLibrary.count(QStringLiteral("read")), 0);

    f.openMedia(f.addMediaFile(QStringLiteral("talk.mp3"), 60.0));
    f.form().pedal().pollTick();
    QCOMPARE(f.pedalLibrary.count(QStringLiteral("read")), 1);
    QVERIFY(f.form().transport().isPlaying());
    QCOMPARE(control<QLabel>(f.form(), "pedalStateLabel")->text(), QStringLiteral("Down Center"));
}

void PedalViewTest::settingsReachController() {
    FormFixture f;
    f.writeSettings("[Pedal]\nCenter=2\nLeft=0\nRight=1\nPedalMode=1\n");
    QVERIFY(f.start());
    const PedalSettings& s = f.form().pedal().settings();
    QVERIFY(s.centre == PedalAction::FastForward);
    QVERIFY(s.left == PedalAction::Play);
    QVERIFY(s.right == PedalAction::Rewind);
    QVERIFY(s.mode == PedalMode::Switch);

    control<RadioGroup>(f.form(), "pedalModeGroup")->setItemIndex(0);
    QVERIFY(f.form().pedal().settings().mode == PedalMode::Normal);
    QVERIFY(f.settingsBytes().contains("PedalMode=0"));
}

void PedalViewTest::chordsItemDrivesController() {
    FormFixture f;
    f.writeSettings("[Menu]\nDontChangeSpeedVolume=0\n");
    QVERIFY(f.start());
    QVERIFY(f.form().pedal().settings().chordsEnabled);
    control<QAction>(f.form(), "twoPedalsKeepSpeedAndVolumeAction")->trigger();
    QVERIFY(!f.form().pedal().settings().chordsEnabled);
    QVERIFY(f.settingsBytes().contains("DontChangeSpeedVolume=1"));
}

void PedalViewTest::resetTurnsSwitchOff() {
    FormFixture f;
    f.writeSettings("[Pedal]\nPedalMode=1\n");
    QVERIFY(f.start());
    f.openMedia(f.addMediaFile(QStringLiteral("talk.mp3"), 60.0));
    f.pedalLibrary.queueReport(0x02);
    f.form().pedal().pollTick();
    QVERIFY(f.form().pedal().switchState().on);
    control<QAction>(f.form(), "resetAction")->trigger();
    QVERIFY(!f.form().pedal().switchState().on);
    QVERIFY(!f.form().transport().isPlaying());
}

QTEST_MAIN(PedalViewTest)
#include "pedal_view_test.moc"
