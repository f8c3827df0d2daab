// The command line of the real binary and the hand-over between two starts: a second start with a
// file gives it to the first and ends; one without a file runs on under an instance name; and
// without a session bus Scribo runs alone.

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>
#include <QtTest>
#include <cstdio>

#include "core/file_name.h"
#include "e2e/e2e_support.h"
#include "fakes/test_media.h"

namespace {
const QString kService = QStringLiteral("org.mpris.MediaPlayer2.scribo");
const QByteArray kSettings = "[FormPosition]\nTop=10\nLeft=10\n";

bool registered(const QString& name) {
    return QDBusConnection::sessionBus().interface()->isServiceRegistered(name).value();
}
QVariant playerProperty(const QString& service, const QString& name) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        service, QStringLiteral("/org/mpris/MediaPlayer2"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    call << QStringLiteral("org.mpris.MediaPlayer2.Player") << name;
    const QDBusReply<QDBusVariant> reply = QDBusConnection::sessionBus().call(call);
    return reply.isValid() ? reply.value().variant() : QVariant();
}
QString titleOf(const QString& service) {
    const QVariant metadata = playerProperty(service, QStringLiteral("Metadata"));
    return qdbus_cast<QVariantMap>(metadata.value<QDBusArgument>())
        .value(QStringLiteral("xesam:title"))
        .toString();
}
void quit(const QString& service) {
    QDBusConnection::sessionBus().call(QDBusMessage::createMethodCall(
        service, QStringLiteral("/org/mpris/MediaPlayer2"),
        QStringLiteral("org.mpris.MediaPlayer2"), QStringLiteral("Quit")));
}
QString errorText(ScriboProcess& scribo) {
    return QString::fromLocal8Bit(scribo.process().readAllStandardError());
}
// Lines of standard error that are Scribo's own (libraries below it have their say too).
QStringList scriboLines(const QString& err) {
    QStringList lines;
    for (const QString& line : err.split(QLatin1Char('\n')))
        if (line.startsWith(QStringLiteral("Scribo:"))) lines << line;
    return lines;
}

}  // namespace

class SingleInstanceTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void helpAndVersionNeedNoDisplay();
    void badArgumentsAreRefusedBeforeStarting();
    void secondStartHandsItsFileToTheFirst();
    void withoutSessionBusScriboRunsAlone();
    void namesThatAreNotUtf8AreOpenedByTheirBytes();
};

void SingleInstanceTest::helpAndVersionNeedNoDisplay() {
    const ScopedEnv noDisplay("DISPLAY", QString());
    for (const QString& option : {QStringLiteral("--version"), QStringLiteral("-v")}) {
        ScriboProcess scribo;
        scribo.start({option});
        QVERIFY(scribo.waitForExit(10000));
        QCOMPARE(scribo.process().exitCode(), 0);
        QCOMPARE(QString::fromUtf8(scribo.process().readAllStandardOutput()),
                 QStringLiteral("Scribo Ver. 14.07.02\n"));
    }
    ScriboProcess scribo;
    scribo.start({QStringLiteral("--help")});
    QVERIFY(scribo.waitForExit(10000));
    QCOMPARE(scribo.process().exitCode(), 0);
    const QString help = QString::fromUtf8(scribo.process().readAllStandardOutput());
    QVERIFY2(help.startsWith(QStringLiteral("Usage: scribo [FILE]")), qPrintable(help));
    QVERIFY(help.contains(QStringLiteral("--version")));
}

void SingleInstanceTest::badArgumentsAreRefusedBeforeStarting() {
    ScriboProcess scribo;
    scribo.writeSettings(kSettings);
    const QByteArray before = scribo.settingsBytes();
    const struct {
        QStringList arguments;
        QString message;
    } cases[] = {
        {{QStringLiteral("--bogus")}, QStringLiteral("unknown option --bogus")},
        {{scribo.folder() + QStringLiteral("gone.wav")}, QStringLiteral("no such file")},
        {{scribo.folder() + QStringLiteral("Scribo.inf")}, QStringLiteral("not a media file")},
        {{QStringLiteral("a.wav"), QStringLiteral("b.wav")}, QStringLiteral("only one file")},
    };
    for (const auto& c : cases) {
        scribo.start(c.arguments);
        QVERIFY(scribo.waitForExit(10000));
        QCOMPARE(scribo.process().exitCode(), 1);
        const QString err = errorText(scribo);
        QVERIFY2(err.contains(c.message) && err.contains(QStringLiteral("scribo --help")),
                 qPrintable(err));
    }
    QVERIFY(!registered(kService));
    QCOMPARE(scribo.settingsBytes(), before);
}

void SingleInstanceTest::secondStartHandsItsFileToTheFirst() {
    ScriboProcess first;
    first.writeSettings(kSettings);
    first.start();
    QVERIFY2(waitUntil([] { return registered(kService); }, 20000), "the first did not publish");
    QCOMPARE(titleOf(kService), QString());

    // The second start needs no settings of its own: it only hands the file over.
    ScriboProcess second;
    const QString media = second.folder() + QStringLiteral("録音 2.wav");
    QVERIFY(testmedia::writeWav(media, 20, 440, {8000, 1, 16}));
    second.start({media});
    QVERIFY2(second.waitForExit(15000), "the second start did not end");
    QCOMPARE(second.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.process().exitCode(), 0);
    QVERIFY2(scriboLines(errorText(second)).isEmpty(), qPrintable(errorText(second)));
    QVERIFY2(waitUntil([] { return titleOf(kService) == QStringLiteral("録音 2.wav"); }, 15000),
             qPrintable(titleOf(kService)));
    QVERIFY(waitUntil(
        [] {
            return playerProperty(kService, QStringLiteral("PlaybackStatus")) ==
                   QStringLiteral("Paused");
        },
        10000));
    QCOMPARE(first.process().state(), QProcess::Running);

    // A start without a file runs on beside the first, under a name of its own.
    ScriboProcess third;
    third.writeSettings(kSettings);
    third.start();
    const QString instance =
        kService + QStringLiteral(".instance") + QString::number(third.process().processId());
    QVERIFY2(waitUntil([&] { return registered(instance); }, 20000), qPrintable(instance));
    const QString listed = runTool(QStringLiteral("playerctl"), {QStringLiteral("--list-all")});
    QVERIFY2(listed.contains(QStringLiteral("scribo.instance")), qPrintable(listed));
    QCOMPARE(titleOf(instance), QString());

    quit(instance);
    QVERIFY(third.waitForExit(15000));
    QCOMPARE(third.process().exitCode(), 0);
    quit(kService);
    QVERIFY(first.waitForExit(15000));
    QCOMPARE(first.process().exitCode(), 0);
}

void SingleInstanceTest::withoutSessionBusScriboRunsAlone() {
    // An address where no bus listens; the real one stays in use by this test.
    const ScopedEnv noBus("DBUS_SESSION_BUS_ADDRESS",
                          QStringLiteral("unix:path=/nonexistent/scribo-no-bus"));
    ScriboProcess scribo;
    const QString media = scribo.folder() + QStringLiteral("talk.wav");
    QVERIFY(testmedia::writeWav(media, 10, 440, {8000, 1, 16}));
    scribo.writeSettings(kSettings);
    scribo.start({media});
    QVERIFY2(scribo.waitForWindow() != 0, "the window did not appear");
    QTest::qWait(1500);
    QCOMPARE(scribo.process().state(), QProcess::Running);
    scribo.process().terminate();
    QVERIFY(scribo.waitForExit(10000));
    const QStringList lines = scriboLines(errorText(scribo));
    QCOMPARE(lines.size(), 1);
    QVERIFY2(lines.constFirst().contains(QStringLiteral("no D-Bus session bus")),
             qPrintable(lines.constFirst()));
}

// File names are bytes; Qt alone would read \xff\xfe as U+FFFD and find no such file.
void SingleInstanceTest::namesThatAreNotUtf8AreOpenedByTheirBytes() {
    ScriboProcess first;
    first.writeSettings(kSettings);
    const QByteArray folder = QFile::encodeName(first.folder());
    const QByteArray names[] = {"bad\xff\xfename.wav", "other\xfe.wav"};
    QStringList paths;
    for (const QByteArray& name : names) {
        const QString plain = first.folder() + QStringLiteral("plain.wav");
        QVERIFY(testmedia::writeWav(plain, 20, 440, {8000, 1, 16}));
        QCOMPARE(std::rename(QFile::encodeName(plain).constData(), (folder + name).constData()), 0);
        paths << fileNameFromBytes(folder + name);
    }
    // The folder's own clean-up cannot spell these names.
    const auto removeMedia = qScopeGuard([&] {
        for (const QByteArray& name : names)
            std::remove((folder + name).constData());
    });
    // Empty when the file is shown, plays and its position moves on; else what went wrong.
    const auto playFails = [](const QString& path) -> QString {
        const QString uri = localFileUri(path);
        const auto url = [] {
            return playerctl({QStringLiteral("metadata"), QStringLiteral("xesam:url")});
        };
        if (!waitUntil([&] { return url() == uri; }, 15000))
            return QStringLiteral("shows ") + url();
        // Opening plays muted for a moment to learn the length, then ends paused.
        if (!waitUntil([] { return playerStatus() == QStringLiteral("Paused"); }, 10000))
            return QStringLiteral("does not settle: ") + playerStatus();
        const auto playing = [] {
            if (playerStatus() == QStringLiteral("Playing")) return true;
            playerctl({QStringLiteral("play")});
            return false;
        };
        if (!waitUntil(playing, 10000)) return QStringLiteral("stays ") + playerStatus();
        const double start = playerPosition();
        if (!waitUntil([&] { return playerPosition() > start + 0.5; }, 5000))
            return QStringLiteral("stays at %1 s, %2").arg(start).arg(playerStatus());
        return {};
    };

    first.start({paths[0]});
    QVERIFY2(waitUntil([] { return registered(kService); }, 20000), qPrintable(errorText(first)));
    QCOMPARE(playFails(paths[0]), QString());

    ScriboProcess second;
    second.start({paths[1]});
    QVERIFY(second.waitForExit(15000));
    QCOMPARE(second.process().exitCode(), 0);
    QCOMPARE(playFails(paths[1]), QString());

    int code = -1;
    playerctl({QStringLiteral("open"), localFileUri(paths[0])}, &code);
    QCOMPARE(code, 0);
    QCOMPARE(playFails(paths[0]), QString());

    quit(kService);
    QVERIFY(first.waitForExit(15000));
    QCOMPARE(first.process().exitCode(), 0);
    for (const QString& path : paths)
        QVERIFY(fileExists(path));
}

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "single_instance_test.moc"
