#include "fakes/fake_clock.h"

#include <QCoreApplication>

void FakeClock::waitProcessingEvents(int ms) {
    QCoreApplication::processEvents();
    ++eventWaits_;
    waited_ += ms;
    advance(ms);
}
