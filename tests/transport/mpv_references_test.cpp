// A local file that only refers to other media (a playlist, an EDL, an HLS list) is refused:
// the player opens nothing it lists and never touches the network.

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "fakes/test_media.h"
#include "transport/mpv_player.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
// A TCP listener on the loopback address that only notes whether anyone knocked.
class Listener {
public:
    Listener() {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (::bind(fd_, reinterpret_cast<sockaddr*>(&address), size) == 0 &&
            ::listen(fd_, 4) == 0 &&
            ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &size) == 0)
            port_ = ntohs(address.sin_port);
    }
    ~Listener() { ::close(fd_); }
    int port() const { return port_; }
    bool wasContacted() const {
        pollfd waiting{fd_, POLLIN, 0};
        return ::poll(&waiting, 1, 0) > 0;
    }

private:
    int fd_ = -1;
    int port_ = 0;
};
}  // namespace

class MpvReferencesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void referenceFilesAreRefused_data();
    void referenceFilesAreRefused();
    void plainLocalMediaStillPlays();
};

void MpvReferencesTest::referenceFilesAreRefused_data() {
    QTest::addColumn<QByteArray>("content");  // %1 stands for the listener's address
    QTest::newRow("M3U playlist") << QByteArray("#EXTM3U\n%1/x.mp3\n");
    QTest::newRow("plain playlist") << QByteArray("%1/x.mp3\n");
    QTest::newRow("mpv EDL") << QByteArray("# mpv EDL v0\n%1/y.mp3\n");
    QTest::newRow("HLS list") << QByteArray(
        "#EXTM3U\n#EXT-X-TARGETDURATION:10\n#EXTINF:10,\n%1/seg.ts\n#EXT-X-ENDLIST\n");
}

void MpvReferencesTest::referenceFilesAreRefused() {
    QFETCH(QByteArray, content);
    const Listener listener;
    QVERIFY(listener.port() > 0);
    const QByteArray address = "http://127.0.0.1:" + QByteArray::number(listener.port());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("interview.mp3"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content.replace("%1", address));
    file.close();

    MpvPlayer player(MpvOptions{{QStringLiteral("ao"), QStringLiteral("null")},
                                {QStringLiteral("vo"), QStringLiteral("null")}});
    QSignalSpy errors(&player, &MediaPlayer::errorOccurred);
    player.open(path);
    player.play();
    QVERIFY(errors.wait(5000));
    // Anything the player would fetch would have reached the listener by now.
    QTest::qWait(500);
    QVERIFY(!listener.wasContacted());
    QVERIFY(player.playState() != PlayState::Playing);
}

void MpvReferencesTest::plainLocalMediaStillPlays() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tone.wav"));
    QVERIFY(testmedia::writeWav(path, 3));
    MpvPlayer player(MpvOptions{{QStringLiteral("ao"), QStringLiteral("null")},
                                {QStringLiteral("vo"), QStringLiteral("null")}});
    QSignalSpy errors(&player, &MediaPlayer::errorOccurred);
    player.open(path);
    player.play();
    QTRY_COMPARE_WITH_TIMEOUT(player.playState(), PlayState::Playing, 5000);
    QCOMPARE(errors.count(), 0);
}

QTEST_MAIN(MpvReferencesTest)
#include "mpv_references_test.moc"
