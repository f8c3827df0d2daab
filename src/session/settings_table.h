#pragma once

#include <QString>
#include <QVariant>
#include <optional>
#include <vector>

class ProfileFile;
class ProfileSnapshot;
class ProfileEdit;

// Every setting of the settings file, in the order of the full write (also the order new keys are
// appended in and the order start-up reads them).
enum class Setting {
    // What the transport and the index hold; the store asks them.
    MediaFile,
    WebAddress,
    IndexFile,
    SavedPosition,
    // The repeat-position time picker.
    PickedTime,
    Volume,
    ChosenSpeed,
    // Choices of the settings panel: the item chosen (-1 for none).
    AutoRewind,
    SpeedChoice,
    RepeatInterval,
    CentrePedal,
    LeftPedal,
    RightPedal,
    ForwardStep,
    RewindStep,
    PedalMode,
    // Menu check marks.
    AddClipboardNote,
    IgnoreCapsLock,
    IgnoreCtrlSpace,
    KeepPanelOpen,
    ProtectEntries,
    IgnoreBackspace,
    IgnoreInsert,
    IgnorePrintScreen,
    IgnoreAltCharacter,
    IgnoreConvertKeys,
    IgnoreBackslash,
    IgnoreBracketKey,
    IgnoreF1,
    IgnoreF2,
    IgnorePedal,
    // Outside the full write: the flag is written only by its toggle, the window's place only by
    // its menu item and the reset.
    TwoPedalsKeepSpeedAndVolume,
    WindowTop,
    WindowLeft,
};
inline constexpr int kSettingCount = int(Setting::WindowLeft) + 1;

// Where the window stands when the file names no place, and after the reset.
inline constexpr int kDefaultWindowLeft = 800;
inline constexpr int kDefaultWindowTop = 100;

struct SettingRow {
    // A window coordinate is an integer that reads as its default when it is not above zero.
    enum Kind { Text, Integer, Float, Flag, TimeOfDay, Choice, WindowCoordinate };
    // When a menu toggle writes its flag.
    enum ToggleWrite { IfFileExists, IfFileExistsAndMediaOpen, IfMediaOpen };

    Setting setting{};
    QString section{};
    QString key{};
    Kind kind = Integer;
    // What a missing key reads as; the value a new session starts with (initial, when set).
    QVariant readDefault{};
    std::optional<QVariant> initial{};
    // A text (a path or an address) whose exact form is also kept under Ini::ExactText whenever
    // code page 932 cannot hold it, and read back from there while it still matches.
    bool keepsExactText = false;
    bool inFullWrite = true;
    bool reRegistersHotkeys = false;
    ToggleWrite toggleWrite = IfFileExists;
    // A choice: how many items it offers (a value beyond the last chooses the last, a negative one
    // none), whether start-up puts the item read into effect, and the settings written with it.
    int items = 0;
    bool appliedOnLoad = false;
    std::vector<Setting> alsoWrites{};
    // What the reset to the initial state puts back (none: left as it is).
    std::optional<QVariant> resetTo{};
};

// The rows, indexed by Setting.
const std::vector<SettingRow>& SettingsTable();
inline const SettingRow& RowOf(Setting setting) {
    return SettingsTable()[size_t(setting)];
}
// A row by its section and key; null for keys that are no setting.
const SettingRow* FindSetting(const QString& section, const QString& key);

// How a value is read from and written to the file, by the row's kind.
QVariant ReadSetting(const ProfileSnapshot& ini, const SettingRow& row);
void WriteSetting(const ProfileFile& ini, const SettingRow& row, const QVariant& value);
void WriteSetting(ProfileEdit& ini, const SettingRow& row, const QVariant& value);
