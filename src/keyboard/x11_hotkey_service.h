#pragma once

#include <xcb/xcb.h>

#include <QAbstractNativeEventFilter>
#include <QHash>
#include <QList>
#include <QMap>

#include "keyboard/hotkey_service.h"
#include "keyboard/x11_keymap.h"

// Passive key grabs on every root window, made through Qt's own connection so that the key
// presses arrive through Qt's event loop. Each combination is grabbed on every keycode that
// carries its symbol and with every lock key state, so Caps/Num/Scroll Lock change nothing.
class X11HotkeyService : public HotkeyService, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    X11HotkeyService(xcb_connection_t* connection, QObject* parent = nullptr);
    ~X11HotkeyService() override;

    bool isAvailable() const override { return true; }
    GrabResult grab(int id, HotkeyModifier modifier, quint8 virtualKey) override;
    void release(int id) override;
    GrabResult result(int id) const override;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    struct Wanted {
        HotkeyModifier modifier;
        quint8 virtualKey;
        GrabResult result;
    };
    struct Grab {
        xcb_window_t root;
        xcb_keycode_t keycode;
        quint16 modifiers;
    };
    static quint32 combinationKey(xcb_keycode_t keycode, quint16 modifiers) {
        return quint32(keycode) << 16 | modifiers;
    }
    GrabResult grabNow(int id, const Wanted& wanted);
    void ungrabNow(int id);
    void scheduleRegrab();
    void regrab();

    xcb_connection_t* connection_;
    X11Keymap keymap_;
    QList<xcb_window_t> roots_;
    quint8 xkbFirstEvent_ = 0;
    bool regrabPending_ = false;
    QMap<int, Wanted> wanted_;
    QHash<int, QList<Grab>> grabs_;
    QHash<quint32, int> idByCombination_;  // keycode and modifiers without the lock bits
};
