#include "app/settings_table.h"

#include "core/cp932.h"
#include "core/profile_file.h"
#include "core/settings_keys.h"

namespace {
// The exact text counts only while the value beside it is what it becomes in code page 932:
// after a program that knows nothing of it has written another value, it is stale.
QString exactText(const ProfileFile& ini, const SettingRow& row, const QString& stored) {
    const QString exact = ini.readUtf8String(Ini::ExactText, row.key, QString());
    return !exact.isEmpty() && toCp932(exact) == toCp932(stored) ? exact : stored;
}

bool survivesCp932(const QString& text) {
    return fromCp932(toCp932(text)) == text;
}
}  // namespace

QVariant ReadSetting(const ProfileFile& ini, const SettingRow& row) {
    switch (row.kind) {
        case SettingRow::Text: {
            const QString stored = ini.readString(row.section, row.key, row.readDefault.toString());
            return row.keepsExactText ? exactText(ini, row, stored) : stored;
        }
        case SettingRow::Integer:
            return ini.readInteger(row.section, row.key, row.readDefault.toInt());
        case SettingRow::Float:
            return ini.readFloat(row.section, row.key, row.readDefault.toDouble());
        case SettingRow::Flag:
            return ini.readBool(row.section, row.key, row.readDefault.toBool());
    }
    return {};
}

namespace {
template <typename Writer>
void write(Writer& ini, const SettingRow& row) {
    const QVariant value = row.value();
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
            ini.writeInteger(row.section, row.key, value.toInt());
            break;
        case SettingRow::Float:
            ini.writeFloat(row.section, row.key, value.toDouble());
            break;
        case SettingRow::Flag:
            ini.writeBool(row.section, row.key, value.toBool());
            break;
    }
}
}  // namespace

void WriteSetting(const ProfileFile& ini, const SettingRow& row) {
    write(ini, row);
}

void WriteSetting(ProfileEdit& ini, const SettingRow& row) {
    write(ini, row);
}

const SettingRow* FindSetting(const SettingsTable& table, const QString& section,
                              const QString& key) {
    for (const SettingRow& row : table)
        if (row.section == section && row.key == key) return &row;
    return nullptr;
}
