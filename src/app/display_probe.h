#pragma once

#include <QList>

#include "core/display_choice.h"

struct xcb_connection_t;

// Connects to the displays Qt is about to open, and holds on to an X11 connection until Qt has
// made its own: an X server whose last client leaves resets itself, and while it does it drops
// whoever connects (a bare X server such as Xvfb; a desktop always has other clients). Holding
// a connection keeps it from resetting under Qt; a connection dropped by a reset already under
// way, the previous Scribo's last, is tried again.
class DisplayConnector {
public:
    DisplayConnector() = default;
    ~DisplayConnector() { release(); }
    DisplayConnector(const DisplayConnector&) = delete;
    DisplayConnector& operator=(const DisplayConnector&) = delete;

    bool canOpen(const DisplayTarget& target);
    // Once Qt is connected.
    void release();

private:
    QList<xcb_connection_t*> held_;
};
