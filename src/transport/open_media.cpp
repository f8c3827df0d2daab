// Opening a media file: the open command, the muted probe for the length, the restore of the
// remembered position, the time picker and the two File-menu displays.

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QTimeEdit>
#include <QTimer>

#include "app/dialogs.h"
#include "app/main_form.h"
#include "core/time_code.h"
#include "transport/media_files.h"
#include "transport/media_player.h"

void TAMainForm::ToolBarMPCotrol05OpenFileClick() {
    MenuFileOpenClick();
}

void TAMainForm::MenuFileOpenClick() {
    if (IndexChanged && !IndexFileName.isEmpty()) {
        WriteIndexIniFile(IndexFileName);
        IndexChanged = false;
    }
    if (WindowsMediaPlayer1.playState() == PlayStates::Playing) {
        WindowsMediaPlayer1.stop();
        WindowsMediaPlayer1.setCurrentPosition(0);
    }
    WindowsMediaPlayer1.close();
    Delay(100);

    QString path;
    if (!PendingMediaPath.isEmpty()) {
        path = PendingMediaPath;
        PendingMediaPath.clear();
    } else if (!OpenMediaDialog(QString(), path)) {
        return;
    }
    WavMode = false;
    if (path.isEmpty()) return;

    FileReset();
    WavMode = false;
    MediaPath = path;
    MediaName = QFileInfo(path).fileName();
    WindowsMediaPlayer1.setURL(MediaPath);
    ClearIndex();
    OpenFile(MediaPath);
    SavedPosition = 0;
    PositionSeconds = 0;
    LabelPlayTime->setText(QStringLiteral("0:00:00"));
    SaveOnClose = true;
    Q_EMIT transportChanged();
}

bool TAMainForm::OpenMediaDialog(const QString& /*initialFolder*/, QString& fileName) {
    const auto chosen =
        dialogs.openFile(kOpenDialogTitle, kOpenDialogFilter, kOpenDialogDefaultExt);
    if (!chosen) return false;
    fileName = *chosen;
    return true;
}

bool TAMainForm::OpenFile(const QString& path) {
    LabelMovePostion0->setVisible(false);
    LabelKokoni->setText(QStringLiteral("↓ ここに"));
    LabelKokoni->setVisible(true);
    LabelMovePostion1->setText(QStringLiteral("Drag＆Drop"));
    QFont plain = LabelMovePostion1->font();
    plain.setBold(false);
    LabelMovePostion1->setFont(plain);

    ComboBoxURL->setEditText(QString());
    DateTimePickerSetting->setTime(QTime(0, 0, 0));
    // A time in the name that does not read as a time of day leaves the picker at 0:00:00; the
    // open itself goes on.
    const AtNameTime named = ParseAtNameTime(QFileInfo(path).fileName());
    if (named.kind == AtNameTime::Time) {
        DateTimePickerSetting->setTime(named.time);
        DateTimeChange();
    }

    WindowsMediaPlayer1.setURL(MediaPath);

    QFont positionFont = ProgressBarTimePosition->font();
    positionFont.setBold(true);
    ProgressBarTimePosition->setFont(positionFont);
    ProgressBarTimePosition->setPosTextPrefix(Time2HHMMSS(SavedPosition));
    ProgressBarTimePosition->setPosTextSuffix(QStringLiteral("    [ ") + MediaName +
                                              QStringLiteral(" ]"));

    QFont volumeFont = ProgressBarVolume->font();
    volumeFont.setPointSize(12);
    ProgressBarVolume->setFont(volumeFont);
    DisplayProgressSpeed(QStringLiteral("1.0"));
    DisplayProgressVolume(QStringLiteral("50"));

    IndexFileName = IndexFileNameFor(path);
    if (QFileInfo::exists(IndexFileName)) ReadIndexIniFile(IndexFileName);

    WindowsMediaPlayer1.setMute(true);
    WindowsMediaPlayer1.setURL(path);
    if (WindowsMediaPlayer1.playState() == PlayStates::Playing) {
        WindowsMediaPlayer1.pause();
        WindowsMediaPlayer1.setCurrentPosition(0);
    }
    TimerGetDuation->start();
    TimerWMP->start();
    return true;
}

void TAMainForm::TimerGetDuationTimer() {
    LabelDuartionTime->setText(GetDurationTime());
    LabelDuartionTime->setVisible(true);
    LabelMovePostion0->setText(QStringLiteral("録音時間"));
    QFont boldFont = LabelMovePostion0->font();
    boldFont.setBold(true);
    LabelMovePostion0->setFont(boldFont);
    LabelMovePostion0->setVisible(true);
    TimerGetDuation->stop();
    WindowsMediaPlayer1.pause();
    WindowsMediaPlayer1.setMute(false);
    GetDurationTime();
    Q_EMIT transportChanged();
}

void TAMainForm::TimerRestorePostionTimer() {
    TimerRestorePostion->stop();
    ProgressBarTimePosition->setMax(MediaLength);
    ProgressBarTimePosition->setMin(0);
    PositionSeconds = static_cast<int>(SavedPosition);
    ProgressBarTimePosition->setPosition(PositionSeconds);
    TimerWMP->start();
}

void TAMainForm::DateTimeChange() {
    if (WindowsMediaPlayer1.playState() == PlayStates::Playing) WindowsMediaPlayer1.pause();
}

void TAMainForm::sbSetTimeClick() {
    const QTime time = DateTimePickerSetting->time();
    SetTimePickerSetting(QStringLiteral("%1,%2,%3")
                             .arg(time.hour())
                             .arg(time.minute(), 2, 10, QLatin1Char('0'))
                             .arg(time.second(), 2, 10, QLatin1Char('0')));
    TimerRepeat->stop();
}

void TAMainForm::SetTimePickerSetting(const QString& commaTime) {
    const QStringList fields = SplitTimeFields(commaTime);
    auto field = [&](qsizetype i) { return i < fields.size() ? TimeFieldValue(fields[i]) : 0; };
    const long long seconds =
        fields.size() == 3 ? field(0) * 3600 + field(1) * 60 + field(2) : field(0) * 60 + field(1);
    if (seconds > DurationSeconds) {
        dialogs.showMessage(QStringLiteral("録画・録音時間を超えています"));
        return;
    }
    WindowsMediaPlayer1.setCurrentPosition(static_cast<double>(seconds));
    RepeatPosition = static_cast<double>(seconds);
    if (WindowsMediaPlayer1.playState() == PlayStates::Playing) WindowsMediaPlayer1.pause();
    ProgressBarTimePosition->setPosition(static_cast<int>(seconds));
    ProgressBarTimePosition->setPosTextPrefix(Time2HHMMSS(static_cast<double>(seconds)));
    ProcessReplay();
}

void TAMainForm::MenuFileGetFilenameClick() {
    if (MediaPath.isEmpty()) return;
    const QFileInfo info(MediaPath);
    DisplayProgressVolumeBar(info.fileName() + QStringLiteral(" - ") +
                                 QDir::toNativeSeparators(info.absolutePath() + QLatin1Char('/')),
                             QString());
}

void TAMainForm::MenuFileGetFoldernameClick() {
    if (MediaPath.isEmpty()) return;
    DisplayProgressVolumeBar(QDir::toNativeSeparators(QFileInfo(MediaPath).absolutePath()),
                             QString());
}
