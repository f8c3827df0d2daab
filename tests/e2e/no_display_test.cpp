// Started outside a graphical session, the binary says what is missing instead of aborting.

#include <QProcess>
#include <QtTest>

class NoDisplayTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void withoutDisplaySaysSoAndEnds();
};

void NoDisplayTest::withoutDisplaySaysSoAndEnds() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QLatin1String(name));
    QProcess scribo;
    scribo.setProcessEnvironment(environment);
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
