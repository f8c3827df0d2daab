#include "app/mpris_logic.h"

#include <QDir>
#include <QHash>
#include <QUrl>
#include <algorithm>
#include <cmath>

#include "core/file_name.h"
#include "transport/media_files.h"
#include "transport/media_player.h"

namespace mpris {

QString PlaybackStatusFor(MediaPlayer::PlayState playState) {
    switch (playState) {
        case PlayState::Playing:
            return QStringLiteral("Playing");
        case PlayState::Paused:
            return QStringLiteral("Paused");
        default:
            return QStringLiteral("Stopped");
    }
}

RateRequest InterpretRate(double rate) {
    if (std::isnan(rate)) return {};
    if (rate == 0.0) return {RateRequest::Pause, 0.0};
    return {RateRequest::Speed, std::clamp(rate, kMinimumRate, kMaximumRate)};
}

std::optional<int> VolumeFromBus(double volume) {
    if (std::isnan(volume)) return std::nullopt;
    return static_cast<int>(std::lround(std::clamp(volume, 0.0, 1.0) * 100.0));
}

double VolumeToBus(int volume) {
    return std::clamp(volume, 0, 100) / 100.0;
}

qint64 ToMicroseconds(double seconds) {
    if (!std::isfinite(seconds) || seconds <= 0) return 0;
    return std::llround(seconds * 1e6);
}

double FromMicroseconds(qint64 microseconds) {
    return static_cast<double>(microseconds) / 1e6;
}

SeekTarget RelativeSeek(double position, double duration, qint64 offsetMicroseconds) {
    if (duration <= 0) return {};
    const double target = position + FromMicroseconds(offsetMicroseconds);
    if (target > duration) return {SeekTarget::PauseAtEnd, position};
    return {SeekTarget::SeekTo, std::max(0.0, target)};
}

SeekTarget AbsoluteSeek(double duration, qint64 positionMicroseconds, bool sameTrack) {
    if (!sameTrack || duration <= 0 || positionMicroseconds < 0) return {};
    const double target = FromMicroseconds(positionMicroseconds);
    if (target > duration) return {};
    return {SeekTarget::SeekTo, target};
}

QStringList MimeTypesForExtension(const QString& extension) {
    static const QHash<QString, QStringList> kTypes = {
        {QStringLiteral(".wmv"), {QStringLiteral("video/x-ms-wmv")}},
        {QStringLiteral(".mpg"), {QStringLiteral("video/mpeg")}},
        {QStringLiteral(".wav"), {QStringLiteral("audio/x-wav"), QStringLiteral("audio/wav")}},
        {QStringLiteral(".wma"), {QStringLiteral("audio/x-ms-wma")}},
        {QStringLiteral(".mp3"), {QStringLiteral("audio/mpeg")}},
        {QStringLiteral(".mp4"), {QStringLiteral("video/mp4")}},
        {QStringLiteral(".m4a"), {QStringLiteral("audio/mp4"), QStringLiteral("audio/x-m4a")}},
        {QStringLiteral(".aac"), {QStringLiteral("audio/aac"), QStringLiteral("audio/x-aac")}},
        {QStringLiteral(".3gp"), {QStringLiteral("video/3gpp"), QStringLiteral("audio/3gpp")}},
        {QStringLiteral(".3gpp"), {QStringLiteral("video/3gpp"), QStringLiteral("audio/3gpp")}},
        {QStringLiteral(".3gp2"), {QStringLiteral("video/3gpp2"), QStringLiteral("audio/3gpp2")}},
        {QStringLiteral(".3g2"), {QStringLiteral("video/3gpp2"), QStringLiteral("audio/3gpp2")}},
        {QStringLiteral(".mov"), {QStringLiteral("video/quicktime")}},
    };
    const QString lower = extension.toLower();
    if (kTypes.contains(lower)) return kTypes.value(lower);
    for (const FurtherMediaType& type : FurtherMediaTypes())
        if (type.extension == lower) return type.mimeTypes;
    return {};
}

QStringList SupportedMimeTypes() {
    QStringList types;
    QStringList extensions(kMediaExtensions.begin(), kMediaExtensions.end());
    for (const FurtherMediaType& type : FurtherMediaTypes())
        extensions << type.extension;
    for (const QString& extension : extensions)
        for (const QString& type : MimeTypesForExtension(extension))
            if (!types.contains(type)) types << type;
    return types;
}

QStringList SupportedUriSchemes() {
    return {QStringLiteral("file"), QStringLiteral("http"), QStringLiteral("https")};
}

OpenTarget CheckLocalFile(const QString& absolutePath) {
    const QString path = QDir::cleanPath(absolutePath);
    if (!fileExists(path)) return {OpenTarget::Invalid, path, QStringLiteral("no such file")};
    if (isFolder(path)) return {OpenTarget::Invalid, path, QStringLiteral("a folder, not a file")};
    if (!IsMediaFileName(path))
        return {OpenTarget::Invalid, path, QStringLiteral("not a media file")};
    return {OpenTarget::LocalFile, path, {}};
}

OpenTarget ParseOpenUri(const QString& uri) {
    const QString text = uri.trimmed();
    if (text.startsWith(QLatin1Char('/'))) return CheckLocalFile(text);
    const QUrl url(text);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || scheme.isEmpty())
        return {OpenTarget::Invalid, text, QStringLiteral("not an address")};
    if (scheme == QLatin1String("file")) {
        // Only this machine's files: a file URI naming another host cannot be reached.
        if (!url.host().isEmpty() && url.host() != QLatin1String("localhost"))
            return {OpenTarget::Invalid, text, QStringLiteral("a file on another machine")};
        return CheckLocalFile(localFileFromUri(url));
    }
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https")) {
        if (url.host().isEmpty()) return {OpenTarget::Invalid, text, QStringLiteral("no host")};
        return {OpenTarget::WebAddress, text, {}};
    }
    return {OpenTarget::Invalid, text, QStringLiteral("unsupported address scheme ") + scheme};
}

QDBusObjectPath TrackIds::idFor(const QString& location) {
    if (location.isEmpty()) return QDBusObjectPath(QString::fromLatin1(kNoTrack));
    if (serial_ == 0 || location != location_) {
        location_ = location;
        ++serial_;
    }
    return QDBusObjectPath(QStringLiteral("/org/scribo/Track/%1").arg(serial_));
}

QVariantMap MetadataFor(const QDBusObjectPath& trackId, const QString& location,
                        const QString& title, double durationSeconds) {
    QVariantMap map;
    map.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(trackId));
    if (location.isEmpty()) return map;
    map.insert(QStringLiteral("xesam:url"), location.startsWith(QLatin1Char('/'))
                                                ? localFileUri(location)
                                                : QUrl(location).toString(QUrl::FullyEncoded));
    map.insert(QStringLiteral("xesam:title"), title);
    if (const qint64 length = ToMicroseconds(durationSeconds); length > 0)
        map.insert(QStringLiteral("mpris:length"), length);
    return map;
}

QVariantMap ChangedProperties(const PlayerSnapshot& before, const PlayerSnapshot& after) {
    QVariantMap changed;
    if (after.playbackStatus != before.playbackStatus)
        changed.insert(QStringLiteral("PlaybackStatus"), after.playbackStatus);
    if (after.rate != before.rate) changed.insert(QStringLiteral("Rate"), after.rate);
    if (after.volume != before.volume) changed.insert(QStringLiteral("Volume"), after.volume);
    if (after.metadata != before.metadata)
        changed.insert(QStringLiteral("Metadata"), after.metadata);
    if (after.canPlay != before.canPlay) changed.insert(QStringLiteral("CanPlay"), after.canPlay);
    if (after.canPause != before.canPause)
        changed.insert(QStringLiteral("CanPause"), after.canPause);
    if (after.canSeek != before.canSeek) changed.insert(QStringLiteral("CanSeek"), after.canSeek);
    return changed;
}

}  // namespace mpris
