// The real binary's system-wide keys while the typist works in another program: Pause plays and
// pauses with the rewind, Ctrl+Insert types the time code into the focused editor, and the editor
// never sees the keys themselves.

#include <QElapsedTimer>
#include <QProcess>
#include <QtTest>
#include <cmath>

#include "e2e/e2e_support.h"
#include "fakes/test_media.h"

namespace {
void xdotool(const QStringList& arguments) {
    int code = -1;
    runTool(QStringLiteral("xdotool"), arguments, 10000, &code);
    QVERIFY2(code == 0, qPrintable(arguments.join(QLatin1Char(' '))));
}
QString timeCode(double seconds) {
    const int s = int(std::floor(seconds));
    return QStringLiteral("%1:%2:%3")
        .arg(s / 3600)
        .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'));
}
}  // namespace

class HotkeysTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void keysDriveThePlayerFromAnotherProgram();
};

void HotkeysTest::keysDriveThePlayerFromAnotherProgram() {
    ScriboProcess scribo;
    const QString wav = scribo.folder() + QStringLiteral("tone.wav");
    const QString media = scribo.folder() + QStringLiteral("talk.mp3");
    QVERIFY(testmedia::writeWav(wav, 60, 440, {8000, 1, 16}));
    // A WAV file pauses without the rewind; a compressed one rewinds.
    if (!testmedia::convertWithFfmpeg(wav, media)) QSKIP("ffmpeg is needed for an MP3 file");
    // Rewind item 7: 2.5 s. Alt + letters stay with the editor, whose Done button is Alt+D.
    scribo.writeSettings(
        "[FormPosition]\nTop=10\nLeft=10\n[Play]\nAutoBackSpace=7\n[Menu]\nDontUseAltPrintableKey="
        "1\n");
    scribo.start({media});
    QVERIFY(scribo.waitForWindow() != 0);
    QVERIFY2(waitUntil([] { return playerStatus() == QStringLiteral("Paused"); }, 20000),
             qPrintable(playerStatus()));

    QProcess editor;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("NO_AT_BRIDGE"), QStringLiteral("1"));
    editor.setProcessEnvironment(environment);
    editor.start(QStringLiteral("yad"),
                 {QStringLiteral("--text-info"), QStringLiteral("--editable"),
                  QStringLiteral("--title=transcript"), QStringLiteral("--button=_Done:0")});
    QVERIFY(editor.waitForStarted());
    QString window;
    QVERIFY(waitUntil(
        [&] {
            window = runTool(QStringLiteral("xdotool"),
                             {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                              QStringLiteral("--name"), QStringLiteral("^transcript$")})
                         .trimmed()
                         .section(QLatin1Char('\n'), -1);
            return !window.isEmpty();
        },
        15000));
    xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
    QTest::qWait(300);

    xdotool({QStringLiteral("key"), QStringLiteral("Pause")});
    QVERIFY2(waitUntil([] { return playerStatus() == QStringLiteral("Playing"); }, 5000),
             qPrintable(playerStatus()));
    QVERIFY(waitUntil([] { return playerPosition() > 4; }, 15000));
    QElapsedTimer sincePlaying;
    sincePlaying.start();
    const double playing = playerPosition();
    xdotool({QStringLiteral("key"), QStringLiteral("Pause")});
    QVERIFY2(waitUntil([] { return playerStatus() == QStringLiteral("Paused"); }, 5000),
             qPrintable(playerStatus()));
    const double elapsed = sincePlaying.elapsed() / 1000.0;
    const double paused = playerPosition();
    QVERIFY2(paused >= playing - 2.5 - 0.05 && paused <= playing - 2.5 + elapsed + 0.05,
             qPrintable(QStringLiteral("playing at %1, paused at %2, %3 s apart")
                            .arg(playing)
                            .arg(paused)
                            .arg(elapsed)));

    // The player kept the focus away from the editor? Give it back, as the typist would.
    xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+Insert")});
    QTest::qWait(1000);  // the editor asks Scribo for the clipboard; let it answer
    xdotool({QStringLiteral("key"), QStringLiteral("alt+d")});
    QVERIFY(editor.waitForFinished(10000));
    // Nothing but the time code: neither Pause nor Ctrl+Insert reached the editor.
    QCOMPARE(QString::fromUtf8(editor.readAllStandardOutput()).trimmed(),
             QStringLiteral("{▼[") + timeCode(paused) + QStringLiteral("]▲}"));
    QCOMPARE(playerStatus(), QStringLiteral("Paused"));  // Alt+D went to the editor alone
}

QTEST_MAIN(HotkeysTest)
#include "hotkeys_test.moc"
