// Returning to the initial state ("初期状態に戻す"); the URL panel uses the first half of it.

#include <QAction>
#include <QComboBox>
#include <QTimeEdit>
#include <QTimer>

#include "app/main_form.h"
#include "core/profile_file.h"
#include "core/settings_keys.h"
#include "transport/media_player.h"
#include "transport/transport_controller.h"

void TAMainForm::FileReset() {
    transport_->forgetMedia();
}

void TAMainForm::Resettings() {
    transport_->clearRemembered();
    IndexFileName.clear();
    DateTimePickerSetting->setTime(QTime(0, 0, 0));
}

void TAMainForm::ReleaseInitialize() {
    if (transport_->isPlaying()) {
        transport_->player().pause();
        Delay(100);
    }
    transport_->stopPositionPoll();
    FileReset();
    Resettings();
    LabelInitialize();
    resetSettingControls();
    transport_->resetChosenSpeed();
    QFont volumeFont = ProgressBarVolume->font();
    volumeFont.setPointSize(9);
    ProgressBarVolume->setFont(volumeFont);
    QFont positionFont = ProgressBarTimePosition->font();
    positionFont.setBold(false);
    ProgressBarTimePosition->setFont(positionFont);
    SaveOnClose = false;
}

void TAMainForm::MenuSettingsInitializeClick() {
    ReleaseInitialize();
    if (SettingsPath.isEmpty()) return;
    SaveIniSettings(SettingsPath);
    WindowTop = kDefaultTop;
    WindowLeft = kDefaultLeft;
    move(WindowLeft, WindowTop);
    writeSettings({{Ini::General, Ini::File},
                   {Ini::Record, Ini::Position},
                   {Ini::FormPosition, Ini::Top},
                   {Ini::FormPosition, Ini::Left}});
    // The panel is reopened, not just marked open: a collapsed window marked open would need two
    // clicks of the panel button to show the panel again.
    ExpandSettingPanel();
    transport_->startPositionPoll();
}
