// Web addresses opened through the desktop media interface in the real binary: one served by a
// local HTTP server plays with its length known; a refused one, and one whose certificate names
// another host, end in the failure box.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include "e2e/e2e_support.h"
#include "fakes/refusing_port.h"
#include "fakes/test_media.h"

class WebAddressTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void openedAddressPlaysAndRefusedOneFails();

private:
    QTemporaryDir served_;
    std::unique_ptr<LocalWebServer> server_;
    QString base_;  // http://127.0.0.1:<port>/
};

void WebAddressTest::initTestCase() {
    if (runTool(QStringLiteral("playerctl"), {QStringLiteral("--version")}).isEmpty())
        QFAIL("playerctl is missing (tools/setup-debian installs it)");
    QVERIFY(testmedia::writeWav(served_.filePath(QStringLiteral("tone.wav")), 12.0));
    server_ = std::make_unique<LocalWebServer>(served_.path());
    base_ = server_->base();
    QVERIFY2(!base_.isEmpty(), "python3 is needed");
}

void WebAddressTest::cleanupTestCase() {
    server_.reset();
}

void WebAddressTest::openedAddressPlaysAndRefusedOneFails() {
    ScriboProcess scribo;
    scribo.writeSettings("[FormPosition]\nTop=10\nLeft=10\n");
    scribo.start();
    const quint64 window = scribo.waitForWindow();
    QVERIFY(window != 0);

    int code = -1;
    playerctl({QStringLiteral("open"), base_ + QStringLiteral("tone.wav")}, &code);
    QCOMPARE(code, 0);
    QVERIFY2(
        waitUntil(
            [] {
                return playerctl({QStringLiteral("metadata"), QStringLiteral("mpris:length")}) ==
                       QStringLiteral("12000000");
            },
            15000),
        qPrintable(playerctl({QStringLiteral("metadata")})));
    QCOMPARE(playerctl({QStringLiteral("metadata"), QStringLiteral("xesam:url")}),
             base_ + QStringLiteral("tone.wav"));
    QVERIFY(waitUntil([] { return playerctl({QStringLiteral("status")}) == "Playing"; }, 5000));
    QVERIFY(messageBoxes(scribo, window).isEmpty());

    const auto failsWithBox = [&](const QString& address) {
        int status = -1;
        playerctl({QStringLiteral("open"), address}, &status);
        QCOMPARE(status, 0);
        QStringList shown;
        QVERIFY2(
            waitUntil([&] { return !(shown = messageBoxes(scribo, window)).isEmpty(); }, 15000),
            qPrintable(QStringLiteral("no failure box for ") + address));
        runTool(QStringLiteral("xdotool"),
                {QStringLiteral("windowfocus"), QStringLiteral("--sync"), shown.constFirst()});
        runTool(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Return")});
        QVERIFY2(waitUntil([&] { return messageBoxes(scribo, window).isEmpty(); }, 5000),
                 "the failure box stayed");
        // Still answering, with nothing playing.
        QVERIFY(waitUntil([] { return playerctl({QStringLiteral("status")}) == "Stopped"; }, 5000));
        QCOMPARE(scribo.process().state(), QProcess::Running);
    };
    RefusingPort closed;
    QVERIFY(closed.port() > 0);
    failsWithBox(QStringLiteral("http://127.0.0.1:%1/tone.wav").arg(closed.port()));
    if (QTest::currentTestFailed()) return;

    const QString pem = served_.filePath(QStringLiteral("other.pem"));
    runTool(QStringLiteral("openssl"),
            {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
             QStringLiteral("rsa:2048"), QStringLiteral("-nodes"), QStringLiteral("-subj"),
             QStringLiteral("/CN=other.example"), QStringLiteral("-keyout"), pem,
             QStringLiteral("-out"), pem});
    const LocalWebServer https(served_.path(), pem);
    QVERIFY(https.base().startsWith(QStringLiteral("https:")));
    failsWithBox(https.base() + QStringLiteral("tone.wav"));
}

QTEST_MAIN(WebAddressTest)
#include "web_address_test.moc"
