#include "app/mpris_service.h"

#include <QApplication>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <QFileInfo>
#include <QLabel>
#include <QTimer>
#include <cmath>

#include "app/main_form.h"
#include "app/mpris_adaptors.h"
#include "core/time_code.h"
#include "transport/media_player.h"
#include "transport/transport_tables.h"

MprisService::MprisService(TAMainForm& form, const QDBusConnection& bus, QObject* parent)
    : QObject(parent), form_(form), bus_(bus) {
    new MprisRootAdaptor(this);
    new MprisPlayerAdaptor(this);

    MediaPlayer& player = form_.WindowsMediaPlayer1;
    connect(&player, &MediaPlayer::mediaChanged, this, &MprisService::scheduleRefresh);
    connect(&player, &MediaPlayer::playStateChanged, this, &MprisService::scheduleRefresh);
    connect(&player, &MediaPlayer::durationChanged, this, &MprisService::scheduleRefresh);
    connect(&player, &MediaPlayer::rateChanged, this, &MprisService::scheduleRefresh);
    connect(&player, &MediaPlayer::volumeChanged, this, &MprisService::scheduleRefresh);
    connect(&form_, &TAMainForm::transportChanged, this, &MprisService::scheduleRefresh);
    connect(&player, &MediaPlayer::seeked, this, [this](double seconds) {
        Q_EMIT seeked(mpris::ToMicroseconds(seconds));
        scheduleRefresh();
    });
}

MprisService::~MprisService() {
    if (!published_) return;
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
    last_ = snapshot();
    published_ = true;
    return true;
}

// ---- What the adaptors read ----------------------------------------------------------------

QString MprisService::currentLocation() const {
    return form_.MediaPath;
}

bool MprisService::playing() const {
    return form_.WindowsMediaPlayer1.playState() == PlayStates::Playing;
}

mpris::PlayerSnapshot MprisService::snapshot() {
    const MediaPlayer& player = form_.WindowsMediaPlayer1;
    const QString location = currentLocation();
    const double duration = location.isEmpty() ? 0.0 : player.duration();
    const QString title =
        form_.MediaName.isEmpty() ? QFileInfo(location).fileName() : form_.MediaName;
    mpris::PlayerSnapshot now;
    now.playbackStatus = mpris::PlaybackStatusFor(player.playState());
    now.rate = player.rate();
    now.volume = mpris::VolumeToBus(player.volume());
    now.metadata = mpris::MetadataFor(tracks_.idFor(location), location, title, duration);
    now.canPlay = now.canPause = !location.isEmpty();
    now.canSeek = !location.isEmpty() && duration > 0;
    return now;
}

qint64 MprisService::position() const {
    if (currentLocation().isEmpty()) return 0;
    return mpris::ToMicroseconds(form_.WindowsMediaPlayer1.currentPosition());
}

QDBusObjectPath MprisService::currentTrackId() {
    return tracks_.idFor(currentLocation());
}

// ---- Commands ------------------------------------------------------------------------------

void MprisService::playPause() {
    form_.guard([this] { form_.PlayPause(); });
}

void MprisService::play() {
    form_.guard([this] {
        if (!playing()) form_.PlayPause();
    });
}

void MprisService::pause() {
    form_.guard([this] {
        if (playing()) form_.PlayPause();
    });
}

// There is no stopped state the window could show; stopping is pausing.
void MprisService::stop() {
    pause();
}

void MprisService::seek(qint64 offsetMicroseconds) {
    if (currentLocation().isEmpty()) return;
    const MediaPlayer& player = form_.WindowsMediaPlayer1;
    const mpris::SeekTarget target =
        mpris::RelativeSeek(player.currentPosition(), player.duration(), offsetMicroseconds);
    if (target.kind == mpris::SeekTarget::SeekTo) {
        seekTo(target.seconds);
    } else if (target.kind == mpris::SeekTarget::PauseAtEnd) {
        form_.guard([this] {
            if (!playing()) return;
            form_.WindowsMediaPlayer1.pause();
            form_.PlayState();
        });
    }
}

void MprisService::setPosition(const QDBusObjectPath& trackId, qint64 positionMicroseconds) {
    if (currentLocation().isEmpty()) return;
    const mpris::SeekTarget target = mpris::AbsoluteSeek(
        form_.WindowsMediaPlayer1.duration(), positionMicroseconds, trackId == currentTrackId());
    if (target.kind == mpris::SeekTarget::SeekTo) seekTo(target.seconds);
}

void MprisService::seekTo(double seconds) {
    form_.guard([&] {
        form_.WindowsMediaPlayer1.setCurrentPosition(seconds);
        // Show the new place at once, as dragging the position bar does; while paused nothing
        // else would.
        const double position = form_.WindowsMediaPlayer1.currentPosition();
        form_.ProgressBarTimePosition->setPosition(static_cast<int>(std::trunc(position)));
        const QString text = Time2HHMMSS(position);
        form_.DisplayProgressBarTime(text);
        form_.LabelPlayTime->setText(text);
    });
}

void MprisService::setRate(double rate) {
    const mpris::RateRequest request = mpris::InterpretRate(rate);
    if (request.kind == mpris::RateRequest::Pause) {
        pause();
    } else if (request.kind == mpris::RateRequest::Speed) {
        // As a speed step does: the chosen speed becomes the one in effect and the one the
        // one-touch switch returns to.
        form_.guard([&] {
            form_.SetSpeed = request.speed;
            form_.CurrentSpeed = request.speed;
            form_.SetSpeedActive = true;
            form_.WindowsMediaPlayer1.setRate(request.speed);
            form_.DisplayProgressSpeed(FormatSpeed(request.speed));
        });
        scheduleRefresh();
    }
}

void MprisService::setVolume(double volume) {
    const auto value = mpris::VolumeFromBus(volume);
    if (!value) return;
    // As dragging the volume bar does.
    form_.guard([&] {
        form_.ProgressBarVolume->setPosition(*value);
        form_.WindowsMediaPlayer1.setVolume(*value);
        form_.CurrentVolume = *value;
        form_.DisplayProgressVolume(QString::number(*value));
    });
    scheduleRefresh();
}

void MprisService::raise() {
    form_.show();
    form_.raise();
    form_.activateWindow();
}

void MprisService::quit() {
    // A dialog waits for the user; closing under it would leave it without its window.
    if (QApplication::activeModalWidget()) return;
    // After the reply: closing waits for the player and would hold the caller meanwhile.
    QTimer::singleShot(0, this,
                       [this] { form_.guard([this] { form_.ToolBarMPCotrol05ExitClick(); }); });
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
            QTimer::singleShot(0, this, [this, address = target.location] {
                form_.guard([&] { openWebAddress(address); });
            });
            return {};
        case mpris::OpenTarget::LocalFile:
            // Opening waits and runs the event loop; doing it after the reply keeps the caller
            // from waiting and this call from being re-entered.
            QTimer::singleShot(0, this, [this, path = target.location] {
                form_.guard([&] { form_.DropFiles({path}); });
            });
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
