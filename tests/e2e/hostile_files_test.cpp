// The real binary when the settings file or the index file is something else: a FIFO, a link to
// a device, a folder, a dangling link or a link to another file. Scribo neither hangs nor
// crashes, never writes through a link, and ends as documented.

#include <signal.h>
#include <sys/stat.h>
#include <QDir>
#include <QtTest>

#include "e2e/e2e_support.h"
#include "fakes/test_files.h"
#include "fakes/test_media.h"

namespace {
enum class Kind { Fifo, DeviceLink, Folder, DanglingLink, LinkToOther };

bool make(const QString& path, Kind kind, const QString& other, const QString& absent) {
    switch (kind) {
        case Kind::Fifo:
            return ::mkfifo(QFile::encodeName(path).constData(), 0644) == 0;
        case Kind::DeviceLink:
            return QFile::link(QStringLiteral("/dev/zero"), path);
        case Kind::Folder:
            return QDir().mkdir(path);
        case Kind::DanglingLink:
            return QFile::link(absent, path);
        case Kind::LinkToOther:
            return QFile::link(other, path);
    }
    return false;
}

mode_t typeOf(const QString& path) {
    struct stat status {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & S_IFMT : 0;
}
}  // namespace

Q_DECLARE_METATYPE(Kind)

class HostileFilesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void neitherHangsNorWritesThroughLinks_data();
    void neitherHangsNorWritesThroughLinks();
};

void HostileFilesTest::neitherHangsNorWritesThroughLinks_data() {
    QTest::addColumn<bool>("indexFile");  // else the settings file
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<int>("exitCode");  // 2: start-up refused; 143: the index could not be saved
    QTest::newRow("settings FIFO") << false << Kind::Fifo << 2;
    QTest::newRow("settings link to /dev/zero") << false << Kind::DeviceLink << 2;
    QTest::newRow("settings folder") << false << Kind::Folder << 2;
    QTest::newRow("settings dangling link") << false << Kind::DanglingLink << 2;
    QTest::newRow("settings link to another file") << false << Kind::LinkToOther << 0;
    QTest::newRow("index FIFO") << true << Kind::Fifo << 143;
    QTest::newRow("index link to /dev/zero") << true << Kind::DeviceLink << 143;
    QTest::newRow("index folder") << true << Kind::Folder << 143;
    QTest::newRow("index dangling link") << true << Kind::DanglingLink << 0;
    QTest::newRow("index link to another file") << true << Kind::LinkToOther << 0;
}

void HostileFilesTest::neitherHangsNorWritesThroughLinks() {
    QFETCH(bool, indexFile);
    QFETCH(Kind, kind);
    QFETCH(int, exitCode);
    ScriboProcess scribo;
    const QString media = scribo.folder() + QStringLiteral("talk.wav");
    const QString other = scribo.folder() + QStringLiteral("other.txt");
    const QString absent = scribo.folder() + QStringLiteral("absent.txt");
    const QString hostile = scribo.folder() + QLatin1String(indexFile ? "talk.mpx" : "Scribo.inf");
    QVERIFY(testmedia::writeWav(media, 30, 440, {8000, 1, 16}));
    testfiles::writeCrLf(other, "[Index]\n1=5\n[IndexComment]\n1=0:00:05\n");
    const QByteArray otherBytes = testfiles::readAll(other);
    if (indexFile) scribo.writeSettings("[FormPosition]\nTop=10\nLeft=10\n");
    QVERIFY(make(hostile, kind, other, absent));
    scribo.start({media});

    if (exitCode == 2) {
        // Refused with a box where the file is there but unusable, on standard error alone
        // where no settings file is found.
        QVERIFY(waitUntil(
            [&] {
                dismissMessageBoxes(scribo, 0);
                return scribo.process().state() == QProcess::NotRunning || scribo.waitForExit(200);
            },
            15000));
    } else {
        const quint64 window = scribo.waitForWindow();
        QVERIFY(window != 0);
        QVERIFY(waitUntil([] { return playerStatus() == QStringLiteral("Paused"); }, 20000));
        QCOMPARE(command(scribo, QStringLiteral("register-index")), 0);
        QTest::qWait(2 * 500);  // the index's autosave
        QVERIFY(quitScribo());
        if (exitCode == 143) {
            // The close refuses to lose the entry and says so; the window stays until a signal.
            QVERIFY(waitUntil([&] { return !messageBoxes(scribo, window).isEmpty(); }, 10000));
            QVERIFY(dismissMessageBoxes(scribo, window));
            QCOMPARE(scribo.process().state(), QProcess::Running);
            ::kill(pid_t(scribo.process().processId()), SIGTERM);
        }
        QVERIFY(scribo.waitForExit(15000));
    }
    QCOMPARE(scribo.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(scribo.process().exitCode(), exitCode);
    QCOMPARE(testfiles::readAll(other), otherBytes);
    QVERIFY(!QFile::exists(absent));
    const bool replaced = exitCode == 0;
    const mode_t before = kind == Kind::Fifo ? S_IFIFO : kind == Kind::Folder ? S_IFDIR : S_IFLNK;
    QCOMPARE(typeOf(hostile), replaced ? S_IFREG : before);
    if (replaced && indexFile) QVERIFY(testfiles::readAll(hostile).contains(",%"));
}

QTEST_MAIN(HostileFilesTest)
#include "hostile_files_test.moc"
