#include "core/entry_gate.h"

void EntryGate::setClosing(bool closing) {
    closing_ = closing;
    if (!closing) reopened();
}

EntryGate::Wait::Wait(EntryGate& gate) : gate_(gate) {
    ++gate_.waits_;
}

EntryGate::Wait::~Wait() {
    --gate_.waits_;
    gate_.reopened();
}

void EntryGate::reopened() {
    if (isOpen() && onReopened) onReopened();
}
