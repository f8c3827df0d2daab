#include "index/text_exports.h"

#include <QtTest>

namespace {
const QString kStamp = QStringLiteral(",%24/07/02,13:05:09");
const QString kHeader = QStringLiteral("エントリー,タイムコード,テキスト,登録日時\r\n");

void row(const char* name, const QString& note, const QString& csvField, const QString& textNote) {
    QTest::newRow(name) << note << csvField << textNote;
}
}  // namespace

class TextExportsTest : public QObject {
    Q_OBJECT

private slots:
    void notes_data() {
        QTest::addColumn<QString>("note");
        QTest::addColumn<QString>("csvField");
        QTest::addColumn<QString>("textNote");
        row("blanks", " 会議 開始　第2部", " 会議 開始　第2部", " 会議 開始　第2部");
        row("comma", "議題,決定", "\"議題,決定\"", "議題,決定");
        row("quotes", "彼は\"はい\"と", "\"彼は\"\"はい\"\"と\"", "彼は\"はい\"と");
        row("line breaks", "一\r\n二\n三", "\"一\r\n二\n三\"", "一 二 三");
        row("accents, emoji", "Café naïve 🎉", "Café naïve 🎉", "Café naïve 🎉");
        row("formula", "=HYPERLINK(\"x\")", "\"'=HYPERLINK(\"\"x\"\")\"", "=HYPERLINK(\"x\")");
        row("minus", "-5 dB", "'-5 dB", "-5 dB");
        row("tab", "\t@1", "'\t@1", "\t@1");
        row("carriage return", "\r+1", "\"'\r+1\"", " +1");
        row("notes off", "", "", "");
    }

    void notes() {
        QFETCH(QString, note);
        QFETCH(QString, csvField);
        QFETCH(QString, textNote);
        IndexBook book;
        book.loadEntry(3, 83.4, "0:01:23,　" + note + kStamp);
        QCOMPARE(QString::fromUtf8(utf8CsvBytes(book)),
                 kHeader + "3,0:01:23," + csvField + ",2024-07-02T13:05:09\r\n");
        const QString line = textNote.isEmpty() ? "0:01:23" : "0:01:23  " + textNote;
        QCOMPARE(QString::fromUtf8(textBytes(book)), line + "\n");
    }

    void onlyEntriesWithATime() {
        IndexBook book;
        QCOMPARE(utf8CsvBytes(book), kHeader.toUtf8());
        QCOMPARE(textBytes(book), QByteArray());
        const QDateTime when(QDate(2024, 7, 2), QTime(13, 5, 9));
        book.registerEntry(5, 130, clipPart(true, QStringLiteral("議題")), when);
        book.registerEntry(2, 0.5, clipPart(true, QString()), when);
        book.loadEntry(7, 200, QStringLiteral("0:03:20,　メモ,%24/13/02,13:05:09"));
        book.loadEntry(9, 0, "0:09:00,　消えた" + kStamp);
        QCOMPARE(QString::fromUtf8(utf8CsvBytes(book)),
                 kHeader +
                     "2,0:00:00,,2024-07-02T13:05:09\r\n5,0:02:10,議題,2024-07-02T13:05:09\r\n"
                     "7,0:03:20,メモ,\r\n");
        QCOMPARE(QString::fromUtf8(textBytes(book)),
                 QStringLiteral("0:00:00\n0:02:10  議題\n0:03:20  メモ\n"));
    }
};

QTEST_GUILESS_MAIN(TextExportsTest)
#include "text_exports_test.moc"
