// What the window shows of the transport and of the session's bar texts: the bars, the labels and
// the toolbar; and what dragging on the bars asks of the transport.

#include <QAction>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <algorithm>

#include "app/main_window.h"
#include "app/toolbar_icons.h"
#include "session/session.h"
#include "transport/player_view.h"
#include "transport/transport_controller.h"
#include "transport/transport_tables.h"

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
    TransportController& t = session_.transport();
    connect(&t, &TransportController::aboutToLoad, this, [this] {
        lengthCaptionLabel_->setVisible(false);
        dropHintLabel_->setText(QStringLiteral("↓ ここに"));
        dropHintLabel_->setVisible(true);
        dragHintLabel_->setText(QStringLiteral("Drag＆Drop"));
        setBold(dragHintLabel_, false);
        addressBox_->setEditText(QString());
    });
    connect(&t, &TransportController::loadShown, this, [this](const QString& positionText) {
        setBold(positionBar_, true);
        showPositionText(positionText);
        setPointSize(volumeBar_, 12);
    });
    connect(&t, &TransportController::mediaCleared, this, [this] {
        positionBar_->setMaximum(0);
        positionBar_->setPosition(0);
        positionBar_->setPositionTextPrefix(QString());
        positionBar_->setPositionTextSuffix(QString());
    });
    connect(&t, &TransportController::mediaOpened, this,
            [this] { playTimeLabel_->setText(QStringLiteral("0:00:00")); });
    connect(&t, &TransportController::lengthProbed, this, [this](const QString& durationText) {
        lengthLabel_->setText(durationText);
        lengthLabel_->setVisible(true);
        lengthCaptionLabel_->setText(QStringLiteral("録音時間"));
        setBold(lengthCaptionLabel_, true);
        lengthCaptionLabel_->setVisible(true);
    });
    connect(&t, &TransportController::lengthChanged, positionBar_, &ProgressBar::setMaximum);
    connect(&t, &TransportController::positionBarChanged, positionBar_, &ProgressBar::setPosition);
    connect(&t, &TransportController::positionTextChanged, this, &MainWindow::showPositionText);
    connect(&t, &TransportController::positionShown, this,
            [this](int barValue, const QString& text) {
                positionBar_->setPosition(barValue);
                showPositionText(text);
                playTimeLabel_->setText(text);
            });
    connect(&t, &TransportController::volumeBarChanged, volumeBar_, &ProgressBar::setPosition);
    connect(&t, &TransportController::playingChanged, this,
            [this](bool playing) { playPauseAction_->setIcon(playing ? pauseIcon_ : playIcon_); });
    // The texts that many commands change have one owner, the session.
    volumeBar_->setPositionTextPrefix(session_.volumeBarLeading());
    volumeBar_->setPositionTextSuffix(session_.volumeBarTrailing());
    connect(&session_, &Session::volumeBarTextsChanged, this,
            [this](const QString& leading, const QString& trailing) {
                volumeBar_->setPositionTextPrefix(leading);
                volumeBar_->setPositionTextSuffix(trailing);
            });
    connect(&session_, &Session::positionTextColorChanged, positionBar_,
            &ProgressBar::setFontColor);
}

quintptr MainWindow::videoWindowId() {
    return playerView_->videoWindowId();
}

// ---- The bars ---------------------------------------------------------------------------------

void MainWindow::showPositionText(const QString& timeText) {
    // The bar centres its text, so a name wider than the room left would push the time off its
    // left edge; the name gives way, shortened in the middle.
    const QFontMetrics metrics(positionBar_->font(), positionBar_);
    const int room = positionBar_->width() - 2 * kBarTextMargin -
                     metrics.horizontalAdvance(timeText + barNameText(QString()));
    const QString name = session_.transport().mediaName();
    positionBar_->setPositionTextPrefix(timeText);
    positionBar_->setPositionTextSuffix(
        barNameText(metrics.horizontalAdvance(name) <= room
                        ? name
                        : metrics.elidedText(name, Qt::ElideMiddle, std::max(room, 0))));
}

void MainWindow::volumeBarDragged(int x, int y) {
    ProgressBar* bar = volumeBar_;
    if (!volumeDragging_ || x < 0 || y < 0 || y > bar->height()) return;
    const int value = BarValueFromX(x, bar->width(), bar->maximum());
    if (value > bar->maximum()) return;
    session_.transport().setVolume(value);
}

void MainWindow::positionBarDragged(int x, int y) {
    ProgressBar* bar = positionBar_;
    if (!positionDragging_ || bar->maximum() == 0) return;
    if (x < 0 || x + 1 > bar->width() || y < 0 || y > bar->height()) return;
    const int value = BarValueFromX(x, bar->width(), bar->maximum());
    if (value > bar->maximum()) return;
    session_.transport().seek(value);
}
