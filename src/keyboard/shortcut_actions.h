#pragma once

#include <QString>
#include <array>

#include "keyboard/hotkey_table.h"

// The key actions under names of their own, for desktops where Scribo cannot claim keys itself:
// Scribo's D-Bus interface, `scribo --cmd NAME` and the desktop's global shortcuts. The names
// and the method names are what users bind and scripts call: never rename one.
struct ShortcutAction {
    const char* name;  // "play-pause": what `scribo --cmd` takes, the shortcut's id at the desktop
    const char* method;  // "PlayPause": the method of the D-Bus interface
    HotkeyCommand command;
    const char* summary;  // one English line for `scribo --cmd list`
};

inline constexpr int kShortcutActionCount = 16;
const std::array<ShortcutAction, kShortcutActionCount>& shortcutActions();
const ShortcutAction* findShortcutAction(const QString& name);
const ShortcutAction* findShortcutActionByMethod(const QString& method);

// The first combination of the key table that gives the command, in the shortcut syntax of the
// desktop portals ("CTRL+Insert", "SHIFT+Scroll_Lock"); empty when no key gives it.
QString preferredTrigger(HotkeyCommand command);

// What `scribo --cmd list` prints: one line per action, name and summary.
QString shortcutActionList();
