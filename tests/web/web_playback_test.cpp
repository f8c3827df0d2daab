// Web addresses through the URL panel into the libmpv backend, served by a local HTTP server
// that the test starts on the loopback interface.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>

#include "fakes/fake_browser_launcher.h"
#include "fakes/refusing_port.h"
#include "fakes/test_media.h"
#include "transport/mpv_player.h"
#include "web/url_panel.h"

namespace {

struct PlayerTarget : WebAddressPlayer {
    explicit PlayerTarget(MediaPlayer& p) : player(p) {}
    MediaPlayer& player;
    void playWebAddress(const QString& address) override {
        player.open(address);
        player.play();
    }
};

}  // namespace

class WebPlaybackTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QProcess server_;
    QString base_;  // http://127.0.0.1:<port>/

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        QVERIFY(testmedia::writeWav(dir_.filePath(QStringLiteral("tone.wav")), 10.0));
        if (testmedia::haveFfmpeg())
            QVERIFY(testmedia::convertWithFfmpeg(dir_.filePath(QStringLiteral("tone.wav")),
                                                 dir_.filePath(QStringLiteral("tone.mp3"))));

        // Port 0: the server takes a free port and names it in its first line.
        server_.setStandardErrorFile(QProcess::nullDevice());
        server_.start(QStringLiteral("python3"),
                      {QStringLiteral("-u"), QStringLiteral("-m"), QStringLiteral("http.server"),
                       QStringLiteral("--bind"), QStringLiteral("127.0.0.1"),
                       QStringLiteral("--directory"), dir_.path(), QStringLiteral("0")});
        QVERIFY2(server_.waitForStarted(5000), "python3 is needed for the web playback tests");
        const QRegularExpression portPattern(QStringLiteral("port (\\d+)"));
        QString output;
        QTRY_VERIFY_WITH_TIMEOUT((output += QString::fromUtf8(server_.readAllStandardOutput()),
                                  portPattern.match(output).hasMatch()),
                                 10000);
        base_ = QStringLiteral("http://127.0.0.1:%1/").arg(portPattern.match(output).captured(1));
    }

    void cleanupTestCase() {
        server_.kill();
        server_.waitForFinished(5000);
    }

    void pastedAddressPlays_data() {
        QTest::addColumn<QString>("clipboard");  // relative to the server, %1 = its base
        QTest::addColumn<QString>("file");
        QTest::addColumn<double>("tolerance");
        QTest::newRow("wav, blanks around")
            << QStringLiteral(" \t%1tone.wav \n") << QStringLiteral("tone.wav") << 0.05;
        QTest::newRow("wav, blank inside")
            << QStringLiteral("%1to ne.wav") << QStringLiteral("tone.wav") << 0.05;
        QTest::newRow("mp3") << QStringLiteral("%1tone.mp3") << QStringLiteral("tone.mp3") << 0.3;
    }
    void pastedAddressPlays() {
        QFETCH(QString, clipboard);
        QFETCH(QString, file);
        QFETCH(double, tolerance);
        if (!QFile::exists(dir_.filePath(file))) QSKIP("ffmpeg is not installed");
        MpvPlayer player({{QStringLiteral("ao"), QStringLiteral("null")},
                          {QStringLiteral("vo"), QStringLiteral("null")}});
        PlayerTarget target(player);
        FakeBrowserLauncher browser;
        UrlPanel panel(target, browser);
        QSignalSpy errors(&player, &MediaPlayer::errorOccurred);

        QVERIFY(panel.paste(clipboard.arg(base_)));
        QCOMPARE(player.address(), base_ + file);
        QTRY_COMPARE_WITH_TIMEOUT(player.playState(), PlayState::Playing, 10000);
        QVERIFY2(std::abs(player.duration() - 10.0) < tolerance,
                 qPrintable(QString::number(player.duration())));
        QCOMPARE(playerTimeString(player.duration()), QStringLiteral("00:10"));
        QTRY_VERIFY_WITH_TIMEOUT(player.position() > 0.2, 5000);
        QCOMPARE(errors.count(), 0);
    }

    void unreachableAddressFails_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("refused");
        QTest::newRow("connection refused") << QStringLiteral("tone.wav") << true;
        QTest::newRow("not on the server") << QStringLiteral("missing.wav") << false;
    }
    void unreachableAddressFails() {
        QFETCH(QString, path);
        QFETCH(bool, refused);
        RefusingPort closed;
        QVERIFY(closed.port() > 0);
        const QString address =
            refused ? QStringLiteral("http://127.0.0.1:%1/%2").arg(closed.port()).arg(path)
                    : base_ + path;
        MpvPlayer player({{QStringLiteral("ao"), QStringLiteral("null")},
                          {QStringLiteral("vo"), QStringLiteral("null")}});
        PlayerTarget target(player);
        FakeBrowserLauncher browser;
        UrlPanel panel(target, browser);
        QSignalSpy errors(&player, &MediaPlayer::errorOccurred);

        QElapsedTimer timer;
        timer.start();
        QVERIFY(panel.play(address));
        QVERIFY(errors.wait(10000));
        qInfo("failure reported after %lld ms", static_cast<long long>(timer.elapsed()));
        QCOMPARE(errors.count(), 1);
        QVERIFY(errors.first().at(0).toString().contains(address));
        QCOMPARE(player.playState(), PlayState::Undefined);
        QCOMPARE(player.duration(), 0.0);
    }
};

QTEST_GUILESS_MAIN(WebPlaybackTest)
#include "web_playback_test.moc"
