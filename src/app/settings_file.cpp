// Reading and writing the settings file: the start-up read, the full write, and the writes of
// single keys when the user changes a menu option.

#include <QAction>
#include <QFileInfo>
#include <QTimeEdit>
#include <cmath>

#include "app/main_form.h"
#include "core/profile_file.h"
#include "core/settings_keys.h"
#include "transport/media_player.h"
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

void TAMainForm::LoadIniSettings(const QString& path) {
    if (!settingsFileExists(path)) return;
    const ProfileFile ini(path);

    WindowTop = ini.readInteger(Ini::FormPosition, Ini::Top, 0);
    WindowLeft = ini.readInteger(Ini::FormPosition, Ini::Left, 0);
    if (WindowTop <= 0) WindowTop = 100;
    if (WindowLeft <= 0) WindowLeft = 800;

    TransportController& t = *transport_;
    t.rememberMedia(ini.readString(Ini::General, Ini::File, QString()));
    t.setMediaUrl(ini.readString(Ini::General, Ini::URL, QString()));
    IndexFileName = ini.readString(Ini::General, Ini::Index, QString());

    t.setSavedPosition(ini.readFloat(Ini::Record, Ini::Position, 0));

    RadioGroupAutoBackSpace->setItemIndex(ini.readInteger(Ini::Play, Ini::AutoBackSpace, 0));
    RadioGroupRepeatTime->setItemIndex(ini.readInteger(Ini::Play, Ini::RepeatTime, 0));
    RadioGroupPlaySpeed->setItemIndex(ini.readInteger(Ini::Play, Ini::Speed, 0));
    t.loadSpeedChoice(RadioGroupPlaySpeed->ItemIndex());

    DateTimePickerSetting->setTime(
        timeFromDayFraction(ini.readFloat(Ini::Play, Ini::ActualTime, 0)));
    t.loadVolume(ini.readInteger(Ini::Play, Ini::Volume, 0));

    RadioGroupRedalPLAY->setItemIndex(ini.readInteger(Ini::Pedal, Ini::Center, 0));
    ChangePedalCenter();
    RadioGroupPedalREW->setItemIndex(ini.readInteger(Ini::Pedal, Ini::PedalLeft, 0));
    ChangePedalLeft();
    RadioGroupPedalFWD->setItemIndex(ini.readInteger(Ini::Pedal, Ini::Right, 0));
    ChangePedalRight();
    RadioGroupFWDPitch->setItemIndex(ini.readInteger(Ini::Pedal, Ini::FWDPitch, 0));
    t.chooseForwardStep(RadioGroupFWDPitch->ItemIndex());
    RadioGroupREWPitch->setItemIndex(ini.readInteger(Ini::Pedal, Ini::REWPitch, 0));
    t.chooseRewindStep(RadioGroupREWPitch->ItemIndex());
    RadioGroupPedalMode->setItemIndex(ini.readInteger(Ini::Pedal, Ini::PedalMode, 0));

    const std::pair<QAction*, QString> flags[] = {
        {MenuIndexSettingsAddClipboard, Ini::AddClipboard},
        {MenuSettingDontUseCapsLockkey, Ini::DontUseCapsLockkey},
        {MenuSettingDontUseCtrlSpaceKey, Ini::DontUseCtrlSpacekey},
        {MenuSettingKeepPanel, Ini::SettingPanel},
        {MenuDontUseFootPedal, Ini::DontUseUseFooptPeadl},
        {MenuSettingDontUseBackSpace, Ini::DontUseBackSpace},
        {MenuSettingDontUseInsert, Ini::DontUseInsert},
        {MenuSettingDontUseConvert, Ini::DontUseConvert},
        {MenuSettingDontUsePrintScr, Ini::DontUsePrintScr},
        {MenuSettingDontUseBackSlash, Ini::DontUseBackSlash},
        {MenuSettingDontUseAltPrintableKey, Ini::DontUseAltPrintableKey},
        {MenuSettingDontUseRightSQBKT, Ini::DontUseRightSQBKT},
        {MenuSettingDontUseF1, Ini::DontUseF1},
        {MenuSettingDontUseF2, Ini::DontUseF2},
        {MenuIndexSettingsProtecIndexEntry, Ini::ProtectItem},
        {MenuSettingsDontSpeadVolumeChange, Ini::DontChangeSpeedVolume}};
    for (const auto& [item, key] : flags)
        item->setChecked(ini.readBool(Ini::Menu, key, false));
}

void TAMainForm::SaveIniSettings(const QString& path) {
    // One replacement of the file instead of one per key: each replacement is synced to disk,
    // which adds up on a slow stick.
    ProfileEdit ini(path);
    const TransportController& t = *transport_;
    ini.writeString(Ini::General, Ini::File, t.mediaPath());
    ini.writeString(Ini::General, Ini::URL, t.mediaUrl());
    ini.writeString(Ini::General, Ini::Index, IndexFileName);
    ini.writeFloat(Ini::Record, Ini::Position, t.position());
    ini.writeFloat(Ini::Play, Ini::ActualTime, dayFraction(DateTimePickerSetting->time()));
    ini.writeInteger(Ini::Play, Ini::Volume, t.volume());
    ini.writeFloat(Ini::Play, Ini::ActualSpeed, t.chosenSpeed());
    ini.writeInteger(Ini::Play, Ini::AutoBackSpace, RadioGroupAutoBackSpace->ItemIndex());
    ini.writeInteger(Ini::Play, Ini::Speed, RadioGroupPlaySpeed->ItemIndex());
    ini.writeInteger(Ini::Play, Ini::RepeatTime, RadioGroupRepeatTime->ItemIndex());
    ini.writeInteger(Ini::Pedal, Ini::Center, RadioGroupRedalPLAY->ItemIndex());
    ini.writeInteger(Ini::Pedal, Ini::PedalLeft, RadioGroupPedalREW->ItemIndex());
    ini.writeInteger(Ini::Pedal, Ini::Right, RadioGroupPedalFWD->ItemIndex());
    ini.writeInteger(Ini::Pedal, Ini::FWDPitch, RadioGroupFWDPitch->ItemIndex());
    ini.writeInteger(Ini::Pedal, Ini::REWPitch, RadioGroupREWPitch->ItemIndex());
    ini.writeInteger(Ini::Pedal, Ini::PedalMode, RadioGroupPedalMode->ItemIndex());
    const std::pair<QAction*, QString> flags[] = {
        {MenuIndexSettingsAddClipboard, Ini::AddClipboard},
        {MenuSettingDontUseCapsLockkey, Ini::DontUseCapsLockkey},
        {MenuSettingDontUseCtrlSpaceKey, Ini::DontUseCtrlSpacekey},
        {MenuSettingKeepPanel, Ini::SettingPanel},
        {MenuIndexSettingsProtecIndexEntry, Ini::ProtectItem},
        {MenuSettingDontUseBackSpace, Ini::DontUseBackSpace},
        {MenuSettingDontUseInsert, Ini::DontUseInsert},
        {MenuSettingDontUsePrintScr, Ini::DontUsePrintScr},
        {MenuSettingDontUseAltPrintableKey, Ini::DontUseAltPrintableKey},
        {MenuSettingDontUseConvert, Ini::DontUseConvert},
        {MenuSettingDontUseBackSlash, Ini::DontUseBackSlash},
        {MenuSettingDontUseRightSQBKT, Ini::DontUseRightSQBKT},
        {MenuSettingDontUseF1, Ini::DontUseF1},
        {MenuSettingDontUseF2, Ini::DontUseF2},
        {MenuDontUseFootPedal, Ini::DontUseUseFooptPeadl}};
    for (const auto& [item, key] : flags)
        ini.writeBool(Ini::Menu, key, item->isChecked());
    ini.commit();
}

void TAMainForm::SaveMenuSettingsItem(const QString& section, const QString& key, bool value) {
    if (!settingsFileExists(SettingsPath)) return;
    ProfileFile(SettingsPath).writeBool(section, key, value);
    ProcessUnRegisterHotkey();
    Delay(300);
    ProcessRegisterHotkey();
}

namespace {
void flip(QAction* item) {
    item->setChecked(!item->isChecked());
}
}  // namespace

// The check always flips; whether the key is written and the hotkeys re-registered depends on
// the settings file being there.
void TAMainForm::toggleHotkeyItem(QAction* item, const QString& key) {
    flip(item);
    SaveMenuSettingsItem(Ini::Menu, key, item->isChecked());
}

void TAMainForm::MenuSettingDontUseCapsLockkeyClick() {
    toggleHotkeyItem(MenuSettingDontUseCapsLockkey, Ini::DontUseCapsLockkey);
}

void TAMainForm::MenuSettingDontUseCtrlSpaceKeyClick() {
    toggleHotkeyItem(MenuSettingDontUseCtrlSpaceKey, Ini::DontUseCtrlSpacekey);
}

void TAMainForm::MenuSettingDontUseBackSpaceClick() {
    toggleHotkeyItem(MenuSettingDontUseBackSpace, Ini::DontUseBackSpace);
}

void TAMainForm::MenuSettingDontUseInsertClick() {
    toggleHotkeyItem(MenuSettingDontUseInsert, Ini::DontUseInsert);
}

void TAMainForm::MenuSettingDontUseConvertClick() {
    toggleHotkeyItem(MenuSettingDontUseConvert, Ini::DontUseConvert);
}

void TAMainForm::MenuSettingDontUsePrintScrClick() {
    toggleHotkeyItem(MenuSettingDontUsePrintScr, Ini::DontUsePrintScr);
}

void TAMainForm::MenuSettingDontUseBackSlashClick() {
    toggleHotkeyItem(MenuSettingDontUseBackSlash, Ini::DontUseBackSlash);
}

void TAMainForm::MenuSettingDontUseAltPrintableKeyClick() {
    toggleHotkeyItem(MenuSettingDontUseAltPrintableKey, Ini::DontUseAltPrintableKey);
}

void TAMainForm::MenuSettingDontUseRightSQBKTClick() {
    toggleHotkeyItem(MenuSettingDontUseRightSQBKT, Ini::DontUseRightSQBKT);
}

void TAMainForm::MenuSettingDontUseF1Click() {
    toggleHotkeyItem(MenuSettingDontUseF1, Ini::DontUseF1);
}

void TAMainForm::MenuSettingDontUseF2Click() {
    toggleHotkeyItem(MenuSettingDontUseF2, Ini::DontUseF2);
}

void TAMainForm::MenuDontUseFootPedalClick() {
    flip(MenuDontUseFootPedal);
    if (settingsFileExists(SettingsPath))
        ProfileFile(SettingsPath)
            .writeBool(Ini::Menu, Ini::DontUseUseFooptPeadl, MenuDontUseFootPedal->isChecked());
}

void TAMainForm::MenuSettingsDontSpeadVolumeChangeClick() {
    flip(MenuSettingsDontSpeadVolumeChange);
    if (settingsFileExists(SettingsPath))
        ProfileFile(SettingsPath)
            .writeBool(Ini::Menu, Ini::DontChangeSpeedVolume,
                       MenuSettingsDontSpeadVolumeChange->isChecked());
}

void TAMainForm::MenuSettingKeepPanelClick() {
    flip(MenuSettingKeepPanel);
    if (settingsFileExists(SettingsPath) && !transport_->mediaPath().isEmpty())
        ProfileFile(SettingsPath)
            .writeBool(Ini::Menu, Ini::SettingPanel, MenuSettingKeepPanel->isChecked());
}

void TAMainForm::MenuIndexSettingsAddClipboardClick() {
    flip(MenuIndexSettingsAddClipboard);
    if (settingsFileExists(SettingsPath) && !transport_->mediaPath().isEmpty())
        ProfileFile(SettingsPath)
            .writeBool(Ini::Menu, Ini::AddClipboard, MenuIndexSettingsAddClipboard->isChecked());
}

void TAMainForm::MenuIndexSettingsProtecIndexEntryClick() {
    flip(MenuIndexSettingsProtecIndexEntry);
    if (!transport_->mediaPath().isEmpty())
        ProfileFile(SettingsPath)
            .writeBool(Ini::Menu, Ini::ProtectItem, MenuIndexSettingsProtecIndexEntry->isChecked());
}

void TAMainForm::MenuFileAppearThiPostionClick() {
    if (!settingsFileExists(SettingsPath)) return;
    WindowTop = y();
    WindowLeft = x();
    const ProfileFile ini(SettingsPath);
    ini.writeInteger(Ini::FormPosition, Ini::Top, WindowTop);
    ini.writeInteger(Ini::FormPosition, Ini::Left, WindowLeft);
}
