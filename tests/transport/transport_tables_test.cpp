// The lookup tables of the transport radio groups, the speed text and the bar scale. The speed
// rows are checked through the session's choice (speed_skip_test).

#include <QtTest>
#include <limits>

#include "transport/transport_tables.h"

class TransportTablesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void rewindSeconds();
    void repeatIntervals();
    void pitches();
    void formatSpeed_data();
    void formatSpeed();
    void barValueFromX_data();
    void barValueFromX();
    void nextKeyVolume_data();
    void nextKeyVolume();
};

void TransportTablesTest::rewindSeconds() {
    const double expected[] = {0.0, 0.6, 0.9, 1.2, 1.4, 1.8, 2.2, 2.5, 2.8,
                               3.2, 3.8, 4.3, 4.8, 5.8, 6.8, 7.8, 8.8, 9.8};
    for (int i = 0; i < 18; ++i)
        QVERIFY2(AutoBackSecondsFor(i) == expected[i], qPrintable(QString::number(i)));
    for (int outside : {-1, 18, 1000, std::numeric_limits<int>::min()})
        QCOMPARE(AutoBackSecondsFor(outside), 1.0);
}

void TransportTablesTest::repeatIntervals() {
    const int expected[] = {2000, 3000, 5000, 8000, 10000, 15000, 20000};
    for (int i = 0; i < 7; ++i)
        QCOMPARE(RepeatIntervalFor(i), expected[i]);
    for (int outside : {-1, 7, std::numeric_limits<int>::max()})
        QCOMPARE(RepeatIntervalFor(outside), 2000);
}

void TransportTablesTest::pitches() {
    const double steps[] = {2, 5, 10, 30, 60, 300, 600};
    for (int i = 0; i < 7; ++i)
        QCOMPARE(PitchFor(i), std::optional<double>(steps[i]));
    QVERIFY(!PitchFor(-1));
    QVERIFY(!PitchFor(7));
}

void TransportTablesTest::formatSpeed_data() {
    QTest::addColumn<double>("speed");
    QTest::addColumn<QString>("text");
    QTest::newRow("2.0") << 2.0 << "2.0";
    QTest::newRow("1.0") << 1.0 << "1.0";
    QTest::newRow("0.6") << 0.6 << "0.6";
    // 1.05 is stored as 1.0500000000000000444: above the tie.
    QTest::newRow("1.05") << 1.05 << "1.1";
    // 1.45 is stored as 1.4499999999999999556: below the tie.
    QTest::newRow("1.45") << 1.45 << "1.4";
    QTest::newRow("0.25 exact tie, away from zero") << 0.25 << "0.3";
    QTest::newRow("1.25") << 1.25 << "1.3";
    QTest::newRow("-0.25") << -0.25 << "-0.3";
    QTest::newRow("tiny negative") << -0.04 << "0.0";
    QTest::newRow("0.96") << 0.96 << "1.0";
    QTest::newRow("12.34") << 12.34 << "12.3";
    QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << "0.0";
}

void TransportTablesTest::formatSpeed() {
    QFETCH(double, speed);
    QFETCH(QString, text);
    QCOMPARE(FormatSpeed(speed), text);
}

void TransportTablesTest::barValueFromX_data() {
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("value");
    QTest::newRow("600 s at 158 of 317") << 158 << 317 << 600 << 299;
    QTest::newRow("left edge") << 0 << 317 << 600 << 0;
    QTest::newRow("last pixel") << 316 << 317 << 600 << 598;
    QTest::newRow("volume at the end") << 317 << 317 << 100 << 100;
    QTest::newRow("volume past the end") << 330 << 317 << 100 << 104;
    QTest::newRow("left of the bar truncates toward zero") << -1 << 317 << 100 << 0;
    QTest::newRow("no width") << 10 << 0 << 100 << 0;
    QTest::newRow("no length") << 158 << 317 << 0 << 0;
    // A 24-hour media.
    QTest::newRow("long media") << 316 << 317 << 86400 << 86127;
}

void TransportTablesTest::barValueFromX() {
    QFETCH(int, x);
    QFETCH(int, width);
    QFETCH(int, max);
    QFETCH(int, value);
    QCOMPARE(BarValueFromX(x, width, max), value);
}

void TransportTablesTest::nextKeyVolume_data() {
    QTest::addColumn<int>("volume");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("next");
    QTest::newRow("up") << 50 << 1 << 51;
    QTest::newRow("up to 100") << 99 << 1 << 100;
    QTest::newRow("past 100 wraps to 5") << 100 << 1 << 5;
    QTest::newRow("down") << 50 << -1 << 49;
    QTest::newRow("down to 5") << 6 << -1 << 5;
    QTest::newRow("below 5 wraps to 100") << 5 << -1 << 100;
}

void TransportTablesTest::nextKeyVolume() {
    QFETCH(int, volume);
    QFETCH(int, step);
    QFETCH(int, next);
    QCOMPARE(NextKeyVolume(volume, step), next);
}

QTEST_APPLESS_MAIN(TransportTablesTest)
#include "transport_tables_test.moc"
