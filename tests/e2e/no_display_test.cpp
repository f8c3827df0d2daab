// Started without a display it can reach, the binary says what is missing instead of aborting.

#include <QProcess>
#include <QtTest>

class NoDisplayTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void withoutDisplaySaysSoAndEnds_data();
    void withoutDisplaySaysSoAndEnds();
};

void NoDisplayTest::withoutDisplaySaysSoAndEnds_data() {
    QTest::addColumn<QStringList>("environment");  // set on top of one without any display
    QTest::newRow("nothing set") << QStringList();
    QTest::newRow("DISPLAY without a server") << QStringList{"DISPLAY=:4791"};
    QTest::newRow("DISPLAY garbage") << QStringList{"DISPLAY=garbage"};
    QTest::newRow("xcb chosen, no DISPLAY") << QStringList{"QT_QPA_PLATFORM=xcb"};
    QTest::newRow("WAYLAND_DISPLAY naming nothing") << QStringList{"WAYLAND_DISPLAY=nothing"};
    // Past the check, Qt itself finds nothing to start: its abort becomes the same line.
    QTest::newRow("no such platform") << QStringList{"QT_QPA_PLATFORM=nosuchplatform"};
}

void NoDisplayTest::withoutDisplaySaysSoAndEnds() {
    QFETCH(QStringList, environment);
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE"})
        variables.remove(QLatin1String(name));
    for (const QString& entry : environment)
        variables.insert(entry.section(QLatin1Char('='), 0, 0), entry.section(QLatin1Char('='), 1));
    QProcess scribo;
    scribo.setProcessEnvironment(variables);
    scribo.start(QStringLiteral(SCRIBO_BINARY), {});
    QVERIFY(scribo.waitForFinished(20000));
    QCOMPARE(scribo.exitStatus(), QProcess::NormalExit);
    QCOMPARE(scribo.exitCode(), 1);
    const QString error = QString::fromUtf8(scribo.readAllStandardError());
    QVERIFY2(error.contains(QStringLiteral("a graphical session is needed")), qPrintable(error));
    QCOMPARE(error.count(QLatin1Char('\n')), 1);
}

QTEST_GUILESS_MAIN(NoDisplayTest)
#include "no_display_test.moc"
