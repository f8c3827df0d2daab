#include "web/web_address.h"

#include <QUrl>
#include <QtTest>

class WebAddressTest : public QObject {
    Q_OBJECT

private slots:
    void cleanAndTest_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("cleaned");
        QTest::addColumn<bool>("web");
        QTest::addColumn<QString>("forBrowser");
        const QString a = QStringLiteral("https://example.org/a.mp3");
        QTest::newRow("bare") << a << a << true << a;
        QTest::newRow("blanks and line end around")
            << QStringLiteral("  https://example.org/a.mp3 \r\n") << a << true << a;
        QTest::newRow("ideographic space and tab around")
            << QStringLiteral("\u3000\thttps://example.org/a.mp3\u3000") << a << true << a;
        QTest::newRow("inner blank") << QStringLiteral(" https://example.org/a b.mp3 ")
                                     << QStringLiteral("https://example.org/ab.mp3") << true
                                     << QStringLiteral("https://example.org/a b.mp3");
        QTest::newRow("quoted, bracketed, comma")
            << QStringLiteral("(\"https://example.org/a b\"),")
            << QStringLiteral("https://example.org/ab") << true
            << QStringLiteral("https://example.org/ab");
        QTest::newRow("zero-width space inside") << QStringLiteral("http://example.org/\u200Ba")
                                                 << QStringLiteral("http://example.org/a") << true
                                                 << QStringLiteral("http://example.org/a");
        QTest::newRow("scheme in capitals")
            << QStringLiteral("HTTP://example.org/a") << QStringLiteral("HTTP://example.org/a")
            << false << QString();
        QTest::newRow("scheme capitalised")
            << QStringLiteral("Https://example.org/a") << QStringLiteral("Https://example.org/a")
            << false << QString();
        QTest::newRow("ftp") << QStringLiteral("ftp://example.org/a")
                             << QStringLiteral("ftp://example.org/a") << false << QString();
        QTest::newRow("file") << QStringLiteral("file:///tmp/a.wav")
                              << QStringLiteral("file:///tmp/a.wav") << false << QString();
        QTest::newRow("scheme not first")
            << QStringLiteral("see https://example.org") << QStringLiteral("seehttps://example.org")
            << false << QString();
        QTest::newRow("blanks only")
            << QStringLiteral(" \t\u3000 ") << QString() << false << QString();
        QTest::newRow("empty") << QString() << QString() << false << QString();
    }
    void cleanAndTest() {
        QFETCH(QString, text);
        QFETCH(QString, cleaned);
        QFETCH(bool, web);
        QFETCH(QString, forBrowser);
        QCOMPARE(web::cleanUrl(text), cleaned);
        QCOMPARE(web::isWebAddress(text), web);
        QCOMPARE(web::browserAddress(text), forBrowser);
    }

    void linkAddress_data() {
        QTest::addColumn<QUrl>("link");
        QTest::addColumn<QString>("address");
        QTest::newRow("https") << QUrl(QStringLiteral("https://example.org/a.mp3?x=1"))
                               << QStringLiteral("https://example.org/a.mp3?x=1");
        // Cleaning would drop a decoded blank and change the address.
        QTest::newRow("blank and capitals") << QUrl(QStringLiteral("HTTP://Example.org/a b.mp3"))
                                            << QStringLiteral("http://example.org/a%20b.mp3");
        QTest::newRow("non-ASCII") << QUrl(QStringLiteral("http://example.org/音声.mp3"))
                                   << QStringLiteral("http://example.org/%E9%9F%B3%E5%A3%B0.mp3");
        QTest::newRow("ftp") << QUrl(QStringLiteral("ftp://example.org/a.mp3")) << QString();
        QTest::newRow("local file")
            << QUrl::fromLocalFile(QStringLiteral("/tmp/a.mp3")) << QString();
        QTest::newRow("no host") << QUrl(QStringLiteral("http:///a.mp3")) << QString();
    }
    void linkAddress() {
        QFETCH(QUrl, link);
        QFETCH(QString, address);
        QCOMPARE(web::linkAddress(link), address);
        if (!address.isEmpty()) QVERIFY(web::isWebAddress(address));
    }

    void dropDownListWidth_data() {
        QTest::addColumn<QList<int>>("widths");
        QTest::addColumn<int>("expected");
        QTest::newRow("empty") << QList<int>{} << 6;
        QTest::newRow("widest entry, all shown") << QList<int>{40, 120, 80} << 126;
        QTest::newRow("as many as shown") << QList<int>(8, 100) << 106;
        QTest::newRow("one more than shown") << QList<int>(9, 100) << 106 + 17;
    }
    void dropDownListWidth() {
        QFETCH(QList<int>, widths);
        QFETCH(int, expected);
        QCOMPARE(web::dropDownListWidth(widths, 8, 17), expected);
    }
};

QTEST_GUILESS_MAIN(WebAddressTest)
#include "web_address_test.moc"
