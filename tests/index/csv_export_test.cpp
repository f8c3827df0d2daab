#include "index/csv_export.h"
#include "core/cp932.h"
#include "fakes/test_files.h"

#include <QtTest>

namespace {
const QDateTime kWhen(QDate(2024, 7, 2), QTime(13, 5, 9));

void setWriteBits(const QString& path, bool on) {
    const auto bits = QFileDevice::WriteOwner | QFileDevice::WriteUser | QFileDevice::WriteGroup |
                      QFileDevice::WriteOther;
    QFile::setPermissions(path,
                          on ? QFile::permissions(path) | bits : QFile::permissions(path) & ~bits);
}
}  // namespace

class CsvExportTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;

private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    void lines_data() {
        QTest::addColumn<bool>("addClipboard");
        QTest::addColumn<QString>("note");
        QTest::addColumn<QString>("line");
        QTest::newRow("note") << true << "会議開始"
                              << "0:01:23,会議開始,24/07/02,13:05:09";
        QTest::newRow("notes off") << false << ""
                                   << "0:01:23,,24/07/02,13:05:09";
        QTest::newRow("empty clipboard") << true << ""
                                         << "0:01:23,24/07/02,13:05:09";
        QTest::newRow("half-width space joins") << true << "会議 開始"
                                                << "0:01:23,会議開始,24/07/02,13:05:09";
        QTest::newRow("ideographic space stays") << true << "会議　開始"
                                                 << "0:01:23,会議　開始,24/07/02,13:05:09";
        QTest::newRow("comma adds a field") << true << "会議,開始"
                                            << "0:01:23,会議,開始,24/07/02,13:05:09";
        QTest::newRow("stamp mark in note") << true << "50,%増"
                                            << "0:01:23,50,%増,24/07/02,13:05:09";
        // Shown by a spreadsheet, never run as a formula nor read as a quoted field.
        QTest::newRow("formula") << true << "=HYPERLINK(\"x\")"
                                 << "0:01:23,'=HYPERLINK(\"x\"),24/07/02,13:05:09";
        QTest::newRow("formula after a comma") << true << "a,@SUM(1),\t-2"
                                               << "0:01:23,a,'@SUM(1),'\t-2,24/07/02,13:05:09";
        QTest::newRow("leading quote") << true << "\"a,b\""
                                       << "0:01:23,'\"a,b\",24/07/02,13:05:09";
    }

    void lines() {
        QFETCH(bool, addClipboard);
        QFETCH(QString, note);
        QFETCH(QString, line);
        IndexBook book;
        book.registerEntry(1, 83.4, clipPart(addClipboard, note), kWhen);
        QCOMPARE(csvLine(book.entry(1).recordText), line);
    }

    void onlyEntriesWithATime() {
        IndexBook book;
        book.registerEntry(5, 130, clipPart(true, QStringLiteral("議題")), kWhen);
        book.registerEntry(2, 0.5, clipPart(false, QString()), kWhen);
        // Read from a damaged file: the time is 0, the record text stays in memory.
        book.loadEntry(9, 0, QStringLiteral("0:09:00,　,%24/07/02,13:05:09"));
        QCOMPARE(csvBytes(book), toCp932(QStringLiteral("0:00:00,,24/07/02,13:05:09\r\n"
                                                        "0:02:10,議題,24/07/02,13:05:09\r\n")));
    }

    void exportReplacesTheFile() {
        const QString path = dir_.filePath(QStringLiteral("meeting.csv"));
        IndexBook book;
        book.registerEntry(1, 83.4, clipPart(true, QStringLiteral("会議開始")), kWhen);
        writeCsvFile(path, book);
        QCOMPARE(testfiles::readAll(path), csvBytes(book));

        book.clear();
        writeCsvFile(path, book);
        QVERIFY(QFileInfo::exists(path));
        QCOMPARE(QFileInfo(path).size(), 0);
    }

    void refusedWriteNamesTheFile_data() {
        QTest::addColumn<bool>("lockFolder");
        QTest::newRow("read-only file") << false;
        QTest::newRow("read-only folder") << true;
    }

    void refusedWriteNamesTheFile() {
        QFETCH(bool, lockFolder);
        const QString folder = dir_.filePath(lockFolder ? "locked" : "open");
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + QStringLiteral("/meeting.csv");
        testfiles::writeCrLf(path, "old\n");
        setWriteBits(lockFolder ? folder : path, false);
        IndexBook book;
        book.registerEntry(1, 83.4, clipPart(false, QString()), kWhen);
        try {
            writeCsvFile(path, book);
            QFAIL("the write went through");
        } catch (const CsvExportError& e) {
            QVERIFY(QString::fromUtf8(e.what()).contains(path));
        }
        setWriteBits(lockFolder ? folder : path, true);
        QCOMPARE(testfiles::readAll(path), QByteArray("old\r\n"));
    }
};

QTEST_GUILESS_MAIN(CsvExportTest)
#include "csv_export_test.moc"
