#include "core/time_code.h"

#include <QtTest>

#include <limits>

class TimeCodeTest : public QObject {
    Q_OBJECT

private slots:
    void formats_data() {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0.0 << "0:00:00";
        QTest::newRow("below one") << 0.4 << "0:00:00";
        QTest::newRow("0.999") << 0.999 << "0:00:00";
        QTest::newRow("negative") << -3.0 << "0:00:00";
        QTest::newRow("one") << 1.0 << "0:00:01";
        QTest::newRow("truncates") << 59.99 << "0:00:59";
        QTest::newRow("3599.9") << 3599.9 << "0:59:59";
        QTest::newRow("one hour") << 3600.0 << "1:00:00";
        QTest::newRow("307") << 307.0 << "0:05:07";
        QTest::newRow("3723") << 3723.0 << "1:02:03";
        QTest::newRow("86399") << 86399.0 << "23:59:59";
        QTest::newRow("no hour limit") << 360000.0 << "100:00:00";
        QTest::newRow("123:45:06") << 445506.0 << "123:45:06";
        QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << "0:00:00";
        QTest::newRow("-inf") << -std::numeric_limits<double>::infinity() << "0:00:00";
        QTest::newRow("inf") << std::numeric_limits<double>::infinity() << "0:00:00";
    }
    void formats() {
        QFETCH(double, seconds);
        QFETCH(QString, text);
        QCOMPARE(TimeCodeText(seconds), text);
        QCOMPARE(TimeCodeText(seconds), text);
    }

    void hugeValuesStayDefined() {
        // Past the 64-bit range the value is clamped rather than cast (which would be undefined).
        const QString text = TimeCodeText(1e300);
        QCOMPARE(text, QStringLiteral("2562047788015215:30:07"));
    }

    void splits_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("colons") << "1:02:03" << QStringList{"1", "02", "03"};
        QTest::newRow("blanks") << "1 02 03" << QStringList{"1", "02", "03"};
        QTest::newRow("tab and blanks around") << "\t 1 : 2 \t" << QStringList{"1", "2"};
        QTest::newRow("empty middle") << "1::3" << QStringList{"1", "", "3"};
        QTest::newRow("comma at end") << "1:" << QStringList{"1", ""};
        QTest::newRow("blank after last comma") << "1: " << QStringList{"1"};
        QTest::newRow("leading comma") << ":5" << QStringList{"", "5"};
        QTest::newRow("empty") << "" << QStringList{};
        QTest::newRow("only blanks") << "  " << QStringList{};
        QTest::newRow("quoted") << "\"a:b c\":2" << QStringList{"a,b c", "2"};
        QTest::newRow("doubled quote") << "\"a\"\"b\"" << QStringList{"a\"b"};
        QTest::newRow("unclosed quote") << "\"ab" << QStringList{"ab"};
        QTest::newRow("text after quote") << "\"a\"b" << QStringList{"a", "b"};
        QTest::newRow("nul ends text")
            << QString("1:2") + QChar(u'\0') + QString(":3") << QStringList{"1", "2"};
        QTest::newRow("control chars separate")
            << QString("1") + QChar(0x01) + QString("2") << QStringList{"1", "2"};
    }
    void pickerText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<long long>("seconds");
        QTest::newRow("h,m,s") << "1,02,03" << 3723LL;
        QTest::newRow("m,s") << "1,30" << 90LL;
        QTest::newRow("no integer counts 0") << "x,2,3" << 123LL;
        QTest::newRow("no range check") << "0,75,00" << 4500LL;
        QTest::newRow("missing counts 0") << "7" << 420LL;
    }
    void pickerText() {
        QFETCH(QString, text);
        QFETCH(long long, seconds);
        QCOMPARE(PickerTextSeconds(text), seconds);
    }
    void splits() {
        QFETCH(QString, text);
        QFETCH(QStringList, fields);
        QCOMPARE(SplitTimeFields(text), fields);
    }

    void fieldValues() {
        QCOMPARE(TimeFieldValue("12"), 12LL);
        QCOMPARE(TimeFieldValue("007"), 7LL);
        QCOMPARE(TimeFieldValue("-5"), -5LL);
        QCOMPARE(TimeFieldValue("+5"), 5LL);
        QCOMPARE(TimeFieldValue(""), 0LL);
        QCOMPARE(TimeFieldValue("-"), 0LL);
        QCOMPARE(TimeFieldValue("12.5"), 0LL);
        QCOMPARE(TimeFieldValue("ab"), 0LL);
        QCOMPARE(TimeFieldValue(" 1"), 0LL);
        QCOMPARE(TimeFieldValue("１２"), 0LL);  // full-width digits are not decimal text here
        QCOMPARE(TimeFieldValue("9223372036854775807"), std::numeric_limits<long long>::max());
        QCOMPARE(TimeFieldValue("-9223372036854775808"), std::numeric_limits<long long>::min());
        QCOMPARE(TimeFieldValue("9223372036854775808"), 0LL);
        QCOMPARE(TimeFieldValue("-9223372036854775809"), 0LL);
        QCOMPARE(TimeFieldValue("99999999999999999999999"), 0LL);
    }

    void parses_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("seconds");
        QTest::newRow("h:mm:ss") << "1:02:03" << 3723.0;
        QTest::newRow("mm:ss") << "02:03" << 123.0;
        QTest::newRow("m:s") << "2:3" << 123.0;
        QTest::newRow("blanks") << "1 02 03" << 3723.0;
        QTest::newRow("empty minutes") << "1::3" << 3603.0;
        QTest::newRow("one field") << "12" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("four fields") << "1:02:03:04" << 62.0;
        QTest::newRow("decimal seconds") << "0:00:05.5" << 0.0;
        QTest::newRow("no range check") << "0:75:00" << 4500.0;
        QTest::newRow("large hours") << "100:00:00" << 360000.0;
        QTest::newRow("negative field") << "1:-1:00" << 3540.0;
        QTest::newRow("surrounding blanks") << "  0:01:30 \r\n" << 90.0;
        QTest::newRow("bad hours") << "x:01:00" << 60.0;
    }
    void parses() {
        QFETCH(QString, text);
        QFETCH(double, seconds);
        QCOMPARE(TimeCodeSeconds(text), seconds);
    }

    void parsingDoesNotWrap() {
        // 64-bit arithmetic: hours far past 32 bits still multiply correctly.
        QCOMPARE(TimeCodeSeconds("1000000:00:00"), 3600000000.0);
        QCOMPARE(TimeCodeSeconds("3000000000000:0:0"), 3000000000000.0 * 3600);
        // Past the 64-bit range the sum saturates instead of wrapping to a negative value.
        QVERIFY(TimeCodeSeconds("9223372036854775807:0:0") > 0);
        QVERIFY(TimeCodeSeconds("-9223372036854775807:0:0") < 0);
    }

    void playerStrings_data() {
        QTest::addColumn<QString>("player");
        QTest::addColumn<QString>("text");
        QTest::addColumn<long long>("seconds");
        QTest::newRow("mm:ss") << "05:07"
                               << "0:05:07" << 307LL;
        QTest::newRow("hh:mm:ss") << "01:02:03"
                                  << "1:02:03" << 3723LL;
        QTest::newRow("59:59") << "59:59"
                               << "0:59:59" << 3599LL;
        QTest::newRow("10 hours stays") << "10:00:00"
                                        << "10:00:00" << 36000LL;
        QTest::newRow("00 hours") << "00:00:09"
                                  << "0:00:09" << 9LL;
        QTest::newRow("one-digit hours kept") << "1:02:03"
                                              << "1:02:03" << 3723LL;
        QTest::newRow("three-digit hours kept") << "100:00:00"
                                                << "100:00:00" << 360000LL;
        QTest::newRow("invalid two-char hours") << "ab:01:02"
                                                << "0:01:02" << 62LL;
        QTest::newRow("minutes and seconds as given") << "0:5:7"
                                                      << "0:5:7" << 307LL;
        QTest::newRow("invalid seconds count 0") << "00:01:xx"
                                                 << "0:01:xx" << 60LL;
    }
    void playerStrings() {
        QFETCH(QString, player);
        QFETCH(QString, text);
        QFETCH(long long, seconds);
        const auto result = PlayerStringToTimeCode(player);
        QVERIFY(result.has_value());
        QCOMPARE(result->text, text);
        QCOMPARE(result->seconds, seconds);
    }

    void playerStringsWithoutResult() {
        QVERIFY(!PlayerStringToTimeCode("").has_value());
        QVERIFY(!PlayerStringToTimeCode("   ").has_value());
        QVERIFY(!PlayerStringToTimeCode("42").has_value());
        QVERIFY(!PlayerStringToTimeCode("1:02:03:04").has_value());
    }
};

QTEST_APPLESS_MAIN(TimeCodeTest)
#include "time_code_test.moc"
