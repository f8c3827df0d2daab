// The real binary seen by playerctl, an ordinary MPRIS client, on the private session bus:
// playerStatus, position and metadata, play/pause with the rewind, seeking, opening and the volume;
// and dbus-send quitting it, which keeps the place for the next start.

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QtTest>

#include "core/profile_file.h"
#include "e2e/e2e_support.h"
#include "fakes/test_media.h"

namespace {
const QString kService = QStringLiteral("org.mpris.MediaPlayer2.scribo");

QString title() {
    return playerctl({QStringLiteral("metadata"), QStringLiteral("xesam:title")});
}
}  // namespace

class MprisPlayerctlTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void playerctlDrivesTheRealPlayer();
    void quitKeepsThePlace_data();
    void quitKeepsThePlace();
};

void MprisPlayerctlTest::initTestCase() {
    if (runTool(QStringLiteral("playerctl"), {QStringLiteral("--version")}).isEmpty())
        QFAIL("playerctl is missing (tools/setup-debian installs it)");
    QVERIFY(QDBusConnection::sessionBus().isConnected());
}

void MprisPlayerctlTest::playerctlDrivesTheRealPlayer() {
    ScriboProcess scribo;
    const QString media = scribo.folder() + QStringLiteral("インタビュー 1.wav");
    const QString other = scribo.folder() + QStringLiteral("second.wav");
    QVERIFY(testmedia::writeWav(media, 60, 440, {8000, 1, 16}));
    QVERIFY(testmedia::writeWav(other, 20, 330, {8000, 1, 16}));
    // Rewind item 7: 2.5 s.
    scribo.writeSettings("[FormPosition]\nTop=10\nLeft=10\n[Play]\nAutoBackSpace=7\n");
    scribo.start({media});

    // Opened from the command line; the length probe plays it muted for a moment, then pauses.
    QVERIFY2(waitUntil([] { return title() == QStringLiteral("インタビュー 1.wav"); }, 20000),
             qPrintable(title()));
    QVERIFY2(waitUntil([] { return playerStatus() == QStringLiteral("Paused"); }, 10000),
             qPrintable(playerStatus()));
    const QString metadata = playerctl({QStringLiteral("metadata")});
    QVERIFY2(metadata.contains(QStringLiteral("xesam:title")) &&
                 metadata.contains(QStringLiteral("インタビュー 1.wav")),
             qPrintable(metadata));
    QVERIFY2(metadata.contains(QStringLiteral("60000000")), qPrintable(metadata));
    QCOMPARE(
        QUrl(playerctl({QStringLiteral("metadata"), QStringLiteral("xesam:url")})).toLocalFile(),
        media);
    const double start = playerPosition();
    QVERIFY2(start >= 0 && start < 3, qPrintable(QString::number(start)));

    // Seeking (SetPosition with the current track id).
    int code = -1;
    playerctl({QStringLiteral("position"), QStringLiteral("30")}, &code);
    QCOMPARE(code, 0);
    QVERIFY2(waitUntil([] { return qAbs(playerPosition() - 30) < 0.05; }, 5000),
             qPrintable(QString::number(playerPosition())));
    QCOMPARE(playerStatus(), QStringLiteral("Paused"));

    // Play, then pause: the position goes back by the chosen rewind.
    playerctl({QStringLiteral("play-pause")}, &code);
    QCOMPARE(code, 0);
    QVERIFY(waitUntil([] { return playerStatus() == QStringLiteral("Playing"); }, 5000));
    QVERIFY(waitUntil([] { return playerPosition() > 31.5; }, 10000));
    QElapsedTimer sincePlaying;
    sincePlaying.start();
    const double playing = playerPosition();
    playerctl({QStringLiteral("play-pause")}, &code);
    const double elapsed = sincePlaying.elapsed() / 1000.0;
    QCOMPARE(code, 0);
    QVERIFY(waitUntil([] { return playerStatus() == QStringLiteral("Paused"); }, 5000));
    const double paused = playerPosition();
    QVERIFY2(paused >= playing - 2.5 - 0.05 && paused <= playing - 2.5 + elapsed + 0.05,
             qPrintable(QStringLiteral("playing at %1, paused at %2, %3 s apart")
                            .arg(playing)
                            .arg(paused)
                            .arg(elapsed)));
    // It stays there.
    QTest::qWait(500);
    QCOMPARE(playerPosition(), paused);

    // The volume both ways.
    playerctl({QStringLiteral("volume"), QStringLiteral("0.3")}, &code);
    QCOMPARE(code, 0);
    QVERIFY(
        waitUntil([] { return playerctl({QStringLiteral("volume")}).toDouble() == 0.3; }, 5000));

    // Opening another file, as a drop would.
    playerctl({QStringLiteral("open"), other}, &code);
    QCOMPARE(code, 0);
    QVERIFY2(waitUntil([] { return title() == QStringLiteral("second.wav"); }, 10000),
             qPrintable(title()));
    QVERIFY(waitUntil([] { return playerStatus() == QStringLiteral("Paused"); }, 10000));
    QVERIFY(playerctl({QStringLiteral("metadata")}).contains(QStringLiteral("20000000")));

    // Quitting closes like the exit button: the open file is remembered.
    QVERIFY(quitScribo());
    QVERIFY2(scribo.waitForExit(15000), "Quit did not end the program");
    QCOMPARE(scribo.process().exitCode(), 0);
    const ProfileFile ini(scribo.folder() + QStringLiteral("Scribo.inf"));
    QCOMPARE(ini.readString(QStringLiteral("General"), QStringLiteral("File"), QString()), other);
    QVERIFY(!QDBusConnection::sessionBus().interface()->isServiceRegistered(kService).value());
}

void MprisPlayerctlTest::quitKeepsThePlace_data() {
    QTest::addColumn<QStringList>("sendFlags");  // how dbus-send sends Quit
    QTest::addColumn<bool>("playing");
    const std::pair<const char*, QStringList> ways[] = {
        {"reply expected", {QStringLiteral("--print-reply")}},
        {"call without reply", {QStringLiteral("--type=method_call")}},
        {"plain dbus-send", {}},  // a signal, dbus-send's default
    };
    for (const auto& [name, flags] : ways) {
        QTest::addRow("%s, paused", name) << flags << false;
        QTest::addRow("%s, playing", name) << flags << true;
    }
}

// A restart comes back to the saved place, and Quit, however it is sent, saves the place the
// player is at.
void MprisPlayerctlTest::quitKeepsThePlace() {
    QFETCH(QStringList, sendFlags);
    QFETCH(bool, playing);
    ScriboProcess scribo;
    const QString media = scribo.folder() + QStringLiteral("talk.wav");
    QVERIFY(testmedia::writeWav(media, 30, 440, {8000, 1, 16}));
    scribo.writeSettings("[FormPosition]\nTop=10\nLeft=10\n[General]\nFile=" + media.toUtf8() +
                         "\n[Record]\nPosition=12.5\n[Menu]\nDontUseUseFooptPeadl=1\n");
    scribo.start();
    QVERIFY2(waitUntil([] { return title() == QStringLiteral("talk.wav"); }, 20000),
             qPrintable(title()));
    QTest::qWait(1500);  // the length probe has run
    QCOMPARE(playerStatus(), QStringLiteral("Paused"));
    QVERIFY2(qAbs(playerPosition() - 12.5) <= 0.2, qPrintable(QString::number(playerPosition())));

    QElapsedTimer sincePlaying;
    if (playing) {
        playerctl({QStringLiteral("play")});
        sincePlaying.start();
        QVERIFY(waitUntil([] { return playerStatus() == QStringLiteral("Playing"); }, 5000));
        QVERIFY(waitUntil([] { return playerPosition() > 13.0; }, 5000));
    }
    int code = -1;
    runTool(QStringLiteral("dbus-send"),
            QStringList{QStringLiteral("--session"), QStringLiteral("--dest=") + kService} +
                sendFlags +
                QStringList{QStringLiteral("/org/mpris/MediaPlayer2"),
                            QStringLiteral("org.mpris.MediaPlayer2.Quit")},
            10000, &code);
    QCOMPARE(code, 0);
    QVERIFY2(scribo.waitForExit(15000), "Quit did not end the program");
    QCOMPARE(scribo.process().exitCode(), 0);
    const double saved =
        ProfileFile(scribo.folder() + QStringLiteral("Scribo.inf"))
            .readString(QStringLiteral("Record"), QStringLiteral("Position"), QString())
            .toDouble();
    const double latest = playing ? 12.5 + sincePlaying.elapsed() / 1000.0 : 12.5;
    QVERIFY2(saved >= (playing ? 13.0 : 12.3) && saved <= latest + 0.2,
             qPrintable(QStringLiteral("saved %1, at most %2").arg(saved).arg(latest)));
}

QTEST_GUILESS_MAIN(MprisPlayerctlTest)
#include "mpris_playerctl_test.moc"
