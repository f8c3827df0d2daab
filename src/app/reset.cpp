// Returning to the initial state ("初期状態に戻す"); the URL panel uses the first half of it.

#include <QAction>
#include <QComboBox>
#include <QTimeEdit>
#include <QTimer>

#include "app/main_form.h"
#include "core/profile_file.h"
#include "core/settings_keys.h"
#include "transport/media_player.h"

void TAMainForm::FileReset() {
    MediaPath.clear();
    WindowsMediaPlayer1.setCurrentPosition(0);
    ProgressBarTimePosition->setMax(0);
    ProgressBarTimePosition->setPosition(0);
    ProgressBarTimePosition->setPosTextPrefix(QString());
    ProgressBarTimePosition->setPosTextSuffix(QString());
    ClearIndex();
}

void TAMainForm::Resettings() {
    MediaPath.clear();
    MediaName.clear();
    MediaUrl.clear();
    IndexFileName.clear();
    DateTimePickerSetting->setTime(QTime(0, 0, 0));
    SavedPosition = 0;
}

void TAMainForm::ReleaseInitialize() {
    if (WindowsMediaPlayer1.playState() == PlayStates::Playing) {
        WindowsMediaPlayer1.pause();
        Delay(100);
    }
    TimerWMP->stop();
    FileReset();
    Resettings();
    LabelInitialize();
    MenuInitialize();
    RadioGroupInitialize();
    SetSpeed = 1.0;
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
    WindowTop = 100;
    WindowLeft = 800;
    move(WindowLeft, WindowTop);
    const ProfileFile ini(SettingsPath);
    ini.writeString(Ini::General, Ini::File, MediaPath);
    ini.writeFloat(Ini::Record, Ini::Position, WindowsMediaPlayer1.currentPosition());
    ini.writeInteger(Ini::FormPosition, Ini::Top, WindowTop);
    ini.writeInteger(Ini::FormPosition, Ini::Left, WindowLeft);
    // The panel is reopened, not just marked open: a collapsed window marked open would need two
    // clicks of the panel button to show the panel again.
    ExpandSettingPanel();
    TimerWMP->start();
    Q_EMIT transportChanged();
}
