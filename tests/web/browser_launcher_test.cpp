// The real launcher, with Qt's own URL handlers standing in for the desktop's browser.

#include "web/browser_launcher.h"

#include <QDesktopServices>
#include <QUrl>
#include <QtTest>

class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void record(const QUrl& url) { urls << url; }
};

class BrowserLauncherTest : public QObject {
    Q_OBJECT

private:
    UrlRecorder recorder_;
    const QStringList schemes_{QStringLiteral("http"), QStringLiteral("https"),
                               QStringLiteral("ftp"), QStringLiteral("file"),
                               QStringLiteral("javascript")};

private slots:
    void initTestCase() {
        for (const QString& scheme : schemes_)
            QDesktopServices::setUrlHandler(scheme, &recorder_, "record");
    }
    void cleanupTestCase() {
        for (const QString& scheme : schemes_)
            QDesktopServices::unsetUrlHandler(scheme);
    }
    void init() { recorder_.urls.clear(); }

    void opens_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("opened");  // empty: nothing reaches the desktop
        QTest::newRow("https") << QStringLiteral("https://example.org/a.mp3?t=1")
                               << QStringLiteral("https://example.org/a.mp3?t=1");
        QTest::newRow("inner blank encoded") << QStringLiteral(" http://example.org/a b.mp3 ")
                                             << QStringLiteral("http://example.org/a%20b.mp3");
        QTest::newRow("ftp") << QStringLiteral("ftp://example.org/a") << QString();
        QTest::newRow("local file") << QStringLiteral("file:///etc/passwd") << QString();
        QTest::newRow("script") << QStringLiteral("javascript:alert(1)") << QString();
        QTest::newRow("no host") << QStringLiteral("http:///a.mp3") << QString();
        QTest::newRow("shell text") << QStringLiteral("http://x; rm -rf ~") << QString();
    }
    void opens() {
        QFETCH(QString, address);
        QFETCH(QString, opened);
        DesktopBrowserLauncher launcher;
        QCOMPARE(launcher.open(address), !opened.isEmpty());
        if (opened.isEmpty()) {
            QVERIFY(recorder_.urls.isEmpty());
        } else {
            QCOMPARE(recorder_.urls.size(), 1);
            QCOMPARE(recorder_.urls.first().toString(QUrl::FullyEncoded), opened);
        }
    }
};

QTEST_MAIN(BrowserLauncherTest)
#include "browser_launcher_test.moc"
