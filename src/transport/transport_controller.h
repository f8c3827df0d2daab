#pragma once

#include <QObject>
#include <QString>
#include <cmath>
#include <functional>

#include "transport/tick_timer.h"

class Clock;
class EntryGate;
class MediaPlayer;
class QTimer;

namespace TransportTexts {
// The refusal of the speed switch for a media whose rate cannot change.
inline const QString RateRefused =
    QStringLiteral("Ｗａｖ形式でも、この音声データは\n\n再生速度を変更できません");
}  // namespace TransportTexts

// Owns what is playing and how: the open media, the remembered and repeat positions, speed,
// volume, the skip steps and the transport timers. The window, the desktop media interface, the
// hotkeys and the pedal all ask it; it reports what to show by signals, emitted at the moment the
// shown value changes so that a player error part-way leaves the display as far as it got.
// Player errors (PlayerError) are not caught here: they end the request at the failing call.
class TransportController : public QObject {
    Q_OBJECT
public:
    TransportController(MediaPlayer& player, Clock& clock, QObject* parent = nullptr);

    MediaPlayer& player() { return player_; }
    // Runs each timer tick; the session passes its error guard so that a player error in a tick
    // ends with the standard error box. The timers are named (objectName) after their job.
    using TickRunner = ::TickRunner;
    void setTickRunner(TickRunner runner) { runTick_ = std::move(runner); }

    // ---- The open media ------------------------------------------------------------------
    const QString& mediaPath() const { return mediaPath_; }
    const QString& mediaName() const { return mediaName_; }
    const QString& mediaUrl() const { return mediaUrl_; }
    // What the settings file remembers: the media (path and name) and the web address.
    void rememberMedia(const QString& path);
    void setMediaUrl(const QString& address) { mediaUrl_ = address; }
    double savedPosition() const { return savedPosition_; }
    // A value that is no position (negative, not a number) counts as none.
    void setSavedPosition(double seconds) {
        savedPosition_ = std::isfinite(seconds) && seconds > 0 ? seconds : 0;
    }
    // Whole seconds of the media as the position bar counts them; 0 until known.
    int mediaLength() const { return mediaLength_; }
    // The length in the player's "MM:SS" form, whole seconds; what the time picker may not
    // exceed.
    int durationSeconds() const { return durationSeconds_; }
    // The position last shown while playing, in whole seconds.
    int shownSeconds() const { return shownSeconds_; }
    double polledDuration() const { return polledDuration_; }

    bool isPlaying() const;
    double position() const;
    double duration() const;
    // The length as a time code, by way of the player's "MM:SS" form; empty while no existing
    // file is open. Reading it also puts it on the position bar.
    QString durationText();

    // ---- Opening ---------------------------------------------------------------------------
    // Stops and closes what is open before another file is chosen, then waits 100 ms (not
    // when nothing was open).
    void closeMedia();
    // Opens a media file: loads it paused and muted, shows its length as soon as the player knows
    // it and starts the position poll. An empty path does nothing.
    void open(const QString& path);
    // Plays a web address as it stands; the position poll is left as it is.
    void openWebAddress(const QString& address);
    // At start-up: lets go of a remembered file that is gone or is a folder. Done again by
    // restoreAtStartUp().
    void forgetMissingMedia();
    // At start-up: opens the remembered file again and goes back to the remembered position.
    void restoreAtStartUp();
    // The end of start-up: normal speed with the switch off, and the position poll running.
    void finishStartUp();
    // Forgets the open media (the reset); clearRemembered() also the remembered place.
    void forgetMedia();
    void clearRemembered();
    // Sets every value back to what a new window starts with, and the player to the start.
    void initialize();

    // ---- Play and pause ----------------------------------------------------------------
    // Play/pause with the automatic rewind (keyboard, pedal, desktop media interface).
    void playPause();
    // The toolbar button: a plain toggle, without rewind; forgets a file that has vanished.
    void togglePlay();
    // A click on the position bar: a plain toggle that also ends repeat and skips.
    void togglePlayFromBar();
    void pauseIfPlaying();
    // Shows the play state, speed and volume the player has now; ends continuous skips.
    void refreshPlayState();
    bool playToggled() const { return playToggled_; }
    void setPlayToggled(bool toggled) { playToggled_ = toggled; }

    // ---- Repeat ------------------------------------------------------------------------------
    double repeatPosition() const { return repeatPosition_; }
    void setRepeatPosition(double seconds) { repeatPosition_ = seconds; }
    // Restarts at the repeat position and keeps doing so every repeat interval.
    void replay();
    void stopRepeat();
    int repeatInterval() const { return repeatInterval_; }
    void chooseRepeatInterval(int item);
    // The time picker's set button: goes to the given second and repeats from there; a time
    // past the length is refused with a message.
    void seekAndRepeat(long long seconds);

    // ---- Rewind and skips --------------------------------------------------------------
    double rewindSeconds() const { return rewindSeconds_; }
    void chooseRewind(int item);
    double forwardStep() const { return forwardStep_; }
    double rewindStep() const { return rewindStep_; }
    void chooseForwardStep(int item);
    void chooseRewindStep(int item);
    // Continuous skipping: +1 forward, -1 back, one step each second until stopped, the start
    // or the end.
    void startSkip(int direction);
    void stopSkip();

    // ---- Speed ---------------------------------------------------------------------------------
    double chosenSpeed() const { return chosenSpeed_; }
    bool speedSwitchOn() const { return speedSwitchOn_; }
    // A row of the speed table becomes the chosen speed, in effect at once; chooseSpeed() also
    // shows it.
    void loadSpeedChoice(int index);
    void chooseSpeed(int index);
    // Forgets the chosen speed (the reset).
    void resetChosenSpeed() { chosenSpeed_ = 1.0; }
    // The one-touch switch between 1.0 and the chosen speed; refused with a message when the
    // media's rate cannot change.
    void toggleSpeedSwitch();
    // The switch alone, for a caller that has asked about the rate in its own way (the hotkey).
    void flipSpeedSwitch();
    // A speed from outside (a speed step, the desktop): chosen, in effect and switched on.
    void setRate(double rate, bool showText = true);

    // ---- Volume --------------------------------------------------------------------------------
    int volume() const { return volume_; }
    // Start-up: the remembered volume, clamped to what the player takes.
    void loadVolume(int volume);
    // The one way the volume is set: player, bar, text.
    void setVolume(int volume);
    // The keyboard and pedal counter: steps by one, wrapping 100 → 5 and 5 → 100.
    int keyVolume() const { return keyVolume_; }
    void stepVolume(int step);

    // ---- Position
    // -------------------------------------------------------------------------------- Goes to a
    // position and shows it at once, playing or not.
    void seek(double seconds);

    // ---- Timers --------------------------------------------------------------------------------
    void startPositionPoll();
    void stopPositionPoll();
    void stopAllTimers();
    // Timer ticks, public so that tests can step them on a fake clock.
    void pollPosition();
    void finishLengthProbe();
    void restorePosition();
    void repeatTick();
    void forwardSkipTick();
    void rewindSkipTick();

    // Waits while the window keeps processing events; the gate, if given, is shut meanwhile.
    void wait(int ms);
    void setEntryGate(EntryGate* gate) { gate_ = gate; }

Q_SIGNALS:
    // Opening: before the player is asked, once the name is shown and where the index belongs.
    void aboutToLoad(const QString& path);
    void loadShown(const QString& positionText);
    void indexFileNeeded(const QString& mediaPath);
    void mediaCleared();
    void mediaOpened();
    void lengthProbed(const QString& durationText);
    // The position bar: its length, its value, its text, or (positionShown) all three and the
    // time label.
    void lengthChanged(int seconds);
    void positionBarChanged(int value);
    void positionTextChanged(const QString& text);
    void positionShown(int barValue, const QString& text);
    void speedTextChanged(const QString& text);
    void volumeTextChanged(const QString& text);
    void volumeBarChanged(int value);
    void playingChanged(bool playing);
    // A message for the user (the window shows it in a box).
    void messageRequested(const QString& text);
    // Anything an outside observer (the desktop media interface) shows may have changed.
    void changed();

private:
    void load(const QString& path);
    // Shows the length once the player reports it (the label and the bar's maximum).
    void showKnownLength();
    // Runs work from a player signal through the tick runner (the session's error guard).
    void runGuarded(const std::function<void()>& work);
    void showPosition(double seconds);
    void restartAtRepeatPosition();

    MediaPlayer& player_;
    Clock& clock_;
    TickRunner runTick_;
    EntryGate* gate_ = nullptr;

    QString mediaPath_, mediaName_, mediaUrl_;
    double savedPosition_ = 0;
    double repeatPosition_ = 0;
    int mediaLength_ = 0;
    int durationSeconds_ = 0;
    int shownSeconds_ = 0;
    double polledDuration_ = 0;
    double rewindSeconds_ = 3.0;
    int repeatInterval_ = 2000;
    double chosenSpeed_ = 1.0;
    bool speedSwitchOn_ = false;
    int volume_ = 50;
    int keyVolume_ = 50;
    double forwardStep_ = 5.0, rewindStep_ = 5.0;
    bool playToggled_ = false;

    QTimer* restoreTimer_;
    QTimer* lengthProbeTimer_;
    QTimer* positionPollTimer_;
    QTimer* repeatTimer_;
    QTimer* forwardSkipTimer_;
    QTimer* rewindSkipTimer_;
};
