#pragma once

#include <QString>
#include <QVariant>
#include <functional>
#include <optional>
#include <vector>

class ProfileFile;
class ProfileEdit;
class QAction;
class RadioGroup;

// One row per setting of the settings file. The rows stand in the order of the full write, which
// is also the order new keys are appended in; start-up reads them in the same order.
struct SettingRow {
    enum Kind { Text, Integer, Float, Flag };
    // When a menu toggle writes its flag.
    enum ToggleWrite { IfFileExists, IfFileExistsAndMediaOpen, IfMediaOpen };

    QString section{};
    QString key{};
    Kind kind = Integer;
    QVariant readDefault{};
    // A text (a path or an address) whose exact form is also kept under Ini::ExactText whenever
    // code page 932 cannot hold it, and read back from there while it still matches.
    bool keepsExactText = false;
    bool inFullWrite = true;
    bool reRegistersHotkeys = false;
    // What is written; what reading does with the value read (none: never read).
    std::function<QVariant()> value{};
    std::function<void(const QVariant&)> load{};
    // The control it binds, if any, and what the reset to defaults puts into it (none: left).
    QAction* toggle = nullptr;
    ToggleWrite toggleWrite = IfFileExists;
    RadioGroup* group = nullptr;
    std::optional<QVariant> resetTo{};
    // A group's click, once started: what it applies, and further keys written with it.
    std::function<void(int item)> onChoice{};
    std::vector<std::pair<QString, QString>> alsoWrites{};  // section, key
};

using SettingsTable = std::vector<SettingRow>;

QVariant ReadSetting(const ProfileFile& ini, const SettingRow& row);
void WriteSetting(const ProfileFile& ini, const SettingRow& row);
void WriteSetting(ProfileEdit& ini, const SettingRow& row);
const SettingRow* FindSetting(const SettingsTable& table, const QString& section,
                              const QString& key);
