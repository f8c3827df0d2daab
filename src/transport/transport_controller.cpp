// Opening, the length probe, the restore at start-up and the position poll. Play, repeat, speed,
// volume and skips are in transport_commands.cpp.

#include "transport/transport_controller.h"

#include <QFileInfo>
#include <QTimer>
#include <cmath>

#include "core/entry_gate.h"
#include "core/file_name.h"
#include "core/time_code.h"
#include "core/timing_trace.h"
#include "transport/clock.h"
#include "transport/media_player.h"
#include "transport/transport_tables.h"

TransportController::TransportController(MediaPlayer& player, Clock& clock, QObject* parent)
    : QObject(parent), player_(player), clock_(clock) {
    restoreTimer_ =
        makeTickTimer(this, "restoreTimer", 3000, runTick_, &TransportController::restorePosition);
    lengthProbeTimer_ = makeTickTimer(this, "lengthProbeTimer", 1000, runTick_,
                                      &TransportController::finishLengthProbe);
    positionPollTimer_ =
        makeTickTimer(this, "positionPollTimer", 500, runTick_, &TransportController::pollPosition);
    forwardSkipTimer_ = makeTickTimer(this, "forwardSkipTimer", 1000, runTick_,
                                      &TransportController::forwardSkipTick);
    rewindSkipTimer_ = makeTickTimer(this, "rewindSkipTimer", 1000, runTick_,
                                     &TransportController::rewindSkipTick);
    repeatTimer_ =
        makeTickTimer(this, "repeatTimer", 2000, runTick_, &TransportController::repeatTick);
    // The player knows a file's length as soon as it has opened it; the probe's second is only
    // the latest moment to show it.
    connect(&player_, &MediaPlayer::durationChanged, this, [this](double seconds) {
        if (seconds > 0) runGuarded([this] { showKnownLength(); });
    });
    // The open leaves the player paused, so playing during the probe is the user's doing: the
    // probe ends there, with the sound on, rather than pausing them a moment later.
    connect(&player_, &MediaPlayer::playStateChanged, this, [this](MediaPlayer::PlayState state) {
        if (state == PlayState::Playing && lengthProbeTimer_->isActive())
            runGuarded([this] { finishLengthProbe(); });
    });
}

void TransportController::runGuarded(const std::function<void()>& work) {
    if (runTick_)
        runTick_(work);
    else
        work();
}

void TransportController::initialize() {
    mediaUrl_.clear();
    mediaPath_.clear();
    mediaName_.clear();
    savedPosition_ = polledPosition_ = 0;
    durationSeconds_ = 0;
    repeatInterval_ = 2000;
    repeatTimer_->setInterval(repeatInterval_);
    rewindSeconds_ = 3.0;
    speedSwitchOn_ = false;
    chosenSpeed_ = currentSpeed_ = 1.0;
    speedIndex_ = 2;
    keyVolume_ = volume_ = 50;
    player_.setCurrentPosition(0);
}

void TransportController::rememberMedia(const QString& path) {
    mediaPath_ = path;
    mediaName_ = QFileInfo(path).fileName();
}

void TransportController::wait(int ms) {
    if (!gate_) return clock_.waitProcessingEvents(ms);
    const EntryGate::Wait shut(*gate_);
    clock_.waitProcessingEvents(ms);
}

bool TransportController::isPlaying() const {
    return player_.playState() == PlayState::Playing;
}

double TransportController::position() const {
    return player_.currentPosition();
}

double TransportController::duration() const {
    return player_.duration();
}

namespace {
bool namesExistingFile(const QString& path) {
    return !path.isEmpty() && fileExists(path);
}
}  // namespace

QString TransportController::durationText() {
    if (!namesExistingFile(mediaPath_)) return {};
    const QString text = player_.durationString();
    const double length = player_.duration();
    mediaLength_ = WholeSeconds(length);
    Q_EMIT lengthChanged(mediaLength_);
    if (text.isEmpty()) return {};
    const auto code = PlayerStringToTimeCode(text);
    if (!code) return {};
    durationSeconds_ = WholeSeconds(static_cast<double>(code->seconds));
    return code->text;
}

QString TransportController::positionText() const {
    if (!namesExistingFile(mediaPath_)) return {};
    const QString text = player_.currentPositionString();
    if (text.isEmpty()) return {};
    const auto code = PlayerStringToTimeCode(text);
    return code ? code->text : QString();
}

// ---- Opening ---------------------------------------------------------------------------------

void TransportController::closeMedia() {
    // With nothing open (the first file of a run) there is nothing to let go of and wait for.
    const bool hadMedia = !player_.URL().isEmpty();
    if (isPlaying()) {
        player_.stop();
        player_.setCurrentPosition(0);
    }
    player_.close();
    if (hadMedia) wait(100);
}

void TransportController::open(const QString& path) {
    wavMode_ = false;
    if (path.isEmpty()) return;
    forgetMedia();
    rememberMedia(path);
    // A new file starts at its beginning, and says so from the first moment.
    savedPosition_ = 0;
    player_.setURL(mediaPath_);
    load(mediaPath_);
    shownSeconds_ = 0;
    Q_EMIT mediaOpened();
    Q_EMIT changed();
}

void TransportController::openWebAddress(const QString& address) {
    stopRepeat();
    stopSkip();
    forgetMedia();
    mediaName_.clear();
    mediaUrl_ = address;
    player_.setURL(address);
    player_.play();
    refreshPlayState();
}

void TransportController::load(const QString& path) {
    lengthProbeTimer_->stop();  // the probe of a file left behind
    Q_EMIT aboutToLoad(path);
    player_.setURL(mediaPath_);
    Q_EMIT loadShown(Time2HHMMSS(savedPosition_));
    Q_EMIT speedTextChanged(QStringLiteral("1.0"));
    Q_EMIT volumeTextChanged(QStringLiteral("50"));
    Q_EMIT indexFileNeeded(path);

    player_.setMute(true);
    player_.setURL(path);
    // A player still loading in the background would start once it has; paused now, it loads
    // paused and the probe leaves the position where the open puts it (the start, or the saved
    // position on a restore) instead of a second further on.
    if (const PlayState state = player_.playState();
        state == PlayState::Playing || state == PlayState::Transitioning) {
        player_.pause();
        player_.setCurrentPosition(0);
    }
    lengthProbeTimer_->start();
    positionPollTimer_->start();
}

void TransportController::restoreAtStartUp() {
    if (!mediaPath_.isEmpty() && savedPosition_ > 0)
        wavMode_ = QFileInfo(mediaPath_).suffix().toLower() == QLatin1String("wav");
    if (mediaPath_.isEmpty()) return;
    // A folder of that name is no recording either (the player would take it for a playlist).
    if (!fileExists(mediaPath_) || isFolder(mediaPath_)) {
        mediaPath_.clear();
        return;
    }
    load(mediaPath_);
    // A position beyond the end (a damaged or foreign settings file) goes to the end.
    if (const double length = player_.duration(); length > 0 && savedPosition_ > length)
        savedPosition_ = length;
    restoreTimer_->start();
    Q_EMIT lengthChanged(mediaLength_);
    shownSeconds_ = WholeSeconds(savedPosition_);
    Q_EMIT positionBarChanged(shownSeconds_);
    player_.setCurrentPosition(savedPosition_);
    Q_EMIT volumeBarChanged(player_.volume());
}

void TransportController::finishStartUp() {
    player_.setRate(1.0);
    positionPollTimer_->start();
    speedSwitchOn_ = false;
}

void TransportController::forgetMedia() {
    mediaPath_.clear();
    player_.setCurrentPosition(0);
    Q_EMIT mediaCleared();
}

void TransportController::clearRemembered() {
    mediaPath_.clear();
    mediaName_.clear();
    mediaUrl_.clear();
    savedPosition_ = 0;
    Q_EMIT changed();
}

void TransportController::finishLengthProbe() {
    Q_EMIT lengthProbed(durationText());
    lengthProbeTimer_->stop();
    // No pause here: the open has paused the player, and playing now was asked for.
    player_.setMute(false);
    durationText();
    Q_EMIT changed();
}

void TransportController::showKnownLength() {
    if (mediaPath_.isEmpty() || player_.URL() != mediaPath_) return;
    const QString text = durationText();
    if (text.isEmpty()) return;
    timing::mark("length");
    Q_EMIT lengthProbed(text);
    Q_EMIT changed();
}

void TransportController::restorePosition() {
    restoreTimer_->stop();
    Q_EMIT lengthChanged(mediaLength_);
    shownSeconds_ = WholeSeconds(savedPosition_);
    Q_EMIT positionBarChanged(shownSeconds_);
    positionPollTimer_->start();
}

// ---- Position ----------------------------------------------------------------------------------

void TransportController::pollPosition() {
    if (!isPlaying()) return;
    int seconds = 0;
    QString text;
    if (!wavMode_) {
        polledPosition_ = player_.currentPosition();
        polledDuration_ = player_.duration();
        shownSeconds_ = WholeSeconds(player_.currentPosition());
        seconds = shownSeconds_;
        text = Time2HHMMSS(shownSeconds_);
    } else {
        seconds = WholeSeconds(player_.currentPosition());
        text = positionText();
    }
    Q_EMIT positionShown(seconds, text);
}

void TransportController::showPosition(double seconds) {
    Q_EMIT positionShown(WholeSeconds(seconds), Time2HHMMSS(seconds));
}

void TransportController::seek(double seconds) {
    player_.setCurrentPosition(seconds);
    // Show the new place at once; while paused nothing else would.
    showPosition(player_.currentPosition());
}

void TransportController::startPositionPoll() {
    positionPollTimer_->start();
}

void TransportController::stopPositionPoll() {
    positionPollTimer_->stop();
}

void TransportController::stopAllTimers() {
    for (QTimer* timer : {restoreTimer_, lengthProbeTimer_, positionPollTimer_, forwardSkipTimer_,
                          rewindSkipTimer_, repeatTimer_})
        timer->stop();
}
