#include "session/settings_table.h"

#include <QTime>
#include <cmath>

#include "core/cp932.h"
#include "core/profile_file.h"
#include "core/settings_keys.h"

namespace {
using Row = SettingRow;

// The three texts are paths or an address: names a recording may have that code page 932 cannot
// hold must not be lost.
Row text(Setting setting, const QString& key) {
    return {.setting = setting,
            .section = Ini::General,
            .key = key,
            .kind = Row::Text,
            .readDefault = QString(),
            .keepsExactText = true};
}

Row number(Setting setting, const QString& section, const QString& key, Row::Kind kind) {
    return {.setting = setting, .section = section, .key = key, .kind = kind, .readDefault = 0};
}

Row choice(Setting setting, const QString& section, const QString& key, int items, int resetItem,
           bool appliedOnLoad) {
    return {.setting = setting,
            .section = section,
            .key = key,
            .kind = Row::Choice,
            .readDefault = 0,
            .initial = -1,
            .items = items,
            .appliedOnLoad = appliedOnLoad,
            .resetTo = resetItem};
}

Row flag(Setting setting, const QString& key, std::optional<bool> resetTo, bool hotkeys,
         Row::ToggleWrite when = Row::IfFileExists) {
    Row row{.setting = setting,
            .section = Ini::Menu,
            .key = key,
            .kind = Row::Flag,
            .readDefault = false,
            .initial = resetTo.value_or(false),
            .reRegistersHotkeys = hotkeys,
            .toggleWrite = when};
    if (resetTo) row.resetTo = *resetTo;
    return row;
}

Row coordinate(Setting setting, const QString& key, int fallback) {
    return {.setting = setting,
            .section = Ini::WindowPosition,
            .key = key,
            .kind = Row::WindowCoordinate,
            .readDefault = fallback,
            .initial = 0};
}

// The item counts are those of the settings panel's groups.
constexpr int kRewindItems = 18;
constexpr int kSpeedItems = 7;
constexpr int kRepeatItems = 7;
constexpr int kPedalActionItems = 3;
constexpr int kStepItems = 7;
constexpr int kPedalModeItems = 2;

std::vector<Row> buildTable() {
    using S = Setting;
    std::vector<Row> rows{
        text(S::MediaFile, Ini::MediaFile),
        text(S::WebAddress, Ini::WebAddress),
        // The index file follows the media file opened; what the file says is only kept.
        text(S::IndexFile, Ini::IndexFile),
        number(S::SavedPosition, Ini::Record, Ini::SavedPosition, Row::Float),
        number(S::PickedTime, Ini::Play, Ini::PickedTime, Row::TimeOfDay),
        number(S::Volume, Ini::Play, Ini::Volume, Row::Integer),
        number(S::ChosenSpeed, Ini::Play, Ini::ChosenSpeed, Row::Float),
        choice(S::AutoRewind, Ini::Play, Ini::AutoRewind, kRewindItems, 7, false),
        choice(S::SpeedChoice, Ini::Play, Ini::SpeedChoice, kSpeedItems, 2, false),
        choice(S::RepeatInterval, Ini::Play, Ini::RepeatInterval, kRepeatItems, 2, false),
        choice(S::CentrePedal, Ini::Pedal, Ini::CentrePedal, kPedalActionItems, 0, true),
        choice(S::LeftPedal, Ini::Pedal, Ini::LeftPedal, kPedalActionItems, 1, true),
        choice(S::RightPedal, Ini::Pedal, Ini::RightPedal, kPedalActionItems, 2, true),
        choice(S::ForwardStep, Ini::Pedal, Ini::ForwardStep, kStepItems, 3, true),
        choice(S::RewindStep, Ini::Pedal, Ini::RewindStep, kStepItems, 3, true),
        choice(S::PedalMode, Ini::Pedal, Ini::PedalMode, kPedalModeItems, 0, true),
        flag(S::AddClipboardNote, Ini::AddClipboardNote, true, false,
             Row::IfFileExistsAndMediaOpen),
        flag(S::IgnoreCapsLock, Ini::IgnoreCapsLock, false, true),
        flag(S::IgnoreCtrlSpace, Ini::IgnoreCtrlSpace, false, true),
        flag(S::KeepPanelOpen, Ini::KeepPanelOpen, false, false, Row::IfFileExistsAndMediaOpen),
        flag(S::ProtectEntries, Ini::ProtectEntries, false, false, Row::IfMediaOpen),
        flag(S::IgnoreBackspace, Ini::IgnoreBackspace, false, true),
        flag(S::IgnoreInsert, Ini::IgnoreInsert, false, true),
        flag(S::IgnorePrintScreen, Ini::IgnorePrintScreen, false, true),
        flag(S::IgnoreAltCharacter, Ini::IgnoreAltCharacter, std::nullopt, true),
        flag(S::IgnoreConvertKeys, Ini::IgnoreConvertKeys, false, true),
        flag(S::IgnoreBackslash, Ini::IgnoreBackslash, false, true),
        flag(S::IgnoreBracketKey, Ini::IgnoreBracketKey, true, true),
        flag(S::IgnoreF1, Ini::IgnoreF1, true, true),
        flag(S::IgnoreF2, Ini::IgnoreF2, true, true),
        flag(S::IgnorePedal, Ini::IgnorePedal, std::nullopt, false),
        flag(S::TwoPedalsKeepSpeedAndVolume, Ini::TwoPedalsKeepSpeedAndVolume, std::nullopt, false),
        coordinate(S::WindowTop, Ini::WindowTop, kDefaultWindowTop),
        coordinate(S::WindowLeft, Ini::WindowLeft, kDefaultWindowLeft),
    };
    rows[size_t(S::PickedTime)].initial = QTime(0, 0, 0);
    rows[size_t(S::SpeedChoice)].alsoWrites = {S::ChosenSpeed};
    // Checked in a new session, unlike the other flags without a reset value.
    rows[size_t(S::TwoPedalsKeepSpeedAndVolume)].initial = true;
    for (S outside : {S::TwoPedalsKeepSpeedAndVolume, S::WindowTop, S::WindowLeft})
        rows[size_t(outside)].inFullWrite = false;
    return rows;
}

// The picker holds a time of day; the file keeps it as a fraction of a day.
double dayFraction(const QTime& time) {
    return time.msecsSinceStartOfDay() / 86400000.0;
}

QTime timeFromDayFraction(double fraction) {
    if (!std::isfinite(fraction) || fraction < 0) return QTime(0, 0, 0);
    const double part = fraction - std::floor(fraction);
    const auto ms = static_cast<int>(std::llround(part * 86400000.0) % 86400000);
    return QTime::fromMSecsSinceStartOfDay(ms);
}

// The exact text counts only while the value beside it is what it becomes in code page 932:
// after a program that knows nothing of it has written another value, it is stale.
QString exactText(const ProfileSnapshot& ini, const SettingRow& row, const QString& stored) {
    const QString exact = ini.readUtf8String(Ini::ExactText, row.key, QString());
    return !exact.isEmpty() && toCp932(exact) == toCp932(stored) ? exact : stored;
}
}  // namespace

const std::vector<SettingRow>& SettingsTable() {
    static const std::vector<SettingRow> table = buildTable();
    return table;
}

const SettingRow* FindSetting(const QString& section, const QString& key) {
    for (const SettingRow& row : SettingsTable())
        if (row.section == section && row.key == key) return &row;
    return nullptr;
}

QVariant ReadSetting(const ProfileSnapshot& ini, const SettingRow& row) {
    switch (row.kind) {
        case SettingRow::Text: {
            const QString stored = ini.readString(row.section, row.key, row.readDefault.toString());
            return row.keepsExactText ? exactText(ini, row, stored) : stored;
        }
        case SettingRow::Integer:
        case SettingRow::Choice:
            return ini.readInteger(row.section, row.key, row.readDefault.toInt());
        case SettingRow::WindowCoordinate: {
            const int read = ini.readInteger(row.section, row.key, 0);
            return read > 0 ? read : row.readDefault.toInt();
        }
        case SettingRow::Float:
            return ini.readFloat(row.section, row.key, row.readDefault.toDouble());
        case SettingRow::TimeOfDay:
            return timeFromDayFraction(ini.readFloat(row.section, row.key, 0));
        case SettingRow::Flag:
            return ini.readBool(row.section, row.key, row.readDefault.toBool());
    }
    return {};
}

namespace {
template <typename Writer>
void write(Writer& ini, const SettingRow& row, const QVariant& value) {
    switch (row.kind) {
        case SettingRow::Text:
            ini.writeString(row.section, row.key, value.toString());
            if (!row.keepsExactText) break;
            // Only what code page 932 loses is kept, so the section stays empty and absent for
            // names it can hold.
            if (survivesCp932(value.toString()))
                ini.removeKey(Ini::ExactText, row.key);
            else
                ini.writeUtf8String(Ini::ExactText, row.key, value.toString());
            break;
        case SettingRow::Integer:
        case SettingRow::Choice:
        case SettingRow::WindowCoordinate:
            ini.writeInteger(row.section, row.key, value.toInt());
            break;
        case SettingRow::Float:
            ini.writeFloat(row.section, row.key, value.toDouble());
            break;
        case SettingRow::TimeOfDay:
            ini.writeFloat(row.section, row.key, dayFraction(value.toTime()));
            break;
        case SettingRow::Flag:
            ini.writeBool(row.section, row.key, value.toBool());
            break;
    }
}
}  // namespace

void WriteSetting(const ProfileFile& ini, const SettingRow& row, const QVariant& value) {
    write(ini, row, value);
}

void WriteSetting(ProfileEdit& ini, const SettingRow& row, const QVariant& value) {
    write(ini, row, value);
}
