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
    f.form().TimerGetDuationTimer();
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
    TAMainForm& w = f.form();
    w.RadioGroupAutoBackSpace->setItemIndex(item);

    w.PlayPause();
    QCOMPARE(f.player.playState(), PlayStates::Playing);
    QVERIFY(w.PlayToggled);
    f.clock.advance(playMs);
    w.PlayPause();
    QCOMPARE(f.player.playState(), PlayStates::Paused);
    QVERIFY(!w.PlayToggled);
    QCOMPARE(f.player.currentPosition(), expected);
    // The seek comes after the pause, so the player rests at the rewound position.
    QCOMPARE(f.player.log.mid(f.player.log.size() - 2),
             (QStringList{QStringLiteral("pause"),
                          QStringLiteral("setCurrentPosition ") + QString::number(expected)}));
}

void PlayPauseTest::resumePlaysFromRewoundPosition() {
    FormFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    TAMainForm& w = f.form();
    QCOMPARE(w.AutoBackSeconds, 2.5);
    w.PlayPause();
    f.clock.advance(10000);
    w.PlayPause();
    QCOMPARE(f.player.currentPosition(), 7.5);
    w.PlayPause();
    QVERIFY(w.PlayToggled);
    QCOMPARE(f.player.playState(), PlayStates::Playing);
    f.clock.advance(1000);
    QCOMPARE(f.player.currentPosition(), 8.5);
}

void PlayPauseTest::withoutMediaNothingHappens() {
    FormFixture f;
    f.writeSettings(transportsetup::kSettings);
    QVERIFY(f.start());
    TAMainForm& w = f.form();
    w.TimerRepeat->start();
    w.TimerRewContinue->start();
    f.player.log.clear();
    w.PlayPause();
    QVERIFY(f.player.log.isEmpty());
    QVERIFY(!w.PlayToggled);
    // The timers stop before the media is asked for.
    QVERIFY(!w.TimerRepeat->isActive());
    QVERIFY(!w.TimerRewContinue->isActive());
    w.ToolBarMPCotrol01PlaypauseClick();
    QVERIFY(f.player.log.isEmpty());
}

void PlayPauseTest::wavModeNeverRewinds() {
    FormFixture f;
    startWavRestored(f, 20);
    TAMainForm& w = f.form();
    QVERIFY(w.WavMode);
    QCOMPARE(f.player.currentPosition(), 20.0);
    QCOMPARE(f.player.playState(), PlayStates::Paused);

    w.PlayPause();
    QCOMPARE(f.player.playState(), PlayStates::Playing);
    f.clock.advance(2000);
    f.player.setRate(1.5);  // changed behind the window's back
    f.clock.advance(2000);  // 22 s + 2 s x 1.5
    f.player.log.clear();
    w.PlayPause();
    QCOMPARE(f.player.playState(), PlayStates::Paused);
    QCOMPARE(f.player.rate(), 1.0);
    QCOMPARE(f.player.currentPosition(), 25.0);
    QCOMPARE(w.SavedPosition, 25.0);
    QCOMPARE(f.player.count(QStringLiteral("setCurrentPosition")), 0);
    QCOMPARE(w.ProgressBarVolume->PosTextPrefix(), QStringLiteral("     再生速度[ 1.0 ］"));
}

void PlayPauseTest::wavModeLeavesEndedMediaAlone() {
    FormFixture f;
    startWavRestored(f, 598);
    TAMainForm& w = f.form();
    f.player.play();
    f.clock.advance(5000);
    QCOMPARE(f.player.playState(), PlayStates::MediaEnded);
    f.player.log.clear();
    w.PlayPause();
    // Only the forced rate: neither play nor pause in a state other than 1, 2 or 3.
    QCOMPARE(f.player.log, QStringList{QStringLiteral("setRate 1")});
    QCOMPARE(f.player.playState(), PlayStates::MediaEnded);
}

void PlayPauseTest::toolbarTogglesWithoutRewind() {
    FormFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    TAMainForm& w = f.form();
    w.PlayToggled = false;
    w.ToolBarMPCotrol01PlaypauseClick();
    QCOMPARE(f.player.playState(), PlayStates::Playing);
    QVERIFY(!w.PlayToggled);
    f.clock.advance(10000);
    w.PlayToggled = true;
    w.TimerRepeat->start();
    w.ToolBarMPCotrol01PlaypauseClick();
    QCOMPARE(f.player.playState(), PlayStates::Paused);
    QCOMPARE(f.player.currentPosition(), 10.0);
    QVERIFY(w.PlayToggled);
    QVERIFY(!w.TimerRepeat->isActive());
    QCOMPARE(w.ProgressBarTimePosition->FontColor(), QColor(0, 0, 0));
}

void PlayPauseTest::toolbarForgetsVanishedFile() {
    FormFixture f;
    const QString media = startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    TAMainForm& w = f.form();
    QVERIFY(QFile::remove(media));
    w.TimerRepeat->start();
    f.player.log.clear();
    w.ToolBarMPCotrol01PlaypauseClick();
    QVERIFY(w.MediaPath.isEmpty());
    QVERIFY(f.player.log.isEmpty());
    QCOMPARE(f.player.playState(), PlayStates::Paused);
    QVERIFY(!w.TimerRepeat->isActive());
}

void PlayPauseTest::toolbarErrorEndsHandlerAtFailingCall() {
    FormFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    TAMainForm& w = f.form();
    w.TimerRepeat->start();
    w.TimerRewContinue->start();
    f.player.failNext(QStringLiteral("play"));
    w.ToolBarMPCotrol01Playpause->trigger();
    QCOMPARE(f.dialogs.errors.size(), 1);
    QVERIFY(f.dialogs.errors.first().contains(QStringLiteral("play")));
    QCOMPARE(f.player.playState(), PlayStates::Paused);
    QVERIFY(!w.TimerRepeat->isActive());      // stopped before the failing call
    QVERIFY(w.TimerRewContinue->isActive());  // PlayState never ran
}

void PlayPauseTest::playStateShowsPlayerValues() {
    FormFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    TAMainForm& w = f.form();
    f.player.setRate(1.25);
    f.player.setVolume(80);
    f.player.play();
    w.TimerFwdContinue->start();
    w.PlayState();
    QVERIFY(!w.TimerFwdContinue->isActive());
    QCOMPARE(w.ProgressBarTimePosition->FontColor(), QColor(255, 0, 0));
    QCOMPARE(w.ProgressBarVolume->PosTextPrefix(), QStringLiteral("     再生速度[ 1.3 ］"));
    QCOMPARE(w.ProgressBarVolume->PosTextSuffix(), QStringLiteral("     音量[ 80 ］"));
    QCOMPARE(w.ProgressBarVolume->Position(), 50);  // the bar itself is left alone
    f.player.pause();
    w.PlayState();
    QCOMPARE(w.ProgressBarTimePosition->FontColor(), QColor(0, 0, 0));
}

void PlayPauseTest::repeatWithoutPositionNeverSeeks() {
    FormFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    TAMainForm& w = f.form();
    QCOMPARE(w.RepeatPosition, 0.0);
    f.player.log.clear();
    w.ProcessReplay();
    QVERIFY(w.TimerRepeat->isActive());
    for (int i = 0; i < 3; ++i)
        w.TimerRepeatTimer();
    QCOMPARE(f.player.count(QStringLiteral("setCurrentPosition")), 0);
    QCOMPARE(f.player.count(QStringLiteral("play")), 0);
    QCOMPARE(f.player.playState(), PlayStates::Paused);
    QVERIFY(w.TimerRepeat->isActive());
}

void PlayPauseTest::repeatRestartsAtPositionEachTick() {
    FormFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    TAMainForm& w = f.form();
    w.RepeatPosition = 30;
    w.ProcessReplay();
    QVERIFY(w.TimerRepeat->isActive());
    QCOMPARE(w.TimerRepeat->interval(), 5000);
    QCOMPARE(f.player.playState(), PlayStates::Playing);
    QCOMPARE(f.player.currentPosition(), 30.0);

    f.clock.advance(4000);
    f.player.log.clear();
    w.TimerRepeatTimer();
    QCOMPARE(f.player.log,
             (QStringList{QStringLiteral("pause"), QStringLiteral("setCurrentPosition 30"),
                          QStringLiteral("play")}));
    QCOMPARE(f.player.currentPosition(), 30.0);

    // Paused in between by someone else: the tick plays again from the same place.
    f.clock.advance(1500);
    f.player.pause();
    f.player.log.clear();
    w.TimerRepeatTimer();
    QCOMPARE(f.player.log,
             (QStringList{QStringLiteral("setCurrentPosition 30"), QStringLiteral("play")}));
    QCOMPARE(f.player.playState(), PlayStates::Playing);
    QVERIFY(w.TimerRepeat->isActive());
}

void PlayPauseTest::changedIntervalAppliesToRunningTimer() {
    FormFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    TAMainForm& w = f.form();
    w.RepeatPosition = 30;
    w.ProcessReplay();
    w.RadioGroupRepeatTime->setItemIndex(6);
    QCOMPARE(w.RepeatInterval, 20000);
    QCOMPARE(w.TimerRepeat->interval(), 20000);
    QVERIFY(w.TimerRepeat->isActive());
    QCOMPARE(ProfileFile(w.SettingsPath)
                 .readInteger(QStringLiteral("Play"), QStringLiteral("RepeatTime"), -9),
             6);
    w.RadioGroupRepeatTime->setItemIndex(-1);
    QCOMPARE(w.TimerRepeat->interval(), 2000);
}

void PlayPauseTest::rewindChoiceAppliesAndIsStored() {
    FormFixture f;
    f.create();
    // Before start-up the group's choice waits for the settings to be applied.
    f.form().RadioGroupAutoBackSpace->setItemIndex(3);
    QCOMPARE(f.form().AutoBackSeconds, 3.0);

    FormFixture g;
    startWithMedia(g, QStringLiteral("talk.mp3"), 600);
    TAMainForm& w = g.form();
    w.RadioGroupAutoBackSpace->setItemIndex(3);
    QCOMPARE(w.AutoBackSeconds, 1.2);
    QCOMPARE(ProfileFile(w.SettingsPath)
                 .readInteger(QStringLiteral("Play"), QStringLiteral("AutoBackSpace"), -9),
             3);
}

void PlayPauseTest::commandsStopRepeat() {
    FormFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    TAMainForm& w = f.form();
    w.RepeatPosition = 30;
    const std::pair<const char*, std::function<void()>> commands[] = {
        {"PlayPause", [&] { w.PlayPause(); }},
        {"toolbar", [&] { w.ToolBarMPCotrol01Playpause->trigger(); }},
        {"position bar click", [&] { w.ProgressBarTimePositionClick(); }},
        {"set time", [&] { w.sbSetTime->click(); }},
    };
    for (const auto& [name, command] : commands) {
        w.ProcessReplay();
        QVERIFY(w.TimerRepeat->isActive());
        command();
        QVERIFY2(!w.TimerRepeat->isActive(), name);
    }
    QVERIFY(f.dialogs.errors.isEmpty());
}

void PlayPauseTest::pollWhilePausedChangesNothing() {
    FormFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    TAMainForm& w = f.form();
    f.player.setCurrentPosition(42);
    w.LabelPlayTime->setText(QStringLiteral("keep"));
    const QString prefix = w.ProgressBarTimePosition->PosTextPrefix();
    w.PositionSeconds = 7;
    w.TimerWMPTimer();
    QCOMPARE(w.LabelPlayTime->text(), QStringLiteral("keep"));
    QCOMPARE(w.ProgressBarTimePosition->PosTextPrefix(), prefix);
    QCOMPARE(w.ProgressBarTimePosition->Position(), 0);
    QCOMPARE(w.PositionSeconds, 7);
    QCOMPARE(w.PolledPosition, 0.0);
}

void PlayPauseTest::pollWhilePlayingShowsPosition() {
    FormFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    TAMainForm& w = f.form();
    f.player.setCurrentPosition(75);
    f.player.play();
    f.clock.advance(500);
    w.TimerWMPTimer();
    QCOMPARE(w.PolledPosition, 75.5);
    QCOMPARE(w.PolledDuration, 600.0);
    QCOMPARE(w.PositionSeconds, 75);
    QCOMPARE(w.LabelPlayTime->text(), QStringLiteral("0:01:15"));
    QCOMPARE(w.ProgressBarTimePosition->PosTextPrefix(), QStringLiteral("0:01:15"));
    QCOMPARE(w.ProgressBarTimePosition->PosTextSuffix(), QStringLiteral("    [ talk.mp3 ]"));
    QCOMPARE(w.ProgressBarTimePosition->Position(), 75);
}

void PlayPauseTest::pollKeepsBarAtZeroUntilLengthKnown() {
    FormFixture f;
    f.writeSettings(transportsetup::kSettings);
    const QString media = f.addMediaFile(QStringLiteral("talk.mp3"), 600);
    QVERIFY(f.start());
    TAMainForm& w = f.form();
    w.DropFiles({media});  // no length probe yet
    QCOMPARE(w.ProgressBarTimePosition->Max(), 0);
    f.player.play();
    f.clock.advance(3000);
    w.TimerWMPTimer();
    QCOMPARE(w.LabelPlayTime->text(), QStringLiteral("0:00:03"));
    QCOMPARE(w.PositionSeconds, 3);
    QCOMPARE(w.ProgressBarTimePosition->Position(), 0);
}

void PlayPauseTest::pollInWavModeUsesPlayerString() {
    FormFixture f;
    const QString media = startWavRestored(f, 20);
    TAMainForm& w = f.form();
    QCOMPARE(w.PositionSeconds, 20);
    f.player.play();
    f.clock.advance(3700);
    w.TimerWMPTimer();
    QCOMPARE(w.LabelPlayTime->text(), QStringLiteral("0:00:23"));
    QCOMPARE(w.ProgressBarTimePosition->PosTextPrefix(), QStringLiteral("0:00:23"));
    QCOMPARE(w.ProgressBarTimePosition->Position(), 23);
    QCOMPARE(w.PositionSeconds, 20);  // not kept in WAV mode
    // The text is the player's string, which the window reads only for an existing file.
    QVERIFY(QFile::remove(media));
    f.clock.advance(2000);
    w.TimerWMPTimer();
    QCOMPARE(w.LabelPlayTime->text(), QString());
    QCOMPARE(w.ProgressBarTimePosition->Position(), 25);
}

QTEST_MAIN(PlayPauseTest)
#include "play_pause_test.moc"
