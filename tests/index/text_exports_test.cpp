#include "index/text_exports.h"

#include <QtTest>

namespace {
const QString kStamp = QStringLiteral(",%24/07/02,13:05:09");
const QString kHeader = QStringLiteral("エントリー,タイムコード,テキスト,登録日時\r\n");
}  // namespace

class TextExportsTest : public QObject {
    Q_OBJECT

private slots:
    void notes_data() {
        QTest::addColumn<QString>("recordText");
        QTest::addColumn<QString>("csvRow");
        QTest::addColumn<QString>("textLine");
        const QString at = QStringLiteral("3,0:01:23,");
        const QString when = QStringLiteral(",2024-07-02T13:05:09");
        QTest::newRow("blanks kept")
            << "0:01:23,　 会議 開始　第2部" + kStamp << at + " 会議 開始　第2部" + when
            << "0:01:23   会議 開始　第2部";
        QTest::newRow("comma") << "0:01:23,　議題,決定" + kStamp << at + "\"議題,決定\"" + when
                               << "0:01:23  議題,決定";
        QTest::newRow("quotes") << "0:01:23,　彼は\"はい\"と" + kStamp
                                << at + "\"彼は\"\"はい\"\"と\"" + when
                                << "0:01:23  彼は\"はい\"と";
        QTest::newRow("line breaks")
            << "0:01:23,　一行目\r\n二行目\n三" + kStamp << at + "\"一行目\r\n二行目\n三\"" + when
            << "0:01:23  一行目 二行目 三";
        QTest::newRow("accents and emoji") << "0:01:23,　Café naïve 🎉" + kStamp
                                           << at + "Café naïve 🎉" + when << "0:01:23  Café naïve 🎉";
        QTest::newRow("formula") << "0:01:23,　=HYPERLINK(\"x\")" + kStamp
                                 << at + "\"'=HYPERLINK(\"\"x\"\")\"" + when
                                 << "0:01:23  =HYPERLINK(\"x\")";
        QTest::newRow("minus") << "0:01:23,　-5 dB" + kStamp << at + "'-5 dB" + when
                               << "0:01:23  -5 dB";
        QTest::newRow("at") << "0:01:23,　@SUM(A1)" + kStamp << at + "'@SUM(A1)" + when
                            << "0:01:23  @SUM(A1)";
        QTest::newRow("tab") << "0:01:23,　\t+1" + kStamp << at + "'\t+1" + when << "0:01:23  \t+1";
        QTest::newRow("carriage return")
            << "0:01:23,　\r=1" + kStamp << at + "\"'\r=1\"" + when << "0:01:23   =1";
        QTest::newRow("notes off") << "0:01:23,　" + kStamp << at + when << "0:01:23";
        QTest::newRow("empty clipboard") << "0:01:23" + kStamp << at + when << "0:01:23";
        QTest::newRow("damaged stamp") << "0:01:23,　メモ,%24/13/02,13:05:09" << at + "メモ,"
                                       << "0:01:23  メモ";
        QTest::newRow("no stamp") << "0:01:23,　メモ" << at + "メモ,"
                                  << "0:01:23  メモ";
    }

    void notes() {
        QFETCH(QString, recordText);
        QFETCH(QString, csvRow);
        QFETCH(QString, textLine);
        IndexBook book;
        book.loadEntry(3, 83.4, recordText);
        QCOMPARE(QString::fromUtf8(utf8CsvBytes(book)), kHeader + csvRow + "\r\n");
        QCOMPARE(QString::fromUtf8(textBytes(book)), textLine + "\n");
    }

    void onlyEntriesWithATime() {
        IndexBook book;
        QCOMPARE(utf8CsvBytes(book), kHeader.toUtf8());
        QCOMPARE(textBytes(book), QByteArray());

        const QDateTime when(QDate(2024, 7, 2), QTime(13, 5, 9));
        book.registerEntry(5, 130, clipPart(true, QStringLiteral("議題")), when);
        book.registerEntry(2, 0.5, clipPart(false, QString()), when);
        book.loadEntry(9, 0, "0:09:00,　消えた" + kStamp);
        QCOMPARE(
            QString::fromUtf8(utf8CsvBytes(book)),
            kHeader + "2,0:00:00,,2024-07-02T13:05:09\r\n5,0:02:10,議題,2024-07-02T13:05:09\r\n");
        QCOMPARE(QString::fromUtf8(textBytes(book)), QStringLiteral("0:00:00\n0:02:10  議題\n"));
    }
};

QTEST_GUILESS_MAIN(TextExportsTest)
#include "text_exports_test.moc"
