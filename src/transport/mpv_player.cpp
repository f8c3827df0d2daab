#include "transport/mpv_player.h"

#include <mpv/client.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <QByteArray>
#include <QLoggingCategory>
#include <QMetaObject>
#include <QPointer>
#include <QSocketNotifier>
#include <algorithm>
#include <clocale>
#include <cmath>
#include <utility>
#include <vector>

#include "core/file_name.h"
#include "core/timing_trace.h"
#include "transport/mpv_library.h"
#include "transport/mpv_names.h"

namespace {

bool isWebAddress(const QString& url) {
    return url.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
           url.startsWith(QLatin1String("https://"), Qt::CaseInsensitive);
}

Q_LOGGING_CATEGORY(lcPlayer, "scribo.player", QtInfoMsg)

// time-pos may read a hair below an exact seek target once playback has resumed from it.
constexpr double kSeekSlack = 0.001;
constexpr qint64 kSeekAssumedDoneMs = 1000;
constexpr double kMinRate = 0.01, kMaxRate = 100.0;  // mpv's speed limits

[[noreturn]] void fail(const QString& attempt, int status) {
    throw PlayerError(QStringLiteral("%1: %2")
                          .arg(attempt, QString::fromUtf8(mpv_error_string(status)))
                          .toStdString());
}

QString name(const char* n) {
    return QString::fromLatin1(n);
}

}  // namespace

// An event copied out of mpv's buffer: a signal emitted while handling it may re-enter the
// drain loop, which reuses that buffer.
struct MpvPlayer::Event {
    mpv_event_id id = MPV_EVENT_NONE;
    QByteArray property;
    std::optional<double> value;  // a flag as 0/1, or a double; nullopt: unavailable
    int endReason = 0;
    int error = 0;
    qint64 entry = -1;
    qint64 insertedEntry = 0;  // the first entry a playlist put in its place
    QString text;
};

MpvPlayer::MpvPlayer(const MpvOptions& extraOptions, QObject* parent)
    : MediaPlayer(parent), extraOptions_(extraOptions) {
    start();
}

MpvPlayer::MpvPlayer(StartLater, const MpvOptions& extraOptions, QObject* parent)
    : MediaPlayer(parent), extraOptions_(extraOptions) {}

void MpvPlayer::start() {
    if (handle_) return;
    if (const QString error = MpvLibrary::load(); !error.isEmpty())
        throw PlayerError(error.toStdString());
    // mpv_create() refuses any LC_NUMERIC but "C".
    std::setlocale(LC_NUMERIC, "C");
    handle_ = mpv_create();
    if (!handle_) throw PlayerError("Cannot start the media player: mpv_create failed");

    const QByteArray volume = QByteArray::number(volumeBeforeStart_);
    const QByteArray speed = QByteArray::number(rateBeforeStart_, 'g', 17);
    try {
        using namespace mpvname;
        // The library's defaults suit a command-line player, not one embedded in a window.
        const std::pair<const char*, const char*> defaults[] = {
            {kYtdl, kNo},
            {kLoadScripts, kNo},
            {kKeepOpen, kYes},  // the end of a file pauses there instead of unloading it
            {kHrSeek, kYes},
            // An exact seek starts decoding MP3 at the target itself, and the decoder, lacking
            // the frames before it, plays silence fading in for 40-65 ms (128 kbit/s) to 330 ms
            // (8 kbit/s) after every rewind. Starting half a second earlier covers the bit
            // reservoir at any bit rate, for about 0.6 ms more per seek.
            {"hr-seek-demuxer-offset", "0.5"},
            // PulseAudio's default 100 ms buffer wakes mpv some 390 times a second; 500 ms
            // cuts what playing costs by two fifths. A volume or speed step drops the buffer (see
            // heardPosition()), and a pause corks the stream at once whatever its length.
            {kPulseBuffer, "500"},
            {kAudioFallbackToNull, kYes},  // without it, no sound device ends every file at once
            {kAudioClientName, "Scribo"},
            // FFmpeg takes any certificate unless told; with this it checks the name and the
            // system's trusted authorities (GnuTLS finds them itself).
            {kTlsVerify, kYes},
            {kOsc, kNo},
            // mpv's built-in stats, console and auto-profile scripts: nothing here can show or
            // use them, and their Lua interpreters cost 4 MiB and 50 ms of CPU at start-up.
            {"load-stats-overlay", kNo},
            {"load-osd-console", kNo},
            {"load-auto-profiles", kNo},
            {kInputDefaultBindings, kNo},
            {kInputVoKeyboard, kNo},
            {kInputCursor, kNo},
            {kCursorAutohide, kNo},
            {kTerminal, kNo},
            {kConfig, kNo},
            {kIdle, kYes},
            {kVolume, volume.constData()},
            {kSpeed, speed.constData()},
            {kMute, mutedBeforeStart_ ? kYes : kNo},
        };
        for (const auto& [option, value] : defaults) {
            const int rc = mpv_set_option_string(handle_, option, value);
            // An option this mpv was built without has nothing to switch off.
            if (rc < 0 && rc != MPV_ERROR_OPTION_NOT_FOUND)
                fail(QStringLiteral("Cannot set the player option %1").arg(name(option)), rc);
        }
        for (const auto& [option, value] : extraOptions_) {
            if (option == name(kVo)) fixedVideoOutput_ = value;
            const int rc = mpv_set_option_string(handle_, option.toUtf8().constData(),
                                                 value.toUtf8().constData());
            if (rc < 0)
                fail(QStringLiteral("Cannot set the player option %1=%2").arg(option, value), rc);
        }
        // Without a window to draw into, mpv would open one of its own for a video.
        if (fixedVideoOutput_.isEmpty()) {
            videoOutput_ = name(kNullOutput);
            const int rc = mpv_set_option_string(handle_, kVo, kNullOutput);
            if (rc < 0) fail(QStringLiteral("Cannot set the player option vo"), rc);
        }
        if (const int rc = mpv_initialize(handle_); rc < 0)
            fail(QStringLiteral("Cannot start the media player"), rc);

        mpv_request_log_messages(handle_, "warn");
        const std::pair<const char*, mpv_format> observed[] = {
            {kPause, MPV_FORMAT_FLAG},      {kEofReached, MPV_FORMAT_FLAG},
            {kIdleActive, MPV_FORMAT_FLAG}, {kDuration, MPV_FORMAT_DOUBLE},
            {kSpeed, MPV_FORMAT_DOUBLE},    {kVolume, MPV_FORMAT_DOUBLE},
        };
        for (const auto& [property, format] : observed)
            if (const int rc = mpv_observe_property(handle_, 0, property, format); rc < 0)
                fail(QStringLiteral("Cannot observe the player property %1").arg(name(property)),
                     rc);
    } catch (...) {
        mpv_terminate_destroy(handle_);
        handle_ = nullptr;
        throw;
    }

    // The wakeup callback runs on one of mpv's threads. It touches no Qt object: it only adds
    // to an eventfd, which the GUI thread watches; a batch of wakeups is read there as one.
    // (ThreadSanitizer also sees this hand-over, which Qt's own locks hide from it.)
    wakeupFd_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (wakeupFd_ < 0) {
        mpv_terminate_destroy(handle_);
        handle_ = nullptr;
        throw PlayerError("Cannot start the media player: no event descriptor");
    }
    wakeupNotifier_ = new QSocketNotifier(wakeupFd_, QSocketNotifier::Read, this);
    connect(wakeupNotifier_, &QSocketNotifier::activated, this, [this] {
        eventfd_t count = 0;
        ::eventfd_read(wakeupFd_, &count);
        drainEvents();
    });
    mpv_set_wakeup_callback(
        handle_, [](void* fd) { ::eventfd_write(*static_cast<const int*>(fd), 1); }, &wakeupFd_);
    seekWatch_ = std::make_unique<MpvSeekWatch>(handle_);
    if (windowBeforeStart_) setVideoWindow(windowBeforeStart_);
}

MpvPlayer::~MpvPlayer() {
    if (!handle_) return;
    // Once this returns no callback runs any more; calls already queued die with this object.
    mpv_set_wakeup_callback(handle_, nullptr, nullptr);
    mpv_terminate_destroy(handle_);
    delete wakeupNotifier_;
    ::close(wakeupFd_);
}

// ---- Operations --------------------------------------------------------------------------

void MpvPlayer::open(const QString& address) {
    start();
    if (address.isEmpty()) {
        close();
        return;
    }
    setFlag(mpvname::kPause, true);  // loads paused; playing is the caller's play()
    if (address == address_ && media_ == Media::Loading && entryId_ >= 0) {
        // An address still opening is not opened again: each full open in mpv costs a format
        // probe and a stream analysis, and would end in the same place.
        stopped_ = false;
        pendingStart_.reset();
        seekTarget_.reset();
        emit mediaChanged();
        notifyChanges();
        return;
    }
    address_ = address;
    media_ = Media::Loading;
    entryId_ = -1;
    stopped_ = false;
    pendingStart_.reset();
    seekTarget_.reset();
    restartSeen_ = false;

    // A local file plays its own content only: a playlist, an EDL or an HLS list named like
    // media would otherwise make the player open the files and web addresses it lists.
    const bool web = isWebAddress(address);
    setString(mpvname::kAccessReferences, QString::fromLatin1(web ? mpvname::kYes : mpvname::kNo));
    // FFmpeg's concat demuxer ignores the setting above and opens what an ffconcat text lists,
    // FIFOs included; with no protocol allowed, such a list fails to load instead.
    setString(mpvname::kLavfOptions,
              web ? QString() : QString::fromLatin1(mpvname::kNoNestedOpens));

    // A local name goes to mpv as the very bytes it has on disk.
    const QByteArray target = fileNameToBytes(address);
    const char* args[] = {mpvname::kLoadfile, target.constData(), mpvname::kReplace, nullptr};
    mpv_node result;
    const int rc = mpv_command_ret(handle_, args, &result);
    if (rc >= 0) {
        if (result.format == MPV_FORMAT_NODE_MAP) {
            const mpv_node_list* map = result.u.list;
            for (int i = 0; i < map->num; ++i)
                if (qstrcmp(map->keys[i], mpvname::kPlaylistEntryId) == 0 &&
                    map->values[i].format == MPV_FORMAT_INT64)
                    entryId_ = map->values[i].u.int64;
        }
        mpv_free_node_contents(&result);
    } else {
        media_ = Media::Failed;
    }
    emit mediaChanged();
    notifyChanges();
    if (rc < 0) fail(QStringLiteral("Cannot open \"%1\"").arg(address), rc);
}

MediaPlayer::PlayState MpvPlayer::playState() const {
    switch (media_) {
        case Media::None:
        case Media::Failed:
            return PlayState::Undefined;
        case Media::Loading:
            return PlayState::Transitioning;
        case Media::Ended:
            return stopped_ ? PlayState::Stopped : PlayState::MediaEnded;
        case Media::Loaded:
            break;
    }
    if (stopped_) return PlayState::Stopped;
    // A seek on its way leaves the end, whatever mpv still says.
    if (!seekPending() && getFlag(mpvname::kEofReached).value_or(false))
        return PlayState::MediaEnded;
    return getFlag(mpvname::kPause).value_or(false) ? PlayState::Paused : PlayState::Playing;
}

void MpvPlayer::close() {
    if (!handle_) return;  // nothing was ever open
    command({mpvname::kStop}, QStringLiteral("Cannot close the media"));
    const bool hadMedia = !address_.isEmpty() || media_ != Media::None;
    address_.clear();
    media_ = Media::None;
    entryId_ = -1;
    stopped_ = false;
    pendingStart_.reset();
    seekTarget_.reset();
    if (hadMedia) emit mediaChanged();
    notifyChanges();
}

void MpvPlayer::play() {
    switch (media_) {
        case Media::None:
        case Media::Failed:
            return;
        case Media::Ended: {
            // mpv let go of the file at its end: open it again, at a position written since.
            const auto start = pendingStart_;
            open(address_);
            pendingStart_ = start;
            break;
        }
        case Media::Loading:
            break;
        case Media::Loaded:
            if (!seekPending() && getFlag(mpvname::kEofReached).value_or(false)) seekTo(0);
            break;
    }
    setFlag(mpvname::kPause, false);
    stopped_ = false;
    notifyChanges();
}

void MpvPlayer::pause() {
    if (!handle_) return;  // opening pauses
    const bool wasPlaying = playState() == PlayState::Playing;
    // Read while still playing, so that a seek target already passed is let go.
    const double here = wasPlaying ? position() : 0.0;
    setFlag(mpvname::kPause, true);
    // Pin the resume point to what is reported: otherwise time-pos creeps on while mpv's audio
    // buffer settles, and playback resumes a little after the position the window was given.
    if (wasPlaying) seekTo(here);
    notifyChanges();
}

void MpvPlayer::pauseAt(double seconds) {
    if (!std::isfinite(seconds)) throw PlayerError("Cannot seek: the position is not a number");
    if (!fileOpen() || playState() != PlayState::Playing) return MediaPlayer::pauseAt(seconds);
    seconds = std::max(0.0, seconds);
    if (lastDuration_ > 0) seconds = std::min(seconds, lastDuration_);
    // Both reach mpv before anyone is told: the seek is under way while the window catches up.
    setFlag(mpvname::kPause, true);
    seekTo(seconds);
    timing::mark("seek-issued");
    const QPointer<MpvPlayer> self(this);
    emit seeked(seconds);
    if (self) notifyChanges();
}

void MpvPlayer::stop() {
    if (media_ == Media::None || media_ == Media::Failed) return;
    setFlag(mpvname::kPause, true);
    if (fileOpen())
        seekTo(0);
    else
        pendingStart_ = 0.0;
    stopped_ = true;
    notifyChanges();
}

double MpvPlayer::position() const {
    if (media_ == Media::Ended) return pendingStart_.value_or(endedDuration_);
    if (!fileOpen()) return pendingStart_.value_or(0.0);
    if (seekTarget_) {
        // Should nobody run the event loop, a seek is long done by now.
        if (!restartSeen_ && seekClock_.hasExpired(kSeekAssumedDoneMs)) restartSeen_ = true;
        if (!restartSeen_) return *seekTarget_;
        if (getFlag(mpvname::kEofReached).value_or(false)) {
            seekTarget_.reset();
        } else if (getFlag(mpvname::kPause).value_or(true)) {
            return *seekTarget_;
        } else {
            const double position = getDouble(mpvname::kTimePos).value_or(*seekTarget_);
            if (position < *seekTarget_ - kSeekSlack) return *seekTarget_;
            seekTarget_.reset();
            return position;
        }
    }
    return getDouble(mpvname::kTimePos).value_or(0.0);
}

void MpvPlayer::setPosition(double seconds) {
    if (!std::isfinite(seconds)) throw PlayerError("Cannot seek: the position is not a number");
    // A negative absolute seek counts from the end in mpv.
    seconds = std::max(0.0, seconds);
    if (!fileOpen()) {
        pendingStart_ = seconds;
        return;
    }
    if (const auto length = getDouble(mpvname::kDuration); length && *length > 0)
        seconds = std::min(seconds, *length);
    seekTo(seconds);
    QPointer<MpvPlayer> self(this);
    emit seeked(seconds);
    if (self) notifyChanges();
}

bool MpvPlayer::canChangeRate() const {
    return fileOpen();
}

double MpvPlayer::rate() const {
    if (!handle_) return rateBeforeStart_;
    return getDouble(mpvname::kSpeed).value_or(1.0);
}

void MpvPlayer::setRate(double value) {
    if (!(value >= kMinRate && value <= kMaxRate))
        throw PlayerError(QStringLiteral("Cannot set the speed to %1: outside %2 to %3")
                              .arg(value)
                              .arg(kMinRate)
                              .arg(kMaxRate)
                              .toStdString());
    if (!handle_) {
        rateBeforeStart_ = value;
        return;
    }
    const auto restartAt = value != rate() ? heardPosition() : std::nullopt;
    setDouble(mpvname::kSpeed, value);
    if (restartAt) seekTo(*restartAt);
}

int MpvPlayer::volume() const {
    if (!handle_) return volumeBeforeStart_;
    return std::clamp(static_cast<int>(std::lround(getDouble(mpvname::kVolume).value_or(0.0))), 0,
                      100);
}

void MpvPlayer::setVolume(int value) {
    value = std::clamp(value, 0, 100);
    if (!handle_) {
        volumeBeforeStart_ = value;
        return;
    }
    const auto restartAt = value != volume() ? heardPosition() : std::nullopt;
    setDouble(mpvname::kVolume, value);
    if (restartAt) seekTo(*restartAt);
}

bool MpvPlayer::isMuted() const {
    if (!handle_) return mutedBeforeStart_;
    return getFlag(mpvname::kMute).value_or(false);
}

void MpvPlayer::setMuted(bool value) {
    if (!handle_) {
        mutedBeforeStart_ = value;
        return;
    }
    const auto restartAt = value != isMuted() ? heardPosition() : std::nullopt;
    setFlag(mpvname::kMute, value);
    if (restartAt) seekTo(*restartAt);
}

// The audio output holds a long buffer (pulse-buffer above), mixed at the volume and speed of
// the moment. A step restarts playback where it is heard, which drops that buffer: heard at
// once, not after the buffer has played out. audio-pts is worked out when read, from the
// output's delay; time-pos lags by as long as mpv has slept, and a restart there repeats audio.
// A web stream is left alone: a seek there fetches again and may not be possible at all.
std::optional<double> MpvPlayer::heardPosition() const {
    if (playState() != PlayState::Playing || seekPending() || isWebAddress(address_))
        return std::nullopt;
    return getDouble(mpvname::kAudioPts);
}

double MpvPlayer::duration() const {
    if (media_ == Media::Ended) return endedDuration_;
    if (!fileOpen()) return 0.0;
    return getDouble(mpvname::kDuration).value_or(0.0);
}

void MpvPlayer::setVideoWindow(quintptr windowId) {
    if (!handle_) {
        windowBeforeStart_ = windowId;
        return;
    }
    auto wid = windowId ? static_cast<int64_t>(windowId) : int64_t{-1};
    if (const int rc = mpv_set_property(handle_, mpvname::kWid, MPV_FORMAT_INT64, &wid); rc < 0)
        fail(QStringLiteral("Cannot attach the video window"), rc);
    const bool moved = windowId != videoWindow_;
    videoWindow_ = windowId;
    if (!fixedVideoOutput_.isEmpty() || !moved) return;
    // Switching outputs re-creates a running video output in the new window (or none); going
    // through "null" does so when the output stays the same.
    const QString output = name(windowId ? mpvname::kEmbeddableOutputs : mpvname::kNullOutput);
    if (output == videoOutput_ && windowId) setString(mpvname::kVo, name(mpvname::kNullOutput));
    setString(mpvname::kVo, output);
    videoOutput_ = output;
}

// ---- Events ------------------------------------------------------------------------------

void MpvPlayer::drainEvents() {
    const QPointer<MpvPlayer> self(this);
    while (self && handle_) {
        const mpv_event* raw = mpv_wait_event(handle_, 0);
        if (raw->event_id == MPV_EVENT_NONE) break;
        Event event;
        event.id = raw->event_id;
        event.error = raw->error;
        switch (raw->event_id) {
            case MPV_EVENT_PROPERTY_CHANGE: {
                const auto* property = static_cast<const mpv_event_property*>(raw->data);
                event.property = property->name;
                if (property->format == MPV_FORMAT_FLAG)
                    event.value = *static_cast<const int*>(property->data) ? 1.0 : 0.0;
                else if (property->format == MPV_FORMAT_DOUBLE)
                    event.value = *static_cast<const double*>(property->data);
                break;
            }
            case MPV_EVENT_START_FILE:
                event.entry =
                    static_cast<const mpv_event_start_file*>(raw->data)->playlist_entry_id;
                break;
            case MPV_EVENT_END_FILE: {
                const auto* end = static_cast<const mpv_event_end_file*>(raw->data);
                event.endReason = end->reason;
                event.error = end->error;
                event.entry = end->playlist_entry_id;
                event.insertedEntry = end->playlist_insert_id;
                break;
            }
            case MPV_EVENT_LOG_MESSAGE: {
                const auto* message = static_cast<const mpv_event_log_message*>(raw->data);
                event.text = QStringLiteral("%1: %2").arg(
                    QString::fromUtf8(message->prefix), QString::fromUtf8(message->text).trimmed());
                break;
            }
            default:
                break;
        }
        // Called from the event loop: nothing may escape to Qt.
        try {
            handleEvent(event);
        } catch (const std::exception& e) {
            qCWarning(lcPlayer) << "while handling" << mpv_event_name(event.id) << ":" << e.what();
        }
    }
}

void MpvPlayer::handleEvent(const Event& event) {
    const QPointer<MpvPlayer> self(this);
    switch (event.id) {
        case MPV_EVENT_START_FILE:
            startedEntry_ = event.entry;
            break;
        case MPV_EVENT_FILE_LOADED:
            if (media_ == Media::Loading && startedEntry_ == entryId_) {
                media_ = Media::Loaded;
                if (const auto start = std::exchange(pendingStart_, std::nullopt);
                    start && *start > 0)
                    seekTo(std::min(*start, getDouble(mpvname::kDuration).value_or(*start)));
            }
            break;
        case MPV_EVENT_END_FILE:
            if (event.entry != entryId_ || entryId_ < 0) break;
            if (event.endReason == MPV_END_FILE_REASON_REDIRECT && event.insertedEntry > 0) {
                // A web playlist gives way to its first entry, which is the media from now on.
                entryId_ = event.insertedEntry;
            } else if (event.endReason == MPV_END_FILE_REASON_ERROR) {
                media_ = Media::Failed;
                seekTarget_.reset();
                // mpv would go on to a playlist's next entry under the failure box. Should the
                // stop fail, the failure being reported is still the one to tell.
                const char* stop[] = {mpvname::kStop, nullptr};
                mpv_command(handle_, stop);
                emit errorOccurred(
                    QStringLiteral("Cannot play \"%1\": %2")
                        .arg(address_, QString::fromUtf8(mpv_error_string(event.error))));
            } else if (event.endReason == MPV_END_FILE_REASON_EOF && media_ == Media::Loaded) {
                endedDuration_ = lastDuration_;
                seekTarget_.reset();
                media_ = Media::Ended;
            }
            break;
        case MPV_EVENT_VIDEO_RECONFIG:
            // Once a video has been shown, the output stays for the files after it: making it
            // anew at every video costs some 1 MB a time that the GL driver never gives back.
            // Until then an audio-only session never pays for an output at all.
            if (!videoOutputKept_ && videoWindow_ && fixedVideoOutput_.isEmpty()) {
                videoOutputKept_ = true;
                setString(mpvname::kForceWindow, QString::fromLatin1(mpvname::kYes));
            }
            break;
        case MPV_EVENT_PLAYBACK_RESTART:
            if (seekTarget_) {
                restartSeen_ = true;
                timing::mark("seek-done");
            }
            break;
        case MPV_EVENT_PROPERTY_CHANGE:
            if (!event.value) break;
            if (event.property == mpvname::kSpeed)
                emit rateChanged(*event.value);
            else if (event.property == mpvname::kVolume)
                emit volumeChanged(std::clamp(static_cast<int>(std::lround(*event.value)), 0, 100));
            break;
        case MPV_EVENT_LOG_MESSAGE:
            qCDebug(lcPlayer).noquote() << event.text;
            break;
        default:
            break;
    }
    if (self) notifyChanges();
}

void MpvPlayer::notifyChanges() {
    const QPointer<MpvPlayer> self(this);
    if (const PlayState state = playState(); state != lastState_) {
        lastState_ = state;
        emit playStateChanged(state);
        if (!self) return;
    }
    if (const double length = duration(); length != lastDuration_) {
        lastDuration_ = length;
        emit durationChanged(length);
    }
}

// ---- mpv calls ---------------------------------------------------------------------------

void MpvPlayer::command(std::initializer_list<const char*> args, const QString& attempt) {
    std::vector<const char*> argv(args);
    argv.push_back(nullptr);
    if (const int rc = mpv_command(handle_, argv.data()); rc < 0) fail(attempt, rc);
}

void MpvPlayer::seekTo(double seconds) {
    const QByteArray target = QByteArray::number(seconds, 'f', 6);
    command({mpvname::kSeek, target.constData(), mpvname::kAbsoluteExact},
            QStringLiteral("Cannot seek to %1 s").arg(QString::fromLatin1(target)));
    seekTarget_ = seconds;
    restartSeen_ = false;
    seekClock_.start();
}

void MpvPlayer::setFlag(const char* property, bool value) {
    int flag = value ? 1 : 0;
    if (const int rc = mpv_set_property(handle_, property, MPV_FORMAT_FLAG, &flag); rc < 0)
        fail(QStringLiteral("Cannot set %1 to %2").arg(name(property), name(value ? "yes" : "no")),
             rc);
}

void MpvPlayer::setDouble(const char* property, double value) {
    if (const int rc = mpv_set_property(handle_, property, MPV_FORMAT_DOUBLE, &value); rc < 0)
        fail(QStringLiteral("Cannot set %1 to %2").arg(name(property)).arg(value), rc);
}

void MpvPlayer::setString(const char* property, const QString& value) {
    const QByteArray text = value.toUtf8();
    if (const int rc = mpv_set_property_string(handle_, property, text.constData()); rc < 0)
        fail(QStringLiteral("Cannot set %1 to %2").arg(name(property), value), rc);
}

std::optional<bool> MpvPlayer::getFlag(const char* property) const {
    int flag = 0;
    const int rc = mpv_get_property(handle_, property, MPV_FORMAT_FLAG, &flag);
    if (rc == MPV_ERROR_PROPERTY_UNAVAILABLE) return std::nullopt;
    if (rc < 0) fail(QStringLiteral("Cannot read %1").arg(name(property)), rc);
    return flag != 0;
}

std::optional<double> MpvPlayer::getDouble(const char* property) const {
    double value = 0;
    const int rc = mpv_get_property(handle_, property, MPV_FORMAT_DOUBLE, &value);
    if (rc == MPV_ERROR_PROPERTY_UNAVAILABLE) return std::nullopt;
    if (rc < 0) fail(QStringLiteral("Cannot read %1").arg(name(property)), rc);
    return value;
}
