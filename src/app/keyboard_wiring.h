#pragma once

#include "app/action_service.h"
#include "keyboard/hotkey_table.h"

class HotkeyController;
class HotkeyDispatcher;
class HotkeyService;
class PortalShortcuts;
class RoutedHotkeyService;
class MainWindow;

// Runs a command as a pressed key does, whoever asks (the keys, Scribo's D-Bus interface, the
// desktop's shortcuts): refused while the window's entry gate is shut, inside its error guard.
ActionOutcome RunKeyCommand(MainWindow& window, HotkeyDispatcher& dispatcher,
                            HotkeyCommand command);

// Connects the system-wide keys to the window: each key's command runs inside the window's error
// guard, the dispatcher's texts go to the window's bars, picker and speed text, and keys another
// program holds are listed on the keyboard tab (the controller names them on standard error).
void AttachKeyboardToWindow(HotkeyController& hotkeys, HotkeyDispatcher& dispatcher,
                            MainWindow& window);

// The other ways to system-wide keys: the actions the desktop's portal reports run as keys do;
// when no system-wide keys are to be had (no portal, or no X server on the X11 route), it is said
// once on standard error and on the keyboard tab, with the way out: desktop shortcuts that run
// `scribo --cmd`. Before start-up, so that a failure of the first grabs is heard.
void AttachDesktopShortcuts(HotkeyService& keys, PortalShortcuts& portal,
                            HotkeyDispatcher& dispatcher, MainWindow& window);
// After start-up (the settings file may choose the route): binds the actions at the portal when
// the portal is the route.
void BindDesktopShortcuts(RoutedHotkeyService& route, PortalShortcuts& portal);
