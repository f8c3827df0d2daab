// A long day of use, compressed: the real binary plays while random system-wide keys, pedal
// reports, speed and volume changes, opens and resets hit it. It fails on a crash, on a message
// box, on an event loop that takes over a second to answer the desktop, and on memory that keeps
// growing once the first minute is over and every file has been open.
//
//   SCRIBO_SOAK_SECONDS  length of the run (120 unless set; the README gives the long run)
//   SCRIBO_SOAK_SEED     the random seed, printed at the start, to replay a failing run

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QFile>
#include <QtTest>
#include <algorithm>
#include <random>

#include "core/profile_file.h"
#include "e2e/e2e_support.h"
#include "fakes/test_media.h"

namespace {
const QString kService = QStringLiteral("org.mpris.MediaPlayer2.scribo");
const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

// The keys a typist presses: play/pause, speed and volume steps, the repeat position, index
// registration, the time code into the document and the jump to a copied one.
const QStringList kKeys = {
    QStringLiteral("Pause"),
    QStringLiteral("Pause"),
    QStringLiteral("F1"),
    QStringLiteral("alt+Scroll_Lock"),
    QStringLiteral("shift+Scroll_Lock"),
    QStringLiteral("alt+space"),
    QStringLiteral("alt+BackSpace"),
    QStringLiteral("shift+BackSpace"),
    QStringLiteral("Scroll_Lock"),
    QStringLiteral("alt+Pause"),
    QStringLiteral("shift+Pause"),
    QStringLiteral("ctrl+Insert"),
    QStringLiteral("ctrl+Print"),
};
// Pedal reports: none, left, centre, right and the pairs that step speed and volume.
const QList<QByteArray> kReports = {"00 00", "01 00", "02 00", "04 00", "03 00", "06 00", "05 00"};

struct Memory {
    qint64 rssKb = 0, peakKb = 0;  // VmRSS, VmHWM
};

Memory memoryOf(qint64 pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    Memory memory;
    if (!status.open(QIODevice::ReadOnly)) return memory;
    for (const QByteArray& line : status.readAll().split('\n')) {
        const QList<QByteArray> parts = line.simplified().split(' ');
        if (parts.size() < 2) continue;
        if (parts[0] == "VmRSS:") memory.rssKb = parts[1].toLongLong();
        if (parts[0] == "VmHWM:") memory.peakKb = parts[1].toLongLong();
    }
    return memory;
}

// How long the event loop takes to answer a property read; -1 when it did not answer.
qint64 responseMs() {
    QElapsedTimer timer;
    timer.start();
    const QDBusMessage reply = QDBusConnection::sessionBus().call(
        QDBusMessage::createMethodCall(kService, kPath, kProperties, QStringLiteral("Get"))
            << kPlayer << QStringLiteral("Position"),
        QDBus::Block, 10000);
    return reply.type() == QDBusMessage::ReplyMessage ? timer.elapsed() : -1;
}

void setPlayerProperty(const QString& name, const QVariant& value) {
    QDBusConnection::sessionBus().call(
        QDBusMessage::createMethodCall(kService, kPath, kProperties, QStringLiteral("Set"))
            << kPlayer << name << QVariant::fromValue(QDBusVariant(value)),
        QDBus::Block, 10000);
}

int settingOr(const char* name, int fallback) {
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : fallback;
}

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer's quarantine and shadow memory grow on their own: memory is not judged there.
constexpr bool kJudgeMemory = false;
#else
constexpr bool kJudgeMemory = true;
#endif
}  // namespace

class SoakTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void randomUseForAWhile();
};

void SoakTest::randomUseForAWhile() {
    const int seconds = settingOr("SCRIBO_SOAK_SECONDS", 120);
    const auto seed =
        quint32(settingOr("SCRIBO_SOAK_SEED", int(QDateTime::currentSecsSinceEpoch())));
    qInfo("soak: %d s, seed %u (SCRIBO_SOAK_SEED=%u replays it)", seconds, seed, seed);
    std::mt19937 random(seed);
    auto pick = [&](int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); };

    const VideoLeakCheck leakCheck;
    ScriboProcess scribo;
    StandinPedal pedal(scribo.folder());
    const QString wav = scribo.folder() + QStringLiteral("dictation.wav");
    QVERIFY(testmedia::writeWav(wav, 600, 440, {8000, 1, 16}));
    QStringList media{wav};
    const QString mp3 = scribo.folder() + QStringLiteral("meeting.mp3");
    if (testmedia::convertWithFfmpeg(wav, mp3)) media << mp3;
    const QString video = scribo.folder() + QStringLiteral("screen.mp4");
    if (testmedia::writeVideoWithFfmpeg(video, 600)) media << video;
    // Every open reads a full index and every registration writes it again.
    for (const QString& file : media) {
        ProfileEdit index(file.left(file.lastIndexOf(QLatin1Char('.'))) + QStringLiteral(".mpx"));
        for (int n = 1; n <= 29; ++n) {
            index.writeFloat(QStringLiteral("Index"), QString::number(n), n * 19.5);
            index.writeString(QStringLiteral("IndexComment"), QString::number(n),
                              QStringLiteral("note %1 ").arg(n).repeated(8));
        }
        index.commit();
    }
    const LocalWebServer web(scribo.folder());
    if (web.base().isEmpty()) qInfo("soak: python3 is missing, so no web address resets");
    scribo.writeSettings(
        "[FormPosition]\nTop=10\nLeft=10\n[Play]\nAutoBackSpace=7\n[Menu]\nDontUseUseFooptPeadl="
        "0\n");
    scribo.start({wav});
    const quint64 window = scribo.waitForWindow();
    QVERIFY(window != 0);
    QVERIFY2(waitUntil([] { return playerStatus() == QStringLiteral("Paused"); }, 20000),
             qPrintable(playerStatus()));
    const qint64 pid = scribo.process().processId();

    QMap<QString, int> counts;
    qint64 worstMs = 0;
    std::optional<Memory> settled;
    // Memory is judged against the first minute once every file has been open: a video's output
    // costs far more than a tone's, which is not growth.
    QSet<int> opened{0};
    Memory last = memoryOf(pid);
    bool unplugged = false;
    QElapsedTimer clock;
    clock.start();
    qint64 nextSample = 10'000;
    while (clock.elapsed() < seconds * 1000LL) {
        switch (pick(10)) {
            case 0:
            case 1:
            case 2:
                runTool(QStringLiteral("xdotool"),
                        {QStringLiteral("key"), kKeys[pick(int(kKeys.size()))]});
                ++counts[QStringLiteral("keys")];
                break;
            case 3:
            case 4:
                if (unplugged || pick(20) == 0) {
                    pedal.append(unplugged ? "plug" : "unplug");
                    unplugged = !unplugged;
                    ++counts[QStringLiteral("pedal plugs")];
                } else {
                    pedal.append("report " + kReports[pick(int(kReports.size()))]);
                    ++counts[QStringLiteral("pedal reports")];
                }
                break;
            case 5:
                setPlayerProperty(QStringLiteral("Rate"), 0.5 + pick(21) * 0.1);
                ++counts[QStringLiteral("speed")];
                break;
            case 6:
                setPlayerProperty(QStringLiteral("Volume"), pick(11) / 10.0);
                ++counts[QStringLiteral("volume")];
                break;
            case 7:
                playerctl({QStringLiteral("position"), QString::number(pick(600))});
                ++counts[QStringLiteral("seeks")];
                break;
            case 8:
                if (pick(4) == 0 && !web.base().isEmpty()) {
                    // Resets the window to its initial state and plays the address.
                    playerctl(
                        {QStringLiteral("open"), web.base() + QStringLiteral("dictation.wav")});
                    ++counts[QStringLiteral("resets")];
                } else {
                    const int file = pick(int(media.size()));
                    opened.insert(file);
                    playerctl({QStringLiteral("open"), QStringLiteral("file://") + media[file]});
                    ++counts[QStringLiteral("opens")];
                }
                break;
            default:
                playerctl({QStringLiteral("play-pause")});
                ++counts[QStringLiteral("play-pause")];
                break;
        }
        QTest::qWait(100 + pick(400));

        const qint64 ms = responseMs();
        QVERIFY2(scribo.process().state() == QProcess::Running,
                 qPrintable(QStringLiteral("Scribo ended (status %1) after %2 s, seed %3:\n%4")
                                .arg(scribo.process().exitCode())
                                .arg(clock.elapsed() / 1000)
                                .arg(seed)
                                .arg(QString::fromLocal8Bit(
                                    scribo.process().readAllStandardError().right(4000)))));
        QVERIFY2(ms >= 0, qPrintable(QStringLiteral("no answer after %1 s, seed %2")
                                         .arg(clock.elapsed() / 1000)
                                         .arg(seed)));
        worstMs = std::max(worstMs, ms);
        if (clock.elapsed() >= nextSample) {
            nextSample += 10'000;
            // VmHWM is kept per thread and summed lazily; the peak is the highest seen.
            const Memory now = memoryOf(pid);
            last = {now.rssKb, std::max(now.peakKb, last.peakKb)};
            qInfo("soak: %3lld s  RSS %lld kB  peak %lld kB  worst answer %lld ms",
                  clock.elapsed() / 1000, last.rssKb, last.peakKb, worstMs);
            if (!settled && clock.elapsed() >= 60'000 && opened.size() == media.size())
                settled = last;
            QVERIFY2(messageBoxes(scribo, window).isEmpty(),
                     qPrintable(QStringLiteral("a message box came up by %1 s, seed %2")
                                    .arg(clock.elapsed() / 1000)
                                    .arg(seed)));
        }
    }
    QStringList done;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        done << QStringLiteral("%1 %2").arg(it.value()).arg(it.key());
    qInfo("soak: done: %s", qPrintable(done.join(QStringLiteral(", "))));
    if (settled)
        qInfo(
            "soak: RSS %lld kB when settled, %lld kB at the end; peak %lld kB when settled, %lld "
            "kB at "
            "the end; worst answer %lld ms",
            settled->rssKb, last.rssKb, settled->peakKb, last.peakKb, worstMs);
    QVERIFY2(
        worstMs <= 1000,
        qPrintable(
            QStringLiteral("the event loop took %1 ms to answer, seed %2").arg(worstMs).arg(seed)));
    if (kJudgeMemory && settled)
        QVERIFY2(
            last.peakKb <= settled->peakKb * 11 / 10,
            qPrintable(QStringLiteral("peak RSS grew from %1 kB when settled to %2 kB, seed %3")
                           .arg(settled->peakKb)
                           .arg(last.peakKb)
                           .arg(seed)));

    // A clean close writes the settings whole.
    QVERIFY(quitScribo());
    QVERIFY(scribo.waitForExit(20000));
    QCOMPARE(scribo.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(scribo.process().exitCode(), 0);
    // Resets write the defaults, closes the media and position: whole lines, the user's kept.
    const QByteArray after = scribo.settingsBytes();
    QVERIFY2(after.endsWith("\r\n"), after.constData());
    static const QRegularExpression wholeLine(QStringLiteral("^(\\[\\w+\\]|\\w+=[^\r\n]*)$"));
    for (const QByteArray& line : after.chopped(1).split('\n'))
        QVERIFY2(
            line.endsWith('\r') && wholeLine.match(QString::fromUtf8(line.chopped(1))).hasMatch(),
            line.constData());
    const ProfileFile settings(scribo.folder() + QStringLiteral("Scribo.inf"));
    QCOMPARE(settings.readInteger(QStringLiteral("FormPosition"), QStringLiteral("Top"), 0), 10);
    QCOMPARE(settings.readInteger(QStringLiteral("FormPosition"), QStringLiteral("Left"), 0), 10);
}

int main(int argc, char* argv[]) {
    // The test library's watchdog ends a test function after five minutes; the soak runs as
    // long as it is told, and a hang of its own is caught by its answer check.
    const qint64 seconds = settingOr("SCRIBO_SOAK_SECONDS", 120);
    qputenv("QTEST_FUNCTION_TIMEOUT", QByteArray::number((seconds + 600) * 1000));
    QApplication app(argc, argv);
    SoakTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "soak_test.moc"
