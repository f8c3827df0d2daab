// The position and volume bars: their texts, dragging to seek or set the volume, and the click
// that plays or pauses; once also through real mouse events.

#include <QFontMetrics>
#include <QLabel>
#include <QTimer>
#include <QtTest>

#include "fakes/transport_setup.h"
#include "fakes/window_fixture.h"
#include "transport/media_player.h"

using transportsetup::startWithMedia;

namespace {
QString volumeText(const QString& volume) {
    return QStringLiteral("     音量[ ") + volume + QStringLiteral(" ］");
}
}  // namespace

namespace {
// Whether a drag across the bar now reaches the player: only one begun by a press on the bar.
bool dragMoves(ProgressBar* bar, QStringList& playerLog) {
    playerLog.clear();
    dragBar(bar, 40, 5);
    return !playerLog.isEmpty();
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
    WindowFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.window();
    ProgressBar* bar = control<ProgressBar>(w, "positionBar");
    QCOMPARE(bar->width(), 317);
    QCOMPARE(bar->maximum(), 600);

    pressBar(control<ProgressBar>(w, "positionBar"), Qt::LeftButton, 10, 5);
    dragBar(control<ProgressBar>(w, "positionBar"), 158, 5);
    QCOMPARE(f.player.position(), 299.0);
    QCOMPARE(bar->position(), 299);
    QCOMPARE(bar->positionTextPrefix(), QStringLiteral("0:04:59"));
    QCOMPARE(bar->positionTextSuffix(), QStringLiteral("    [ talk.mp3 ]"));
    QCOMPARE(control<QLabel>(w, "playTimeLabel")->text(), QStringLiteral("0:04:59"));
    QCOMPARE(f.player.playState(), PlayState::Paused);  // seeking leaves the play state

    // While playing it seeks too and keeps playing.
    f.player.play();
    dragBar(control<ProgressBar>(w, "positionBar"), 316, 23);
    QCOMPARE(f.player.position(), 598.0);
    QCOMPARE(f.player.playState(), PlayState::Playing);
    releaseBar(control<ProgressBar>(w, "positionBar"), Qt::LeftButton, 316, 23);
    QVERIFY(!dragMoves(control<ProgressBar>(w, "positionBar"), f.player.log));
    f.player.log.clear();
    dragBar(control<ProgressBar>(w, "positionBar"), 100, 5);
    QVERIFY(f.player.log.isEmpty());
}

void BarsTest::longNameGivesWayToTime() {
    WindowFixture f;
    const QString name =
        QStringLiteral("interview_") + QString(150, QLatin1Char('a')) + QStringLiteral("_end.mp3");
    startWithMedia(f, name, 36000);
    auto* bar = control<ProgressBar>(f.window(), "positionBar");
    f.player.setPosition(35999.5);
    f.player.play();
    f.transport().pollPosition();  // the widest time there is
    QCOMPARE(bar->positionTextPrefix(), QStringLiteral("9:59:59"));
    const QString suffix = bar->positionTextSuffix();
    QVERIFY2(suffix.startsWith(QStringLiteral("    [ interview_")) &&
                 suffix.endsWith(QStringLiteral("_end.mp3 ]")) && suffix.contains(QChar(0x2026)),
             qPrintable(suffix));
    QVERIFY(QFontMetrics(bar->font(), bar).horizontalAdvance(bar->text()) <= bar->width());
}

void BarsTest::positionDragIgnoresPointerOffBar() {
    WindowFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.window();
    pressBar(control<ProgressBar>(w, "positionBar"), Qt::LeftButton, 10, 5);
    f.player.log.clear();
    // x + 1 must stay within the width, y within 0..height.
    const QPoint offBar[] = {{317, 5}, {-1, 5}, {100, -1}, {100, 24}};
    for (const QPoint& p : offBar)
        dragBar(control<ProgressBar>(w, "positionBar"), p.x(), p.y());
    QVERIFY(f.player.log.isEmpty());
    QCOMPARE(control<ProgressBar>(w, "positionBar")->position(), 0);
}

void BarsTest::positionBarBeforeLengthIsKnown() {
    WindowFixture f;
    f.player.setDurationDelay(1'000'000'000);  // a player that has not told the length yet
    const QString media = f.addMediaFile(QStringLiteral("talk.mp3"), 600);
    transportsetup::startWithoutMedia(f);
    MainWindow& w = f.window();
    f.session().dropFiles({media});
    QCOMPARE(control<ProgressBar>(w, "positionBar")->maximum(), 0);
    QCOMPARE(f.player.playState(), PlayState::Paused);
    f.player.log.clear();
    pressBar(control<ProgressBar>(w, "positionBar"), Qt::LeftButton, 100, 5);
    QVERIFY(!dragMoves(control<ProgressBar>(w, "positionBar"), f.player.log));
    dragBar(control<ProgressBar>(w, "positionBar"), 158, 5);
    QVERIFY(f.player.log.isEmpty());
    // The release on the bar still clicks; playing ends the length probe, sound on.
    releaseBar(control<ProgressBar>(w, "positionBar"), Qt::LeftButton, 158, 5);
    QCOMPARE(f.player.log, (QStringList{QStringLiteral("play"), QStringLiteral("setMuted 0")}));
    QCOMPARE(f.player.playState(), PlayState::Playing);
}

void BarsTest::positionClickTogglesWithoutRewind() {
    WindowFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.window();
    clickBar(control<ProgressBar>(w, "positionBar"));
    QCOMPARE(f.player.playState(), PlayState::Playing);
    QCOMPARE(control<ProgressBar>(w, "positionBar")->fontColor(), QColor(255, 0, 0));
    f.clock.advance(10000);
    transportTimer(f, "repeatTimer")->start();
    transportTimer(f, "rewindSkipTimer")->start();
    transportTimer(f, "forwardSkipTimer")->start();
    f.player.log.clear();
    clickBar(control<ProgressBar>(w, "positionBar"));
    QCOMPARE(f.player.log, QStringList{QStringLiteral("pause")});
    QCOMPARE(f.player.playState(), PlayState::Paused);
    QCOMPARE(f.player.position(), 10.0);
    QVERIFY(!transportTimer(f, "repeatTimer")->isActive());
    QVERIFY(!transportTimer(f, "rewindSkipTimer")->isActive());
    QVERIFY(!transportTimer(f, "forwardSkipTimer")->isActive());
    QCOMPARE(control<ProgressBar>(w, "positionBar")->fontColor(), QColor(0, 0, 0));
}

void BarsTest::positionClickWithoutMediaOnlyStopsTimers() {
    SessionFixture f;
    transportsetup::startWithoutMedia(f);
    transportTimer(f, "repeatTimer")->start();
    f.player.log.clear();
    f.transport().togglePlayFromBar();
    QVERIFY(!transportTimer(f, "repeatTimer")->isActive());
    QVERIFY(f.player.log.isEmpty());
}

void BarsTest::volumeDragSetsVolume() {
    WindowFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.window();
    ProgressBar* bar = control<ProgressBar>(w, "volumeBar");
    QCOMPARE(bar->width(), 317);
    pressBar(control<ProgressBar>(w, "volumeBar"), Qt::LeftButton, 150, 5);
    dragBar(control<ProgressBar>(w, "volumeBar"), 200, 5);
    QCOMPARE(f.player.volume(), 63);
    QCOMPARE(f.transport().volume(), 63);
    QCOMPARE(bar->position(), 63);
    QCOMPARE(bar->positionTextSuffix(), volumeText(QStringLiteral("63")));

    // Past the right end the last value stays; at the very end it is 100.
    dragBar(control<ProgressBar>(w, "volumeBar"), 330, 5);
    QCOMPARE(f.player.volume(), 63);
    QCOMPARE(f.transport().volume(), 63);
    dragBar(control<ProgressBar>(w, "volumeBar"), 317, 5);
    QCOMPARE(f.transport().volume(), 100);

    dragBar(control<ProgressBar>(w, "volumeBar"), 0, 5);
    QCOMPARE(f.player.volume(), 0);
    QCOMPARE(f.transport().volume(), 0);
    QCOMPARE(bar->position(), 0);
    QCOMPARE(bar->positionTextSuffix(), volumeText(QStringLiteral("0")));

    // Above or below the bar nothing changes; the vertical bounds are inclusive.
    dragBar(control<ProgressBar>(w, "volumeBar"), 100, -1);
    dragBar(control<ProgressBar>(w, "volumeBar"), 100, 24);
    QCOMPARE(f.transport().volume(), 0);
    dragBar(control<ProgressBar>(w, "volumeBar"), 100, 23);
    QCOMPARE(f.transport().volume(), 31);
}

void BarsTest::volumeDragNeedsPressOnBar() {
    WindowFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.window();
    f.player.log.clear();
    dragBar(control<ProgressBar>(w, "volumeBar"), 200, 5);
    QVERIFY(f.player.log.isEmpty());
    pressBar(control<ProgressBar>(w, "volumeBar"), Qt::RightButton, 200, 5);  // any button drags
    dragBar(control<ProgressBar>(w, "volumeBar"), 200, 5);
    QCOMPARE(f.transport().volume(), 63);
    releaseBar(control<ProgressBar>(w, "volumeBar"), Qt::RightButton, 200, 5);
    dragBar(control<ProgressBar>(w, "volumeBar"), 50, 5);
    QCOMPARE(f.transport().volume(), 63);
}

void BarsTest::displayTexts() {
    WindowFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.window();
    // What the controllers report, as the window shows it.
    Q_EMIT f.transport().speedTextChanged(QStringLiteral("0.8"));
    Q_EMIT f.transport().volumeTextChanged(QStringLiteral("35"));
    auto* volumeBar = control<ProgressBar>(w, "volumeBar");
    QCOMPARE(volumeBar->text(), QStringLiteral("     再生速度[ 0.8 ］     音量[ 35 ］"));
    Q_EMIT f.transport().positionTextChanged(QStringLiteral("1:00:00"));
    QCOMPARE(control<ProgressBar>(w, "positionBar")->text(),
             QStringLiteral("1:00:00    [ talk.mp3 ]"));
    Q_EMIT f.session().indexCommands().volumeBarLeadingTextChanged(QString());
    Q_EMIT f.session().indexCommands().volumeBarTrailingTextChanged(QString());
    QCOMPARE(volumeBar->text(), QString());
}

void BarsTest::realMouseEventsDriveBothBars() {
    WindowFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.window();
    transportTimer(f, "positionPollTimer")->stop();  // a real-time poll would race the fake clock
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    ProgressBar* position = control<ProgressBar>(w, "positionBar");
    QTest::mousePress(position, Qt::LeftButton, Qt::NoModifier, QPoint(10, 5));
    QTest::mouseMove(position, QPoint(158, 5));
    QCOMPARE(f.player.position(), 299.0);
    QCOMPARE(control<QLabel>(w, "playTimeLabel")->text(), QStringLiteral("0:04:59"));
    QCOMPARE(position->positionTextPrefix(), QStringLiteral("0:04:59"));
    QCOMPARE(f.player.playState(), PlayState::Paused);
    // The release on the bar is also a click: it plays from where the drag left off.
    QTest::mouseRelease(position, Qt::LeftButton, Qt::NoModifier, QPoint(158, 5));
    QVERIFY(!dragMoves(control<ProgressBar>(w, "positionBar"), f.player.log));
    QCOMPARE(f.player.playState(), PlayState::Playing);
    QCOMPARE(f.player.position(), 299.0);

    ProgressBar* volume = control<ProgressBar>(w, "volumeBar");
    QTest::mousePress(volume, Qt::LeftButton, Qt::NoModifier, QPoint(100, 5));
    QTest::mouseMove(volume, QPoint(0, 5));
    QTest::mouseRelease(volume, Qt::LeftButton, Qt::NoModifier, QPoint(0, 5));
    QCOMPARE(f.player.volume(), 0);
    QCOMPARE(f.transport().volume(), 0);
    QCOMPARE(volume->positionTextSuffix(), volumeText(QStringLiteral("0")));
    QVERIFY(!dragMoves(volume, f.player.log));
    QCOMPARE(f.player.playState(), PlayState::Playing);  // the volume bar's click does nothing
    QVERIFY(f.dialogs.errors.isEmpty());
}

void BarsTest::clickErrorReachesErrorBox() {
    WindowFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.window();
    transportTimer(f, "positionPollTimer")->stop();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    f.player.play();
    transportTimer(f, "repeatTimer")->start();
    transportTimer(f, "forwardSkipTimer")->start();
    f.player.failNext(QStringLiteral("pause"));
    QTest::mouseClick(control<ProgressBar>(w, "positionBar"), Qt::LeftButton, Qt::NoModifier,
                      QPoint(50, 5));
    QCOMPARE(f.dialogs.errors.size(), 1);
    QVERIFY(f.dialogs.errors.first().contains(QStringLiteral("pause")));
    QCOMPARE(f.player.playState(), PlayState::Playing);
    QVERIFY(!transportTimer(f, "repeatTimer")->isActive());  // stopped before the failing call
    QVERIFY(!transportTimer(f, "forwardSkipTimer")->isActive());
}

QTEST_MAIN(BarsTest)
#include "bars_test.moc"
