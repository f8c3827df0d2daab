#pragma once

#include <QDBusConnection>
#include <QString>

#include "app/mpris_logic.h"

// `scribo --cmd NAME`: has the Scribo running on the session bus run one of its key actions.
// status is 0 when it ran, 1 when no Scribo could run it, 2 for a name that is no action.
struct ActionCommandResult {
    int status = 0;
    QString output;  // for standard output
    QString error;   // for standard error, without the "Scribo: " in front
};
ActionCommandResult RunActionCommand(
    const QString& name, const QDBusConnection& bus,
    const QString& serviceName = QString::fromLatin1(mpris::kServiceName), int timeoutMs = 25000);
