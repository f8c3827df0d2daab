#pragma once

#include <QColor>
#include <QObject>
#include <QString>
#include <functional>

#include "pedal/pedal_logic.h"
#include "pedal/pedal_session.h"
#include "transport/tick_timer.h"

class EntryGate;
class KeyState;
class PedalLibrary;
class QFileSystemWatcher;
class QTimer;
class TransportController;

// Owns the foot pedal: the device session, the 200 ms poll (only while a pedal is open: a pedal
// plugged in later is noticed by watching the device folder), the switch of switch mode, the three
// pedal assignments, the mode, the two-pedal speed and volume repeats. Reports become transport
// requests; what the window shows goes out by signals. Player errors (PlayerError) are not
// caught here: they end the tick at the failing call, with the switch already stored.
class PedalController : public QObject {
    Q_OBJECT
public:
    static constexpr int kPollMs = 200;
    static constexpr int kRepeatMs = 300;
    // After a device change, a missing pedal is looked for this often, this many times.
    static constexpr int kSearchMs = 500;
    static constexpr int kSearches = 6;

    // What the Settings menu's pedal status line says.
    enum class Status { SwitchedOff, NotConnected, Connected };
    static QString statusText(Status status);

    // programFolder (with its trailing separator) is named in the missing-library message.
    PedalController(PedalLibrary& library, TransportController& transport, KeyState& keys,
                    QString programFolder, QObject* parent = nullptr);

    // Runs each timer tick; the session passes its error guard. The timers are named (objectName)
    // after their job.
    using TickRunner = ::TickRunner;
    void setTickRunner(TickRunner runner) { runTick_ = std::move(runner); }
    // Ticks do nothing while the gate is shut (a handler's wait).
    void setEntryGate(EntryGate* gate) { gate_ = gate; }

    // ---- Start-up and shutdown ---------------------------------------------------------------
    // Loads the library and finds the pedal, which a timer opens 1000 ms later (finishSetUp);
    // nothing at all when the pedal is switched off in the settings. A library that cannot be
    // loaded is reported by messageRequested and the program goes on without the pedal. Ends
    // with statusChanged, and so does the open.
    void setUp(bool switchedOff);
    // Starts following the pedal, only when set-up loaded the library: without one nothing needs
    // waking. The poll runs while a pedal is open; otherwise the device folder is watched.
    void startPolling();
    // A device has come or gone: while the pedal is missing, look for it now and for a few
    // seconds after (its node may become readable a moment after it appears).
    void devicesChanged();
    // Stops the poll and both repeats (closing the window).
    void stopAllTimers();
    Status status() const { return status_; }
    PedalSession::State sessionState() const { return session_.state(); }
    bool isPolling() const;

    // ---- Choices (the settings panel and the Settings menu) --------------------------------
    // Item i of an assignment group is action i + 1 (play, rewind, fast-forward); any other item
    // (none selected) leaves the action as it was.
    void chooseLeftAction(int item);
    void chooseCentreAction(int item);
    void chooseRightAction(int item);
    // Item 0 is normal mode, any other switch mode. Applies from the next report; the switch keeps
    // its state.
    void chooseMode(int item);
    // Off while "two pedals together change nothing" is checked.
    void setChordsEnabled(bool enabled);
    const PedalSettings& settings() const { return settings_; }

    // ---- The switch of switch mode ---------------------------------------------------------
    const PedalSwitch& switchState() const { return switch_; }
    // The reset to the initial state turns the switch off.
    void resetSwitch() { switch_ = {}; }

    // ---- Timer ticks, public so that tests can step them on a fake clock ---------------------
    void pollTick();
    void searchTick();
    // Opens the pedal that set-up found (the set-up timer's tick); nothing once done.
    void finishSetUp();
    void speedRepeatTick();
    void volumeRepeatTick();
    bool isSpeedRepeating() const;
    bool isVolumeRepeating() const;

Q_SIGNALS:
    // The Settings menu's pedal status line (statusText of the status).
    void statusChanged(const QString& text);
    // A modal message (the library cannot be loaded).
    void messageRequested(const QString& text);
    // The position text while the pedal skips: blue back, maroon forward. The play-state refresh
    // puts the usual colour back.
    void positionTextColorChanged(const QColor& color);
    // The hidden diagnostics: the last read's result and pedal byte, and of the last report
    // handled its pedal byte, "Up" / "Down Left" / ... (only for those states) and the action
    // taken (only when one was).
    void readResultShown(const QString& text);
    void readBitsShown(const QString& text);
    void reportBitsShown(const QString& text);
    void pedalStateShown(const QString& text);
    void actionShown(const QString& text);

private:
    bool gateOpen() const;
    bool mediaOpen() const;
    void setStatus(Status status);
    void statusFromSession();
    // Polls while the pedal is open and following is on; stops otherwise.
    void followSession();
    void handleRead(const PedalRead& read);
    void carryOut(const PedalEffect& effect);
    void startSkip(int direction);
    bool modifierHeld() const;

    PedalLibrary& library_;
    TransportController& transport_;
    KeyState& keys_;
    QString programFolder_;
    PedalSession session_;
    TickRunner runTick_;
    EntryGate* gate_ = nullptr;

    PedalSettings settings_;
    PedalSwitch switch_;
    int heldBits_ = 0;  // the pedals down at the last report, released if the pedal vanishes
    Status status_ = Status::NotConnected;
    bool libraryLoaded_ = false;
    bool skipColoured_ = false;  // the pedal's skip colour is on the position text

    QTimer* pollTimer_;
    QTimer* setUpTimer_;
    QTimer* searchTimer_;
    int searchesLeft_ = 0;
    bool following_ = false;
    bool openPending_ = false;  // set-up found a pedal that its timer has yet to open
    QFileSystemWatcher* deviceWatcher_ = nullptr;
    QTimer* speedRepeatTimer_;
    QTimer* volumeRepeatTimer_;
};
