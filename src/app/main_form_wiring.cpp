// Every signal of the window's controls and timers is connected here, and only here. Each
// connection runs its handler inside the guard, so a player or settings-file error ends that
// handler with the standard error box instead of escaping into Qt.

#include <QAction>
#include <QTimer>
#include <QToolButton>

#include "app/main_form.h"

namespace {
using Handler = void (TAMainForm::*)();
}

void TAMainForm::wireSignals() {
    auto on = [this](auto* sender, auto signal, Handler handler) {
        connect(sender, signal, this,
                [this, handler] { guard([this, handler] { (this->*handler)(); }); });
    };
    // A checkable item's handler flips the check itself; undo the flip Qt has already made.
    auto onToggle = [this](QAction* action, Handler handler) {
        connect(action, &QAction::triggered, this, [this, action, handler] {
            action->setChecked(!action->isChecked());
            guard([this, handler] { (this->*handler)(); });
        });
    };

    on(MenuFileCloseWithSattings, &QAction::triggered, &TAMainForm::MenuFileCloseWithSattingsClick);
    on(MenuFileOpen, &QAction::triggered, &TAMainForm::MenuFileOpenClick);
    on(MenuFileAppearThiPostion, &QAction::triggered, &TAMainForm::MenuFileAppearThiPostionClick);
    on(MenuFileGetFilename, &QAction::triggered, &TAMainForm::MenuFileGetFilenameClick);
    on(MenuFileGetFoldername, &QAction::triggered, &TAMainForm::MenuFileGetFoldernameClick);
    on(MenuFileCloseWithoutSetting, &QAction::triggered,
       &TAMainForm::MenuFileCloseWithoutSettingClick);

    // Registering and playing index entries, the CSV export and the saved position arrive with
    // the index step; until then their items are shown but cannot be chosen.
    for (int n = 1; n <= kIndexEntries; ++n) {
        sbSetIndex[n]->setEnabled(false);
        srSetIndex[n]->setEnabled(false);
    }
    for (QAction* pending : {MenuIndexSttingsSaveAsCSV, MenuIndexSettingsSaveTime,
                             MenuIndexSettngsRestore, MenuIndexSttingsClearIndex})
        pending->setEnabled(false);
    onToggle(MenuIndexSettingsAddClipboard, &TAMainForm::MenuIndexSettingsAddClipboardClick);
    onToggle(MenuIndexSettingsProtecIndexEntry,
             &TAMainForm::MenuIndexSettingsProtecIndexEntryClick);

    on(MenuSettingsSave, &QAction::triggered, &TAMainForm::MenuSettingsSaveClick);
    onToggle(MenuSettingDontUseCapsLockkey, &TAMainForm::MenuSettingDontUseCapsLockkeyClick);
    onToggle(MenuSettingDontUseCtrlSpaceKey, &TAMainForm::MenuSettingDontUseCtrlSpaceKeyClick);
    onToggle(MenuSettingDontUseBackSpace, &TAMainForm::MenuSettingDontUseBackSpaceClick);
    onToggle(MenuSettingDontUseInsert, &TAMainForm::MenuSettingDontUseInsertClick);
    onToggle(MenuSettingDontUseConvert, &TAMainForm::MenuSettingDontUseConvertClick);
    onToggle(MenuSettingDontUsePrintScr, &TAMainForm::MenuSettingDontUsePrintScrClick);
    onToggle(MenuSettingDontUseBackSlash, &TAMainForm::MenuSettingDontUseBackSlashClick);
    onToggle(MenuSettingDontUseAltPrintableKey,
             &TAMainForm::MenuSettingDontUseAltPrintableKeyClick);
    onToggle(MenuSettingDontUseRightSQBKT, &TAMainForm::MenuSettingDontUseRightSQBKTClick);
    onToggle(MenuSettingDontUseF1, &TAMainForm::MenuSettingDontUseF1Click);
    onToggle(MenuSettingDontUseF2, &TAMainForm::MenuSettingDontUseF2Click);
    onToggle(MenuSettingsDontSpeadVolumeChange,
             &TAMainForm::MenuSettingsDontSpeadVolumeChangeClick);
    onToggle(MenuDontUseFootPedal, &TAMainForm::MenuDontUseFootPedalClick);
    onToggle(MenuSettingKeepPanel, &TAMainForm::MenuSettingKeepPanelClick);
    on(MenuSettingsThisProgram, &QAction::triggered, &TAMainForm::MenuSettingsThisProgramClick);
    on(MenuSettingsVersion, &QAction::triggered, &TAMainForm::MenuSettingsVersionClick);
    on(MenuSettingsInitialize, &QAction::triggered, &TAMainForm::MenuSettingsInitializeClick);

    on(ToolBarMPCotrol01Playpause, &QAction::triggered,
       &TAMainForm::ToolBarMPCotrol01PlaypauseClick);
    on(ToolBarMPCotrol02Speed, &QAction::triggered, &TAMainForm::ToolBarMPCotrol02SpeedClick);
    on(ToolBarMPCotrol03FwdBwd, &QAction::triggered, &TAMainForm::ToolBarMPCotrol03FwdBwdClick);
    on(ToolBarMPCotrol04Setting, &QAction::triggered, &TAMainForm::ToolBarMPCotrol04SettingClick);
    on(ToolBarMPCotrol05OpenFile, &QAction::triggered, &TAMainForm::ToolBarMPCotrol05OpenFileClick);
    on(ToolBarMPCotrol05Exit, &QAction::triggered, &TAMainForm::ToolBarMPCotrol05ExitClick);
    on(sbSetTime, &QToolButton::clicked, &TAMainForm::sbSetTimeClick);

    on(RadioGroupAutoBackSpace, &RadioGroup::clicked, &TAMainForm::RadioGroupAutoBackSpaceClick);
    on(RadioGroupPlaySpeed, &RadioGroup::clicked, &TAMainForm::RadioGroupPlaySpeedClick);
    on(RadioGroupRepeatTime, &RadioGroup::clicked, &TAMainForm::RadioGroupRepeatTimeClick);
    on(RadioGroupRedalPLAY, &RadioGroup::clicked, &TAMainForm::RadioGroupRedalPLAYClick);
    on(RadioGroupPedalREW, &RadioGroup::clicked, &TAMainForm::RadioGroupPedalREWClick);
    on(RadioGroupPedalFWD, &RadioGroup::clicked, &TAMainForm::RadioGroupPedalFWDClick);
    on(RadioGroupREWPitch, &RadioGroup::clicked, &TAMainForm::RadioGroupREWPitchClick);
    on(RadioGroupFWDPitch, &RadioGroup::clicked, &TAMainForm::RadioGroupFWDPitchClick);
    on(RadioGroupPedalMode, &RadioGroup::clicked, &TAMainForm::RadioGroupPedalModeClick);

    connect(ProgressBarVolume, &TALProgressBar::mouseDown, this,
            [this](Qt::MouseButton b, Qt::KeyboardModifiers, int x, int y) {
                guard([&] { ProgressBarVolumeMouseDown(b, x, y); });
            });
    connect(ProgressBarVolume, &TALProgressBar::mouseMove, this,
            [this](Qt::KeyboardModifiers, int x, int y) {
                guard([&] { ProgressBarVolumeMouseMove(x, y); });
            });
    connect(ProgressBarVolume, &TALProgressBar::mouseUp, this,
            [this](Qt::MouseButton b, Qt::KeyboardModifiers, int x, int y) {
                guard([&] { ProgressBarVolumeMouseUp(b, x, y); });
            });
    connect(ProgressBarTimePosition, &TALProgressBar::mouseDown, this,
            [this](Qt::MouseButton b, Qt::KeyboardModifiers, int x, int y) {
                guard([&] { ProgressBarTimePositionMouseDown(b, x, y); });
            });
    connect(ProgressBarTimePosition, &TALProgressBar::mouseMove, this,
            [this](Qt::KeyboardModifiers, int x, int y) {
                guard([&] { ProgressBarTimePositionMouseMove(x, y); });
            });
    connect(ProgressBarTimePosition, &TALProgressBar::mouseUp, this,
            [this](Qt::MouseButton b, Qt::KeyboardModifiers, int x, int y) {
                guard([&] { ProgressBarTimePositionMouseUp(b, x, y); });
            });
    on(ProgressBarTimePosition, &TALProgressBar::clicked,
       &TAMainForm::ProgressBarTimePositionClick);

    on(TimerFootPedal, &QTimer::timeout, &TAMainForm::TimerFootPedalTimer);
    on(TimerSpeedUp, &QTimer::timeout, &TAMainForm::TimerSpeedUpTimer);
    on(TimerVolumeUp, &QTimer::timeout, &TAMainForm::TimerVolumeUpTimer);
}
