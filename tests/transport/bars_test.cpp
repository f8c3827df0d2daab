// The position and volume bars: their texts, dragging to seek or set the volume, and the click
// that plays or pauses; once also through real mouse events.

#include <QLabel>
#include <QTimer>
#include <QtTest>

#include "fakes/form_fixture.h"
#include "fakes/transport_setup.h"
#include "transport/media_player.h"

using transportsetup::startWithMedia;

namespace {
QString volumeText(const QString& volume) {
    return QStringLiteral("     音量[ ") + volume + QStringLiteral(" ］");
}
}  // namespace

class BarsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void positionDragSeeks();
    void positionDragIgnoresPointerOffBar();
    void positionBarBeforeLengthIsKnown();
    void positionClickTogglesWithoutRewind();
    void positionClickWithoutMediaOnlyStopsTimers();
    void volumeDragSetsVolume();
    void volumeDragNeedsPressOnBar();
    void displayTexts();
    void realMouseEventsDriveBothBars();
    void clickErrorReachesErrorBox();
};

void BarsTest::positionDragSeeks() {
    FormFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    TAMainForm& w = f.form();
    TALProgressBar* bar = w.ProgressBarTimePosition;
    QCOMPARE(bar->width(), 317);
    QCOMPARE(bar->Max(), 600);

    w.ProgressBarTimePositionMouseDown(Qt::LeftButton, 10, 5);
    QVERIFY(w.PositionDragging);
    w.ProgressBarTimePositionMouseMove(158, 5);
    QCOMPARE(f.player.currentPosition(), 299.0);
    QCOMPARE(bar->Position(), 299);
    QCOMPARE(bar->PosTextPrefix(), QStringLiteral("0:04:59"));
    QCOMPARE(bar->PosTextSuffix(), QStringLiteral("    [ talk.mp3 ]"));
    QCOMPARE(w.LabelPlayTime->text(), QStringLiteral("0:04:59"));
    QCOMPARE(f.player.playState(), PlayStates::Paused);  // seeking leaves the play state

    // While playing it seeks too and keeps playing.
    f.player.play();
    w.ProgressBarTimePositionMouseMove(316, 23);
    QCOMPARE(f.player.currentPosition(), 598.0);
    QCOMPARE(f.player.playState(), PlayStates::Playing);
    w.ProgressBarTimePositionMouseUp(Qt::LeftButton, 316, 23);
    QVERIFY(!w.PositionDragging);
    f.player.log.clear();
    w.ProgressBarTimePositionMouseMove(100, 5);
    QVERIFY(f.player.log.isEmpty());
}

void BarsTest::positionDragIgnoresPointerOffBar() {
    FormFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    TAMainForm& w = f.form();
    w.ProgressBarTimePositionMouseDown(Qt::LeftButton, 10, 5);
    f.player.log.clear();
    // x + 1 must stay within the width, y within 0..height.
    const QPoint offBar[] = {{317, 5}, {-1, 5}, {100, -1}, {100, 24}};
    for (const QPoint& p : offBar)
        w.ProgressBarTimePositionMouseMove(p.x(), p.y());
    QVERIFY(f.player.log.isEmpty());
    QCOMPARE(w.ProgressBarTimePosition->Position(), 0);
}

void BarsTest::positionBarBeforeLengthIsKnown() {
    FormFixture f;
    f.writeSettings(transportsetup::kSettings);
    const QString media = f.addMediaFile(QStringLiteral("talk.mp3"), 600);
    QVERIFY(f.start());
    TAMainForm& w = f.form();
    w.DropFiles({media});
    QCOMPARE(w.ProgressBarTimePosition->Max(), 0);
    QCOMPARE(f.player.playState(), PlayStates::Paused);
    f.player.log.clear();
    w.ProgressBarTimePositionMouseDown(Qt::LeftButton, 100, 5);
    QVERIFY(!w.PositionDragging);
    w.ProgressBarTimePositionMouseMove(158, 5);
    QVERIFY(f.player.log.isEmpty());
    w.ProgressBarTimePositionMouseUp(Qt::LeftButton, 158, 5);
    w.ProgressBarTimePositionClick();  // the release on the bar still clicks
    QCOMPARE(f.player.log, QStringList{QStringLiteral("play")});
    QCOMPARE(f.player.playState(), PlayStates::Playing);
}

void BarsTest::positionClickTogglesWithoutRewind() {
    FormFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    TAMainForm& w = f.form();
    w.ProgressBarTimePositionClick();
    QCOMPARE(f.player.playState(), PlayStates::Playing);
    QCOMPARE(w.ProgressBarTimePosition->FontColor(), QColor(255, 0, 0));
    f.clock.advance(10000);
    transportTimer(w, "repeatTimer")->start();
    transportTimer(w, "rewindSkipTimer")->start();
    transportTimer(w, "forwardSkipTimer")->start();
    f.player.log.clear();
    w.ProgressBarTimePositionClick();
    QCOMPARE(f.player.log, QStringList{QStringLiteral("pause")});
    QCOMPARE(f.player.playState(), PlayStates::Paused);
    QCOMPARE(f.player.currentPosition(), 10.0);
    QVERIFY(!transportTimer(w, "repeatTimer")->isActive());
    QVERIFY(!transportTimer(w, "rewindSkipTimer")->isActive());
    QVERIFY(!transportTimer(w, "forwardSkipTimer")->isActive());
    QCOMPARE(w.ProgressBarTimePosition->FontColor(), QColor(0, 0, 0));
}

void BarsTest::positionClickWithoutMediaOnlyStopsTimers() {
    FormFixture f;
    f.writeSettings(transportsetup::kSettings);
    QVERIFY(f.start());
    TAMainForm& w = f.form();
    transportTimer(w, "repeatTimer")->start();
    f.player.log.clear();
    w.ProgressBarTimePositionClick();
    QVERIFY(!transportTimer(w, "repeatTimer")->isActive());
    QVERIFY(f.player.log.isEmpty());
}

void BarsTest::volumeDragSetsVolume() {
    FormFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    TAMainForm& w = f.form();
    TALProgressBar* bar = w.ProgressBarVolume;
    QCOMPARE(bar->width(), 317);
    w.ProgressBarVolumeMouseDown(Qt::LeftButton, 150, 5);
    w.ProgressBarVolumeMouseMove(200, 5);
    QCOMPARE(f.player.volume(), 63);
    QCOMPARE(w.transport().volume(), 63);
    QCOMPARE(bar->Position(), 63);
    QCOMPARE(bar->PosTextSuffix(), volumeText(QStringLiteral("63")));

    // Past the right end the last value stays; at the very end it is 100.
    w.ProgressBarVolumeMouseMove(330, 5);
    QCOMPARE(f.player.volume(), 63);
    QCOMPARE(w.transport().volume(), 63);
    w.ProgressBarVolumeMouseMove(317, 5);
    QCOMPARE(w.transport().volume(), 100);

    w.ProgressBarVolumeMouseMove(0, 5);
    QCOMPARE(f.player.volume(), 0);
    QCOMPARE(w.transport().volume(), 0);
    QCOMPARE(bar->Position(), 0);
    QCOMPARE(bar->PosTextSuffix(), volumeText(QStringLiteral("0")));

    // Above or below the bar nothing changes; the vertical bounds are inclusive.
    w.ProgressBarVolumeMouseMove(100, -1);
    w.ProgressBarVolumeMouseMove(100, 24);
    QCOMPARE(w.transport().volume(), 0);
    w.ProgressBarVolumeMouseMove(100, 23);
    QCOMPARE(w.transport().volume(), 31);
}

void BarsTest::volumeDragNeedsPressOnBar() {
    FormFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    TAMainForm& w = f.form();
    f.player.log.clear();
    w.ProgressBarVolumeMouseMove(200, 5);
    QVERIFY(f.player.log.isEmpty());
    w.ProgressBarVolumeMouseDown(Qt::RightButton, 200, 5);  // any button drags
    w.ProgressBarVolumeMouseMove(200, 5);
    QCOMPARE(w.transport().volume(), 63);
    w.ProgressBarVolumeMouseUp(Qt::RightButton, 200, 5);
    w.ProgressBarVolumeMouseMove(50, 5);
    QCOMPARE(w.transport().volume(), 63);
}

void BarsTest::displayTexts() {
    FormFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    TAMainForm& w = f.form();
    w.DisplayProgressSpeed(QStringLiteral("0.8"));
    w.DisplayProgressVolume(QStringLiteral("35"));
    QCOMPARE(w.ProgressBarVolume->text(), QStringLiteral("     再生速度[ 0.8 ］     音量[ 35 ］"));
    w.DisplayProgressBarTime(QStringLiteral("1:00:00"));
    QCOMPARE(w.ProgressBarTimePosition->text(), QStringLiteral("1:00:00    [ talk.mp3 ]"));
    w.DisplayProgressVolumeBar(QString(), QString());
    QCOMPARE(w.ProgressBarVolume->text(), QString());
}

void BarsTest::realMouseEventsDriveBothBars() {
    FormFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    TAMainForm& w = f.form();
    transportTimer(w, "positionPollTimer")->stop();  // a real-time poll would race the fake clock
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    TALProgressBar* position = w.ProgressBarTimePosition;
    QTest::mousePress(position, Qt::LeftButton, Qt::NoModifier, QPoint(10, 5));
    QTest::mouseMove(position, QPoint(158, 5));
    QCOMPARE(f.player.currentPosition(), 299.0);
    QCOMPARE(w.LabelPlayTime->text(), QStringLiteral("0:04:59"));
    QCOMPARE(position->PosTextPrefix(), QStringLiteral("0:04:59"));
    QCOMPARE(f.player.playState(), PlayStates::Paused);
    // The release on the bar is also a click: it plays from where the drag left off.
    QTest::mouseRelease(position, Qt::LeftButton, Qt::NoModifier, QPoint(158, 5));
    QVERIFY(!w.PositionDragging);
    QCOMPARE(f.player.playState(), PlayStates::Playing);
    QCOMPARE(f.player.currentPosition(), 299.0);

    TALProgressBar* volume = w.ProgressBarVolume;
    QTest::mousePress(volume, Qt::LeftButton, Qt::NoModifier, QPoint(100, 5));
    QTest::mouseMove(volume, QPoint(0, 5));
    QTest::mouseRelease(volume, Qt::LeftButton, Qt::NoModifier, QPoint(0, 5));
    QCOMPARE(f.player.volume(), 0);
    QCOMPARE(w.transport().volume(), 0);
    QCOMPARE(volume->PosTextSuffix(), volumeText(QStringLiteral("0")));
    QVERIFY(!w.VolumeDragging);
    QCOMPARE(f.player.playState(), PlayStates::Playing);  // the volume bar's click does nothing
    QVERIFY(f.dialogs.errors.isEmpty());
}

void BarsTest::clickErrorReachesErrorBox() {
    FormFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    TAMainForm& w = f.form();
    transportTimer(w, "positionPollTimer")->stop();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    f.player.play();
    transportTimer(w, "repeatTimer")->start();
    transportTimer(w, "forwardSkipTimer")->start();
    f.player.failNext(QStringLiteral("pause"));
    QTest::mouseClick(w.ProgressBarTimePosition, Qt::LeftButton, Qt::NoModifier, QPoint(50, 5));
    QCOMPARE(f.dialogs.errors.size(), 1);
    QVERIFY(f.dialogs.errors.first().contains(QStringLiteral("pause")));
    QCOMPARE(f.player.playState(), PlayStates::Playing);
    QVERIFY(!transportTimer(w, "repeatTimer")->isActive());  // stopped before the failing call
    QVERIFY(!transportTimer(w, "forwardSkipTimer")->isActive());
}

QTEST_MAIN(BarsTest)
#include "bars_test.moc"
