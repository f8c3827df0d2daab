// The start-up, close and reset sequences, and the claim of the system-wide keys.

#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <exception>
#include <functional>

#include "index/index_commands.h"
#include "keyboard/hotkey_controller.h"
#include "pedal/pedal_controller.h"
#include "session/dialogs.h"
#include "session/session.h"
#include "session/settings_location.h"
#include "session/settings_store.h"
#include "transport/clock.h"
#include "transport/media_player.h"
#include "transport/transport_controller.h"

namespace {
// The settings file's name starts so.
const QString kSettingsPrefix = QStringLiteral("Scribo");
}  // namespace

bool Session::startUp() {
    if (!beginStartUp()) return false;
    completeStartUp();
    return true;
}

bool Session::beginStartUp() {
    const QString name = FindSettingsFile(settingsFolder_, kSettingsPrefix);
    if (name.isEmpty() || !QFileInfo::exists(settingsFolder_ + name)) {
        // Ending without a word would look like success to whoever started us.
        std::fprintf(stderr, "Scribo: no settings file %s*.inf in %s\n",
                     qPrintable(kSettingsPrefix),
                     qPrintable(QDir::toNativeSeparators(settingsFolder_)));
        exitCode_ = 2;
        return false;
    }
    const QString path = settingsFolder_ + name;
    if (const QString problem = SettingsFileProblem(path); !problem.isEmpty()) {
        // Read as all zeros and written back at the close, such a file would lose what it held.
        const QString text = QStringLiteral("The settings file %1 cannot be used: %2.")
                                 .arg(QDir::toNativeSeparators(path), problem);
        std::fprintf(stderr, "Scribo: %s\n", qPrintable(text));
        dialogs_.showMessage(text);
        exitCode_ = 2;
        return false;
    }
    RemoveInterruptedWrites(path);
    settings_->setPath(path);
    settings_->load();
    // Requests wait for the player: the gate opens at the end of completeStartUp().
    startingWait_.emplace(gate_);

    pedal_->setUp(settings_->flag(Setting::IgnorePedal));
    TransportController& t = *transport_;
    const bool remembered = !t.mediaPath().isEmpty();
    t.forgetMissingMedia();
    if (t.mediaPath().isEmpty()) indexCommands_->startUpWithoutMedia();
    registerHotkeys();
    Q_EMIT startedUp(remembered);
    return true;
}

void Session::completeStartUp() {
    run([this] {
        applyLoadedChoices();
        TransportController& t = *transport_;
        t.restoreAtStartUp();
        t.chooseRewind(settings_->item(Setting::AutoRewind));
        t.chooseRepeatInterval(settings_->item(Setting::RepeatInterval));
        pedal_->startPolling();
        t.finishStartUp();
    });
    saveOnClose_ = true;
    started_ = true;
    startingWait_.reset();
}

void Session::applyLoadedChoices() {
    // Start-up puts the chosen speed into effect without showing it.
    transport_->loadSpeedChoice(settings_->item(Setting::SpeedChoice));
    for (const SettingRow& row : SettingsTable())
        if (row.appliedOnLoad) applyChoice(row.setting, settings_->item(row.setting));
}

// ---- Close -------------------------------------------------------------------------------------

bool Session::close() {
    // The waits of the shutdown process events; a second close request meanwhile is the same
    // close, not a new one.
    if (gate_.isClosing()) return false;
    gate_.setClosing(true);
    if (!run([this] { shutDown(); })) {
        // A refused write keeps the window open (timers stopped) so nothing is silently lost.
        gate_.setClosing(false);
        return false;
    }
    return true;
}

void Session::shutDown() {
    transport_->stopAllTimers();
    pedal_->stopAllTimers();
    if (transport_->isPlaying()) {
        transport_->player().pause();
        waitProcessingEvents(100);
    }
    waitProcessingEvents(1200);
    if (saveOnClose_) {
        if (!transport_->mediaPath().isEmpty())
            settings_->write({Setting::MediaFile, Setting::SavedPosition});
        indexCommands_->saveAtClose();
    }
}

void Session::saveWithoutWaiting() {
    if (!started_ || !saveOnClose_) return;
    const auto attempt = [](const char* what, const std::function<void()>& write) {
        try {
            write();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "Scribo: %s not saved: %s\n", what, e.what());
        }
    };
    attempt("the settings", [this] { settings_->saveAll(); });
    if (!transport_->mediaPath().isEmpty())
        attempt("the place in the media", [this] {
            settings_->write({Setting::MediaFile, Setting::SavedPosition});
        });
    attempt("the index", [this] { indexCommands_->saveAtClose(); });
}

void Session::exitSavingSettings() {
    settings_->saveAll();
    Q_EMIT closeRequested();
}

void Session::exitWithoutSavingIndex() {
    indexCommands_->closeWithoutSaving();
    saveOnClose_ = false;
    Q_EMIT closeRequested();
}

// ---- Reset -------------------------------------------------------------------------------------

void Session::releaseMedia() {
    if (transport_->isPlaying()) {
        transport_->player().pause();
        waitProcessingEvents(100);
    }
    transport_->stopPositionPoll();
    // Paused with no media: a switch left on would make the next press stop instead of play.
    pedal_->resetSwitch();
    transport_->forgetMedia();
    transport_->clearRemembered();
    settings_->set(Setting::PickedTime, QTime(0, 0, 0));
    showInitialVolumeBarTexts();
    Q_EMIT mediaReleased();
    resetSettings();
    transport_->resetChosenSpeed();
    saveOnClose_ = false;
}

void Session::resetSettings() {
    for (const SettingRow& row : SettingsTable()) {
        if (!row.resetTo) continue;
        if (row.kind == SettingRow::Choice)
            choose(row.setting, row.resetTo->toInt());
        else
            settings_->set(row.setting, *row.resetTo);
    }
}

void Session::resetToDefaults() {
    releaseMedia();
    if (settings_->path().isEmpty()) return;
    settings_->saveAll();
    settings_->set(Setting::WindowTop, kDefaultWindowTop);
    settings_->set(Setting::WindowLeft, kDefaultWindowLeft);
    settings_->write(
        {Setting::MediaFile, Setting::SavedPosition, Setting::WindowTop, Setting::WindowLeft});
    Q_EMIT wasReset();
    transport_->startPositionPoll();
}

void Session::playWebAddress(const QString& address) {
    releaseMedia();
    // Without a media path the transport's own commands stay idle; the player's on-screen
    // controls still work.
    transport_->openWebAddress(address);
}

// ---- System-wide keys ----------------------------------------------------------------------

void Session::registerHotkeys() {
    if (!hotkeys_) return;
    hotkeys_->registerAll(settings_->checkedKeySuppressions());
    reportHeldKeys();
}

void Session::reregisterHotkeys() {
    // Keys pressed while every grab is let go must not run in the middle of this command.
    const EntryGate::Wait shut(gate_);
    if (hotkeys_) {
        hotkeys_->reregister(settings_->checkedKeySuppressions());
        reportHeldKeys();
    } else {
        clock_.waitProcessingEvents(HotkeyController::kReregisterPauseMs);
    }
}

void Session::reportHeldKeys() {
    if (hotkeys_) Q_EMIT heldKeysChanged(hotkeys_->heldElsewhere());
}
