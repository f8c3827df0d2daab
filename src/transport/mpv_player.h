#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QPair>
#include <QString>
#include <initializer_list>
#include <memory>
#include <optional>

#include "transport/media_player.h"
#include "transport/mpv_seek_watch.h"

class QSocketNotifier;

struct mpv_handle;

// Options passed to mpv before it starts, after Scribo's own, so they can override them
// (tests pass {"ao","null"}, {"vo","null"}).
using MpvOptions = QList<QPair<QString, QString>>;

// The player backed by libmpv. Everything runs on the GUI thread: mpv's wakeup callback only
// signals an eventfd that the GUI thread watches, and the event queue is drained there.
//
// The constructor resets LC_NUMERIC to "C" for the whole process: libmpv refuses to start
// otherwise (it parses and prints numbers with the C library), and Qt's own number formatting
// does not depend on it. Construct the player after the QApplication, which sets the locale
// from the environment.
//
// Until setVideoWindow() gives it an X11 window, video goes nowhere rather than into a window
// of mpv's own (unless the options name a "vo").
class MpvPlayer final : public MediaPlayer {
    Q_OBJECT
public:
    // Starts mpv at once; throws PlayerError when it cannot.
    explicit MpvPlayer(const MpvOptions& extraOptions = {}, QObject* parent = nullptr);
    // Neither loads libmpv nor starts mpv before start() or the first open(), so that a window
    // can show first. Until then nothing is open: the player answers as an idle one, and keeps
    // the volume, speed, mute and video window it is given for the start.
    struct StartLater {};
    MpvPlayer(StartLater, const MpvOptions& extraOptions = {}, QObject* parent = nullptr);
    ~MpvPlayer() override;
    MpvPlayer(const MpvPlayer&) = delete;
    MpvPlayer& operator=(const MpvPlayer&) = delete;

    // Does nothing once started; throws PlayerError when mpv cannot start (and tries again at
    // the next call).
    void start();

    void open(const QString& address) override;
    QString address() const override { return address_; }
    PlayState playState() const override;
    void close() override;

    void play() override;
    void pause() override;
    void pauseAt(double seconds) override;
    void stop() override;
    double position() const override;
    void setPosition(double seconds) override;

    bool canChangeRate() const override;
    double rate() const override;
    void setRate(double rate) override;
    int volume() const override;
    void setVolume(int volume) override;
    bool isMuted() const override;
    void setMuted(bool muted) override;

    double duration() const override;

    void setVideoWindow(quintptr windowId) override;

private:
    enum class Media { None, Loading, Loaded, Ended, Failed };
    struct Event;

    void drainEvents();
    void handleEvent(const Event& event);
    void notifyChanges();  // emits playStateChanged / durationChanged when they differ
    bool fileOpen() const { return media_ == Media::Loaded; }

    // Low-level calls; each throws PlayerError naming what was attempted.
    void command(std::initializer_list<const char*> args, const QString& attempt);
    void seekTo(double seconds);
    std::optional<double> heardPosition() const;  // where to restart to drop buffered audio
    void setFlag(const char* name, bool value);
    void setDouble(const char* name, double value);
    void setString(const char* name, const QString& value);
    std::optional<bool> getFlag(const char* name) const;  // nullopt: unavailable now
    std::optional<double> getDouble(const char* name) const;
    bool seekPending() const { return seekTarget_ && !restartSeen_; }

    MpvOptions extraOptions_;
    int volumeBeforeStart_ = 50;
    double rateBeforeStart_ = 1.0;
    bool mutedBeforeStart_ = false;
    quintptr windowBeforeStart_ = 0;
    mpv_handle* handle_ = nullptr;
    int wakeupFd_ = -1;
    QSocketNotifier* wakeupNotifier_ = nullptr;
    std::unique_ptr<MpvSeekWatch> seekWatch_;  // the timing trace's; outlives handle_

    QString address_;
    Media media_ = Media::None;
    qint64 entryId_ = -1;       // mpv's playlist entry of address_
    qint64 startedEntry_ = -1;  // the entry mpv is opening or playing
    bool stopped_ = false;
    std::optional<double> pendingStart_;  // a position written while nothing was open

    // mpv reports time-pos short of a seek target while paused (its audio buffer), although
    // playback resumes exactly there; so the target is the position until playback has
    // passed it.
    mutable std::optional<double> seekTarget_;
    mutable bool restartSeen_ = false;  // mpv has finished the seek (or surely has by now)
    QElapsedTimer seekClock_;

    PlayState lastState_ = PlayState::Undefined;
    double lastDuration_ = 0;
    double endedDuration_ = 0;  // the length of a file mpv let go of at its end
    bool videoOutputKept_ = false;
    QString fixedVideoOutput_;  // "vo" given by the caller; empty: chosen by the window
    QString videoOutput_;       // the one in use
    quintptr videoWindow_ = 0;
};
