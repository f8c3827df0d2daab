#pragma once

#include <QObject>
#include <QString>
#include <stdexcept>

// The one error type of player operations. A handler that meets it stops at that call; the
// guard at the handler's entry shows it in the standard error box.
class PlayerError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The hosted player, reduced to exactly the operations the window uses. Times are seconds,
// volume is 0..100, rate 1.0 is normal speed. open() only loads: the media rests paused at its
// start until someone calls play().
//
// The signals are for observers outside the window (the desktop media interface, the player
// view); the window itself polls, as it always has.
class MediaPlayer : public QObject {
    Q_OBJECT
public:
    // Only Playing counts as playing; Transitioning is a load still under way.
    enum class PlayState { Undefined, Stopped, Paused, Playing, MediaEnded, Transitioning, Ready };
    Q_ENUM(PlayState)

    using QObject::QObject;
    ~MediaPlayer() override = default;

    virtual void open(const QString& address) = 0;
    virtual QString address() const = 0;
    virtual PlayState playState() const = 0;
    virtual void close() = 0;

    virtual void play() = 0;
    virtual void pause() = 0;
    virtual void stop() = 0;
    virtual double position() const = 0;
    virtual void setPosition(double seconds) = 0;
    // pause() and then setPosition(seconds). A player may send both on before it tells anyone,
    // so that the seek has started while the observers catch up.
    virtual void pauseAt(double seconds) {
        pause();
        setPosition(seconds);
    }

    // False while nothing is open, and for media whose speed is fixed.
    virtual bool canChangeRate() const = 0;
    virtual double rate() const = 0;
    virtual void setRate(double rate) = 0;
    virtual int volume() const = 0;
    virtual void setVolume(int volume) = 0;
    virtual bool isMuted() const = 0;
    virtual void setMuted(bool muted) = 0;

    // 0 while unknown.
    virtual double duration() const = 0;

    // Where video is drawn (a native window id); 0 detaches. Players without video ignore it.
    virtual void setVideoWindow(quintptr /*windowId*/) {}

Q_SIGNALS:
    void playStateChanged(MediaPlayer::PlayState state);
    void mediaChanged();  // a new address was opened or the media closed
    void durationChanged(double seconds);
    void seeked(double seconds);
    void rateChanged(double rate);
    void volumeChanged(int volume);
    void errorOccurred(const QString& message);  // loading or playing failed
};

using PlayState = MediaPlayer::PlayState;

// "MM:SS", or "HH:MM:SS" from one hour on, of whole seconds.
QString playerTimeString(double seconds);
