// Only a regular, readable file serves as the settings file, and what an interrupted write left
// beside it or beside an index file is cleared away, but nothing named like it.

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "core/file_access.h"
#include "index/index_controller.h"
#include "session/settings_location.h"

namespace {
void touch(const QString& path, int ageSeconds) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(path));
    file.write("[General]\r\n");
    file.flush();  // a write after setting the time would set it again
    file.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds),
                     QFileDevice::FileModificationTime);
}

// The check as an ordinary user sees it: root reads every file, so run it as nobody.
QString problemForUser(const QString& path) {
    if (::geteuid() != 0) return SettingsFileProblem(path);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
        ::_exit(SettingsFileProblem(path).startsWith(QStringLiteral("it cannot be read")) ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? QStringLiteral("it cannot be read")
                                                         : QString();
}
}  // namespace

class SettingsFileCheckTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void onlyRegularFilesServe();
    void unreadableFileIsRefused();
    void interruptedWritesAreRemoved();
};

void SettingsFileCheckTest::onlyRegularFilesServe() {
    QTemporaryDir dir;
    const QString regular = dir.filePath(QStringLiteral("Scribo.inf"));
    touch(regular, 0);
    QCOMPARE(SettingsFileProblem(regular), QString());

    const QString fifo = dir.filePath(QStringLiteral("fifo.inf"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    QCOMPARE(SettingsFileProblem(fifo), QStringLiteral("it is not a regular file"));

    const QString device = dir.filePath(QStringLiteral("zero.inf"));
    QVERIFY(QFile::link(QStringLiteral("/dev/zero"), device));
    QCOMPARE(SettingsFileProblem(device), QStringLiteral("it is not a regular file"));

    const QString folder = dir.filePath(QStringLiteral("folder.inf"));
    QVERIFY(QDir().mkdir(folder));
    QCOMPARE(SettingsFileProblem(folder), QStringLiteral("it is a folder"));

    const QString large = dir.filePath(QStringLiteral("large.inf"));
    QVERIFY(QFile::copy(regular, large) && QFile::resize(large, kSmallFileLimit + 1));
    QCOMPARE(SettingsFileProblem(large), QStringLiteral("it is larger than 2 MiB"));

    const QString link = dir.filePath(QStringLiteral("link.inf"));
    QVERIFY(QFile::link(regular, link));
    QCOMPARE(SettingsFileProblem(link), QString());
}

void SettingsFileCheckTest::unreadableFileIsRefused() {
    QTemporaryDir dir;
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                          QFileDevice::ExeOther);
    const QString path = dir.filePath(QStringLiteral("Scribo.inf"));
    touch(path, 0);
    QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions()));
    QVERIFY2(problemForUser(path).startsWith(QStringLiteral("it cannot be read")),
             qPrintable(problemForUser(path)));
}

void SettingsFileCheckTest::interruptedWritesAreRemoved() {
    // NAME stands for the settings file, cleared at start-up, and for an index file, cleared
    // when its media is opened.
    const struct {
        const char* name;
        int age;
        bool removed;
    } files[] = {
        {".NAME.scribo-Ab3xZ9", 3600, true},        // left by a write killed an hour ago
        {".NAME.scribo-Qw8rT2", 5, false},          // a write of another Scribo under way
        {"NAME.Ab3xZ9", 3600, false},               // the typist's own copies
        {"NAME.backup", 3600, false},               //
        {"NAME.200101", 3600, false},               //
        {"NAME.ORIG01", 3600, false},               //
        {".NAME.scribo-Ab3xZ99", 3600, false},      // not the temporary files' pattern
        {".NAME.scribo-Ab3x.9", 3600, false},       //
        {"NAME.scribo-Ab3xZ9", 3600, false},        //
        {".Other.inf.scribo-Ab3xZ9", 3600, false},  // another file's
    };
    for (const QString& target : {QStringLiteral("Scribo.inf"), QStringLiteral("talk.mpx")}) {
        QTemporaryDir dir;
        const auto path = [&](const char* name) {
            return dir.filePath(QString::fromLatin1(name).replace(QStringLiteral("NAME"), target));
        };
        touch(dir.filePath(target), 3600);
        for (const auto& f : files)
            touch(path(f.name), f.age);
        if (target.endsWith(QStringLiteral(".inf")))
            RemoveInterruptedWrites(dir.filePath(target));
        else
            IndexController().openMedia(dir.filePath(QStringLiteral("talk.wav")));
        QVERIFY(QFile::exists(dir.filePath(target)));
        for (const auto& f : files)
            QVERIFY2(QFile::exists(path(f.name)) != f.removed, qPrintable(path(f.name)));
    }
}

QTEST_GUILESS_MAIN(SettingsFileCheckTest)
#include "settings_file_check_test.moc"
