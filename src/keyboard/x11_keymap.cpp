#include "keyboard/x11_keymap.h"

#include <cstdlib>
#include <memory>

namespace {
struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeDeleter>;

enum : quint32 { XkNumLock = 0xff7f, XkScrollLock = 0xff14, XkAltL = 0xffe9, XkAltR = 0xffea };
}  // namespace

bool X11Keymap::reload() {
    const xcb_setup_t* setup = xcb_get_setup(connection_);
    minKeycode_ = setup->min_keycode;
    const int count = setup->max_keycode - setup->min_keycode + 1;
    const auto keyboardCookie = xcb_get_keyboard_mapping(connection_, minKeycode_, quint8(count));
    const auto modifierCookie = xcb_get_modifier_mapping(connection_);
    const Reply<xcb_get_keyboard_mapping_reply_t> keyboard(
        xcb_get_keyboard_mapping_reply(connection_, keyboardCookie, nullptr));
    const Reply<xcb_get_modifier_mapping_reply_t> modifiers(
        xcb_get_modifier_mapping_reply(connection_, modifierCookie, nullptr));
    if (!keyboard || !modifiers) return false;

    perKeycode_ = keyboard->keysyms_per_keycode;
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(keyboard.get());
    symbols_.assign(syms, syms + xcb_get_keyboard_mapping_keysyms_length(keyboard.get()));
    keycodesPerModifier_ = modifiers->keycodes_per_modifier;
    const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(modifiers.get());
    modifierMap_.assign(codes, codes + xcb_get_modifier_mapping_keycodes_length(modifiers.get()));

    altMask_ = maskOfKeysym(XkAltL);
    if (!altMask_) altMask_ = maskOfKeysym(XkAltR);
    if (!altMask_) altMask_ = XCB_MOD_MASK_1;
    numLockMask_ = maskOfKeysym(XkNumLock);
    scrollLockMask_ = maskOfKeysym(XkScrollLock);
    return true;
}

quint32 X11Keymap::symbolAt(xcb_keycode_t keycode, int column) const {
    if (column >= perKeycode_ || keycode < minKeycode_) return 0;
    const size_t at = size_t(keycode - minKeycode_) * size_t(perKeycode_) + size_t(column);
    return at < symbols_.size() ? symbols_[at] : 0;
}

QList<xcb_keycode_t> X11Keymap::keycodesFor(const KeySymbol& symbol) const {
    QList<xcb_keycode_t> codes;
    if (perKeycode_ == 0 || symbol.unshifted == 0) return codes;
    const size_t keys = symbols_.size() / size_t(perKeycode_);
    for (size_t i = 0; i < keys; ++i) {
        const auto keycode = xcb_keycode_t(minKeycode_ + i);
        if (symbolAt(keycode, 0) != symbol.unshifted) continue;
        if (symbol.shifted && symbolAt(keycode, 1) != symbol.shifted) continue;
        codes << keycode;
    }
    return codes;
}

xcb_keycode_t X11Keymap::keycodeOf(quint32 keysym) const {
    const QList<xcb_keycode_t> codes = keycodesFor({keysym});
    return codes.isEmpty() ? 0 : codes.first();
}

quint16 X11Keymap::maskOfKeysym(quint32 keysym) const {
    const QList<xcb_keycode_t> codes = keycodesFor({keysym});
    for (int modifier = 0; modifier < 8; ++modifier)
        for (int i = 0; i < keycodesPerModifier_; ++i) {
            const size_t at = size_t(modifier * keycodesPerModifier_ + i);
            if (at < modifierMap_.size() && modifierMap_[at] && codes.contains(modifierMap_[at]))
                return quint16(1u << modifier);
        }
    return 0;
}

quint16 X11Keymap::modifierMask(HotkeyModifier modifier) const {
    switch (modifier) {
        case HotkeyModifier::Alt:
            return altMask_;
        case HotkeyModifier::Control:
            return XCB_MOD_MASK_CONTROL;
        case HotkeyModifier::Shift:
            return XCB_MOD_MASK_SHIFT;
        case HotkeyModifier::None:
            break;
    }
    return 0;
}

QList<quint16> X11Keymap::lockVariants() const {
    QList<quint16> variants{0};
    for (const quint16 lock : {quint16(XCB_MOD_MASK_LOCK), numLockMask_, scrollLockMask_}) {
        if (!lock) continue;
        const qsizetype n = variants.size();
        for (qsizetype i = 0; i < n; ++i)
            if (!variants.contains(quint16(variants[i] | lock)))
                variants << quint16(variants[i] | lock);
    }
    return variants;
}

quint16 X11Keymap::significantModifiers() const {
    constexpr quint16 all = XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 |
                            XCB_MOD_MASK_2 | XCB_MOD_MASK_3 | XCB_MOD_MASK_4 | XCB_MOD_MASK_5;
    return quint16(all & ~(numLockMask_ | scrollLockMask_));
}

std::vector<quint8> keysDown(xcb_connection_t* connection) {
    const Reply<xcb_query_keymap_reply_t> reply(
        xcb_query_keymap_reply(connection, xcb_query_keymap(connection), nullptr));
    if (!reply) return {};
    return std::vector<quint8>(std::begin(reply->keys), std::end(reply->keys));
}

bool allKeysUp(xcb_connection_t* connection) {
    const std::vector<quint8> keys = keysDown(connection);
    if (keys.empty()) return false;
    for (const quint8 byte : keys)
        if (byte) return false;
    return true;
}
