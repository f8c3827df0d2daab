#pragma once

#include "session/settings_table.h"

class QAction;
class QTimeEdit;
class RadioGroup;
class Session;

// Keep a control and a setting in step both ways: the control shows the session's value, and
// what the user does with the control goes to the session, inside its error guard.

// A menu check mark: a click asks the session to toggle the flag (which writes it when the row
// says so); the mark follows the value, and a mark set from code sets it.
void BindToggle(QAction* action, Session& session, Setting setting);
// A group of the settings panel: an item chosen goes to the session (in effect and written once
// started); the group follows the value, also when the reset or start-up changes it.
void BindChoice(RadioGroup* group, Session& session, Setting setting);
// The repeat-position time picker: edited, it changes the value; the commands that show a time
// change the value and the picker follows.
void BindTime(QTimeEdit* picker, Session& session, Setting setting);
