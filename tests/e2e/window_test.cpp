// The real binary on a real X server: what a user sees of the window, and what closing keeps.

#include <QFile>
#include <QUrl>
#include <QtTest>
#include <cmath>

#include "core/cp932.h"
#include "core/profile_file.h"
#include "e2e/e2e_support.h"
#include "fakes/test_media.h"

class WindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void exitsAtOnceWithoutSettingsFile();
    void showsCaptionlessAlwaysOnTopWindow();
    void exitButtonKeepsMediaAndPosition();
    void nameOutsideCodePage932KeepsItsPlace();
    void movesByDraggingAFreePart();
};

void WindowTest::exitsAtOnceWithoutSettingsFile() {
    ScriboProcess scribo;
    scribo.start();
    QVERIFY(scribo.waitForExit(10000));
    QVERIFY(scribo.process().exitCode() != 0);
    const QString err = QString::fromUtf8(scribo.process().readAllStandardError());
    QVERIFY2(err.contains(scribo.folder().chopped(1)), qPrintable(err));
    QCOMPARE(err.count(QLatin1Char('\n')), 1);
    QCOMPARE(QDir(scribo.folder()).entryList(QDir::Files), QStringList{QStringLiteral("scribo")});
}

void WindowTest::showsCaptionlessAlwaysOnTopWindow() {
    ScriboProcess scribo;
    scribo.writeSettings("[FormPosition]\nTop=40\nLeft=60\n");
    scribo.start();
    const quint64 window = scribo.waitForWindow();
    QVERIFY2(window != 0, "the main window did not appear");
    const QString id = QString::number(window);

    const QString info = runTool(QStringLiteral("xwininfo"), {QStringLiteral("-id"), id});
    QVERIFY2(info.contains(QStringLiteral("Width: 390")), qPrintable(info));
    QVERIFY2(info.contains(QStringLiteral("Absolute upper-left X:  60")), qPrintable(info));
    QVERIFY2(info.contains(QStringLiteral("Absolute upper-left Y:  40")), qPrintable(info));

    const QString props = runTool(QStringLiteral("xprop"), {QStringLiteral("-id"), id});
    QVERIFY2(props.contains(QStringLiteral("WM_NAME(UTF8_STRING) = \"Scribo\"")) ||
                 props.contains(QStringLiteral("_NET_WM_NAME(UTF8_STRING) = \"Scribo\"")),
             qPrintable(props));
    QVERIFY2(props.contains(QStringLiteral("_NET_WM_STATE_ABOVE")), qPrintable(props));
    // Motif hints: flags with "decorations" set (2) and no decorations (0).
    const QRegularExpression motif(QStringLiteral(
        "_MOTIF_WM_HINTS\\(_MOTIF_WM_HINTS\\) = (0x[0-9a-f]+), (0x[0-9a-f]+), (0x[0-9a-f]+)"));
    const auto match = motif.match(props);
    QVERIFY2(match.hasMatch(), qPrintable(props));
    QVERIFY(match.captured(1).toUInt(nullptr, 16) & 2u);
    QCOMPARE(match.captured(3).toUInt(nullptr, 16), 0u);
}

namespace {
// Presses the exit button of the toolbar as a user would.
void pressExitButton(quint64 window) {
    const QString id = QString::number(window);
    runTool(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QStringLiteral("--window"), id,
                                        QStringLiteral("%1").arg(73 + 8 + 5 * 28 + 12),
                                        QStringLiteral("%1").arg(22 + 23 + 4 + 14)});
    runTool(QStringLiteral("xdotool"), {QStringLiteral("click"), QStringLiteral("1")});
}
}  // namespace

void WindowTest::exitButtonKeepsMediaAndPosition() {
    ScriboProcess scribo;
    const QString media = scribo.folder() + QStringLiteral("talk.wav");
    QVERIFY(testmedia::writeWav(media, 30, 440, {8000, 1, 16}));
    scribo.writeSettings("[FormPosition]\nTop=10\nLeft=10\n[General]\nFile=" + media.toUtf8() +
                         "\n[Record]\nPosition=5\n");
    scribo.start();
    const quint64 window = scribo.waitForWindow();
    QVERIFY(window != 0);
    // Let the length probe run, then press the exit button as a user would.
    QTest::qWait(2500);
    pressExitButton(window);
    QVERIFY2(scribo.waitForExit(15000), "the exit button did not close the program");
    QCOMPARE(scribo.process().exitCode(), 0);
    const ProfileFile ini(scribo.folder() + QStringLiteral("Scribo.inf"));
    QCOMPARE(ini.readString(QStringLiteral("General"), QStringLiteral("File"), QString()), media);
    const double position = ini.readFloat(QStringLiteral("Record"), QStringLiteral("Position"), -1);
    // The restored file rested paused at its place: the next start comes back to the same one.
    QVERIFY2(qAbs(position - 5.0) <= 0.2, qPrintable(QString::number(position)));
}

void WindowTest::nameOutsideCodePage932KeepsItsPlace() {
    ScriboProcess scribo;
    // Code page 932 holds none of é – 😀, and turns 〜 into ～.
    const QString media = scribo.folder() + QStringLiteral("Café – Zoë 😀 〜.wav");
    QVERIFY(testmedia::writeWav(media, 30, 440, {8000, 1, 16}));
    scribo.writeSettings("[FormPosition]\nTop=10\nLeft=10\n");
    const QString url = QUrl::fromLocalFile(media).toString(QUrl::FullyEncoded);
    auto opened = [] {
        return playerctl({QStringLiteral("metadata"), QStringLiteral("xesam:url")});
    };
    scribo.start({media});
    quint64 window = scribo.waitForWindow();
    QVERIFY(window != 0);
    QVERIFY2(waitUntil([&] { return opened() == url; }, 10000), qPrintable(opened()));
    QTest::qWait(2500);  // the length probe
    playerctl({QStringLiteral("position"), QStringLiteral("7")});
    QVERIFY(waitUntil([] { return std::abs(playerPosition() - 7) < 0.5; }, 5000));
    pressExitButton(window);
    QVERIFY2(scribo.waitForExit(15000), "the exit button did not close the program");
    const ProfileFile ini(scribo.folder() + QStringLiteral("Scribo.inf"));
    QCOMPARE(ini.readString(QStringLiteral("General"), QStringLiteral("File"), QString()),
             fromCp932(toCp932(media)));

    scribo.start();
    window = scribo.waitForWindow();
    QVERIFY(window != 0);
    QVERIFY2(waitUntil([&] { return opened() == url; }, 10000), qPrintable(opened()));
    QTest::qWait(2500);
    const double position = playerPosition();
    QVERIFY2(position > 6.5 && position < 9.0, qPrintable(QString::number(position)));
}

namespace {
QPoint windowOrigin(const QString& id) {
    const QString info = runTool(QStringLiteral("xwininfo"), {QStringLiteral("-id"), id});
    const auto x =
        QRegularExpression(QStringLiteral("Absolute upper-left X:\\s+(-?\\d+)")).match(info);
    const auto y =
        QRegularExpression(QStringLiteral("Absolute upper-left Y:\\s+(-?\\d+)")).match(info);
    return {x.captured(1).toInt(), y.captured(1).toInt()};
}
}  // namespace

void WindowTest::movesByDraggingAFreePart() {
    // No window manager runs here, so the window has to follow the mouse by itself.
    ScriboProcess scribo;
    scribo.writeSettings("[FormPosition]\nTop=50\nLeft=50\n");
    scribo.start();
    const quint64 window = scribo.waitForWindow();
    QVERIFY(window != 0);
    const QString id = QString::number(window);
    QCOMPARE(windowOrigin(id), QPoint(50, 50));
    // The column of labels left of the bars is a free part of the window.
    runTool(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QStringLiteral("--window"), id,
                                        QStringLiteral("30"), QStringLiteral("60")});
    runTool(QStringLiteral("xdotool"), {QStringLiteral("mousedown"), QStringLiteral("1")});
    for (int step = 0; step < 10; ++step)
        runTool(QStringLiteral("xdotool"),
                {QStringLiteral("mousemove_relative"), QStringLiteral("--"), QStringLiteral("12"),
                 QStringLiteral("7")});
    runTool(QStringLiteral("xdotool"), {QStringLiteral("mouseup"), QStringLiteral("1")});
    QVERIFY2(
        waitUntil([&] { return windowOrigin(id) == QPoint(170, 120); }, 5000),
        qPrintable(
            QStringLiteral("window at %1,%2").arg(windowOrigin(id).x()).arg(windowOrigin(id).y())));
}

QTEST_GUILESS_MAIN(WindowTest)
#include "window_test.moc"
