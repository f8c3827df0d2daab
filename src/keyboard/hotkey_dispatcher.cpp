#include "keyboard/hotkey_dispatcher.h"

#include "core/clipboard.h"
#include "core/entry_gate.h"
#include "core/time_code.h"
#include "index/index_commands.h"
#include "keyboard/clipboard_time_code.h"

#include <QTimer>
#include "keyboard/keystroke_output.h"
#include "transport/media_player.h"
#include "transport/transport_controller.h"

HotkeyDispatcher::HotkeyDispatcher(TransportController& transport, IndexCommands& index,
                                   Clipboard& clipboard, KeystrokeOutput& keystrokes,
                                   EntryGate& gate, QObject* parent)
    : QObject(parent),
      transport_(transport),
      index_(index),
      clipboard_(clipboard),
      keystrokes_(keystrokes),
      gate_(gate) {
    // The typist is looking at the document, not at us: say so on the status line, never in a
    // box that would take the keyboard away from the editor.
    connect(&keystrokes_, &KeystrokeOutput::pasteAbandoned, this, [this] {
        // The code stays for the typist to paste by hand.
        pastedCode_.clear();
        Q_EMIT statusTextChanged(PasteAbandonedText);
    });

    // The document asks for the clipboard's text when it handles the paste, a moment after
    // the keys; the typist's own text comes back once it surely has.
    clipboardReturnTimer_ = new QTimer(this);
    clipboardReturnTimer_->setObjectName(QStringLiteral("clipboardReturnTimer"));
    clipboardReturnTimer_->setSingleShot(true);
    clipboardReturnTimer_->setInterval(kClipboardReturnMs);
    connect(&keystrokes_, &KeystrokeOutput::pasted, this, [this] {
        if (!pastedCode_.isEmpty()) clipboardReturnTimer_->start();
    });
    connect(clipboardReturnTimer_, &QTimer::timeout, this, [this] {
        // Something copied since is the typist's newer text: it stays.
        if (clipboard_.text() == pastedCode_) {
            if (typistClipboard_.isEmpty())
                clipboard_.clear();
            else
                clipboard_.setText(typistClipboard_);
        }
        pastedCode_.clear();
    });
}

void HotkeyDispatcher::dispatch(HotkeyCommand command) {
    if (!gate_.isOpen()) return;
    switch (command) {
        case HotkeyCommand::PlayPause:
            return playPause();
        case HotkeyCommand::VolumeUp:
            return stepVolume(+1);
        case HotkeyCommand::VolumeDown:
            return stepVolume(-1);
        case HotkeyCommand::SpeedUp:
            return stepSpeed(SpeedStep::Up);
        case HotkeyCommand::SpeedDown:
            return stepSpeed(SpeedStep::Down);
        case HotkeyCommand::WideSpeedUp:
            return stepSpeed(SpeedStep::WideUp);
        case HotkeyCommand::WideSpeedDown:
            return stepSpeed(SpeedStep::WideDown);
        case HotkeyCommand::ToggleSpeed:
            return toggleSpeed();
        case HotkeyCommand::SetRepeatPosition:
            return setRepeatPosition();
        case HotkeyCommand::PlayFromRepeatPosition:
            return playFromRepeatPosition();
        case HotkeyCommand::StartContinuousRewind:
            return startContinuousSkip(-1);
        case HotkeyCommand::StartContinuousForward:
            return startContinuousSkip(+1);
        case HotkeyCommand::PlayFromClipboardTimeCode:
            playFromClipboardTimeCode();
            return;
        case HotkeyCommand::InsertTimeCode:
            return insertTimeCode();
        case HotkeyCommand::RegisterIndexEntry:
            return registerIndexEntry();
        case HotkeyCommand::StopContinuousSkip:
            return stopContinuousSkip();
        case HotkeyCommand::Nothing:
            return;
    }
}

// The steps end by letting the display catch up while a key repeats. The transport's wait
// shuts the gate meanwhile, so a key arriving in that instant is refused rather than run
// inside this one.
void HotkeyDispatcher::processEventsOnce() {
    transport_.wait(0);
}

void HotkeyDispatcher::playPause() {
    transport_.playPause();
}

void HotkeyDispatcher::stepVolume(int step) {
    transport_.stepVolume(step);
    processEventsOnce();
}

void HotkeyDispatcher::stepSpeed(SpeedStep step) {
    const double speed = steppedSpeed(transport_.chosenSpeed(), step);
    transport_.setRate(speed, speedStepText(speed, step).has_value());
    processEventsOnce();
}

void HotkeyDispatcher::toggleSpeed() {
    // A no is asked again before the refusal is shown, so that a passing no stays silent; after
    // any no the key changes nothing.
    if (!transport_.player().canChangeRate()) {
        if (!transport_.player().canChangeRate())
            Q_EMIT speedTextChanged(TransportTexts::RateRefused);
        return;
    }
    transport_.flipSpeedSwitch();
}

void HotkeyDispatcher::setRepeatPosition() {
    transport_.setPlayToggled(true);
    const double position = transport_.position();
    transport_.setRepeatPosition(position);
    // The picker holds a time of day; a position of a day or more stays off it.
    const QTime time = QTime::fromString(TimeCodeText(position), QStringLiteral("H:mm:ss"));
    if (time.isValid()) Q_EMIT repeatPositionShown(time);
    transport_.stopRepeat();
}

void HotkeyDispatcher::playFromRepeatPosition() {
    transport_.replay();
}

void HotkeyDispatcher::startContinuousSkip(int direction) {
    transport_.startSkip(direction);
    Q_EMIT positionTextColorChanged(direction < 0 ? RewindColor : ForwardColor);
}

// The play-state refresh is what ends a skip from the keys, and it sets the position bar's
// colour back.
void HotkeyDispatcher::stopContinuousSkip() {
    transport_.refreshPlayState();
}

bool HotkeyDispatcher::playFromClipboardTimeCode() {
    const QString text = clipboard_.text();
    if (!clipboardMayHoldTimeCode(text)) return false;
    const auto code = readClipboardTimeCode(text);
    if (!code) return false;
    Q_EMIT volumeBarTextsChanged(QStringLiteral("●") + code->text,
                                 QStringLiteral("◎") + code->text);
    if (!isJumpTarget(code->seconds, transport_.duration())) return false;
    transport_.pauseIfPlaying();
    transport_.seek(code->seconds);
    transport_.player().play();
    transport_.refreshPlayState();
    return true;
}

void HotkeyDispatcher::insertTimeCode() {
    const QString code = timeCodeClipText(transport_.position());
    if (keystrokes_.isAvailable()) {
        // A code still standing in for the typist's text is not theirs to get back.
        if (pastedCode_.isEmpty()) typistClipboard_ = clipboard_.text();
        clipboardReturnTimer_->stop();
        pastedCode_ = code;
        clipboard_.setText(code);
        keystrokes_.pasteWhenKeysReleased();
        return;
    }
    clipboard_.setText(code);
    // Where no keys can be sent (a Wayland desktop) the typist pastes; saying it each time
    // would bury the status line.
    if (toldTimeCodeOnClipboard_) return;
    toldTimeCodeOnClipboard_ = true;
    Q_EMIT statusTextChanged(TimeCodeOnClipboard);
}

void HotkeyDispatcher::registerIndexEntry() {
    index_.registerAppending();
}
