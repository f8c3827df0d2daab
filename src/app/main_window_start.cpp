// The window's part of start-up and of the reset: the labels, its place on a screen, the panel.

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTabWidget>
#include <QTimeEdit>

#include "app/main_window.h"
#include "core/time_code.h"
#include "core/window_placement.h"
#include "session/session.h"
#include "session/settings_store.h"
#include "transport/transport_controller.h"

namespace {
void setBold(QWidget* widget, bool bold) {
    QFont font = widget->font();
    font.setBold(bold);
    widget->setFont(font);
}
}  // namespace

void MainWindow::showStarted(bool mediaRemembered) {
    const TransportController& t = session_.transport();
    const bool mediaOpen = !t.mediaPath().isEmpty();
    if (!mediaRemembered) {
        playTimeLabel_->setText(QStringLiteral("位置移動"));
        setBold(positionBar_, false);
    } else if (mediaOpen) {
        playTimeLabel_->setText(TimeCodeText(t.savedPosition()));
        positionBar_->setPositionTextPrefix(TimeCodeText(t.savedPosition()));
    }

    // A place remembered on a screen that is gone (or a damaged file) must not hide the window.
    SettingsStore& settings = session_.settings();
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens << screen->availableGeometry();
    const QPoint remembered(settings.item(Setting::WindowLeft), settings.item(Setting::WindowTop));
    const QPoint place = reachablePosition(remembered, size(), screens,
                                           QPoint(kDefaultWindowLeft, kDefaultWindowTop));
    settings.set(Setting::WindowLeft, place.x());
    settings.set(Setting::WindowTop, place.y());
    move(place);

    if (!mediaOpen) {
        settingsTabs_->setCurrentWidget(playbackTab_);
        setBold(positionBar_, false);
    } else if (!settings.flag(Setting::KeepPanelOpen)) {
        collapseSettingsPanel();
    }
    timePicker_->setFocus();
}

void MainWindow::showMediaReleased() {
    resetLabels();
    QFont volumeFont = volumeBar_->font();
    volumeFont.setPointSize(9);
    volumeBar_->setFont(volumeFont);
    setBold(positionBar_, false);
}
