#include "pedal/pedal_controller.h"

#include <QFileSystemWatcher>
#include <QTimer>
#include <optional>
#include <utility>

#include "core/entry_gate.h"
#include "keyboard/key_state.h"
#include "pedal/pedal_library.h"
#include "pedal/repeat_steps.h"
#include "transport/media_player.h"
#include "transport/transport_controller.h"

namespace {
// Colours of the position text while the pedal skips back and forward.
const QColor kRewindColour(0, 0, 255);
const QColor kForwardColour(128, 0, 0);

std::optional<PedalAction> actionForItem(int item) {
    if (item < 0 || item > 2) return std::nullopt;
    return static_cast<PedalAction>(item + 1);
}
}  // namespace

QString PedalController::statusText(Status status) {
    switch (status) {
        case Status::SwitchedOff:
            return QStringLiteral("フットペダル：使用しない設定です");
        case Status::Connected:
            return QStringLiteral("フットペダル：接続されています");
        case Status::NotConnected:
            break;
    }
    return QStringLiteral("フットペダル：接続されていません");
}

PedalController::PedalController(PedalLibrary& library, TransportController& transport,
                                 KeyState& keys, QString programFolder, QObject* parent)
    : QObject(parent),
      library_(library),
      transport_(transport),
      keys_(keys),
      programFolder_(std::move(programFolder)),
      session_(library) {
    pollTimer_ =
        makeTickTimer(this, "pedalPollTimer", kPollMs, runTick_, &PedalController::pollTick);
    setUpTimer_ = makeTickTimer(this, "pedalSetUpTimer", PedalSession::kSetUpDelayMs, runTick_,
                                &PedalController::finishSetUp);
    setUpTimer_->setSingleShot(true);
    searchTimer_ =
        makeTickTimer(this, "pedalSearchTimer", kSearchMs, runTick_, &PedalController::searchTick);
    searchTimer_->setSingleShot(true);
    speedRepeatTimer_ = makeTickTimer(this, "pedalSpeedRepeatTimer", kRepeatMs, runTick_,
                                      &PedalController::speedRepeatTick);
    volumeRepeatTimer_ = makeTickTimer(this, "pedalVolumeRepeatTimer", kRepeatMs, runTick_,
                                       &PedalController::volumeRepeatTick);
}

// ---- Start-up and shutdown -------------------------------------------------------------------

void PedalController::setUp(bool switchedOff) {
    if (switchedOff) {
        setStatus(Status::SwitchedOff);
        return;
    }
    const PedalSession::Found found = session_.beginSetUp();
    libraryLoaded_ = found != PedalSession::Found::NoLibrary;
    if (!libraryLoaded_)
        Q_EMIT messageRequested(pedalLibraryMissingMessage(library_.libraryName(), programFolder_));
    // The pedal is opened a moment after it was found, by a timer: a wait here would keep the
    // window from showing.
    openPending_ = found == PedalSession::Found::Pedal;
    if (openPending_) setUpTimer_->start();
    statusFromSession();
}

void PedalController::finishSetUp() {
    // A single-shot timer is no longer active in its own tick, hence the flag.
    if (!std::exchange(openPending_, false)) return;
    setUpTimer_->stop();
    session_.finishSetUp();
    statusFromSession();
    followSession();
}

void PedalController::startPolling() {
    if (!libraryLoaded_) return;
    following_ = true;
    if (!deviceWatcher_ && !library_.devicesFolder().isEmpty()) {
        deviceWatcher_ = new QFileSystemWatcher(this);
        deviceWatcher_->addPath(library_.devicesFolder());
        connect(deviceWatcher_, &QFileSystemWatcher::directoryChanged, this,
                &PedalController::devicesChanged);
    }
    followSession();
}

void PedalController::followSession() {
    const bool poll = following_ && session_.state() == PedalSession::State::Ready;
    if (!poll)
        pollTimer_->stop();
    else if (!pollTimer_->isActive())
        pollTimer_->start();
}

void PedalController::devicesChanged() {
    if (!following_ || session_.state() != PedalSession::State::Searching) return;
    searchesLeft_ = kSearches;
    searchTick();
}

void PedalController::searchTick() {
    if (!following_ || session_.state() != PedalSession::State::Searching) return;
    // Inside a wait: try again when the timer comes round.
    if (gateOpen() && session_.lookAgain()) {
        statusFromSession();
        followSession();
        return;
    }
    if (--searchesLeft_ > 0) searchTimer_->start();
}

void PedalController::stopAllTimers() {
    following_ = false;
    openPending_ = false;
    for (QTimer* timer :
         {setUpTimer_, pollTimer_, searchTimer_, speedRepeatTimer_, volumeRepeatTimer_})
        timer->stop();
}

bool PedalController::isPolling() const {
    return pollTimer_->isActive();
}

void PedalController::setStatus(Status status) {
    status_ = status;
    Q_EMIT statusChanged(statusText(status));
}

void PedalController::statusFromSession() {
    setStatus(session_.state() == PedalSession::State::Ready ? Status::Connected
                                                             : Status::NotConnected);
}

// ---- Choices ---------------------------------------------------------------------------------

void PedalController::chooseLeftAction(int item) {
    if (const auto action = actionForItem(item)) settings_.left = *action;
}

void PedalController::chooseCentreAction(int item) {
    if (const auto action = actionForItem(item)) settings_.centre = *action;
}

void PedalController::chooseRightAction(int item) {
    if (const auto action = actionForItem(item)) settings_.right = *action;
}

void PedalController::chooseMode(int item) {
    settings_.mode = item == 0 ? PedalMode::Normal : PedalMode::Switch;
}

void PedalController::setChordsEnabled(bool enabled) {
    settings_.chordsEnabled = enabled;
}

// ---- The poll --------------------------------------------------------------------------------

bool PedalController::gateOpen() const {
    return !gate_ || gate_->isOpen();
}

bool PedalController::mediaOpen() const {
    // The name alone may outlive a remembered file that has vanished.
    return !transport_.mediaName().isEmpty() && !transport_.mediaPath().isEmpty();
}

void PedalController::pollTick() {
    // A report left unread now is read by the next tick after the wait.
    if (!gateOpen()) return;
    const PedalSession::State before = session_.state();
    const bool media = mediaOpen();
    const std::optional<PedalRead> read = session_.tick(media);
    if (session_.state() != before) {
        statusFromSession();
        followSession();
    }
    // Ready after the tick means it read (the pedal may just have been found again).
    if (media && session_.state() == PedalSession::State::Ready) {
        Q_EMIT readResultShown(QString::number(session_.lastResult()));
        if (session_.lastResult() != PedalResults::DeviceGone)
            Q_EMIT readBitsShown(QString::number(session_.lastBits()));
    }
    if (read) handleRead(*read);
}

void PedalController::handleRead(const PedalRead& read) {
    PedalContext context;
    context.switchState = switch_;
    context.playToggled = transport_.playToggled();
    context.playing = transport_.isPlaying();
    context.setSpeed = transport_.chosenSpeed();
    context.heldBits = heldBits_;
    const PedalOutcome outcome = handlePedalReport(settings_, context, read.result, read.bits);

    // Stored first: a tick that runs inside one of the effects' waits must see them.
    switch_ = outcome.switchState;
    transport_.setPlayToggled(outcome.playToggled);
    if (outcome.bits) {
        heldBits_ = *outcome.bits;
        Q_EMIT reportBitsShown(QString::number(*outcome.bits));
        const QString state = pedalStateText(*outcome.bits);
        if (!state.isEmpty()) Q_EMIT pedalStateShown(state);
    }
    if (outcome.action != 0) Q_EMIT actionShown(QString::number(outcome.action));

    for (const PedalEffect& effect : outcome.effects)
        carryOut(effect);
}

void PedalController::carryOut(const PedalEffect& effect) {
    switch (effect.kind) {
        case PedalEffectKind::ReleaseDevice:
            session_.releaseDevice();
            statusFromSession();
            followSession();
            return;
        case PedalEffectKind::Pause:
            transport_.player().pause();
            return;
        case PedalEffectKind::RewindAfterPause:
            if (const auto target =
                    pedalRewindTarget(transport_.position(), transport_.rewindSeconds()))
                transport_.seek(*target);
            return;
        case PedalEffectKind::Play:
            // The refresh that follows shows the speed.
            transport_.setRate(effect.value, false);
            transport_.player().play();
            return;
        case PedalEffectKind::RefreshPlayState:
            skipColoured_ = false;
            transport_.refreshPlayState();
            return;
        case PedalEffectKind::Wait:
            transport_.wait(static_cast<int>(effect.value));
            return;
        case PedalEffectKind::StopSkips:
            // A skip the pedal coloured gives the text its usual colour back.
            if (skipColoured_) {
                skipColoured_ = false;
                transport_.refreshPlayState();
            } else {
                transport_.stopSkip();
            }
            return;
        case PedalEffectKind::StartRewindSkip:
            startSkip(-1);
            return;
        case PedalEffectKind::StartForwardSkip:
            startSkip(1);
            return;
        case PedalEffectKind::StartSpeedRepeat:
            // Already running: keep its rhythm.
            if (!speedRepeatTimer_->isActive()) speedRepeatTimer_->start();
            return;
        case PedalEffectKind::StopSpeedRepeat:
            speedRepeatTimer_->stop();
            return;
        case PedalEffectKind::StartVolumeRepeat:
            if (!volumeRepeatTimer_->isActive()) volumeRepeatTimer_->start();
            return;
        case PedalEffectKind::StopVolumeRepeat:
            volumeRepeatTimer_->stop();
            return;
    }
}

void PedalController::startSkip(int direction) {
    transport_.startSkip(direction);
    skipColoured_ = true;
    Q_EMIT positionTextColorChanged(direction < 0 ? kRewindColour : kForwardColour);
}

// ---- The two-pedal repeats ---------------------------------------------------------------------

bool PedalController::modifierHeld() const {
    return keys_.heldModifiers() != ModifierKeys();
}

bool PedalController::isSpeedRepeating() const {
    return speedRepeatTimer_->isActive();
}

bool PedalController::isVolumeRepeating() const {
    return volumeRepeatTimer_->isActive();
}

void PedalController::speedRepeatTick() {
    if (!gateOpen()) return;
    // Chosen, in effect, shown, and the speed switch on.
    transport_.setRate(pedalSpeedRepeatStep(transport_.chosenSpeed(), modifierHeld()));
}

void PedalController::volumeRepeatTick() {
    if (!gateOpen()) return;
    transport_.stepVolume(modifierHeld() ? -5 : 5);
}
