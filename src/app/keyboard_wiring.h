#pragma once

class HotkeyController;
class HotkeyDispatcher;
class MainWindow;

// Connects the system-wide keys to the window: each key's command runs inside the window's error
// guard, the dispatcher's texts go to the window's bars, picker and speed text, the index
// settings' clipboard item decides an entry's note, and keys another program holds are listed
// on the keyboard tab (the controller names them on standard error).
void AttachKeyboardToWindow(HotkeyController& hotkeys, HotkeyDispatcher& dispatcher,
                            MainWindow& window);
