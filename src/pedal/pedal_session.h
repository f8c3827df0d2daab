#pragma once

#include <optional>

#include "pedal/pedal_library.h"

// One read of the pedal, for the pedal logic.
struct PedalRead {
    int result;
    int bits;  // byte 1 of the report: 0 unless the read delivered one
};

// The pedal device over a run of the program: the set-up at start-up, one read per poll, and
// finding the pedal again when it was missing or has been unplugged. No widgets, no timers: the
// owner calls tick() every 200 ms while it is ready, and lookAgain() when devices come and go.
class PedalSession {
public:
    enum class State {
        Off,        // not set up, or the library is missing: the library is never called
        Searching,  // the library is loaded but no pedal is open; looked for now and then
        Ready,      // the pedal is open and read on every tick
    };
    // A missing pedal is looked for again every this many ticks (2 s at 200 ms).
    static constexpr int kSearchTicks = 10;
    // The wait between finding the pedals and opening one at start-up.
    static constexpr int kSetUpDelayMs = 1000;

    explicit PedalSession(PedalLibrary& library) : library_(library) {}

    // Set-up in two halves, so that the owner can wait with a timer in between: the first loads
    // the library and finds the pedals (with none found it is searching at once); after
    // kSetUpDelayMs the second opens the first pedal and drops what it reported before.
    enum class Found { NoLibrary, NoPedal, Pedal };
    Found beginSetUp();
    void finishSetUp();
    // While searching, tries to open the pedal now (a device has appeared); whether it is ready.
    bool lookAgain();
    // One poll: the read for the pedal logic, or nothing when there is nothing to hand on (not
    // ready, no media open, or NothingNew). A DeviceGone read is handed on: the logic answers it
    // with releaseDevice(). While searching, every kSearchTicks-th tick tries to open the pedal.
    std::optional<PedalRead> tick(bool mediaOpen);
    // Releases the pedal after DeviceGone and starts looking for it again.
    void releaseDevice();

    State state() const { return state_; }
    // -1 when the library is missing, 0 once the pedals have been enumerated.
    int deviceIndex() const { return deviceIndex_; }
    // The last read's result and pedal byte, for the hidden diagnostics labels.
    int lastResult() const { return lastResult_; }
    int lastBits() const { return lastBits_; }

private:
    bool openPedal();

    PedalLibrary& library_;
    State state_ = State::Off;
    int deviceIndex_ = 0;
    int searchCountdown_ = 0;
    int lastResult_ = 0;
    int lastBits_ = 0;
};
