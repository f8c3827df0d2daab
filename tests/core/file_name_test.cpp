#include "core/file_name.h"

#include <sys/stat.h>
#include <unistd.h>
#include <QTemporaryDir>
#include <QtTest>

class FileNameTest : public QObject {
    Q_OBJECT

private slots:
    void bytesRoundTrip_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("name");  // how it reads; empty when only the round trip counts
        QTest::newRow("ascii") << QByteArray("/tmp/a.mp3") << QStringLiteral("/tmp/a.mp3");
        QTest::newRow("japanese") << QByteArray("会議.wav") << QStringLiteral("会議.wav");
        QTest::newRow("emoji") << QByteArray("\xF0\x9F\x8E\xA4.mp3") << QStringLiteral("🎤.mp3");
        QTest::newRow("ff fe") << QByteArray("bad\xff\xfename.mp3")
                               << QStringLiteral("bad") + QChar(0xDCFF) + QChar(0xDCFE) +
                                      QStringLiteral("name.mp3");
        QTest::newRow("cp932 name") << QByteArray("\x89\xEF\x8B\x63.mp3") << QString();
        QTest::newRow("cut sequence at end") << QByteArray("a\xE4\xBC") << QString();
        QTest::newRow("overlong slash") << QByteArray("\xC0\xAF") << QString();
        QTest::newRow("encoded surrogate") << QByteArray("\xED\xB3\xBF") << QString();
        QTest::newRow("past unicode") << QByteArray("\xF4\x90\x80\x80") << QString();
        QTest::newRow("lone continuation") << QByteArray("\x80x\xBF") << QString();
    }
    void bytesRoundTrip() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, name);
        const QString read = fileNameFromBytes(bytes);
        if (!name.isEmpty()) QCOMPARE(read, name);
        QCOMPARE(fileNameToBytes(read), bytes);
        QVERIFY(!read.contains(QChar(QChar::ReplacementCharacter)));
    }

    // A surrogate pair that happens to end in the escape range is a character, not a byte.
    void surrogatePairStaysACharacter() {
        const QString name = QString::fromUcs4(U"\U000100FF");
        QCOMPARE(fileNameToBytes(name), name.toUtf8());
    }

    void filesAndUrisKeepTheBytes() {
        QTemporaryDir dir;
        const QByteArray bytes = QFile::encodeName(dir.path()) + "/bad\xff\xfename.mp3";
        const QString path = fileNameFromBytes(bytes);
        QVERIFY(!fileExists(path));
        {
            FILE* file = std::fopen(bytes.constData(), "w");
            QVERIFY(file);
            std::fclose(file);
        }
        // QTemporaryDir cannot remove a name Qt cannot spell.
        const auto removeFile = qScopeGuard([&] { std::remove(bytes.constData()); });
        QVERIFY(fileExists(path));
        QVERIFY(!isFolder(path));
        QVERIFY(isFolder(dir.path()));
        // A relative name on the command line is taken from a working folder of such a name.
        const QByteArray folder = bytes + ".d";
        QCOMPARE(::mkdir(folder.constData(), 0700), 0);
        const QString before = QDir::currentPath();
        QCOMPARE(::chdir(folder.constData()), 0);
        const QString current = currentFolder();
        QVERIFY(QDir::setCurrent(before));
        ::rmdir(folder.constData());
        QCOMPARE(fileNameToBytes(current), folder);

        const QString uri = localFileUri(path);
        QVERIFY2(uri.endsWith(QLatin1String("/bad%FF%FEname.mp3")), qPrintable(uri));
        QCOMPARE(localFileFromUri(QUrl(uri)), path);
        QCOMPARE(localFileFromUri(QUrl(QStringLiteral("file://localhost/a%20b%E4%BC%9A.wav"))),
                 QStringLiteral("/a b") + fileNameFromBytes("\xE4\xBC\x9A") + ".wav");
        QCOMPARE(localFileFromUri(QUrl(QStringLiteral("http://host/x.mp3"))), QString());
    }

    void argumentsAreFileNames() {
        const char* argv[] = {"scribo", "bad\xff.mp3"};
        QCOMPARE(argumentsFromBytes(2, argv),
                 QStringList({QStringLiteral("scribo"),
                              QStringLiteral("bad") + QChar(0xDCFF) + QStringLiteral(".mp3")}));
    }
};

QTEST_GUILESS_MAIN(FileNameTest)
#include "file_name_test.moc"
