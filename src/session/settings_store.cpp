#include "session/settings_store.h"

#include <QFileInfo>
#include <algorithm>

#include "core/profile_file.h"

SettingsStore::SettingsStore(QObject* parent) : QObject(parent) {
    for (const SettingRow& row : SettingsTable())
        values_[size_t(row.setting)] = row.initial.value_or(row.readDefault);
}

QVariant SettingsStore::value(Setting setting) const {
    const Attached& attached = attached_[size_t(setting)];
    return attached.value ? attached.value() : values_[size_t(setting)];
}

void SettingsStore::set(Setting setting, const QVariant& value) {
    const SettingRow& row = RowOf(setting);
    QVariant stored = value;
    if (row.kind == SettingRow::Choice)
        stored = value.toInt() < 0 ? -1 : std::min(value.toInt(), row.items - 1);
    QVariant& held = values_[size_t(setting)];
    if (held == stored) return;
    held = stored;
    Q_EMIT changed(setting, stored);
}

void SettingsStore::attach(Setting setting, std::function<QVariant()> value,
                           std::function<void(const QVariant&)> load) {
    attached_[size_t(setting)] = {std::move(value), std::move(load)};
}

bool SettingsStore::fileExists() const {
    return !path_.isEmpty() && QFileInfo(path_).isFile();
}

void SettingsStore::load() {
    if (!fileExists()) return;
    // One reading of the file for every row.
    const ProfileSnapshot ini = ProfileFile(path_).load();
    for (const SettingRow& row : SettingsTable()) {
        const QVariant read = ReadSetting(ini, row);
        const Attached& attached = attached_[size_t(row.setting)];
        if (attached.value) {
            if (attached.load) attached.load(read);
        } else {
            set(row.setting, read);
        }
    }
}

void SettingsStore::saveAll() {
    ProfileEdit ini(path_);
    for (const SettingRow& row : SettingsTable())
        if (row.inFullWrite) WriteSetting(ini, row, value(row.setting));
    ini.commit();
}

void SettingsStore::write(std::initializer_list<Setting> settings) {
    const ProfileFile ini(path_);
    for (Setting setting : settings)
        WriteSetting(ini, RowOf(setting), value(setting));
}

QSet<QString> SettingsStore::checkedKeySuppressions() const {
    QSet<QString> checked;
    for (const SettingRow& row : SettingsTable())
        if (row.reRegistersHotkeys && flag(row.setting)) checked << row.key;
    return checked;
}
