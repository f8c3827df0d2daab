#pragma once

#include <QString>

// The texts of the settings panel's help tabs " 再生制御" (every key of the table and what it
// does) and " ﾀｲﾑｺｰﾄﾞ " (what Ctrl + Insert pastes and what Ctrl + Print Screen reads back).
QString playbackKeysHelpText();
QString timeCodeHelpText();
