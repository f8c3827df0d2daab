// Play/pause with the automatic rewind, the toolbar toggle, repeat play and the position poll,
// on the fake player.

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <functional>

#include "core/profile_file.h"
#include "fakes/form_fixture.h"
#include "fakes/transport_setup.h"
#include "transport/media_player.h"

using transportsetup::startWithMedia;

namespace {
// A WAV file restored at start-up with a saved position, which puts the window in WAV mode.
QString startWavRestored(FormFixture& f, double savedPosition) {
    const QString media = f.addMediaFile(QStringLiteral("talk.wav"), 600);
    f.writeSettings(transportsetup::kSettings + "[General]\nFile=" + media.toUtf8() +
                    "\n[Record]\nPosition=" + QByteArray::number(savedPosition) + "\n");
    if (!f.start()) qFatal("the window refused to start");
    f.clock.advance(1000);
    f.form().transport().finishLengthProbe();
    return media;
}
}  // namespace

class PlayPauseTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void pauseRewindsByChosenSeconds_data();
    void pauseRewindsByChosenSeconds();
    void resumePlaysFromRewoundPosition();
    void withoutMediaNothingHappens();
    void wavModeNeverRewinds();
    void wavModeLeavesEndedMediaAlone();
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
    void pollInWavModeUsesPlayerString();
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
    FormFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.form();
    control<RadioGroup>(w, "autoRewindGroup")->setItemIndex(item);

    w.transport().playPause();
    QCOMPARE(f.player.playState(), PlayState::Playing);
    QVERIFY(w.transport().playToggled());
    f.clock.advance(playMs);
    w.transport().playPause();
    QCOMPARE(f.player.playState(), PlayState::Paused);
    QVERIFY(!w.transport().playToggled());
    QCOMPARE(f.player.position(), expected);
    // The seek comes after the pause, so the player rests at the rewound position.
    QCOMPARE(f.player.log.mid(f.player.log.size() - 2),
             (QStringList{QStringLiteral("pause"),
                          QStringLiteral("setPosition ") + QString::number(expected)}));
}

void PlayPauseTest::resumePlaysFromRewoundPosition() {
    FormFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.form();
    QCOMPARE(w.transport().rewindSeconds(), 2.5);
    w.transport().playPause();
    f.clock.advance(10000);
    w.transport().playPause();
    QCOMPARE(f.player.position(), 7.5);
    w.transport().playPause();
    QVERIFY(w.transport().playToggled());
    QCOMPARE(f.player.playState(), PlayState::Playing);
    f.clock.advance(1000);
    QCOMPARE(f.player.position(), 8.5);
}

void PlayPauseTest::withoutMediaNothingHappens() {
    FormFixture f;
    f.writeSettings(transportsetup::kSettings);
    QVERIFY(f.start());
    MainWindow& w = f.form();
    transportTimer(w, "repeatTimer")->start();
    transportTimer(w, "rewindSkipTimer")->start();
    f.player.log.clear();
    w.transport().playPause();
    QVERIFY(f.player.log.isEmpty());
    QVERIFY(!w.transport().playToggled());
    // The timers stop before the media is asked for.
    QVERIFY(!transportTimer(w, "repeatTimer")->isActive());
    QVERIFY(!transportTimer(w, "rewindSkipTimer")->isActive());
    control<QAction>(w, "playPauseAction")->trigger();
    QVERIFY(f.player.log.isEmpty());
}

void PlayPauseTest::wavModeNeverRewinds() {
    FormFixture f;
    startWavRestored(f, 20);
    MainWindow& w = f.form();
    QVERIFY(w.transport().wavMode());
    QCOMPARE(f.player.position(), 20.0);
    QCOMPARE(f.player.playState(), PlayState::Paused);

    w.transport().playPause();
    QCOMPARE(f.player.playState(), PlayState::Playing);
    f.clock.advance(2000);
    f.player.setRate(1.5);  // changed behind the window's back
    f.clock.advance(2000);  // 22 s + 2 s x 1.5
    f.player.log.clear();
    w.transport().playPause();
    QCOMPARE(f.player.playState(), PlayState::Paused);
    QCOMPARE(f.player.rate(), 1.0);
    QCOMPARE(f.player.position(), 25.0);
    QCOMPARE(w.transport().savedPosition(), 25.0);
    QCOMPARE(f.player.count(QStringLiteral("setPosition")), 0);
    QCOMPARE(control<ProgressBar>(w, "volumeBar")->PosTextPrefix(),
             QStringLiteral("     再生速度[ 1.0 ］"));
}

void PlayPauseTest::wavModeLeavesEndedMediaAlone() {
    FormFixture f;
    startWavRestored(f, 598);
    MainWindow& w = f.form();
    f.player.play();
    f.clock.advance(5000);
    QCOMPARE(f.player.playState(), PlayState::MediaEnded);
    f.player.log.clear();
    w.transport().playPause();
    // Only the forced rate: neither play nor pause in a state other than 1, 2 or 3.
    QCOMPARE(f.player.log, QStringList{QStringLiteral("setRate 1")});
    QCOMPARE(f.player.playState(), PlayState::MediaEnded);
}

void PlayPauseTest::toolbarTogglesWithoutRewind() {
    FormFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.form();
    w.transport().setPlayToggled(false);
    control<QAction>(w, "playPauseAction")->trigger();
    QCOMPARE(f.player.playState(), PlayState::Playing);
    QVERIFY(!w.transport().playToggled());
    f.clock.advance(10000);
    w.transport().setPlayToggled(true);
    transportTimer(w, "repeatTimer")->start();
    control<QAction>(w, "playPauseAction")->trigger();
    QCOMPARE(f.player.playState(), PlayState::Paused);
    QCOMPARE(f.player.position(), 10.0);
    QVERIFY(w.transport().playToggled());
    QVERIFY(!transportTimer(w, "repeatTimer")->isActive());
    QCOMPARE(control<ProgressBar>(w, "positionBar")->FontColor(), QColor(0, 0, 0));
}

void PlayPauseTest::toolbarForgetsVanishedFile() {
    FormFixture f;
    const QString media = startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.form();
    QVERIFY(QFile::remove(media));
    transportTimer(w, "repeatTimer")->start();
    f.player.log.clear();
    control<QAction>(w, "playPauseAction")->trigger();
    QVERIFY(w.transport().mediaPath().isEmpty());
    QVERIFY(f.player.log.isEmpty());
    QCOMPARE(f.player.playState(), PlayState::Paused);
    QVERIFY(!transportTimer(w, "repeatTimer")->isActive());
}

void PlayPauseTest::toolbarErrorEndsHandlerAtFailingCall() {
    FormFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.form();
    transportTimer(w, "repeatTimer")->start();
    transportTimer(w, "rewindSkipTimer")->start();
    f.player.failNext(QStringLiteral("play"));
    control<QAction>(w, "playPauseAction")->trigger();
    QCOMPARE(f.dialogs.errors.size(), 1);
    QVERIFY(f.dialogs.errors.first().contains(QStringLiteral("play")));
    QCOMPARE(f.player.playState(), PlayState::Paused);
    QVERIFY(!transportTimer(w, "repeatTimer")->isActive());     // stopped before the failing call
    QVERIFY(transportTimer(w, "rewindSkipTimer")->isActive());  // PlayState never ran
}

void PlayPauseTest::playStateShowsPlayerValues() {
    FormFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.form();
    f.player.setRate(1.25);
    f.player.setVolume(80);
    f.player.play();
    transportTimer(w, "forwardSkipTimer")->start();
    w.transport().refreshPlayState();
    QVERIFY(!transportTimer(w, "forwardSkipTimer")->isActive());
    QCOMPARE(control<ProgressBar>(w, "positionBar")->FontColor(), QColor(255, 0, 0));
    QCOMPARE(control<ProgressBar>(w, "volumeBar")->PosTextPrefix(),
             QStringLiteral("     再生速度[ 1.3 ］"));
    QCOMPARE(control<ProgressBar>(w, "volumeBar")->PosTextSuffix(),
             QStringLiteral("     音量[ 80 ］"));
    QCOMPARE(control<ProgressBar>(w, "volumeBar")->Position(), 50);  // the bar itself is left alone
    f.player.pause();
    w.transport().refreshPlayState();
    QCOMPARE(control<ProgressBar>(w, "positionBar")->FontColor(), QColor(0, 0, 0));
}

void PlayPauseTest::repeatWithoutPositionNeverSeeks() {
    FormFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.form();
    QCOMPARE(w.transport().repeatPosition(), 0.0);
    f.player.log.clear();
    w.transport().replay();
    QVERIFY(transportTimer(w, "repeatTimer")->isActive());
    for (int i = 0; i < 3; ++i)
        w.transport().repeatTick();
    QCOMPARE(f.player.count(QStringLiteral("setPosition")), 0);
    QCOMPARE(f.player.count(QStringLiteral("play")), 0);
    QCOMPARE(f.player.playState(), PlayState::Paused);
    QVERIFY(transportTimer(w, "repeatTimer")->isActive());
}

void PlayPauseTest::repeatRestartsAtPositionEachTick() {
    FormFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.form();
    w.transport().setRepeatPosition(30);
    w.transport().replay();
    QVERIFY(transportTimer(w, "repeatTimer")->isActive());
    QCOMPARE(transportTimer(w, "repeatTimer")->interval(), 5000);
    QCOMPARE(f.player.playState(), PlayState::Playing);
    QCOMPARE(f.player.position(), 30.0);

    f.clock.advance(4000);
    f.player.log.clear();
    w.transport().repeatTick();
    QCOMPARE(f.player.log, (QStringList{QStringLiteral("pause"), QStringLiteral("setPosition 30"),
                                        QStringLiteral("play")}));
    QCOMPARE(f.player.position(), 30.0);

    // Paused in between by someone else: the tick plays again from the same place.
    f.clock.advance(1500);
    f.player.pause();
    f.player.log.clear();
    w.transport().repeatTick();
    QCOMPARE(f.player.log, (QStringList{QStringLiteral("setPosition 30"), QStringLiteral("play")}));
    QCOMPARE(f.player.playState(), PlayState::Playing);
    QVERIFY(transportTimer(w, "repeatTimer")->isActive());
}

void PlayPauseTest::changedIntervalAppliesToRunningTimer() {
    FormFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.form();
    w.transport().setRepeatPosition(30);
    w.transport().replay();
    control<RadioGroup>(w, "repeatIntervalGroup")->setItemIndex(6);
    QCOMPARE(w.transport().repeatInterval(), 20000);
    QCOMPARE(transportTimer(w, "repeatTimer")->interval(), 20000);
    QVERIFY(transportTimer(w, "repeatTimer")->isActive());
    QCOMPARE(ProfileFile(w.settingsPath())
                 .readInteger(QStringLiteral("Play"), QStringLiteral("RepeatTime"), -9),
             6);
    control<RadioGroup>(w, "repeatIntervalGroup")->setItemIndex(-1);
    QCOMPARE(transportTimer(w, "repeatTimer")->interval(), 2000);
}

void PlayPauseTest::rewindChoiceAppliesAndIsStored() {
    FormFixture f;
    f.create();
    // Before start-up the group's choice waits for the settings to be applied.
    control<RadioGroup>(f.form(), "autoRewindGroup")->setItemIndex(3);
    QCOMPARE(f.form().transport().rewindSeconds(), 3.0);

    FormFixture g;
    startWithMedia(g, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = g.form();
    control<RadioGroup>(w, "autoRewindGroup")->setItemIndex(3);
    QCOMPARE(w.transport().rewindSeconds(), 1.2);
    QCOMPARE(ProfileFile(w.settingsPath())
                 .readInteger(QStringLiteral("Play"), QStringLiteral("AutoBackSpace"), -9),
             3);
}

void PlayPauseTest::commandsStopRepeat() {
    FormFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.form();
    w.transport().setRepeatPosition(30);
    const std::pair<const char*, std::function<void()>> commands[] = {
        {"PlayPause", [&] { w.transport().playPause(); }},
        {"toolbar", [&] { control<QAction>(w, "playPauseAction")->trigger(); }},
        {"position bar click", [&] { clickBar(control<ProgressBar>(w, "positionBar")); }},
        {"set time", [&] { control<QToolButton>(w, "setTimeButton")->click(); }},
    };
    for (const auto& [name, command] : commands) {
        w.transport().replay();
        QVERIFY(transportTimer(w, "repeatTimer")->isActive());
        command();
        QVERIFY2(!transportTimer(w, "repeatTimer")->isActive(), name);
    }
    QVERIFY(f.dialogs.errors.isEmpty());
}

void PlayPauseTest::pollWhilePausedChangesNothing() {
    FormFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.form();
    f.player.setPosition(42);
    control<QLabel>(w, "playTimeLabel")->setText(QStringLiteral("keep"));
    const QString prefix = control<ProgressBar>(w, "positionBar")->PosTextPrefix();
    const int shown = w.transport().shownSeconds();
    w.transport().pollPosition();
    QCOMPARE(control<QLabel>(w, "playTimeLabel")->text(), QStringLiteral("keep"));
    QCOMPARE(control<ProgressBar>(w, "positionBar")->PosTextPrefix(), prefix);
    QCOMPARE(control<ProgressBar>(w, "positionBar")->Position(), 0);
    QCOMPARE(w.transport().shownSeconds(), shown);
    QCOMPARE(w.transport().polledPosition(), 0.0);
}

void PlayPauseTest::pollWhilePlayingShowsPosition() {
    FormFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.form();
    f.player.setPosition(75);
    f.player.play();
    f.clock.advance(500);
    w.transport().pollPosition();
    QCOMPARE(w.transport().polledPosition(), 75.5);
    QCOMPARE(w.transport().polledDuration(), 600.0);
    QCOMPARE(w.transport().shownSeconds(), 75);
    QCOMPARE(control<QLabel>(w, "playTimeLabel")->text(), QStringLiteral("0:01:15"));
    QCOMPARE(control<ProgressBar>(w, "positionBar")->PosTextPrefix(), QStringLiteral("0:01:15"));
    QCOMPARE(control<ProgressBar>(w, "positionBar")->PosTextSuffix(),
             QStringLiteral("    [ talk.mp3 ]"));
    QCOMPARE(control<ProgressBar>(w, "positionBar")->Position(), 75);
}

void PlayPauseTest::pollKeepsBarAtZeroUntilLengthKnown() {
    FormFixture f;
    f.player.setDurationDelay(1'000'000'000);  // a player that has not told the length yet
    f.writeSettings(transportsetup::kSettings);
    const QString media = f.addMediaFile(QStringLiteral("talk.mp3"), 600);
    QVERIFY(f.start());
    MainWindow& w = f.form();
    w.dropFiles({media});  // no length probe yet
    QCOMPARE(control<ProgressBar>(w, "positionBar")->Max(), 0);
    f.player.play();
    f.clock.advance(3000);
    w.transport().pollPosition();
    QCOMPARE(control<QLabel>(w, "playTimeLabel")->text(), QStringLiteral("0:00:03"));
    QCOMPARE(w.transport().shownSeconds(), 3);
    QCOMPARE(control<ProgressBar>(w, "positionBar")->Position(), 0);
}

void PlayPauseTest::pollInWavModeUsesPlayerString() {
    FormFixture f;
    const QString media = startWavRestored(f, 20);
    MainWindow& w = f.form();
    QCOMPARE(w.transport().shownSeconds(), 20);
    f.player.play();
    f.clock.advance(3700);
    w.transport().pollPosition();
    QCOMPARE(control<QLabel>(w, "playTimeLabel")->text(), QStringLiteral("0:00:23"));
    QCOMPARE(control<ProgressBar>(w, "positionBar")->PosTextPrefix(), QStringLiteral("0:00:23"));
    QCOMPARE(control<ProgressBar>(w, "positionBar")->Position(), 23);
    QCOMPARE(w.transport().shownSeconds(), 20);  // not kept in WAV mode
    // The text is the player's string, which the window reads only for an existing file.
    QVERIFY(QFile::remove(media));
    f.clock.advance(2000);
    w.transport().pollPosition();
    QCOMPARE(control<QLabel>(w, "playTimeLabel")->text(), QString());
    QCOMPARE(control<ProgressBar>(w, "positionBar")->Position(), 25);
}

QTEST_MAIN(PlayPauseTest)
#include "play_pause_test.moc"
