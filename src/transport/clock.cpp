#include "transport/clock.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <chrono>

qint64 SteadyClock::ticks() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SteadyClock::waitProcessingEvents(int ms) {
    const qint64 start = ticks();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    // Sleep in the event loop rather than spin: the wait at shutdown alone is over a second.
    while (ticks() - start < ms) {
        QEventLoop loop;
        QTimer::singleShot(static_cast<int>(ms - (ticks() - start)), Qt::PreciseTimer, &loop,
                           &QEventLoop::quit);
        loop.exec();
    }
}

void SteadyClock::sleep(int ms) {
    if (ms > 0) QThread::msleep(static_cast<unsigned long>(ms));
}
