// The key actions on the transport, the index and the clipboard, with the fake player and clock.

#include "keyboard/hotkey_dispatcher.h"

#include <QTimer>
#include <QtTest>

#include "core/entry_gate.h"
#include "fakes/fake_clipboard.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_keyboard.h"
#include "fakes/fake_player.h"
#include "index/index_commands.h"
#include "index/index_controller.h"
#include "transport/transport_controller.h"
#include "transport/transport_tables.h"

namespace {
const QString kMedia = QStringLiteral("/media/talk.mp3");

// The dispatcher on a transport that has a 600-second media open, paused at 0.
struct Rig {
    FakeClock clock;
    FakePlayer player{clock};
    TransportController transport{player, clock};
    IndexController index;
    FakeClipboard clipboard;
    IndexCommands indexCommands{index, transport, clipboard, [](const QString&) { return true; }};
    FakeKeystrokeOutput keystrokes;
    EntryGate gate;
    HotkeyDispatcher keys{transport, indexCommands, clipboard, keystrokes, gate};

    explicit Rig(bool rateAvailable = true) {
        transport.setEntryGate(&gate);
        player.addMedia(kMedia, 600, rateAvailable);
        transport.open(kMedia);
        transport.chooseRewind(7);  // 2.5 s
    }
    // Plays from 0 for the given time.
    void playFor(double seconds) {
        keys.dispatch(HotkeyCommand::PlayPause);
        clock.advance(static_cast<qint64>(seconds * 1000));
    }
    bool timerActive(const char* name) const {
        return transport.findChild<QTimer*>(QLatin1String(name))->isActive();
    }
};
}  // namespace

class HotkeyDispatcherTest : public QObject {
    Q_OBJECT

private slots:
    void pausePlaysThenPausesWithRewind() {
        Rig r;
        r.keys.dispatch(HotkeyCommand::PlayPause);
        QVERIFY(r.transport.isPlaying());
        r.clock.advance(10'000);
        r.keys.dispatch(HotkeyCommand::PlayPause);
        QVERIFY(!r.transport.isPlaying());
        QCOMPARE(r.transport.position(), 7.5);
    }

    void shutGateRefusesEveryKey() {
        Rig r;
        r.clipboard.content = QStringLiteral("[0:01:15]");
        {
            const EntryGate::Wait shut(r.gate);
            for (auto command : {HotkeyCommand::PlayPause, HotkeyCommand::InsertTimeCode,
                                 HotkeyCommand::PlayFromClipboardTimeCode,
                                 HotkeyCommand::RegisterIndexEntry, HotkeyCommand::VolumeUp})
                r.keys.dispatch(command);
        }
        QVERIFY(!r.transport.isPlaying());
        QCOMPARE(r.clipboard.content, QStringLiteral("[0:01:15]"));
        QCOMPARE(r.keystrokes.pastes, 0);
        QVERIFY(r.index.book().isEmpty());
        QCOMPARE(r.transport.keyVolume(), 50);
    }

    void insertPastesOnceAndGivesTheClipboardBack_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("copiedSince");  // empty: nothing copied after the paste
        QTest::addColumn<bool>("abandoned");
        QTest::addColumn<QString>("after");
        const QString code = QStringLiteral("{▼[0:01:15]▲}");
        QTest::newRow("the typist's text") << "storm of 1994"
                                           << "" << false << "storm of 1994";
        QTest::newRow("an empty clipboard") << ""
                                            << "" << false << "";
        QTest::newRow("copied since") << "storm of 1994"
                                      << "newer" << false << "newer";
        QTest::newRow("paste abandoned") << "storm of 1994"
                                         << "" << true << code;
    }

    void insertPastesOnceAndGivesTheClipboardBack() {
        QFETCH(QString, before);
        QFETCH(QString, copiedSince);
        QFETCH(bool, abandoned);
        QFETCH(QString, after);
        Rig r;
        r.playFor(75.4);
        r.clipboard.content = before;
        r.keystrokes.keysHeld = true;
        r.keys.dispatch(HotkeyCommand::InsertTimeCode);
        QCOMPARE(r.clipboard.content, QStringLiteral("{▼[0:01:15]▲}"));
        QCOMPARE(r.keystrokes.pastes, 0);  // not while the user still holds Ctrl+Insert
        if (abandoned) {
            r.keystrokes.giveUp();
        } else {
            r.keystrokes.releaseKeys();
            QCOMPARE(r.keystrokes.pastes, 1);
        }
        if (!copiedSince.isEmpty()) r.clipboard.content = copiedSince;
        QTest::qWait(HotkeyDispatcher::kClipboardReturnMs + 200);
        QCOMPARE(r.clipboard.content, after);
    }

    void withoutKeystrokesTheTimeCodeWaitsOnTheClipboard() {
        Rig r;
        r.keystrokes.available = false;
        r.playFor(75.4);
        QSignalSpy status(&r.keys, &HotkeyDispatcher::statusTextChanged);
        QSignalSpy abandoned(&r.keystrokes, &KeystrokeOutput::pasteAbandoned);
        r.keys.dispatch(HotkeyCommand::InsertTimeCode);
        r.keys.dispatch(HotkeyCommand::InsertTimeCode);
        QCOMPARE(r.clipboard.content, QStringLiteral("{▼[0:01:15]▲}"));
        QCOMPARE(r.keystrokes.pastes, 0);
        QCOMPARE(abandoned.size(), 0);
        QCOMPARE(status.size(), 1);  // said once a run
        QCOMPARE(status.at(0).at(0).toString(), HotkeyDispatcher::TimeCodeOnClipboard);
    }

    void clipboardTimeCodeJumps_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("jumps");
        QTest::addColumn<QString>("shown");  // volume bar's leading text; empty for none
        QTest::newRow("inserted form")
            << QStringLiteral("{▼[0:01:15]▲}") << true << QStringLiteral("●0:01:15");
        QTest::newRow("9 bytes") << QStringLiteral("[0:01:15]") << true
                                 << QStringLiteral("●0:01:15");
        QTest::newRow("no brackets") << QStringLiteral("0:01:15") << false << QString();
        QTest::newRow("30 bytes") << QStringLiteral("[0:01:15]%1").arg(QString(21, u'x')) << false
                                  << QString();
        QTest::newRow("past the end")
            << QStringLiteral("[0:10:01]") << false << QStringLiteral("●0:10:01");
        QTest::newRow("zero") << QStringLiteral("[0:00:00]") << false << QStringLiteral("●0:00:00");
    }

    void clipboardTimeCodeJumps() {
        QFETCH(QString, text);
        QFETCH(bool, jumps);
        QFETCH(QString, shown);
        Rig r;
        r.playFor(3);
        r.clipboard.content = text;
        QSignalSpy texts(&r.keys, &HotkeyDispatcher::volumeBarTextsChanged);
        r.keys.dispatch(HotkeyCommand::PlayFromClipboardTimeCode);
        QCOMPARE(r.transport.position(), jumps ? 75.0 : 3.0);
        QVERIFY(r.transport.isPlaying());
        QCOMPARE(r.clipboard.content, text);  // the typist's, whether it jumped or not
        QCOMPARE(texts.size(), shown.isEmpty() ? 0 : 1);
        if (!shown.isEmpty()) {
            QCOMPARE(texts.at(0).at(0).toString(), shown);
            QCOMPARE(texts.at(0).at(1).toString(), QStringLiteral("◎") + shown.mid(1));
        }
    }

    void volumeStepsWrap() {
        Rig r;
        const int waitsBefore = r.clock.eventWaits();
        for (int i = 0; i < 50; ++i)
            r.keys.dispatch(HotkeyCommand::VolumeUp);
        QCOMPARE(r.player.volume(), 100);
        QCOMPARE(r.clock.eventWaits() - waitsBefore, 50);  // events processed once per step
        r.keys.dispatch(HotkeyCommand::VolumeUp);
        QCOMPARE(r.player.volume(), 5);
        r.keys.dispatch(HotkeyCommand::VolumeDown);
        QCOMPARE(r.player.volume(), 100);
        QCOMPARE(r.transport.volume(), 100);
    }

    void speedStepsSetRate_data() {
        QTest::addColumn<HotkeyCommand>("command");
        QTest::addColumn<double>("from");
        QTest::addColumn<QStringList>("rates");
        QTest::addColumn<bool>("shown");
        const auto list = [](const char* rates) {
            return QString::fromLatin1(rates).split(QLatin1Char(' '));
        };
        QTest::newRow("Alt+Scroll Lock")
            << HotkeyCommand::SpeedUp << 1.0 << list("1.1 1.2 1.3 1.4 1.5 1.6 1.7 1.8 1.9 2.0 0.5")
            << true;
        QTest::newRow("Alt+Scroll Lock from 2.0")
            << HotkeyCommand::SpeedUp << 2.0 << list("0.5") << true;
        QTest::newRow("Shift+Scroll Lock")
            << HotkeyCommand::SpeedDown << 1.0 << list("0.9 0.8 0.7 0.6 0.5 0.4 2.0") << true;
        QTest::newRow("Alt+F24") << HotkeyCommand::WideSpeedDown << 1.0
                                 << list("0.9 0.8 0.7 0.6 0.5 0.4 3.0") << false;
        QTest::newRow("Ctrl+F24") << HotkeyCommand::WideSpeedUp << 2.0
                                  << list("2.1 2.2 2.3 2.4 2.5 2.6 2.7 2.8 2.9 0.5") << false;
    }

    void speedStepsSetRate() {
        QFETCH(HotkeyCommand, command);
        QFETCH(double, from);
        QFETCH(QStringList, rates);
        QFETCH(bool, shown);
        Rig r;
        r.transport.setRate(from);
        QSignalSpy texts(&r.transport, &TransportController::speedTextChanged);
        QStringList applied;
        for (qsizetype i = 0; i < rates.size(); ++i) {
            r.keys.dispatch(command);
            applied << FormatSpeed(r.player.rate());
        }
        QCOMPARE(applied, rates);
        QCOMPARE(r.transport.chosenSpeed(), r.player.rate());
        QVERIFY(r.transport.speedSwitchOn());
        QCOMPARE(texts.size(), shown ? rates.size() : 0);
        if (shown) QCOMPARE(texts.last().at(0).toString(), rates.last());
    }

    void speedSwitchTogglesOrShowsRefusal() {
        Rig r;
        r.transport.chooseSpeed(4);  // 1.5, switched on
        r.keys.dispatch(HotkeyCommand::ToggleSpeed);
        QCOMPARE(r.player.rate(), 1.0);
        r.keys.dispatch(HotkeyCommand::ToggleSpeed);
        QCOMPARE(r.player.rate(), 1.5);

        Rig fixed(false);
        QSignalSpy refused(&fixed.keys, &HotkeyDispatcher::speedTextChanged);
        QSignalSpy boxes(&fixed.transport, &TransportController::messageRequested);
        fixed.keys.dispatch(HotkeyCommand::ToggleSpeed);
        QCOMPARE(refused.size(), 1);
        QCOMPARE(refused.at(0).at(0).toString(), TransportTexts::RateRefused);
        QCOMPARE(boxes.size(), 0);
        QCOMPARE(fixed.player.count(QStringLiteral("setRate")), 0);
    }

    void repeatPositionIsSetShownAndRepeatStops() {
        Rig r;
        r.playFor(12.3);
        r.keys.dispatch(HotkeyCommand::PlayFromRepeatPosition);
        QVERIFY(r.timerActive("repeatTimer"));
        r.transport.setPlayToggled(false);
        QSignalSpy shown(&r.keys, &HotkeyDispatcher::repeatPositionShown);
        r.keys.dispatch(HotkeyCommand::SetRepeatPosition);
        QCOMPARE(r.transport.repeatPosition(), 12.3);
        QVERIFY(r.transport.playToggled());
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.at(0).at(0).toTime(), QTime(0, 0, 12));
        QVERIFY(!r.timerActive("repeatTimer"));
    }

    void skipsRunWithTheirColours() {
        Rig r;
        r.playFor(30);
        QSignalSpy colours(&r.keys, &HotkeyDispatcher::positionTextColorChanged);
        r.keys.dispatch(HotkeyCommand::StartContinuousRewind);
        QVERIFY(r.timerActive("rewindSkipTimer"));
        r.keys.dispatch(HotkeyCommand::StartContinuousForward);
        QVERIFY(r.timerActive("forwardSkipTimer"));
        QVERIFY(!r.timerActive("rewindSkipTimer"));
        QCOMPARE(colours.size(), 2);
        QCOMPARE(colours.at(0).at(0).value<QColor>(), QColor(0, 0, 255));
        QCOMPARE(colours.at(1).at(0).value<QColor>(), QColor(128, 0, 0));
        QVERIFY(r.transport.isPlaying());  // a key skip does not pause first

        r.keys.dispatch(HotkeyCommand::StopContinuousSkip);
        QVERIFY(!r.timerActive("forwardSkipTimer"));
        QVERIFY(r.transport.isPlaying());
    }

    // The registration itself is the index's appending command, tested with it; here only that
    // the key reaches it and leaves the clipboard alone.
    void scrollLockAppendsAnEntry() {
        Rig r;
        r.clipboard.content = QStringLiteral("interview start");
        r.playFor(75.4);
        r.keys.dispatch(HotkeyCommand::RegisterIndexEntry);
        QCOMPARE(r.index.caption(1), QStringLiteral(" 1. 0:01:15,　interview start"));
        QCOMPARE(r.transport.repeatPosition(), 75.4);
        QCOMPARE(r.clipboard.content, QStringLiteral("interview start"));
    }
};

QTEST_GUILESS_MAIN(HotkeyDispatcherTest)
#include "hotkey_dispatcher_test.moc"
