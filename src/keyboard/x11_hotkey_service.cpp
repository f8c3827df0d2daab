#include "keyboard/x11_hotkey_service.h"

#include "core/timing_trace.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QTimer>
#include <cstdlib>
#include <cstring>

Q_LOGGING_CATEGORY(lcHotkeys, "scribo.hotkeys", QtWarningMsg)

namespace {
// Event codes of the keyboard extension, relative to its first event.
constexpr quint8 kXkbNewKeyboardNotify = 0;
constexpr quint8 kXkbMapNotify = 1;
constexpr quint8 kBadAccess = 10;
}  // namespace

X11HotkeyService::X11HotkeyService(xcb_connection_t* connection, QObject* parent)
    : HotkeyService(parent), connection_(connection), keymap_(connection) {
    for (auto it = xcb_setup_roots_iterator(xcb_get_setup(connection_)); it.rem;
         xcb_screen_next(&it))
        roots_ << it.data->root;
    static const char kXkb[] = "XKEYBOARD";
    if (auto* xkb = xcb_query_extension_reply(
            connection_, xcb_query_extension(connection_, std::strlen(kXkb), kXkb), nullptr)) {
        if (xkb->present) xkbFirstEvent_ = xkb->first_event;
        std::free(xkb);
    }
    keymap_.reload();
    QCoreApplication::instance()->installNativeEventFilter(this);
}

X11HotkeyService::~X11HotkeyService() {
    if (auto* app = QCoreApplication::instance()) app->removeNativeEventFilter(this);
    for (const int id : wanted_.keys())
        ungrabNow(id);
    xcb_flush(connection_);
}

GrabResult X11HotkeyService::grab(int id, HotkeyModifier modifier, quint8 virtualKey) {
    if (wanted_.contains(id)) ungrabNow(id);
    Wanted wanted{modifier, virtualKey, GrabResult::NoSuchKey};
    wanted.result = grabNow(id, wanted);
    wanted_.insert(id, wanted);
    return wanted.result;
}

void X11HotkeyService::release(int id) {
    if (!wanted_.contains(id)) return;
    ungrabNow(id);
    wanted_.remove(id);
    xcb_flush(connection_);
}

GrabResult X11HotkeyService::result(int id) const {
    const auto it = wanted_.constFind(id);
    return it == wanted_.cend() ? GrabResult::NoSuchKey : it->result;
}

GrabResult X11HotkeyService::grabNow(int id, const Wanted& wanted) {
    const quint16 modifiers = keymap_.modifierMask(wanted.modifier);
    QList<xcb_keycode_t> keycodes;
    for (const KeySymbol& symbol : keySymbolsFor(wanted.virtualKey))
        for (const xcb_keycode_t keycode : keymap_.keycodesFor(symbol))
            if (!keycodes.contains(keycode) &&
                !idByCombination_.contains(combinationKey(keycode, modifiers)))
                keycodes << keycode;
    if (keycodes.isEmpty()) return GrabResult::NoSuchKey;

    // All requests first, then all answers: one round trip for the whole combination.
    QList<Grab> grabs;
    QList<xcb_void_cookie_t> cookies;
    for (const xcb_window_t root : roots_)
        for (const xcb_keycode_t keycode : keycodes)
            for (const quint16 lock : keymap_.lockVariants()) {
                const Grab g{root, keycode, quint16(modifiers | lock)};
                // owner_events off: our own windows get no plain key events for these either.
                cookies << xcb_grab_key_checked(connection_, 0, g.root, g.modifiers, g.keycode,
                                                XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
                grabs << g;
            }
    QList<Grab> held;
    bool refused = false;
    for (qsizetype i = 0; i < cookies.size(); ++i) {
        if (xcb_generic_error_t* error = xcb_request_check(connection_, cookies[i])) {
            if (error->error_code != kBadAccess)
                qCWarning(lcHotkeys) << "grab failed with X error" << error->error_code;
            refused = true;
            std::free(error);
        } else {
            held << grabs[i];
        }
    }
    if (refused) {
        // A part of a combination would work in some lock states only; let the holder have it.
        for (const Grab& g : held)
            xcb_ungrab_key(connection_, g.keycode, g.root, g.modifiers);
        xcb_flush(connection_);
        return GrabResult::HeldElsewhere;
    }
    for (const xcb_keycode_t keycode : keycodes)
        idByCombination_.insert(combinationKey(keycode, modifiers), id);
    grabs_.insert(id, held);
    return GrabResult::Grabbed;
}

void X11HotkeyService::ungrabNow(int id) {
    for (const Grab& g : grabs_.take(id))
        xcb_ungrab_key(connection_, g.keycode, g.root, g.modifiers);
    for (auto it = idByCombination_.begin(); it != idByCombination_.end();)
        it = it.value() == id ? idByCombination_.erase(it) : std::next(it);
}

void X11HotkeyService::scheduleRegrab() {
    if (regrabPending_) return;
    regrabPending_ = true;
    // Several notifications come for one change; take them as one.
    QTimer::singleShot(0, this, &X11HotkeyService::regrab);
}

void X11HotkeyService::regrab() {
    regrabPending_ = false;
    keymap_.reload();
    for (const int id : wanted_.keys())
        ungrabNow(id);
    for (auto it = wanted_.begin(); it != wanted_.end(); ++it)
        it->result = grabNow(it.key(), *it);
    xcb_flush(connection_);
    Q_EMIT grabsRenewed();
}

bool X11HotkeyService::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const quint8 type = event->response_type & 0x7f;
    if (type == XCB_KEY_PRESS) {
        const auto* press = static_cast<const xcb_key_press_event_t*>(message);
        if (!roots_.contains(press->event)) return false;
        const quint16 modifiers =
            press->state & keymap_.significantModifiers() & ~quint16(XCB_MOD_MASK_LOCK);
        const auto it = idByCombination_.constFind(combinationKey(press->detail, modifiers));
        if (it == idByCombination_.cend()) return false;
        const int id = *it;
        timing::mark("key", id);
        // Handlers may wait with the event loop running; not from inside Qt's event dispatch.
        QMetaObject::invokeMethod(
            this, [this, id] { Q_EMIT activated(id); }, Qt::QueuedConnection);
        return true;
    }
    if (type == XCB_MAPPING_NOTIFY) {
        const auto* mapping = static_cast<const xcb_mapping_notify_event_t*>(message);
        if (mapping->request != XCB_MAPPING_POINTER) scheduleRegrab();
        return false;
    }
    if (xkbFirstEvent_ && type == xkbFirstEvent_) {
        // The extension's own event code is the second byte of every one of its events.
        const quint8 xkbType = reinterpret_cast<const quint8*>(message)[1];
        if (xkbType == kXkbNewKeyboardNotify || xkbType == kXkbMapNotify) scheduleRegrab();
    }
    return false;
}
