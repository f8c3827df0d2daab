// Speed, the one-touch speed switch, the skip steps and continuous skipping.

#include <QFileInfo>
#include <QLabel>
#include <QTimer>
#include <cmath>

#include "app/dialogs.h"
#include "app/main_form.h"
#include "core/profile_file.h"
#include "core/settings_keys.h"
#include "core/time_code.h"
#include "transport/media_player.h"
#include "transport/transport_tables.h"

QString TAMainForm::ChangeSpeedControl(int index) {
    const SpeedChoice choice = SpeedFor(index);
    SetSpeedActive = choice.active;
    SetSpeed = choice.speed;
    SpeedIndex = index;
    WindowsMediaPlayer1.setRate(choice.speed);
    return choice.text;
}

void TAMainForm::RadioGroupPlaySpeedClick() {
    if (!Started) return;
    DisplayProgressSpeed(ChangeSpeedControl(RadioGroupPlaySpeed->ItemIndex()));
    if (QFileInfo(SettingsPath).isFile()) {
        const ProfileFile ini(SettingsPath);
        ini.writeInteger(Ini::Play, Ini::Speed, RadioGroupPlaySpeed->ItemIndex());
        ini.writeFloat(Ini::Play, Ini::ActualSpeed, SetSpeed);
    }
    Q_EMIT transportChanged();
}

void TAMainForm::ToolBarMPCotrol02SpeedClick() {
    if (!WindowsMediaPlayer1.isAvailable(QStringLiteral("Rate"))) {
        dialogs.showMessage(
            QStringLiteral("Ｗａｖ形式でも、この音声データは\n\n再生速度を変更できません"));
        return;
    }
    if (SetSpeedActive) {
        SetSpeedActive = false;
        WindowsMediaPlayer1.setRate(1.0);
        DisplayProgressSpeed(QStringLiteral("1.0"));
    } else {
        SetSpeedActive = true;
        WindowsMediaPlayer1.setRate(SetSpeed);
        DisplayProgressSpeed(FormatSpeed(SetSpeed));
    }
    Q_EMIT transportChanged();
}

void TAMainForm::RewindTimePosition(int index) {
    if (const auto step = PitchFor(index)) RewPitch = *step;
}

void TAMainForm::ForwardTimePosition(int index) {
    if (const auto step = PitchFor(index)) FwdPitch = *step;
}

void TAMainForm::RadioGroupREWPitchClick() {
    if (!Started) return;
    RewindTimePosition(RadioGroupREWPitch->ItemIndex());
    if (QFileInfo(SettingsPath).isFile())
        ProfileFile(SettingsPath)
            .writeInteger(Ini::Pedal, Ini::REWPitch, RadioGroupREWPitch->ItemIndex());
}

void TAMainForm::RadioGroupFWDPitchClick() {
    if (!Started) return;
    ForwardTimePosition(RadioGroupFWDPitch->ItemIndex());
    if (QFileInfo(SettingsPath).isFile())
        ProfileFile(SettingsPath)
            .writeInteger(Ini::Pedal, Ini::FWDPitch, RadioGroupFWDPitch->ItemIndex());
}

namespace {
// Shows where a skip step landed, on the bar and in the time label.
void showSkipPosition(TAMainForm& form) {
    const double position = form.WindowsMediaPlayer1.currentPosition();
    form.ProgressBarTimePosition->setPosition(static_cast<int>(std::trunc(position)));
    const QString text = Time2HHMMSS(position);
    form.DisplayProgressBarTime(text);
    form.LabelPlayTime->setText(text);
}
}  // namespace

void TAMainForm::TimerRewContinueTimer() {
    MediaPlayer& player = WindowsMediaPlayer1;
    const double position = player.currentPosition();
    SavedPosition = position;
    PolledDuration = player.duration();
    const double target = position - RewPitch;
    if (target <= 0 || target >= PolledDuration) {
        player.setCurrentPosition(0);
        TimerRewContinue->stop();
        player.pause();
        PlayState();
    } else {
        player.setCurrentPosition(target);
    }
    showSkipPosition(*this);
}

void TAMainForm::TimerFwdContinueTimer() {
    MediaPlayer& player = WindowsMediaPlayer1;
    const double position = player.currentPosition();
    SavedPosition = position;
    PolledDuration = player.duration();
    const double target = position + FwdPitch;
    if (target <= 0 || target >= PolledDuration) {
        TimerFwdContinue->stop();
        player.pause();
        PlayState();
    } else {
        player.setCurrentPosition(target);
    }
    showSkipPosition(*this);
}
