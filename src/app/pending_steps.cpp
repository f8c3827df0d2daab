// Entry points of the hotkeys. Start-up and shutdown already call them; until the keyboard is
// wired in they do nothing.

#include "app/main_form.h"

void TAMainForm::ProcessRegisterHotkey() {}
void TAMainForm::ProcessUnRegisterHotkey() {}
