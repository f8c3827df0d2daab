// The desktop media interface of a window on fakes, driven over a real session bus from a second
// connection, as a desktop client would: what it reads, what its commands do to the window, and
// the change signals it gets.

#include <QAction>
#include <QComboBox>
#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDialog>
#include <QLabel>
#include <QtTest>

#include "app/mpris_service.h"
#include "app/outside_entries.h"
#include "app/single_instance.h"
#include "fakes/transport_setup.h"
#include "fakes/window_fixture.h"
#include "transport/media_player.h"

namespace {
const QString kService = QString::fromLatin1(mpris::kServiceName);
const QString kPath = QString::fromLatin1(mpris::kObjectPath);
const QString kPlayer = QString::fromLatin1(mpris::kPlayerInterface);
const QString kRoot = QString::fromLatin1(mpris::kRootInterface);
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

// Nested maps arrive still marshalled.
QVariant plain(const QVariant& value) {
    if (value.canConvert<QDBusVariant>()) return plain(value.value<QDBusVariant>().variant());
    if (value.canConvert<QDBusArgument>()) {
        const QDBusArgument argument = value.value<QDBusArgument>();
        if (argument.currentType() == QDBusArgument::MapType)
            return qdbus_cast<QVariantMap>(argument);
    }
    return value;
}
}  // namespace

// What a client connection receives.
class Recorder : public QObject {
    Q_OBJECT
public:
    QList<QVariantMap> changes;
    QList<qlonglong> seeks;

public Q_SLOTS:
    void propertiesChanged(const QString& interface, const QVariantMap& changed,
                           const QStringList& /*invalidated*/) {
        if (interface != kPlayer) return;
        QVariantMap unpacked;
        for (auto it = changed.begin(); it != changed.end(); ++it)
            unpacked.insert(it.key(), plain(it.value()));
        changes << unpacked;
    }
    void seeked(qlonglong position) { seeks << position; }
};

class MprisAdaptorTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void withoutMediaThereIsNothingToControl();
    void rootInterface();
    void openUriOpensLikeADrop();
    void openUriRefusesWhatItCannotOpen();
    void playPauseIsTheHotkeyActionWithRewind();
    void playAndPauseOnlyWhenTheyChangeSomething();
    void seekAndSetPosition();
    void rateWritesActLikeASpeedStep();
    void volumeWritesActLikeTheDrag();
    void windowCommandsAnnounceTheirChanges();
    void laterServiceTakesAnInstanceName();
    void quitClosesLikeTheExitButton();
    void commandsSentAsSignals();

private:
    QVariant get(const QString& property, const QString& interface = kPlayer);
    QDBusMessage set(const QString& property, const QVariant& value);
    QDBusMessage call(const QString& method, const QVariantList& arguments = {});
    // Lets the service's signals reach the recorder.
    void settle(int ms = 100);
    QString openFake(const QString& name, double duration);

    std::unique_ptr<WindowFixture> f_;
    std::unique_ptr<MprisService> service_;
    std::unique_ptr<Recorder> recorder_;
    QDBusConnection client_{QString()};
};

void MprisAdaptorTest::init() {
    f_ = std::make_unique<WindowFixture>();
    f_->writeSettings(transportsetup::kSettings);
    QVERIFY(f_->start());
    service_ = std::make_unique<MprisService>(f_->transport(), QDBusConnection::sessionBus());
    AttachMprisToSession(*service_, f_->session(), f_->window());
    QVERIFY(service_->publish());
    QCOMPARE(service_->serviceName(), kService);
    client_ = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("client"));
    QVERIFY(client_.isConnected());
    recorder_ = std::make_unique<Recorder>();
    QVERIFY(client_.connect(kService, kPath, kProperties, QStringLiteral("PropertiesChanged"),
                            recorder_.get(),
                            SLOT(propertiesChanged(QString, QVariantMap, QStringList))));
    QVERIFY(client_.connect(kService, kPath, kPlayer, QStringLiteral("Seeked"), recorder_.get(),
                            SLOT(seeked(qlonglong))));
}

void MprisAdaptorTest::cleanup() {
    recorder_.reset();
    QDBusConnection::disconnectFromBus(QStringLiteral("client"));
    service_.reset();
    f_.reset();
}

QVariant MprisAdaptorTest::get(const QString& property, const QString& interface) {
    QDBusMessage message =
        QDBusMessage::createMethodCall(kService, kPath, kProperties, QStringLiteral("Get"));
    message << interface << property;
    // The service answers on this thread: wait with the event loop running.
    const QDBusMessage reply = client_.call(message, QDBus::BlockWithGui);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        qWarning("Get %s: %s", qPrintable(property), qPrintable(reply.errorMessage()));
        return {};
    }
    return plain(reply.arguments().constFirst());
}

QDBusMessage MprisAdaptorTest::set(const QString& property, const QVariant& value) {
    QDBusMessage message =
        QDBusMessage::createMethodCall(kService, kPath, kProperties, QStringLiteral("Set"));
    message << kPlayer << property << QVariant::fromValue(QDBusVariant(value));
    return client_.call(message, QDBus::BlockWithGui);
}

QDBusMessage MprisAdaptorTest::call(const QString& method, const QVariantList& arguments) {
    QDBusMessage message = QDBusMessage::createMethodCall(kService, kPath, kPlayer, method);
    message.setArguments(arguments);
    return client_.call(message, QDBus::BlockWithGui);
}

void MprisAdaptorTest::settle(int ms) {
    QTest::qWait(ms);
    get(QStringLiteral("CanControl"));
    QCoreApplication::processEvents();
}

QString MprisAdaptorTest::openFake(const QString& name, double duration) {
    const QString path = f_->addMediaFile(name, duration);
    f_->openMedia(path);
    return path;
}

void MprisAdaptorTest::withoutMediaThereIsNothingToControl() {
    QCOMPARE(get(QStringLiteral("PlaybackStatus")).toString(), QStringLiteral("Stopped"));
    QCOMPARE(get(QStringLiteral("Position")).toLongLong(), 0LL);
    const QVariantMap metadata = get(QStringLiteral("Metadata")).toMap();
    QCOMPARE(metadata.keys(), QStringList{QStringLiteral("mpris:trackid")});
    QCOMPARE(metadata.value(QStringLiteral("mpris:trackid")).value<QDBusObjectPath>().path(),
             QString::fromLatin1(mpris::kNoTrack));
    QCOMPARE(get(QStringLiteral("CanPlay")).toBool(), false);
    QCOMPARE(get(QStringLiteral("CanPause")).toBool(), false);
    QCOMPARE(get(QStringLiteral("CanSeek")).toBool(), false);
    QCOMPARE(get(QStringLiteral("CanControl")).toBool(), true);
    QCOMPARE(get(QStringLiteral("CanGoNext")).toBool(), false);
    QCOMPARE(get(QStringLiteral("MinimumRate")).toDouble(), 0.4);
    QCOMPARE(get(QStringLiteral("MaximumRate")).toDouble(), 3.0);
    QCOMPARE(get(QStringLiteral("Volume")).toDouble(), 0.5);

    const int before = f_->player.log.size();
    for (const char* method : {"PlayPause", "Play", "Pause", "Stop", "Next", "Previous"})
        QCOMPARE(call(QString::fromLatin1(method)).type(), QDBusMessage::ReplyMessage);
    QCOMPARE(call(QStringLiteral("Seek"), {qlonglong(5'000'000)}).type(),
             QDBusMessage::ReplyMessage);
    settle();
    QCOMPARE(f_->player.log.mid(before), QStringList());
    QVERIFY(recorder_->seeks.isEmpty());
}

void MprisAdaptorTest::rootInterface() {
    QCOMPARE(get(QStringLiteral("Identity"), kRoot).toString(), QStringLiteral("Scribo"));
    QCOMPARE(get(QStringLiteral("DesktopEntry"), kRoot).toString(), QStringLiteral("scribo"));
    QCOMPARE(get(QStringLiteral("CanQuit"), kRoot).toBool(), true);
    QCOMPARE(get(QStringLiteral("CanRaise"), kRoot).toBool(), true);
    QCOMPARE(get(QStringLiteral("HasTrackList"), kRoot).toBool(), false);
    QCOMPARE(get(QStringLiteral("SupportedUriSchemes"), kRoot).toStringList(),
             mpris::SupportedUriSchemes());
    const QStringList types = get(QStringLiteral("SupportedMimeTypes"), kRoot).toStringList();
    QCOMPARE(types, mpris::SupportedMimeTypes());
    QVERIFY(types.contains(QStringLiteral("audio/mpeg")));
}

void MprisAdaptorTest::openUriOpensLikeADrop() {
    const QString path = f_->addMediaFile(QStringLiteral("会議 #2.wav"), 90);
    const QDBusMessage reply =
        call(QStringLiteral("OpenUri"), {QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded)});
    QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
    QTRY_COMPARE(f_->transport().mediaPath(), path);
    QCOMPARE(f_->transport().mediaName(), QStringLiteral("会議 #2.wav"));
    // The length probe ends paused, as after a drop.
    f_->clock.advance(1000);
    f_->transport().finishLengthProbe();
    QCOMPARE(get(QStringLiteral("PlaybackStatus")).toString(), QStringLiteral("Paused"));

    const QVariantMap metadata = get(QStringLiteral("Metadata")).toMap();
    QCOMPARE(metadata.value(QStringLiteral("xesam:title")).toString(),
             QStringLiteral("会議 #2.wav"));
    QCOMPARE(QUrl(metadata.value(QStringLiteral("xesam:url")).toString()).toLocalFile(), path);
    QCOMPARE(metadata.value(QStringLiteral("mpris:length")).toLongLong(), 90'000'000LL);
    const QString track =
        metadata.value(QStringLiteral("mpris:trackid")).value<QDBusObjectPath>().path();
    QVERIFY2(track.startsWith(QStringLiteral("/org/scribo/Track/")), qPrintable(track));
    QCOMPARE(get(QStringLiteral("CanSeek")).toBool(), true);

    // Clients learn of the new track without asking.
    settle();
    QVERIFY(!recorder_->changes.isEmpty());
    QVariantMap seen;
    for (const QVariantMap& change : recorder_->changes)
        seen.insert(change);
    QCOMPARE(seen.value(QStringLiteral("Metadata")).toMap(), metadata);
    QCOMPARE(seen.value(QStringLiteral("PlaybackStatus")).toString(), QStringLiteral("Paused"));
    QCOMPARE(seen.value(QStringLiteral("CanPlay")).toBool(), true);
}

void MprisAdaptorTest::openUriRefusesWhatItCannotOpen() {
    const QString text = f_->folder() + QStringLiteral("notes.txt");
    QFile(text).open(QIODevice::WriteOnly);
    const struct {
        QString uri;
        QString errorName;
    } cases[] = {
        {QUrl::fromLocalFile(f_->folder() + QStringLiteral("gone.wav")).toString(),
         QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs")},
        {QUrl::fromLocalFile(text).toString(),
         QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs")},
        {QStringLiteral("ftp://example.org/a.mp3"),
         QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs")},
    };
    for (const auto& c : cases) {
        const QDBusMessage reply = call(QStringLiteral("OpenUri"), {c.uri});
        QCOMPARE(reply.type(), QDBusMessage::ErrorMessage);
        QCOMPARE(reply.errorName(), c.errorName);
        QVERIFY2(reply.errorMessage().contains(QStringLiteral("Cannot open")),
                 qPrintable(reply.errorMessage()));
    }
    settle();
    QVERIFY(f_->transport().mediaPath().isEmpty());
    QCOMPARE(f_->player.count(QStringLiteral("open")), 0);

    // While a dialog waits for the user nothing is opened under it, and Quit waits too.
    const QString media = f_->addMediaFile(QStringLiteral("talk.mp3"), 60);
    {
        QDialog dialog(&f_->window());
        dialog.setModal(true);
        dialog.show();
        QTRY_VERIFY(QApplication::activeModalWidget() == &dialog);
        const QDBusMessage reply =
            call(QStringLiteral("OpenUri"), {QUrl::fromLocalFile(media).toString()});
        QCOMPARE(reply.errorName(), QStringLiteral("org.freedesktop.DBus.Error.Failed"));
        QVERIFY(reply.errorMessage().contains(QStringLiteral("dialog")));
        const QDBusMessage quit = client_.call(
            QDBusMessage::createMethodCall(kService, kPath, kRoot, QStringLiteral("Quit")),
            QDBus::BlockWithGui);
        QCOMPARE(quit.errorName(), QStringLiteral("org.freedesktop.DBus.Error.Failed"));
        QVERIFY(quit.errorMessage().contains(QStringLiteral("dialog")));
        settle();
        QVERIFY(control<QAction>(f_->window(), "exitAction")->isEnabled());
    }
    QCOMPARE(call(QStringLiteral("OpenUri"), {QUrl::fromLocalFile(media).toString()}).type(),
             QDBusMessage::ReplyMessage);
    QTRY_COMPARE(f_->transport().mediaPath(), media);

    // A web address plays as the URL panel plays it, without a media path.
    const QString address = QStringLiteral("https://example.org/a.mp3");
    f_->player.addMedia(address, 30);
    settle();
    const qsizetype before = recorder_->changes.size();
    QCOMPARE(call(QStringLiteral("OpenUri"), {address}).type(), QDBusMessage::ReplyMessage);
    QTRY_COMPARE(f_->player.address(), address);
    QVERIFY(f_->transport().mediaPath().isEmpty());
    QCOMPARE(control<QComboBox>(f_->window(), "addressBox")->currentText(), address);
    // The transport has no pause or seek for web media: not offered, and the clients are told
    // so. Play stays, or desktop controls pass the player over.
    settle();
    QVariantMap seen;
    for (const QVariantMap& change : recorder_->changes.mid(before))
        seen.insert(change);
    for (const QString& can : {QStringLiteral("CanPause"), QStringLiteral("CanSeek")}) {
        QCOMPARE(get(can).toBool(), false);
        QVERIFY2(seen.contains(can) && !seen.value(can).toBool(), qPrintable(can));
    }
}

void MprisAdaptorTest::playPauseIsTheHotkeyActionWithRewind() {
    openFake(QStringLiteral("talk.mp3"), 60);
    f_->player.setPosition(0);
    settle();
    recorder_->changes.clear();
    recorder_->seeks.clear();

    QCOMPARE(call(QStringLiteral("PlayPause")).type(), QDBusMessage::ReplyMessage);
    QCOMPARE(f_->player.playState(), PlayState::Playing);
    f_->clock.advance(10'000);
    QCOMPARE(call(QStringLiteral("PlayPause")).type(), QDBusMessage::ReplyMessage);
    QCOMPARE(f_->player.playState(), PlayState::Paused);
    // Rewind item 7 of the settings: 2.5 s.
    QCOMPARE(f_->player.position(), 7.5);
    QCOMPARE(get(QStringLiteral("Position")).toLongLong(), 7'500'000LL);

    settle();
    QCOMPARE(recorder_->seeks, QList<qlonglong>{7'500'000});
    QStringList statuses;
    for (const QVariantMap& change : recorder_->changes)
        if (change.contains(QStringLiteral("PlaybackStatus")))
            statuses << change.value(QStringLiteral("PlaybackStatus")).toString();
    QCOMPARE(statuses, (QStringList{QStringLiteral("Playing"), QStringLiteral("Paused")}));
}

void MprisAdaptorTest::playAndPauseOnlyWhenTheyChangeSomething() {
    openFake(QStringLiteral("talk.mp3"), 60);
    f_->player.setPosition(20);
    call(QStringLiteral("Pause"));  // already paused: no rewind
    QCOMPARE(f_->player.position(), 20.0);
    call(QStringLiteral("Play"));
    QCOMPARE(f_->player.playState(), PlayState::Playing);
    f_->clock.advance(4000);
    const int plays = f_->player.count(QStringLiteral("play"));
    const int pauses = f_->player.count(QStringLiteral("pause"));
    call(QStringLiteral("Play"));  // already playing: it goes on
    QCOMPARE(f_->player.playState(), PlayState::Playing);
    QCOMPARE(f_->player.count(QStringLiteral("play")), plays);
    QCOMPARE(f_->player.count(QStringLiteral("pause")), pauses);
    call(QStringLiteral("Pause"));
    QCOMPARE(f_->player.playState(), PlayState::Paused);
    QCOMPARE(f_->player.position(), 21.5);
    // Stop pauses the same way; the window has no stopped state to show.
    call(QStringLiteral("Play"));
    f_->clock.advance(3000);
    call(QStringLiteral("Stop"));
    QCOMPARE(f_->player.playState(), PlayState::Paused);
    QCOMPARE(f_->player.position(), 22.0);
    QCOMPARE(get(QStringLiteral("PlaybackStatus")).toString(), QStringLiteral("Paused"));
}

void MprisAdaptorTest::seekAndSetPosition() {
    openFake(QStringLiteral("talk.mp3"), 60);
    f_->player.setPosition(10);
    settle();
    recorder_->seeks.clear();

    call(QStringLiteral("Seek"), {qlonglong(5'000'000)});
    QCOMPARE(f_->player.position(), 15.0);
    // Shown at once, although paused.
    QCOMPARE(control<QLabel>(f_->window(), "playTimeLabel")->text(), QStringLiteral("0:00:15"));
    QCOMPARE(control<ProgressBar>(f_->window(), "positionBar")->position(), 15);
    call(QStringLiteral("Seek"), {qlonglong(-20'000'000)});
    QCOMPARE(f_->player.position(), 0.0);

    const QDBusObjectPath track = get(QStringLiteral("Metadata"))
                                      .toMap()
                                      .value(QStringLiteral("mpris:trackid"))
                                      .value<QDBusObjectPath>();
    call(QStringLiteral("SetPosition"), {QVariant::fromValue(track), qlonglong(30'000'000)});
    QCOMPARE(f_->player.position(), 30.0);
    QCOMPARE(control<QLabel>(f_->window(), "playTimeLabel")->text(), QStringLiteral("0:00:30"));
    // Another track, a place past the end: nothing happens.
    call(QStringLiteral("SetPosition"),
         {QVariant::fromValue(QDBusObjectPath(QStringLiteral("/org/scribo/Track/999"))),
          qlonglong(5'000'000)});
    call(QStringLiteral("SetPosition"), {QVariant::fromValue(track), qlonglong(61'000'000)});
    QCOMPARE(f_->player.position(), 30.0);

    // Seeking past the end while playing pauses where it is, as the forward skip does.
    call(QStringLiteral("Play"));
    f_->clock.advance(2000);
    call(QStringLiteral("Seek"), {qlonglong(40'000'000)});
    QCOMPARE(f_->player.playState(), PlayState::Paused);
    QCOMPARE(f_->player.position(), 32.0);

    settle();
    QCOMPARE(recorder_->seeks, (QList<qlonglong>{15'000'000, 0, 30'000'000}));
}

void MprisAdaptorTest::rateWritesActLikeASpeedStep() {
    openFake(QStringLiteral("talk.mp3"), 60);
    settle();
    recorder_->changes.clear();

    QCOMPARE(set(QStringLiteral("Rate"), 1.5).type(), QDBusMessage::ReplyMessage);
    QCOMPARE(f_->player.rate(), 1.5);
    QCOMPARE(f_->transport().chosenSpeed(), 1.5);
    QVERIFY(f_->transport().speedSwitchOn());
    QVERIFY2(control<ProgressBar>(f_->window(), "volumeBar")
                 ->positionTextPrefix()
                 .contains(QStringLiteral("再生速度[ 1.5 ］")),
             qPrintable(control<ProgressBar>(f_->window(), "volumeBar")->positionTextPrefix()));
    QCOMPARE(get(QStringLiteral("Rate")).toDouble(), 1.5);
    settle();
    QVERIFY(!recorder_->changes.isEmpty());
    QCOMPARE(recorder_->changes.constLast().value(QStringLiteral("Rate")).toDouble(), 1.5);

    set(QStringLiteral("Rate"), 7.0);
    QCOMPARE(f_->player.rate(), 3.0);
    QVERIFY(control<ProgressBar>(f_->window(), "volumeBar")
                ->positionTextPrefix()
                .contains(QStringLiteral("[ 3.0 ］")));
    set(QStringLiteral("Rate"), 0.1);
    QCOMPARE(f_->player.rate(), 0.4);
    QCOMPARE(f_->transport().chosenSpeed(), 0.4);

    // Rate 0 is a pause request (with the rewind) and leaves the speed alone.
    call(QStringLiteral("Play"));
    f_->clock.advance(10'000);
    const double before = f_->player.position();
    set(QStringLiteral("Rate"), 0.0);
    QCOMPARE(f_->player.playState(), PlayState::Paused);
    QCOMPARE(f_->player.position(), before - 2.5);
    QCOMPARE(f_->player.rate(), 0.4);
}

void MprisAdaptorTest::volumeWritesActLikeTheDrag() {
    openFake(QStringLiteral("talk.mp3"), 60);
    settle();
    recorder_->changes.clear();

    QCOMPARE(set(QStringLiteral("Volume"), 0.3).type(), QDBusMessage::ReplyMessage);
    QCOMPARE(f_->player.volume(), 30);
    QCOMPARE(f_->transport().volume(), 30);
    QCOMPARE(control<ProgressBar>(f_->window(), "volumeBar")->position(), 30);
    QVERIFY2(control<ProgressBar>(f_->window(), "volumeBar")
                 ->positionTextSuffix()
                 .contains(QStringLiteral("音量[ 30 ］")),
             qPrintable(control<ProgressBar>(f_->window(), "volumeBar")->positionTextSuffix()));
    QCOMPARE(get(QStringLiteral("Volume")).toDouble(), 0.3);
    settle();
    QVERIFY(!recorder_->changes.isEmpty());
    QCOMPARE(recorder_->changes.constLast().value(QStringLiteral("Volume")).toDouble(), 0.3);

    set(QStringLiteral("Volume"), 1.7);
    QCOMPARE(f_->transport().volume(), 100);
    set(QStringLiteral("Volume"), -1.0);
    QCOMPARE(f_->player.volume(), 0);
}

void MprisAdaptorTest::windowCommandsAnnounceTheirChanges() {
    openFake(QStringLiteral("a.mp3"), 60);
    settle();
    const QVariant firstTrack = get(QStringLiteral("Metadata")).toMap().value("mpris:trackid");
    recorder_->changes.clear();

    // The toolbar button, not the bus: one signal, with only what changed.
    control<QAction>(f_->window(), "playPauseAction")->trigger();
    QTRY_COMPARE(recorder_->changes.size(), 1);
    QCOMPARE(recorder_->changes.constFirst().keys(), QStringList{QStringLiteral("PlaybackStatus")});
    QCOMPARE(recorder_->changes.constFirst().value(QStringLiteral("PlaybackStatus")).toString(),
             QStringLiteral("Playing"));
    settle();
    QCOMPARE(recorder_->changes.size(), 1);

    // Another file: a new track id, the new title, and the length once the probe knows it.
    openFake(QStringLiteral("b.mp3"), 30);
    settle();
    QVariantMap metadata;
    for (const QVariantMap& change : recorder_->changes)
        if (change.contains(QStringLiteral("Metadata")))
            metadata = change.value(QStringLiteral("Metadata")).toMap();
    QCOMPARE(metadata.value(QStringLiteral("xesam:title")).toString(), QStringLiteral("b.mp3"));
    QCOMPARE(metadata.value(QStringLiteral("mpris:length")).toLongLong(), 30'000'000LL);
    QVERIFY(metadata.value(QStringLiteral("mpris:trackid")) != firstTrack);
}

void MprisAdaptorTest::laterServiceTakesAnInstanceName() {
    WindowFixture second;
    second.writeSettings(transportsetup::kSettings);
    QVERIFY(second.start());
    const QDBusConnection other =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("second"));
    {
        MprisService later(second.transport(), other);
        QVERIFY(later.publish());
        const QString expected = kService + QStringLiteral(".instance") +
                                 QString::number(QCoreApplication::applicationPid());
        QCOMPARE(later.serviceName(), expected);
        QVERIFY(client_.interface()->isServiceRegistered(expected).value());
        QVERIFY(client_.interface()->isServiceRegistered(kService).value());
    }
    // Ending releases the name.
    QTRY_VERIFY(!client_.interface()
                     ->isServiceRegistered(kService + QStringLiteral(".instance") +
                                           QString::number(QCoreApplication::applicationPid()))
                     .value());
    QDBusConnection::disconnectFromBus(QStringLiteral("second"));

    // Handing over needs a Scribo under the name; without one start-up goes on.
    QCOMPARE(HandToRunningInstance(client_, QStringLiteral("file:///a.wav"),
                                   QStringLiteral("org.mpris.MediaPlayer2.nobody"))
                 .result,
             HandOver::NoneRunning);
}

void MprisAdaptorTest::quitClosesLikeTheExitButton() {
    f_->window().show();
    QVERIFY(f_->window().isVisible());
    const QDBusMessage reply =
        client_.call(QDBusMessage::createMethodCall(kService, kPath, kRoot, QStringLiteral("Quit")),
                     QDBus::BlockWithGui);
    QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
    QTRY_VERIFY(!f_->window().isVisible());
    QVERIFY(!control<QAction>(f_->window(), "exitAction")->isEnabled());
}

// What dbus-send sends without --print-reply or --type=method_call.
void MprisAdaptorTest::commandsSentAsSignals() {
    openFake(QStringLiteral("talk.mp3"), 60);
    const auto send = [&](const QString& interface, const QString& member) {
        QVERIFY(
            client_.send(QDBusMessage::createTargetedSignal(kService, kPath, interface, member)));
    };
    send(kPlayer, QStringLiteral("PlayPause"));
    QTRY_COMPARE(f_->player.playState(), PlayState::Playing);
    send(kPlayer, QStringLiteral("Pause"));
    QTRY_COMPARE(f_->player.playState(), PlayState::Paused);
    f_->window().show();
    send(kRoot, QStringLiteral("Quit"));
    QTRY_VERIFY(!f_->window().isVisible());
}

QTEST_MAIN(MprisAdaptorTest)
#include "mpris_adaptor_test.moc"
