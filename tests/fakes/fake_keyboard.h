#pragma once

#include <QMap>
#include <QSet>

#include "keyboard/hotkey_service.h"
#include "keyboard/key_state.h"
#include "keyboard/keystroke_output.h"

// Grabs in memory. Combinations listed in heldElsewhere are refused as another program's;
// press() reports an id as the X service would, and only while it is grabbed.
class FakeHotkeyService : public HotkeyService {
    Q_OBJECT
public:
    struct Combination {
        HotkeyModifier modifier;
        quint8 virtualKey;
        friend bool operator==(const Combination&, const Combination&) = default;
    };

    bool available = true;
    QList<Combination> heldElsewhere;
    QMap<int, Combination> grabbed;
    QStringList log;  // "grab 1", "release 1", in order

    bool isAvailable() const override { return available; }
    GrabResult grab(int id, HotkeyModifier modifier, quint8 virtualKey) override;
    void release(int id) override;
    GrabResult result(int id) const override { return results_.value(id, GrabResult::NoSuchKey); }
    // True when the id was grabbed and so reported.
    bool press(int id);

private:
    QMap<int, GrabResult> results_;
    bool reported_ = false;
};

// Pastes at once while no key is held, otherwise when releaseKeys() is called; giveUp() ends
// the wait without pasting, as keys held too long do.
class FakeKeystrokeOutput : public KeystrokeOutput {
    Q_OBJECT
public:
    bool available = true;  // false: a desktop where no keys can be sent
    bool keysHeld = false;
    int pastes = 0;
    bool waiting = false;

    bool isAvailable() const override { return available; }
    void pasteWhenKeysReleased() override;
    void releaseKeys();
    void giveUp();
};

class FakeKeyState : public KeyState {
public:
    ModifierKeys held;
    ModifierKeys heldModifiers() const override { return held; }
};
