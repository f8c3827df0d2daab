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

void MainWindow::forgetMedia() {
    transport_->forgetMedia();
}

void MainWindow::clearRemembered() {
    transport_->clearRemembered();
    timePicker_->setTime(QTime(0, 0, 0));
}

void MainWindow::releaseMedia() {
    if (transport_->isPlaying()) {
        transport_->player().pause();
        waitProcessingEvents(100);
    }
    transport_->stopPositionPoll();
    // Paused with no media: a switch left on would make the next press stop instead of play.
    pedal_->resetSwitch();
    forgetMedia();
    clearRemembered();
    resetLabels();
    resetSettingControls();
    transport_->resetChosenSpeed();
    QFont volumeFont = volumeBar_->font();
    volumeFont.setPointSize(9);
    volumeBar_->setFont(volumeFont);
    QFont positionFont = positionBar_->font();
    positionFont.setBold(false);
    positionBar_->setFont(positionFont);
    saveOnClose_ = false;
}

void MainWindow::resetToDefaults() {
    releaseMedia();
    if (settingsPath_.isEmpty()) return;
    saveAllSettings(settingsPath_);
    windowTop_ = kDefaultTop;
    windowLeft_ = kDefaultLeft;
    move(windowLeft_, windowTop_);
    writeSettings({{Ini::General, Ini::File},
                   {Ini::Record, Ini::Position},
                   {Ini::FormPosition, Ini::Top},
                   {Ini::FormPosition, Ini::Left}});
    // The panel is reopened, not just marked open: a collapsed window marked open would need two
    // clicks of the panel button to show the panel again.
    expandSettingsPanel();
    transport_->startPositionPoll();
}
