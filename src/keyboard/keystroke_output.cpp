#include "keyboard/keystroke_output.h"

#include <xcb/xtest.h>

#include "core/timing_trace.h"
#include "keyboard/x11_connection.h"
#include "keyboard/x11_keymap.h"
#include "keyboard/x11_keystroke_output.h"

namespace {
enum : quint32 { XkControlL = 0xffe3, XkV = 'v' };

class NoKeystrokeOutput : public KeystrokeOutput {
public:
    using KeystrokeOutput::KeystrokeOutput;
    bool isAvailable() const override { return false; }
    void pasteWhenKeysReleased() override {
        QMetaObject::invokeMethod(this, &KeystrokeOutput::pasteAbandoned, Qt::QueuedConnection);
    }
};
}  // namespace

X11KeystrokeOutput::X11KeystrokeOutput(xcb_connection_t* connection, QObject* parent)
    : KeystrokeOutput(parent), connection_(connection) {
    poll_.setInterval(kPollMs);
    connect(&poll_, &QTimer::timeout, this, &X11KeystrokeOutput::poll);
}

void X11KeystrokeOutput::pasteWhenKeysReleased() {
    if (poll_.isActive()) return;
    waiting_.start();
    poll_.start();
    poll();
}

void X11KeystrokeOutput::poll() {
    if (allKeysUp(connection_)) {
        poll_.stop();
        if (sendPaste())
            Q_EMIT pasted();
        else
            Q_EMIT pasteAbandoned();
    } else if (waiting_.elapsed() >= kGiveUpMs) {
        poll_.stop();
        Q_EMIT pasteAbandoned();
    }
}

bool X11KeystrokeOutput::sendPaste() {
    X11Keymap keymap(connection_);
    if (!keymap.reload()) return false;
    const xcb_keycode_t control = keymap.keycodeOf(XkControlL);
    const xcb_keycode_t v = keymap.keycodeOf(XkV);
    if (!control || !v) return false;
    const auto send = [this](quint8 type, xcb_keycode_t keycode) {
        xcb_test_fake_input(connection_, type, keycode, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    };
    timing::mark("paste");
    send(XCB_KEY_PRESS, control);
    send(XCB_KEY_PRESS, v);
    send(XCB_KEY_RELEASE, v);
    send(XCB_KEY_RELEASE, control);
    xcb_flush(connection_);
    return true;
}

std::unique_ptr<KeystrokeOutput> createKeystrokeOutput(QObject* parent) {
    if (xcb_connection_t* connection = x11Connection())
        return std::make_unique<X11KeystrokeOutput>(connection, parent);
    return std::make_unique<NoKeystrokeOutput>(parent);
}
