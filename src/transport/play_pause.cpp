// Play and pause with the automatic rewind, repeat play and the position poll.

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "app/main_form.h"
#include "app/toolbar_icons.h"
#include "core/profile_file.h"
#include "core/settings_keys.h"
#include "core/time_code.h"
#include "transport/media_player.h"
#include "transport/transport_tables.h"

void TAMainForm::PlayState() {
    TimerRewContinue->stop();
    TimerFwdContinue->stop();
    const bool playing = WindowsMediaPlayer1.playState() == PlayStates::Playing;
    ToolBarMPCotrol01Playpause->setIcon(playing ? ToolbarIcons::pause() : ToolbarIcons::play());
    ProgressBarTimePosition->setFontColor(playing ? QColor(255, 0, 0) : QColor(0, 0, 0));
    DisplayProgressSpeed(FormatSpeed(WindowsMediaPlayer1.rate()));
    DisplayProgressVolume(QString::number(WindowsMediaPlayer1.volume()));
    Q_EMIT transportChanged();
}

void TAMainForm::PlayPause() {
    TimerRepeat->stop();
    TimerRewContinue->stop();
    TimerFwdContinue->stop();
    if (MediaPath.isEmpty()) return;
    MediaPlayer& player = WindowsMediaPlayer1;
    if (WavMode) {
        player.setRate(1.0);
        const int state = player.playState();
        if (state == PlayStates::Playing) {
            player.pause();
            PlayState();
            SavedPosition = player.currentPosition();
        } else if (state == PlayStates::Paused || state == PlayStates::Stopped) {
            player.play();
            PlayState();
        }
        return;
    }
    if (player.playState() == PlayStates::Playing) {
        PlayToggled = false;
        player.pause();
        PlayState();
        const double target = std::max(0.0, player.currentPosition() - AutoBackSeconds);
        player.setCurrentPosition(target);
    } else {
        PlayToggled = true;
        player.play();
        PlayState();
    }
}

void TAMainForm::ToolBarMPCotrol01PlaypauseClick() {
    TimerRepeat->stop();
    if (MediaPath.isEmpty()) return;
    if (!QFileInfo::exists(MediaPath)) {
        MediaPath.clear();
        return;
    }
    if (WindowsMediaPlayer1.playState() == PlayStates::Playing)
        WindowsMediaPlayer1.pause();
    else
        WindowsMediaPlayer1.play();
    PlayState();
}

namespace {
void restartAt(MediaPlayer& player, double position) {
    if (player.playState() == PlayStates::Playing) player.pause();
    player.setCurrentPosition(position);
    player.play();
}
}  // namespace

void TAMainForm::ProcessReplay() {
    if (RepeatPosition > 0) restartAt(WindowsMediaPlayer1, RepeatPosition);
    TimerRepeat->start();
    PlayState();
}

void TAMainForm::TimerRepeatTimer() {
    if (RepeatPosition > 0) restartAt(WindowsMediaPlayer1, RepeatPosition);
}

void TAMainForm::ChangeAutobackSpaceTime(int index) {
    AutoBackSeconds = AutoBackSecondsFor(index);
}

int TAMainForm::ChangeRepeatTime(int index) {
    return RepeatIntervalFor(index);
}

void TAMainForm::RadioGroupAutoBackSpaceClick() {
    if (!Started) return;
    ChangeAutobackSpaceTime(RadioGroupAutoBackSpace->ItemIndex());
    if (QFileInfo(SettingsPath).isFile())
        ProfileFile(SettingsPath)
            .writeInteger(Ini::Play, Ini::AutoBackSpace, RadioGroupAutoBackSpace->ItemIndex());
}

void TAMainForm::RadioGroupRepeatTimeClick() {
    if (!Started) return;
    RepeatInterval = ChangeRepeatTime(RadioGroupRepeatTime->ItemIndex());
    TimerRepeat->setInterval(RepeatInterval);
    if (QFileInfo(SettingsPath).isFile())
        ProfileFile(SettingsPath)
            .writeInteger(Ini::Play, Ini::RepeatTime, RadioGroupRepeatTime->ItemIndex());
}

void TAMainForm::TimerWMPTimer() {
    MediaPlayer& player = WindowsMediaPlayer1;
    if (player.playState() != PlayStates::Playing) return;
    int seconds = 0;
    QString text;
    if (!WavMode) {
        PolledPosition = player.currentPosition();
        PolledDuration = player.duration();
        PositionSeconds = static_cast<int>(std::trunc(player.currentPosition()));
        seconds = PositionSeconds;
        text = Time2HHMMSS(PositionSeconds);
    } else {
        seconds = static_cast<int>(std::trunc(player.currentPosition()));
        text = GetCurrentTimePositionStr();
    }
    DisplayProgressBarTime(text);
    LabelPlayTime->setText(text);
    ProgressBarTimePosition->setPosition(seconds);
}
