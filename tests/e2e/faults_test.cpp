// The real binary when its media misbehave and when the X server goes away: a damaged, empty or
// unreadable file ends in a message box, a file deleted or replaced under the player leaves
// Scribo answering, and a lost display ends the program without a core dump. Every time, the
// settings file is either as it was or fully written.

#include <signal.h>
#include <unistd.h>
#include <QFile>
#include <QRandomGenerator>
#include <QtTest>

#include "core/profile_file.h"
#include "e2e/e2e_support.h"
#include "fakes/test_files.h"
#include "fakes/test_media.h"

namespace {
const QByteArray kSettings = "[FormPosition]\nTop=10\nLeft=10\n[Play]\nAutoBackSpace=7\n";

bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

QByteArray randomBytes(int size) {
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(bytes.data()), size / 4);
    return bytes;
}

// The settings file as the close after `media` leaves it: the lines it had, then the media and
// a position. Anything else (half a file, lost lines) fails.
void verifyFullyWritten(const QByteArray& before, const QByteArray& after, const QString& media) {
    QVERIFY2(after.startsWith(before), after.constData());
    QVERIFY2(after.contains("\r\n[General]\r\nFile=" + media.toUtf8() + "\r\n"), after.constData());
    QVERIFY2(after.contains("\r\n[Record]\r\nPosition="), after.constData());
    QVERIFY(after.endsWith("\r\n"));
}

enum class MediaFault { RandomBytes, Empty, Unreadable, Deleted, ReplacedByNoise, Truncated };
}  // namespace

Q_DECLARE_METATYPE(MediaFault)

class FaultsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void mediaFaults_data();
    void mediaFaults();
    void lostDisplayEndsWithoutCoreDump();
};

void FaultsTest::initTestCase() {
    if (runTool(QStringLiteral("playerctl"), {QStringLiteral("--version")}).isEmpty())
        QFAIL("playerctl is missing (tools/setup-debian installs it)");
}

void FaultsTest::mediaFaults_data() {
    QTest::addColumn<MediaFault>("fault");
    QTest::addColumn<bool>("failsToOpen");  // else it goes wrong while playing
    QTest::newRow("random bytes") << MediaFault::RandomBytes << true;
    QTest::newRow("0 bytes") << MediaFault::Empty << true;
    QTest::newRow("unreadable") << MediaFault::Unreadable << true;
    QTest::newRow("deleted while playing") << MediaFault::Deleted << false;
    QTest::newRow("replaced by noise while playing") << MediaFault::ReplacedByNoise << false;
    QTest::newRow("cut short while playing") << MediaFault::Truncated << false;
}

void FaultsTest::mediaFaults() {
    QFETCH(MediaFault, fault);
    QFETCH(bool, failsToOpen);
    if (fault == MediaFault::Unreadable && ::geteuid() == 0)
        QSKIP("root reads a file of mode 000; run the tests as a user for this case");
    ScriboProcess scribo;
    const QString good = scribo.folder() + QStringLiteral("interview.wav");
    QVERIFY(testmedia::writeWav(good, 60, 440, {8000, 1, 16}));
    scribo.writeSettings(kSettings);
    const QByteArray before = scribo.settingsBytes();
    scribo.start({good});
    const quint64 window = scribo.waitForWindow();
    QVERIFY(window != 0);
    QVERIFY2(waitUntil([] { return playerStatus() == QStringLiteral("Paused"); }, 20000),
             qPrintable(playerStatus()));

    QString last = good;
    if (failsToOpen) {
        const QString bad = scribo.folder() + QStringLiteral("bad.mp3");
        QVERIFY(writeBytes(bad, fault == MediaFault::RandomBytes ? randomBytes(200'000) : ""));
        if (fault == MediaFault::Unreadable) QVERIFY(QFile::setPermissions(bad, {}));
        playerctl({QStringLiteral("open"), QStringLiteral("file://") + bad});
        // The user is told, in a box; the player shows nothing to play.
        QVERIFY2(waitUntil([&] { return !messageBoxes(scribo, window).isEmpty(); }, 15000),
                 "no message for a file that cannot be played");
        QVERIFY(dismissMessageBoxes(scribo, window));
        last = bad;
    } else {
        playerctl({QStringLiteral("play")});
        QVERIFY(waitUntil([] { return playerPosition() > 2; }, 15000));
        switch (fault) {
            case MediaFault::Deleted:
                QVERIFY(QFile::remove(good));
                break;
            case MediaFault::ReplacedByNoise:
                // As an editor saves: a new file renamed over the old one.
                QVERIFY(writeBytes(good + QStringLiteral(".new"), randomBytes(300'000)));
                QVERIFY(::rename(QFile::encodeName(good + QStringLiteral(".new")).constData(),
                                 QFile::encodeName(good).constData()) == 0);
                break;
            default:
                QVERIFY(::truncate(QFile::encodeName(good).constData(), 1000) == 0);
                break;
        }
        // Seeking far into what is gone, then pausing with the rewind.
        playerctl({QStringLiteral("position"), QStringLiteral("40")});
        QTest::qWait(1000);
        playerctl({QStringLiteral("play-pause")});
        QTest::qWait(1000);
        dismissMessageBoxes(scribo, window);  // a read error may well be reported
    }
    // Still answering the desktop, then closing as asked.
    QVERIFY(!playerStatus().isEmpty());
    QCOMPARE(scribo.process().state(), QProcess::Running);
    QVERIFY(quitScribo());
    QVERIFY(scribo.waitForExit(15000));
    QCOMPARE(scribo.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(scribo.process().exitCode(), 0);
    verifyFullyWritten(before, scribo.settingsBytes(), last);

    // The next start gets on with it: a vanished file is forgotten, a bad one reported again.
    scribo.start();
    const quint64 again = scribo.waitForWindow();
    QVERIFY(again != 0);
    dismissMessageBoxes(scribo, again);
    QVERIFY(waitUntil([] { return !playerStatus().isEmpty(); }, 10000));
    QCOMPARE(scribo.process().state(), QProcess::Running);
}

void FaultsTest::lostDisplayEndsWithoutCoreDump() {
    // A display of its own that the test can take away.
    QProcess xvfb;
    QTemporaryFile displayFile;
    QVERIFY(displayFile.open());
    xvfb.setStandardErrorFile(QProcess::nullDevice());
    xvfb.setProgram(QStringLiteral("sh"));
    xvfb.setArguments({QStringLiteral("-c"),
                       QStringLiteral("exec Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp "
                                      "3>\"$0\""),
                       displayFile.fileName()});
    xvfb.start();
    QVERIFY(xvfb.waitForStarted());
    QString display;
    QVERIFY(waitUntil(
        [&] {
            display = QString::fromLatin1(testfiles::readAll(displayFile.fileName())).trimmed();
            return !display.isEmpty();
        },
        10000));

    ScriboProcess scribo;
    const QString media = scribo.folder() + QStringLiteral("interview.wav");
    QVERIFY(testmedia::writeWav(media, 60, 440, {8000, 1, 16}));
    scribo.writeSettings(kSettings);
    const QByteArray before = scribo.settingsBytes();
    {
        const ScopedEnv onThatDisplay("DISPLAY", QLatin1Char(':') + display);
        // Qt calls exit() when the display goes: what the stack still holds then is no leak.
        const ScopedEnv noLeakCheck("ASAN_OPTIONS", qEnvironmentVariable("ASAN_OPTIONS") +
                                                        QStringLiteral(":detect_leaks=0"));
        scribo.start({media});
    }
    QVERIFY2(waitUntil([] { return playerStatus() == QStringLiteral("Paused"); }, 20000),
             qPrintable(playerStatus()));
    playerctl({QStringLiteral("play")});
    QVERIFY(waitUntil([] { return playerPosition() > 1; }, 10000));

    ::kill(pid_t(xvfb.processId()), SIGKILL);
    xvfb.waitForFinished(5000);
    QVERIFY2(scribo.waitForExit(15000), "Scribo outlived its display");
    const QByteArray errors = scribo.process().readAllStandardError();
    QVERIFY2(scribo.process().exitStatus() == QProcess::NormalExit, errors.constData());
    QVERIFY(scribo.process().exitCode() != 0);
    const QByteArray after = scribo.settingsBytes();
    if (after != before) verifyFullyWritten(before, after, media);
}

QTEST_MAIN(FaultsTest)
#include "faults_test.moc"
