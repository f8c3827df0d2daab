#include "app/mpris_adaptors.h"

#include <QDBusError>

#include "app/mpris_logic.h"
#include "app/mpris_service.h"

MprisRootAdaptor::MprisRootAdaptor(MprisService* service)
    : QDBusAbstractAdaptor(service), service_(*service) {}

QStringList MprisRootAdaptor::supportedUriSchemes() const {
    return mpris::SupportedUriSchemes();
}

QStringList MprisRootAdaptor::supportedMimeTypes() const {
    return mpris::SupportedMimeTypes();
}

void MprisRootAdaptor::Raise() {
    service_.raise();
}

void MprisRootAdaptor::Quit(const QDBusMessage& message) {
    const QString error = service_.quit();
    if (error.isEmpty()) return;
    message.setDelayedReply(true);
    service_.bus().send(
        message.createErrorReply(QDBusError::errorString(QDBusError::Failed), error));
}

MprisPlayerAdaptor::MprisPlayerAdaptor(MprisService* service)
    : QDBusAbstractAdaptor(service), service_(*service) {
    connect(service, &MprisService::seeked, this, &MprisPlayerAdaptor::Seeked);
}

QString MprisPlayerAdaptor::playbackStatus() const {
    return service_.snapshot().playbackStatus;
}

double MprisPlayerAdaptor::rate() const {
    return service_.snapshot().rate;
}

void MprisPlayerAdaptor::setRate(double rate) {
    service_.setRate(rate);
}

double MprisPlayerAdaptor::minimumRate() const {
    return mpris::kMinimumRate;
}

double MprisPlayerAdaptor::maximumRate() const {
    return mpris::kMaximumRate;
}

QVariantMap MprisPlayerAdaptor::metadata() const {
    return service_.snapshot().metadata;
}

double MprisPlayerAdaptor::volume() const {
    return service_.snapshot().volume;
}

void MprisPlayerAdaptor::setVolume(double volume) {
    service_.setVolume(volume);
}

qlonglong MprisPlayerAdaptor::position() const {
    return service_.position();
}

bool MprisPlayerAdaptor::canPlay() const {
    return service_.snapshot().canPlay;
}

bool MprisPlayerAdaptor::canPause() const {
    return service_.snapshot().canPause;
}

bool MprisPlayerAdaptor::canSeek() const {
    return service_.snapshot().canSeek;
}

void MprisPlayerAdaptor::Pause() {
    service_.pause();
}

void MprisPlayerAdaptor::PlayPause() {
    service_.playPause();
}

void MprisPlayerAdaptor::Stop() {
    service_.stop();
}

void MprisPlayerAdaptor::Play() {
    service_.play();
}

void MprisPlayerAdaptor::Seek(qlonglong Offset) {
    service_.seek(Offset);
}

void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath& TrackId, qlonglong Position) {
    service_.setPosition(TrackId, Position);
}

void MprisPlayerAdaptor::OpenUri(const QString& Uri, const QDBusMessage& message) {
    const MprisService::OpenResult result = service_.openUri(Uri);
    if (result.errorName.isEmpty()) return;
    message.setDelayedReply(true);
    service_.bus().send(message.createErrorReply(result.errorName, result.error));
}
