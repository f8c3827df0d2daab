// Every way of ending Scribo short of SIGKILL keeps the index entries and the place: a logout or
// shutdown (SIGTERM), an interrupt, a hang-up, and a lost X connection.

#include <signal.h>

#include <QtTest>

#include "core/profile_file.h"
#include "e2e/e2e_support.h"
#include "fakes/test_media.h"
#include "index/index_file.h"

class EndingTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void workComesBack_data();
    void workComesBack();
};

void EndingTest::workComesBack_data() {
    QTest::addColumn<int>("signalNumber");  // 0: the X server drops the connection
    QTest::addColumn<int>("status");
    QTest::newRow("SIGTERM") << int(SIGTERM) << 128 + SIGTERM;
    QTest::newRow("SIGINT") << int(SIGINT) << 128 + SIGINT;
    QTest::newRow("SIGHUP") << int(SIGHUP) << 128 + SIGHUP;
    QTest::newRow("X connection killed") << 0 << -1;
}

void EndingTest::workComesBack() {
    QFETCH(int, signalNumber);
    QFETCH(int, status);
    ScriboProcess scribo;
    const QString media = scribo.folder() + QStringLiteral("talk.wav");
    QVERIFY(testmedia::writeWav(media, 30, 440, {8000, 1, 16}));
    scribo.writeSettings("[FormPosition]\nTop=10\nLeft=10\n[Menu]\nAddClipboard=1\n");
    scribo.start({media});
    const quint64 window = scribo.waitForWindow();
    QVERIFY(window != 0);
    QVERIFY2(waitUntil([] { return playerStatus() == QStringLiteral("Paused"); }, 20000),
             qPrintable(playerStatus()));

    const QString note = QStringLiteral("Café – Zoë, \"1994\"");
    QVERIFY(copyToClipboard(note));
    for (const char* at : {"5", "9"}) {
        playerctl({QStringLiteral("position"), QLatin1String(at)});
        QVERIFY(waitUntil([&] { return qAbs(playerPosition() - atof(at)) < 0.2; }, 5000));
        QCOMPARE(command(scribo, QStringLiteral("register-index")), 0);
    }
    playerctl({QStringLiteral("position"), QStringLiteral("7")});
    QVERIFY(waitUntil([] { return qAbs(playerPosition() - 7) < 0.2; }, 5000));

    const qint64 pid = scribo.process().processId();
    if (signalNumber != 0)
        QCOMPARE(::kill(pid, signalNumber), 0);
    else
        runTool(QStringLiteral("xkill"), {QStringLiteral("-id"), QString::number(window)});
    QVERIFY(scribo.waitForExit(15000));
    if (status >= 0) {
        QCOMPARE(scribo.process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(scribo.process().exitCode(), status);
    }

    const ProfileFile ini(scribo.folder() + QStringLiteral("Scribo.inf"));
    QCOMPARE(ini.readString(QStringLiteral("General"), QStringLiteral("File"), QString()), media);
    const double position = ini.readFloat(QStringLiteral("Record"), QStringLiteral("Position"), -1);
    QVERIFY2(qAbs(position - 7) < 0.3, qPrintable(QString::number(position)));
    const IndexBook book = readIndexFile(scribo.folder() + QStringLiteral("talk.mpx"));
    for (int n : {1, 2}) {
        QVERIFY2(qAbs(book.entry(n).time - (n == 1 ? 5 : 9)) < 0.3,
                 qPrintable(QString::number(book.entry(n).time)));
        QVERIFY2(book.entry(n).recordText.contains(note), qPrintable(book.entry(n).recordText));
    }
    QCOMPARE(book.entry(3).time, 0.0);
}

QTEST_GUILESS_MAIN(EndingTest)
#include "ending_test.moc"
