// The settings file through the one settings table: the start-up read, the full write, single
// writes, the reset of the controls to their defaults, the menu toggles and the group choices.

#include <QAction>
#include <QFileInfo>
#include <QTimeEdit>
#include <cmath>

#include "app/main_form.h"
#include "app/settings_table.h"
#include "core/profile_file.h"
#include "core/settings_keys.h"
#include "index/index_controller.h"
#include "pedal/pedal_controller.h"
#include "transport/transport_controller.h"

namespace {
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

bool settingsFileExists(const QString& path) {
    return !path.isEmpty() && QFileInfo(path).isFile();
}
}  // namespace

void MainWindow::buildSettingsTable() {
    TransportController* t = transport_;
    SettingsTable& rows = settings_;
    // The three texts are paths or an address: names a recording may have that code page 932
    // cannot hold must not be lost.
    auto text = [&](const QString& section, const QString& key, std::function<QVariant()> value,
                    std::function<void(const QVariant&)> load) {
        rows.push_back({.section = section,
                        .key = key,
                        .kind = SettingRow::Text,
                        .readDefault = QString(),
                        .keepsExactText = true,
                        .value = std::move(value),
                        .load = std::move(load)});
    };
    auto number = [&](const QString& section, const QString& key, SettingRow::Kind kind,
                      std::function<QVariant()> value, std::function<void(const QVariant&)> load) {
        rows.push_back({.section = section,
                        .key = key,
                        .kind = kind,
                        .readDefault = 0,
                        .value = std::move(value),
                        .load = std::move(load)});
    };
    // A radio group: its item is the value; loading sets the item (and may apply it).
    auto group = [&](const QString& section, const QString& key, RadioGroup* control, int resetItem,
                     std::function<void(int)> onChoice, bool applyOnLoad) {
        SettingRow row{.section = section,
                       .key = key,
                       .kind = SettingRow::Integer,
                       .readDefault = 0,
                       .value = [control] { return control->ItemIndex(); }};
        row.load = [control, onChoice, applyOnLoad](const QVariant& item) {
            control->setItemIndex(item.toInt());
            if (applyOnLoad) onChoice(control->ItemIndex());
        };
        row.group = control;
        row.resetTo = resetItem;
        row.onChoice = std::move(onChoice);
        rows.push_back(std::move(row));
    };
    auto flag = [&](const QString& key, QAction* item, std::optional<bool> resetTo, bool hotkeys,
                    SettingRow::ToggleWrite when = SettingRow::IfFileExists) {
        SettingRow row{.section = Ini::Menu,
                       .key = key,
                       .kind = SettingRow::Flag,
                       .readDefault = false,
                       .reRegistersHotkeys = hotkeys,
                       .value = [item] { return item->isChecked(); },
                       .load = [item](const QVariant& v) { item->setChecked(v.toBool()); },
                       .toggle = item,
                       .toggleWrite = when};
        if (resetTo) row.resetTo = *resetTo;
        rows.push_back(std::move(row));
    };

    text(
        Ini::General, Ini::File, [t] { return t->mediaPath(); },
        [t](const QVariant& v) { t->rememberMedia(v.toString()); });
    text(
        Ini::General, Ini::URL, [t] { return t->mediaUrl(); },
        [t](const QVariant& v) { t->setMediaUrl(v.toString()); });
    text(
        Ini::General, Ini::Index, [this] { return index_->indexFileName(); },
        // The index file follows the media file opened; what the file says is only kept.
        [](const QVariant&) {});
    number(
        Ini::Record, Ini::Position, SettingRow::Float, [t] { return t->position(); },
        [t](const QVariant& v) { t->setSavedPosition(v.toDouble()); });
    number(
        Ini::Play, Ini::ActualTime, SettingRow::Float,
        [this] { return dayFraction(timePicker_->time()); },
        [this](const QVariant& v) { timePicker_->setTime(timeFromDayFraction(v.toDouble())); });
    number(
        Ini::Play, Ini::Volume, SettingRow::Integer, [t] { return t->volume(); },
        [t](const QVariant& v) { t->loadVolume(v.toInt()); });
    number(Ini::Play, Ini::ActualSpeed, SettingRow::Float, [t] { return t->chosenSpeed(); }, {});
    group(
        Ini::Play, Ini::AutoBackSpace, autoRewindGroup_, 7,
        [t](int item) { t->chooseRewind(item); }, false);
    group(
        Ini::Play, Ini::Speed, speedGroup_, 2, [t](int item) { t->chooseSpeed(item); }, false);
    // Start-up puts the chosen speed into effect without showing it.
    rows.back().load = [this, t](const QVariant& item) {
        speedGroup_->setItemIndex(item.toInt());
        t->loadSpeedChoice(speedGroup_->ItemIndex());
    };
    rows.back().alsoWrites = {{Ini::Play, Ini::ActualSpeed}};
    group(
        Ini::Play, Ini::RepeatTime, repeatIntervalGroup_, 2,
        [t](int item) { t->chooseRepeatInterval(item); }, false);
    PedalController* pedal = pedal_;
    group(
        Ini::Pedal, Ini::Center, centrePedalGroup_, 0,
        [pedal](int item) { pedal->chooseCentreAction(item); }, true);
    group(
        Ini::Pedal, Ini::PedalLeft, leftPedalGroup_, 1,
        [pedal](int item) { pedal->chooseLeftAction(item); }, true);
    group(
        Ini::Pedal, Ini::Right, rightPedalGroup_, 2,
        [pedal](int item) { pedal->chooseRightAction(item); }, true);
    group(
        Ini::Pedal, Ini::FWDPitch, forwardStepGroup_, 3,
        [t](int item) { t->chooseForwardStep(item); }, true);
    group(
        Ini::Pedal, Ini::REWPitch, rewindStepGroup_, 3,
        [t](int item) { t->chooseRewindStep(item); }, true);
    group(
        Ini::Pedal, Ini::PedalMode, pedalModeGroup_, 0,
        [pedal](int item) { pedal->chooseMode(item); }, true);

    flag(Ini::AddClipboard, addClipboardNoteAction_, true, false,
         SettingRow::IfFileExistsAndMediaOpen);
    flag(Ini::DontUseCapsLockkey, ignoreCapsLockAction_, false, true);
    flag(Ini::DontUseCtrlSpacekey, ignoreCtrlSpaceAction_, false, true);
    flag(Ini::SettingPanel, keepPanelOpenAction_, false, false,
         SettingRow::IfFileExistsAndMediaOpen);
    flag(Ini::ProtectItem, protectEntriesAction_, false, false, SettingRow::IfMediaOpen);
    flag(Ini::DontUseBackSpace, ignoreBackspaceAction_, false, true);
    flag(Ini::DontUseInsert, ignoreInsertAction_, false, true);
    flag(Ini::DontUsePrintScr, ignorePrintScreenAction_, false, true);
    flag(Ini::DontUseAltPrintableKey, ignoreAltCharacterAction_, std::nullopt, true);
    flag(Ini::DontUseConvert, ignoreConvertKeysAction_, false, true);
    flag(Ini::DontUseBackSlash, ignoreBackslashAction_, false, true);
    flag(Ini::DontUseRightSQBKT, ignoreBracketKeyAction_, true, true);
    flag(Ini::DontUseF1, ignoreF1Action_, true, true);
    flag(Ini::DontUseF2, ignoreF2Action_, true, true);
    flag(Ini::DontUseUseFooptPeadl, ignorePedalAction_, std::nullopt, false);

    // Outside the full write: the flag is written only by its toggle, the position only by its
    // menu item and the reset.
    flag(Ini::DontChangeSpeedVolume, twoPedalsKeepSpeedAndVolumeAction_, std::nullopt, false);
    rows.back().inFullWrite = false;
    for (const auto& [key, fallback] :
         {std::pair{Ini::Top, kDefaultTop}, std::pair{Ini::Left, kDefaultLeft}}) {
        int* field = key == Ini::Top ? &windowTop_ : &windowLeft_;
        rows.push_back(
            {.section = Ini::FormPosition,
             .key = key,
             .kind = SettingRow::Integer,
             .readDefault = 0,
             .inFullWrite = false,
             .value = [field] { return *field; },
             .load = [field, fallback](
                         const QVariant& v) { *field = v.toInt() > 0 ? v.toInt() : fallback; }});
    }
}

void MainWindow::resetSettingControls() {
    for (const SettingRow& row : settings_) {
        if (!row.resetTo) continue;
        if (row.toggle) row.toggle->setChecked(row.resetTo->toBool());
        if (row.group) row.group->setItemIndex(row.resetTo->toInt());
    }
}

void MainWindow::loadSettings(const QString& path) {
    if (!settingsFileExists(path)) return;
    const ProfileFile ini(path);
    for (const SettingRow& row : settings_)
        if (row.load) row.load(ReadSetting(ini, row));
}

void MainWindow::saveAllSettings(const QString& path) {
    // One replacement of the file instead of one per key: each replacement is synced to disk,
    // which adds up on a slow stick.
    ProfileEdit ini(path);
    for (const SettingRow& row : settings_)
        if (row.inFullWrite) WriteSetting(ini, row);
    ini.commit();
}

void MainWindow::writeSettings(std::initializer_list<std::pair<QString, QString>> keys) {
    const ProfileFile ini(settingsPath_);
    for (const auto& [section, key] : keys)
        WriteSetting(ini, *FindSetting(settings_, section, key));
}

void MainWindow::toggleSetting(const SettingRow& row) {
    row.toggle->setChecked(!row.toggle->isChecked());
    const bool fileThere = settingsFileExists(settingsPath_);
    const bool mediaOpen = !transport_->mediaPath().isEmpty();
    const bool write = row.toggleWrite == SettingRow::IfFileExists  ? fileThere
                       : row.toggleWrite == SettingRow::IfMediaOpen ? mediaOpen
                                                                    : fileThere && mediaOpen;
    if (!write) return;
    WriteSetting(ProfileFile(settingsPath_), row);
    if (row.reRegistersHotkeys) reregisterHotkeys();
}

void MainWindow::chooseGroupItem(const SettingRow& row) {
    if (!started_) return;
    const int item = row.group->ItemIndex();
    row.onChoice(item);
    if (!settingsFileExists(settingsPath_)) return;
    const ProfileFile ini(settingsPath_);
    WriteSetting(ini, row);
    for (const auto& [section, key] : row.alsoWrites)
        WriteSetting(ini, *FindSetting(settings_, section, key));
}

void MainWindow::rememberWindowPosition() {
    if (!settingsFileExists(settingsPath_)) return;
    windowTop_ = y();
    windowLeft_ = x();
    writeSettings({{Ini::FormPosition, Ini::Top}, {Ini::FormPosition, Ini::Left}});
}
