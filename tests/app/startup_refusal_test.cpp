// Start-up refuses a settings "file" that is no regular file, says why, and leaves it alone;
// it clears away what a killed write left beside a good one.

#include <sys/stat.h>
#include <QDateTime>
#include <QFile>
#include <QtTest>

#include "fakes/window_fixture.h"

class StartupRefusalTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fifoIsRefusedWithTheReason();
    void leftoverOfAKilledWriteIsRemoved();
};

void StartupRefusalTest::fifoIsRefusedWithTheReason() {
    WindowFixture f;
    const QString path = f.folder() + QStringLiteral("Scribo.inf");
    QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
    QVERIFY(!f.start());  // a FIFO read would block here for ever
    QCOMPARE(f.session().exitCode(), 2);
    QCOMPARE(f.dialogs.messages.size(), 1);
    QVERIFY2(f.dialogs.messages.first().contains(QStringLiteral("not a regular file")),
             qPrintable(f.dialogs.messages.first()));
    struct stat status {};
    QCOMPARE(::stat(QFile::encodeName(path).constData(), &status), 0);
    QVERIFY(S_ISFIFO(status.st_mode));
}

void StartupRefusalTest::leftoverOfAKilledWriteIsRemoved() {
    WindowFixture f;
    f.writeSettings("[FormPosition]\nTop=10\nLeft=10\n");
    const QString leftover = f.folder() + QStringLiteral(".Scribo.inf.scribo-k9Xb2Q");
    {
        QFile file(leftover);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[FormPosition]\r\nTop=1");
        file.flush();
        file.setFileTime(QDateTime::currentDateTime().addSecs(-600),
                         QFileDevice::FileModificationTime);
    }
    QVERIFY(f.start());
    QVERIFY(!QFile::exists(leftover));
    QVERIFY(f.dialogs.messages.isEmpty());
}

QTEST_MAIN(StartupRefusalTest)
#include "startup_refusal_test.moc"
