#pragma once

#include <xcb/xcb.h>

#include <QElapsedTimer>
#include <QTimer>

#include "keyboard/keystroke_output.h"

class X11KeystrokeOutput : public KeystrokeOutput {
    Q_OBJECT
public:
    // How often the key map is looked at while waiting, and for how long at most.
    static constexpr int kPollMs = 10;
    static constexpr int kGiveUpMs = 5000;

    explicit X11KeystrokeOutput(xcb_connection_t* connection, QObject* parent = nullptr);

    bool isAvailable() const override { return true; }
    void pasteWhenKeysReleased() override;

private:
    void poll();
    bool sendPaste();

    xcb_connection_t* connection_;
    QTimer poll_;
    QElapsedTimer waiting_;
};
