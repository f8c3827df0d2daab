#pragma once

#include <xcb/xcb.h>

#include <QList>
#include <vector>

#include "keyboard/hotkey_table.h"
#include "keyboard/key_symbols.h"

// The server's key map as the keyboard layers need it: which keycodes carry a symbol, and which
// modifier bits Alt and the lock keys use on this server.
class X11Keymap {
public:
    explicit X11Keymap(xcb_connection_t* connection) : connection_(connection) {}

    // Fetches the key map and the modifier map again; false when the server did not answer.
    bool reload();

    // Every keycode whose unshifted symbol (and shifted symbol, when asked for) matches.
    QList<xcb_keycode_t> keycodesFor(const KeySymbol& symbol) const;
    // The first keycode with the symbol unshifted, 0 when none has it.
    xcb_keycode_t keycodeOf(quint32 keysym) const;

    quint16 modifierMask(HotkeyModifier modifier) const;
    // Caps Lock, Num Lock and Scroll Lock in every combination, starting with none of them.
    QList<quint16> lockVariants() const;
    // The modifier bits that tell combinations apart (the lock bits and buttons left out).
    quint16 significantModifiers() const;

private:
    quint32 symbolAt(xcb_keycode_t keycode, int column) const;
    quint16 maskOfKeysym(quint32 keysym) const;

    xcb_connection_t* connection_;
    xcb_keycode_t minKeycode_ = 0;
    int perKeycode_ = 0;
    std::vector<quint32> symbols_;
    std::vector<xcb_keycode_t> modifierMap_;  // 8 rows of keycodesPerModifier_
    int keycodesPerModifier_ = 0;
    quint16 altMask_ = XCB_MOD_MASK_1;
    quint16 numLockMask_ = 0;
    quint16 scrollLockMask_ = 0;
};

// Whether every key of the keyboard is up, by the server's key map; false when it cannot tell.
bool allKeysUp(xcb_connection_t* connection);
// The keys down at the moment (32 bytes, one bit per keycode); empty when the server did not
// answer.
std::vector<quint8> keysDown(xcb_connection_t* connection);
