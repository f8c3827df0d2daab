// A write that the system stops half-way (a file-size limit, as a full disk would) is reported
// and leaves the settings or index file exactly as it was, with no temporary file beside it.

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

#include "core/profile_file.h"
#include "index/index_file.h"

namespace {
enum Outcome { Refused = 10, Written = 11, OtherError = 12 };

// Runs the write in a child process whose files may not grow past `limit` bytes.
int writeUnderSizeLimit(rlim_t limit, const std::function<void()>& write) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);  // the write then fails with EFBIG instead of killing
        const rlimit cap{limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &cap);
        int outcome = Written;
        try {
            write();
        } catch (const ProfileWriteError&) {
            outcome = Refused;
        } catch (...) {
            outcome = OtherError;
        }
        ::_exit(outcome);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
}  // namespace

class InterruptedWriteTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void stoppedWriteLeavesFileWhole_data();
    void stoppedWriteLeavesFileWhole();
};

void InterruptedWriteTest::stoppedWriteLeavesFileWhole_data() {
    QTest::addColumn<bool>("indexFile");
    QTest::addColumn<int>("limit");
    QTest::newRow("settings, stopped at once") << false << 0;
    QTest::newRow("settings, stopped half-way") << false << 8192;
    QTest::newRow("index, stopped half-way") << true << 8192;
}

void InterruptedWriteTest::stoppedWriteLeavesFileWhole() {
    QFETCH(bool, indexFile);
    QFETCH(int, limit);
    QTemporaryDir dir;
    const QString path =
        dir.filePath(indexFile ? QStringLiteral("talk.mpx") : QStringLiteral("Scribo.inf"));
    const QByteArray before =
        "[Index]\r\n1=12.5\r\n[IndexComment]\r\n1=冒頭\r\n[General]\r\nFile=a\r\n";
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(before);
    }
    // Far more than the limit, so that the write stops in the middle.
    const QString longText(40'000, QLatin1Char('x'));
    const int outcome = writeUnderSizeLimit(rlim_t(limit), [&] {
        if (indexFile) {
            IndexBook book;
            for (int n = 1; n <= IndexBook::kEntryCount; ++n)
                book.loadEntry(n, n * 10.0, longText);
            writeIndexFile(path, book);
        } else {
            ProfileFile(path).writeString(QStringLiteral("General"), QStringLiteral("File"),
                                          longText);
        }
    });
    QCOMPARE(outcome, int(Refused));
    QCOMPARE(readAll(path), before);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QFileInfo(path).fileName()});

    // Without the limit the same write goes through.
    const int unlimited = writeUnderSizeLimit(RLIM_INFINITY, [&] {
        ProfileFile(path).writeString(QStringLiteral("General"), QStringLiteral("File"), longText);
    });
    QCOMPARE(unlimited, int(Written));
    QCOMPARE(ProfileFile(path).readString(QStringLiteral("General"), QStringLiteral("File"), {}),
             longText.left(2047));
}

QTEST_GUILESS_MAIN(InterruptedWriteTest)
#include "interrupted_write_test.moc"
