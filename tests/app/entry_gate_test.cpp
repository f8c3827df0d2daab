// Requests from outside arriving while the window waits inside a handler: the gate itself, an
// open and a play request during the close wait, and a burst of opens during the open wait.

#include <QTimer>
#include <QtTest>

#include "app/mpris_service.h"
#include "app/outside_entries.h"
#include "core/entry_gate.h"
#include "fakes/transport_setup.h"
#include "fakes/window_fixture.h"
#include "transport/media_player.h"

namespace {
// The service on a connection that is never opened: its commands are called directly.
struct Outside {
    explicit Outside(WindowFixture& f)
        : mpris(f.transport(), QDBusConnection(QStringLiteral("scribo-no-bus"))) {
        AttachMprisToSession(mpris, f.session(), f.window());
    }
    MprisService mpris;
};
}  // namespace

class EntryGateTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void gateShutsForWaitsAndClosing();
    void requestsDuringCloseWaitChangeNothing();
    void burstOfOpensEndsWithLastFileAndNoDialog();
};

void EntryGateTest::gateShutsForWaitsAndClosing() {
    EntryGate gate;
    int reopened = 0;
    gate.onReopened = [&] { ++reopened; };
    QVERIFY(gate.isOpen());
    {
        const EntryGate::Wait outer(gate);
        {
            const EntryGate::Wait inner(gate);
            QVERIFY(!gate.isOpen());
        }
        QVERIFY(!gate.isOpen());  // the outer wait still runs
        QCOMPARE(reopened, 0);
    }
    QVERIFY(gate.isOpen());
    QCOMPARE(reopened, 1);
    gate.setClosing(true);
    { const EntryGate::Wait wait(gate); }
    QVERIFY(!gate.isOpen());  // closing keeps it shut after the wait
    QCOMPARE(reopened, 1);
    gate.setClosing(false);  // a refused close
    QVERIFY(gate.isOpen());
    QCOMPARE(reopened, 2);
}

void EntryGateTest::requestsDuringCloseWaitChangeNothing() {
    WindowFixture f;
    const QString first = transportsetup::startWithMedia(f, QStringLiteral("a.mp3"), 600);
    const QString other = f.addMediaFile(QStringLiteral("b.mp3"), 600);
    MainWindow& w = f.window();
    Outside outside(f);
    f.player.setPosition(42);
    QVERIFY(outside.mpris.openUri(QUrl::fromLocalFile(other).toString()).error.isEmpty());
    // Arrives while the close waits for the player.
    QTimer::singleShot(0, &w, [&] { outside.mpris.playPause(); });
    f.player.log.clear();

    QVERIFY(f.close());
    QVERIFY(!f.player.log.contains(QStringLiteral("open ") + other));
    QVERIFY(!f.player.log.contains(QStringLiteral("play")));
    QCOMPARE(f.transport().mediaPath(), first);
    QVERIFY(!transportTimer(f, "positionPollTimer")->isActive());
    QVERIFY(!transportTimer(f, "repeatTimer")->isActive());
    const QByteArray saved = f.settingsBytes();
    QVERIFY(saved.contains("File=" + first.toUtf8()));
    QVERIFY(saved.contains("Position=42"));
    QVERIFY(f.dialogs.lastOpenTitle.isEmpty());
    // Nothing was left to run after the window closed.
    QCoreApplication::processEvents();
    QCOMPARE(f.transport().mediaPath(), first);
}

void EntryGateTest::burstOfOpensEndsWithLastFileAndNoDialog() {
    WindowFixture f;
    transportsetup::startWithMedia(f, QStringLiteral("a.mp3"), 600);
    Outside outside(f);
    QStringList files;
    for (int i = 0; i < 6; ++i) {
        files << f.addMediaFile(QStringLiteral("burst%1.mp3").arg(i), 300 + i);
        QVERIFY(
            outside.mpris.openUri(QUrl::fromLocalFile(files.last()).toString()).error.isEmpty());
    }
    // Each open waits with the event loop running, where the later requests arrive.
    QTRY_COMPARE(f.transport().mediaPath(), files.last());
    QTest::qWait(50);
    QCOMPARE(f.transport().mediaPath(), files.last());
    QVERIFY(f.dialogs.lastOpenTitle.isEmpty());  // no Open dialog nobody asked for
    QVERIFY(f.dialogs.errors.isEmpty());
    QVERIFY(f.session().gate().isOpen());
}

QTEST_MAIN(EntryGateTest)
#include "entry_gate_test.moc"
