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
QString timeCode(double seconds) {
    const int s = int(std::floor(seconds));
    return QStringLiteral("%1:%2:%3")
        .arg(s / 3600)
        .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'));
}

// The typist's editor, focused; its X window id, empty when it did not show.
QString startEditor(QProcess& editor, const QString& title, const QStringList& buttons) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("NO_AT_BRIDGE"), QStringLiteral("1"));
    editor.setProcessEnvironment(environment);
    editor.start(QStringLiteral("yad"),
                 QStringList{QStringLiteral("--text-info"), QStringLiteral("--editable"),
                             QStringLiteral("--title=") + title} +
                     buttons);
    QString window;
    waitUntil(
        [&] {
            window =
                runTool(QStringLiteral("xdotool"),
                        {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                         QStringLiteral("--name"), QLatin1Char('^') + title + QLatin1Char('$')})
                    .trimmed()
                    .section(QLatin1Char('\n'), -1);
            return !window.isEmpty();
        },
        15000);
    if (window.isEmpty() ||
        !xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window}))
        return {};
    QTest::qWait(300);
    return window;
}

// Scribo on a generated media file, paused after its length probe.
bool startPaused(ScriboProcess& scribo, const QString& media, const QByteArray& settings) {
    scribo.writeSettings(settings);
    scribo.start({media});
    return scribo.waitForWindow() != 0 &&
           waitUntil([] { return playerStatus() == QStringLiteral("Paused"); }, 20000);
}
}  // namespace

class HotkeysTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void keysDriveThePlayerFromAnotherProgram();
    void altLetterFollowsItsSetting_data();
    void altLetterFollowsItsSetting();
};

void HotkeysTest::keysDriveThePlayerFromAnotherProgram() {
    ScriboProcess scribo;
    const QString wav = scribo.folder() + QStringLiteral("tone.wav");
    const QString media = scribo.folder() + QStringLiteral("talk.mp3");
    QVERIFY(testmedia::writeWav(wav, 60, 440, {8000, 1, 16}));
    // A WAV file pauses without the rewind; a compressed one rewinds.
    if (!testmedia::convertWithFfmpeg(wav, media)) QSKIP("ffmpeg is needed for an MP3 file");
    // Rewind item 7: 2.5 s. Alt + letters stay with the editor, whose Done button is Alt+D.
    QVERIFY(startPaused(scribo, media,
                        "[FormPosition]\nTop=10\nLeft=10\n[Play]\nAutoBackSpace=7\n[Menu]\n"
                        "DontUseAltPrintableKey=1\n"));
    QProcess editor;
    const QString window =
        startEditor(editor, QStringLiteral("transcript"), {QStringLiteral("--button=_Done:0")});
    QVERIFY(!window.isEmpty());

    QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("Pause")}));
    QVERIFY2(waitUntil([] { return playerStatus() == QStringLiteral("Playing"); }, 5000),
             qPrintable(playerStatus()));
    QVERIFY(waitUntil([] { return playerPosition() > 4; }, 15000));
    QElapsedTimer sincePlaying;
    sincePlaying.start();
    const double playing = playerPosition();
    QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("Pause")}));
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
    QVERIFY(xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window}));
    const QString typists = QStringLiteral("storm of 1994, Café");
    QVERIFY(copyToClipboard(typists));
    QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("ctrl+Insert")}));
    QTest::qWait(1000);  // the editor asks Scribo for the clipboard; let it answer
    QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("alt+d")}));
    QVERIFY(editor.waitForFinished(10000));
    // Nothing but the time code: neither Pause nor Ctrl+Insert reached the editor.
    QCOMPARE(QString::fromUtf8(editor.readAllStandardOutput()).trimmed(),
             QStringLiteral("{▼[") + timeCode(paused) + QStringLiteral("]▲}"));
    QCOMPARE(playerStatus(), QStringLiteral("Paused"));  // Alt+D went to the editor alone
    // The typist's clipboard is theirs again.
    QVERIFY2(waitUntil([&] { return clipboardText() == typists; }, 5000),
             qPrintable(clipboardText()));
}

// Alt + a letter is one of Scribo's play keys unless the typist gives the Alt + printable keys
// back to the other programs; then it reaches the editor (its Apply button, Alt+A).
void HotkeysTest::altLetterFollowsItsSetting_data() {
    QTest::addColumn<QByteArray>("setting");
    QTest::addColumn<QString>("status");
    QTest::addColumn<bool>("editorGotIt");
    QTest::newRow("Scribo's key") << QByteArray("0") << "Playing" << false;
    QTest::newRow("given back") << QByteArray("1") << "Paused" << true;
}

void HotkeysTest::altLetterFollowsItsSetting() {
    QFETCH(QByteArray, setting);
    QFETCH(QString, status);
    QFETCH(bool, editorGotIt);
    ScriboProcess scribo;
    const QString media = scribo.folder() + QStringLiteral("tone.wav");
    QVERIFY(testmedia::writeWav(media, 60, 440, {8000, 1, 16}));
    QVERIFY(startPaused(scribo, media, "[Menu]\nDontUseAltPrintableKey=" + setting + "\n"));
    QProcess editor;
    QVERIFY(!startEditor(editor, QStringLiteral("notes"), {QStringLiteral("--button=_Apply:3")})
                 .isEmpty());

    QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("alt+a")}));
    const bool closed = editor.waitForFinished(3000);
    QCOMPARE(closed, editorGotIt);
    if (closed) QCOMPARE(editor.exitCode(), 3);
    QCOMPARE(playerStatus(), status);
}

QTEST_MAIN(HotkeysTest)
#include "hotkeys_test.moc"
