// Every further format a Linux user has opens in the real binary, from the command line and
// over the desktop media interface, with its length known; a list of other files named like
// media is refused.

#include <QFileInfo>
#include <QtTest>

#include "e2e/e2e_support.h"
#include "fakes/test_media.h"
#include "transport/media_files.h"

class MediaFormatsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyFurtherFormatOpensWithItsLength();
    void aVideoOpensAgainAndAgain();
};

void MediaFormatsTest::everyFurtherFormatOpensWithItsLength() {
    if (!testmedia::haveFfmpeg()) QFAIL("ffmpeg is missing (tools/setup-debian installs it)");
    ScriboProcess scribo;
    const QString source = scribo.folder() + QStringLiteral("source.wav");
    QVERIFY(testmedia::writeWav(source, 3, 440, {44100, 1, 16}));
    QStringList files;
    for (const FurtherMediaType& type : FurtherMediaTypes()) {
        const QString file = scribo.folder() + QStringLiteral("take") + type.extension;
        QVERIFY2(testmedia::convertWithFfmpeg(source, file), qPrintable(file));
        files << file;
    }
    scribo.writeSettings("[FormPosition]\nTop=10\nLeft=10\n");
    scribo.start({files.first()});

    for (const QString& file : files) {
        if (file != files.first()) playerctl({QStringLiteral("open"), file});
        const QString name = QFileInfo(file).fileName();
        QVERIFY2(waitUntil(
                     [&] {
                         return playerctl({QStringLiteral("metadata"),
                                           QStringLiteral("xesam:title")}) == name;
                     },
                     20000),
                 qPrintable(name));
        // About 3 s: every container rounds the tone's length a little differently.
        qlonglong length = 0;
        waitUntil(
            [&] {
                length = playerctl({QStringLiteral("metadata"), QStringLiteral("mpris:length")})
                             .toLongLong();
                return length > 0;
            },
            10000);
        QVERIFY2(length >= 2'900'000 && length <= 3'200'000,
                 qPrintable(name + QStringLiteral(": ") + QString::number(length)));
    }

    // FFmpeg's concat list would play the recording it names in place of this "MP3".
    const QString list = scribo.folder() + QStringLiteral("innocent.mp3");
    QFile text(list);
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("ffconcat version 1.0\nfile source.wav\n");
    text.close();
    const quint64 window = scribo.waitForWindow();
    playerctl({QStringLiteral("open"), list});
    QVERIFY2(waitUntil([&] { return !messageBoxes(scribo, window).isEmpty(); }, 15000),
             "the list was played");
    QCOMPARE(playerctl({QStringLiteral("metadata"), QStringLiteral("mpris:length")}), QString());
}

// A video's output is set up anew at every open; on an X server without a GPU that used to
// probe outputs whose failure closed a descriptor still in use, and the display connection died.
void MediaFormatsTest::aVideoOpensAgainAndAgain() {
    const VideoLeakCheck leakCheck;
    ScriboProcess scribo;
    const QString video = scribo.folder() + QStringLiteral("screen.mp4");
    QVERIFY2(testmedia::writeVideoWithFfmpeg(video, 3), "ffmpeg could not make the video");
    scribo.writeSettings("[FormPosition]\nTop=10\nLeft=10\n");
    scribo.start({video});
    QVERIFY(scribo.waitForWindow() != 0);
    for (int time = 1; time <= 10; ++time) {
        if (time > 1) playerctl({QStringLiteral("open"), QStringLiteral("file://") + video});
        QVERIFY(waitUntil([] { return playerStatus() == QStringLiteral("Paused"); }, 10000));
        QTest::qWait(500);  // the video output is made while the first frame is shown
        QVERIFY2(scribo.process().state() == QProcess::Running,
                 qPrintable(QStringLiteral("ended at open %1: %2")
                                .arg(time)
                                .arg(QString::fromLocal8Bit(
                                    scribo.process().readAllStandardError().right(2000)))));
    }
    QVERIFY(quitScribo());
    QVERIFY(scribo.waitForExit(20000));
    QCOMPARE(scribo.process().exitCode(), 0);
}

QTEST_MAIN(MediaFormatsTest)
#include "media_formats_test.moc"
