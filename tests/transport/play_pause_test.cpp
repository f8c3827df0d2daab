// Play/pause with the automatic rewind, the toolbar toggle, repeat play and the position poll,
// on the fake player.

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "core/profile_file.h"
#include "fakes/transport_setup.h"
#include "fakes/window_fixture.h"
#include "transport/media_player.h"

using transportsetup::startWavRestored;
using transportsetup::startWithMedia;
using transportsetup::startWithoutMedia;

class PlayPauseTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void pauseRewindsByChosenSeconds_data();
    void pauseRewindsByChosenSeconds();
    void resumePlaysFromRewoundPosition();
    void withoutMediaNothingHappens();
    void restoredWavIsLikeAnyOther();
    void toolbarTogglesWithoutRewind();
    void toolbarForgetsVanishedFile();
    void toolbarErrorEndsHandlerAtFailingCall();
    void playStateShowsPlayerValues();
    void repeatWithoutPositionNeverSeeks();
    void repeatRestartsAtPositionEachTick();
    void changedIntervalAppliesToRunningTimer();
    void rewindChoiceAppliesAndIsStored();
    void commandsStopRepeat();
    void pollWhilePausedChangesNothing();
    void pollWhilePlayingShowsPosition();
    void pollKeepsBarAtZeroUntilLengthKnown();
};

void PlayPauseTest::pauseRewindsByChosenSeconds_data() {
    QTest::addColumn<int>("item");
    QTest::addColumn<int>("playMs");
    QTest::addColumn<double>("expected");
    QTest::newRow("0.6 s at 0.4 s stops at 0") << 1 << 400 << 0.0;
    QTest::newRow("item 7 at 10 s") << 7 << 10000 << 7.5;
    QTest::newRow("item 0 keeps position") << 0 << 10000 << 10.0;
    QTest::newRow("no selection rewinds 1 s") << -1 << 10000 << 9.0;
    QTest::newRow("9.8 s at 30 s") << 17 << 30000 << 20.2;
}

void PlayPauseTest::pauseRewindsByChosenSeconds() {
    QFETCH(int, item);
    QFETCH(int, playMs);
    QFETCH(double, expected);
    SessionFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    f.session().choose(Setting::AutoRewind, item);

    f.transport().playPause();
    QCOMPARE(f.player.playState(), PlayState::Playing);
    QVERIFY(f.transport().playToggled());
    f.clock.advance(playMs);
    f.transport().playPause();
    QCOMPARE(f.player.playState(), PlayState::Paused);
    QVERIFY(!f.transport().playToggled());
    QCOMPARE(f.player.position(), expected);
    // The display shows where the player rests, not where it was before the rewind.
    QCOMPARE(f.transport().shownSeconds(), int(expected));
    // The seek comes after the pause, so the player rests at the rewound position.
    QCOMPARE(f.player.log.mid(f.player.log.size() - 2),
             (QStringList{QStringLiteral("pause"),
                          QStringLiteral("setPosition ") + QString::number(expected)}));
}

void PlayPauseTest::resumePlaysFromRewoundPosition() {
    SessionFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    QCOMPARE(f.transport().rewindSeconds(), 2.5);
    f.transport().playPause();
    f.clock.advance(10000);
    f.transport().playPause();
    QCOMPARE(f.player.position(), 7.5);
    f.transport().playPause();
    QVERIFY(f.transport().playToggled());
    QCOMPARE(f.player.playState(), PlayState::Playing);
    f.clock.advance(1000);
    QCOMPARE(f.player.position(), 8.5);
}

void PlayPauseTest::withoutMediaNothingHappens() {
    SessionFixture f;
    startWithoutMedia(f);
    transportTimer(f, "repeatTimer")->start();
    transportTimer(f, "rewindSkipTimer")->start();
    f.player.log.clear();
    f.transport().playPause();
    QVERIFY(f.player.log.isEmpty());
    QVERIFY(!f.transport().playToggled());
    // The timers stop before the media is asked for.
    QVERIFY(!transportTimer(f, "repeatTimer")->isActive());
    QVERIFY(!transportTimer(f, "rewindSkipTimer")->isActive());
    f.transport().togglePlay();
    QVERIFY(f.player.log.isEmpty());
}

void PlayPauseTest::restoredWavIsLikeAnyOther() {
    SessionFixture f;
    startWavRestored(f, 20);
    f.session().choose(Setting::SpeedChoice, 4);
    const double chosen = f.player.rate();
    QVERIFY(chosen != 1.0);
    f.transport().playPause();
    QCOMPARE(f.player.playState(), PlayState::Playing);
    f.clock.advance(4000);
    f.transport().playPause();
    QCOMPARE(f.player.playState(), PlayState::Paused);
    QCOMPARE(f.player.rate(), chosen);
    QCOMPARE(f.player.position(), 20 + 4 * chosen - f.transport().rewindSeconds());
}

void PlayPauseTest::toolbarTogglesWithoutRewind() {
    WindowFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.window();
    f.transport().setPlayToggled(false);
    control<QAction>(w, "playPauseAction")->trigger();
    QCOMPARE(f.player.playState(), PlayState::Playing);
    QVERIFY(!f.transport().playToggled());
    f.clock.advance(10000);
    f.transport().setPlayToggled(true);
    transportTimer(f, "repeatTimer")->start();
    control<QAction>(w, "playPauseAction")->trigger();
    QCOMPARE(f.player.playState(), PlayState::Paused);
    QCOMPARE(f.player.position(), 10.0);
    QVERIFY(f.transport().playToggled());
    QVERIFY(!transportTimer(f, "repeatTimer")->isActive());
    QCOMPARE(control<ProgressBar>(w, "positionBar")->fontColor(), QColor(0, 0, 0));
}

void PlayPauseTest::toolbarForgetsVanishedFile() {
    SessionFixture f;
    const QString media = startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    QVERIFY(QFile::remove(media));
    transportTimer(f, "repeatTimer")->start();
    f.player.log.clear();
    f.session().run([&] { f.transport().togglePlay(); });
    QVERIFY(f.transport().mediaPath().isEmpty());
    QVERIFY(f.player.log.isEmpty());
    QCOMPARE(f.player.playState(), PlayState::Paused);
    QVERIFY(!transportTimer(f, "repeatTimer")->isActive());
}

void PlayPauseTest::toolbarErrorEndsHandlerAtFailingCall() {
    SessionFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    transportTimer(f, "repeatTimer")->start();
    transportTimer(f, "rewindSkipTimer")->start();
    f.player.failNext(QStringLiteral("play"));
    QVERIFY(!f.session().run([&] { f.transport().togglePlay(); }));
    QCOMPARE(f.dialogs.errors.size(), 1);
    QVERIFY(f.dialogs.errors.first().contains(QStringLiteral("play")));
    QCOMPARE(f.player.playState(), PlayState::Paused);
    QVERIFY(!transportTimer(f, "repeatTimer")->isActive());     // stopped before the failing call
    QVERIFY(transportTimer(f, "rewindSkipTimer")->isActive());  // PlayState never ran
}

void PlayPauseTest::playStateShowsPlayerValues() {
    WindowFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.window();
    f.player.setRate(1.25);
    f.player.setVolume(80);
    f.player.play();
    transportTimer(f, "forwardSkipTimer")->start();
    f.transport().refreshPlayState();
    QVERIFY(!transportTimer(f, "forwardSkipTimer")->isActive());
    QCOMPARE(control<ProgressBar>(w, "positionBar")->fontColor(), QColor(255, 0, 0));
    QCOMPARE(control<ProgressBar>(w, "volumeBar")->positionTextPrefix(),
             QStringLiteral("     再生速度[ 1.3 ］"));
    QCOMPARE(control<ProgressBar>(w, "volumeBar")->positionTextSuffix(),
             QStringLiteral("     音量[ 80 ］"));
    QCOMPARE(control<ProgressBar>(w, "volumeBar")->position(), 50);  // the bar itself is left alone
    f.player.pause();
    f.transport().refreshPlayState();
    QCOMPARE(control<ProgressBar>(w, "positionBar")->fontColor(), QColor(0, 0, 0));
}

void PlayPauseTest::repeatWithoutPositionNeverSeeks() {
    SessionFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    QCOMPARE(f.transport().repeatPosition(), 0.0);
    f.player.log.clear();
    f.transport().replay();
    QVERIFY(transportTimer(f, "repeatTimer")->isActive());
    for (int i = 0; i < 3; ++i)
        f.transport().repeatTick();
    QCOMPARE(f.player.count(QStringLiteral("setPosition")), 0);
    QCOMPARE(f.player.count(QStringLiteral("play")), 0);
    QCOMPARE(f.player.playState(), PlayState::Paused);
    QVERIFY(transportTimer(f, "repeatTimer")->isActive());
}

void PlayPauseTest::repeatRestartsAtPositionEachTick() {
    SessionFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    f.transport().setRepeatPosition(30);
    f.transport().replay();
    QVERIFY(transportTimer(f, "repeatTimer")->isActive());
    QCOMPARE(transportTimer(f, "repeatTimer")->interval(), 5000);
    QCOMPARE(f.player.playState(), PlayState::Playing);
    QCOMPARE(f.player.position(), 30.0);

    f.clock.advance(4000);
    f.player.log.clear();
    f.transport().repeatTick();
    QCOMPARE(f.player.log, (QStringList{QStringLiteral("pause"), QStringLiteral("setPosition 30"),
                                        QStringLiteral("play")}));
    QCOMPARE(f.player.position(), 30.0);

    // Paused in between by someone else: the tick plays again from the same place.
    f.clock.advance(1500);
    f.player.pause();
    f.player.log.clear();
    f.transport().repeatTick();
    QCOMPARE(f.player.log, (QStringList{QStringLiteral("setPosition 30"), QStringLiteral("play")}));
    QCOMPARE(f.player.playState(), PlayState::Playing);
    QVERIFY(transportTimer(f, "repeatTimer")->isActive());
}

void PlayPauseTest::changedIntervalAppliesToRunningTimer() {
    SessionFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    f.transport().setRepeatPosition(30);
    f.transport().replay();
    f.session().choose(Setting::RepeatInterval, 6);
    QCOMPARE(f.transport().repeatInterval(), 20000);
    QCOMPARE(transportTimer(f, "repeatTimer")->interval(), 20000);
    QVERIFY(transportTimer(f, "repeatTimer")->isActive());
    QCOMPARE(ProfileFile(f.settings().path())
                 .readInteger(QStringLiteral("Play"), QStringLiteral("RepeatTime"), -9),
             6);
    f.session().choose(Setting::RepeatInterval, -1);
    QCOMPARE(transportTimer(f, "repeatTimer")->interval(), 2000);
}

void PlayPauseTest::rewindChoiceAppliesAndIsStored() {
    SessionFixture f;
    // Before start-up the choice waits for the settings to be applied.
    f.session().choose(Setting::AutoRewind, 3);
    QCOMPARE(f.transport().rewindSeconds(), 3.0);

    SessionFixture g;
    startWithMedia(g, QStringLiteral("talk.mp3"), 600);
    g.session().choose(Setting::AutoRewind, 3);
    QCOMPARE(g.transport().rewindSeconds(), 1.2);
    QCOMPARE(ProfileFile(g.settings().path())
                 .readInteger(QStringLiteral("Play"), QStringLiteral("AutoBackSpace"), -9),
             3);
}

void PlayPauseTest::commandsStopRepeat() {
    SessionFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    f.transport().setRepeatPosition(30);
    const std::pair<const char*, std::function<void()>> commands[] = {
        {"PlayPause", [&] { f.transport().playPause(); }},
        {"toolbar", [&] { f.transport().togglePlay(); }},
        {"position bar click", [&] { f.transport().togglePlayFromBar(); }},
        {"set time", [&] { f.session().seekToPickedTime(); }},
    };
    for (const auto& [name, command] : commands) {
        f.transport().replay();
        QVERIFY(transportTimer(f, "repeatTimer")->isActive());
        command();
        QVERIFY2(!transportTimer(f, "repeatTimer")->isActive(), name);
    }
    QVERIFY(f.dialogs.errors.isEmpty());
}

void PlayPauseTest::pollWhilePausedChangesNothing() {
    WindowFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.window();
    f.player.setPosition(42);
    control<QLabel>(w, "playTimeLabel")->setText(QStringLiteral("keep"));
    const QString prefix = control<ProgressBar>(w, "positionBar")->positionTextPrefix();
    const int shown = f.transport().shownSeconds();
    f.transport().pollPosition();
    QCOMPARE(control<QLabel>(w, "playTimeLabel")->text(), QStringLiteral("keep"));
    QCOMPARE(control<ProgressBar>(w, "positionBar")->positionTextPrefix(), prefix);
    QCOMPARE(control<ProgressBar>(w, "positionBar")->position(), 0);
    QCOMPARE(f.transport().shownSeconds(), shown);
}

void PlayPauseTest::pollWhilePlayingShowsPosition() {
    WindowFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.window();
    f.player.setPosition(75);
    f.player.play();
    f.clock.advance(500);
    f.transport().pollPosition();
    QCOMPARE(f.transport().polledDuration(), 600.0);
    QCOMPARE(f.transport().shownSeconds(), 75);
    QCOMPARE(control<QLabel>(w, "playTimeLabel")->text(), QStringLiteral("0:01:15"));
    QCOMPARE(control<ProgressBar>(w, "positionBar")->positionTextPrefix(),
             QStringLiteral("0:01:15"));
    QCOMPARE(control<ProgressBar>(w, "positionBar")->positionTextSuffix(),
             QStringLiteral("    [ talk.mp3 ]"));
    QCOMPARE(control<ProgressBar>(w, "positionBar")->position(), 75);
}

void PlayPauseTest::pollKeepsBarAtZeroUntilLengthKnown() {
    WindowFixture f;
    f.player.setDurationDelay(1'000'000'000);  // a player that has not told the length yet
    const QString media = f.addMediaFile(QStringLiteral("talk.mp3"), 600);
    startWithoutMedia(f);
    MainWindow& w = f.window();
    f.session().dropFiles({media});  // no length probe yet
    QCOMPARE(control<ProgressBar>(w, "positionBar")->maximum(), 0);
    f.player.play();
    f.clock.advance(3000);
    f.transport().pollPosition();
    QCOMPARE(control<QLabel>(w, "playTimeLabel")->text(), QStringLiteral("0:00:03"));
    QCOMPARE(f.transport().shownSeconds(), 3);
    QCOMPARE(control<ProgressBar>(w, "positionBar")->position(), 0);
}

QTEST_MAIN(PlayPauseTest)
#include "play_pause_test.moc"
