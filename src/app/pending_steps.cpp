// Entry points of the hotkeys and the index file. Start-up and shutdown already
// call them; until those subsystems arrive they keep only the state the rest of the window reads.

#include "app/main_form.h"

void TAMainForm::ProcessRegisterHotkey() {}
void TAMainForm::ProcessUnRegisterHotkey() {}

bool TAMainForm::WriteIndexIniFile(const QString& /*path*/) {
    return true;
}

bool TAMainForm::ReadIndexIniFile(const QString& /*path*/) {
    indexChanged_ = false;
    return true;
}
