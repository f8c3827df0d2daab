// The libmpv backend against real media that the test writes itself. Audio and video go to
// mpv's null outputs, where playback still advances in real time.

#include "transport/mpv_player.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "fakes/test_media.h"

namespace {

const MpvOptions kQuiet = {{QStringLiteral("ao"), QStringLiteral("null")},
                           {QStringLiteral("vo"), QStringLiteral("null")}};

std::unique_ptr<MpvPlayer> makePlayer(const MpvOptions& more = {}) {
    return std::make_unique<MpvPlayer>(kQuiet + more);
}

// A second client on mpv's IPC socket (the option input-ipc-server), counting the seeks mpv
// starts, whoever asked for them.
class SeekWatch {
public:
    explicit SeekWatch(const QString& socket) {
        const QByteArray name = socket.toLocal8Bit();
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, name.constData(),
                    std::min<std::size_t>(std::size_t(name.size()), sizeof address.sun_path - 1));
        const bool reached = QTest::qWaitFor(
            [&] {
                fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
                if (::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0)
                    return true;
                ::close(fd_);
                fd_ = -1;
                return false;
            },
            3000);
        if (!reached) fd_ = -1;
    }
    ~SeekWatch() {
        if (fd_ >= 0) ::close(fd_);
    }
    bool connected() const { return fd_ >= 0; }
    int seeks() {
        char buffer[4096];
        for (ssize_t n; (n = ::recv(fd_, buffer, sizeof buffer, 0)) > 0;)
            text_.append(buffer, n);
        return int(text_.count("\"event\":\"seek\""));
    }

private:
    int fd_ = -1;
    QByteArray text_;
};

struct Sample {
    double before, after;  // seconds since sampling began, around the reading
    double position;
};

// Reads the position every few milliseconds for `ms`, keeping the event loop running.
std::vector<Sample> sampleFor(const MediaPlayer& player, int ms) {
    std::vector<Sample> samples;
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QCoreApplication::processEvents();
        Sample s;
        s.before = timer.nsecsElapsed() / 1e9;
        s.position = player.position();
        s.after = timer.nsecsElapsed() / 1e9;
        samples.push_back(s);
        QTest::qSleep(2);
    }
    return samples;
}

// Playback that starts at `start` and runs at `rate`: never before `start`, never ahead of the
// clock, and well under way by the end.
void verifyPlaysFrom(const std::vector<Sample>& samples, double start, double rate = 1.0) {
    QVERIFY(!samples.empty());
    double earliest = 1e9, latest = -1e9;
    for (const Sample& s : samples) {
        const double ahead = s.position - start - s.after * rate;
        earliest = std::min(earliest, s.position - start - s.before * rate);
        latest = std::max(latest, ahead);
        if (s.position < start - 0.001 || ahead > 0.03)
            QFAIL(qPrintable(QStringLiteral("at +%1 s read %2, playback resumed from %3")
                                 .arg(s.after, 0, 'f', 3)
                                 .arg(s.position, 0, 'f', 4)
                                 .arg(start, 0, 'f', 4)));
    }
    const Sample& last = samples.back();
    QVERIFY2(
        last.position >= start + last.before * rate - 0.15,
        qPrintable(QStringLiteral("only at %1 after %2 s").arg(last.position).arg(last.before)));
    qInfo("resumed from %.4f: position minus clock between %+.1f and %+.1f ms", start,
          earliest * 1000, latest * 1000);
}

}  // namespace

class MpvPlayerTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString tone_;   // 10 s, 44.1 kHz, 16-bit
    QString short_;  // 3 s

    QString path(const QString& name) const { return dir_.filePath(name); }

    // Opens and plays `file`, and waits until it does; false (after a failed check) if it never
    // does.
    bool openPlaying(MpvPlayer& player, const QString& file) {
        player.open(file);
        player.play();
        return QTest::qWaitFor([&] { return player.playState() == PlayState::Playing; }, 5000);
    }

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        tone_ = path(QStringLiteral("tone.wav"));
        short_ = path(QStringLiteral("short.wav"));
        QVERIFY(testmedia::writeWav(tone_, 10.0));
        QVERIFY(testmedia::writeWav(short_, 3.0, 880.0));
    }

    void nothingLoaded_data() {
        QTest::addColumn<bool>("startsLater");
        QTest::newRow("started") << false;
        QTest::newRow("not started yet") << true;
    }

    void nothingLoaded() {
        QFETCH(bool, startsLater);
        auto player = startsLater ? std::make_unique<MpvPlayer>(MpvPlayer::StartLater{}, kQuiet)
                                  : makePlayer();
        QCOMPARE(player->address(), QString());
        QCOMPARE(player->playState(), PlayState::Undefined);
        QCOMPARE(player->duration(), 0.0);
        QVERIFY(!player->canChangeRate());
        QCOMPARE(player->volume(), 50);
        QVERIFY(!player->isMuted());
        QCOMPARE(player->rate(), 1.0);
        // Harmless without media; a written position is kept.
        player->play();
        player->pause();
        player->stop();
        player->setPosition(4.0);
        QCOMPARE(player->position(), 4.0);
        QCOMPARE(player->playState(), PlayState::Undefined);
    }

    void startedLaterKeepsWhatItWasGiven() {
        MpvPlayer player(MpvPlayer::StartLater{}, kQuiet);
        player.setVolume(30);
        player.setRate(1.5);
        player.setMuted(true);
        player.open(tone_);  // starts it
        QVERIFY(QTest::qWaitFor([&] { return player.duration() > 0; }, 5000));
        QCOMPARE(player.volume(), 30);
        QCOMPARE(player.rate(), 1.5);
        QVERIFY(player.isMuted());
        QCOMPARE(player.playState(), PlayState::Paused);
        player.start();  // started already: nothing happens
        QCOMPARE(player.address(), tone_);
    }

    void opensPausedAndPlaysWhenAsked_data() {
        QTest::addColumn<QString>("format");
        QTest::newRow("wav") << QStringLiteral("wav");
        QTest::newRow("mp3") << QStringLiteral("mp3");
        QTest::newRow("m4a") << QStringLiteral("m4a");
    }
    void opensPausedAndPlaysWhenAsked() {
        QFETCH(QString, format);
        QString file = tone_;
        if (format != QLatin1String("wav")) {
            if (!testmedia::haveFfmpeg()) QSKIP("ffmpeg is not installed");
            file = path(QStringLiteral("tone.") + format);
            if (!QFile::exists(file)) QVERIFY(testmedia::convertWithFfmpeg(tone_, file));
        }
        auto player = makePlayer();
        QSignalSpy media(player.get(), &MediaPlayer::mediaChanged);
        QSignalSpy states(player.get(), &MediaPlayer::playStateChanged);
        QSignalSpy durations(player.get(), &MediaPlayer::durationChanged);

        player->open(file);
        QCOMPARE(player->address(), file);
        QCOMPARE(media.count(), 1);
        QCOMPARE(player->playState(), PlayState::Transitioning);
        QTRY_COMPARE_WITH_TIMEOUT(player->playState(), PlayState::Paused, 5000);
        QVERIFY2(std::abs(player->duration() - 10.0) < 0.05,
                 qPrintable(QString::number(player->duration())));
        QVERIFY(!durations.isEmpty());
        QCOMPARE(durations.last().at(0).toDouble(), player->duration());
        QVERIFY(player->canChangeRate());
        QTest::qWait(300);  // long enough to have moved on, had it started
        QVERIFY2(std::abs(player->position()) < 0.01,
                 qPrintable(QString::number(player->position())));

        player->play();
        QCOMPARE(player->playState(), PlayState::Playing);
        QCOMPARE(states.last().at(0).value<PlayState>(), PlayState::Playing);
        QTRY_VERIFY_WITH_TIMEOUT(player->position() >= 1.0, 5000);
    }

    void hourLongMediaStrings() {
        // An hour of 8-bit mono silence at 8 kHz: 29 MB.
        const QString file = path(QStringLiteral("long.wav"));
        QVERIFY(testmedia::writeWav(file, 3605.0, 0.0, {8000, 1, 8}));
        auto player = makePlayer();
        player->open(file);
        QTRY_COMPARE_WITH_TIMEOUT(player->playState(), PlayState::Paused, 5000);
        QCOMPARE(playerTimeString(player->duration()), QStringLiteral("01:00:05"));
        player->setPosition(3601.5);
        QCOMPARE(playerTimeString(player->position()), QStringLiteral("01:00:01"));
        player->setPosition(65.2);
        QCOMPARE(playerTimeString(player->position()), QStringLiteral("01:05"));
        QFile::remove(file);
    }

    void pauseKeepsPosition() {
        auto player = makePlayer();
        QVERIFY(openPlaying(*player, tone_));
        QTRY_VERIFY_WITH_TIMEOUT(player->position() >= 1.0, 5000);
        player->pause();
        QCOMPARE(player->playState(), PlayState::Paused);
        const double paused = player->position();
        QVERIFY(paused >= 1.0 && paused < 2.0);
        QTest::qWait(500);  // mpv's own reading drifts while its audio buffer settles
        QCOMPARE(player->position(), paused);
        QCOMPARE(player->playState(), PlayState::Paused);

        player->play();
        QCOMPARE(player->playState(), PlayState::Playing);
        verifyPlaysFrom(sampleFor(*player, 400), paused);
    }

    void seekWhilePlaying() {
        auto player = makePlayer();
        QVERIFY(openPlaying(*player, tone_));
        QSignalSpy seeked(player.get(), &MediaPlayer::seeked);
        for (const double target : {5.0, 2.5, 7.77, 0.5}) {
            player->setPosition(target);
            QCOMPARE(player->position(), target);
            QCOMPARE(seeked.takeLast().at(0).toDouble(), target);
            verifyPlaysFrom(sampleFor(*player, 300), target);
            QCOMPARE(player->playState(), PlayState::Playing);
        }
    }

    // What the window shows while paused must be where playback resumes: rewinding, pasted
    // time codes and index entries all depend on it.
    void seekWhilePausedAfterPlaying() {
        auto player = makePlayer();
        QVERIFY(openPlaying(*player, tone_));
        QTRY_VERIFY_WITH_TIMEOUT(player->position() >= 1.0, 5000);
        player->pause();
        player->setPosition(2.5);
        QVERIFY(std::abs(player->position() - 2.5) < 0.001);
        QTest::qWait(500);
        QVERIFY(std::abs(player->position() - 2.5) < 0.001);
        QCOMPARE(player->playState(), PlayState::Paused);

        // Backwards too, and twice in a row before mpv has done the first.
        player->setPosition(6.0);
        player->setPosition(1.25);
        QTest::qWait(300);
        QCOMPARE(player->position(), 1.25);

        player->play();
        verifyPlaysFrom(sampleFor(*player, 400), 1.25);
    }

    void seekTargetDoesNotOutliveTheSeek() {
        auto player = makePlayer();
        QVERIFY(openPlaying(*player, tone_));
        // Nobody reads the position between the seek and the pause.
        QElapsedTimer clock;
        clock.start();
        player->setPosition(5.0);
        QTest::qWait(800);
        player->pause();
        double played = clock.nsecsElapsed() / 1e9;
        const double paused = player->position();
        QVERIFY2(paused > 5.0 + played - 0.25 && paused <= 5.0 + played + 0.01,
                 qPrintable(QStringLiteral("%1 after %2 s").arg(paused).arg(played)));

        // Nor does anything run the event loop while playing on.
        player->play();
        clock.start();
        player->setPosition(2.0);
        QTest::qSleep(1500);
        const double later = player->position();
        played = clock.nsecsElapsed() / 1e9;
        QVERIFY2(later > 2.0 + played - 0.35 && later <= 2.0 + played + 0.01,
                 qPrintable(QStringLiteral("%1 after %2 s").arg(later).arg(played)));
    }

    void positionWrittenWhileOpeningApplies() {
        auto player = makePlayer();
        player->open(tone_);
        player->setPosition(3.0);
        QCOMPARE(player->position(), 3.0);
        QTRY_COMPARE_WITH_TIMEOUT(player->playState(), PlayState::Paused, 5000);
        QTest::qWait(200);
        QCOMPARE(player->position(), 3.0);
        player->play();
        verifyPlaysFrom(sampleFor(*player, 300), 3.0);
    }

    void seekOutsideTheMediaIsClamped() {
        auto player = makePlayer();
        QVERIFY(openPlaying(*player, tone_));
        player->pause();
        // mpv itself would count a negative absolute position from the end.
        player->setPosition(-5.0);
        QCOMPARE(player->position(), 0.0);
        QVERIFY_THROWS_EXCEPTION(PlayerError, player->setPosition(std::nan("")));
        player->setPosition(100.0);
        QTRY_COMPARE_WITH_TIMEOUT(player->playState(), PlayState::MediaEnded, 3000);
        QVERIFY(std::abs(player->position() - 10.0) < 0.05);
    }

    void rateChangesSpeed_data() {
        QTest::addColumn<double>("rate");
        QTest::newRow("0.6") << 0.6;
        QTest::newRow("2.0") << 2.0;
    }
    void rateChangesSpeed() {
        QFETCH(double, rate);
        auto player = makePlayer();
        QSignalSpy rates(player.get(), &MediaPlayer::rateChanged);
        QVERIFY(openPlaying(*player, tone_));
        player->setRate(rate);
        QCOMPARE(player->rate(), rate);
        QTRY_VERIFY_WITH_TIMEOUT(!rates.isEmpty() && rates.last().at(0).toDouble() == rate, 2000);
        QTRY_VERIFY_WITH_TIMEOUT(player->position() >= 0.5, 5000);

        QElapsedTimer clock;
        clock.start();
        const double from = player->position();
        QTest::qWait(1000);
        const double speed = (player->position() - from) / (clock.nsecsElapsed() / 1e9);
        qInfo("rate %.1f: position advanced %.3f s per second", rate, speed);
        QVERIFY2(std::abs(speed - rate) < 0.15 * rate, qPrintable(QString::number(speed)));
    }

    void rateOutsideLimitsIsRefused() {
        auto player = makePlayer();
        player->setRate(1.5);
        for (const double bad : {0.0, -1.0, 1000.0, std::nan("")})
            QVERIFY_THROWS_EXCEPTION(PlayerError, player->setRate(bad));
        QCOMPARE(player->rate(), 1.5);
    }

    void volumeAndMute() {
        auto player = makePlayer();
        QSignalSpy volumes(player.get(), &MediaPlayer::volumeChanged);
        player->setVolume(80);
        QCOMPARE(player->volume(), 80);
        QTRY_VERIFY(!volumes.isEmpty() && volumes.last().at(0).toInt() == 80);
        player->setVolume(150);
        QCOMPARE(player->volume(), 100);
        player->setVolume(-5);
        QCOMPARE(player->volume(), 0);
        player->setMuted(true);
        QVERIFY(player->isMuted());
        player->setMuted(false);
        QVERIFY(!player->isMuted());
        // Both survive opening a file.
        player->setVolume(33);
        player->setMuted(true);
        QVERIFY(openPlaying(*player, short_));
        QCOMPARE(player->volume(), 33);
        QVERIFY(player->isMuted());
    }

    // A volume or speed change while playing restarts playback where it is heard, which drops
    // the audio the output has buffered at the old setting; the position heard goes on.
    void stepWhilePlayingDropsBufferedAudio_data() {
        QTest::addColumn<QString>("what");
        QTest::addColumn<bool>("playing");
        QTest::addColumn<bool>("restarts");
        QTest::newRow("volume, playing") << "volume" << true << true;
        QTest::newRow("speed, playing") << "speed" << true << true;
        QTest::newRow("mute, playing") << "mute" << true << true;
        QTest::newRow("volume unchanged") << "same volume" << true << false;
        QTest::newRow("speed unchanged") << "same speed" << true << false;
        QTest::newRow("volume, paused") << "volume" << false << false;
        QTest::newRow("speed, paused") << "speed" << false << false;
    }
    void stepWhilePlayingDropsBufferedAudio() {
        QFETCH(QString, what);
        QFETCH(bool, playing);
        QFETCH(bool, restarts);
        const QString socket = path(QStringLiteral("mpv.sock"));
        auto player = makePlayer({{QStringLiteral("input-ipc-server"), socket}});
        SeekWatch watch(socket);
        QVERIFY(watch.connected());
        QVERIFY(openPlaying(*player, tone_));
        player->setVolume(50);
        QTRY_VERIFY_WITH_TIMEOUT(player->position() >= 0.5, 5000);
        if (!playing) player->pause();
        QTest::qWait(300);  // the seek a pause pins its position with is done
        const int seeksBefore = watch.seeks();

        QElapsedTimer clock;
        clock.start();
        const double from = player->position();
        if (what == QLatin1String("volume")) player->setVolume(60);
        if (what == QLatin1String("same volume")) player->setVolume(50);
        if (what == QLatin1String("speed")) player->setRate(1.5);
        if (what == QLatin1String("same speed")) player->setRate(1.0);
        if (what == QLatin1String("mute")) player->setMuted(true);
        const double right = player->position();
        const double elapsed = clock.nsecsElapsed() / 1e9;
        QVERIFY2(right >= from - 0.05 && right <= from + elapsed * 1.5 + 0.05,
                 qPrintable(QStringLiteral("%1 s, then %2 s").arg(from).arg(right)));
        if (restarts) {
            QTRY_COMPARE_WITH_TIMEOUT(watch.seeks(), seeksBefore + 1, 2000);
        } else {
            QTest::qWait(300);
            QCOMPARE(watch.seeks(), seeksBefore);
        }
        // Neither back before what was heard, nor ahead of the clock.
        const double rate = player->rate();
        for (const Sample& s : sampleFor(*player, 300)) {
            const double since = clock.nsecsElapsed() / 1e9;
            QVERIFY2(s.position >= right - 0.05 && s.position <= right + since * rate + 0.05,
                     qPrintable(QStringLiteral("%1 s, then %2 s").arg(right).arg(s.position)));
        }
        QCOMPARE(player->playState(), playing ? PlayState::Playing : PlayState::Paused);
    }

    void closeReleasesMedia() {
        auto player = makePlayer();
        QVERIFY(openPlaying(*player, tone_));
        QSignalSpy media(player.get(), &MediaPlayer::mediaChanged);
        QSignalSpy durations(player.get(), &MediaPlayer::durationChanged);
        player->close();
        QCOMPARE(media.count(), 1);
        QCOMPARE(player->address(), QString());
        QCOMPARE(player->playState(), PlayState::Undefined);
        QCOMPARE(player->duration(), 0.0);
        QVERIFY(!player->canChangeRate());
        QCOMPARE(durations.last().at(0).toDouble(), 0.0);
        player->play();
        QTest::qWait(100);
        QCOMPARE(player->playState(), PlayState::Undefined);
        QVERIFY(openPlaying(*player, short_));
        QVERIFY(std::abs(player->duration() - 3.0) < 0.05);
    }

    void stopRewindsAndKeepsMedia() {
        auto player = makePlayer();
        QVERIFY(openPlaying(*player, tone_));
        QTRY_VERIFY_WITH_TIMEOUT(player->position() >= 1.0, 5000);
        player->stop();
        QCOMPARE(player->playState(), PlayState::Stopped);
        QCOMPARE(player->position(), 0.0);
        QCOMPARE(player->address(), tone_);
        QTest::qWait(200);
        QCOMPARE(player->playState(), PlayState::Stopped);
        QCOMPARE(player->position(), 0.0);
        QVERIFY(std::abs(player->duration() - 10.0) < 0.05);
        player->play();
        QCOMPARE(player->playState(), PlayState::Playing);
        verifyPlaysFrom(sampleFor(*player, 300), 0.0);
    }

    void endOfMediaAndPlayAgain() {
        auto player = makePlayer();
        QSignalSpy states(player.get(), &MediaPlayer::playStateChanged);
        QVERIFY(openPlaying(*player, short_));
        player->setPosition(2.7);
        QTRY_COMPARE_WITH_TIMEOUT(player->playState(), PlayState::MediaEnded, 3000);
        QCOMPARE(states.last().at(0).value<PlayState>(), PlayState::MediaEnded);
        QVERIFY(std::abs(player->position() - 3.0) < 0.05);
        QTest::qWait(600);  // mpv pauses a moment after the end; still "not playing"
        QCOMPARE(player->playState(), PlayState::MediaEnded);
        QCOMPARE(player->address(), short_);

        player->play();
        QCOMPARE(player->playState(), PlayState::Playing);
        verifyPlaysFrom(sampleFor(*player, 300), 0.0);
    }

    void loadFailureIsReported_data() {
        QTest::addColumn<QString>("url");
        QTest::newRow("refused connection") << QStringLiteral("http://127.0.0.1:9");
        QTest::newRow("missing file") << path(QStringLiteral("no such file.wav"));
        QTest::newRow("not media") << path(QStringLiteral("garbage.wav"));
    }
    void loadFailureIsReported() {
        QFETCH(QString, url);
        if (url.endsWith(QLatin1String("garbage.wav"))) {
            QFile garbage(url);
            QVERIFY(garbage.open(QIODevice::WriteOnly));
            garbage.write(QByteArray(4096, 'x'));
        }
        auto player = makePlayer();
        QSignalSpy errors(player.get(), &MediaPlayer::errorOccurred);
        QElapsedTimer timer;
        timer.start();
        player->open(url);
        QVERIFY(errors.wait(5000));
        qInfo("failure reported after %lld ms", static_cast<long long>(timer.elapsed()));
        QCOMPARE(errors.count(), 1);
        QVERIFY(errors.first().at(0).toString().contains(url));
        QCOMPARE(player->playState(), PlayState::Undefined);
        QCOMPARE(player->address(), url);
        QCOMPARE(player->duration(), 0.0);
        player->play();
        QCOMPARE(player->playState(), PlayState::Undefined);
        // The player is still good for the next file.
        QVERIFY(openPlaying(*player, short_));
        QCOMPARE(errors.count(), 1);
    }

    void replacingAFileBeforeItOpens() {
        auto player = makePlayer();
        QSignalSpy errors(player.get(), &MediaPlayer::errorOccurred);
        // The failure of the first must not be taken for the second.
        player->open(path(QStringLiteral("missing.wav")));
        player->open(tone_);
        player->open(short_);
        player->play();
        QTRY_COMPARE_WITH_TIMEOUT(player->playState(), PlayState::Playing, 5000);
        QVERIFY(std::abs(player->duration() - 3.0) < 0.05);
        QTest::qWait(200);
        QCOMPARE(errors.count(), 0);
        QCOMPARE(player->playState(), PlayState::Playing);
    }

    void sameAddressOpenedAgain() {
        auto player = makePlayer();
        // While it opens: the second open counts as a fresh one (from the beginning) without
        // opening the file a second time.
        player->open(tone_);
        player->setPosition(3.0);
        player->open(tone_);
        QCOMPARE(player->playState(), PlayState::Transitioning);
        QVERIFY(openPlaying(*player, tone_));
        verifyPlaysFrom(sampleFor(*player, 300), 0.0);
        // Once open, opening it again starts it over.
        QTRY_VERIFY_WITH_TIMEOUT(player->position() >= 1.0, 5000);
        QVERIFY(openPlaying(*player, tone_));
        QVERIFY(player->position() < 0.5);
    }

    void destroyedWithEventsPending() {
        // Queued event handling must not reach a destroyed player (ASan would tell).
        for (int i = 0; i < 3; ++i) {
            auto player = makePlayer();
            player->open(short_);
            player->play();
            QTest::qWait(i * 5);
        }
        // Nor may a player deleted by a receiver of its own signal go on handling events.
        auto* doomed = makePlayer().release();
        const QPointer<MpvPlayer> watch(doomed);
        connect(doomed, &MediaPlayer::playStateChanged, this, [doomed](PlayState state) {
            if (state == PlayState::Playing) delete doomed;
        });
        doomed->open(short_);
        doomed->play();
        QTRY_VERIFY_WITH_TIMEOUT(watch.isNull(), 5000);
        auto player = makePlayer();
        QVERIFY(openPlaying(*player, short_));
    }
};

QTEST_GUILESS_MAIN(MpvPlayerTest)
#include "mpv_player_test.moc"
