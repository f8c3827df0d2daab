// libmpv is opened when the player is made: the early answers never load it, and a missing or
// wrong library ends start-up with a message naming it, on standard error and in a box, instead
// of a crash.

#include <QtTest>

#include "e2e/e2e_support.h"

class PlayerLibraryTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void earlyAnswersDoNotLoadIt_data();
    void earlyAnswersDoNotLoadIt();
    void unusableLibraryIsNamed_data();
    void unusableLibraryIsNamed();
};

void PlayerLibraryTest::earlyAnswersDoNotLoadIt_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("version") << QStringList{QStringLiteral("--version")};
    QTest::newRow("help") << QStringList{QStringLiteral("--help")};
    QTest::newRow("command") << QStringList{QStringLiteral("--cmd"), QStringLiteral("list")};
}

void PlayerLibraryTest::earlyAnswersDoNotLoadIt() {
    QFETCH(QStringList, arguments);
    // The dynamic loader lists every library it maps on standard error.
    const ScopedEnv trace("LD_DEBUG", QStringLiteral("files"));
    ScriboProcess scribo;
    scribo.start(arguments);
    QVERIFY(scribo.waitForExit(20000));
    QCOMPARE(scribo.process().exitCode(), 0);
    const QString loaded = QString::fromLocal8Bit(scribo.process().readAllStandardError());
    QVERIFY2(loaded.contains(QStringLiteral("libQt6Core.so")), "no loader trace to check");
    QVERIFY2(!loaded.contains(QStringLiteral("libmpv")), "libmpv was loaded");
}

void PlayerLibraryTest::unusableLibraryIsNamed_data() {
    QTest::addColumn<QString>("library");
    QTest::addColumn<QString>("why");
    QTest::newRow("missing") << QStringLiteral("/nonexistent/libmpv.so.2")
                             << QStringLiteral("No such file");
    QTest::newRow("not libmpv") << QStringLiteral("libz.so.1")
                                << QStringLiteral("no function mpv_");
}

void PlayerLibraryTest::unusableLibraryIsNamed() {
    QFETCH(QString, library);
    QFETCH(QString, why);
    const ScopedEnv name("SCRIBO_MPV_LIBRARY", library);
    ScriboProcess scribo;
    scribo.writeSettings("[FormPosition]\nTop=10\nLeft=10\n");
    scribo.start();
    // Told in a box too, since a program started from the desktop's menu has no terminal. The
    // window shows before the player starts, and hides for the box.
    bool answered = false;
    QVERIFY(waitUntil(
        [&] {
            if (!messageBoxes(scribo, 0).isEmpty()) answered = dismissMessageBoxes(scribo, 0);
            return scribo.process().state() == QProcess::NotRunning;
        },
        20000));
    QVERIFY(answered);
    QCOMPARE(scribo.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(scribo.process().exitCode(), 3);
    const QString error = QString::fromUtf8(scribo.process().readAllStandardError());
    QVERIFY2(error.contains(QStringLiteral("Cannot start the media player")), qPrintable(error));
    QVERIFY2(error.contains(library), qPrintable(error));
    QVERIFY2(error.contains(why), qPrintable(error));
}

QTEST_GUILESS_MAIN(PlayerLibraryTest)
#include "player_library_test.moc"
