// The speed choice and the one-touch speed switch, the skip steps and continuous skipping, on the
// fake player.

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QTimer>
#include <QtTest>

#include "core/profile_file.h"
#include "fakes/form_fixture.h"
#include "fakes/transport_setup.h"
#include "transport/media_player.h"

using transportsetup::startWithMedia;

namespace {
QString speedText(const QString& speed) {
    return QStringLiteral("     再生速度[ ") + speed + QStringLiteral(" ］");
}

int readPlayInt(const MainWindow& w, const QString& key) {
    return ProfileFile(w.settingsPath()).readInteger(QStringLiteral("Play"), key, -9);
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
    FormFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.form();
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
        control<RadioGroup>(w, "speedGroup")->setItemIndex(row.item);
        const QByteArray where = QByteArray("item ") + QByteArray::number(row.item);
        QVERIFY2(f.player.rate() == row.speed, where);
        QVERIFY2(w.transport().chosenSpeed() == row.speed, where);
        QVERIFY2(w.transport().speedSwitchOn() == row.active, where);
        QVERIFY2(control<ProgressBar>(w, "volumeBar")->PosTextPrefix() ==
                     speedText(QLatin1String(row.text)),
                 where);
        QVERIFY2(readPlayInt(w, QStringLiteral("Speed")) == row.item, where);
    }
}

void SpeedSkipTest::speedGroupWaitsForStartup() {
    FormFixture f;
    MainWindow& w = f.create();
    f.player.log.clear();
    control<RadioGroup>(w, "speedGroup")->setItemIndex(4);
    QVERIFY(f.player.log.isEmpty());
    QCOMPARE(w.transport().chosenSpeed(), 1.0);
}

void SpeedSkipTest::speedChoiceIsStoredWhileFileExists() {
    FormFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.form();
    control<RadioGroup>(w, "speedGroup")->setItemIndex(5);
    const ProfileFile ini(w.settingsPath());
    QCOMPARE(ini.readInteger(QStringLiteral("Play"), QStringLiteral("Speed"), -9), 5);
    QCOMPARE(ini.readString(QStringLiteral("Play"), QStringLiteral("ActualSpeed"), QString()),
             QStringLiteral("1.8"));

    // Without the file the choice still applies but nothing is written (or created).
    QVERIFY(QFile::remove(w.settingsPath()));
    control<RadioGroup>(w, "speedGroup")->setItemIndex(1);
    QCOMPARE(f.player.rate(), 0.8);
    QVERIFY(!QFile::exists(w.settingsPath()));
    QVERIFY(f.dialogs.errors.isEmpty());
}

void SpeedSkipTest::toggleSwitchesBetweenNormalAndSetSpeed() {
    FormFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.form();
    control<RadioGroup>(w, "speedGroup")->setItemIndex(4);
    QCOMPARE(f.player.rate(), 1.5);
    QVERIFY(w.transport().speedSwitchOn());
    const QByteArray settings = f.settingsBytes();

    control<QAction>(w, "speedSwitchAction")->trigger();
    QCOMPARE(f.player.rate(), 1.0);
    QVERIFY(!w.transport().speedSwitchOn());
    QCOMPARE(control<ProgressBar>(w, "volumeBar")->PosTextPrefix(),
             speedText(QStringLiteral("1.0")));

    control<QAction>(w, "speedSwitchAction")->trigger();
    QCOMPARE(f.player.rate(), 1.5);
    QVERIFY(w.transport().speedSwitchOn());
    QCOMPARE(control<ProgressBar>(w, "volumeBar")->PosTextPrefix(),
             speedText(QStringLiteral("1.5")));

    // The switch leaves the choice itself alone.
    QCOMPARE(w.transport().chosenSpeed(), 1.5);
    QCOMPARE(control<RadioGroup>(w, "speedGroup")->ItemIndex(), 4);
    QCOMPARE(f.settingsBytes(), settings);
}

void SpeedSkipTest::normalChosenWhileSetSpeedActive() {
    FormFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.form();
    control<RadioGroup>(w, "speedGroup")->setItemIndex(4);
    control<RadioGroup>(w, "speedGroup")->setItemIndex(2);
    QCOMPARE(f.player.rate(), 1.0);
    QVERIFY(!w.transport().speedSwitchOn());
    QCOMPARE(w.transport().chosenSpeed(), 1.0);

    f.player.log.clear();
    control<QAction>(w, "speedSwitchAction")->trigger();
    QCOMPARE(f.player.log, QStringList{QStringLiteral("setRate 1")});
    QVERIFY(w.transport().speedSwitchOn());
    QCOMPARE(control<ProgressBar>(w, "volumeBar")->PosTextPrefix(),
             speedText(QStringLiteral("1.0")));
}

void SpeedSkipTest::toggleRefusedWhenRateUnavailable() {
    FormFixture f;
    startWithMedia(f, QStringLiteral("talk.wav"), 600, /*rateAvailable=*/false);
    MainWindow& w = f.form();
    control<RadioGroup>(w, "speedGroup")->setItemIndex(4);  // the group does not ask
    QCOMPARE(f.player.rate(), 1.5);
    const QString before = control<ProgressBar>(w, "volumeBar")->PosTextPrefix();
    f.player.log.clear();
    control<QAction>(w, "speedSwitchAction")->trigger();
    QCOMPARE(f.dialogs.messages, QStringList{kRateRefused});
    QVERIFY(f.player.log.isEmpty());
    QVERIFY(w.transport().speedSwitchOn());
    QCOMPARE(control<ProgressBar>(w, "volumeBar")->PosTextPrefix(), before);
    QVERIFY(f.dialogs.errors.isEmpty());
}

void SpeedSkipTest::speedErrorsEndHandlerAtFailingCall() {
    FormFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.form();
    const QString before = control<ProgressBar>(w, "volumeBar")->PosTextPrefix();

    f.player.failNext(QStringLiteral("setRate"));
    control<QAction>(w, "speedSwitchAction")->trigger();
    QCOMPARE(f.dialogs.errors.size(), 1);
    QCOMPARE(f.player.rate(), 1.0);
    QCOMPARE(control<ProgressBar>(w, "volumeBar")->PosTextPrefix(), before);

    // Through the radio group: the failing rate ends it before the text and the file.
    const QByteArray settings = f.settingsBytes();
    f.player.failNext(QStringLiteral("setRate"));
    control<RadioGroup>(w, "speedGroup")->setItemIndex(6);
    QCOMPARE(f.dialogs.errors.size(), 2);
    QCOMPARE(control<ProgressBar>(w, "volumeBar")->PosTextPrefix(), before);
    QCOMPARE(f.settingsBytes(), settings);
}

void SpeedSkipTest::pitchGroupsSetStepsAndStore() {
    FormFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.form();
    QCOMPARE(w.transport().rewindStep(), 5.0);
    QCOMPARE(w.transport().forwardStep(), 5.0);
    control<RadioGroup>(w, "rewindStepGroup")->setItemIndex(0);
    control<RadioGroup>(w, "forwardStepGroup")->setItemIndex(6);
    QCOMPARE(w.transport().rewindStep(), 2.0);
    QCOMPARE(w.transport().forwardStep(), 600.0);
    const ProfileFile ini(w.settingsPath());
    QCOMPARE(ini.readInteger(QStringLiteral("Pedal"), QStringLiteral("REWPitch"), -9), 0);
    QCOMPARE(ini.readInteger(QStringLiteral("Pedal"), QStringLiteral("FWDPitch"), -9), 6);
    // No selection keeps the step.
    control<RadioGroup>(w, "rewindStepGroup")->setItemIndex(-1);
    control<RadioGroup>(w, "forwardStepGroup")->setItemIndex(-1);
    QCOMPARE(w.transport().rewindStep(), 2.0);
    QCOMPARE(w.transport().forwardStep(), 600.0);
}

void SpeedSkipTest::rewindStepsToStartAndPauses() {
    FormFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.form();
    f.player.setPosition(7);
    transportTimer(w, "rewindSkipTimer")->start();

    w.transport().rewindSkipTick();
    QCOMPARE(f.player.position(), 2.0);
    QCOMPARE(f.player.playState(), PlayState::Paused);
    QVERIFY(transportTimer(w, "rewindSkipTimer")->isActive());
    QCOMPARE(w.transport().savedPosition(), 7.0);
    QCOMPARE(w.transport().polledDuration(), 600.0);
    QCOMPARE(control<ProgressBar>(w, "positionBar")->Position(), 2);
    QCOMPARE(control<ProgressBar>(w, "positionBar")->PosTextPrefix(), QStringLiteral("0:00:02"));
    QCOMPARE(control<ProgressBar>(w, "positionBar")->PosTextSuffix(),
             QStringLiteral("    [ talk.mp3 ]"));
    QCOMPARE(control<QLabel>(w, "playTimeLabel")->text(), QStringLiteral("0:00:02"));

    w.transport().rewindSkipTick();
    QCOMPARE(f.player.position(), 0.0);
    QCOMPARE(f.player.playState(), PlayState::Paused);
    QVERIFY(!transportTimer(w, "rewindSkipTimer")->isActive());
    QCOMPARE(w.transport().savedPosition(), 2.0);
    QCOMPARE(control<ProgressBar>(w, "positionBar")->Position(), 0);
    QCOMPARE(control<QLabel>(w, "playTimeLabel")->text(), QStringLiteral("0:00:00"));
}

void SpeedSkipTest::rewindFromExactlyOneStepLandsOnZero() {
    FormFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.form();
    f.player.setPosition(5);
    f.player.play();
    transportTimer(w, "rewindSkipTimer")->start();
    f.player.log.clear();
    w.transport().rewindSkipTick();
    QCOMPARE(f.player.log, (QStringList{QStringLiteral("setPosition 0"), QStringLiteral("pause")}));
    QCOMPARE(f.player.playState(), PlayState::Paused);
    QVERIFY(!transportTimer(w, "rewindSkipTimer")->isActive());
}

void SpeedSkipTest::forwardStepsWhilePlaying() {
    FormFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.form();
    f.player.setPosition(10);
    f.player.play();
    transportTimer(w, "forwardSkipTimer")->start();
    w.transport().forwardSkipTick();
    QCOMPARE(f.player.position(), 15.0);
    QCOMPARE(f.player.playState(), PlayState::Playing);
    QCOMPARE(control<ProgressBar>(w, "positionBar")->Position(), 15);
    QCOMPARE(control<QLabel>(w, "playTimeLabel")->text(), QStringLiteral("0:00:15"));
    f.clock.advance(1000);
    w.transport().forwardSkipTick();
    QCOMPARE(f.player.position(), 21.0);
    QCOMPARE(w.transport().savedPosition(), 16.0);
    QCOMPARE(control<QLabel>(w, "playTimeLabel")->text(), QStringLiteral("0:00:21"));
    QVERIFY(transportTimer(w, "forwardSkipTimer")->isActive());
}

void SpeedSkipTest::forwardStopsShortOfEnd() {
    FormFixture f;
    startWithMedia(f, QStringLiteral("short.mp3"), 60);
    MainWindow& w = f.form();
    f.player.setPosition(58);
    f.player.play();
    transportTimer(w, "forwardSkipTimer")->start();
    f.player.log.clear();
    w.transport().forwardSkipTick();
    QCOMPARE(f.player.log, QStringList{QStringLiteral("pause")});
    QCOMPARE(f.player.position(), 58.0);
    QCOMPARE(f.player.playState(), PlayState::Paused);
    QVERIFY(!transportTimer(w, "forwardSkipTimer")->isActive());
    QCOMPARE(control<QLabel>(w, "playTimeLabel")->text(), QStringLiteral("0:00:58"));
    QCOMPARE(control<ProgressBar>(w, "positionBar")->Position(), 58);

    // A step that would land exactly on the end stops as well.
    f.player.setPosition(55);
    transportTimer(w, "forwardSkipTimer")->start();
    f.player.log.clear();
    w.transport().forwardSkipTick();
    QCOMPARE(f.player.log, QStringList{QStringLiteral("pause")});
    QCOMPARE(f.player.position(), 55.0);
    QVERIFY(!transportTimer(w, "forwardSkipTimer")->isActive());
}

void SpeedSkipTest::unknownDurationStopsSkips() {
    FormFixture f;
    f.player.setDurationDelay(1'000'000'000);
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.form();
    QCOMPARE(control<ProgressBar>(w, "positionBar")->Max(), 0);

    f.player.setPosition(7);
    f.player.play();
    transportTimer(w, "forwardSkipTimer")->start();
    w.transport().forwardSkipTick();
    QCOMPARE(f.player.position(), 7.0);
    QCOMPARE(f.player.playState(), PlayState::Paused);
    QVERIFY(!transportTimer(w, "forwardSkipTimer")->isActive());
    QCOMPARE(control<QLabel>(w, "playTimeLabel")->text(), QStringLiteral("0:00:07"));

    transportTimer(w, "rewindSkipTimer")->start();
    w.transport().rewindSkipTick();
    QCOMPARE(f.player.position(), 0.0);
    QVERIFY(!transportTimer(w, "rewindSkipTimer")->isActive());
    QCOMPARE(w.transport().polledDuration(), 0.0);
}

void SpeedSkipTest::playStateEndsSkip() {
    FormFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.form();
    transportTimer(w, "rewindSkipTimer")->start();
    transportTimer(w, "forwardSkipTimer")->start();
    w.transport().refreshPlayState();
    QVERIFY(!transportTimer(w, "rewindSkipTimer")->isActive());
    QVERIFY(!transportTimer(w, "forwardSkipTimer")->isActive());

    // Every play or pause command ends a skip, the position-bar click included.
    transportTimer(w, "rewindSkipTimer")->start();
    clickBar(control<ProgressBar>(w, "positionBar"));
    QVERIFY(!transportTimer(w, "rewindSkipTimer")->isActive());
    transportTimer(w, "forwardSkipTimer")->start();
    control<QAction>(w, "playPauseAction")->trigger();
    QVERIFY(!transportTimer(w, "forwardSkipTimer")->isActive());
}

QTEST_MAIN(SpeedSkipTest)
#include "speed_skip_test.moc"
