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
    savedPosition_ = 0;
    durationSeconds_ = 0;
    repeatInterval_ = 2000;
    repeatTimer_->setInterval(repeatInterval_);
    rewindSeconds_ = 3.0;
    speedSwitchOn_ = false;
    chosenSpeed_ = 1.0;
    keyVolume_ = volume_ = 50;
    player_.setPosition(0);
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
    return player_.position();
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
    const double length = player_.duration();
    mediaLength_ = WholeSeconds(length);
    Q_EMIT lengthChanged(mediaLength_);
    if (length <= 0) return {};
    // The time code is read from the player's "MM:SS" form, whole seconds as the WAV rule counts
    // them.
    const auto code = PlayerStringToTimeCode(playerTimeString(length));
    if (!code) return {};
    durationSeconds_ = WholeSeconds(static_cast<double>(code->seconds));
    return code->text;
}

// ---- Opening ---------------------------------------------------------------------------------

void TransportController::closeMedia() {
    // With nothing open (the first file of a run) there is nothing to let go of and wait for.
    const bool hadMedia = !player_.address().isEmpty();
    if (isPlaying()) {
        player_.stop();
        player_.setPosition(0);
    }
    player_.close();
    if (hadMedia) wait(100);
}

void TransportController::open(const QString& path) {
    if (path.isEmpty()) return;
    forgetMedia();
    rememberMedia(path);
    // A new file starts at its beginning, and says so from the first moment.
    savedPosition_ = 0;
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
    player_.open(address);
    player_.play();
    refreshPlayState();
}

void TransportController::load(const QString& path) {
    lengthProbeTimer_->stop();  // the probe of a file left behind
    Q_EMIT aboutToLoad(path);
    Q_EMIT loadShown(TimeCodeText(savedPosition_));
    Q_EMIT speedTextChanged(QStringLiteral("1.0"));
    Q_EMIT volumeTextChanged(QStringLiteral("50"));
    Q_EMIT indexFileNeeded(path);

    player_.setMuted(true);
    // Not played: the probe leaves the position where the open puts it (the start, or the saved
    // position on a restore).
    player_.open(path);
    lengthProbeTimer_->start();
    positionPollTimer_->start();
}

void TransportController::forgetMissingMedia() {
    // A folder of that name is no recording either (the player would take it for a playlist).
    if (!mediaPath_.isEmpty() && (!fileExists(mediaPath_) || isFolder(mediaPath_)))
        mediaPath_.clear();
}

void TransportController::restoreAtStartUp() {
    forgetMissingMedia();
    if (mediaPath_.isEmpty()) return;
    load(mediaPath_);
    // A position beyond the end (a damaged or foreign settings file) goes to the end.
    if (const double length = player_.duration(); length > 0 && savedPosition_ > length)
        savedPosition_ = length;
    restoreTimer_->start();
    Q_EMIT lengthChanged(mediaLength_);
    shownSeconds_ = WholeSeconds(savedPosition_);
    Q_EMIT positionBarChanged(shownSeconds_);
    player_.setPosition(savedPosition_);
    Q_EMIT volumeBarChanged(player_.volume());
}

void TransportController::finishStartUp() {
    player_.setRate(1.0);
    positionPollTimer_->start();
    speedSwitchOn_ = false;
}

void TransportController::forgetMedia() {
    mediaPath_.clear();
    player_.setPosition(0);
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
    player_.setMuted(false);
    durationText();
    Q_EMIT changed();
}

void TransportController::showKnownLength() {
    if (mediaPath_.isEmpty() || player_.address() != mediaPath_) return;
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
    polledDuration_ = player_.duration();
    shownSeconds_ = WholeSeconds(player_.position());
    Q_EMIT positionShown(shownSeconds_, TimeCodeText(shownSeconds_));
}

void TransportController::showPosition(double seconds) {
    Q_EMIT positionShown(WholeSeconds(seconds), TimeCodeText(seconds));
}

void TransportController::seek(double seconds) {
    player_.setPosition(seconds);
    // Show the new place at once; while paused nothing else would.
    showPosition(player_.position());
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
