// The three exit commands and the shutdown sequence.

#include <QAction>
#include <QCloseEvent>
#include <QTimer>

#include "app/main_form.h"
#include "core/profile_file.h"
#include "core/settings_keys.h"
#include "index/index_commands.h"
#include "pedal/pedal_controller.h"
#include "transport/media_player.h"
#include "transport/transport_controller.h"

void MainWindow::exitSavingSettings() {
    saveAllSettings(settingsPath_);
    close();
}

void MainWindow::exitWithoutSavingIndex() {
    indexCommands_->closeWithoutSaving();
    saveOnClose_ = false;
    close();
}

void MainWindow::exitProgram() {
    exitAction_->setEnabled(false);
    close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The waits of the shutdown process messages; a second close request meanwhile is the same
    // close, not a new one.
    if (gate_.isClosing()) {
        event->ignore();
        return;
    }
    gate_.setClosing(true);
    const bool done = guard([this] { shutDown(); });
    if (!done) {
        gate_.setClosing(false);
        // A refused write keeps the window open (timers stopped) so nothing is silently lost.
        exitAction_->setEnabled(true);
        event->ignore();
        return;
    }
    event->accept();
}

void MainWindow::shutDown() {
    transport_->stopAllTimers();
    pedal_->stopAllTimers();
    if (transport_->isPlaying()) {
        transport_->player().pause();
        waitProcessingEvents(100);
    }
    waitProcessingEvents(1200);
    if (saveOnClose_) {
        if (!transport_->mediaPath().isEmpty()) {
            writeSettings({{Ini::General, Ini::File}, {Ini::Record, Ini::Position}});
        }
        indexCommands_->saveAtClose();
    }
    setAcceptDrops(false);
}

void MainWindow::releaseHotkeys() {
    unregisterHotkeys();
}
