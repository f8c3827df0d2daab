// Where the player rests once a file is open: at the start of a new file, at the saved position
// on a restore (held to the media's range when the settings hold no position of it), not a
// second further on for the muted length probe; and the length shown as soon as it is known.

#include <QLabel>
#include <QTimer>
#include <QtTest>

#include "controls/progress_bar.h"
#include "core/time_code.h"
#include "fakes/transport_setup.h"
#include "fakes/window_fixture.h"
#include "transport/media_player.h"
#include "transport/transport_controller.h"

class SavedPositionTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void restoredPositionStaysWithinTheMedia_data();
    void restoredPositionStaysWithinTheMedia();
    void probeLeavesThePlayerWhereTheOpenPutIt_data();
    void probeLeavesThePlayerWhereTheOpenPutIt();
    void lengthShownOnceThePlayerKnowsIt();
};

void SavedPositionTest::restoredPositionStaysWithinTheMedia_data() {
    QTest::addColumn<QByteArray>("saved");
    QTest::addColumn<double>("expected");
    QTest::newRow("inside") << QByteArray("12.5") << 12.5;
    QTest::newRow("beyond int seconds") << QByteArray("3e9") << 600.0;
    QTest::newRow("huge") << QByteArray("1e300") << 600.0;
    QTest::newRow("hugely negative") << QByteArray("-1e300") << 0.0;
    QTest::newRow("not a number") << QByteArray("nan") << 0.0;
}

void SavedPositionTest::restoredPositionStaysWithinTheMedia() {
    QFETCH(QByteArray, saved);
    QFETCH(double, expected);
    SessionFixture f;
    const QString media = f.addMediaFile(QStringLiteral("talk.mp3"), 600);
    f.writeSettings(transportsetup::kSettings + "[General]\nFile=" + media.toUtf8() +
                    "\n[Record]\nPosition=" + saved + "\n");
    QVERIFY(f.start());
    const TransportController& t = f.transport();
    QCOMPARE(t.savedPosition(), expected);
    QCOMPARE(f.player.position(), expected);
    QVERIFY(t.shownSeconds() >= 0 && t.shownSeconds() <= 600);
}

void SavedPositionTest::probeLeavesThePlayerWhereTheOpenPutIt_data() {
    QTest::addColumn<QByteArray>("saved");  // empty: nothing to restore
    QTest::addColumn<bool>("openAnother");
    QTest::addColumn<double>("expected");
    QTest::newRow("opened") << QByteArray() << true << 0.0;
    QTest::newRow("restored") << QByteArray("12.5") << false << 12.5;
    QTest::newRow("opened after a restore") << QByteArray("12.5") << true << 0.0;
}

void SavedPositionTest::probeLeavesThePlayerWhereTheOpenPutIt() {
    QFETCH(QByteArray, saved);
    QFETCH(bool, openAnother);
    QFETCH(double, expected);
    WindowFixture f;
    f.player.setLoadDelay(30);  // as libmpv, which opens a file in the background
    const QString media = f.addMediaFile(QStringLiteral("talk.mp3"), 600);
    QByteArray settings = transportsetup::kSettings;
    if (!saved.isEmpty())
        settings += "[General]\nFile=" + media.toUtf8() + "\n[Record]\nPosition=" + saved + "\n";
    f.writeSettings(settings);
    QVERIFY(f.start());
    MainWindow& w = f.window();
    TransportController& t = f.transport();
    if (openAnother) {
        f.openMedia(f.addMediaFile(QStringLiteral("next.mp3"), 300));
    } else {
        f.clock.advance(1000);
        t.finishLengthProbe();
    }
    f.clock.advance(3000);
    if (transportTimer(f, "restoreTimer")->isActive()) t.restorePosition();
    t.pollPosition();

    QCOMPARE(f.player.playState(), PlayState::Paused);
    QVERIFY(!f.player.isMuted());
    QCOMPARE(f.player.position(), expected);
    const QString shown = TimeCodeText(expected);
    QCOMPARE(control<QLabel>(w, "playTimeLabel")->text(), shown);
    QCOMPARE(control<ProgressBar>(w, "positionBar")->positionTextPrefix(), shown);
    QCOMPARE(control<ProgressBar>(w, "positionBar")->position(), static_cast<int>(expected));
    QCOMPARE(t.shownSeconds(), static_cast<int>(expected));
    // What a close now saves.
    QCOMPARE(t.position(), expected);
}

void SavedPositionTest::lengthShownOnceThePlayerKnowsIt() {
    WindowFixture f;
    transportsetup::startWithoutMedia(f);
    MainWindow& w = f.window();
    f.session().dropFiles({f.addMediaFile(QStringLiteral("talk.mp3"), 600)});
    QVERIFY(transportTimer(f, "lengthProbeTimer")->isActive());
    QCOMPARE(control<QLabel>(w, "lengthLabel")->text(), QStringLiteral("0:10:00"));
    QCOMPARE(control<QLabel>(w, "lengthCaptionLabel")->text(), QStringLiteral("録音時間"));
    QCOMPARE(control<ProgressBar>(w, "positionBar")->maximum(), 600);
    QCOMPARE(f.transport().durationSeconds(), 600);
}

QTEST_MAIN(SavedPositionTest)
#include "saved_position_test.moc"
