#pragma once

#include <QString>

#include "keyboard/hotkey_table.h"

// The texts of the settings panel's help tabs " 再生制御" (every key of the table and what it
// does) and " ﾀｲﾑｺｰﾄﾞ " (what Ctrl + Insert pastes and what Ctrl + Print Screen reads back).
QString playbackKeysHelpText();
QString timeCodeHelpText();
// What a command does, as the help tab says it.
QString describeCommand(HotkeyCommand command);
