#include "keyboard/shortcut_actions.h"

#include <QStringList>

namespace {
using C = HotkeyCommand;
const std::array<ShortcutAction, kShortcutActionCount> kActions{{
    {"play-pause", "PlayPause", C::PlayPause, "play, or pause with the automatic rewind"},
    {"volume-up", "VolumeUp", C::VolumeUp, "volume up by 1 (after 100 comes 5)"},
    {"volume-down", "VolumeDown", C::VolumeDown, "volume down by 1 (after 5 comes 100)"},
    {"speed-up", "SpeedUp", C::SpeedUp, "speed up by 0.1 (after 2.0 comes 0.5)"},
    {"speed-down", "SpeedDown", C::SpeedDown, "speed down by 0.1 (after 0.4 comes 2.0)"},
    {"speed-up-wide", "SpeedUpWide", C::WideSpeedUp, "speed up by 0.1 (after 3.0 comes 0.5)"},
    {"speed-down-wide", "SpeedDownWide", C::WideSpeedDown,
     "speed down by 0.1 (after 0.4 comes 3.0)"},
    {"speed-switch", "SpeedSwitch", C::ToggleSpeed, "switch between 1.0 and the chosen speed"},
    {"set-repeat", "SetRepeat", C::SetRepeatPosition, "make the position the repeat position"},
    {"play-repeat", "PlayRepeat", C::PlayFromRepeatPosition, "play from the repeat position"},
    {"rewind-start", "RewindStart", C::StartContinuousRewind, "start rewinding continuously"},
    {"forward-start", "ForwardStart", C::StartContinuousForward,
     "start fast-forwarding continuously"},
    {"skip-stop", "SkipStop", C::StopContinuousSkip, "stop rewinding or fast-forwarding"},
    {"play-clipboard-time", "PlayClipboardTime", C::PlayFromClipboardTimeCode,
     "play from the time code on the clipboard"},
    {"insert-time-code", "InsertTimeCode", C::InsertTimeCode,
     "paste the position's time code where you type (on Wayland: copy it)"},
    {"register-index", "RegisterIndex", C::RegisterIndexEntry,
     "add the position to the index, with the clipboard's text as its note when chosen"},
}};

// Names of the keys the table gives a command first, as xkbcommon names the key symbols.
QString keyName(quint8 virtualKey) {
    switch (virtualKey) {
        case 0x08:
            return QStringLiteral("BackSpace");
        case 0x13:
            return QStringLiteral("Pause");
        case 0x1C:
            return QStringLiteral("Henkan");
        case 0x1D:
            return QStringLiteral("Muhenkan");
        case 0x20:
            return QStringLiteral("space");
        case 0x2C:
            return QStringLiteral("Print");
        case 0x2D:
            return QStringLiteral("Insert");
        case 0x87:
            return QStringLiteral("F24");
        case 0x91:
            return QStringLiteral("Scroll_Lock");
        default:
            return {};
    }
}

QString modifierName(HotkeyModifier modifier) {
    switch (modifier) {
        case HotkeyModifier::Alt:
            return QStringLiteral("ALT+");
        case HotkeyModifier::Control:
            return QStringLiteral("CTRL+");
        case HotkeyModifier::Shift:
            return QStringLiteral("SHIFT+");
        case HotkeyModifier::None:
            break;
    }
    return {};
}
}  // namespace

const std::array<ShortcutAction, kShortcutActionCount>& shortcutActions() {
    return kActions;
}

const ShortcutAction* findShortcutAction(const QString& name) {
    for (const ShortcutAction& action : kActions)
        if (name == QLatin1String(action.name)) return &action;
    return nullptr;
}

const ShortcutAction* findShortcutActionByMethod(const QString& method) {
    for (const ShortcutAction& action : kActions)
        if (method == QLatin1String(action.method)) return &action;
    return nullptr;
}

QString preferredTrigger(HotkeyCommand command) {
    for (const HotkeySlot& slot : HotkeyTable::slotList()) {
        if (slot.command != command) continue;
        const QString key = keyName(slot.virtualKey);
        return key.isEmpty() ? QString() : modifierName(slot.modifier) + key;
    }
    return {};
}

QString shortcutActionList() {
    QStringList lines;
    for (const ShortcutAction& action : kActions)
        lines << QStringLiteral("%1  %2")
                     .arg(QLatin1String(action.name), -20)
                     .arg(QLatin1String(action.summary));
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}
