#pragma once

#include <QObject>
#include <QSet>
#include <QStringList>

#include "keyboard/hotkey_service.h"
#include "keyboard/hotkey_table.h"

class Clock;

// Owns the hotkey table and keeps the service's grabs in step with it: the registration pass,
// the release pass, the release-wait-register of a changed setting. Key presses come out as
// commands; what a command does is for whoever listens.
class HotkeyController : public QObject {
    Q_OBJECT
public:
    // How long a changed setting leaves every key free before the keys are claimed again.
    static constexpr int kReregisterPauseMs = 300;

    HotkeyController(HotkeyService& service, Clock& clock, QObject* parent = nullptr);
    ~HotkeyController() override;

    // The checked "Menu" settings keys that turn combinations off.
    void registerAll(const QSet<QString>& checkedSettings);
    void releaseAll();
    // After one of the settings changed: release, wait with the event loop running, register
    // with the settings as they are after the wait (a change made during it counts).
    void reregister(const QSet<QString>& checkedSettings);

    const HotkeyTable& table() const { return table_; }
    // Combinations another program holds, as the user reads them, in table order.
    QStringList heldElsewhere() const;

Q_SIGNALS:
    void commandRequested(HotkeyCommand command);
    // Keys found held by another program that were not reported before; each key once a run.
    void keysHeldElsewhere(const QStringList& combinations);

private:
    void dispatch(int id);
    void reportHeldKeys();

    HotkeyService& service_;
    Clock& clock_;
    HotkeyTable table_;
    QSet<QString> checked_;
    QSet<int> reported_;
};
