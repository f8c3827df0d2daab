#include "keyboard/key_state.h"

#include "keyboard/x11_connection.h"
#include "keyboard/x11_keymap.h"

namespace {
enum : quint32 {
    XkShiftL = 0xffe1,
    XkShiftR = 0xffe2,
    XkControlL = 0xffe3,
    XkControlR = 0xffe4,
    XkAltL = 0xffe9,
    XkAltR = 0xffea,
};

class X11KeyState : public KeyState {
public:
    explicit X11KeyState(xcb_connection_t* connection) : connection_(connection) {}

    ModifierKeys heldModifiers() const override {
        // The layout may have changed since the last question, so the map is read each time.
        X11Keymap keymap(connection_);
        const std::vector<quint8> down = keysDown(connection_);
        if (down.empty() || !keymap.reload()) return {};
        const auto held = [&](quint32 keysym) {
            for (const xcb_keycode_t keycode : keymap.keycodesFor({keysym}))
                if (down[keycode / 8] & (1u << (keycode % 8))) return true;
            return false;
        };
        ModifierKeys keys;
        if (held(XkControlL) || held(XkControlR)) keys |= ModifierKey::Control;
        if (held(XkAltL) || held(XkAltR)) keys |= ModifierKey::Alt;
        if (held(XkShiftL) || held(XkShiftR)) keys |= ModifierKey::Shift;
        return keys;
    }

private:
    xcb_connection_t* connection_;
};

class NoKeyState : public KeyState {
public:
    ModifierKeys heldModifiers() const override { return {}; }
};
}  // namespace

std::unique_ptr<KeyState> createKeyState() {
    if (xcb_connection_t* connection = x11Connection())
        return std::make_unique<X11KeyState>(connection);
    return std::make_unique<NoKeyState>();
}
