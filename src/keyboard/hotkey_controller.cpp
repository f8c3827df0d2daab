#include "keyboard/hotkey_controller.h"

#include <cstdio>

#include "keyboard/key_symbols.h"
#include "transport/clock.h"

HotkeyController::HotkeyController(HotkeyService& service, Clock& clock, QObject* parent)
    : QObject(parent), service_(service), clock_(clock) {
    connect(&service_, &HotkeyService::activated, this, &HotkeyController::dispatch);
    connect(&service_, &HotkeyService::grabsRenewed, this, &HotkeyController::reportHeldKeys);
}

HotkeyController::~HotkeyController() {
    releaseAll();
}

void HotkeyController::registerAll(const QSet<QString>& checkedSettings) {
    checked_ = checkedSettings;
    const auto grab = [this](const HotkeySlot& s) {
        service_.grab(s.id, s.modifier, s.virtualKey);
    };
    const auto release = [this](const HotkeySlot& s) { service_.release(s.id); };
    table_.registerAll(checked_, grab, release);
    reportHeldKeys();
}

void HotkeyController::releaseAll() {
    table_.releaseAll([this](const HotkeySlot& s) { service_.release(s.id); });
}

void HotkeyController::reregister(const QSet<QString>& checkedSettings) {
    checked_ = checkedSettings;
    releaseAll();
    clock_.waitProcessingEvents(kReregisterPauseMs);
    registerAll(checked_);
}

QStringList HotkeyController::heldElsewhere() const {
    QStringList keys;
    for (const HotkeySlot& s : HotkeyTable::slotList())
        if (table_.isRegistered(s.id) && service_.result(s.id) == GrabResult::HeldElsewhere)
            keys << combinationText(s);
    return keys;
}

void HotkeyController::dispatch(int id) {
    if (const auto command = table_.commandFor(id)) Q_EMIT commandRequested(*command);
}

void HotkeyController::reportHeldKeys() {
    QStringList fresh;
    for (const HotkeySlot& s : HotkeyTable::slotList()) {
        if (!table_.isRegistered(s.id) || service_.result(s.id) != GrabResult::HeldElsewhere ||
            reported_.contains(s.id))
            continue;
        reported_.insert(s.id);
        fresh << combinationText(s);
    }
    if (fresh.isEmpty()) return;
    std::fprintf(stderr, "Scribo: held by another program, so these keys will not work: %s\n",
                 qPrintable(fresh.join(QStringLiteral(", "))));
    Q_EMIT keysHeldElsewhere(fresh);
}
