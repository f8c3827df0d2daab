#pragma once

#include <QSet>
#include <QString>
#include <array>
#include <bitset>
#include <functional>
#include <optional>

// One modifier per combination; the values are the ones the settings and the key table were
// written with (Alt 1, Control 2, Shift 4).
enum class HotkeyModifier : quint8 { None = 0, Alt = 1, Control = 2, Shift = 4 };

// What a system-wide key does.
enum class HotkeyCommand : quint8 {
    PlayPause,
    VolumeUp,
    VolumeDown,
    SpeedUp,        // Alt+Scroll Lock: up to 2.0, shown
    SpeedDown,      // Shift+Scroll Lock: down to 0.4, shown
    WideSpeedUp,    // Ctrl+F24: up to 3.0, not shown
    WideSpeedDown,  // Alt+F24: down to 0.4, not shown
    ToggleSpeed,
    SetRepeatPosition,
    PlayFromRepeatPosition,
    StartContinuousRewind,
    StartContinuousForward,
    PlayFromClipboardTimeCode,
    InsertTimeCode,
    RegisterIndexEntry,
    Nothing,             // claimed so that the focused application never sees it, but does nothing
    StopContinuousSkip,  // on no key (play / pause ends a skip); for desktop shortcuts
};

// A combination of the table. The id (1..77, the slot's place in registration order) is what
// the hotkey service reports back when the combination is pressed.
struct HotkeySlot {
    int id;
    const char* name;  // fixed name, unique in the table
    HotkeyModifier modifier;
    quint8 virtualKey;            // Windows virtual-key code, as the table was designed with
    const QString* suppressedBy;  // settings key in section "Menu" that turns it off, or null
    HotkeyCommand command;
};

inline constexpr int kHotkeySlotCount = 77;
// The individual keys come first; the rest is the Alt + printable key group.
inline constexpr int kIndividualHotkeyCount = 28;

// The registration marks of the table and the passes that set and clear them.
class HotkeyTable {
public:
    using SlotAction = std::function<void(const HotkeySlot&)>;

    static const std::array<HotkeySlot, kHotkeySlotCount>& slotList();
    static const HotkeySlot* slot(int id);

    // Walks the slots in order and grabs every slot whose suppressing setting is not among the
    // checked ones; the Alt + printable setting ends the walk after the individual keys. A slot
    // still marked from an earlier pass (no release in between) that is now skipped is handed to
    // release, so no grab is ever left without its mark.
    void registerAll(const QSet<QString>& checkedSettings, const SlotAction& grab,
                     const SlotAction& release = {});
    // Releases the marked slots only, in table order, and clears their marks.
    void releaseAll(const SlotAction& release);

    bool isRegistered(int id) const;
    int registeredCount() const { return static_cast<int>(marks_.count()); }
    // The command of a registered slot; nothing for an id that no registered slot carries.
    std::optional<HotkeyCommand> commandFor(int id) const;

private:
    std::bitset<kHotkeySlotCount> marks_;
};
