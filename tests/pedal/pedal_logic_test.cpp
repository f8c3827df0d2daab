// The pedal logic played through sequences of reports against a small model of the player, so
// that each row reads as what the typist's feet do and what the player ends up doing.

#include <QtTest>

#include "pedal/pedal_library.h"
#include "pedal/pedal_logic.h"

namespace {
// The player and timers as far as the effects move them. Positions change only by rewinds.
struct Model {
    PedalSettings settings;
    PedalSwitch switchState;
    bool playToggled = false;
    bool playing = false;
    double position = 10.0;
    double rewindSeconds = 2.0;
    double setSpeed = 1.0;
    double rate = 1.0;
    int heldBits = 0;
    QString skip;
    bool speedRepeat = false, volumeRepeat = false, released = false;

    void report(int result, int bits) {
        const PedalOutcome out = handlePedalReport(
            settings, {switchState, playToggled, playing, setSpeed, heldBits}, result, bits);
        switchState = out.switchState;
        playToggled = out.playToggled;
        heldBits = out.bits.value_or(heldBits);
        for (const PedalEffect& e : out.effects)
            apply(e);
    }

    void apply(const PedalEffect& e) {
        switch (e.kind) {
            case PedalEffectKind::ReleaseDevice:
                released = true;
                break;
            case PedalEffectKind::Pause:
                playing = false;
                break;
            case PedalEffectKind::RewindAfterPause:
                position = pedalRewindTarget(position, rewindSeconds).value_or(position);
                break;
            case PedalEffectKind::Play:
                setSpeed = rate = e.value;
                playing = true;
                break;
            case PedalEffectKind::RefreshPlayState:  // it ends a continuous skip too
            case PedalEffectKind::StopSkips:
                skip.clear();
                break;
            case PedalEffectKind::Wait:
                break;
            case PedalEffectKind::StartRewindSkip:
                skip = QStringLiteral("rewinding");
                break;
            case PedalEffectKind::StartForwardSkip:
                skip = QStringLiteral("forwarding");
                break;
            case PedalEffectKind::StartSpeedRepeat:
                speedRepeat = true;
                break;
            case PedalEffectKind::StopSpeedRepeat:
                speedRepeat = false;
                break;
            case PedalEffectKind::StartVolumeRepeat:
                volumeRepeat = true;
                break;
            case PedalEffectKind::StopVolumeRepeat:
                volumeRepeat = false;
                break;
        }
    }

    QString describe() const {
        QStringList parts{playing ? QStringLiteral("playing") : QStringLiteral("paused"),
                          QString::number(position)};
        if (!skip.isEmpty()) parts << skip;
        if (speedRepeat) parts << QStringLiteral("speed-repeat");
        if (volumeRepeat) parts << QStringLiteral("volume-repeat");
        if (released) parts << QStringLiteral("released");
        return parts.join(QLatin1Char(' '));
    }
};

PedalAction actionFor(QChar c) {
    return c == QLatin1Char('P')   ? PedalAction::Play
           : c == QLatin1Char('R') ? PedalAction::Rewind
                                   : PedalAction::FastForward;
}
}  // namespace

class PedalLogicTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sequences_data();
    void sequences();
    void playStartsAtChosenSpeed_data();
    void playStartsAtChosenSpeed();
    void nothingNewChangesNothing();
};

void PedalLogicTest::sequences_data() {
    QTest::addColumn<bool>("switchMode");
    QTest::addColumn<QString>("actions");  // left, centre, right: Play, Rewind, Fast-forward
    QTest::addColumn<bool>("chords");
    QTest::addColumn<bool>("playing");
    QTest::addColumn<bool>("playToggled");
    QTest::addColumn<double>("position");
    // Pedal bytes of successive reports; "r5:2" is a read answering 5 with byte 2.
    QTest::addColumn<QString>("reports");
    QTest::addColumn<QString>("expected");  // the model after each report, "|" between

    const QString rpf = QStringLiteral("RPF");
    QTest::newRow("normal: centre plays, lifting pauses and rewinds")
        << false << rpf << true << false << false << 10.0 << "2 0"
        << "playing 10 | paused 8";
    QTest::newRow("normal: at 2.5 s a 2.0 s rewind stays put")
        << false << rpf << true << false << false << 2.5 << "2 0"
        << "playing 2.5 | paused 2.5";
    QTest::newRow("normal: a rewind landing on 1.0 s stays put")
        << false << rpf << true << false << false << 3.0 << "2 0"
        << "playing 3 | paused 3";
    QTest::newRow("normal: left pauses and rewinds continuously until lifted")
        << false << rpf << true << true << false << 10.0 << "1 0"
        << "paused 10 rewinding | paused 10";
    QTest::newRow("normal: right fast-forwards from a pause")
        << false << rpf << true << false << false << 10.0 << "4 0"
        << "paused 10 forwarding | paused 10";
    QTest::newRow("normal: every pedal on play")
        << false << QStringLiteral("PPP") << true << false << false << 10.0 << "1 0 4"
        << "playing 10 | paused 8 | playing 8";
    QTest::newRow("normal: a byte above 7 plays")
        << false << rpf << true << false << false << 10.0 << "8"
        << "playing 10";

    QTest::newRow("switch: press, release, press, release, press")
        << true << rpf << true << false << false << 10.0 << "2 0 2 0 2"
        << "playing 10 | playing 10 | paused 8 | paused 8 | playing 8";
    QTest::newRow("switch: after the play/pause toggle the first press pauses")
        << true << rpf << true << true << true << 10.0 << "2 0 2"
        << "paused 8 | paused 8 | playing 8";
    QTest::newRow("switch: a rewind runs on after the release, the next press stops it")
        << true << rpf << true << false << false << 10.0 << "1 0 1 0"
        << "paused 10 rewinding | paused 10 rewinding | paused 8 | paused 8";
    QTest::newRow("switch: left + right while off leaves the switch usable")
        << true << rpf << true << false << false << 10.0 << "5 0 2"
        << "paused 10 | paused 10 | playing 10";
    QTest::newRow("switch: lifting a chord ends its repeat")
        << true << rpf << true << false << false << 10.0 << "3 0 3 0 6 0"
        << "playing 10 speed-repeat | playing 10 | paused 8 | paused 8 | playing 8 volume-repeat "
           "| playing 8";

    QTest::newRow("chord: left + centre plays and repeats the speed until lifted")
        << false << rpf << true << false << false << 10.0 << "3 0"
        << "playing 10 speed-repeat | paused 8";
    QTest::newRow("chord: centre + right repeats the volume, then left + centre the speed")
        << false << rpf << true << false << false << 10.0 << "6 3"
        << "playing 10 volume-repeat | playing 10 speed-repeat";
    QTest::newRow("chord: one pedal lifted ends the repeat")
        << false << rpf << true << false << false << 10.0 << "6 2"
        << "playing 10 volume-repeat | playing 10";
    QTest::newRow("chord: left + right stops the repeat and leaves playback alone")
        << false << rpf << true << false << false << 10.0 << "3 5"
        << "playing 10 speed-repeat | playing 10";
    QTest::newRow("chord: left + right stops a continuous rewind")
        << false << rpf << true << true << false << 10.0 << "1 5"
        << "paused 10 rewinding | paused 10";
    QTest::newRow("chord: all three stop the repeat and play")
        << false << rpf << true << false << false << 10.0 << "3 7"
        << "playing 10 speed-repeat | playing 10";
    QTest::newRow("chords off: left + centre only plays")
        << false << rpf << false << false << false << 10.0 << "3 0"
        << "playing 10 | paused 8";
    QTest::newRow("chords off: left + right plays")
        << false << rpf << false << false << false << 10.0 << "5"
        << "playing 10";

    QTest::newRow("result 5 counts as all pedals up")
        << false << rpf << true << false << false << 10.0 << "2 r5:2"
        << "playing 10 | paused 8";
    QTest::newRow("result 5 in switch mode pauses as a lift does")
        << true << rpf << true << false << false << 10.0 << "2 r5:2"
        << "playing 10 | paused 8";
    QTest::newRow("result 307 with the centre held lifts it, then releases the pedal")
        << false << rpf << true << false << false << 10.0 << "2 r307:0"
        << "playing 10 | paused 8 released";
    QTest::newRow("result 307 with the pedals up leaves playback alone")
        << false << rpf << true << true << true << 10.0 << "r307:0"
        << "playing 10 released";
    QTest::newRow("result 307 in switch mode ends a held chord's repeat as a lift does")
        << true << rpf << true << false << false << 10.0 << "3 r307:0 2"
        << "playing 10 speed-repeat | playing 10 released | paused 8 released";
    QTest::newRow("result 304 changes nothing")
        << false << rpf << true << false << false << 10.0 << "3 r304:0"
        << "playing 10 speed-repeat | playing 10 speed-repeat";
}

void PedalLogicTest::sequences() {
    QFETCH(bool, switchMode);
    QFETCH(QString, actions);
    QFETCH(bool, chords);
    QFETCH(bool, playing);
    QFETCH(bool, playToggled);
    QFETCH(double, position);
    QFETCH(QString, reports);
    QFETCH(QString, expected);

    Model m;
    m.settings = {switchMode ? PedalMode::Switch : PedalMode::Normal, actionFor(actions[0]),
                  actionFor(actions[1]), actionFor(actions[2]), chords};
    m.playing = playing;
    m.playToggled = playToggled;
    m.position = position;
    QStringList seen;
    for (const QString& r : reports.split(QLatin1Char(' '))) {
        if (r.startsWith(QLatin1Char('r'))) {
            const QStringList parts = r.mid(1).split(QLatin1Char(':'));
            m.report(parts[0].toInt(), parts[1].toInt());
        } else {
            m.report(PedalResults::Ok, r.toInt());
        }
        seen << m.describe();
    }
    QCOMPARE(seen.join(QStringLiteral(" | ")), expected);
}

void PedalLogicTest::playStartsAtChosenSpeed_data() {
    QTest::addColumn<double>("setSpeed");
    QTest::addColumn<double>("speed");
    QTest::newRow("0.4 from a hotkey plays at 1.0") << 0.4 << 1.0;
    QTest::newRow("0.5 stays") << 0.5 << 0.5;
    QTest::newRow("1.5 stays") << 1.5 << 1.5;
}

void PedalLogicTest::playStartsAtChosenSpeed() {
    QFETCH(double, setSpeed);
    QFETCH(double, speed);
    Model m;
    m.setSpeed = setSpeed;
    m.report(PedalResults::Ok, 2);
    QVERIFY(m.playing);
    QCOMPARE(m.rate, speed);
    QCOMPARE(m.setSpeed, speed);
}

void PedalLogicTest::nothingNewChangesNothing() {
    // Neither the switch nor the play/pause toggle moves on a poll without a report.
    const PedalContext context{{true, false, true}, true, true, 1.0};
    const PedalOutcome out =
        handlePedalReport({PedalMode::Switch}, context, PedalResults::NothingNew, 0);
    QVERIFY(out.effects.isEmpty());
    QCOMPARE(out.switchState, context.switchState);
    QVERIFY(out.playToggled);
    QCOMPARE(out.bits, std::optional<int>(0));
}

QTEST_GUILESS_MAIN(PedalLogicTest)
#include "pedal_logic_test.moc"
