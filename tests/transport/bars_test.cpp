// The position and volume bars: their texts, dragging to seek or set the volume, and the click
// that plays or pauses; once also through real mouse events.

#include <QFontMetrics>
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
    void longNameGivesWayToTime();
    void realMouseEventsDriveBothBars();
    void clickErrorReachesErrorBox();
};

void BarsTest::positionDragSeeks() {
    FormFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.form();
    ProgressBar* bar = control<ProgressBar>(w, "positionBar");
    QCOMPARE(bar->width(), 317);
    QCOMPARE(bar->Max(), 600);

    pressBar(control<ProgressBar>(w, "positionBar"), Qt::LeftButton, 10, 5);
    QVERIFY(w.isDraggingPosition());
    dragBar(control<ProgressBar>(w, "positionBar"), 158, 5);
    QCOMPARE(f.player.position(), 299.0);
    QCOMPARE(bar->Position(), 299);
    QCOMPARE(bar->PosTextPrefix(), QStringLiteral("0:04:59"));
    QCOMPARE(bar->PosTextSuffix(), QStringLiteral("    [ talk.mp3 ]"));
    QCOMPARE(control<QLabel>(w, "playTimeLabel")->text(), QStringLiteral("0:04:59"));
    QCOMPARE(f.player.playState(), PlayState::Paused);  // seeking leaves the play state

    // While playing it seeks too and keeps playing.
    f.player.play();
    dragBar(control<ProgressBar>(w, "positionBar"), 316, 23);
    QCOMPARE(f.player.position(), 598.0);
    QCOMPARE(f.player.playState(), PlayState::Playing);
    releaseBar(control<ProgressBar>(w, "positionBar"), Qt::LeftButton, 316, 23);
    QVERIFY(!w.isDraggingPosition());
    f.player.log.clear();
    dragBar(control<ProgressBar>(w, "positionBar"), 100, 5);
    QVERIFY(f.player.log.isEmpty());
}

void BarsTest::longNameGivesWayToTime() {
    FormFixture f;
    const QString name =
        QStringLiteral("interview_") + QString(150, QLatin1Char('a')) + QStringLiteral("_end.mp3");
    startWithMedia(f, name, 36000);
    auto* bar = control<ProgressBar>(f.form(), "positionBar");
    f.player.setPosition(35999.5);
    f.player.play();
    f.form().transport().pollPosition();  // the widest time there is
    QCOMPARE(bar->PosTextPrefix(), QStringLiteral("9:59:59"));
    const QString suffix = bar->PosTextSuffix();
    QVERIFY2(suffix.startsWith(QStringLiteral("    [ interview_")) &&
                 suffix.endsWith(QStringLiteral("_end.mp3 ]")) && suffix.contains(QChar(0x2026)),
             qPrintable(suffix));
    QVERIFY(QFontMetrics(bar->font(), bar).horizontalAdvance(bar->text()) <= bar->width());
}

void BarsTest::positionDragIgnoresPointerOffBar() {
    FormFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.form();
    pressBar(control<ProgressBar>(w, "positionBar"), Qt::LeftButton, 10, 5);
    f.player.log.clear();
    // x + 1 must stay within the width, y within 0..height.
    const QPoint offBar[] = {{317, 5}, {-1, 5}, {100, -1}, {100, 24}};
    for (const QPoint& p : offBar)
        dragBar(control<ProgressBar>(w, "positionBar"), p.x(), p.y());
    QVERIFY(f.player.log.isEmpty());
    QCOMPARE(control<ProgressBar>(w, "positionBar")->Position(), 0);
}

void BarsTest::positionBarBeforeLengthIsKnown() {
    FormFixture f;
    f.player.setDurationDelay(1'000'000'000);  // a player that has not told the length yet
    f.writeSettings(transportsetup::kSettings);
    const QString media = f.addMediaFile(QStringLiteral("talk.mp3"), 600);
    QVERIFY(f.start());
    MainWindow& w = f.form();
    w.dropFiles({media});
    QCOMPARE(control<ProgressBar>(w, "positionBar")->Max(), 0);
    QCOMPARE(f.player.playState(), PlayState::Paused);
    f.player.log.clear();
    pressBar(control<ProgressBar>(w, "positionBar"), Qt::LeftButton, 100, 5);
    QVERIFY(!w.isDraggingPosition());
    dragBar(control<ProgressBar>(w, "positionBar"), 158, 5);
    QVERIFY(f.player.log.isEmpty());
    // The release on the bar still clicks; playing ends the length probe, sound on.
    releaseBar(control<ProgressBar>(w, "positionBar"), Qt::LeftButton, 158, 5);
    QCOMPARE(f.player.log, (QStringList{QStringLiteral("play"), QStringLiteral("setMuted 0")}));
    QCOMPARE(f.player.playState(), PlayState::Playing);
}

void BarsTest::positionClickTogglesWithoutRewind() {
    FormFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.form();
    clickBar(control<ProgressBar>(w, "positionBar"));
    QCOMPARE(f.player.playState(), PlayState::Playing);
    QCOMPARE(control<ProgressBar>(w, "positionBar")->FontColor(), QColor(255, 0, 0));
    f.clock.advance(10000);
    transportTimer(w, "repeatTimer")->start();
    transportTimer(w, "rewindSkipTimer")->start();
    transportTimer(w, "forwardSkipTimer")->start();
    f.player.log.clear();
    clickBar(control<ProgressBar>(w, "positionBar"));
    QCOMPARE(f.player.log, QStringList{QStringLiteral("pause")});
    QCOMPARE(f.player.playState(), PlayState::Paused);
    QCOMPARE(f.player.position(), 10.0);
    QVERIFY(!transportTimer(w, "repeatTimer")->isActive());
    QVERIFY(!transportTimer(w, "rewindSkipTimer")->isActive());
    QVERIFY(!transportTimer(w, "forwardSkipTimer")->isActive());
    QCOMPARE(control<ProgressBar>(w, "positionBar")->FontColor(), QColor(0, 0, 0));
}

void BarsTest::positionClickWithoutMediaOnlyStopsTimers() {
    FormFixture f;
    f.writeSettings(transportsetup::kSettings);
    QVERIFY(f.start());
    MainWindow& w = f.form();
    transportTimer(w, "repeatTimer")->start();
    f.player.log.clear();
    clickBar(control<ProgressBar>(w, "positionBar"));
    QVERIFY(!transportTimer(w, "repeatTimer")->isActive());
    QVERIFY(f.player.log.isEmpty());
}

void BarsTest::volumeDragSetsVolume() {
    FormFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.form();
    ProgressBar* bar = control<ProgressBar>(w, "volumeBar");
    QCOMPARE(bar->width(), 317);
    pressBar(control<ProgressBar>(w, "volumeBar"), Qt::LeftButton, 150, 5);
    dragBar(control<ProgressBar>(w, "volumeBar"), 200, 5);
    QCOMPARE(f.player.volume(), 63);
    QCOMPARE(w.transport().volume(), 63);
    QCOMPARE(bar->Position(), 63);
    QCOMPARE(bar->PosTextSuffix(), volumeText(QStringLiteral("63")));

    // Past the right end the last value stays; at the very end it is 100.
    dragBar(control<ProgressBar>(w, "volumeBar"), 330, 5);
    QCOMPARE(f.player.volume(), 63);
    QCOMPARE(w.transport().volume(), 63);
    dragBar(control<ProgressBar>(w, "volumeBar"), 317, 5);
    QCOMPARE(w.transport().volume(), 100);

    dragBar(control<ProgressBar>(w, "volumeBar"), 0, 5);
    QCOMPARE(f.player.volume(), 0);
    QCOMPARE(w.transport().volume(), 0);
    QCOMPARE(bar->Position(), 0);
    QCOMPARE(bar->PosTextSuffix(), volumeText(QStringLiteral("0")));

    // Above or below the bar nothing changes; the vertical bounds are inclusive.
    dragBar(control<ProgressBar>(w, "volumeBar"), 100, -1);
    dragBar(control<ProgressBar>(w, "volumeBar"), 100, 24);
    QCOMPARE(w.transport().volume(), 0);
    dragBar(control<ProgressBar>(w, "volumeBar"), 100, 23);
    QCOMPARE(w.transport().volume(), 31);
}

void BarsTest::volumeDragNeedsPressOnBar() {
    FormFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.form();
    f.player.log.clear();
    dragBar(control<ProgressBar>(w, "volumeBar"), 200, 5);
    QVERIFY(f.player.log.isEmpty());
    pressBar(control<ProgressBar>(w, "volumeBar"), Qt::RightButton, 200, 5);  // any button drags
    dragBar(control<ProgressBar>(w, "volumeBar"), 200, 5);
    QCOMPARE(w.transport().volume(), 63);
    releaseBar(control<ProgressBar>(w, "volumeBar"), Qt::RightButton, 200, 5);
    dragBar(control<ProgressBar>(w, "volumeBar"), 50, 5);
    QCOMPARE(w.transport().volume(), 63);
}

void BarsTest::displayTexts() {
    FormFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.form();
    // What the controllers report, as the window shows it.
    Q_EMIT w.transport().speedTextChanged(QStringLiteral("0.8"));
    Q_EMIT w.transport().volumeTextChanged(QStringLiteral("35"));
    auto* volumeBar = control<ProgressBar>(w, "volumeBar");
    QCOMPARE(volumeBar->text(), QStringLiteral("     再生速度[ 0.8 ］     音量[ 35 ］"));
    Q_EMIT w.transport().positionTextChanged(QStringLiteral("1:00:00"));
    QCOMPARE(control<ProgressBar>(w, "positionBar")->text(),
             QStringLiteral("1:00:00    [ talk.mp3 ]"));
    Q_EMIT w.indexCommands().volumeBarLeadingTextChanged(QString());
    Q_EMIT w.indexCommands().volumeBarTrailingTextChanged(QString());
    QCOMPARE(volumeBar->text(), QString());
}

void BarsTest::realMouseEventsDriveBothBars() {
    FormFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.form();
    transportTimer(w, "positionPollTimer")->stop();  // a real-time poll would race the fake clock
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    ProgressBar* position = control<ProgressBar>(w, "positionBar");
    QTest::mousePress(position, Qt::LeftButton, Qt::NoModifier, QPoint(10, 5));
    QTest::mouseMove(position, QPoint(158, 5));
    QCOMPARE(f.player.position(), 299.0);
    QCOMPARE(control<QLabel>(w, "playTimeLabel")->text(), QStringLiteral("0:04:59"));
    QCOMPARE(position->PosTextPrefix(), QStringLiteral("0:04:59"));
    QCOMPARE(f.player.playState(), PlayState::Paused);
    // The release on the bar is also a click: it plays from where the drag left off.
    QTest::mouseRelease(position, Qt::LeftButton, Qt::NoModifier, QPoint(158, 5));
    QVERIFY(!w.isDraggingPosition());
    QCOMPARE(f.player.playState(), PlayState::Playing);
    QCOMPARE(f.player.position(), 299.0);

    ProgressBar* volume = control<ProgressBar>(w, "volumeBar");
    QTest::mousePress(volume, Qt::LeftButton, Qt::NoModifier, QPoint(100, 5));
    QTest::mouseMove(volume, QPoint(0, 5));
    QTest::mouseRelease(volume, Qt::LeftButton, Qt::NoModifier, QPoint(0, 5));
    QCOMPARE(f.player.volume(), 0);
    QCOMPARE(w.transport().volume(), 0);
    QCOMPARE(volume->PosTextSuffix(), volumeText(QStringLiteral("0")));
    QVERIFY(!w.isDraggingVolume());
    QCOMPARE(f.player.playState(), PlayState::Playing);  // the volume bar's click does nothing
    QVERIFY(f.dialogs.errors.isEmpty());
}

void BarsTest::clickErrorReachesErrorBox() {
    FormFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.form();
    transportTimer(w, "positionPollTimer")->stop();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    f.player.play();
    transportTimer(w, "repeatTimer")->start();
    transportTimer(w, "forwardSkipTimer")->start();
    f.player.failNext(QStringLiteral("pause"));
    QTest::mouseClick(control<ProgressBar>(w, "positionBar"), Qt::LeftButton, Qt::NoModifier,
                      QPoint(50, 5));
    QCOMPARE(f.dialogs.errors.size(), 1);
    QVERIFY(f.dialogs.errors.first().contains(QStringLiteral("pause")));
    QCOMPARE(f.player.playState(), PlayState::Playing);
    QVERIFY(!transportTimer(w, "repeatTimer")->isActive());  // stopped before the failing call
    QVERIFY(!transportTimer(w, "forwardSkipTimer")->isActive());
}

QTEST_MAIN(BarsTest)
#include "bars_test.moc"
