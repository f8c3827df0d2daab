#pragma once

// What the desktop media interface (MPRIS 2) says and accepts, apart from the bus and the window.

#include <QDBusObjectPath>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <optional>

#include "transport/media_player.h"

namespace mpris {

inline constexpr auto kServiceName = "org.mpris.MediaPlayer2.scribo";
inline constexpr auto kObjectPath = "/org/mpris/MediaPlayer2";
inline constexpr auto kRootInterface = "org.mpris.MediaPlayer2";
inline constexpr auto kPlayerInterface = "org.mpris.MediaPlayer2.Player";
inline constexpr auto kNoTrack = "/org/mpris/MediaPlayer2/TrackList/NoTrack";

// Every speed the keyboard steps, the speed table and the one-touch switch can reach.
inline constexpr double kMinimumRate = 0.4;
inline constexpr double kMaximumRate = 3.0;

// "Playing", "Paused", or "Stopped" for every other state (nothing open, loading, ended).
QString PlaybackStatusFor(MediaPlayer::PlayState playState);

// A written Rate: 0 asks for a pause, anything else becomes a speed within the reachable range;
// NaN is ignored.
struct RateRequest {
    enum Kind { Ignore, Pause, Speed } kind = Ignore;
    double speed = 1.0;
};
RateRequest InterpretRate(double rate);

// Volume 0.0..1.0 on the bus, 0..100 in the window; a written value is clamped, NaN ignored.
std::optional<int> VolumeFromBus(double volume);
double VolumeToBus(int volume);

qint64 ToMicroseconds(double seconds);
double FromMicroseconds(qint64 microseconds);

// Where a seek lands. Past the end the player pauses where it is, as the forward skip does;
// before the start it goes to the start.
struct SeekTarget {
    enum Kind { Ignore, SeekTo, PauseAtEnd } kind = Ignore;
    double seconds = 0;
};
SeekTarget RelativeSeek(double position, double duration, qint64 offsetMicroseconds);
// SetPosition: ignored for another track and for a position outside 0..duration.
SeekTarget AbsoluteSeek(double duration, qint64 positionMicroseconds, bool sameTrack);

// The MIME types of the media extension table, for the desktop entry and SupportedMimeTypes.
QStringList MimeTypesForExtension(const QString& extension);
QStringList SupportedMimeTypes();
QStringList SupportedUriSchemes();

// What OpenUri (or the command line) is asked to open: a local file, a web address, or nothing
// usable (error says why).
struct OpenTarget {
    enum Kind { Invalid, LocalFile, WebAddress } kind = Invalid;
    QString location;  // absolute path or the address as given
    QString error;
};
// file: URIs and absolute paths are local files; http and https are web addresses. A local file
// must exist, not be a folder, and have a media extension.
OpenTarget ParseOpenUri(const QString& uri);
// The same checks for a path that is known to be local.
OpenTarget CheckLocalFile(const QString& absolutePath);

// Hands out track ids: a new one whenever the open media changes to another location.
class TrackIds {
public:
    QDBusObjectPath idFor(const QString& location);

private:
    QString location_;
    int serial_ = 0;
};

// The Metadata map. An empty location gives the map of "no track".
QVariantMap MetadataFor(const QDBusObjectPath& trackId, const QString& location,
                        const QString& title, double durationSeconds);

// The player properties that announce their changes.
struct PlayerSnapshot {
    QString playbackStatus;
    double rate = 1.0;
    double volume = 0.5;
    QVariantMap metadata;
    bool canPlay = false;
    bool canPause = false;
    bool canSeek = false;
};
// The properties (by bus name) whose values differ, with their new values.
QVariantMap ChangedProperties(const PlayerSnapshot& before, const PlayerSnapshot& after);

}  // namespace mpris
