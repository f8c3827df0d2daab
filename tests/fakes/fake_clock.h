#pragma once

#include "transport/clock.h"

// A clock that moves only when told to. Waits advance it by their length, so a window under test
// runs its waits instantly while a fake player sharing this clock plays on.
class FakeClock : public Clock {
public:
    qint64 ticks() const override { return now_; }
    void waitProcessingEvents(int ms) override;
    void sleep(int ms) override { advance(ms); }
    void advance(qint64 ms) { now_ += ms > 0 ? ms : 0; }
    // Total time spent in waits, and how many waits processed events.
    qint64 waitedMs() const { return waited_; }
    int eventWaits() const { return eventWaits_; }

private:
    qint64 now_ = 1'000'000;
    qint64 waited_ = 0;
    int eventWaits_ = 0;
};
