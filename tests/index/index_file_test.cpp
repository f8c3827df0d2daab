#include "index/index_file.h"
#include "core/cp932.h"
#include "fakes/test_files.h"

#include <QtTest>

namespace {

const QDateTime kFirst(QDate(2024, 7, 2), QTime(13, 5, 9));
const QDateTime kSecond(QDate(2024, 7, 2), QTime(13, 7, 41));

// A file as another program left it: every key the index writes, keys 30 to 39 and sections
// added by hand, a blank line and a last line without its line end.
QByteArray handMadeFile() {
    QString text = QStringLiteral("[Memo]\r\n話者=山田\r\n\r\n[Index]\r\n");
    for (int n = 1; n <= 39; ++n)
        text += QStringLiteral("%1=%2\r\n").arg(n).arg(n == 1 ? "83.4" : n == 2 ? "3723.5" : "0");
    text += QStringLiteral("[IndexComment]\r\n");
    text += QStringLiteral("1=0:01:23,　会議開始,%24/07/02,13:05:09\r\n");
    text += QStringLiteral("2=1:02:03,　,%24/07/02,13:07:41\r\n");
    for (int n = 3; n <= 29; ++n)
        text += QStringLiteral("%1=\r\n").arg(n);
    text += QStringLiteral("35=手書きのメモ\r\n40=\r\n[Extra]\r\nキー=値");
    return toCp932(text);
}

}  // namespace

class IndexFileTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString path(const QString& name) const { return dir_.filePath(name); }

private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    void fileNames_data() {
        QTest::addColumn<QString>("media");
        QTest::addColumn<QString>("index");
        QTest::newRow("extension replaced") << "/rec/meeting.wma"
                                            << "/rec/meeting.mpx";
        QTest::newRow("shared by another extension") << "/rec/meeting.mp3"
                                                     << "/rec/meeting.mpx";
        QTest::newRow("last dot only") << "/rec/a.b.mp3"
                                       << "/rec/a.b.mpx";
        QTest::newRow("no extension") << "/rec/meeting"
                                      << "/rec/meeting.mpx";
        QTest::newRow("dot in folder only") << "/rec.d/meeting"
                                            << "/rec.d/meeting.mpx";
        QTest::newRow("relative, upper-case extension") << "talk.MP3"
                                                        << "talk.mpx";
    }

    void fileNames() {
        QFETCH(QString, media);
        QFETCH(QString, index);
        QCOMPARE(indexFileNameFor(media), index);
    }

    void writesTwoRegistrationsIntoANewFile() {
        IndexBook book;
        book.registerEntry(1, 83.4, clipPart(true, QStringLiteral("会議開始")), kFirst);
        book.registerEntry(2, 3723.5, clipPart(false, QStringLiteral("会議開始")), kSecond);
        const QString file = path(QStringLiteral("new.mpx"));
        writeIndexFile(file, book);

        QString expected = QStringLiteral("[Index]\r\n1=83.4\r\n2=3723.5\r\n");
        for (int n = 3; n <= 29; ++n)
            expected += QStringLiteral("%1=0\r\n").arg(n);
        expected += QStringLiteral(
            "[IndexComment]\r\n1=0:01:23,　会議開始,%24/07/02,13:05:09\r\n"
            "2=1:02:03,　,%24/07/02,13:07:41\r\n");
        for (int n = 3; n <= 29; ++n)
            expected += QStringLiteral("%1=\r\n").arg(n);
        expected += QStringLiteral("40=\r\n");
        QCOMPARE(testfiles::readAll(file), toCp932(expected));
    }

    void keepsWhatItDoesNotOwn() {
        const QString file = path(QStringLiteral("handmade.mpx"));
        const QByteArray before = handMadeFile();
        {
            QFile out(file);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(before);
        }
        IndexBook book = readIndexFile(file);
        QCOMPARE(book.entry(1).caption, QStringLiteral(" 1. 0:01:23,　会議開始"));
        QCOMPARE(book.entry(2).time, 3723.5);
        QVERIFY(!book.isOccupied(3));

        writeIndexFile(file, book);
        QCOMPARE(testfiles::readAll(file), before);

        book.registerEntry(3, 130, clipPart(true, QStringLiteral("議題")), kSecond);
        writeIndexFile(file, book);
        QByteArray after = before;
        after.replace("\r\n3=0\r\n", "\r\n3=130\r\n");
        after.replace("\r\n3=\r\n",
                      toCp932(QStringLiteral("\r\n3=0:02:10,　議題,%24/07/02,13:07:41\r\n")));
        QCOMPARE(testfiles::readAll(file), after);
    }

    void readsDamagedAndPartialFiles_data() {
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<double>("time");
        QTest::addColumn<QString>("recordText");
        QTest::addColumn<QString>("caption");
        QTest::newRow("exactly one second")
            << QByteArray("[Index]\n5=1\n[IndexComment]\n5=0:00:01,%24/07/02,13:05:09\n") << 1.0
            << "0:00:01,%24/07/02,13:05:09"
            << " 5.";
        QTest::newRow("no IndexComment section") << QByteArray("[Index]\n5=83.4\n") << 83.4 << ""
                                                 << " 5. ";
        QTest::newRow("number unreadable")
            << QByteArray("[Index]\n5=8x\n[IndexComment]\n5=0:01:23,%24/07/02,13:05:09\n") << 0.0
            << "0:01:23,%24/07/02,13:05:09"
            << " 5.";
        QTest::newRow("exponent, case of names")
            << QByteArray("[index]\n 5 = 1E+3 \n[INDEXCOMMENT]\n5=0:16:40\n") << 1000.0 << "0:16:40"
            << " 5. 0:16:40";
    }

    void readsDamagedAndPartialFiles() {
        QFETCH(QByteArray, lines);
        QFETCH(double, time);
        QFETCH(QString, recordText);
        QFETCH(QString, caption);
        const QString file = path(QStringLiteral("partial.mpx"));
        testfiles::writeCrLf(file, lines);
        const IndexBook book = readIndexFile(file);
        QCOMPARE(book.entry(5).time, time);
        QCOMPARE(book.entry(5).recordText, recordText);
        QCOMPARE(book.entry(5).caption, caption);
        QCOMPARE(book.entry(4).caption, QStringLiteral(" 4."));
    }

    void notesKeepEveryCharacter_data() {
        QTest::addColumn<QString>("note");
        QTest::addColumn<bool>("ownSection");  // whether the file needs our own section
        QTest::newRow("accents") << QStringLiteral("Café with Zoë Müller") << true;
        QTest::newRow("emoji, dash") << QStringLiteral("storm – of 1994 😀") << true;
        QTest::newRow("JIS wave dash") << QStringLiteral("10〜12") << true;
        QTest::newRow("code page 932 only") << QStringLiteral("会議開始 ｶﾅ") << false;
    }

    void notesKeepEveryCharacter() {
        QFETCH(QString, note);
        QFETCH(bool, ownSection);
        IndexBook book;
        book.registerEntry(2, 12, clipPart(true, note), kFirst);
        const QString file = path(QStringLiteral("notes.mpx"));
        writeIndexFile(file, book);
        QCOMPARE(readIndexFile(file).entry(2).recordText, book.entry(2).recordText);
        const QByteArray bytes = testfiles::readAll(file);
        QCOMPARE(bytes.contains("[Scribo.UTF8]"), ownSection);
        // The system's key holds the code page 932 form, for readers that know only it.
        QVERIFY(bytes.contains("\r\n2=" + toCp932(book.entry(2).recordText) + "\r\n"));
        if (!ownSection) return;

        // Another program writes another note there: the exact text is stale and gives way.
        QByteArray edited = bytes;
        edited.replace("\r\n2=" + toCp932(book.entry(2).recordText), "\r\n2=other");
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(edited) == edited.size());
        out.close();
        QCOMPARE(readIndexFile(file).entry(2).recordText, QStringLiteral("other"));
    }

    void untouchedEntriesKeepTheirBytes() {
        // Written in UTF-8 by another program, with its own spelling of a number.
        const QByteArray before = QStringLiteral(
                                      "[Index]\n1=12.50\n2=47\n[IndexComment]\n"
                                      "1=0:00:12,　会議開始,%24/07/02,13:05:09\n"
                                      "2=0:00:47,　storm 😀\n40=\n")
                                      .toUtf8();
        const QString file = path(QStringLiteral("utf8.mpx"));
        testfiles::writeCrLf(file, before);
        IndexBook book = readIndexFile(file);
        book.registerEntry(3, 130, clipPart(true, QStringLiteral("議題")), kSecond);
        writeIndexFile(file, book);
        const QByteArray after = testfiles::readAll(file);
        for (const QByteArray& line : before.split('\n'))
            QVERIFY2(after.contains(line + "\r\n"), line.constData());
        QVERIFY(after.contains("\r\n3=" + toCp932(book.entry(3).recordText) + "\r\n"));
    }

    void missingFileGivesAnEmptyBook() {
        QVERIFY(readIndexFile(path(QStringLiteral("none.mpx"))).isEmpty());
    }
};

QTEST_GUILESS_MAIN(IndexFileTest)
#include "index_file_test.moc"
