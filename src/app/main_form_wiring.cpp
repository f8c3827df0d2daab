// Every signal of the window's controls and timers is connected here, and only here. Each
// connection runs its handler inside the guard, so a player or settings-file error ends that
// handler with the standard error box instead of escaping into Qt.

#include <QAction>
#include <QTimeEdit>
#include <QTimer>
#include <QToolButton>

#include "app/dialogs.h"
#include "app/main_form.h"
#include "index/index_commands.h"
#include "index/index_controller.h"
#include "transport/media_player.h"
#include "transport/transport_controller.h"

namespace {
using Handler = void (MainWindow::*)();
}

void MainWindow::wireSignals() {
    auto on = [this](auto* sender, auto signal, Handler handler) {
        connect(sender, signal, this,
                [this, handler] { guard([this, handler] { (this->*handler)(); }); });
    };
    // A checkable item's handler flips the check itself; undo the flip Qt has already made.
    auto onToggle = [this](QAction* action, std::function<void()> handler) {
        connect(action, &QAction::triggered, this, [this, action, handler] {
            action->setChecked(!action->isChecked());
            guard(handler);
        });
    };

    on(exitSavingSettingsAction_, &QAction::triggered, &MainWindow::exitSavingSettings);
    on(openMediaAction_, &QAction::triggered, &MainWindow::openMedia);
    on(appearHereAction_, &QAction::triggered, &MainWindow::rememberWindowPosition);
    on(showFileNameAction_, &QAction::triggered, &MainWindow::showFileName);
    on(showFolderNameAction_, &QAction::triggered, &MainWindow::showFolderName);
    on(exitWithoutSavingIndexAction_, &QAction::triggered, &MainWindow::exitWithoutSavingIndex);

    wireIndex();

    on(aboutAction_, &QAction::triggered, &MainWindow::showAboutBox);
    on(versionAction_, &QAction::triggered, &MainWindow::showVersion);
    on(resetAction_, &QAction::triggered, &MainWindow::resetToDefaults);

    on(playPauseAction_, &QAction::triggered, &MainWindow::togglePlay);
    on(speedSwitchAction_, &QAction::triggered, &MainWindow::toggleSpeedSwitch);
    // The skip button and the pedal status line do nothing when clicked.
    on(panelAction_, &QAction::triggered, &MainWindow::togglePanel);
    on(openFileAction_, &QAction::triggered, &MainWindow::openMedia);
    on(exitAction_, &QAction::triggered, &MainWindow::exitProgram);
    on(setTimeButton_, &QToolButton::clicked, &MainWindow::seekToPickedTime);

    // A file or address fails after the call that opened it, once the player has tried to load
    // it: a damaged, empty or unreadable file, a playlist posing as media, an address that does
    // not answer. Without the box the user would see only a length of 0:00:00.
    connect(&transport_->player(), &MediaPlayer::errorOccurred, this, [this](const QString& text) {
        if (transport_->mediaPath().isEmpty() && transport_->mediaUrl().isEmpty()) return;
        QTimer::singleShot(0, this, [this, text] { dialogs_.showError(text); });
    });

    // Menu toggles and group choices come from the settings table.
    for (const SettingRow& row : settings_) {
        if (row.toggle) onToggle(row.toggle, [this, &row] { toggleSetting(row); });
        if (row.group)
            connect(row.group, &RadioGroup::clicked, this,
                    [this, &row] { guard([this, &row] { chooseGroupItem(row); }); });
    }

    // Pressing, dragging and releasing on each bar.
    using Press = void (MainWindow::*)(Qt::MouseButton, int, int);
    using Move = void (MainWindow::*)(int, int);
    auto onMouse = [this](ProgressBar* bar, Press down, Move move, Press up) {
        connect(bar, &ProgressBar::mouseDown, this,
                [this, down](Qt::MouseButton b, Qt::KeyboardModifiers, int x, int y) {
                    guard([&] { (this->*down)(b, x, y); });
                });
        connect(bar, &ProgressBar::mouseMove, this,
                [this, move](Qt::KeyboardModifiers, int x, int y) {
                    guard([&] { (this->*move)(x, y); });
                });
        connect(bar, &ProgressBar::mouseUp, this,
                [this, up](Qt::MouseButton b, Qt::KeyboardModifiers, int x, int y) {
                    guard([&] { (this->*up)(b, x, y); });
                });
    };
    onMouse(volumeBar_, &MainWindow::volumeBarPressed, &MainWindow::volumeBarDragged,
            &MainWindow::volumeBarReleased);
    onMouse(positionBar_, &MainWindow::positionBarPressed, &MainWindow::positionBarDragged,
            &MainWindow::positionBarReleased);
    on(positionBar_, &ProgressBar::clicked, &MainWindow::positionBarClicked);
}

void MainWindow::wireIndex() {
    IndexCommands& commands = *indexCommands_;
    commands.setAddClipboard([this] { return addClipboardNoteAction_->isChecked(); });
    commands.setProtectEntries([this] { return protectEntriesAction_->isChecked(); });
    commands.setSettingsPath([this] { return settingsPath_; });

    auto onCommand = [this](QAction* action, std::function<void()> command) {
        connect(action, &QAction::triggered, this, [this, command] { guard(command); });
    };
    for (int n = 1; n <= kIndexEntries; ++n) {
        onCommand(playEntryActions_[n], [this, n] { indexCommands_->playEntry(n); });
        onCommand(registerEntryActions_[n], [this, n] { indexCommands_->registerEntry(n); });
    }
    onCommand(exportCsvAction_, [this] { indexCommands_->exportCsv(); });
    onCommand(savePositionAction_, [this] { indexCommands_->savePosition(); });
    onCommand(restorePositionAction_, [this] { indexCommands_->restorePosition(); });
    onCommand(clearIndexAction_, [this] { indexCommands_->clearAll(); });

    connect(index_, &IndexController::entriesChanged, this, [this] {
        for (int n = 1; n <= kIndexEntries; ++n) {
            const QString text = indexCommands_->menuText(n);
            playEntryActions_[n]->setText(text);
            registerEntryActions_[n]->setText(text);
        }
    });
    connect(&commands, &IndexCommands::volumeBarLeadingTextChanged, volumeBar_,
            &ProgressBar::setPosTextPrefix);
    connect(&commands, &IndexCommands::volumeBarTrailingTextChanged, volumeBar_,
            &ProgressBar::setPosTextSuffix);
    connect(&commands, &IndexCommands::positionBarTrailingTextChanged, positionBar_,
            &ProgressBar::setPosTextSuffix);
    connect(&commands, &IndexCommands::timePickerTimeChanged, timePicker_, &QTimeEdit::setTime);
}
