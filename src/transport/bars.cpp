// The texts of the position and volume bars and what the mouse does on them.

#include <QLabel>
#include <QTimer>

#include "app/main_form.h"
#include "core/time_code.h"
#include "transport/media_player.h"
#include "transport/transport_tables.h"

void TAMainForm::DisplayProgressBarTime(const QString& timeText) {
    ProgressBarTimePosition->setPosTextPrefix(timeText);
    ProgressBarTimePosition->setPosTextSuffix(QStringLiteral("    [ ") + MediaName +
                                              QStringLiteral(" ]"));
}

void TAMainForm::DisplayProgressSpeed(const QString& speedText) {
    ProgressBarVolume->setPosTextPrefix(QStringLiteral("     再生速度[ ") + speedText +
                                        QStringLiteral(" ］"));
}

void TAMainForm::DisplayProgressVolume(const QString& volumeText) {
    ProgressBarVolume->setPosTextSuffix(QStringLiteral("     音量[ ") + volumeText +
                                        QStringLiteral(" ］"));
}

void TAMainForm::DisplayProgressVolumeBar(const QString& prefix, const QString& suffix) {
    ProgressBarVolume->setPosTextPrefix(prefix);
    ProgressBarVolume->setPosTextSuffix(suffix);
}

void TAMainForm::ProgressBarVolumeMouseDown(Qt::MouseButton /*button*/, int /*x*/, int /*y*/) {
    VolumeDragging = true;
}

void TAMainForm::ProgressBarVolumeMouseUp(Qt::MouseButton /*button*/, int /*x*/, int /*y*/) {
    VolumeDragging = false;
}

void TAMainForm::ProgressBarVolumeMouseMove(int x, int y) {
    TALProgressBar* bar = ProgressBarVolume;
    if (!VolumeDragging || x < 0 || y < 0 || y > bar->height()) return;
    const int value = BarValueFromX(x, bar->width(), bar->Max());
    if (value > bar->Max()) return;
    bar->setPosition(value);
    WindowsMediaPlayer1.setVolume(value);
    CurrentVolume = value;
    DisplayProgressVolume(QString::number(value));
    Q_EMIT transportChanged();
}

void TAMainForm::ProgressBarTimePositionMouseDown(Qt::MouseButton /*button*/, int /*x*/,
                                                  int /*y*/) {
    if (ProgressBarTimePosition->Max() != 0) PositionDragging = true;
}

void TAMainForm::ProgressBarTimePositionMouseUp(Qt::MouseButton /*button*/, int /*x*/, int /*y*/) {
    if (ProgressBarTimePosition->Max() != 0) PositionDragging = false;
}

void TAMainForm::ProgressBarTimePositionMouseMove(int x, int y) {
    TALProgressBar* bar = ProgressBarTimePosition;
    if (!PositionDragging || bar->Max() == 0) return;
    if (x < 0 || x + 1 > bar->width() || y < 0 || y > bar->height()) return;
    const int value = BarValueFromX(x, bar->width(), bar->Max());
    if (value > bar->Max()) return;
    bar->setPosition(value);
    WindowsMediaPlayer1.setCurrentPosition(value);
    const QString text = Time2HHMMSS(value);
    DisplayProgressBarTime(text);
    LabelPlayTime->setText(text);
}

void TAMainForm::ProgressBarTimePositionClick() {
    TimerRepeat->stop();
    TimerRewContinue->stop();
    TimerFwdContinue->stop();
    if (MediaPath.isEmpty()) return;
    if (WindowsMediaPlayer1.playState() == PlayStates::Playing)
        WindowsMediaPlayer1.pause();
    else
        WindowsMediaPlayer1.play();
    PlayState();
}
