#pragma once

#include <QLatin1String>
#include <QObject>
#include <QTimer>
#include <functional>

// Runs a controller's timer tick; the session passes its error guard, so that a player error in a
// tick ends with the standard error box.
using TickRunner = std::function<void(const std::function<void()>&)>;

// A timer of a controller, named after its job (tests find it by that name), whose ticks go
// through the controller's runner once one is set.
template <class Controller>
QTimer* makeTickTimer(Controller* owner, const char* name, int interval, const TickRunner& runner,
                      void (Controller::*tick)()) {
    auto* timer = new QTimer(owner);
    timer->setObjectName(QLatin1String(name));
    timer->setInterval(interval);
    QObject::connect(timer, &QTimer::timeout, owner, [owner, &runner, tick] {
        if (runner)
            runner([owner, tick] { (owner->*tick)(); });
        else
            (owner->*tick)();
    });
    return timer;
}
