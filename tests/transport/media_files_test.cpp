// Which names count as media (for drops), the index file name, and the time in an "@" name.

#include <QtTest>

#include "fakes/transport_setup.h"
#include "fakes/window_fixture.h"
#include "transport/media_files.h"

class MediaFilesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void extensionTable();
    void isMediaFileName_data();
    void isMediaFileName();
    void dropAcceptsOnlyMediaNames_data();
    void dropAcceptsOnlyMediaNames();
    void atNameTime_data();
    void atNameTime();
    void timeOfDay_data();
    void timeOfDay();
};

void MediaFilesTest::extensionTable() {
    const QStringList filled = {".wmv", ".mpg", ".wav",  ".wma",  ".mp3", ".mp4", ".m4a",
                                ".aac", ".3gp", ".3gpp", ".3gp2", ".3g2", ".mov"};
    QCOMPARE(kMediaExtensions.size(), std::size_t{20});
    for (std::size_t i = 0; i < kMediaExtensions.size(); ++i) {
        const QString expected = i < std::size_t(filled.size()) ? filled[qsizetype(i)] : QString();
        QCOMPARE(kMediaExtensions[i], expected);
    }
}

void MediaFilesTest::isMediaFileName_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("media");
    QTest::newRow(".mp3") << "/m/talk.mp3" << true;
    QTest::newRow("upper case .MOV") << "/m/clip.MOV" << true;
    QTest::newRow(".MP3") << "/m/TALK.MP3" << true;
    QTest::newRow(".3gpp") << "/m/phone.3gpp" << true;
    QTest::newRow(".3g2") << "/m/phone.3g2" << true;
    QTest::newRow("prefix match .mp3x") << "/m/odd.mp3x" << true;
    QTest::newRow(".mpeg") << "/m/film.mpeg" << true;
    QTest::newRow(".avi") << "/m/film.avi" << true;
    QTest::newRow(".OPUS in capitals") << "/m/memo.OPUS" << true;
    QTest::newRow(".ts") << "/m/broadcast.ts" << true;
    QTest::newRow("further types match exactly: .tsv") << "/m/table.tsv" << false;
    QTest::newRow("further types match exactly: .flac2") << "/m/odd.flac2" << false;
    QTest::newRow(".txt") << "/m/notes.txt" << false;
    QTest::newRow("no extension") << "/m/recording" << false;
    QTest::newRow("dot only in folder") << "/m/take.mp3/recording" << false;
    QTest::newRow("trailing dot") << "/m/recording." << false;
    QTest::newRow("last dot counts") << "/m/talk.mp3.txt" << false;
    QTest::newRow("empty") << "" << false;
}

void MediaFilesTest::isMediaFileName() {
    QFETCH(QString, path);
    QFETCH(bool, media);
    QCOMPARE(IsMediaFileName(path), media);
}

void MediaFilesTest::dropAcceptsOnlyMediaNames_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("accepted");
    QTest::newRow(".MOV") << "clip.MOV" << true;
    QTest::newRow(".3gpp") << "phone.3gpp" << true;
    QTest::newRow(".opus") << "memo.opus" << true;
    QTest::newRow(".tsv") << "table.tsv" << false;
    QTest::newRow("no extension") << "recording" << false;
}

void MediaFilesTest::dropAcceptsOnlyMediaNames() {
    QFETCH(QString, name);
    QFETCH(bool, accepted);
    SessionFixture f;
    transportsetup::startWithoutMedia(f);
    const QString path = f.addMediaFile(name, 60);
    f.player.log.clear();
    f.session().dropFiles({path});
    if (accepted) {
        QCOMPARE(f.transport().mediaPath(), path);
        QCOMPARE(f.player.address(), path);
        QVERIFY(f.session().pendingMediaPath().isEmpty());
    } else {
        QVERIFY(f.transport().mediaPath().isEmpty());
        QVERIFY(f.player.log.isEmpty());
        QCOMPARE(f.session().volumeBarLeading(), QStringLiteral("▼") + name + QStringLiteral("▲"));
    }
}

void MediaFilesTest::atNameTime_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QTime>("time");
    QTest::newRow("example") << "@0_12_30=interview.mp3" << int(AtNameTime::Time)
                             << QTime(0, 12, 30);
    QTest::newRow("1_02_03") << "@1_02_03=talk.wav" << int(AtNameTime::Time) << QTime(1, 2, 3);
    QTest::newRow("hours and minutes") << "@2_05=talk.wav" << int(AtNameTime::Time) << QTime(2, 5);
    QTest::newRow("first = ends the time")
        << "@0_01_02=a=b.mp3" << int(AtNameTime::Time) << QTime(0, 1, 2);
    QTest::newRow("no @") << "0_12_30=talk.mp3" << int(AtNameTime::NoTime) << QTime();
    QTest::newRow("no =") << "@talk.wav" << int(AtNameTime::NoTime) << QTime();
    QTest::newRow("no _ before =") << "@12=talk.wav" << int(AtNameTime::NoTime) << QTime();
    QTest::newRow("_ only after =") << "@12=talk_1.wav" << int(AtNameTime::NoTime) << QTime();
    QTest::newRow("minutes 99") << "@1_99_00=x.wav" << int(AtNameTime::Invalid) << QTime();
    QTest::newRow("hour 24") << "@24_00_00=x.wav" << int(AtNameTime::Invalid) << QTime();
    QTest::newRow("letters") << "@a_b_c=x.wav" << int(AtNameTime::Invalid) << QTime();
    QTest::newRow("four fields") << "@1_2_3_4=x.wav" << int(AtNameTime::Invalid) << QTime();
    QTest::newRow("empty field") << "@1__3=x.wav" << int(AtNameTime::Invalid) << QTime();
}

void MediaFilesTest::atNameTime() {
    QFETCH(QString, name);
    QFETCH(int, kind);
    QFETCH(QTime, time);
    const AtNameTime parsed = ParseAtNameTime(name);
    QCOMPARE(int(parsed.kind), kind);
    if (parsed.kind == AtNameTime::Time) QCOMPARE(parsed.time, time);
}

void MediaFilesTest::timeOfDay_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QTime>("time");  // invalid: not a time of day
    QTest::newRow("h:mm:ss") << "1:02:03" << QTime(1, 2, 3);
    QTest::newRow("h:mm") << "23:59" << QTime(23, 59);
    QTest::newRow("blanks around") << " 0:12:30 " << QTime(0, 12, 30);
    QTest::newRow("single digits") << "1:2:3" << QTime(1, 2, 3);
    QTest::newRow("seconds 60") << "0:00:60" << QTime();
    QTest::newRow("negative") << "-1:00:00" << QTime();
    QTest::newRow("three digits") << "001:00:00" << QTime();
    QTest::newRow("one field") << "12" << QTime();
    QTest::newRow("empty") << "" << QTime();
}

void MediaFilesTest::timeOfDay() {
    QFETCH(QString, text);
    QFETCH(QTime, time);
    const auto parsed = ParseTimeOfDay(text);
    QCOMPARE(parsed.has_value(), time.isValid());
    if (parsed) QCOMPARE(*parsed, time);
}

QTEST_MAIN(MediaFilesTest)
#include "media_files_test.moc"
