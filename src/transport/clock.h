#pragma once

#include <QtGlobal>

// Time as the window sees it: a millisecond tick count and the two kinds of wait it uses.
// Tests substitute a clock they advance themselves, shared with the fake player.
class Clock {
public:
    virtual ~Clock() = default;
    virtual qint64 ticks() const = 0;
    // Waits while processing window messages (at least once, also for 0 ms).
    virtual void waitProcessingEvents(int ms) = 0;
    // Waits without processing any message.
    virtual void sleep(int ms) = 0;
};

class SteadyClock : public Clock {
public:
    qint64 ticks() const override;
    void waitProcessingEvents(int ms) override;
    void sleep(int ms) override;
};
