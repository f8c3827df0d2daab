#include "core/ini_number.h"

#include <QtTest>

#include <clocale>
#include <cmath>
#include <limits>

class IniNumberTest : public QObject {
    Q_OBJECT

private slots:
    void formats_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("one minute of a day") << 1.0 / 1440 << "0.000694444444444444";
        QTest::newRow("one hour of a day") << 1.0 / 24 << "0.0416666666666667";
        QTest::newRow("83.4") << 83.4 << "83.4";
        QTest::newRow("many digits") << 3723.123456789 << "3723.123456789";
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("negative zero") << -0.0 << "0";
        QTest::newRow("1e-6") << 1e-6 << "1E-6";
        QTest::newRow("1.5e-7") << 1.5e-7 << "1.5E-7";
        QTest::newRow("smallest fixed") << 0.00001 << "0.00001";
        QTest::newRow("just below fixed") << 0.0000099 << "9.9E-6";
        QTest::newRow("integer") << 2.0 << "2";
        QTest::newRow("0.1+0.2") << 0.1 + 0.2 << "0.3";
        QTest::newRow("1.5") << 1.5 << "1.5";
        QTest::newRow("negative") << -1.5 << "-1.5";
        QTest::newRow("trailing integer zeros") << 3600.0 << "3600";
        QTest::newRow("largest fixed") << 999999999999999.0 << "999999999999999";
        QTest::newRow("1e15") << 1e15 << "1E15";
        QTest::newRow("rounds up into exponent") << 999999999999999.9 << "1E15";
        QTest::newRow("rounds up to fixed") << 0.0000099999999999999999 << "0.00001";
        QTest::newRow("negative exponent") << -2.5e20 << "-2.5E20";
        QTest::newRow("three-digit exponent") << 1e-300 << "1E-300";
        QTest::newRow("fifteen digits") << 1.23456789012345678 << "1.23456789012346";
        QTest::newRow("max double") << std::numeric_limits<double>::max() << "1.79769313486232E308";
        QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << "0";
        QTest::newRow("inf") << std::numeric_limits<double>::infinity() << "0";
        QTest::newRow("-inf") << -std::numeric_limits<double>::infinity() << "0";
    }
    void formats() {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(formatIniNumber(value), text);
    }

    void parses_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("83.4") << "83.4" << 83.4;
        QTest::newRow("negative") << "-1.5" << -1.5;
        QTest::newRow("plus sign") << "+2" << 2.0;
        QTest::newRow("exponent") << "1E-6" << 1e-6;
        QTest::newRow("lower-case exponent") << "1e-6" << 1e-6;
        QTest::newRow("exponent with plus") << "1.5E+20" << 1.5e20;
        QTest::newRow("leading point") << ".5" << 0.5;
        QTest::newRow("trailing point") << "5." << 5.0;
        QTest::newRow("blanks around") << " \t3723.5 " << 3723.5;
        QTest::newRow("fraction of a day") << "0.000694444444444444" << 0.000694444444444444;
    }
    void parses() {
        QFETCH(QString, text);
        QFETCH(double, value);
        const auto parsed = parseIniNumber(text);
        QVERIFY(parsed.has_value());
        QCOMPARE(*parsed, value);
    }

    void rejects_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << "";
        QTest::newRow("blanks") << "   ";
        QTest::newRow("letters") << "abc";
        QTest::newRow("decimal comma") << "1,5";
        QTest::newRow("trailing garbage") << "12abc";
        QTest::newRow("inner blank") << "1 5";
        QTest::newRow("two signs") << "+-5";
        QTest::newRow("sign only") << "-";
        QTest::newRow("nan") << "nan";
        QTest::newRow("inf") << "inf";
        QTest::newRow("hex") << "0x10";
        QTest::newRow("out of range") << "1E999";
        QTest::newRow("full-width digits") << "１２";
    }
    void rejects() {
        QFETCH(QString, text);
        QVERIFY(!parseIniNumber(text).has_value());
    }

    void roundTripsEveryWrittenForm() {
        // Whatever the writer produces, the reader takes back to within 15 digits.
        const double values[] = {1.0 / 1440, 1.0 / 24, 83.4, 3723.123456789, 1e-6,   1.5e-7,
                                 -2.5e20,    1e15,     0.3,  123456.789,     7.0 / 3};
        for (double v : values) {
            const auto back = parseIniNumber(formatIniNumber(v));
            QVERIFY(back.has_value());
            QVERIFY2(std::fabs(*back - v) <= std::fabs(v) * 1e-14, qPrintable(formatIniNumber(v)));
        }
    }

    void ignoresTheLocale() {
        const char* candidates[] = {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8",
                                    "fr_FR.utf8"};
        const char* chosen = nullptr;
        for (const char* name : candidates) {
            if (std::setlocale(LC_ALL, name)) {
                chosen = name;
                break;
            }
        }
        if (!chosen) QSKIP("no locale with a decimal comma is installed");
        const bool commaLocale = std::localeconv()->decimal_point[0] == ',';
        const QString written = formatIniNumber(83.4);
        const auto read = parseIniNumber(QStringLiteral("83.4"));
        const auto commaRead = parseIniNumber(QStringLiteral("83,4"));
        std::setlocale(LC_ALL, "C");
        QVERIFY(commaLocale);
        QCOMPARE(written, QStringLiteral("83.4"));
        QVERIFY(read.has_value());
        QCOMPARE(*read, 83.4);
        QVERIFY(!commaRead.has_value());
    }
};

QTEST_APPLESS_MAIN(IniNumberTest)
#include "ini_number_test.moc"
