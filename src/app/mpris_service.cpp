#include "app/mpris_service.h"

#include <QApplication>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <QFileInfo>
#include <QTimer>

#include "app/mpris_adaptors.h"
#include "transport/media_player.h"
#include "transport/transport_controller.h"

namespace {
// The commands that take no arguments, which a signal can carry as well as a call.
struct CommandSignal {
    const char* interface;
    const char* member;
    void (MprisService::*run)();
};
constexpr CommandSignal kCommandSignals[] = {
    {mpris::kRootInterface, "Raise", &MprisService::raise},
    {mpris::kRootInterface, "Quit", &MprisService::quitFromSignal},
    {mpris::kPlayerInterface, "Play", &MprisService::play},
    {mpris::kPlayerInterface, "Pause", &MprisService::pause},
    {mpris::kPlayerInterface, "PlayPause", &MprisService::playPause},
    {mpris::kPlayerInterface, "Stop", &MprisService::stop},
};
}  // namespace

MprisService::MprisService(TransportController& transport, const QDBusConnection& bus,
                           QObject* parent)
    : QObject(parent), transport_(transport), bus_(bus) {
    new MprisRootAdaptor(this);
    new MprisPlayerAdaptor(this);

    MediaPlayer& player = transport_.player();
    connect(&player, &MediaPlayer::mediaChanged, this, &MprisService::scheduleRefresh);
    connect(&player, &MediaPlayer::playStateChanged, this, &MprisService::scheduleRefresh);
    connect(&player, &MediaPlayer::durationChanged, this, &MprisService::scheduleRefresh);
    connect(&player, &MediaPlayer::rateChanged, this, &MprisService::scheduleRefresh);
    connect(&player, &MediaPlayer::volumeChanged, this, &MprisService::scheduleRefresh);
    connect(&transport_, &TransportController::changed, this, &MprisService::scheduleRefresh);
    connect(&player, &MediaPlayer::seeked, this, [this](double seconds) {
        Q_EMIT seeked(mpris::ToMicroseconds(seconds));
        scheduleRefresh();
    });
}

MprisService::~MprisService() {
    if (!published_) return;
    listenForCommandSignals(false);
    bus_.unregisterService(serviceName_);
    bus_.unregisterObject(QString::fromLatin1(mpris::kObjectPath));
}

bool MprisService::publish(const QString& baseName) {
    if (published_) return true;
    if (!bus_.isConnected()) return false;
    const QString path = QString::fromLatin1(mpris::kObjectPath);
    if (!bus_.registerObject(path, this, QDBusConnection::ExportAdaptors)) return false;
    // The plain name belongs to the first Scribo of the session; a later one runs on beside it.
    serviceName_ = baseName;
    if (!bus_.registerService(serviceName_)) {
        serviceName_ = baseName + QStringLiteral(".instance") +
                       QString::number(QCoreApplication::applicationPid());
        if (!bus_.registerService(serviceName_)) {
            bus_.unregisterObject(path);
            serviceName_.clear();
            return false;
        }
    }
    listenForCommandSignals(true);
    last_ = snapshot();
    published_ = true;
    return true;
}

void MprisService::listenForCommandSignals(bool listen) {
    const QString path = QString::fromLatin1(mpris::kObjectPath);
    for (const CommandSignal& command : kCommandSignals) {
        const QString interface = QString::fromLatin1(command.interface);
        const QString member = QString::fromLatin1(command.member);
        if (listen)
            bus_.connect(QString(), path, interface, member, this,
                         SLOT(commandSignal(QDBusMessage)));
        else
            bus_.disconnect(QString(), path, interface, member, this,
                            SLOT(commandSignal(QDBusMessage)));
    }
}

void MprisService::commandSignal(const QDBusMessage& message) {
    if (!message.arguments().isEmpty()) return;
    for (const CommandSignal& command : kCommandSignals) {
        if (message.interface() != QLatin1String(command.interface) ||
            message.member() != QLatin1String(command.member))
            continue;
        (this->*command.run)();
        return;
    }
}

// ---- What the adaptors read ----------------------------------------------------------------

QString MprisService::currentLocation() const {
    return transport_.mediaPath();
}

bool MprisService::playing() const {
    return transport_.isPlaying();
}

mpris::PlayerSnapshot MprisService::snapshot() {
    const MediaPlayer& player = transport_.player();
    QString location = currentLocation();
    // Web media has no path; it is described by its address while the player holds it.
    const bool web = location.isEmpty() && !transport_.mediaUrl().isEmpty() &&
                     player.address() == transport_.mediaUrl();
    if (web) location = transport_.mediaUrl();
    const double duration = location.isEmpty() ? 0.0 : player.duration();
    const QString title =
        transport_.mediaName().isEmpty() ? QFileInfo(location).fileName() : transport_.mediaName();
    mpris::PlayerSnapshot now;
    now.playbackStatus = mpris::PlaybackStatusFor(player.playState());
    now.rate = player.rate();
    now.volume = mpris::VolumeToBus(player.volume());
    now.metadata = mpris::MetadataFor(tracks_.idFor(location), location, title, duration);
    now.canPlay = !location.isEmpty();
    // Web media plays on from its address; the transport has no pause for it.
    now.canPause = !location.isEmpty() && !web;
    now.canSeek = !location.isEmpty() && !web && duration > 0;
    return now;
}

qint64 MprisService::position() const {
    if (currentLocation().isEmpty()) return 0;
    return mpris::ToMicroseconds(transport_.position());
}

QDBusObjectPath MprisService::currentTrackId() {
    return tracks_.idFor(currentLocation());
}

// ---- Commands ------------------------------------------------------------------------------

bool MprisService::run(const std::function<void()>& command) {
    if (request) return request(command);
    command();
    return true;
}

void MprisService::playPause() {
    run([this] { transport_.playPause(); });
}

void MprisService::play() {
    run([this] {
        if (!playing()) transport_.playPause();
    });
}

void MprisService::pause() {
    run([this] {
        if (playing()) transport_.playPause();
    });
}

// There is no stopped state the window could show; stopping is pausing.
void MprisService::stop() {
    pause();
}

void MprisService::seek(qint64 offsetMicroseconds) {
    if (currentLocation().isEmpty()) return;
    const mpris::SeekTarget target =
        mpris::RelativeSeek(transport_.position(), transport_.duration(), offsetMicroseconds);
    if (target.kind == mpris::SeekTarget::SeekTo) {
        seekTo(target.seconds);
    } else if (target.kind == mpris::SeekTarget::PauseAtEnd) {
        run([this] {
            if (!playing()) return;
            transport_.player().pause();
            transport_.refreshPlayState();
        });
    }
}

void MprisService::setPosition(const QDBusObjectPath& trackId, qint64 positionMicroseconds) {
    if (currentLocation().isEmpty()) return;
    const mpris::SeekTarget target = mpris::AbsoluteSeek(
        transport_.duration(), positionMicroseconds, trackId == currentTrackId());
    if (target.kind == mpris::SeekTarget::SeekTo) seekTo(target.seconds);
}

void MprisService::seekTo(double seconds) {
    run([&] { transport_.seek(seconds); });
}

void MprisService::setRate(double rate) {
    const mpris::RateRequest request = mpris::InterpretRate(rate);
    if (request.kind == mpris::RateRequest::Pause)
        pause();
    else if (request.kind == mpris::RateRequest::Speed)
        run([&] { transport_.setRate(request.speed); });
}

void MprisService::setVolume(double volume) {
    const auto value = mpris::VolumeFromBus(volume);
    if (!value) return;
    run([&] { transport_.setVolume(*value); });
}

void MprisService::raise() {
    if (raiseWindow) raiseWindow();
}

QString MprisService::quit() {
    // A dialog waits for the user; closing under it would leave it without its window.
    if (QApplication::activeModalWidget())
        return QStringLiteral("Cannot quit while a dialog is open");
    if (!quitProgram) return {};
    // After the reply: closing waits for the player and would hold the caller meanwhile.
    QTimer::singleShot(0, this, [this] { quitProgram(); });
    return {};
}

MprisService::OpenResult MprisService::openUri(const QString& uri) {
    return open(mpris::ParseOpenUri(uri));
}

MprisService::OpenResult MprisService::open(const mpris::OpenTarget& target) {
    if (target.kind != mpris::OpenTarget::Invalid && QApplication::activeModalWidget())
        return {QDBusError::errorString(QDBusError::Failed),
                QStringLiteral("Cannot open %1 while a dialog is open").arg(target.location)};
    switch (target.kind) {
        case mpris::OpenTarget::Invalid:
            return {QDBusError::errorString(QDBusError::InvalidArgs),
                    QStringLiteral("Cannot open %1: %2").arg(target.location, target.error)};
        case mpris::OpenTarget::WebAddress:
            if (!openWebAddress)
                return {QDBusError::errorString(QDBusError::NotSupported),
                        QStringLiteral("Cannot open %1: web addresses cannot be opened yet")
                            .arg(target.location)};
            QTimer::singleShot(0, this,
                               [this, address = target.location] { openWebAddress(address); });
            return {};
        case mpris::OpenTarget::LocalFile:
            if (!openFile)
                return {QDBusError::errorString(QDBusError::NotSupported),
                        QStringLiteral("Cannot open %1").arg(target.location)};
            // Opening waits and runs the event loop; doing it after the reply keeps the caller
            // from waiting and this call from being re-entered.
            QTimer::singleShot(0, this, [this, path = target.location] { openFile(path); });
            return {};
    }
    return {};
}

// ---- Change signals --------------------------------------------------------------------------

void MprisService::scheduleRefresh() {
    if (refreshPending_) return;
    refreshPending_ = true;
    // A command changes several things at once; one signal after it carries them all.
    QTimer::singleShot(0, this, &MprisService::refresh);
}

void MprisService::refresh() {
    refreshPending_ = false;
    if (!published_) return;
    const mpris::PlayerSnapshot now = snapshot();
    const QVariantMap changed = mpris::ChangedProperties(last_, now);
    last_ = now;
    if (changed.isEmpty()) return;
    QDBusMessage signal = QDBusMessage::createSignal(
        QString::fromLatin1(mpris::kObjectPath), QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("PropertiesChanged"));
    signal << QString::fromLatin1(mpris::kPlayerInterface) << changed << QStringList();
    bus_.send(signal);
}
