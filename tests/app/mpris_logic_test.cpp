// What the desktop media interface reports and how it reads what clients write, apart from the
// bus; and that the desktop entry announces the same media types.

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "app/mpris_logic.h"
#include "transport/media_files.h"
#include "transport/media_player.h"

using namespace mpris;

class MprisLogicTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void playbackStatusOfEveryState();
    void rateWrites_data();
    void rateWrites();
    void volumeBothWays();
    void relativeSeeks_data();
    void relativeSeeks();
    void absoluteSeeks();
    void openTargets_data();
    void openTargets();
    void trackIdsChangeWithTheMedia();
    void metadataOfTrackAndOfNoTrack();
    void changedPropertiesNameOnlyWhatChanged();
    void everyMediaExtensionHasMimeTypes();
    void desktopEntryAnnouncesTheSameTypes();

private:
    QTemporaryDir dir_;
};

void MprisLogicTest::playbackStatusOfEveryState() {
    QCOMPARE(PlaybackStatusFor(PlayState::Playing), QStringLiteral("Playing"));
    QCOMPARE(PlaybackStatusFor(PlayState::Paused), QStringLiteral("Paused"));
    for (PlayState state : {PlayState::Undefined, PlayState::Stopped, PlayState::MediaEnded,
                            PlayState::Transitioning, PlayState::Ready, PlayState(42)})
        QCOMPARE(PlaybackStatusFor(state), QStringLiteral("Stopped"));
}

void MprisLogicTest::rateWrites_data() {
    QTest::addColumn<double>("written");
    QTest::addColumn<int>("kind");
    QTest::addColumn<double>("speed");
    QTest::newRow("inside") << 1.3 << int(RateRequest::Speed) << 1.3;
    QTest::newRow("lowest") << 0.4 << int(RateRequest::Speed) << 0.4;
    QTest::newRow("highest") << 3.0 << int(RateRequest::Speed) << 3.0;
    QTest::newRow("too slow") << 0.1 << int(RateRequest::Speed) << 0.4;
    QTest::newRow("too fast") << 8.0 << int(RateRequest::Speed) << 3.0;
    QTest::newRow("backwards") << -1.0 << int(RateRequest::Speed) << 0.4;
    QTest::newRow("zero pauses") << 0.0 << int(RateRequest::Pause) << 0.0;
    QTest::newRow("not a number") << qQNaN() << int(RateRequest::Ignore) << 1.0;
    QTest::newRow("infinite") << qInf() << int(RateRequest::Speed) << 3.0;
}

void MprisLogicTest::rateWrites() {
    QFETCH(double, written);
    QFETCH(int, kind);
    QFETCH(double, speed);
    const RateRequest request = InterpretRate(written);
    QCOMPARE(int(request.kind), kind);
    QCOMPARE(request.speed, speed);
}

void MprisLogicTest::volumeBothWays() {
    QCOMPARE(VolumeFromBus(0.0), std::optional<int>(0));
    QCOMPARE(VolumeFromBus(1.0), std::optional<int>(100));
    QCOMPARE(VolumeFromBus(0.506), std::optional<int>(51));
    QCOMPARE(VolumeFromBus(0.504), std::optional<int>(50));
    QCOMPARE(VolumeFromBus(0.3), std::optional<int>(30));
    QCOMPARE(VolumeFromBus(-0.5), std::optional<int>(0));
    QCOMPARE(VolumeFromBus(2.5), std::optional<int>(100));
    QVERIFY(!VolumeFromBus(qQNaN()));
    QCOMPARE(VolumeToBus(50), 0.5);
    QCOMPARE(VolumeToBus(0), 0.0);
    QCOMPARE(VolumeToBus(100), 1.0);
    for (int v = 0; v <= 100; ++v)
        QCOMPARE(VolumeFromBus(VolumeToBus(v)), std::optional<int>(v));
}

void MprisLogicTest::relativeSeeks_data() {
    QTest::addColumn<double>("position");
    QTest::addColumn<double>("duration");
    QTest::addColumn<qint64>("offset");
    QTest::addColumn<int>("kind");
    QTest::addColumn<double>("seconds");
    QTest::newRow("forward") << 10.0 << 60.0 << qint64(5'000'000) << int(SeekTarget::SeekTo)
                             << 15.0;
    QTest::newRow("back") << 10.0 << 60.0 << qint64(-2'500'000) << int(SeekTarget::SeekTo) << 7.5;
    QTest::newRow("before start") << 3.0 << 60.0 << qint64(-10'000'000) << int(SeekTarget::SeekTo)
                                  << 0.0;
    QTest::newRow("to the end") << 50.0 << 60.0 << qint64(10'000'000) << int(SeekTarget::SeekTo)
                                << 60.0;
    QTest::newRow("past the end") << 50.0 << 60.0 << qint64(10'000'001)
                                  << int(SeekTarget::PauseAtEnd) << 50.0;
    QTest::newRow("length unknown")
        << 0.0 << 0.0 << qint64(1'000'000) << int(SeekTarget::Ignore) << 0.0;
}

void MprisLogicTest::relativeSeeks() {
    QFETCH(double, position);
    QFETCH(double, duration);
    QFETCH(qint64, offset);
    QFETCH(int, kind);
    QFETCH(double, seconds);
    const SeekTarget target = RelativeSeek(position, duration, offset);
    QCOMPARE(int(target.kind), kind);
    QCOMPARE(target.seconds, seconds);
}

void MprisLogicTest::absoluteSeeks() {
    const SeekTarget inside = AbsoluteSeek(60.0, 30'000'000, true);
    QCOMPARE(int(inside.kind), int(SeekTarget::SeekTo));
    QCOMPARE(inside.seconds, 30.0);
    QCOMPARE(AbsoluteSeek(60.0, 60'000'000, true).seconds, 60.0);
    // Another track, a negative position, one past the end, or no length: nothing happens.
    QCOMPARE(int(AbsoluteSeek(60.0, 30'000'000, false).kind), int(SeekTarget::Ignore));
    QCOMPARE(int(AbsoluteSeek(60.0, -1, true).kind), int(SeekTarget::Ignore));
    QCOMPARE(int(AbsoluteSeek(60.0, 60'000'001, true).kind), int(SeekTarget::Ignore));
    QCOMPARE(int(AbsoluteSeek(0.0, 0, true).kind), int(SeekTarget::Ignore));
}

void MprisLogicTest::openTargets_data() {
    QVERIFY(dir_.isValid());
    const QString media = dir_.filePath(QStringLiteral("インタビュー 1.MP3"));
    QFile(media).open(QIODevice::WriteOnly);
    const QString text = dir_.filePath(QStringLiteral("notes.txt"));
    QFile(text).open(QIODevice::WriteOnly);
    QDir(dir_.path()).mkdir(QStringLiteral("folder.wav"));
    const QString encoded = QUrl::fromLocalFile(media).toString(QUrl::FullyEncoded);

    QTest::addColumn<QString>("uri");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("location");
    QTest::newRow("file URI, encoded") << encoded << int(OpenTarget::LocalFile) << media;
    QTest::newRow("file URI, localhost")
        << QStringLiteral("file://localhost") +
               QString::fromLatin1(QUrl::toPercentEncoding(media, "/"))
        << int(OpenTarget::LocalFile) << media;
    QTest::newRow("plain path") << media << int(OpenTarget::LocalFile) << media;
    QTest::newRow("path with dots") << dir_.path() + QStringLiteral("/./sub/../インタビュー 1.MP3")
                                    << int(OpenTarget::LocalFile) << media;
    QTest::newRow("web") << QStringLiteral("https://example.org/talk.mp3?x=1")
                         << int(OpenTarget::WebAddress)
                         << QStringLiteral("https://example.org/talk.mp3?x=1");
    QTest::newRow("HTTP upper case")
        << QStringLiteral("HTTP://example.org/") << int(OpenTarget::WebAddress)
        << QStringLiteral("HTTP://example.org/");
    QTest::newRow("missing file") << QUrl::fromLocalFile(dir_.filePath("gone.wav")).toString()
                                  << int(OpenTarget::Invalid) << dir_.filePath("gone.wav");
    QTest::newRow("not media") << QUrl::fromLocalFile(text).toString() << int(OpenTarget::Invalid)
                               << text;
    QTest::newRow("folder") << dir_.filePath(QStringLiteral("folder.wav"))
                            << int(OpenTarget::Invalid)
                            << dir_.filePath(QStringLiteral("folder.wav"));
    QTest::newRow("other host") << QStringLiteral("file://server/share/a.wav")
                                << int(OpenTarget::Invalid)
                                << QStringLiteral("file://server/share/a.wav");
    QTest::newRow("web without host") << QStringLiteral("http:///a.mp3") << int(OpenTarget::Invalid)
                                      << QStringLiteral("http:///a.mp3");
    QTest::newRow("other scheme") << QStringLiteral("ftp://example.org/a.mp3")
                                  << int(OpenTarget::Invalid)
                                  << QStringLiteral("ftp://example.org/a.mp3");
    QTest::newRow("relative name")
        << QStringLiteral("a.mp3") << int(OpenTarget::Invalid) << QStringLiteral("a.mp3");
    QTest::newRow("empty") << QString() << int(OpenTarget::Invalid) << QString();
}

void MprisLogicTest::openTargets() {
    QFETCH(QString, uri);
    QFETCH(int, kind);
    QFETCH(QString, location);
    const OpenTarget target = ParseOpenUri(uri);
    QCOMPARE(int(target.kind), kind);
    QCOMPARE(target.location, location);
    QCOMPARE(target.error.isEmpty(), kind != OpenTarget::Invalid);
}

void MprisLogicTest::trackIdsChangeWithTheMedia() {
    TrackIds ids;
    QCOMPARE(ids.idFor(QString()).path(), QString::fromLatin1(kNoTrack));
    const QDBusObjectPath first = ids.idFor(QStringLiteral("/m/a.wav"));
    QVERIFY(!first.path().startsWith(QStringLiteral("/org/mpris")));
    QCOMPARE(ids.idFor(QStringLiteral("/m/a.wav")), first);
    const QDBusObjectPath second = ids.idFor(QStringLiteral("/m/b.wav"));
    QVERIFY(second != first);
    QCOMPARE(ids.idFor(QString()).path(), QString::fromLatin1(kNoTrack));
    // Coming back to a file after another is a new track.
    QVERIFY(ids.idFor(QStringLiteral("/m/a.wav")) != first);
    QVERIFY(ids.idFor(QStringLiteral("/m/a.wav")) != second);
}

void MprisLogicTest::metadataOfTrackAndOfNoTrack() {
    const QDBusObjectPath id(QStringLiteral("/org/scribo/Track/3"));
    const QVariantMap map =
        MetadataFor(id, QStringLiteral("/m/会議 #1.wav"), QStringLiteral("会議 #1.wav"), 61.25);
    QCOMPARE(map.value("mpris:trackid").value<QDBusObjectPath>(), id);
    QCOMPARE(map.value("mpris:length").toLongLong(), 61'250'000LL);
    QCOMPARE(map.value("mpris:length").metaType(), QMetaType::fromType<qlonglong>());
    QCOMPARE(map.value("xesam:title").toString(), QStringLiteral("会議 #1.wav"));
    const QString url = map.value("xesam:url").toString();
    QCOMPARE(QUrl(url).toLocalFile(), QStringLiteral("/m/会議 #1.wav"));
    QVERIFY2(!url.contains(QLatin1Char(' ')) && !url.contains(QLatin1Char('#')), qPrintable(url));

    // The length is left out until it is known.
    QVERIFY(!MetadataFor(id, QStringLiteral("/m/a.wav"), QStringLiteral("a.wav"), 0)
                 .contains("mpris:length"));
    const QVariantMap none = MetadataFor(QDBusObjectPath(kNoTrack), QString(), QString(), 0);
    QCOMPARE(none.keys(), QStringList{QStringLiteral("mpris:trackid")});
}

void MprisLogicTest::changedPropertiesNameOnlyWhatChanged() {
    PlayerSnapshot before;
    before.playbackStatus = QStringLiteral("Paused");
    before.metadata = MetadataFor(QDBusObjectPath(QStringLiteral("/org/scribo/Track/1")),
                                  QStringLiteral("/m/a.wav"), QStringLiteral("a.wav"), 10);
    before.canPlay = before.canPause = before.canSeek = true;
    QVERIFY(ChangedProperties(before, before).isEmpty());

    PlayerSnapshot after = before;
    after.playbackStatus = QStringLiteral("Playing");
    after.volume = 0.8;
    QVariantMap changed = ChangedProperties(before, after);
    QCOMPARE(changed.keys(),
             (QStringList{QStringLiteral("PlaybackStatus"), QStringLiteral("Volume")}));
    QCOMPARE(changed.value("Volume").toDouble(), 0.8);

    after = before;
    after.metadata = MetadataFor(QDBusObjectPath(QStringLiteral("/org/scribo/Track/1")),
                                 QStringLiteral("/m/a.wav"), QStringLiteral("a.wav"), 12);
    after.rate = 1.5;
    after.canSeek = false;
    changed = ChangedProperties(before, after);
    QCOMPARE(changed.keys(), (QStringList{QStringLiteral("CanSeek"), QStringLiteral("Metadata"),
                                          QStringLiteral("Rate")}));
    QCOMPARE(changed.value("Metadata").toMap().value("mpris:length").toLongLong(), 12'000'000LL);
}

void MprisLogicTest::everyMediaExtensionHasMimeTypes() {
    const QStringList all = SupportedMimeTypes();
    for (const QString& extension : kMediaExtensions) {
        if (extension.isEmpty()) continue;
        const QStringList types = MimeTypesForExtension(extension);
        QVERIFY2(!types.isEmpty(), qPrintable(extension));
        for (const QString& type : types)
            QVERIFY(all.contains(type));
    }
    QCOMPARE(MimeTypesForExtension(QStringLiteral(".MOV")),
             QStringList{QStringLiteral("video/quicktime")});
    QStringList unique = all;
    QCOMPARE(unique.removeDuplicates(), 0);
    QCOMPARE(SupportedUriSchemes(), (QStringList{QStringLiteral("file"), QStringLiteral("http"),
                                                 QStringLiteral("https")}));
}

void MprisLogicTest::desktopEntryAnnouncesTheSameTypes() {
    QFile entry(QStringLiteral(SCRIBO_SOURCE_DIR "/data/scribo.desktop"));
    QVERIFY(entry.open(QIODevice::ReadOnly | QIODevice::Text));
    QStringList types;
    QString exec;
    for (const QByteArray& line : entry.readAll().split('\n')) {
        if (line.startsWith("MimeType="))
            types = QString::fromUtf8(line.mid(9)).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        if (line.startsWith("Exec=")) exec = QString::fromUtf8(line.mid(5));
    }
    QCOMPARE(types, SupportedMimeTypes());
    QCOMPARE(exec, QStringLiteral("scribo %f"));
}

QTEST_APPLESS_MAIN(MprisLogicTest)
#include "mpris_logic_test.moc"
