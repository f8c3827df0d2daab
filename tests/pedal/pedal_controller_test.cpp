// The pedal controller on the scripted library, the fake player and the real transport: what the
// typist's feet do to playback, and how the pedal is set up, lost and found again.

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "core/entry_gate.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_keyboard.h"
#include "fakes/fake_pedal_library.h"
#include "fakes/fake_player.h"
#include "pedal/pedal_controller.h"
#include "transport/media_player.h"
#include "transport/transport_controller.h"

namespace {
const QString kMedia = QStringLiteral("/media/interview.mp3");
const QString kProgramFolder = QStringLiteral("/opt/scribo/");
constexpr int kLeft = 1, kCentre = 2, kRight = 4, kLeftCentre = 3, kCentreRight = 6;

struct Rig {
    FakeClock clock;
    FakePlayer player{clock};
    TransportController transport{player, clock};
    FakePedalLibrary library;
    FakeKeyState keys;
    PedalController pedal{library, transport, keys, kProgramFolder};

    // Set up with a media open, paused at 0, rewinding 2.5 s on a pause.
    void start() {
        pedal.setUp(false);
        pedal.finishSetUp();
        player.addMedia(kMedia, 600);
        transport.open(kMedia);
        transport.chooseRewind(7);
    }
    void report(int bits) {
        library.queueReport(bits);
        pedal.pollTick();
    }
    bool playing() { return transport.isPlaying(); }
};
}  // namespace

class PedalControllerTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void setUp_data();
    void setUp();
    void noMediaNoRead();
    void pressPlaysAndLiftPausesWithRewind_data();
    void pressPlaysAndLiftPausesWithRewind();
    void skipPedalsColourThePositionText();
    void switchModePressReleasePress();
    void chordRepeatsStep_data();
    void chordRepeatsStep();
    void unpluggedPedalIsFoundAgain();
    void shutGateLeavesTheReportForLater();
};

void PedalControllerTest::setUp_data() {
    QTest::addColumn<bool>("switchedOff");
    QTest::addColumn<bool>("loads");
    QTest::addColumn<int>("setupAnswer");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<PedalController::Status>("status");
    QTest::addColumn<bool>("polls");
    QTest::addColumn<bool>("reads");
    QTest::addColumn<bool>("plugged");

    const QStringList found{"load", "enumerate 1523", "setup 0"};
    using S = PedalController::Status;
    QTest::newRow("switched off") << true << true << 0 << QStringList() << S::SwitchedOff << false
                                  << false << true;
    QTest::newRow("library missing")
        << false << false << 0 << QStringList{"load"} << S::NotConnected << false << false << true;
    // Nothing to open, and nothing polls.
    QTest::newRow("no pedal") << false << true << 0 << QStringList{"load", "enumerate 1523"}
                              << S::NotConnected << false << false << false;
    QTest::newRow("pedal cannot be opened")
        << false << true << 1 << found << S::NotConnected << false << false << true;
    QTest::newRow("ready") << false << true << 0 << (found + QStringList{"clear 0"}) << S::Connected
                           << true << true << true;
}

void PedalControllerTest::setUp() {
    QFETCH(bool, switchedOff);
    QFETCH(bool, loads);
    QFETCH(int, setupAnswer);
    Rig rig;
    rig.library.loadSucceeds = loads;
    rig.library.setupAnswer = setupAnswer;
    QSignalSpy status(&rig.pedal, &PedalController::statusChanged);
    QSignalSpy messages(&rig.pedal, &PedalController::messageRequested);
    QFETCH(bool, plugged);
    if (!plugged) rig.library.unplug();

    // No wait in set-up keeps the window from showing: a found pedal is opened by a timer.
    rig.pedal.setUp(switchedOff);
    rig.pedal.startPolling();
    QVERIFY(!rig.library.isOpen());
    rig.pedal.finishSetUp();
    QCOMPARE(rig.clock.waitedMs(), 0);
    QTEST(rig.library.log, "calls");
    QTEST(rig.pedal.status(), "status");
    QCOMPARE(status.last().at(0).toString(), PedalController::statusText(rig.pedal.status()));
    QTEST(rig.pedal.isPolling(), "polls");
    QCOMPARE(messages.size(), loads || switchedOff ? 0 : 1);
    if (!messages.isEmpty()) {
        const QString message = messages.at(0).at(0).toString();
        QVERIFY(message.contains(rig.library.libraryName()));
        QVERIFY(message.contains(kProgramFolder));
    }

    // With a media open, a press over several seconds reaches playback only from a ready pedal.
    rig.player.addMedia(kMedia, 600);
    rig.transport.open(kMedia);
    rig.library.queueReport(kCentre);
    for (int i = 0; i < 3 * PedalSession::kSearchTicks; ++i)
        rig.pedal.pollTick();
    QTEST(rig.library.count("read") > 0, "reads");
    QTEST(rig.playing(), "reads");
}

void PedalControllerTest::noMediaNoRead() {
    Rig rig;
    rig.pedal.setUp(false);
    rig.pedal.finishSetUp();
    for (int i = 0; i < 5; ++i)
        rig.report(kCentre);
    QCOMPARE(rig.library.count("read"), 0);
    QCOMPARE(rig.player.count("play"), 0);
}

void PedalControllerTest::pressPlaysAndLiftPausesWithRewind_data() {
    QTest::addColumn<double>("chosenSpeed");
    QTest::addColumn<int>("heldMs");
    QTest::addColumn<double>("rate");
    QTest::addColumn<double>("restsAt");
    QTest::newRow("10 s at 1.0: back 2.5 s") << 1.0 << 10000 << 1.0 << 7.5;
    QTest::newRow("chosen 0.4 plays at 1.0") << 0.4 << 10000 << 1.0 << 7.5;
    QTest::newRow("2 s at 1.5: too near the start") << 1.5 << 2000 << 1.5 << 3.0;
}

void PedalControllerTest::pressPlaysAndLiftPausesWithRewind() {
    QFETCH(double, chosenSpeed);
    QFETCH(int, heldMs);
    Rig rig;
    rig.start();
    rig.transport.setRate(chosenSpeed);
    rig.transport.setPlayToggled(false);
    QSignalSpy result(&rig.pedal, &PedalController::readResultShown);
    QSignalSpy state(&rig.pedal, &PedalController::pedalStateShown);

    rig.report(kCentre);
    QVERIFY(rig.playing());
    QTEST(rig.player.rate(), "rate");
    QTEST(rig.transport.chosenSpeed(), "rate");
    QCOMPARE(result.last().at(0).toString(), QStringLiteral("0"));
    QCOMPARE(state.last().at(0).toString(), QStringLiteral("Down Center"));

    rig.clock.advance(heldMs);
    rig.report(0);
    QVERIFY(!rig.playing());
    QTEST(rig.transport.position(), "restsAt");
    QCOMPARE(state.last().at(0).toString(), QStringLiteral("Up"));
}

void PedalControllerTest::skipPedalsColourThePositionText() {
    Rig rig;
    rig.start();
    rig.player.play();
    QSignalSpy colour(&rig.pedal, &PedalController::positionTextColorChanged);
    QSignalSpy playing(&rig.transport, &TransportController::playingChanged);

    rig.report(kLeft);  // rewind: pauses, settles 100 ms, skips back
    QVERIFY(!rig.playing());
    QCOMPARE(colour.size(), 1);
    QCOMPARE(colour.last().at(0).value<QColor>(), QColor(0, 0, 255));
    rig.report(0);
    rig.report(kRight);
    QCOMPARE(colour.last().at(0).value<QColor>(), QColor(128, 0, 0));
    // Left and right together stop the skip; the text gets its play-state colour back.
    playing.clear();
    rig.report(kLeft | kRight);
    QCOMPARE(playing.size(), 1);
    QVERIFY(rig.clock.waitedMs() >= 200);
}

void PedalControllerTest::switchModePressReleasePress() {
    Rig rig;
    rig.start();
    rig.pedal.chooseMode(1);

    rig.report(kCentre);
    QVERIFY(rig.playing());
    rig.report(0);
    QVERIFY(rig.playing());
    rig.clock.advance(5000);
    rig.report(kCentre);
    QVERIFY(!rig.playing());
    QCOMPARE(rig.transport.position(), 2.5);
    rig.report(0);
    QCOMPARE(rig.pedal.switchState(), PedalSwitch{});
    rig.report(kCentre);
    QVERIFY(rig.playing());

    // A player error part-way ends the report with the switch already taken, so that the
    // release after it is ignored as after any first press.
    rig.report(kCentre);
    rig.report(0);
    rig.player.failNext(QStringLiteral("play"));
    QVERIFY_THROWS_EXCEPTION(PlayerError, rig.report(kCentre));
    QCOMPARE(rig.pedal.switchState(), (PedalSwitch{true, false, false}));
}

void PedalControllerTest::chordRepeatsStep_data() {
    QTest::addColumn<int>("chord");
    QTest::addColumn<bool>("shift");
    QTest::addColumn<QList<double>>("steps");
    QTest::newRow("left+centre") << kLeftCentre << false << QList<double>{1.1, 1.2, 1.3};
    QTest::newRow("left+centre, Shift") << kLeftCentre << true << QList<double>{0.9, 0.8, 0.7};
    QTest::newRow("centre+right from 95") << kCentreRight << false << QList<double>{100, 5, 10};
    QTest::newRow("centre+right, Shift") << kCentreRight << true << QList<double>{90, 85, 80};
}

void PedalControllerTest::chordRepeatsStep() {
    QFETCH(int, chord);
    QFETCH(bool, shift);
    QFETCH(QList<double>, steps);
    Rig rig;
    rig.start();
    rig.transport.stepVolume(45);
    const bool speed = chord == kLeftCentre;

    rig.report(chord);
    QVERIFY(rig.playing());  // a chord plays as well
    QCOMPARE(rig.pedal.isSpeedRepeating(), speed);
    QCOMPARE(rig.pedal.isVolumeRepeating(), !speed);
    if (shift) rig.keys.held = ModifierKey::Shift;
    for (const double step : steps) {
        if (speed) {
            rig.pedal.speedRepeatTick();
            QCOMPARE(rig.transport.chosenSpeed(), step);
            QCOMPARE(rig.player.rate(), step);
        } else {
            rig.pedal.volumeRepeatTick();
            QCOMPARE(rig.transport.keyVolume(), int(step));
            QCOMPARE(rig.player.volume(), int(step));
        }
    }
    rig.report(0);
    QVERIFY(!rig.pedal.isSpeedRepeating());
    QVERIFY(!rig.pedal.isVolumeRepeating());

    // With chords switched off the same pedals only play.
    rig.pedal.setChordsEnabled(false);
    rig.report(chord);
    QVERIFY(!rig.pedal.isSpeedRepeating() && !rig.pedal.isVolumeRepeating());

    // Switched off while a repeat runs: the lift still ends it.
    rig.pedal.setChordsEnabled(true);
    rig.report(chord);
    rig.pedal.setChordsEnabled(false);
    rig.report(0);
    QVERIFY(!rig.pedal.isSpeedRepeating() && !rig.pedal.isVolumeRepeating());
}

void PedalControllerTest::unpluggedPedalIsFoundAgain() {
    QTemporaryDir devices;
    Rig rig;
    rig.library.devices = devices.path();
    rig.player.addMedia(kMedia, 600);
    rig.transport.open(kMedia);
    // The set-up timer opens the pedal, then the poll starts.
    rig.pedal.setUp(false);
    rig.pedal.startPolling();
    QVERIFY(!rig.pedal.isPolling());
    QTRY_VERIFY_WITH_TIMEOUT(rig.pedal.isPolling(), 3000);
    QSignalSpy status(&rig.pedal, &PedalController::statusChanged);

    // Pulled out with the centre held: the next read says so at once, playback stops as on a
    // lift, and nothing polls while it is gone.
    rig.report(kCentre);
    QVERIFY(rig.playing());
    rig.library.unplug();
    rig.pedal.pollTick();
    QVERIFY(!rig.playing());
    QCOMPARE(rig.library.count("cleanup"), 1);
    QCOMPARE(rig.pedal.status(), PedalController::Status::NotConnected);
    QCOMPARE(status.size(), 1);
    QVERIFY(!rig.pedal.isPolling());

    // Plugged in again: its node appears, unreadable for a moment, and it is found.
    rig.library.plugIn();
    rig.library.setupAnswer = PedalResults::OpenFailed;
    QFile node(devices.filePath(QStringLiteral("hidraw3")));
    QVERIFY(node.open(QIODevice::WriteOnly));
    QTRY_VERIFY(rig.library.count("setup") > 1);
    QVERIFY(!rig.pedal.isPolling());
    rig.library.setupAnswer = PedalResults::Ok;
    QTRY_VERIFY_WITH_TIMEOUT(rig.pedal.isPolling(), 5000);
    QCOMPARE(status.last().at(0).toString(),
             PedalController::statusText(PedalController::Status::Connected));
    rig.report(kCentre);
    QVERIFY(rig.playing());
}

void PedalControllerTest::shutGateLeavesTheReportForLater() {
    Rig rig;
    EntryGate gate;
    rig.pedal.setEntryGate(&gate);
    rig.start();
    {
        const EntryGate::Wait shut(gate);
        rig.report(kCentre);
        QCOMPARE(rig.library.count("read"), 0);
    }
    QVERIFY(!rig.playing());
    rig.pedal.pollTick();
    QVERIFY(rig.playing());

    // The real poll timer reads on its own, through the session's guard.
    int guarded = 0;
    rig.pedal.setTickRunner([&guarded](const std::function<void()>& tick) {
        ++guarded;
        tick();
    });
    rig.pedal.startPolling();
    const int reads = rig.library.count("read");
    QTRY_VERIFY_WITH_TIMEOUT(rig.library.count("read") > reads, 2000);
    QVERIFY(guarded > 0);
}

QTEST_GUILESS_MAIN(PedalControllerTest)
#include "pedal_controller_test.moc"
