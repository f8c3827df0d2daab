#include "app/settings_table.h"

#include "core/profile_file.h"

QVariant ReadSetting(const ProfileFile& ini, const SettingRow& row) {
    switch (row.kind) {
        case SettingRow::Text:
            return ini.readString(row.section, row.key, row.readDefault.toString());
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
