#include "keyboard/clipboard_time_code.h"

#include <QtTest>

namespace {
// A megabyte of binary as a clipboard hands it over: no character of it is in CP932.
QString binaryMegabyte(QStringView around) {
    QString text(1 << 20, QChar(0xFFFD));
    return text.replace(0, around.size(), around.toString());
}
}  // namespace

class ClipboardTimeCodeTest : public QObject {
    Q_OBJECT

private slots:
    void clipText() {
        QCOMPARE(timeCodeClipText(3723), QStringLiteral("{▼[1:02:03]▲}"));
        QCOMPARE(timeCodeClipText(75.4), QStringLiteral("{▼[0:01:15]▲}"));
        for (double seconds : {0.0, 75.4, 3723.0, 90000.0})
            QVERIFY(isTimeCodeClipText(timeCodeClipText(seconds)));
        for (const char* other : {"[0:01:15]", "{▼[0:01:15]▲} ", "x{▼[0:01:15]▲}", "{▼[1:2:3]▲}"})
            QVERIFY2(!isTimeCodeClipText(QString::fromUtf8(other)), other);
    }

    // Ctrl+Print Screen's first look at the clipboard; lengths are CP932 bytes.
    void mayHoldTimeCode_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("taken");
        QTest::newRow("9 bytes in brackets") << "[0:01:15]" << true;
        QTest::newRow("without brackets") << "0:01:15" << false;
        QTest::newRow("only opening bracket") << "[0:01:15" << false;
        QTest::newRow("6 bytes") << "[1:02]" << false;
        QTest::newRow("6 characters, 7 bytes") << "▼[1:2]" << true;
        QTest::newRow("29 bytes") << QString("[0:01:15]") + QString(20, u'x') << true;
        QTest::newRow("30 bytes") << QString("[0:01:15]") + QString(21, u'x') << false;
        QTest::newRow("15 characters, 30 bytes") << "[0:01]" + QString(12, u'あ') << false;
        QTest::newRow("pasted time code") << "{▼[1:02:03]▲}" << true;
        QTest::newRow("a megabyte of binary") << binaryMegabyte(u"[0:01:15]") << false;
    }
    void mayHoldTimeCode() {
        QFETCH(QString, text);
        QFETCH(bool, taken);
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(clipboardMayHoldTimeCode(text), taken);
        QVERIFY2(timer.elapsed() < 200, "the window would freeze");
    }

    void reads_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("read");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<double>("seconds");
        QTest::newRow("brackets") << "[0:01:15]" << true << "0:01:15" << 75.0;
        QTest::newRow("pasted time code") << "{▼[1:02:03]▲}" << true << "1:02:03" << 3723.0;
        QTest::newRow("inside other text")
            << "see {▼[ 0:00:07 ]▲} then" << true << "0:00:07" << 7.0;
        QTest::newRow("blanks, = and /") << "[0:\u30000/1:1=5]" << true << "0:01:15" << 75.0;
        QTest::newRow("only the first marks go") << "[▼0:01▼]" << true << "0:01▼" << 0.0;
        QTest::newRow("no time in it") << "[a:b]" << true << "a:b" << 0.0;
        QTest::newRow("no colon") << "[0.01.15]" << false << "" << 0.0;
        QTest::newRow("empty") << "" << false << "" << 0.0;
        QTest::newRow("60 bytes") << QString(51, u'x') + "[0:01:15]" << true << "0:01:15" << 75.0;
        QTest::newRow("61 bytes") << QString(52, u'x') + "[0:01:15]" << false << "" << 0.0;
        QTest::newRow("31 characters, 62 bytes")
            << "[0:01]" + QString(28, u'あ') << false << "" << 0.0;
        QTest::newRow("a megabyte of binary")
            << binaryMegabyte(u"{▼[0:01:15]▲}") << false << "" << 0.0;
    }
    void reads() {
        QFETCH(QString, text);
        QFETCH(bool, read);
        QFETCH(QString, shown);
        QFETCH(double, seconds);
        QElapsedTimer timer;
        timer.start();
        const auto code = readClipboardTimeCode(text);
        QVERIFY2(timer.elapsed() < 200, "the window would freeze");
        QCOMPARE(code.has_value(), read);
        if (!code) return;
        QCOMPARE(code->text, shown);
        QCOMPARE(code->seconds, seconds);
    }

    void jumpTargets_data() {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<double>("duration");
        QTest::addColumn<bool>("jumps");
        QTest::newRow("inside") << 75.0 << 100.0 << true;
        QTest::newRow("at the end") << 75.0 << 75.0 << true;
        QTest::newRow("beyond the length") << 75.0 << 74.9 << false;
        QTest::newRow("zero") << 0.0 << 100.0 << false;
        QTest::newRow("negative") << -60.0 << 100.0 << false;
        QTest::newRow("length not known yet") << 75.0 << 0.0 << false;
    }
    void jumpTargets() {
        QFETCH(double, seconds);
        QFETCH(double, duration);
        QFETCH(bool, jumps);
        QCOMPARE(isJumpTarget(seconds, duration), jumps);
    }
};

QTEST_APPLESS_MAIN(ClipboardTimeCodeTest)
#include "clipboard_time_code_test.moc"
