// What the window shows of the transport and what its controls ask of it: the bars, the labels,
// the toolbar, the time picker, the open command and the transport groups of the settings panel.

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QTimeEdit>

#include "app/dialogs.h"
#include "app/main_form.h"
#include "app/toolbar_icons.h"
#include "core/time_code.h"
#include "transport/clock.h"
#include "transport/media_files.h"
#include "transport/media_player.h"
#include "transport/transport_controller.h"
#include "transport/transport_tables.h"

namespace {
// The media's name as the position bar shows it after the time.
QString barNameText(const QString& mediaName) {
    return QStringLiteral("    [ ") + mediaName + QStringLiteral(" ]");
}

void setBold(QWidget* widget, bool bold) {
    QFont font = widget->font();
    font.setBold(bold);
    widget->setFont(font);
}

void setPointSize(QWidget* widget, int size) {
    QFont font = widget->font();
    font.setPointSize(size);
    widget->setFont(font);
}
}  // namespace

void TAMainForm::connectTransport() {
    TransportController& t = *transport_;
    t.setTickRunner([this](const std::function<void()>& tick) { guard(tick); });
    connect(&t, &TransportController::aboutToLoad, this, [this](const QString& path) {
        LabelMovePostion0->setVisible(false);
        LabelKokoni->setText(QStringLiteral("↓ ここに"));
        LabelKokoni->setVisible(true);
        LabelMovePostion1->setText(QStringLiteral("Drag＆Drop"));
        setBold(LabelMovePostion1, false);
        ComboBoxURL->setEditText(QString());
        DateTimePickerSetting->setTime(QTime(0, 0, 0));
        // A time in the name that does not read as a time of day leaves the picker at 0:00:00;
        // the open itself goes on.
        const AtNameTime named = ParseAtNameTime(QFileInfo(path).fileName());
        if (named.kind == AtNameTime::Time) {
            DateTimePickerSetting->setTime(named.time);
            DateTimeChange();
        }
    });
    connect(&t, &TransportController::loadShown, this, [this](const QString& positionText) {
        setBold(ProgressBarTimePosition, true);
        DisplayProgressBarTime(positionText);
        setPointSize(ProgressBarVolume, 12);
    });
    connect(&t, &TransportController::indexFileNeeded, this, [this](const QString& mediaPath) {
        IndexFileName = IndexFileNameFor(mediaPath);
        if (QFileInfo::exists(IndexFileName)) ReadIndexIniFile(IndexFileName);
    });
    connect(&t, &TransportController::mediaCleared, this, [this] {
        ProgressBarTimePosition->setMax(0);
        ProgressBarTimePosition->setPosition(0);
        ProgressBarTimePosition->setPosTextPrefix(QString());
        ProgressBarTimePosition->setPosTextSuffix(QString());
        ClearIndex();
    });
    connect(&t, &TransportController::mediaOpened, this, [this] {
        LabelPlayTime->setText(QStringLiteral("0:00:00"));
        SaveOnClose = true;
    });
    connect(&t, &TransportController::lengthProbed, this, [this](const QString& durationText) {
        LabelDuartionTime->setText(durationText);
        LabelDuartionTime->setVisible(true);
        LabelMovePostion0->setText(QStringLiteral("録音時間"));
        setBold(LabelMovePostion0, true);
        LabelMovePostion0->setVisible(true);
    });
    connect(&t, &TransportController::lengthChanged, ProgressBarTimePosition,
            &TALProgressBar::setMax);
    connect(&t, &TransportController::positionBarChanged, ProgressBarTimePosition,
            &TALProgressBar::setPosition);
    connect(&t, &TransportController::positionTextChanged, this,
            &TAMainForm::DisplayProgressBarTime);
    connect(&t, &TransportController::positionShown, this,
            [this](int barValue, const QString& text) {
                ProgressBarTimePosition->setPosition(barValue);
                DisplayProgressBarTime(text);
                LabelPlayTime->setText(text);
            });
    connect(&t, &TransportController::speedTextChanged, this, &TAMainForm::DisplayProgressSpeed);
    connect(&t, &TransportController::volumeTextChanged, this, &TAMainForm::DisplayProgressVolume);
    connect(&t, &TransportController::volumeBarChanged, ProgressBarVolume,
            &TALProgressBar::setPosition);
    connect(&t, &TransportController::playingChanged, this, [this](bool playing) {
        ToolBarMPCotrol01Playpause->setIcon(playing ? ToolbarIcons::pause() : ToolbarIcons::play());
        ProgressBarTimePosition->setFontColor(playing ? QColor(255, 0, 0) : QColor(0, 0, 0));
    });
    connect(&t, &TransportController::messageRequested, this,
            [this](const QString& text) { dialogs.showMessage(text); });
}

void TAMainForm::Delay(int ms) {
    const EntryGate::Wait shut(gate_);
    clock.waitProcessingEvents(ms);
}

// ---- Opening -----------------------------------------------------------------------------------

void TAMainForm::ToolBarMPCotrol05OpenFileClick() {
    MenuFileOpenClick();
}

void TAMainForm::MenuFileOpenClick() {
    if (IndexChanged && !IndexFileName.isEmpty()) {
        WriteIndexIniFile(IndexFileName);
        IndexChanged = false;
    }
    transport_->closeMedia();
    QString path;
    if (!PendingMediaPath.isEmpty()) {
        path = PendingMediaPath;
        PendingMediaPath.clear();
    } else if (!OpenMediaDialog(QString(), path)) {
        return;
    }
    transport_->open(path);
}

bool TAMainForm::OpenMediaDialog(const QString& /*initialFolder*/, QString& fileName) {
    const auto chosen =
        dialogs.openFile(kOpenDialogTitle, kOpenDialogFilter, kOpenDialogDefaultExt);
    if (!chosen) return false;
    fileName = *chosen;
    return true;
}

void TAMainForm::DateTimeChange() {
    transport_->pauseIfPlaying();
}

void TAMainForm::sbSetTimeClick() {
    const QTime time = DateTimePickerSetting->time();
    SetTimePickerSetting(QStringLiteral("%1,%2,%3")
                             .arg(time.hour())
                             .arg(time.minute(), 2, 10, QLatin1Char('0'))
                             .arg(time.second(), 2, 10, QLatin1Char('0')));
    transport_->stopRepeat();
}

void TAMainForm::SetTimePickerSetting(const QString& commaTime) {
    const QStringList fields = SplitTimeFields(commaTime);
    auto field = [&](qsizetype i) { return i < fields.size() ? TimeFieldValue(fields[i]) : 0; };
    transport_->seekAndRepeat(fields.size() == 3 ? field(0) * 3600 + field(1) * 60 + field(2)
                                                 : field(0) * 60 + field(1));
}

void TAMainForm::MenuFileGetFilenameClick() {
    const QString& path = transport_->mediaPath();
    if (path.isEmpty()) return;
    const QFileInfo info(path);
    DisplayProgressVolumeBar(info.fileName() + QStringLiteral(" - ") +
                                 QDir::toNativeSeparators(info.absolutePath() + QLatin1Char('/')),
                             QString());
}

void TAMainForm::MenuFileGetFoldernameClick() {
    const QString& path = transport_->mediaPath();
    if (path.isEmpty()) return;
    DisplayProgressVolumeBar(QDir::toNativeSeparators(QFileInfo(path).absolutePath()), QString());
}

// ---- Toolbar and the transport groups -------------------------------------------------------

void TAMainForm::ToolBarMPCotrol01PlaypauseClick() {
    transport_->togglePlay();
}

void TAMainForm::ToolBarMPCotrol02SpeedClick() {
    transport_->toggleSpeedSwitch();
}

// ---- The bars ---------------------------------------------------------------------------------

void TAMainForm::DisplayProgressBarTime(const QString& timeText) {
    ProgressBarTimePosition->setPosTextPrefix(timeText);
    ProgressBarTimePosition->setPosTextSuffix(barNameText(transport_->mediaName()));
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
    transport_->setVolume(value);
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
    transport_->seek(value);
}

void TAMainForm::ProgressBarTimePositionClick() {
    transport_->togglePlayFromBar();
}
