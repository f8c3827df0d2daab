// The speed choice and the one-touch speed switch, the skip steps and continuous skipping, on the
// fake player.

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QTimer>
#include <QtTest>

#include "core/profile_file.h"
#include "fakes/transport_setup.h"
#include "fakes/window_fixture.h"
#include "transport/media_player.h"

using transportsetup::startWithMedia;

namespace {
QString speedText(const QString& speed) {
    return QStringLiteral("     再生速度[ ") + speed + QStringLiteral(" ］");
}

int readPlayInt(SessionFixture& f, const QString& key) {
    return ProfileFile(f.settings().path()).readInteger(QStringLiteral("Play"), key, -9);
}

const QString kRateRefused =
    QStringLiteral("Ｗａｖ形式でも、この音声データは\n\n再生速度を変更できません");
}  // namespace

class SpeedSkipTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void speedGroupAppliesTable();
    void speedGroupWaitsForStartup();
    void speedChoiceIsStoredWhileFileExists();
    void toggleSwitchesBetweenNormalAndSetSpeed();
    void normalChosenWhileSetSpeedActive();
    void toggleRefusedWhenRateUnavailable();
    void speedErrorsEndHandlerAtFailingCall();
    void pitchGroupsSetStepsAndStore();
    void rewindStepsToStartAndPauses();
    void rewindFromExactlyOneStepLandsOnZero();
    void forwardStepsWhilePlaying();
    void forwardStopsShortOfEnd();
    void unknownDurationStopsSkips();
    void playStateEndsSkip();
};

void SpeedSkipTest::speedGroupAppliesTable() {
    SessionFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    struct Row {
        int item;
        double speed;
        const char* text;
        bool active;
    };
    // From item 2 (loaded) every step below changes the selection, so each one is applied.
    const Row rows[] = {{0, 0.6, "0.6", true}, {1, 0.8, "0.8", true}, {2, 1.0, "1.0", false},
                        {3, 1.2, "1.2", true}, {4, 1.5, "1.5", true}, {5, 1.8, "1.8", true},
                        {6, 2.0, "2.0", true}, {-1, 1.0, "1.0", true}};
    for (const Row& row : rows) {
        f.session().choose(Setting::SpeedChoice, row.item);
        const QByteArray where = QByteArray("item ") + QByteArray::number(row.item);
        QVERIFY2(f.player.rate() == row.speed, where);
        QVERIFY2(f.transport().chosenSpeed() == row.speed, where);
        QVERIFY2(f.transport().speedSwitchOn() == row.active, where);
        QVERIFY2(f.session().volumeBarLeading() == speedText(QLatin1String(row.text)), where);
        QVERIFY2(readPlayInt(f, QStringLiteral("Speed")) == row.item, where);
    }
}

void SpeedSkipTest::speedGroupWaitsForStartup() {
    SessionFixture f;
    Session& s = f.session();
    f.player.log.clear();
    s.choose(Setting::SpeedChoice, 4);
    QVERIFY(f.player.log.isEmpty());
    QCOMPARE(f.transport().chosenSpeed(), 1.0);
}

void SpeedSkipTest::speedChoiceIsStoredWhileFileExists() {
    SessionFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    f.session().choose(Setting::SpeedChoice, 5);
    const ProfileFile ini(f.settings().path());
    QCOMPARE(ini.readInteger(QStringLiteral("Play"), QStringLiteral("Speed"), -9), 5);
    QCOMPARE(ini.readString(QStringLiteral("Play"), QStringLiteral("ActualSpeed"), QString()),
             QStringLiteral("1.8"));

    // Without the file the choice still applies but nothing is written (or created).
    QVERIFY(QFile::remove(f.settings().path()));
    f.session().choose(Setting::SpeedChoice, 1);
    QCOMPARE(f.player.rate(), 0.8);
    QVERIFY(!QFile::exists(f.settings().path()));
    QVERIFY(f.dialogs.errors.isEmpty());
}

void SpeedSkipTest::toggleSwitchesBetweenNormalAndSetSpeed() {
    WindowFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.window();
    f.session().choose(Setting::SpeedChoice, 4);
    QCOMPARE(f.player.rate(), 1.5);
    QVERIFY(f.transport().speedSwitchOn());
    const QByteArray settings = f.settingsBytes();

    control<QAction>(w, "speedSwitchAction")->trigger();
    QCOMPARE(f.player.rate(), 1.0);
    QVERIFY(!f.transport().speedSwitchOn());
    QCOMPARE(control<ProgressBar>(w, "volumeBar")->positionTextPrefix(),
             speedText(QStringLiteral("1.0")));

    control<QAction>(w, "speedSwitchAction")->trigger();
    QCOMPARE(f.player.rate(), 1.5);
    QVERIFY(f.transport().speedSwitchOn());
    QCOMPARE(control<ProgressBar>(w, "volumeBar")->positionTextPrefix(),
             speedText(QStringLiteral("1.5")));

    // The switch leaves the choice itself alone.
    QCOMPARE(f.transport().chosenSpeed(), 1.5);
    QCOMPARE(control<RadioGroup>(w, "speedGroup")->itemIndex(), 4);
    QCOMPARE(f.settingsBytes(), settings);
}

void SpeedSkipTest::normalChosenWhileSetSpeedActive() {
    SessionFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    f.session().choose(Setting::SpeedChoice, 4);
    f.session().choose(Setting::SpeedChoice, 2);
    QCOMPARE(f.player.rate(), 1.0);
    QVERIFY(!f.transport().speedSwitchOn());
    QCOMPARE(f.transport().chosenSpeed(), 1.0);

    f.player.log.clear();
    f.transport().toggleSpeedSwitch();
    QCOMPARE(f.player.log, QStringList{QStringLiteral("setRate 1")});
    QVERIFY(f.transport().speedSwitchOn());
    QCOMPARE(f.session().volumeBarLeading(), speedText(QStringLiteral("1.0")));
}

void SpeedSkipTest::toggleRefusedWhenRateUnavailable() {
    SessionFixture f;
    startWithMedia(f, QStringLiteral("talk.wav"), 600, /*rateAvailable=*/false);
    f.session().choose(Setting::SpeedChoice, 4);  // the choice does not ask
    QCOMPARE(f.player.rate(), 1.5);
    const QString before = f.session().volumeBarLeading();
    f.player.log.clear();
    f.transport().toggleSpeedSwitch();
    QCOMPARE(f.dialogs.messages, QStringList{kRateRefused});
    QVERIFY(f.player.log.isEmpty());
    QVERIFY(f.transport().speedSwitchOn());
    QCOMPARE(f.session().volumeBarLeading(), before);
    QVERIFY(f.dialogs.errors.isEmpty());
}

void SpeedSkipTest::speedErrorsEndHandlerAtFailingCall() {
    SessionFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    Session& s = f.session();
    const QString before = s.volumeBarLeading();

    f.player.failNext(QStringLiteral("setRate"));
    QVERIFY(!s.run([&] { f.transport().toggleSpeedSwitch(); }));
    QCOMPARE(f.dialogs.errors.size(), 1);
    QCOMPARE(f.player.rate(), 1.0);
    QCOMPARE(s.volumeBarLeading(), before);

    // Through the choice: the failing rate ends it before the text and the file.
    const QByteArray settings = f.settingsBytes();
    f.player.failNext(QStringLiteral("setRate"));
    QVERIFY(!s.run([&] { s.choose(Setting::SpeedChoice, 6); }));
    QCOMPARE(f.dialogs.errors.size(), 2);
    QCOMPARE(s.volumeBarLeading(), before);
    QCOMPARE(f.settingsBytes(), settings);
}

void SpeedSkipTest::pitchGroupsSetStepsAndStore() {
    SessionFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    QCOMPARE(f.transport().rewindStep(), 5.0);
    QCOMPARE(f.transport().forwardStep(), 5.0);
    f.session().choose(Setting::RewindStep, 0);
    f.session().choose(Setting::ForwardStep, 6);
    QCOMPARE(f.transport().rewindStep(), 2.0);
    QCOMPARE(f.transport().forwardStep(), 600.0);
    const ProfileFile ini(f.settings().path());
    QCOMPARE(ini.readInteger(QStringLiteral("Pedal"), QStringLiteral("REWPitch"), -9), 0);
    QCOMPARE(ini.readInteger(QStringLiteral("Pedal"), QStringLiteral("FWDPitch"), -9), 6);
    // No selection keeps the step.
    f.session().choose(Setting::RewindStep, -1);
    f.session().choose(Setting::ForwardStep, -1);
    QCOMPARE(f.transport().rewindStep(), 2.0);
    QCOMPARE(f.transport().forwardStep(), 600.0);
}

void SpeedSkipTest::rewindStepsToStartAndPauses() {
    WindowFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.window();
    f.player.setPosition(7);
    transportTimer(f, "rewindSkipTimer")->start();

    f.transport().rewindSkipTick();
    QCOMPARE(f.player.position(), 2.0);
    QCOMPARE(f.player.playState(), PlayState::Paused);
    QVERIFY(transportTimer(f, "rewindSkipTimer")->isActive());
    QCOMPARE(f.transport().savedPosition(), 7.0);
    QCOMPARE(f.transport().polledDuration(), 600.0);
    QCOMPARE(control<ProgressBar>(w, "positionBar")->position(), 2);
    QCOMPARE(control<ProgressBar>(w, "positionBar")->positionTextPrefix(),
             QStringLiteral("0:00:02"));
    QCOMPARE(control<ProgressBar>(w, "positionBar")->positionTextSuffix(),
             QStringLiteral("    [ talk.mp3 ]"));
    QCOMPARE(control<QLabel>(w, "playTimeLabel")->text(), QStringLiteral("0:00:02"));

    f.transport().rewindSkipTick();
    QCOMPARE(f.player.position(), 0.0);
    QCOMPARE(f.player.playState(), PlayState::Paused);
    QVERIFY(!transportTimer(f, "rewindSkipTimer")->isActive());
    QCOMPARE(f.transport().savedPosition(), 2.0);
    QCOMPARE(control<ProgressBar>(w, "positionBar")->position(), 0);
    QCOMPARE(control<QLabel>(w, "playTimeLabel")->text(), QStringLiteral("0:00:00"));
}

void SpeedSkipTest::rewindFromExactlyOneStepLandsOnZero() {
    SessionFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    f.player.setPosition(5);
    f.player.play();
    transportTimer(f, "rewindSkipTimer")->start();
    f.player.log.clear();
    f.transport().rewindSkipTick();
    QCOMPARE(f.player.log, (QStringList{QStringLiteral("setPosition 0"), QStringLiteral("pause")}));
    QCOMPARE(f.player.playState(), PlayState::Paused);
    QVERIFY(!transportTimer(f, "rewindSkipTimer")->isActive());
}

void SpeedSkipTest::forwardStepsWhilePlaying() {
    WindowFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.window();
    f.player.setPosition(10);
    f.player.play();
    transportTimer(f, "forwardSkipTimer")->start();
    f.transport().forwardSkipTick();
    QCOMPARE(f.player.position(), 15.0);
    QCOMPARE(f.player.playState(), PlayState::Playing);
    QCOMPARE(control<ProgressBar>(w, "positionBar")->position(), 15);
    QCOMPARE(control<QLabel>(w, "playTimeLabel")->text(), QStringLiteral("0:00:15"));
    f.clock.advance(1000);
    f.transport().forwardSkipTick();
    QCOMPARE(f.player.position(), 21.0);
    QCOMPARE(f.transport().savedPosition(), 16.0);
    QCOMPARE(control<QLabel>(w, "playTimeLabel")->text(), QStringLiteral("0:00:21"));
    QVERIFY(transportTimer(f, "forwardSkipTimer")->isActive());
}

void SpeedSkipTest::forwardStopsShortOfEnd() {
    WindowFixture f;
    startWithMedia(f, QStringLiteral("short.mp3"), 60);
    MainWindow& w = f.window();
    f.player.setPosition(58);
    f.player.play();
    transportTimer(f, "forwardSkipTimer")->start();
    f.player.log.clear();
    f.transport().forwardSkipTick();
    QCOMPARE(f.player.log, QStringList{QStringLiteral("pause")});
    QCOMPARE(f.player.position(), 58.0);
    QCOMPARE(f.player.playState(), PlayState::Paused);
    QVERIFY(!transportTimer(f, "forwardSkipTimer")->isActive());
    QCOMPARE(control<QLabel>(w, "playTimeLabel")->text(), QStringLiteral("0:00:58"));
    QCOMPARE(control<ProgressBar>(w, "positionBar")->position(), 58);

    // A step that would land exactly on the end stops as well.
    f.player.setPosition(55);
    transportTimer(f, "forwardSkipTimer")->start();
    f.player.log.clear();
    f.transport().forwardSkipTick();
    QCOMPARE(f.player.log, QStringList{QStringLiteral("pause")});
    QCOMPARE(f.player.position(), 55.0);
    QVERIFY(!transportTimer(f, "forwardSkipTimer")->isActive());
}

void SpeedSkipTest::unknownDurationStopsSkips() {
    WindowFixture f;
    f.player.setDurationDelay(1'000'000'000);
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.window();
    QCOMPARE(control<ProgressBar>(w, "positionBar")->maximum(), 0);

    f.player.setPosition(7);
    f.player.play();
    transportTimer(f, "forwardSkipTimer")->start();
    f.transport().forwardSkipTick();
    QCOMPARE(f.player.position(), 7.0);
    QCOMPARE(f.player.playState(), PlayState::Paused);
    QVERIFY(!transportTimer(f, "forwardSkipTimer")->isActive());
    QCOMPARE(control<QLabel>(w, "playTimeLabel")->text(), QStringLiteral("0:00:07"));

    transportTimer(f, "rewindSkipTimer")->start();
    f.transport().rewindSkipTick();
    QCOMPARE(f.player.position(), 0.0);
    QVERIFY(!transportTimer(f, "rewindSkipTimer")->isActive());
    QCOMPARE(f.transport().polledDuration(), 0.0);
}

void SpeedSkipTest::playStateEndsSkip() {
    SessionFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    transportTimer(f, "rewindSkipTimer")->start();
    transportTimer(f, "forwardSkipTimer")->start();
    f.transport().refreshPlayState();
    QVERIFY(!transportTimer(f, "rewindSkipTimer")->isActive());
    QVERIFY(!transportTimer(f, "forwardSkipTimer")->isActive());

    // Every play or pause command ends a skip, the position-bar click included.
    transportTimer(f, "rewindSkipTimer")->start();
    f.transport().togglePlayFromBar();
    QVERIFY(!transportTimer(f, "rewindSkipTimer")->isActive());
    transportTimer(f, "forwardSkipTimer")->start();
    f.transport().togglePlay();
    QVERIFY(!transportTimer(f, "forwardSkipTimer")->isActive());
}

QTEST_MAIN(SpeedSkipTest)
#include "speed_skip_test.moc"
