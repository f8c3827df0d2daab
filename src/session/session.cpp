// The session's parts and how they are connected, the error guard and the way in from outside.

#include "session/session.h"

#include <QFileInfo>
#include <QTimer>
#include <QUrl>

#include "core/profile_file.h"
#include "core/timing_trace.h"
#include "index/csv_export.h"
#include "index/index_commands.h"
#include "index/index_controller.h"
#include "keyboard/hotkey_controller.h"
#include "keyboard/hotkey_dispatcher.h"
#include "keyboard/keystroke_output.h"
#include "pedal/pedal_controller.h"
#include "session/dialogs.h"
#include "session/settings_store.h"
#include "session/system_clipboard.h"
#include "transport/clock.h"
#include "transport/media_files.h"
#include "transport/media_player.h"
#include "transport/transport_controller.h"
#include "web/browser_launcher.h"
#include "web/web_address.h"

Session::Session(const SessionServices& services, QObject* parent)
    : QObject(parent),
      clock_(*services.clock),
      dialogs_(*services.dialogs),
      hotkeys_(services.hotkeys),
      settingsFolder_(services.settingsFolder),
      ownClipboard_(services.clipboard ? nullptr : std::make_unique<SystemClipboard>()),
      ownBrowser_(services.browser ? nullptr : std::make_unique<DesktopBrowserLauncher>()),
      ownKeystrokes_(services.keystrokes ? nullptr : createKeystrokeOutput()),
      settings_(new SettingsStore(this)),
      transport_(new TransportController(*services.player, *services.clock, this)),
      index_(new IndexController(this)) {
    if (!settingsFolder_.endsWith(QLatin1Char('/'))) settingsFolder_ += QLatin1Char('/');
    Clipboard& clipboard = services.clipboard ? *services.clipboard : *ownClipboard_;
    indexCommands_ = new IndexCommands(
        *index_, *transport_, clipboard,
        [this](const QString& question) { return dialogs_.askYesNo(question); }, this);
    pedal_ = new PedalController(*services.pedalLibrary, *transport_, *services.keyState,
                                 services.programFolder, this);
    keys_ = new HotkeyDispatcher(*transport_, *indexCommands_, clipboard,
                                 services.keystrokes ? *services.keystrokes : *ownKeystrokes_,
                                 gate_, this);
    urlPanel_ = new UrlPanel(*this, services.browser ? *services.browser : *ownBrowser_, this);
    wireControllers();

    transport_->initialize();
    pedal_->resetSwitch();
    index_->forgetMedia();
    showInitialVolumeBarTexts();
    // The choices start at their reset items, set before anything is started: nothing applied.
    resetSettings();
    pedal_->setChordsEnabled(!settings_->flag(Setting::TwoPedalsKeepSpeedAndVolume));
}

Session::~Session() {
    if (hotkeys_) hotkeys_->releaseAll();
}

MediaPlayer& Session::player() {
    return transport_->player();
}

void Session::wireControllers() {
    TransportController& t = *transport_;
    SettingsStore& s = *settings_;
    s.attach(
        Setting::MediaFile, [&t] { return t.mediaPath(); },
        [&t](const QVariant& v) { t.rememberMedia(v.toString()); });
    s.attach(
        Setting::WebAddress, [&t] { return t.mediaUrl(); },
        [&t](const QVariant& v) { t.setMediaUrl(v.toString()); });
    s.attach(Setting::IndexFile, [this] { return index_->indexFileName(); });
    s.attach(
        Setting::SavedPosition, [&t] { return t.position(); },
        [&t](const QVariant& v) { t.setSavedPosition(v.toDouble()); });
    s.attach(
        Setting::Volume, [&t] { return t.volume(); },
        [&t](const QVariant& v) { t.loadVolume(v.toInt()); });
    s.attach(Setting::ChosenSpeed, [&t] { return t.chosenSpeed(); });
    connect(&s, &SettingsStore::changed, this, [this](Setting setting, const QVariant& value) {
        if (setting == Setting::TwoPedalsKeepSpeedAndVolume)
            pedal_->setChordsEnabled(!value.toBool());
    });

    t.setEntryGate(&gate_);
    t.setTickRunner([this](const std::function<void()>& tick) { run(tick); });
    connect(&t, &TransportController::aboutToLoad, this, [this](const QString& path) {
        settings_->set(Setting::PickedTime, QTime(0, 0, 0));
        // A time in the name that does not read as a time of day leaves the picker at 0:00:00;
        // the open itself goes on. Nothing to pause for the picker: the open does not play.
        const AtNameTime named = ParseAtNameTime(QFileInfo(path).fileName());
        if (named.kind == AtNameTime::Time) settings_->set(Setting::PickedTime, named.time);
    });
    connect(&t, &TransportController::mediaOpened, this, [this] { saveOnClose_ = true; });
    connect(&t, &TransportController::speedTextChanged, this, &Session::showSpeedText);
    connect(&t, &TransportController::volumeTextChanged, this, &Session::showVolumeText);
    connect(&t, &TransportController::playingChanged, this, [this](bool playing) {
        Q_EMIT positionTextColorChanged(playing ? QColor(255, 0, 0) : QColor(0, 0, 0));
    });
    connect(&t, &TransportController::messageRequested, this,
            [this](const QString& text) { dialogs_.showMessage(text); });
    connect(urlPanel_, &UrlPanel::messageRequested, this,
            [this](const QString& text) { dialogs_.showMessage(text); });
    // A file or address fails after the call that opened it, once the player has tried to load
    // it: a damaged, empty or unreadable file, a playlist posing as media, an address that does
    // not answer. Without the box the user would see only a length of 0:00:00.
    connect(&t.player(), &MediaPlayer::errorOccurred, this, [this](const QString& text) {
        if (transport_->mediaPath().isEmpty() && transport_->mediaUrl().isEmpty()) return;
        QTimer::singleShot(0, this, [this, text] { dialogs_.showError(text); });
    });

    IndexCommands& commands = *indexCommands_;
    commands.setAddClipboard([this] { return settings_->flag(Setting::AddClipboardNote); });
    commands.setProtectEntries([this] { return settings_->flag(Setting::ProtectEntries); });
    commands.setSettingsPath([this] { return settings_->path(); });
    commands.setChooseSavePath(
        [this](const QString& title, const QString& filter, const QString& offeredPath) {
            return dialogs_.saveFile(title, filter, offeredPath);
        });
    connect(&commands, &IndexCommands::volumeBarLeadingTextChanged, this,
            &Session::showVolumeBarLeading);
    connect(&commands, &IndexCommands::volumeBarTrailingTextChanged, this,
            &Session::showVolumeBarTrailing);
    connect(&commands, &IndexCommands::timePickerTimeChanged, this,
            [this](const QTime& time) { settings_->set(Setting::PickedTime, time); });

    pedal_->setEntryGate(&gate_);
    pedal_->setTickRunner([this](const std::function<void()>& tick) { run(tick); });
    connect(pedal_, &PedalController::messageRequested, this,
            [this](const QString& text) { dialogs_.showMessage(text); });
    connect(pedal_, &PedalController::positionTextColorChanged, this,
            &Session::positionTextColorChanged);

    connect(keys_, &HotkeyDispatcher::statusTextChanged, this, &Session::showVolumeBarLeading);
    connect(keys_, &HotkeyDispatcher::volumeBarTextsChanged, this, &Session::showVolumeBarTexts);
    connect(keys_, &HotkeyDispatcher::positionTextColorChanged, this,
            &Session::positionTextColorChanged);
    connect(keys_, &HotkeyDispatcher::repeatPositionShown, this,
            [this](const QTime& time) { settings_->set(Setting::PickedTime, time); });
    connect(keys_, &HotkeyDispatcher::speedTextChanged, this, &Session::showSpeedText);
    if (hotkeys_) {
        connect(hotkeys_, &HotkeyController::commandRequested, this, [this](HotkeyCommand command) {
            requestKey(command);
            timing::mark("handled", int(command));
        });
        connect(hotkeys_, &HotkeyController::keysHeldElsewhere, this, &Session::reportHeldKeys);
    }

    gate_.onReopened = [this] {
        if (deferredOpen_.isEmpty() && !deferredQuit_) return;
        // Not from inside the wait that just ended: its command has yet to finish.
        QTimer::singleShot(0, this, &Session::runDeferred);
    };
}

// ---- The error guard and the way in ------------------------------------------------------

bool Session::run(const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (const PlayerError& e) {
        dialogs_.showError(QString::fromUtf8(e.what()));
    } catch (const ProfileWriteError& e) {
        dialogs_.showError(QString::fromUtf8(e.what()));
    } catch (const CsvExportError& e) {
        dialogs_.showError(QString::fromUtf8(e.what()));
    }
    return false;
}

RequestOutcome Session::request(const std::function<void()>& command) {
    if (!gate_.isOpen()) return RequestOutcome::Busy;
    return run(command) ? RequestOutcome::Done : RequestOutcome::Failed;
}

RequestOutcome Session::requestKey(HotkeyCommand command) {
    return request([this, command] { keys_->dispatch(command); });
}

void Session::requestOpen(const QString& pathOrAddress) {
    if (gate_.isClosing()) return;
    if (!gate_.isOpen()) {
        deferredOpen_ = pathOrAddress;
        return;
    }
    run([&] { openFromOutside(pathOrAddress); });
}

void Session::requestQuit() {
    if (gate_.isClosing()) return;
    if (!gate_.isOpen()) {
        deferredQuit_ = true;
        return;
    }
    Q_EMIT quitRequested();
}

void Session::requestEnd() {
    if (gate_.isClosing()) return;
    // Before start-up has read everything, a full write would put defaults over the file.
    if (started_) run([this] { settings_->saveAll(); });
    requestQuit();
}

void Session::openFromOutside(const QString& pathOrAddress) {
    const QString address = web::linkAddress(QUrl(pathOrAddress));
    if (!address.isEmpty())
        urlPanel_->play(address);
    else if (takeMediaFile(pathOrAddress))
        openMedia();  // not a drop: nothing to let settle, so no pause before opening
}

void Session::runDeferred() {
    if (!gate_.isOpen()) return;  // a later reopening runs it
    if (deferredQuit_) {
        deferredQuit_ = false;
        deferredOpen_.clear();
        requestQuit();
        return;
    }
    const QString path = std::exchange(deferredOpen_, QString());
    if (!path.isEmpty()) requestOpen(path);
}

void Session::waitProcessingEvents(int ms) {
    const EntryGate::Wait shut(gate_);
    clock_.waitProcessingEvents(ms);
}

// ---- The volume bar's texts ----------------------------------------------------------------

void Session::showVolumeBarTexts(const QString& leading, const QString& trailing) {
    volumeBarLeading_ = leading;
    volumeBarTrailing_ = trailing;
    Q_EMIT volumeBarTextsChanged(volumeBarLeading_, volumeBarTrailing_);
}

void Session::showInitialVolumeBarTexts() {
    showVolumeBarTexts(QString(),
                       QStringLiteral("ここ（音量バー）をドラッグして、音量を調節してください"));
}

void Session::showVolumeBarLeading(const QString& text) {
    showVolumeBarTexts(text, volumeBarTrailing_);
}

void Session::showVolumeBarTrailing(const QString& text) {
    showVolumeBarTexts(volumeBarLeading_, text);
}

void Session::showSpeedText(const QString& speedText) {
    showVolumeBarLeading(QStringLiteral("     再生速度[ ") + speedText + QStringLiteral(" ］"));
}

void Session::showVolumeText(const QString& volumeText) {
    showVolumeBarTrailing(QStringLiteral("     音量[ ") + volumeText + QStringLiteral(" ］"));
}
