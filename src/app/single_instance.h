#pragma once

#include <QDBusConnection>
#include <QString>

#include "app/mpris_logic.h"

// The session bus. Without one Scribo runs on alone; that is said once on standard error.
QDBusConnection SessionBusOrNotice();

// Hands a file or address to the Scribo that already holds the service name on the bus, so a
// second start does not fight the first one for the hotkeys. OpenUri answers before it opens
// anything, so a Scribo that is alive answers at once; one that does not within the time is
// stuck, and the start ends with a failure rather than run a second Scribo beside it.
struct HandOver {
    enum Result { NoneRunning, Delivered, Refused } result = NoneRunning;
    QString message;  // why the running one refused, or why it could not be reached
};
HandOver HandToRunningInstance(
    const QDBusConnection& bus, const QString& uri,
    const QString& serviceName = QString::fromLatin1(mpris::kServiceName), int timeoutMs = 5000);
