#include "index/entry_book.h"

#include <QtTest>

namespace {
const QDateTime kWhen(QDate(2024, 7, 2), QTime(13, 5, 9));
const QString k40Characters = QString(40, QChar(0x4F1A));  // 会 x 40
}  // namespace

class EntryBookTest : public QObject {
    Q_OBJECT

private slots:
    void registration_data() {
        QTest::addColumn<bool>("addClipboard");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<double>("position");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("recordText");
        QTest::newRow("note") << true << "会議開始" << 83.4 << " 1. 0:01:23,　会議開始"
                              << "0:01:23,　会議開始,%24/07/02,13:05:09";
        QTest::newRow("notes off") << false << "会議開始" << 83.4 << " 1. 0:01:23,　"
                                   << "0:01:23,　,%24/07/02,13:05:09";
        QTest::newRow("blank clipboard") << true << " 　\t 　" << 83.4 << " 1. 0:01:23"
                                         << "0:01:23,%24/07/02,13:05:09";
        QTest::newRow("ends trimmed, inner spaces kept")
            << true << "\r\n　 会議　開始 x \t" << 83.4 << " 1. 0:01:23,　会議　開始 x"
            << "0:01:23,　会議　開始 x,%24/07/02,13:05:09";
        QTest::newRow("30 characters")
            << true << k40Characters << 83.4 << " 1. 0:01:23,　" + k40Characters.left(30)
            << "0:01:23,　" + k40Characters.left(30) + ",%24/07/02,13:05:09";
        QTest::newRow("surrogate pair counts one")
            << true << QString::fromUtf8("\xF0\x9F\x98\x80") + k40Characters << 83.4
            << " 1. 0:01:23,　" + QString::fromUtf8("\xF0\x9F\x98\x80") + k40Characters.left(29)
            << "0:01:23,　" + QString::fromUtf8("\xF0\x9F\x98\x80") + k40Characters.left(29) +
                   ",%24/07/02,13:05:09";
        QTest::newRow("line breaks") << true << "一行目\r\n\r\n二行目\n\r三行目" << 83.4
                                     << " 1. 0:01:23,　一行目 二行目 三行目"
                                     << "0:01:23,　一行目 二行目 三行目,%24/07/02,13:05:09";
        QTest::newRow("stamp mark in note") << true << "50,%増" << 83.4 << " 1. 0:01:23,　50, %増"
                                            << "0:01:23,　50, %増,%24/07/02,13:05:09";
        QTest::newRow("half a second") << false << "" << 0.5 << " 1. 0:00:00,　"
                                       << "0:00:00,　,%24/07/02,13:05:09";
    }

    void registration() {
        QFETCH(bool, addClipboard);
        QFETCH(QString, clipboard);
        QFETCH(double, position);
        QFETCH(QString, caption);
        QFETCH(QString, recordText);
        IndexBook book;
        book.registerEntry(1, position, clipPart(addClipboard, clipboard), kWhen);
        QCOMPARE(book.entry(1).caption, caption);
        QCOMPARE(book.entry(1).recordText, recordText);
        QCOMPARE(book.entry(1).time, position);
        QVERIFY(book.isOccupied(1));
        // Read back from the file, the entry shows the same caption unless under one second.
        IndexBook reread;
        reread.loadEntry(1, position, recordText);
        QCOMPARE(reread.entry(1).caption, position > 1.0 ? caption : QStringLiteral(" 1."));
    }

    void appendTarget_data() {
        QTest::addColumn<QList<int>>("occupied");
        QTest::addColumn<int>("target");
        QTest::newRow("empty") << QList<int>{} << 1;
        QTest::newRow("gaps stay") << QList<int>{1, 2, 5} << 6;
        QTest::newRow("28 leaves 29") << QList<int>{28} << 29;
        QTest::newRow("29 alone is full") << QList<int>{29} << 0;
    }

    void appendTarget() {
        QFETCH(QList<int>, occupied);
        QFETCH(int, target);
        IndexBook book;
        for (int n : occupied)
            book.registerEntry(n, 10.0 * n, clipPart(false, QString()), kWhen);
        QCOMPARE(book.appendTarget(), target);
    }

    void trimBlanksKeepsOtherWhiteSpace_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("trimmed");
        QTest::newRow("both kinds") << " 　 a b　c 　"
                                    << "a b　c";
        QTest::newRow("tab stays") << "\t a \t"
                                   << "\t a \t";
        QTest::newRow("only blanks") << "　 　"
                                     << "";
    }

    void trimBlanksKeepsOtherWhiteSpace() {
        QFETCH(QString, text);
        QFETCH(QString, trimmed);
        QCOMPARE(trimBlanks(text), trimmed);
    }

    void clearEmptiesEveryEntry() {
        IndexBook book;
        for (int n = 1; n <= IndexBook::kEntryCount; ++n)
            book.registerEntry(n, n, clipPart(false, QString()), kWhen);
        QCOMPARE(book.appendTarget(), 0);
        book.clear();
        QVERIFY(book.isEmpty());
        QCOMPARE(book.entry(9).caption, QStringLiteral(" 9."));
        QCOMPARE(book.entry(10).caption, QStringLiteral("10."));
        QCOMPARE(book.entry(10).recordText, QString());
    }
};

QTEST_GUILESS_MAIN(EntryBookTest)
#include "entry_book_test.moc"
