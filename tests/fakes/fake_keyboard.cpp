#include "fakes/fake_keyboard.h"

GrabResult FakeHotkeyService::grab(int id, HotkeyModifier modifier, quint8 virtualKey) {
    log << QStringLiteral("grab %1").arg(id);
    GrabResult result = GrabResult::Grabbed;
    if (!available) {
        result = GrabResult::Unavailable;
        if (!reported_) {
            reported_ = true;
            Q_EMIT unavailable(QStringLiteral("no system-wide keys"));
        }
    } else if (heldElsewhere.contains(Combination{modifier, virtualKey})) {
        result = GrabResult::HeldElsewhere;
    }
    results_.insert(id, result);
    if (result == GrabResult::Grabbed)
        grabbed.insert(id, {modifier, virtualKey});
    else
        grabbed.remove(id);
    return result;
}

void FakeHotkeyService::release(int id) {
    log << QStringLiteral("release %1").arg(id);
    grabbed.remove(id);
    results_.remove(id);
}

bool FakeHotkeyService::press(int id) {
    if (!grabbed.contains(id)) return false;
    Q_EMIT activated(id);
    return true;
}

void FakeKeystrokeOutput::pasteWhenKeysReleased() {
    if (keysHeld) {
        waiting = true;
        return;
    }
    ++pastes;
    Q_EMIT pasted();
}

void FakeKeystrokeOutput::giveUp() {
    if (!waiting) return;
    waiting = false;
    Q_EMIT pasteAbandoned();
}

void FakeKeystrokeOutput::releaseKeys() {
    keysHeld = false;
    if (!waiting) return;
    waiting = false;
    ++pastes;
    Q_EMIT pasted();
}
