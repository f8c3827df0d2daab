#include "core/cp932.h"

#include <QtTest>

namespace {

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values)
        out.append(static_cast<char>(v));
    return out;
}

const QChar kReplacement(0xFFFD);

}  // namespace

class Cp932Test : public QObject {
    Q_OBJECT

private slots:
    void roundTrips_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("encoded");
        QTest::newRow("ascii") << "General" << QByteArray("General");
        QTest::newRow("kanji") << "会議開始"
                               << bytes({0x89, 0xEF, 0x8B, 0x63, 0x8A, 0x4A, 0x8E, 0x6E});
        QTest::newRow("half-width katakana") << "ﾌｧｲﾙ" << bytes({0xCC, 0xA7, 0xB2, 0xD9});
        QTest::newRow("half-width with sound marks")
            << "ｲﾝﾃﾞｯｸｽ" << bytes({0xB2, 0xDD, 0xC3, 0xDE, 0xAF, 0xB8, 0xBD});
        QTest::newRow("markers around a time code")
            << "▼[1:02:03]▲" << bytes({0x81, 0xA5}) + "[1:02:03]" + bytes({0x81, 0xA3});
        QTest::newRow("full-width blank")
            << "0:01:23,　会" << QByteArray("0:01:23,") + bytes({0x81, 0x40, 0x89, 0xEF});
        // Second bytes that look like ASCII "\" and "[" must stay part of their character.
        QTest::newRow("trail byte 0x5C") << "表ソ" << bytes({0x95, 0x5C, 0x83, 0x5C});
        QTest::newRow("NEC row 13") << "①" << bytes({0x87, 0x40});
        QTest::newRow("IBM extension") << "ⅰ" << bytes({0xFA, 0x40});
        QTest::newRow("empty") << "" << QByteArray();
    }
    void roundTrips() {
        QFETCH(QString, text);
        QFETCH(QByteArray, encoded);
        QCOMPARE(toCp932(text), encoded);
        QCOMPARE(fromCp932(encoded), text);
        QCOMPARE(cp932Length(text), encoded.size());
    }

    // The JIS forms a Linux clipboard delivers are stored as the CP932 characters Windows has
    // for them, and come back in their Windows form.
    void jisFormsBecomeWindowsForms_data() {
        QTest::addColumn<uint>("jis");
        QTest::addColumn<QByteArray>("encoded");
        QTest::addColumn<uint>("windows");
        QTest::newRow("wave dash") << 0x301Cu << bytes({0x81, 0x60}) << 0xFF5Eu;
        QTest::newRow("double vertical line") << 0x2016u << bytes({0x81, 0x61}) << 0x2225u;
        QTest::newRow("minus sign") << 0x2212u << bytes({0x81, 0x7C}) << 0xFF0Du;
        QTest::newRow("cent sign") << 0x00A2u << bytes({0x81, 0x91}) << 0xFFE0u;
        QTest::newRow("pound sign") << 0x00A3u << bytes({0x81, 0x92}) << 0xFFE1u;
        QTest::newRow("not sign") << 0x00ACu << bytes({0x81, 0xCA}) << 0xFFE2u;
        QTest::newRow("em dash") << 0x2014u << bytes({0x81, 0x5C}) << 0x2015u;
    }
    void jisFormsBecomeWindowsForms() {
        QFETCH(uint, jis);
        QFETCH(QByteArray, encoded);
        QFETCH(uint, windows);
        const QString jisText = QStringLiteral("a") + QChar(jis) + QStringLiteral("b");
        const QString windowsText = QStringLiteral("a") + QChar(windows) + QStringLiteral("b");
        QCOMPARE(toCp932(jisText), "a" + encoded + "b");
        QCOMPARE(toCp932(windowsText), "a" + encoded + "b");
        QCOMPARE(fromCp932("a" + encoded + "b"), windowsText);
    }

    void unencodableBecomesQuestionMark() {
        // An emoji is a surrogate pair: one character, one "?".
        QCOMPARE(toCp932(QStringLiteral("a😀b")), QByteArray("a?b"));
        QCOMPARE(toCp932(QStringLiteral("😀😀")), QByteArray("??"));
        QCOMPARE(toCp932(QStringLiteral("é会")), QByteArray("?") + bytes({0x89, 0xEF}));
        // Hangul and a lone surrogate have no CP932 form either.
        QCOMPARE(toCp932(QStringLiteral("한")), QByteArray("?"));
        QCOMPARE(toCp932(QString(QChar(0xD800)) + QStringLiteral("x")), QByteArray("?x"));
        QCOMPARE(cp932Length(QStringLiteral("😀会")), 3);
    }

    void longTextEncodesWhole() {
        // Exercises the growth of the output buffer and many skipped characters in one call.
        QString text;
        QByteArray expected;
        for (int i = 0; i < 5000; ++i) {
            text += QStringLiteral("会😀ｱ");
            expected += bytes({0x89, 0xEF}) + "?" + bytes({0xB1});
        }
        QCOMPARE(toCp932(text), expected);
        QCOMPARE(fromCp932(expected), QString(text).replace(QStringLiteral("😀"), "?"));
    }

    void invalidBytesDecodeToReplacement_data() {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QString>("text");
        const QString r(kReplacement);
        QTest::newRow("0x80") << bytes({'a', 0x80, 'b'}) << "a" + r + "b";
        QTest::newRow("0xA0") << bytes({0xA0}) << r;
        QTest::newRow("0xFD-0xFF") << bytes({0xFD, 0xFE, 0xFF}) << r + r + r;
        QTest::newRow("lead with blank") << bytes({0x81, 0x20, 'x'}) << r + " x";
        QTest::newRow("unassigned pair") << bytes({0x85, 0x40}) << r + "@";
        QTest::newRow("truncated lead byte") << bytes({'a', 0x81}) << "a" + r;
        QTest::newRow("truncated after kanji")
            << bytes({0x89, 0xEF, 0x95}) << QStringLiteral("会") + r;
        QTest::newRow("lead before line feed") << bytes({0x81, 0x0A}) << r + "\n";
    }
    void invalidBytesDecodeToReplacement() {
        QFETCH(QByteArray, input);
        QFETCH(QString, text);
        QCOMPARE(fromCp932(input), text);
    }

    void everyByteSequenceDecodes() {
        // Any input decodes without a crash, one character per byte or per valid pair.
        for (int a = 0; a < 256; ++a) {
            QCOMPARE(fromCp932(bytes({a})).size(), 1);
            for (int b = 0; b < 256; ++b) {
                const qsizetype size = fromCp932(bytes({a, b})).size();
                QVERIFY2(size == 1 || size == 2, qPrintable(QString::number(a * 256 + b, 16)));
            }
        }
    }

    void nulCharacterSurvives() {
        const QString text = QStringLiteral("a") + QChar(u'\0') + QStringLiteral("会");
        const QByteArray encoded = toCp932(text);
        QCOMPARE(encoded, bytes({'a', 0, 0x89, 0xEF}));
        QCOMPARE(fromCp932(encoded), text);
    }
};

QTEST_APPLESS_MAIN(Cp932Test)
#include "cp932_test.moc"
