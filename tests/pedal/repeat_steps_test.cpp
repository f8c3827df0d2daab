// The steps of the two-pedal repeat: speed in extended precision with its wraps, volume by 5.

#include <QtTest>

#include "pedal/repeat_steps.h"
#include "transport/transport_tables.h"

class RepeatStepsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void speed_data();
    void speed();
    void volume_data();
    void volume();
};

void RepeatStepsTest::speed_data() {
    QTest::addColumn<double>("start");
    QTest::addColumn<bool>("modifier");
    QTest::addColumn<int>("ticks");
    QTest::addColumn<QString>("shown");  // the speed text after each tick

    QTest::newRow("left + centre from 1.0") << 1.0 << false << 3 << "1.1 1.2 1.3";
    QTest::newRow("with Shift from 1.0") << 1.0 << true << 3 << "0.9 0.8 0.7";
    QTest::newRow("ten ticks up reach 2.0, the eleventh wraps")
        << 1.0 << false << 11 << "1.1 1.2 1.3 1.4 1.5 1.6 1.7 1.8 1.9 2.0 0.5";
    QTest::newRow("from an exact 2.0 one tick wraps") << 2.0 << false << 1 << "0.5";
    QTest::newRow("six ticks down reach 0.4, the seventh wraps")
        << 1.0 << true << 7 << "0.9 0.8 0.7 0.6 0.5 0.4 2.0";
}

void RepeatStepsTest::speed() {
    QFETCH(double, start);
    QFETCH(bool, modifier);
    QFETCH(int, ticks);
    QFETCH(QString, shown);
    QStringList seen;
    double v = start;
    for (int i = 0; i < ticks; ++i) {
        v = pedalSpeedRepeatStep(v, modifier);
        seen << FormatSpeed(v);
    }
    QCOMPARE(seen.join(QLatin1Char(' ')), shown);
}

void RepeatStepsTest::volume_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<bool>("modifier");
    QTest::addColumn<QString>("volumes");

    QTest::newRow("centre + right from 95") << 95 << false << "100 5 10";
    QTest::newRow("with a modifier from 10") << 10 << true << "5 100 95";
    QTest::newRow("from 98 the step past 100 wraps") << 98 << false << "5 10";
}

void RepeatStepsTest::volume() {
    QFETCH(int, start);
    QFETCH(bool, modifier);
    QFETCH(QString, volumes);
    QStringList seen;
    int v = start;
    for (int i = 0; i < volumes.count(QLatin1Char(' ')) + 1; ++i) {
        v = pedalVolumeRepeatStep(v, modifier);
        seen << QString::number(v);
    }
    QCOMPARE(seen.join(QLatin1Char(' ')), volumes);
}

QTEST_GUILESS_MAIN(RepeatStepsTest)
#include "repeat_steps_test.moc"
