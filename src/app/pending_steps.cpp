// Entry points of the foot pedal and the index file. Start-up and shutdown already
// call them; until those subsystems arrive they keep only the state the rest of the window reads.

#include "app/main_form.h"

void TAMainForm::FootPedalInitialize() {
    pedalLibraryPresent_ = false;
    pedalReady_ = false;
    pedalBits_ = 0;
    pedalLeftAction_ = 2;
    pedalCenterAction_ = 1;
    pedalRightAction_ = 3;
}

void TAMainForm::FootPedalSetup() {}
void TAMainForm::TimerFootPedalTimer() {}
void TAMainForm::TimerSpeedUpTimer() {}
void TAMainForm::TimerVolumeUpTimer() {}

bool TAMainForm::WriteIndexIniFile(const QString& /*path*/) {
    return true;
}

bool TAMainForm::ReadIndexIniFile(const QString& /*path*/) {
    indexChanged_ = false;
    return true;
}

namespace {
// Item i of a pedal group is action i + 1 (play, rewind, fast-forward); none leaves it.
void applyPedalItem(int item, int& action) {
    if (item >= 0 && item <= 2) action = item + 1;
}
}  // namespace

void TAMainForm::ChangePedalCenter() {
    applyPedalItem(RadioGroupRedalPLAY->ItemIndex(), pedalCenterAction_);
}

void TAMainForm::ChangePedalLeft() {
    applyPedalItem(RadioGroupPedalREW->ItemIndex(), pedalLeftAction_);
}

void TAMainForm::ChangePedalRight() {
    applyPedalItem(RadioGroupPedalFWD->ItemIndex(), pedalRightAction_);
}
