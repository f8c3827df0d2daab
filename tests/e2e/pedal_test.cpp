// The real binary with the stand-in HID library: the centre pedal plays and, lifted, pauses with
// the rewind (seen through playerctl); a pulled-out pedal is found again once plugged in, and
// pulled out while held stops playback; a library that cannot be loaded is reported and Scribo
// keeps running.

#include <QElapsedTimer>
#include <QFile>
#include <QtTest>

#include "e2e/e2e_support.h"
#include "fakes/test_media.h"

class PedalTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void centrePedalPlaysPausesAndSurvivesReplug();
    void missingLibraryIsReportedAndScriboRuns();
};

void PedalTest::initTestCase() {
    if (runTool(QStringLiteral("playerctl"), {QStringLiteral("--version")}).isEmpty())
        QFAIL("playerctl is missing (tools/setup-debian installs it)");
}

void PedalTest::centrePedalPlaysPausesAndSurvivesReplug() {
    ScriboProcess scribo;
    StandinPedal pedal(scribo.folder());
    const QString media = scribo.folder() + QStringLiteral("dictation.wav");
    QVERIFY(testmedia::writeWav(media, 120, 440, {8000, 1, 16}));
    // Rewind item 7: 2.5 s.
    scribo.writeSettings(
        "[FormPosition]\nTop=10\nLeft=10\n[Play]\nAutoBackSpace=7\n[Menu]\n"
        "DontUseUseFooptPeadl=0\n");
    scribo.start({media});
    QVERIFY(scribo.waitForWindow() != 0);
    QVERIFY2(waitUntil([] { return playerStatus() == QStringLiteral("Paused"); }, 20000),
             qPrintable(playerStatus()));
    // Set-up clears what the pedal sent before it was ready.
    QVERIFY(waitUntil([&] { return pedal.opens() == 1; }, 10000));
    QTest::qWait(1200);

    pedal.append("report 02 00");
    QVERIFY2(waitUntil([] { return playerStatus() == QStringLiteral("Playing"); }, 10000),
             qPrintable(playerStatus()));
    QVERIFY(waitUntil([] { return playerPosition() >= 4.0; }, 20000));

    const double before = playerPosition();
    QElapsedTimer lifted;
    lifted.start();
    pedal.append("report 00 00");
    QVERIFY2(waitUntil([] { return playerStatus() == QStringLiteral("Paused"); }, 10000),
             qPrintable(playerStatus()));
    // Played on for at most the time that passed, then went back 2.5 s (0.5 s for rounding).
    const double latest = before + double(lifted.elapsed()) / 1000.0;
    const double after = playerPosition();
    QVERIFY2(after >= 0 && after <= latest - 2.0,
             qPrintable(QStringLiteral("%1 -> %2 (latest %3)").arg(before).arg(after).arg(latest)));

    pedal.append("unplug");
    QTest::qWait(1000);
    pedal.append("plug");
    // Found again once its device node appears, without a restart.
    QVERIFY(waitUntil([&] { return pedal.opens() == 2; }, 10000));
    pedal.append("report 02 00");
    QVERIFY2(waitUntil([] { return playerStatus() == QStringLiteral("Playing"); }, 10000),
             qPrintable(playerStatus()));
    // Pulled out with the centre pedal held: playback stops as if it had been lifted.
    pedal.append("unplug");
    QVERIFY2(waitUntil([] { return playerStatus() == QStringLiteral("Paused"); }, 10000),
             qPrintable(playerStatus()));
    QCOMPARE(scribo.process().state(), QProcess::Running);
    scribo.process().terminate();
    scribo.waitForExit(10000);
}

void PedalTest::missingLibraryIsReportedAndScriboRuns() {
    ScriboProcess scribo;
    ScopedEnv library("SCRIBO_HID_LIBRARY", QStringLiteral("libdoesnotexist.so.0"));
    scribo.writeSettings("[FormPosition]\nTop=10\nLeft=10\n[Menu]\nDontUseUseFooptPeadl=0\n");
    scribo.start();
    // The message box comes before the window, modal; Return closes it and the window follows.
    const QString pid = QString::number(scribo.process().processId());
    auto visibleWindows = [&] {
        return runTool(
                   QStringLiteral("xdotool"),
                   {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                    QStringLiteral("--pid"), pid, QStringLiteral("--name"), QStringLiteral(".")})
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    };
    QStringList shown;
    QVERIFY2(waitUntil([&] { return !(shown = visibleWindows()).isEmpty(); }, 20000),
             "no message box");
    const QString box = shown.first();
    QVERIFY2(waitUntil(
                 [&] {
                     runTool(QStringLiteral("xdotool"),
                             {QStringLiteral("windowfocus"), QStringLiteral("--sync"), box});
                     runTool(QStringLiteral("xdotool"),
                             {QStringLiteral("key"), QStringLiteral("Return")});
                     return waitUntil(
                         [&] {
                             shown = visibleWindows();
                             return !shown.isEmpty() && !shown.contains(box);
                         },
                         2000);
                 },
                 20000),
             qPrintable(shown.join(QLatin1Char(' '))));
    QCOMPARE(scribo.process().state(), QProcess::Running);
    QByteArray errors;
    QVERIFY2(waitUntil(
                 [&] {
                     scribo.process().waitForReadyRead(200);
                     errors += scribo.process().readAllStandardError();
                     return errors.contains("libdoesnotexist.so.0");
                 },
                 5000),
             errors.constData());
    scribo.process().terminate();
    scribo.waitForExit(10000);
}

QTEST_MAIN(PedalTest)
#include "pedal_test.moc"
