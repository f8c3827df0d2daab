// The start-up sequence, run once before the window is first shown.

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTabWidget>
#include <QTimeEdit>
#include <QTimer>
#include <cmath>
#include <cstdio>

#include "app/dialogs.h"
#include "app/main_form.h"
#include "app/settings_location.h"
#include "core/time_code.h"
#include "core/window_placement.h"
#include "index/index_commands.h"
#include "pedal/pedal_controller.h"
#include "transport/media_player.h"
#include "transport/transport_controller.h"

bool MainWindow::startUp() {
    const QString name = FindSettingsFile(programFolder_, settingsPrefix_);
    if (name.isEmpty() || !QFileInfo::exists(programFolder_ + name)) {
        // Ending without a word would look like success to whoever started us.
        std::fprintf(stderr, "Scribo: no settings file %s*.inf in %s\n",
                     qPrintable(settingsPrefix_),
                     qPrintable(QDir::toNativeSeparators(programFolder_)));
        exitCode_ = 2;
        return false;
    }
    const QString path = programFolder_ + name;
    if (const QString problem = SettingsFileProblem(path); !problem.isEmpty()) {
        // Read as all zeros and written back at the close, such a file would lose what it held.
        const QString text = QStringLiteral("The settings file %1 cannot be used: %2.")
                                 .arg(QDir::toNativeSeparators(path), problem);
        std::fprintf(stderr, "Scribo: %s\n", qPrintable(text));
        dialogs_.showMessage(text);
        exitCode_ = 2;
        return false;
    }
    RemoveInterruptedWrites(path);
    settingsPath_ = path;
    loadSettings(settingsPath_);

    pedal_->setUp(ignorePedalAction_->isChecked());

    TransportController& t = *transport_;
    QFont positionFont = positionBar_->font();
    const bool remembered = !t.mediaPath().isEmpty();
    t.restoreAtStartUp();
    if (t.mediaPath().isEmpty()) indexCommands_->startUpWithoutMedia();
    if (!remembered) {
        playTimeLabel_->setText(QStringLiteral("位置移動"));
        positionFont.setBold(false);
        positionBar_->setFont(positionFont);
    } else if (!t.mediaPath().isEmpty()) {
        playTimeLabel_->setText(Time2HHMMSS(t.savedPosition()));
        positionBar_->setPosTextPrefix(Time2HHMMSS(t.savedPosition()));
    }

    registerHotkeys();
    t.chooseRewind(autoRewindGroup_->ItemIndex());
    t.chooseRepeatInterval(repeatIntervalGroup_->ItemIndex());
    pedal_->startPolling();
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens << screen->availableGeometry();
    const QPoint place = reachablePosition(QRect(QPoint(windowLeft_, windowTop_), size()), screens,
                                           QPoint(kDefaultLeft, kDefaultTop));
    windowLeft_ = place.x();
    windowTop_ = place.y();
    move(place);

    if (t.mediaPath().isEmpty()) {
        settingsTabs_->setCurrentWidget(playbackTab_);
        positionFont.setBold(false);
        positionBar_->setFont(positionFont);
    } else if (!keepPanelOpenAction_->isChecked()) {
        collapseSettingsPanel();
    }

    t.finishStartUp();
    saveOnClose_ = true;
    started_ = true;
    timePicker_->setFocus();
    return true;
}
