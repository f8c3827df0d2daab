// Only a regular, readable file serves as the settings file, and what an interrupted write left
// beside it is cleared away, but nothing else.

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

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
    QTemporaryDir dir;
    const QString settings = dir.filePath(QStringLiteral("Scribo.inf"));
    touch(settings, 3600);
    const struct {
        const char* name;
        int age;
        bool removed;
    } files[] = {
        {"Scribo.inf.Ab3xZ9", 3600, true},    // left by a write killed an hour ago
        {"Scribo.inf.Qw8rT2", 5, false},      // a write of another Scribo under way
        {"Scribo.inf.bak", 3600, false},      // the user's own copy
        {"Scribo.inf.Ab3xZ99", 3600, false},  // not the temporary files' pattern
        {"Other.inf.Ab3xZ9", 3600, false},    // another file's
    };
    for (const auto& f : files)
        touch(dir.filePath(QLatin1String(f.name)), f.age);
    RemoveInterruptedWrites(settings);
    QVERIFY(QFile::exists(settings));
    for (const auto& f : files)
        QVERIFY2(QFile::exists(dir.filePath(QLatin1String(f.name))) != f.removed, f.name);
}

QTEST_GUILESS_MAIN(SettingsFileCheckTest)
#include "settings_file_check_test.moc"
