// What the window shows of the transport and what its controls ask of it: the bars, the labels,
// the toolbar, the time picker, the open command and the transport groups of the settings panel.

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QTimeEdit>

#include "app/dialogs.h"
#include "app/main_form.h"
#include "app/toolbar_icons.h"
#include "core/time_code.h"
#include "index/index_commands.h"
#include "transport/clock.h"
#include "transport/media_files.h"
#include "transport/media_player.h"
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

void TAMainForm::connectTransport() {
    TransportController& t = *transport_;
    t.setTickRunner([this](const std::function<void()>& tick) { guard(tick); });
    connect(&t, &TransportController::aboutToLoad, this, [this](const QString& path) {
        lengthCaptionLabel->setVisible(false);
        dropHintLabel->setText(QStringLiteral("↓ ここに"));
        dropHintLabel->setVisible(true);
        dragHintLabel->setText(QStringLiteral("Drag＆Drop"));
        setBold(dragHintLabel, false);
        ComboBoxURL->setEditText(QString());
        timePicker->setTime(QTime(0, 0, 0));
        // A time in the name that does not read as a time of day leaves the picker at 0:00:00;
        // the open itself goes on.
        const AtNameTime named = ParseAtNameTime(QFileInfo(path).fileName());
        if (named.kind == AtNameTime::Time) {
            timePicker->setTime(named.time);
            pauseForPicker();
        }
    });
    connect(&t, &TransportController::loadShown, this, [this](const QString& positionText) {
        setBold(positionBar, true);
        showPositionText(positionText);
        setPointSize(volumeBar, 12);
    });
    connect(&t, &TransportController::mediaCleared, this, [this] {
        positionBar->setMax(0);
        positionBar->setPosition(0);
        positionBar->setPosTextPrefix(QString());
        positionBar->setPosTextSuffix(QString());
    });
    connect(&t, &TransportController::mediaOpened, this, [this] {
        playTimeLabel->setText(QStringLiteral("0:00:00"));
        saveOnClose_ = true;
    });
    connect(&t, &TransportController::lengthProbed, this, [this](const QString& durationText) {
        lengthLabel->setText(durationText);
        lengthLabel->setVisible(true);
        lengthCaptionLabel->setText(QStringLiteral("録音時間"));
        setBold(lengthCaptionLabel, true);
        lengthCaptionLabel->setVisible(true);
    });
    connect(&t, &TransportController::lengthChanged, positionBar, &TALProgressBar::setMax);
    connect(&t, &TransportController::positionBarChanged, positionBar,
            &TALProgressBar::setPosition);
    connect(&t, &TransportController::positionTextChanged, this, &TAMainForm::showPositionText);
    connect(&t, &TransportController::positionShown, this,
            [this](int barValue, const QString& text) {
                positionBar->setPosition(barValue);
                showPositionText(text);
                playTimeLabel->setText(text);
            });
    connect(&t, &TransportController::speedTextChanged, this, &TAMainForm::showSpeedText);
    connect(&t, &TransportController::volumeTextChanged, this, &TAMainForm::showVolumeText);
    connect(&t, &TransportController::volumeBarChanged, volumeBar, &TALProgressBar::setPosition);
    connect(&t, &TransportController::playingChanged, this, [this](bool playing) {
        playPauseAction->setIcon(playing ? ToolbarIcons::pause() : ToolbarIcons::play());
        positionBar->setFontColor(playing ? QColor(255, 0, 0) : QColor(0, 0, 0));
    });
    connect(&t, &TransportController::messageRequested, this,
            [this](const QString& text) { dialogs.showMessage(text); });
}

void TAMainForm::Delay(int ms) {
    const EntryGate::Wait shut(gate_);
    clock.waitProcessingEvents(ms);
}

// ---- Opening -----------------------------------------------------------------------------------

void TAMainForm::openFileClicked() {
    MenuFileOpenClick();
}

void TAMainForm::MenuFileOpenClick() {
    indexCommands_->saveBeforeOpen();
    transport_->closeMedia();
    QString path;
    if (!pendingMediaPath_.isEmpty()) {
        path = pendingMediaPath_;
        pendingMediaPath_.clear();
    } else if (!askForMediaFile(QString(), path)) {
        return;
    }
    transport_->open(path);
}

bool TAMainForm::askForMediaFile(const QString& /*initialFolder*/, QString& fileName) {
    const auto chosen =
        dialogs.openFile(kOpenDialogTitle, kOpenDialogFilter, kOpenDialogDefaultExt);
    if (!chosen) return false;
    fileName = *chosen;
    return true;
}

void TAMainForm::pauseForPicker() {
    transport_->pauseIfPlaying();
}

void TAMainForm::setTimeClicked() {
    const QTime time = timePicker->time();
    seekToTimeText(QStringLiteral("%1,%2,%3")
                       .arg(time.hour())
                       .arg(time.minute(), 2, 10, QLatin1Char('0'))
                       .arg(time.second(), 2, 10, QLatin1Char('0')));
    transport_->stopRepeat();
}

void TAMainForm::seekToTimeText(const QString& commaTime) {
    const QStringList fields = SplitTimeFields(commaTime);
    auto field = [&](qsizetype i) { return i < fields.size() ? TimeFieldValue(fields[i]) : 0; };
    transport_->seekAndRepeat(fields.size() == 3 ? field(0) * 3600 + field(1) * 60 + field(2)
                                                 : field(0) * 60 + field(1));
}

void TAMainForm::MenuFileGetFilenameClick() {
    const QString& path = transport_->mediaPath();
    if (path.isEmpty()) return;
    const QFileInfo info(path);
    showVolumeBarText(info.fileName() + QStringLiteral(" - ") +
                          QDir::toNativeSeparators(info.absolutePath() + QLatin1Char('/')),
                      QString());
}

void TAMainForm::MenuFileGetFoldernameClick() {
    const QString& path = transport_->mediaPath();
    if (path.isEmpty()) return;
    showVolumeBarText(QDir::toNativeSeparators(QFileInfo(path).absolutePath()), QString());
}

// ---- Toolbar and the transport groups -------------------------------------------------------

void TAMainForm::playPauseClicked() {
    transport_->togglePlay();
}

void TAMainForm::speedSwitchClicked() {
    transport_->toggleSpeedSwitch();
}

// ---- The bars ---------------------------------------------------------------------------------

void TAMainForm::showPositionText(const QString& timeText) {
    // The bar centres its text, so a name wider than the room left would push the time off its
    // left edge; the name gives way, shortened in the middle.
    const QFontMetrics metrics(positionBar->font(), positionBar);
    const int room = positionBar->width() - 2 * kBarTextMargin -
                     metrics.horizontalAdvance(timeText + barNameText(QString()));
    const QString name = transport_->mediaName();
    positionBar->setPosTextPrefix(timeText);
    positionBar->setPosTextSuffix(
        barNameText(metrics.horizontalAdvance(name) <= room
                        ? name
                        : metrics.elidedText(name, Qt::ElideMiddle, std::max(room, 0))));
}

void TAMainForm::showSpeedText(const QString& speedText) {
    volumeBar->setPosTextPrefix(QStringLiteral("     再生速度[ ") + speedText +
                                QStringLiteral(" ］"));
}

void TAMainForm::showVolumeText(const QString& volumeText) {
    volumeBar->setPosTextSuffix(QStringLiteral("     音量[ ") + volumeText + QStringLiteral(" ］"));
}

void TAMainForm::showVolumeBarText(const QString& prefix, const QString& suffix) {
    volumeBar->setPosTextPrefix(prefix);
    volumeBar->setPosTextSuffix(suffix);
}

void TAMainForm::volumeBarPressed(Qt::MouseButton /*button*/, int /*x*/, int /*y*/) {
    volumeDragging_ = true;
}

void TAMainForm::volumeBarReleased(Qt::MouseButton /*button*/, int /*x*/, int /*y*/) {
    volumeDragging_ = false;
}

void TAMainForm::volumeBarDragged(int x, int y) {
    TALProgressBar* bar = volumeBar;
    if (!volumeDragging_ || x < 0 || y < 0 || y > bar->height()) return;
    const int value = BarValueFromX(x, bar->width(), bar->Max());
    if (value > bar->Max()) return;
    transport_->setVolume(value);
}

void TAMainForm::positionBarPressed(Qt::MouseButton /*button*/, int /*x*/, int /*y*/) {
    if (positionBar->Max() != 0) positionDragging_ = true;
}

void TAMainForm::positionBarReleased(Qt::MouseButton /*button*/, int /*x*/, int /*y*/) {
    if (positionBar->Max() != 0) positionDragging_ = false;
}

void TAMainForm::positionBarDragged(int x, int y) {
    TALProgressBar* bar = positionBar;
    if (!positionDragging_ || bar->Max() == 0) return;
    if (x < 0 || x + 1 > bar->width() || y < 0 || y > bar->height()) return;
    const int value = BarValueFromX(x, bar->width(), bar->Max());
    if (value > bar->Max()) return;
    transport_->seek(value);
}

void TAMainForm::positionBarClicked() {
    transport_->togglePlayFromBar();
}
