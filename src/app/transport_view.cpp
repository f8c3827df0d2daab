// What the window shows of the transport and what its controls ask of it: the bars, the labels,
// the toolbar, the time picker, the open command and the transport groups of the settings panel.

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QTimeEdit>
#include <utility>

#include "app/dialogs.h"
#include "app/main_form.h"
#include "app/toolbar_icons.h"
#include "core/time_code.h"
#include "index/index_commands.h"
#include "transport/clock.h"
#include "transport/media_files.h"
#include "transport/media_player.h"
#include "transport/player_view.h"
#include "transport/transport_controller.h"
#include "transport/transport_tables.h"

#include <algorithm>

namespace {
// The media's name as the position bar shows it after the time.
QString barNameText(const QString& mediaName) {
    return QStringLiteral("    [ ") + mediaName + QStringLiteral(" ]");
}

// Room kept free at each end of the bar: its sunken border.
constexpr int kBarTextMargin = 2;

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

void MainWindow::connectTransport() {
    TransportController& t = *transport_;
    t.setTickRunner([this](const std::function<void()>& tick) { guard(tick); });
    connect(&t, &TransportController::aboutToLoad, this, [this](const QString& path) {
        lengthCaptionLabel_->setVisible(false);
        dropHintLabel_->setText(QStringLiteral("↓ ここに"));
        dropHintLabel_->setVisible(true);
        dragHintLabel_->setText(QStringLiteral("Drag＆Drop"));
        setBold(dragHintLabel_, false);
        addressBox_->setEditText(QString());
        timePicker_->setTime(QTime(0, 0, 0));
        // A time in the name that does not read as a time of day leaves the picker at 0:00:00;
        // the open itself goes on. Nothing to pause for the picker: the open does not play.
        const AtNameTime named = ParseAtNameTime(QFileInfo(path).fileName());
        if (named.kind == AtNameTime::Time) timePicker_->setTime(named.time);
    });
    connect(&t, &TransportController::loadShown, this, [this](const QString& positionText) {
        setBold(positionBar_, true);
        showPositionText(positionText);
        setPointSize(volumeBar_, 12);
    });
    connect(&t, &TransportController::mediaCleared, this, [this] {
        positionBar_->setMax(0);
        positionBar_->setPosition(0);
        positionBar_->setPosTextPrefix(QString());
        positionBar_->setPosTextSuffix(QString());
    });
    connect(&t, &TransportController::mediaOpened, this, [this] {
        playTimeLabel_->setText(QStringLiteral("0:00:00"));
        saveOnClose_ = true;
    });
    connect(&t, &TransportController::lengthProbed, this, [this](const QString& durationText) {
        lengthLabel_->setText(durationText);
        lengthLabel_->setVisible(true);
        lengthCaptionLabel_->setText(QStringLiteral("録音時間"));
        setBold(lengthCaptionLabel_, true);
        lengthCaptionLabel_->setVisible(true);
    });
    connect(&t, &TransportController::lengthChanged, positionBar_, &ProgressBar::setMax);
    connect(&t, &TransportController::positionBarChanged, positionBar_, &ProgressBar::setPosition);
    connect(&t, &TransportController::positionTextChanged, this, &MainWindow::showPositionText);
    connect(&t, &TransportController::positionShown, this,
            [this](int barValue, const QString& text) {
                positionBar_->setPosition(barValue);
                showPositionText(text);
                playTimeLabel_->setText(text);
            });
    connect(&t, &TransportController::speedTextChanged, this, &MainWindow::showSpeedText);
    connect(&t, &TransportController::volumeTextChanged, this, &MainWindow::showVolumeText);
    connect(&t, &TransportController::volumeBarChanged, volumeBar_, &ProgressBar::setPosition);
    connect(&t, &TransportController::playingChanged, this, [this](bool playing) {
        playPauseAction_->setIcon(playing ? ToolbarIcons::pause() : ToolbarIcons::play());
        positionBar_->setFontColor(playing ? QColor(255, 0, 0) : QColor(0, 0, 0));
    });
    connect(&t, &TransportController::messageRequested, this,
            [this](const QString& text) { dialogs_.showMessage(text); });
}

quintptr MainWindow::videoWindowId() {
    return playerView_->videoWindowId();
}

void MainWindow::waitProcessingEvents(int ms) {
    const EntryGate::Wait shut(gate_);
    clock_.waitProcessingEvents(ms);
}

// ---- Opening -----------------------------------------------------------------------------------

void MainWindow::openMedia() {
    // The file is chosen before anything is let go: a cancelled dialog leaves the open media
    // playing or paused where it was, and the close saves that place.
    QString path;
    if (!pendingMediaPath_.isEmpty()) {
        path = std::exchange(pendingMediaPath_, QString());
    } else if (!askForMediaFile(path) || path.isEmpty()) {
        return;
    }
    indexCommands_->saveBeforeOpen();
    transport_->closeMedia();
    transport_->open(path);
}

bool MainWindow::askForMediaFile(QString& fileName) {
    const auto chosen =
        dialogs_.openFile(kOpenDialogTitle, kOpenDialogFilter, kOpenDialogDefaultExt);
    if (!chosen) return false;
    fileName = *chosen;
    return true;
}

void MainWindow::seekToPickedTime() {
    const QTime time = timePicker_->time();
    seekToTimeText(QStringLiteral("%1,%2,%3")
                       .arg(time.hour())
                       .arg(time.minute(), 2, 10, QLatin1Char('0'))
                       .arg(time.second(), 2, 10, QLatin1Char('0')));
    transport_->stopRepeat();
}

void MainWindow::seekToTimeText(const QString& commaTime) {
    transport_->seekAndRepeat(PickerTextSeconds(commaTime));
}

void MainWindow::showFileName() {
    const QString& path = transport_->mediaPath();
    if (path.isEmpty()) return;
    const QFileInfo info(path);
    showVolumeBarText(info.fileName() + QStringLiteral(" - ") +
                          QDir::toNativeSeparators(info.absolutePath() + QLatin1Char('/')),
                      QString());
}

void MainWindow::showFolderName() {
    const QString& path = transport_->mediaPath();
    if (path.isEmpty()) return;
    showVolumeBarText(QDir::toNativeSeparators(QFileInfo(path).absolutePath()), QString());
}

// ---- Toolbar and the transport groups -------------------------------------------------------

void MainWindow::togglePlay() {
    transport_->togglePlay();
}

void MainWindow::toggleSpeedSwitch() {
    transport_->toggleSpeedSwitch();
}

// ---- The bars ---------------------------------------------------------------------------------

void MainWindow::showPositionText(const QString& timeText) {
    // The bar centres its text, so a name wider than the room left would push the time off its
    // left edge; the name gives way, shortened in the middle.
    const QFontMetrics metrics(positionBar_->font(), positionBar_);
    const int room = positionBar_->width() - 2 * kBarTextMargin -
                     metrics.horizontalAdvance(timeText + barNameText(QString()));
    const QString name = transport_->mediaName();
    positionBar_->setPosTextPrefix(timeText);
    positionBar_->setPosTextSuffix(
        barNameText(metrics.horizontalAdvance(name) <= room
                        ? name
                        : metrics.elidedText(name, Qt::ElideMiddle, std::max(room, 0))));
}

void MainWindow::showSpeedText(const QString& speedText) {
    volumeBar_->setPosTextPrefix(QStringLiteral("     再生速度[ ") + speedText +
                                 QStringLiteral(" ］"));
}

void MainWindow::showVolumeText(const QString& volumeText) {
    volumeBar_->setPosTextSuffix(QStringLiteral("     音量[ ") + volumeText +
                                 QStringLiteral(" ］"));
}

void MainWindow::showVolumeBarText(const QString& prefix, const QString& suffix) {
    volumeBar_->setPosTextPrefix(prefix);
    volumeBar_->setPosTextSuffix(suffix);
}

void MainWindow::volumeBarPressed(Qt::MouseButton /*button*/, int /*x*/, int /*y*/) {
    volumeDragging_ = true;
}

void MainWindow::volumeBarReleased(Qt::MouseButton /*button*/, int /*x*/, int /*y*/) {
    volumeDragging_ = false;
}

void MainWindow::volumeBarDragged(int x, int y) {
    ProgressBar* bar = volumeBar_;
    if (!volumeDragging_ || x < 0 || y < 0 || y > bar->height()) return;
    const int value = BarValueFromX(x, bar->width(), bar->Max());
    if (value > bar->Max()) return;
    transport_->setVolume(value);
}

void MainWindow::positionBarPressed(Qt::MouseButton /*button*/, int /*x*/, int /*y*/) {
    if (positionBar_->Max() != 0) positionDragging_ = true;
}

void MainWindow::positionBarReleased(Qt::MouseButton /*button*/, int /*x*/, int /*y*/) {
    if (positionBar_->Max() != 0) positionDragging_ = false;
}

void MainWindow::positionBarDragged(int x, int y) {
    ProgressBar* bar = positionBar_;
    if (!positionDragging_ || bar->Max() == 0) return;
    if (x < 0 || x + 1 > bar->width() || y < 0 || y > bar->height()) return;
    const int value = BarValueFromX(x, bar->width(), bar->Max());
    if (value > bar->Max()) return;
    transport_->seek(value);
}

void MainWindow::positionBarClicked() {
    transport_->togglePlayFromBar();
}
