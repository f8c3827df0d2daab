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
using Handler = void (TAMainForm::*)();
}

void TAMainForm::wireSignals() {
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

    on(MenuFileCloseWithSattings, &QAction::triggered, &TAMainForm::MenuFileCloseWithSattingsClick);
    on(MenuFileOpen, &QAction::triggered, &TAMainForm::MenuFileOpenClick);
    on(MenuFileAppearThiPostion, &QAction::triggered, &TAMainForm::MenuFileAppearThiPostionClick);
    on(MenuFileGetFilename, &QAction::triggered, &TAMainForm::MenuFileGetFilenameClick);
    on(MenuFileGetFoldername, &QAction::triggered, &TAMainForm::MenuFileGetFoldernameClick);
    on(MenuFileCloseWithoutSetting, &QAction::triggered,
       &TAMainForm::MenuFileCloseWithoutSettingClick);

    wireIndex();

    on(MenuSettingsSave, &QAction::triggered, &TAMainForm::MenuSettingsSaveClick);
    on(MenuSettingsThisProgram, &QAction::triggered, &TAMainForm::MenuSettingsThisProgramClick);
    on(MenuSettingsVersion, &QAction::triggered, &TAMainForm::MenuSettingsVersionClick);
    on(MenuSettingsInitialize, &QAction::triggered, &TAMainForm::MenuSettingsInitializeClick);

    on(playPauseAction, &QAction::triggered, &TAMainForm::playPauseClicked);
    on(speedSwitchAction, &QAction::triggered, &TAMainForm::speedSwitchClicked);
    on(skipAction, &QAction::triggered, &TAMainForm::skipClicked);
    on(panelAction, &QAction::triggered, &TAMainForm::panelClicked);
    on(openFileAction, &QAction::triggered, &TAMainForm::openFileClicked);
    on(exitAction, &QAction::triggered, &TAMainForm::exitClicked);
    on(setTimeButton, &QToolButton::clicked, &TAMainForm::setTimeClicked);

    // A file or address fails after the call that opened it, once the player has tried to load
    // it: a damaged, empty or unreadable file, a playlist posing as media, an address that does
    // not answer. Without the box the user would see only a length of 0:00:00.
    connect(&transport_->player(), &MediaPlayer::errorOccurred, this, [this](const QString& text) {
        if (transport_->mediaPath().isEmpty() && transport_->mediaUrl().isEmpty()) return;
        QTimer::singleShot(0, this, [this, text] { dialogs.showError(text); });
    });

    // Menu toggles and group choices come from the settings table.
    for (const SettingRow& row : settings_) {
        if (row.toggle) onToggle(row.toggle, [this, &row] { toggleSetting(row); });
        if (row.group)
            connect(row.group, &RadioGroup::clicked, this,
                    [this, &row] { guard([this, &row] { chooseGroupItem(row); }); });
    }

    // Pressing, dragging and releasing on each bar.
    using Press = void (TAMainForm::*)(Qt::MouseButton, int, int);
    using Move = void (TAMainForm::*)(int, int);
    auto onMouse = [this](TALProgressBar* bar, Press down, Move move, Press up) {
        connect(bar, &TALProgressBar::mouseDown, this,
                [this, down](Qt::MouseButton b, Qt::KeyboardModifiers, int x, int y) {
                    guard([&] { (this->*down)(b, x, y); });
                });
        connect(bar, &TALProgressBar::mouseMove, this,
                [this, move](Qt::KeyboardModifiers, int x, int y) {
                    guard([&] { (this->*move)(x, y); });
                });
        connect(bar, &TALProgressBar::mouseUp, this,
                [this, up](Qt::MouseButton b, Qt::KeyboardModifiers, int x, int y) {
                    guard([&] { (this->*up)(b, x, y); });
                });
    };
    onMouse(volumeBar, &TAMainForm::volumeBarPressed, &TAMainForm::volumeBarDragged,
            &TAMainForm::volumeBarReleased);
    onMouse(positionBar, &TAMainForm::positionBarPressed, &TAMainForm::positionBarDragged,
            &TAMainForm::positionBarReleased);
    on(positionBar, &TALProgressBar::clicked, &TAMainForm::positionBarClicked);
}

void TAMainForm::wireIndex() {
    IndexCommands& commands = *indexCommands_;
    commands.setAddClipboard([this] { return MenuIndexSettingsAddClipboard->isChecked(); });
    commands.setProtectEntries([this] { return MenuIndexSettingsProtecIndexEntry->isChecked(); });
    commands.setSettingsPath([this] { return settingsPath_; });

    auto onCommand = [this](QAction* action, std::function<void()> command) {
        connect(action, &QAction::triggered, this, [this, command] { guard(command); });
    };
    for (int n = 1; n <= kIndexEntries; ++n) {
        onCommand(sbSetIndex[n], [this, n] { indexCommands_->playEntry(n); });
        onCommand(srSetIndex[n], [this, n] { indexCommands_->registerEntry(n); });
    }
    onCommand(MenuIndexSttingsSaveAsCSV, [this] { indexCommands_->exportCsv(); });
    onCommand(MenuIndexSettingsSaveTime, [this] { indexCommands_->savePosition(); });
    onCommand(MenuIndexSettngsRestore, [this] { indexCommands_->restorePosition(); });
    onCommand(MenuIndexSttingsClearIndex, [this] { indexCommands_->clearAll(); });

    connect(index_, &IndexController::entriesChanged, this, [this] {
        for (int n = 1; n <= kIndexEntries; ++n) {
            const QString text = indexCommands_->menuText(n);
            sbSetIndex[n]->setText(text);
            srSetIndex[n]->setText(text);
        }
    });
    connect(&commands, &IndexCommands::volumeBarLeadingTextChanged, volumeBar,
            &TALProgressBar::setPosTextPrefix);
    connect(&commands, &IndexCommands::volumeBarTrailingTextChanged, volumeBar,
            &TALProgressBar::setPosTextSuffix);
    connect(&commands, &IndexCommands::positionBarTrailingTextChanged, positionBar,
            &TALProgressBar::setPosTextSuffix);
    connect(&commands, &IndexCommands::timePickerTimeChanged, timePicker, &QTimeEdit::setTime);
}
