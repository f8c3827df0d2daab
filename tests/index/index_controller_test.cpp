#include "index/index_controller.h"
#include "core/file_access.h"
#include "core/file_name.h"
#include "core/profile_file.h"
#include "fakes/test_files.h"
#include "index/csv_export.h"
#include "index/index_file.h"

#include <sys/stat.h>
#include <QSignalSpy>
#include <QtTest>

namespace {
const QDateTime kWhen(QDate(2024, 7, 2), QTime(13, 5, 9));
using Result = RegistrationOutcome::Result;

void setFolderWritable(const QString& folder, bool on) {
    const auto bits = QFileDevice::WriteOwner | QFileDevice::WriteUser | QFileDevice::WriteGroup |
                      QFileDevice::WriteOther;
    QFile::setPermissions(
        folder, on ? QFile::permissions(folder) | bits : QFile::permissions(folder) & ~bits);
}
}  // namespace

class IndexControllerTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    int counter_ = 0;

    // A media path in a folder of its own.
    QString freshMedia() {
        const QString folder = dir_.filePath(QString::number(++counter_));
        QDir().mkpath(folder);
        return folder + QStringLiteral("/meeting.wma");
    }

private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    void registrationByClick_data() {
        QTest::addColumn<bool>("occupied");
        QTest::addColumn<bool>("protect");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("statusText");
        QTest::newRow("register") << false << false << int(Result::Registered)
                                  << " 3. 0:01:23,　会議開始";
        QTest::newRow("register when protected")
            << false << true << int(Result::Registered) << " 3. 0:01:23,　会議開始";
        QTest::newRow("clear") << true << false << int(Result::Cleared) << "";
        QTest::newRow("protected") << true << true << int(Result::EntryProtected)
                                   << "このｲﾝﾃﾞｯｸｽ・ｴﾝﾄﾘには登録／削除できません";
    }

    void registrationByClick() {
        QFETCH(bool, occupied);
        QFETCH(bool, protect);
        QFETCH(int, result);
        QFETCH(QString, statusText);
        IndexController index;
        index.openMedia(freshMedia());
        if (occupied) index.registerByClick(3, 50, QString(), false, false, kWhen);
        index.save();
        QSignalSpy changes(&index, &IndexController::entriesChanged);

        const auto outcome =
            index.registerByClick(3, 83.4, QStringLiteral("会議開始"), true, protect, kWhen);
        QCOMPARE(int(outcome.result), result);
        QCOMPARE(outcome.entry, 3);
        QCOMPARE(outcome.statusText, statusText);
        // Every click counts as a change, a refused one too.
        QVERIFY(index.isChanged());
        QCOMPARE(changes.size(), outcome.changedEntries() ? 1 : 0);
        QCOMPARE(index.book().isOccupied(3), result != int(Result::Cleared));
    }

    void appendingRegistration() {
        IndexController index;
        index.openMedia(freshMedia());
        for (int n : {1, 2, 5})
            index.registerByClick(n, 10.0 * n, QString(), false, false, kWhen);
        index.save();

        auto outcome = index.registerAppending(83.4, QStringLiteral(" 議題 "), true, kWhen);
        QCOMPARE(int(outcome.result), int(Result::Registered));
        QCOMPARE(outcome.entry, 6);
        QCOMPARE(outcome.statusText, QStringLiteral(" 6. 0:01:23,　議題"));
        QVERIFY(index.isChanged());

        index.registerByClick(29, 2000, QString(), false, false, kWhen);
        index.save();
        outcome = index.registerAppending(90, QString(), false, kWhen);
        QCOMPARE(int(outcome.result), int(Result::IndexFull));
        QCOMPARE(outcome.statusText, QStringLiteral("ｲﾝﾃﾞｯｸｽ・ｴﾝﾄﾘが満杯です"));
        QVERIFY(outcome.clearsPositionSuffix());
        QVERIFY(!index.isChanged());
        QVERIFY(!index.book().isOccupied(7));
    }

    void playRequest_data() {
        QTest::addColumn<double>("time");
        QTest::addColumn<double>("length");
        QTest::addColumn<int>("result");
        using P = PlayRequest::Result;
        QTest::newRow("half a second") << 0.5 << 600.0 << int(P::Ignored);
        QTest::newRow("exactly one second") << 1.0 << 600.0 << int(P::Play);
        QTest::newRow("at the end") << 600.0 << 600.0 << int(P::Play);
        QTest::newRow("beyond the length") << 600.5 << 600.0 << int(P::BeyondLength);
        QTest::newRow("length not known yet") << 83.4 << 0.0 << int(P::BeyondLength);
    }

    void playRequest() {
        QFETCH(double, time);
        QFETCH(double, length);
        QFETCH(int, result);
        IndexController index;
        index.registerByClick(1, time, QString(), false, false, kWhen);
        const PlayRequest request = index.playRequest(1, length);
        QCOMPARE(int(request.result), result);
        if (request.result == PlayRequest::Result::Play) QCOMPARE(request.position, time);
        QCOMPARE(request.statusText, request.result == PlayRequest::Result::BeyondLength
                                         ? QStringLiteral("録画・録音時間を超えています")
                                         : QString());
    }

    void indexComesBackWithItsMedia() {
        const QString media = freshMedia();
        IndexController index;
        index.openMedia(media);
        QVERIFY(!index.saveIfChanged());
        QVERIFY(!QFileInfo::exists(index.indexFileName()));
        index.registerAppending(83.4, QStringLiteral("会議開始"), true, kWhen);
        QVERIFY(index.saveIfChanged());
        QVERIFY(!index.isChanged());

        IndexController again;
        QSignalSpy changes(&again, &IndexController::entriesChanged);
        again.openMedia(QString(media).replace(".wma", ".mp3"));
        QCOMPARE(again.indexFileName(), index.indexFileName());
        QCOMPARE(again.caption(1), QStringLiteral(" 1. 0:01:23,　会議開始"));
        QCOMPARE(changes.size(), 1);
        QVERIFY(!again.isChanged());
    }

    void clearAllIsWrittenLikeAnyChange() {
        IndexController index;
        index.openMedia(freshMedia());
        index.registerAppending(83.4, QString(), false, kWhen);
        index.save();
        index.clearAll();
        QVERIFY(index.isChanged());
        QVERIFY(index.saveIfChanged());
        const QString text = QString::fromLatin1(testfiles::readAll(index.indexFileName()));
        QCOMPARE(text.count(QRegularExpression("^\\d+=0\r$", QRegularExpression::MultilineOption)),
                 29);
        QCOMPARE(text.count(QRegularExpression("^\\d+=\r$", QRegularExpression::MultilineOption)),
                 30);
    }

    void refusedWriteKeepsFileAndFlag() {
        const QString media = freshMedia();
        const QString folder = QFileInfo(media).absolutePath();
        IndexController index;
        index.openMedia(media);
        index.registerAppending(83.4, QString(), false, kWhen);
        index.save();
        const QByteArray before = testfiles::readAll(index.indexFileName());
        index.registerAppending(90, QString(), false, kWhen);

        setFolderWritable(folder, false);
        try {
            index.saveIfChanged();
            QFAIL("the write went through");
        } catch (const ProfileWriteError& e) {
            QCOMPARE(QString::fromUtf8(e.what()), index.indexFileName() + " に書き込めません");
        }
        QVERIFY(index.isChanged());
        QVERIFY_THROWS_EXCEPTION(ProfileWriteError,
                                 index.savePositionAndIndex(folder + "/Scribo.inf", 90));
        QVERIFY(index.isChanged());
        setFolderWritable(folder, true);
        QCOMPARE(testfiles::readAll(index.indexFileName()), before);
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{"meeting.mpx"});
    }

    void namesThatAreNotUtf8KeepTheirOwnIndex() {
        const QString folder = QFileInfo(freshMedia()).absolutePath() + QLatin1Char('/');
        IndexController first;
        first.openMedia(folder + fileNameFromBytes("talk\xff.wav"));
        first.registerAppending(83.4, QString(), false, kWhen);
        first.save();
        IndexController second;
        second.openMedia(folder + fileNameFromBytes("talk\xfe.wav"));
        QVERIFY(second.book().isEmpty());
        QVERIFY(fileExists(first.indexFileName()) && !fileExists(second.indexFileName()));
    }

    void unreadableIndexFileIsReportedAndKept_data() {
        QTest::addColumn<bool>("fifo");  // else a file above the size limit
        QTest::newRow("FIFO") << true;
        QTest::newRow("too large") << false;
    }

    void unreadableIndexFileIsReportedAndKept() {
        QFETCH(bool, fifo);
        const QString media = freshMedia();
        const QString file = indexFileNameFor(media);
        if (fifo)
            QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0644), 0);
        else
            testfiles::writeCrLf(file, "[Index]\n1=5\n" + QByteArray(kSmallFileLimit, '\n'));
        const QByteArray before = fifo ? QByteArray() : testfiles::readAll(file);
        IndexController index;
        index.openMedia(media);
        QVERIFY2(index.loadProblem().startsWith(file + " は"), qPrintable(index.loadProblem()));
        QVERIFY(index.book().isEmpty());
        index.registerAppending(83.4, QString(), false, kWhen);
        QVERIFY_THROWS_EXCEPTION(ProfileWriteError, index.save());
        if (!fifo) QCOMPARE(testfiles::readAll(file), before);
    }

    void withoutMediaNothingIsWritten() {
        const QString media = freshMedia();
        IndexController index;
        index.openMedia(media);
        index.forgetMedia();
        index.clearAll();
        QVERIFY(!index.saveIfChanged());
        QCOMPARE(index.exportCsv(), std::nullopt);
        QCOMPARE(QDir(QFileInfo(media).absolutePath()).entryList(QDir::Files), QStringList());
    }

    void exportNamesTheFile() {
        IndexController index;
        index.openMedia(freshMedia());
        index.registerAppending(83.4, QString(), false, kWhen);
        QCOMPARE(index.exportCsv(), QStringLiteral("meeting.csv"));
        QCOMPARE(QFileInfo(index.csvFileName()).size(), 28);
    }

    void savedPosition() {
        const QString settings = dir_.filePath(QStringLiteral("Scribo.inf"));
        testfiles::writeCrLf(settings, "[Record]\nPosition=12\n[Menu]\nAddClipboard=1\n");
        IndexController index;
        index.openMedia(freshMedia());
        index.savePositionAndIndex(settings, 600);
        QVERIFY(QFileInfo::exists(index.indexFileName()));
        QVERIFY(!index.isChanged());
        QCOMPARE(IndexController::readSavedPosition(settings), 600.0);
        QCOMPARE(testfiles::readAll(settings),
                 QByteArray("[Record]\r\nPosition=600\r\n[Menu]\r\nAddClipboard=1\r\n"));
        testfiles::writeCrLf(settings, "[Record]\nPosition=-3\n");
        QCOMPARE(IndexController::readSavedPosition(settings), 0.0);
    }

    void restoreSeeks_data() {
        QTest::addColumn<double>("saved");
        QTest::addColumn<double>("current");
        QTest::addColumn<double>("duration");
        QTest::addColumn<bool>("seeks");
        QTest::newRow("before the end") << 600.0 << 10.0 << 300.0 << true;
        QTest::newRow("at the very end") << 600.0 << 300.0 << 300.0 << false;
        QTest::newRow("nothing saved") << 0.0 << 10.0 << 300.0 << false;
    }

    void restoreSeeks() {
        QFETCH(double, saved);
        QFETCH(double, current);
        QFETCH(double, duration);
        QFETCH(bool, seeks);
        QCOMPARE(IndexController::restoreSeeks(saved, current, duration), seeks);
    }
};

QTEST_GUILESS_MAIN(IndexControllerTest)
#include "index_controller_test.moc"
