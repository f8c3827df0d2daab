#include "app/keyboard_wiring.h"

#include <QAction>
#include <QTimeEdit>

#include "app/main_form.h"
#include "keyboard/hotkey_controller.h"
#include "keyboard/hotkey_dispatcher.h"

void AttachKeyboardToWindow(HotkeyController& hotkeys, HotkeyDispatcher& dispatcher,
                            MainWindow& window) {
    window.attachHotkeyDispatcher(hotkeys, dispatcher);
}

void MainWindow::attachHotkeyDispatcher(HotkeyController& hotkeys, HotkeyDispatcher& dispatcher) {
    HotkeyDispatcher* run = &dispatcher;
    connect(
        &hotkeys, &HotkeyController::commandRequested, &dispatcher,
        [this, run](HotkeyCommand command) { guard([run, command] { run->dispatch(command); }); });
    connect(&hotkeys, &HotkeyController::keysHeldElsewhere, this,
            [this] { showKeysHeldElsewhere(); });
    dispatcher.setClipboardNoteSetting([this] { return addClipboardNoteAction_->isChecked(); });

    connect(&dispatcher, &HotkeyDispatcher::statusTextChanged, volumeBar_,
            &ProgressBar::setPosTextPrefix);
    connect(&dispatcher, &HotkeyDispatcher::volumeBarTextsChanged, this,
            [this](const QString& leading, const QString& trailing) {
                showVolumeBarText(leading, trailing);
            });
    connect(&dispatcher, &HotkeyDispatcher::positionBarNameCleared, this,
            [this] { positionBar_->setPosTextSuffix(QString()); });
    connect(&dispatcher, &HotkeyDispatcher::positionTextColorChanged, positionBar_,
            &ProgressBar::setFontColor);
    connect(&dispatcher, &HotkeyDispatcher::repeatPositionShown, timePicker_, &QTimeEdit::setTime);
    connect(&dispatcher, &HotkeyDispatcher::speedTextChanged, this,
            [this](const QString& text) { showSpeedText(text); });
}
