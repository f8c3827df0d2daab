// Returning to the initial state ("初期状態に戻す"); the URL panel uses the first half of it.

#include <QAction>
#include <QComboBox>
#include <QTimeEdit>
#include <QTimer>

#include "app/main_form.h"
#include "core/profile_file.h"
#include "core/settings_keys.h"
#include "pedal/pedal_controller.h"
#include "transport/media_player.h"
#include "transport/transport_controller.h"

void TAMainForm::FileReset() {
    transport_->forgetMedia();
}

void TAMainForm::Resettings() {
    transport_->clearRemembered();
    timePicker->setTime(QTime(0, 0, 0));
}

void TAMainForm::ReleaseInitialize() {
    if (transport_->isPlaying()) {
        transport_->player().pause();
        Delay(100);
    }
    transport_->stopPositionPoll();
    // Paused with no media: a switch left on would make the next press stop instead of play.
    pedal_->resetSwitch();
    FileReset();
    Resettings();
    LabelInitialize();
    resetSettingControls();
    transport_->resetChosenSpeed();
    QFont volumeFont = volumeBar->font();
    volumeFont.setPointSize(9);
    volumeBar->setFont(volumeFont);
    QFont positionFont = positionBar->font();
    positionFont.setBold(false);
    positionBar->setFont(positionFont);
    saveOnClose_ = false;
}

void TAMainForm::MenuSettingsInitializeClick() {
    ReleaseInitialize();
    if (settingsPath_.isEmpty()) return;
    SaveIniSettings(settingsPath_);
    windowTop_ = kDefaultTop;
    windowLeft_ = kDefaultLeft;
    move(windowLeft_, windowTop_);
    writeSettings({{Ini::General, Ini::File},
                   {Ini::Record, Ini::Position},
                   {Ini::FormPosition, Ini::Top},
                   {Ini::FormPosition, Ini::Left}});
    // The panel is reopened, not just marked open: a collapsed window marked open would need two
    // clicks of the panel button to show the panel again.
    ExpandSettingPanel();
    transport_->startPositionPoll();
}
