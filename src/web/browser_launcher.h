#pragma once

#include <QString>

// Opens a web address in the user's browser.
class BrowserLauncher {
public:
    virtual ~BrowserLauncher() = default;
    // False when the address is not an http or https address or no browser took it.
    virtual bool open(const QString& address) = 0;
};

// The desktop's default browser, through Qt's desktop services (xdg-open or the portal); the
// address never passes through a shell. Only http and https addresses with a host are opened,
// so that no text from the clipboard can start a local program or open a local file.
class DesktopBrowserLauncher final : public BrowserLauncher {
public:
    bool open(const QString& address) override;
};
