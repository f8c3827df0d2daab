#pragma once

#include <functional>

// Whether a request from outside (the desktop media interface, the command-line hand-over,
// hotkeys, the pedal, the URL panel) may run now. The session's waits process events; a request
// run inside one would run in the middle of the command that waits (an open inside an open's
// wait uses up its file and leaves it to ask with a dialog). So the gate is shut while the
// session closes and during every such wait; callers refuse or defer what arrives meanwhile.
class EntryGate {
public:
    bool isOpen() const { return !closing_ && waits_ == 0; }
    bool isClosing() const { return closing_; }
    void setClosing(bool closing);

    // Shuts the gate for as long as it lives.
    class Wait {
    public:
        explicit Wait(EntryGate& gate);
        ~Wait();
        Wait(const Wait&) = delete;
        Wait& operator=(const Wait&) = delete;

    private:
        EntryGate& gate_;
    };

    // Called each time the gate opens again, to run what was deferred.
    std::function<void()> onReopened;

private:
    void reopened();

    int waits_ = 0;
    bool closing_ = false;
};
