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
#include "transport/transport_controller.h"

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

    TransportController& t = *transport_;
    QFont positionFont = ProgressBarTimePosition->font();
    const bool remembered = !t.mediaPath().isEmpty();
    t.restoreAtStartUp();
    if (!remembered) {
        LabelPlayTime->setText(QStringLiteral("位置移動"));
        positionFont.setBold(false);
        ProgressBarTimePosition->setFont(positionFont);
    } else if (!t.mediaPath().isEmpty()) {
        LabelPlayTime->setText(Time2HHMMSS(t.savedPosition()));
        ProgressBarTimePosition->setPosTextPrefix(Time2HHMMSS(t.savedPosition()));
    }

    ProcessRegisterHotkey();
    t.chooseRewind(RadioGroupAutoBackSpace->ItemIndex());
    t.chooseRepeatInterval(RadioGroupRepeatTime->ItemIndex());
    if (PedalLibraryPresent) TimerFootPedal->start();

    MenuSettingsSave->setText(pedalSwitchedOff ? PedalOffText
                              : PedalReady     ? PedalReadyText
                                               : PedalNotReadyText);
    move(WindowLeft, WindowTop);

    if (t.mediaPath().isEmpty()) {
        PageControlSetting->setCurrentWidget(PageControlSettingTab02Speed);
        positionFont.setBold(false);
        ProgressBarTimePosition->setFont(positionFont);
    } else if (!MenuSettingKeepPanel->isChecked()) {
        CollapseSettingPanel();
    }

    t.finishStartUp();
    SaveOnClose = true;
    Started = true;
    DateTimePickerSetting->setFocus();
    return true;
}
