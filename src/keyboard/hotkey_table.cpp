#include "keyboard/hotkey_table.h"

#include "core/settings_keys.h"

namespace {
using C = HotkeyCommand;
using M = HotkeyModifier;

constexpr HotkeySlot alt(int id, const char* name, quint8 key) {
    return {id, name, M::Alt, key, &Ini::IgnoreAltCharacter, C::PlayPause};
}

const std::array<HotkeySlot, kHotkeySlotCount> kSlots = {{
    {1, "Hotkey1", M::None, 0x13, nullptr, C::PlayPause},
    {2, "Hotkey2", M::None, 0x91, nullptr, C::RegisterIndexEntry},
    {3, "Hotkey3", M::None, 0x2C, &Ini::IgnorePrintScreen, C::PlayPause},
    {4, "Hotkey16", M::Control, 0x2C, &Ini::IgnorePrintScreen, C::PlayFromClipboardTimeCode},
    {5, "Hotkey4", M::Alt, 0x13, nullptr, C::VolumeUp},
    {6, "Hotkey5", M::Shift, 0x13, nullptr, C::VolumeDown},
    {7, "Hotkey6", M::None, 0x87, nullptr, C::PlayPause},
    {8, "Hotkey7", M::Shift, 0x91, nullptr, C::SpeedDown},
    {9, "Hotkey9", M::Control, 0x20, &Ini::IgnoreCtrlSpace, C::PlayPause},
    {10, "Hotkey8", M::Alt, 0x20, nullptr, C::ToggleSpeed},
    {11, "Hotkey10", M::Alt, 0x91, nullptr, C::SpeedUp},
    {12, "Hotkey11", M::Alt, 0x08, &Ini::IgnoreBackspace, C::SetRepeatPosition},
    {13, "Hotkey12", M::Shift, 0x08, &Ini::IgnoreBackspace, C::PlayFromRepeatPosition},
    {14, "Hotkey13", M::None, 0xF0, &Ini::IgnoreCapsLock, C::PlayPause},
    {15, "Hotkey14", M::Control, 0xF0, &Ini::IgnoreCapsLock, C::Nothing},
    {16, "Hotkey15", M::Alt, 0xF0, &Ini::IgnoreCapsLock, C::Nothing},
    {17, "Hotkey17", M::Control, 0x87, nullptr, C::WideSpeedUp},
    {18, "Hotkey18", M::Alt, 0x87, nullptr, C::WideSpeedDown},
    {19, "Hotkey19", M::Control, 0x13, nullptr, C::VolumeUp},
    {20, "Hotkey20", M::Control, 0x91, nullptr, C::Nothing},
    {21, "Hotkey21", M::Control, 0x2D, &Ini::IgnoreInsert, C::InsertTimeCode},
    {22, "Hotkey23", M::Alt, 0x2D, &Ini::IgnoreInsert, C::Nothing},
    {23, "Hotkey24", M::Alt, 0x1D, &Ini::IgnoreConvertKeys, C::StartContinuousRewind},
    {24, "Hotkey25", M::Alt, 0x1C, &Ini::IgnoreConvertKeys, C::StartContinuousForward},
    {25, "Hotkey26", M::Shift, 0xE2, &Ini::IgnoreBackslash, C::PlayPause},
    {26, "Hotkey27", M::None, 0xDB, &Ini::IgnoreBracketKey, C::PlayPause},
    {27, "Hotkey28", M::None, 0x70, &Ini::IgnoreF1, C::PlayPause},
    {28, "Hotkey29", M::None, 0x71, &Ini::IgnoreF2, C::PlayPause},
    alt(29, "HotkeyA", 'A'),
    alt(30, "HotkeyB", 'B'),
    alt(31, "HotkeyC", 'C'),
    alt(32, "HotkeyD", 'D'),
    alt(33, "HotkeyE", 'E'),
    alt(34, "HotkeyF", 'F'),
    alt(35, "HotkeyG", 'G'),
    alt(36, "HotkeyH", 'H'),
    alt(37, "HotkeyI", 'I'),
    alt(38, "HotkeyJ", 'J'),
    alt(39, "HotkeyK", 'K'),
    alt(40, "HotkeyL", 'L'),
    alt(41, "HotkeyM", 'M'),
    alt(42, "HotkeyN", 'N'),
    alt(43, "HotkeyO", 'O'),
    alt(44, "HotkeyP", 'P'),
    alt(45, "HotkeyQ", 'Q'),
    alt(46, "HotkeyR", 'R'),
    alt(47, "HotkeyS", 'S'),
    alt(48, "HotkeyT", 'T'),
    alt(49, "HotkeyU", 'U'),
    alt(50, "HotkeyV", 'V'),
    alt(51, "HotkeyW", 'W'),
    alt(52, "HotkeyX", 'X'),
    alt(53, "HotkeyY", 'Y'),
    alt(54, "HotkeyZ", 'Z'),
    alt(55, "Hotkey_0", '0'),
    alt(56, "Hotkey_1", '1'),
    alt(57, "Hotkey_2", '2'),
    alt(58, "Hotkey_3", '3'),
    alt(59, "Hotkey_4", '4'),
    alt(60, "Hotkey_5", '5'),
    alt(61, "Hotkey_6", '6'),
    alt(62, "Hotkey_7", '7'),
    alt(63, "Hotkey_8", '8'),
    alt(64, "Hotkey_9", '9'),
    alt(65, "Hotkey_OEM_EQU", 0xBB),
    alt(66, "Hotkey_OEM_1", 0xBA),
    alt(67, "Hotkey_OEM_COMMA", 0xBC),
    alt(68, "Hotkey_OEM_MINUS", 0xBD),
    alt(69, "Hotkey_OEM_PERIOD", 0xBE),
    alt(70, "Hotkey_OEM_2", 0xBF),
    alt(71, "Hotkey_OEM_3", 0xC0),
    alt(72, "Hotkey_OEM_4", 0xDB),
    alt(73, "Hotkey_OEM_5", 0xDC),
    alt(74, "Hotkey_OEM_6", 0xDD),
    alt(75, "Hotkey_OEM_7", 0xDE),
    alt(76, "Hotkey_OEM_8", 0xDF),
    alt(77, "Hotkey_OEM_102", 0xE2),
}};

bool isSuppressed(const HotkeySlot& slot, const QSet<QString>& checkedSettings) {
    return slot.suppressedBy && checkedSettings.contains(*slot.suppressedBy);
}
}  // namespace

const std::array<HotkeySlot, kHotkeySlotCount>& HotkeyTable::slotList() {
    return kSlots;
}

const HotkeySlot* HotkeyTable::slot(int id) {
    if (id < 1 || id > kHotkeySlotCount) return nullptr;
    return &kSlots[static_cast<size_t>(id - 1)];
}

void HotkeyTable::registerAll(const QSet<QString>& checkedSettings, const SlotAction& grab,
                              const SlotAction& release) {
    const bool printableKeys = !checkedSettings.contains(Ini::IgnoreAltCharacter);
    for (const HotkeySlot& s : kSlots) {
        const size_t index = static_cast<size_t>(s.id - 1);
        const bool skipped =
            isSuppressed(s, checkedSettings) || (!printableKeys && s.id > kIndividualHotkeyCount);
        if (skipped) {
            // Only reachable when a pass runs without the release before it.
            if (marks_.test(index) && release) release(s);
            marks_.reset(index);
            continue;
        }
        grab(s);
        marks_.set(index);
    }
}

void HotkeyTable::releaseAll(const SlotAction& release) {
    for (const HotkeySlot& s : kSlots) {
        const size_t index = static_cast<size_t>(s.id - 1);
        if (!marks_.test(index)) continue;
        release(s);
        marks_.reset(index);
    }
}

bool HotkeyTable::isRegistered(int id) const {
    return id >= 1 && id <= kHotkeySlotCount && marks_.test(static_cast<size_t>(id - 1));
}

std::optional<HotkeyCommand> HotkeyTable::commandFor(int id) const {
    if (!isRegistered(id)) return std::nullopt;
    return kSlots[static_cast<size_t>(id - 1)].command;
}
