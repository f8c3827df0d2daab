#pragma once

#include <QFlags>
#include <memory>

enum class ModifierKey { Control = 1, Alt = 2, Shift = 4 };
Q_DECLARE_FLAGS(ModifierKeys, ModifierKey)
Q_DECLARE_OPERATORS_FOR_FLAGS(ModifierKeys)

// Which modifier keys are held down right now, wherever the keyboard focus is.
class KeyState {
public:
    virtual ~KeyState() = default;
    virtual ModifierKeys heldModifiers() const = 0;
};

// Asks the X server on an X display; elsewhere nothing ever counts as held.
std::unique_ptr<KeyState> createKeyState();
