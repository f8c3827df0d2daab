// The window on the real libmpv backend, on media generated here: opening and the restore at
// start-up, the rewinding pause and the speed table, as a typist meets them.

#include <QElapsedTimer>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

#include "app/main_window.h"
#include "controls/progress_bar.h"
#include "core/time_code.h"
#include "fakes/fake_clipboard.h"
#include "fakes/fake_dialogs.h"
#include "fakes/fake_keyboard.h"
#include "fakes/fake_pedal_library.h"
#include "fakes/test_media.h"
#include "fakes/window_controls.h"
#include "session/session.h"
#include "transport/clock.h"
#include "transport/mpv_player.h"
#include "transport/transport_controller.h"

namespace {
// Passes every call, and the signals the window listens to, on to the real player; remembers the
// positions the window read and the seeks it asked for, so that the test can check the window's
// arithmetic against the player.
class RecordingPlayer : public MediaPlayer {
public:
    explicit RecordingPlayer(MediaPlayer& inner) : inner_(inner) {
        connect(&inner, &MediaPlayer::durationChanged, this, &MediaPlayer::durationChanged);
        connect(&inner, &MediaPlayer::playStateChanged, this, &MediaPlayer::playStateChanged);
        connect(&inner, &MediaPlayer::mediaChanged, this, &MediaPlayer::mediaChanged);
    }
    QList<double> positionsRead, seeks;

    void open(const QString& address) override { inner_.open(address); }
    QString address() const override { return inner_.address(); }
    PlayState playState() const override { return inner_.playState(); }
    void close() override { inner_.close(); }
    void play() override { inner_.play(); }
    void pause() override { inner_.pause(); }
    void pauseAt(double seconds) override {
        seeks << seconds;
        inner_.pauseAt(seconds);
    }
    void stop() override { inner_.stop(); }
    double position() const override {
        const double p = inner_.position();
        const_cast<RecordingPlayer*>(this)->positionsRead << p;
        return p;
    }
    void setPosition(double seconds) override {
        seeks << seconds;
        inner_.setPosition(seconds);
    }
    bool canChangeRate() const override { return inner_.canChangeRate(); }
    double rate() const override { return inner_.rate(); }
    void setRate(double rate) override { inner_.setRate(rate); }
    int volume() const override { return inner_.volume(); }
    void setVolume(int volume) override { inner_.setVolume(volume); }
    bool isMuted() const override { return inner_.isMuted(); }
    void setMuted(bool muted) override { inner_.setMuted(muted); }
    double duration() const override { return inner_.duration(); }

private:
    MediaPlayer& inner_;
};
}  // namespace

class WindowOnMpvTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void openShowsLengthAndRestsPausedUnmuted();
    void probeLeavesThePlayerWhereTheOpenPutIt_data();
    void probeLeavesThePlayerWhereTheOpenPutIt();
    void pauseRewindsByTheChosenSeconds();
    void speedTableTakesEffect();

private:
    double advanceOver(int ms);
    QTimer* lengthProbeTimer() {
        return session_->transport().findChild<QTimer*>(QStringLiteral("lengthProbeTimer"));
    }
    // A new window on the same player, started with these lines added to the settings.
    void restart(const QByteArray& settings);
    QByteArray settings_;

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<MpvPlayer> mpv_;
    std::unique_ptr<RecordingPlayer> player_;
    SteadyClock clock_;
    FakeDialogs dialogs_;
    FakePedalLibrary pedalLibrary_;
    FakeKeyState keyState_;
    FakeClipboard clipboard_;
    std::unique_ptr<Session> session_;
    std::unique_ptr<MainWindow> form_;
    QString media_;
};

void WindowOnMpvTest::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    media_ = dir_->filePath(QStringLiteral("interview.wav"));
    QVERIFY(testmedia::writeWav(media_, 20.0, 440.0));
    mpv_ = std::make_unique<MpvPlayer>(MpvOptions{{QStringLiteral("ao"), QStringLiteral("null")},
                                                  {QStringLiteral("vo"), QStringLiteral("null")}});
    player_ = std::make_unique<RecordingPlayer>(*mpv_);
    restart({});
    session_->dropFiles({media_});
    // The player knows the length within milliseconds; the probe's timer need not come first
    // (on a loaded machine it may be over before the label shows, so that is not asserted).
    QTRY_COMPARE_WITH_TIMEOUT(control<QLabel>(*form_, "lengthLabel")->text(),
                              QStringLiteral("0:00:20"), 8000);
    QTRY_VERIFY_WITH_TIMEOUT(!lengthProbeTimer()->isActive(), 8000);
}

void WindowOnMpvTest::restart(const QByteArray& settings) {
    form_.reset();
    session_.reset();
    QFile ini(dir_->filePath(QStringLiteral("Scribo.inf")));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    // The pedal's set-up would wait a real second per test; it has its own tests.
    ini.write(
        "[Play]\r\nAutoBackSpace=7\r\nSpeed=2\r\nRepeatTime=2\r\n"
        "[Menu]\r\nDontUseUseFooptPeadl=1\r\n" +
        settings);
    ini.close();
    session_ = std::make_unique<Session>(SessionServices{.player = player_.get(),
                                                         .clock = &clock_,
                                                         .dialogs = &dialogs_,
                                                         .settingsFolder = dir_->path() + '/',
                                                         .pedalLibrary = &pedalLibrary_,
                                                         .keyState = &keyState_,
                                                         .programFolder = dir_->path() + '/',
                                                         .clipboard = &clipboard_});
    form_ = std::make_unique<MainWindow>(*session_);
    QVERIFY(session_->startUp());
}

void WindowOnMpvTest::cleanup() {
    form_.reset();
    session_.reset();
    player_.reset();
    mpv_.reset();
    QVERIFY(dialogs_.errors.isEmpty());
}

double WindowOnMpvTest::advanceOver(int ms) {
    const double start = mpv_->position();
    QElapsedTimer timer;
    timer.start();
    QTest::qWait(ms);
    return (mpv_->position() - start) / (timer.elapsed() / 1000.0);
}

void WindowOnMpvTest::openShowsLengthAndRestsPausedUnmuted() {
    QCOMPARE(mpv_->playState(), PlayState::Paused);
    QVERIFY(!mpv_->isMuted());
    QCOMPARE(control<QLabel>(*form_, "lengthCaptionLabel")->text(), QStringLiteral("録音時間"));
    QCOMPARE(session_->transport().mediaLength(), 20);
    QCOMPARE(session_->transport().durationSeconds(), 20);
    QCOMPARE(control<ProgressBar>(*form_, "positionBar")->maximum(), 20);
}

void WindowOnMpvTest::probeLeavesThePlayerWhereTheOpenPutIt_data() {
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<double>("expected");
    QTest::newRow("opened") << QByteArray() << 0.0;
    QTest::newRow("restored") << QByteArray("[General]\r\nFile=%1\r\n[Record]\r\nPosition=12.5\r\n")
                              << 12.5;
}

void WindowOnMpvTest::probeLeavesThePlayerWhereTheOpenPutIt() {
    QFETCH(QByteArray, settings);
    QFETCH(double, expected);
    if (!settings.isEmpty()) {
        restart(settings.replace("%1", media_.toUtf8()));
        QTRY_COMPARE_WITH_TIMEOUT(control<QLabel>(*form_, "lengthLabel")->text(),
                                  QStringLiteral("0:00:20"), 8000);
        QTRY_VERIFY_WITH_TIMEOUT(!lengthProbeTimer()->isActive(), 8000);
    }
    QTest::qWait(300);  // the position poll has had its turn
    QCOMPARE(mpv_->playState(), PlayState::Paused);
    QVERIFY(!mpv_->isMuted());
    const double rest = mpv_->position();
    QVERIFY2(qAbs(rest - expected) < 0.1, qPrintable(QString::number(rest)));
    const QString shown = TimeCodeText(expected);
    QCOMPARE(control<QLabel>(*form_, "playTimeLabel")->text(), shown);
    QCOMPARE(control<ProgressBar>(*form_, "positionBar")->positionTextPrefix(), shown);
    // Playback goes on from there.
    session_->transport().togglePlay();
    QTest::qWait(400);
    QVERIFY2(mpv_->position() > expected + 0.2 && mpv_->position() < expected + 1.0,
             qPrintable(QString::number(mpv_->position())));
}

void WindowOnMpvTest::pauseRewindsByTheChosenSeconds() {
    QCOMPARE(session_->transport().rewindSeconds(), 2.5);
    session_->transport().playPause();
    QTRY_COMPARE_WITH_TIMEOUT(mpv_->playState(), PlayState::Playing, 3000);
    QTRY_VERIFY_WITH_TIMEOUT(mpv_->position() > 4.0, 6000);

    player_->positionsRead.clear();
    player_->seeks.clear();
    session_->transport().playPause();
    QCOMPARE(mpv_->playState(), PlayState::Paused);
    // The window read the position once and asked to pause at exactly that minus 2.5 s.
    QCOMPARE(player_->seeks.size(), 1);
    QVERIFY(!player_->positionsRead.isEmpty());
    const double pausedAt = player_->positionsRead.last();
    const double target = pausedAt - 2.5;
    QCOMPARE(player_->seeks.first(), target);
    QVERIFY(qAbs(mpv_->position() - target) <= 0.001);
    QTest::qWait(300);  // still there while paused
    QVERIFY(qAbs(mpv_->position() - target) <= 0.001);

    // Resuming plays from the target: the position, less the time played, is the target (within
    // the null audio output's 50 ms steps), and never before it.
    QElapsedTimer played;
    session_->transport().playPause();
    played.start();
    QVERIFY(mpv_->position() >= target - 0.001);
    QTest::qWait(400);
    const double resumedFrom = mpv_->position() - played.elapsed() / 1000.0;
    QVERIFY2(qAbs(resumedFrom - target) < 0.1,
             qPrintable(QStringLiteral("resumed from %1, target %2").arg(resumedFrom).arg(target)));
}

void WindowOnMpvTest::speedTableTakesEffect() {
    control<RadioGroup>(*form_, "speedGroup")->setItemIndex(0);
    QCOMPARE(mpv_->rate(), 0.6);
    session_->transport().playPause();
    QTRY_COMPARE_WITH_TIMEOUT(mpv_->playState(), PlayState::Playing, 3000);
    QTest::qWait(300);
    const double slow = advanceOver(1500);
    QVERIFY2(qAbs(slow - 0.6) < 0.12, qPrintable(QString::number(slow)));

    control<RadioGroup>(*form_, "speedGroup")->setItemIndex(6);
    QCOMPARE(mpv_->rate(), 2.0);
    QTest::qWait(300);
    const double fast = advanceOver(1500);
    QVERIFY2(qAbs(fast - 2.0) < 0.25, qPrintable(QString::number(fast)));
}

QTEST_MAIN(WindowOnMpvTest)
#include "window_on_mpv_test.moc"
