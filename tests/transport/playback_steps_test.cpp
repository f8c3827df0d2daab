#include "transport/playback_steps.h"

#include <QtTest>

#include "transport/transport_tables.h"

class PlaybackStepsTest : public QObject {
    Q_OBJECT

private slots:
    // Each press from the start speed, as the display would show the speed afterwards.
    void speedSequences_data() {
        QTest::addColumn<double>("start");
        QTest::addColumn<SpeedStep>("step");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("alt scroll lock from 1.0")
            << 1.0 << SpeedStep::Up << QStringList{"1.1", "1.2", "1.3", "1.4", "1.5", "1.6",
                                                   "1.7", "1.8", "1.9", "2.0", "0.5", "0.6"};
        QTest::newRow("alt scroll lock from 2.0") << 2.0 << SpeedStep::Up << QStringList{"0.5"};
        QTest::newRow("shift scroll lock from 1.0")
            << 1.0 << SpeedStep::Down
            << QStringList{"0.9", "0.8", "0.7", "0.6", "0.5", "0.4", "2.0", "1.9"};
        QTest::newRow("alt F24 from 1.0")
            << 1.0 << SpeedStep::WideDown
            << QStringList{"0.9", "0.8", "0.7", "0.6", "0.5", "0.4", "3.0", "2.9"};
        QTest::newRow("ctrl F24 from 2.0")
            << 2.0 << SpeedStep::WideUp
            << QStringList{"2.1", "2.2", "2.3", "2.4", "2.5", "2.6", "2.7", "2.8", "2.9", "0.5"};
    }
    void speedSequences() {
        QFETCH(double, start);
        QFETCH(SpeedStep, step);
        QFETCH(QStringList, shown);
        const bool silent = step == SpeedStep::WideUp || step == SpeedStep::WideDown;
        double speed = start;
        for (const QString& expected : shown) {
            speed = steppedSpeed(speed, step);
            QCOMPARE(FormatSpeed(speed), expected);
            const auto text = speedStepText(speed, step);
            QCOMPARE(text.has_value(), !silent);
            if (text) QCOMPARE(*text, expected);
        }
    }

    void sumsKeepTheirBinaryError() {
        double speed = 1.0;
        for (int i = 0; i < 10; ++i)
            speed = steppedSpeed(speed, SpeedStep::Up);
        QVERIFY(speed > 2.0);  // just above, not rounded to tenths
        QVERIFY(speed < 2.0 + 1e-9);
        QCOMPARE(steppedSpeed(speed, SpeedStep::Up), 0.5);
        // The extended sum of 1.0 and 0.1 rounds to the double nearest 1.1.
        QCOMPARE(steppedSpeed(1.0, SpeedStep::Up), 1.1);
        QCOMPARE(steppedSpeed(0.45, SpeedStep::Down), 2.0);
        QCOMPARE(steppedSpeed(2.95, SpeedStep::WideUp), 0.5);
    }
};

QTEST_APPLESS_MAIN(PlaybackStepsTest)
#include "playback_steps_test.moc"
