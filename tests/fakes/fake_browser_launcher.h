#pragma once

#include <QStringList>

#include "web/browser_launcher.h"

// Records every address it is asked to open; answers `accepts`.
class FakeBrowserLauncher : public BrowserLauncher {
public:
    QStringList opened;
    bool accepts = true;

    bool open(const QString& address) override {
        opened << address;
        return accepts;
    }
};
