#pragma once

#include <QList>
#include <QString>

#include "keyboard/hotkey_table.h"

// An X key symbol as the key's unshifted symbol; when shifted is set, the key's shifted symbol
// must be that one too (it tells the ＼ ろ key from the ￥ key of a Japanese keyboard, whose
// unshifted symbols are both backslash).
struct KeySymbol {
    quint32 unshifted = 0;
    quint32 shifted = 0;
    friend bool operator==(const KeySymbol&, const KeySymbol&) = default;
};

// The X key symbols that stand for a Windows virtual-key code. The keys named after their
// printed character are those of a Japanese keyboard first, then the US key at the same code
// where the two differ; nothing for a code without a key on either (VK_OEM_8).
QList<KeySymbol> keySymbolsFor(quint8 virtualKey);

// How a user reads a combination: "Ctrl + Print Screen", "Alt + A", "英数".
QString combinationText(const HotkeySlot& slot);
