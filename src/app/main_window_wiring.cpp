// Every signal of the window's menus and buttons is connected here, and only here. Each runs its
// command inside the session's error guard, so a player or settings-file error ends it with the
// standard error box instead of escaping into Qt.

#include <QAction>
#include <QTimeEdit>
#include <QToolButton>

#include "app/main_window.h"
#include "app/setting_binders.h"
#include "index/index_commands.h"
#include "index/index_controller.h"
#include "session/session.h"
#include "session/settings_store.h"
#include "transport/transport_controller.h"

void MainWindow::wireSignals() {
    Session& s = session_;
    auto on = [this](auto* sender, auto signal, std::function<void()> command) {
        connect(sender, signal, this, [this, command] { session_.run(command); });
    };

    on(exitSavingSettingsAction_, &QAction::triggered, [&s] { s.exitSavingSettings(); });
    on(openMediaAction_, &QAction::triggered, [&s] { s.openMedia(); });
    on(appearHereAction_, &QAction::triggered, [this] { session_.rememberWindowPosition(pos()); });
    on(showFileNameAction_, &QAction::triggered, [&s] { s.showFileName(); });
    on(showFolderNameAction_, &QAction::triggered, [&s] { s.showFolderName(); });
    on(exitWithoutSavingIndexAction_, &QAction::triggered, [&s] { s.exitWithoutSavingIndex(); });

    IndexCommands& index = s.indexCommands();
    for (int n = 1; n <= kIndexEntries; ++n) {
        on(playEntryActions_[n], &QAction::triggered, [&index, n] { index.playEntry(n); });
        on(registerEntryActions_[n], &QAction::triggered, [&index, n] { index.registerEntry(n); });
    }
    on(exportCsvAction_, &QAction::triggered, [&index] { index.exportCsv(); });
    on(exportUtf8CsvAction_, &QAction::triggered, [&index] { index.exportUtf8Csv(); });
    on(exportTextAction_, &QAction::triggered, [&index] { index.exportText(); });
    on(savePositionAction_, &QAction::triggered, [&index] { index.savePosition(); });
    on(restorePositionAction_, &QAction::triggered, [&index] { index.restorePosition(); });
    on(clearIndexAction_, &QAction::triggered, [&index] { index.clearAll(); });
    on(undoErasureAction_, &QAction::triggered, [&index] { index.undoErasure(); });
    connect(&s.index(), &IndexController::entriesChanged, this, [this] {
        undoErasureAction_->setEnabled(session_.index().canUndoErasure());
        for (int n = 1; n <= kIndexEntries; ++n) {
            const QString text = session_.indexCommands().menuText(n);
            playEntryActions_[n]->setText(text);
            registerEntryActions_[n]->setText(text);
        }
    });
    connect(&index, &IndexCommands::positionBarTrailingTextChanged, positionBar_,
            &ProgressBar::setPositionTextSuffix);

    on(aboutAction_, &QAction::triggered, [this] { showAboutBox(); });
    on(versionAction_, &QAction::triggered, [this] { showVersion(); });
    on(resetAction_, &QAction::triggered, [&s] { s.resetToDefaults(); });

    TransportController& t = s.transport();
    on(playPauseAction_, &QAction::triggered, [&t] { t.togglePlay(); });
    on(speedSwitchAction_, &QAction::triggered, [&t] { t.toggleSpeedSwitch(); });
    // The skip button and the pedal status line do nothing when clicked.
    on(panelAction_, &QAction::triggered, [this] { togglePanel(); });
    on(openFileAction_, &QAction::triggered, [&s] { s.openMedia(); });
    on(exitAction_, &QAction::triggered, [this] { exitProgram(); });
    on(setTimeButton_, &QToolButton::clicked, [&s] { s.seekToPickedTime(); });

    connect(&s, &Session::closeRequested, this, &QWidget::close);
    connect(&s, &Session::quitRequested, this, &MainWindow::exitProgram);
    connect(&s, &Session::startedUp, this, &MainWindow::showStarted);
    connect(&s, &Session::mediaReleased, this, &MainWindow::showMediaReleased);
    connect(&s, &Session::wasReset, this, &MainWindow::expandSettingsPanel);

    // Pressing, dragging and releasing on each bar.
    connect(volumeBar_, &ProgressBar::mouseDown, this, [this] { volumeDragging_ = true; });
    connect(volumeBar_, &ProgressBar::mouseUp, this, [this] { volumeDragging_ = false; });
    connect(volumeBar_, &ProgressBar::mouseMove, this, [this](Qt::KeyboardModifiers, int x, int y) {
        session_.run([&] { volumeBarDragged(x, y); });
    });
    connect(positionBar_, &ProgressBar::mouseDown, this, [this] {
        if (positionBar_->maximum() != 0) positionDragging_ = true;
    });
    connect(positionBar_, &ProgressBar::mouseUp, this, [this] {
        if (positionBar_->maximum() != 0) positionDragging_ = false;
    });
    connect(positionBar_, &ProgressBar::mouseMove, this,
            [this](Qt::KeyboardModifiers, int x, int y) {
                session_.run([&] { positionBarDragged(x, y); });
            });
    on(positionBar_, &ProgressBar::clicked, [&t] { t.togglePlayFromBar(); });
}

void MainWindow::bindSettings() {
    const std::pair<QAction*, Setting> toggles[] = {
        {addClipboardNoteAction_, Setting::AddClipboardNote},
        {protectEntriesAction_, Setting::ProtectEntries},
        {ignoreCapsLockAction_, Setting::IgnoreCapsLock},
        {ignoreCtrlSpaceAction_, Setting::IgnoreCtrlSpace},
        {ignoreBackspaceAction_, Setting::IgnoreBackspace},
        {ignoreInsertAction_, Setting::IgnoreInsert},
        {ignoreConvertKeysAction_, Setting::IgnoreConvertKeys},
        {ignorePrintScreenAction_, Setting::IgnorePrintScreen},
        {ignoreBackslashAction_, Setting::IgnoreBackslash},
        {ignoreAltCharacterAction_, Setting::IgnoreAltCharacter},
        {ignoreBracketKeyAction_, Setting::IgnoreBracketKey},
        {ignoreF1Action_, Setting::IgnoreF1},
        {ignoreF2Action_, Setting::IgnoreF2},
        {twoPedalsKeepSpeedAndVolumeAction_, Setting::TwoPedalsKeepSpeedAndVolume},
        {ignorePedalAction_, Setting::IgnorePedal},
        {keepPanelOpenAction_, Setting::KeepPanelOpen},
    };
    for (const auto& [action, setting] : toggles)
        BindToggle(action, session_, setting);
    const std::pair<RadioGroup*, Setting> choices[] = {
        {autoRewindGroup_, Setting::AutoRewind},         {speedGroup_, Setting::SpeedChoice},
        {repeatIntervalGroup_, Setting::RepeatInterval}, {centrePedalGroup_, Setting::CentrePedal},
        {leftPedalGroup_, Setting::LeftPedal},           {rightPedalGroup_, Setting::RightPedal},
        {forwardStepGroup_, Setting::ForwardStep},       {rewindStepGroup_, Setting::RewindStep},
        {pedalModeGroup_, Setting::PedalMode},
    };
    for (const auto& [group, setting] : choices)
        BindChoice(group, session_, setting);
    BindTime(timePicker_, session_, Setting::PickedTime);

    // The window's place: the session remembers it, the window stands there.
    connect(&session_.settings(), &SettingsStore::changed, this,
            [this](Setting setting, const QVariant&) {
                if (setting != Setting::WindowTop && setting != Setting::WindowLeft) return;
                move(session_.settings().item(Setting::WindowLeft),
                     session_.settings().item(Setting::WindowTop));
            });
}
