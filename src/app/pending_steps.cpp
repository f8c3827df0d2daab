// Entry points of the hotkeys, the foot pedal and the index file. Start-up and shutdown already
// call them; until those subsystems arrive they keep only the state the rest of the window reads.

#include "app/main_form.h"

void TAMainForm::ProcessRegisterHotkey() {}
void TAMainForm::ProcessUnRegisterHotkey() {}

void TAMainForm::FootPedalInitialize() {
    PedalLibraryPresent = false;
    PedalReady = false;
    PedalBits = 0;
    PedalLeftAction = 2;
    PedalCenterAction = 1;
    PedalRightAction = 3;
}

void TAMainForm::FootPedalSetup() {}
void TAMainForm::TimerFootPedalTimer() {}
void TAMainForm::TimerSpeedUpTimer() {}
void TAMainForm::TimerVolumeUpTimer() {}

bool TAMainForm::WriteIndexIniFile(const QString& /*path*/) {
    return true;
}

bool TAMainForm::ReadIndexIniFile(const QString& /*path*/) {
    IndexChanged = false;
    return true;
}

namespace {
// Item i of a pedal group is action i + 1 (play, rewind, fast-forward); none leaves it.
void applyPedalItem(int item, int& action) {
    if (item >= 0 && item <= 2) action = item + 1;
}
}  // namespace

void TAMainForm::ChangePedalCenter() {
    applyPedalItem(RadioGroupRedalPLAY->ItemIndex(), PedalCenterAction);
}

void TAMainForm::ChangePedalLeft() {
    applyPedalItem(RadioGroupPedalREW->ItemIndex(), PedalLeftAction);
}

void TAMainForm::ChangePedalRight() {
    applyPedalItem(RadioGroupPedalFWD->ItemIndex(), PedalRightAction);
}
