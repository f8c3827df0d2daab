// The start-up sequence, run once before the window is first shown.

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QTabWidget>
#include <QTimeEdit>
#include <QTimer>
#include <cmath>
#include <cstdio>

#include "app/main_form.h"
#include "app/settings_location.h"
#include "core/time_code.h"
#include "transport/media_player.h"

bool TAMainForm::FormShow() {
    const QString name = FindSettingsFile(ProgramFolder, SettingsPrefix);
    if (name.isEmpty() || !QFileInfo::exists(ProgramFolder + name)) {
        // Ending without a word would look like success to whoever started us.
        std::fprintf(stderr, "Scribo: no settings file %s*.inf in %s\n", qPrintable(SettingsPrefix),
                     qPrintable(QDir::toNativeSeparators(ProgramFolder)));
        exitCode_ = 2;
        return false;
    }
    SettingsPath = ProgramFolder + name;
    LoadIniSettings(SettingsPath);

    const bool pedalSwitchedOff = MenuDontUseFootPedal->isChecked();
    if (!pedalSwitchedOff) FootPedalSetup();

    if (!MediaPath.isEmpty() && SavedPosition > 0)
        WavMode = QFileInfo(MediaPath).suffix().toLower() == QLatin1String("wav");

    QFont positionFont = ProgressBarTimePosition->font();
    if (MediaPath.isEmpty()) {
        LabelPlayTime->setText(QStringLiteral("位置移動"));
        positionFont.setBold(false);
        ProgressBarTimePosition->setFont(positionFont);
    } else if (QFileInfo::exists(MediaPath)) {
        OpenFile(MediaPath);
        TimerRestorePostion->start();
        ProgressBarTimePosition->setMax(MediaLength);
        ProgressBarTimePosition->setMin(0);
        PositionSeconds = static_cast<int>(std::trunc(SavedPosition));
        ProgressBarTimePosition->setPosition(PositionSeconds);
        WindowsMediaPlayer1.setCurrentPosition(SavedPosition);
        ProgressBarVolume->setPosition(WindowsMediaPlayer1.volume());
        LabelPlayTime->setText(Time2HHMMSS(SavedPosition));
        ProgressBarTimePosition->setPosTextPrefix(Time2HHMMSS(SavedPosition));
    } else {
        MediaPath.clear();
    }

    ProcessRegisterHotkey();
    ChangeAutobackSpaceTime(RadioGroupAutoBackSpace->ItemIndex());
    RepeatInterval = ChangeRepeatTime(RadioGroupRepeatTime->ItemIndex());
    TimerRepeat->setInterval(RepeatInterval);
    if (PedalLibraryPresent) TimerFootPedal->start();

    MenuSettingsSave->setText(pedalSwitchedOff ? PedalOffText
                              : PedalReady     ? PedalReadyText
                                               : PedalNotReadyText);
    move(WindowLeft, WindowTop);

    if (MediaPath.isEmpty()) {
        PageControlSetting->setCurrentWidget(PageControlSettingTab02Speed);
        positionFont.setBold(false);
        ProgressBarTimePosition->setFont(positionFont);
    } else if (!MenuSettingKeepPanel->isChecked()) {
        CollapseSettingPanel();
    }

    WindowsMediaPlayer1.setRate(1.0);
    TimerWMP->start();
    SetSpeedActive = false;
    SaveOnClose = true;
    Started = true;
    DateTimePickerSetting->setFocus();
    return true;
}
