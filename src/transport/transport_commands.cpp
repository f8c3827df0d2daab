// Play and pause with the automatic rewind, repeat, speed, volume and the skips.

#include <QTimer>
#include <algorithm>
#include <cmath>

#include "core/file_name.h"
#include "core/time_code.h"
#include "transport/media_player.h"
#include "transport/transport_controller.h"
#include "transport/transport_tables.h"

void TransportController::refreshPlayState() {
    stopSkip();
    Q_EMIT playingChanged(isPlaying());
    Q_EMIT speedTextChanged(FormatSpeed(player_.rate()));
    Q_EMIT volumeTextChanged(QString::number(player_.volume()));
    Q_EMIT changed();
}

void TransportController::playPause() {
    repeatTimer_->stop();
    stopSkip();
    if (mediaPath_.isEmpty()) return;
    if (isPlaying()) {
        playToggled_ = false;
        const double rewound = std::max(0.0, player_.position() - rewindSeconds_);
        player_.pauseAt(rewound);
        refreshPlayState();
        // The poll shows nothing while paused: without this the display would keep the time
        // before the rewind, which the player and a pasted time code no longer say.
        shownSeconds_ = WholeSeconds(rewound);
        Q_EMIT positionShown(shownSeconds_, TimeCodeText(shownSeconds_));
    } else {
        playToggled_ = true;
        player_.play();
        refreshPlayState();
    }
}

void TransportController::togglePlay() {
    repeatTimer_->stop();
    if (mediaPath_.isEmpty()) return;
    if (!fileExists(mediaPath_)) {
        mediaPath_.clear();
        return;
    }
    if (isPlaying())
        player_.pause();
    else
        player_.play();
    refreshPlayState();
}

void TransportController::togglePlayFromBar() {
    repeatTimer_->stop();
    stopSkip();
    if (mediaPath_.isEmpty()) return;
    if (isPlaying())
        player_.pause();
    else
        player_.play();
    refreshPlayState();
}

void TransportController::pauseIfPlaying() {
    if (isPlaying()) player_.pause();
}

// ---- Repeat ------------------------------------------------------------------------------------

void TransportController::restartAtRepeatPosition() {
    if (repeatPosition_ <= 0) return;
    if (isPlaying()) player_.pause();
    player_.setPosition(repeatPosition_);
    player_.play();
}

void TransportController::replay() {
    restartAtRepeatPosition();
    repeatTimer_->start();
    refreshPlayState();
}

void TransportController::repeatTick() {
    restartAtRepeatPosition();
}

void TransportController::stopRepeat() {
    repeatTimer_->stop();
}

void TransportController::chooseRepeatInterval(int item) {
    repeatInterval_ = RepeatIntervalFor(item);
    repeatTimer_->setInterval(repeatInterval_);
}

void TransportController::seekAndRepeat(long long seconds) {
    if (seconds > durationSeconds_) {
        Q_EMIT messageRequested(QStringLiteral("録画・録音時間を超えています"));
        return;
    }
    player_.setPosition(static_cast<double>(seconds));
    repeatPosition_ = static_cast<double>(seconds);
    pauseIfPlaying();
    Q_EMIT positionBarChanged(WholeSeconds(seconds));
    Q_EMIT positionTextChanged(TimeCodeText(static_cast<double>(seconds)));
    replay();
}

// ---- Rewind and skips ----------------------------------------------------------------------

void TransportController::chooseRewind(int item) {
    rewindSeconds_ = AutoBackSecondsFor(item);
}

void TransportController::chooseForwardStep(int item) {
    if (const auto step = PitchFor(item)) forwardStep_ = *step;
}

void TransportController::chooseRewindStep(int item) {
    if (const auto step = PitchFor(item)) rewindStep_ = *step;
}

void TransportController::startSkip(int direction) {
    stopSkip();
    (direction < 0 ? rewindSkipTimer_ : forwardSkipTimer_)->start();
}

void TransportController::stopSkip() {
    rewindSkipTimer_->stop();
    forwardSkipTimer_->stop();
}

void TransportController::rewindSkipTick() {
    const double from = player_.position();
    savedPosition_ = from;
    polledDuration_ = player_.duration();
    const double target = from - rewindStep_;
    if (target <= 0 || target >= polledDuration_) {
        player_.setPosition(0);
        rewindSkipTimer_->stop();
        player_.pause();
        refreshPlayState();
    } else {
        player_.setPosition(target);
    }
    showPosition(player_.position());
}

void TransportController::forwardSkipTick() {
    const double from = player_.position();
    savedPosition_ = from;
    polledDuration_ = player_.duration();
    const double target = from + forwardStep_;
    if (target <= 0 || target >= polledDuration_) {
        forwardSkipTimer_->stop();
        player_.pause();
        refreshPlayState();
    } else {
        player_.setPosition(target);
    }
    showPosition(player_.position());
}

// ---- Speed
// ---------------------------------------------------------------------------------------

void TransportController::loadSpeedChoice(int index) {
    const SpeedChoice choice = SpeedFor(index);
    speedSwitchOn_ = choice.active;
    chosenSpeed_ = choice.speed;
    player_.setRate(choice.speed);
}

void TransportController::chooseSpeed(int index) {
    loadSpeedChoice(index);
    Q_EMIT speedTextChanged(SpeedFor(index).text);
    Q_EMIT changed();
}

void TransportController::toggleSpeedSwitch() {
    if (!player_.canChangeRate()) {
        Q_EMIT messageRequested(TransportTexts::RateRefused);
        return;
    }
    flipSpeedSwitch();
}

void TransportController::flipSpeedSwitch() {
    speedSwitchOn_ = !speedSwitchOn_;
    const double rate = speedSwitchOn_ ? chosenSpeed_ : 1.0;
    player_.setRate(rate);
    Q_EMIT speedTextChanged(speedSwitchOn_ ? FormatSpeed(chosenSpeed_) : QStringLiteral("1.0"));
    Q_EMIT changed();
}

void TransportController::setRate(double rate, bool showText) {
    chosenSpeed_ = rate;
    player_.setRate(rate);
    if (showText) Q_EMIT speedTextChanged(FormatSpeed(rate));
    speedSwitchOn_ = true;
    Q_EMIT changed();
}

// ---- Volume
// ----------------------------------------------------------------------------------------

void TransportController::loadVolume(int volume) {
    // A damaged value must not reach the player later as a volume it cannot take.
    volume_ = std::clamp(volume, 0, 100);
}

void TransportController::setVolume(int volume) {
    Q_EMIT volumeBarChanged(volume);
    player_.setVolume(volume);
    volume_ = volume;
    Q_EMIT volumeTextChanged(QString::number(volume));
    Q_EMIT changed();
}

void TransportController::stepVolume(int step) {
    keyVolume_ = NextKeyVolume(keyVolume_, step);
    player_.setVolume(keyVolume_);
    Q_EMIT volumeBarChanged(player_.volume());
    Q_EMIT volumeTextChanged(QString::number(keyVolume_));
    volume_ = keyVolume_;
    Q_EMIT changed();
}
