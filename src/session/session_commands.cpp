// What the window's controls ask of the session: opening, the settings, the URL panel.

#include <QDir>
#include <QFileInfo>

#include "core/time_code.h"
#include "index/index_commands.h"
#include "pedal/pedal_controller.h"
#include "session/dialogs.h"
#include "session/session.h"
#include "session/settings_store.h"
#include "transport/clock.h"
#include "transport/media_files.h"
#include "transport/transport_controller.h"

// ---- Opening -----------------------------------------------------------------------------------

void Session::openMedia() {
    // The file is chosen before anything is let go: a cancelled dialog leaves the open media
    // playing or paused where it was, and the close saves that place.
    QString path = std::exchange(pendingMediaPath_, QString());
    if (path.isEmpty()) {
        const auto chosen =
            dialogs_.openFile(kOpenDialogTitle, kOpenDialogFilter, kOpenDialogDefaultExt);
        if (!chosen || chosen->isEmpty()) return;
        path = *chosen;
    }
    indexCommands_->saveBeforeOpen();
    transport_->closeMedia();
    transport_->open(path);
}

void Session::dropFiles(const QStringList& paths) {
    if (paths.size() != 1) return;
    if (takeMediaFile(paths.constFirst())) {
        clock_.sleep(300);
        openMedia();
    }
}

bool Session::takeMediaFile(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    // A folder named like a recording ("talks.mp3") is refused like any other non-media name.
    if (IsMediaFileName(path) && !QFileInfo(path).isDir()) {
        pendingMediaPath_ = path;
        showVolumeBarLeading(name);
        return true;
    }
    pendingMediaPath_.clear();
    showVolumeBarLeading(QStringLiteral("▼") + name + QStringLiteral("▲"));
    return false;
}

void Session::seekToPickedTime() {
    const QTime time = settings_->time(Setting::PickedTime);
    transport_->seekAndRepeat(PickerTextSeconds(QStringLiteral("%1,%2,%3")
                                                    .arg(time.hour())
                                                    .arg(time.minute(), 2, 10, QLatin1Char('0'))
                                                    .arg(time.second(), 2, 10, QLatin1Char('0'))));
    transport_->stopRepeat();
}

void Session::showFileName() {
    const QString& path = transport_->mediaPath();
    if (path.isEmpty()) return;
    const QFileInfo info(path);
    showVolumeBarTexts(info.fileName() + QStringLiteral(" - ") +
                           QDir::toNativeSeparators(info.absolutePath() + QLatin1Char('/')),
                       QString());
}

void Session::showFolderName() {
    const QString& path = transport_->mediaPath();
    if (path.isEmpty()) return;
    showVolumeBarTexts(QDir::toNativeSeparators(QFileInfo(path).absolutePath()), QString());
}

// ---- Settings ----------------------------------------------------------------------------------

void Session::toggle(Setting setting) {
    const SettingRow& row = RowOf(setting);
    settings_->set(setting, !settings_->flag(setting));
    const bool fileThere = settings_->fileExists();
    const bool mediaOpen = !transport_->mediaPath().isEmpty();
    const bool write = row.toggleWrite == SettingRow::IfFileExists  ? fileThere
                       : row.toggleWrite == SettingRow::IfMediaOpen ? mediaOpen
                                                                    : fileThere && mediaOpen;
    if (!write) return;
    settings_->write(setting);
    if (row.reRegistersHotkeys) reregisterHotkeys();
}

void Session::choose(Setting setting, int item) {
    const int before = settings_->item(setting);
    settings_->set(setting, item);
    const int chosen = settings_->item(setting);
    // Before start-up the item is only shown; the settings read then are put into effect.
    if (!started_ || chosen == before) return;
    applyChoice(setting, chosen);
    if (!settings_->fileExists()) return;
    settings_->write(setting);
    for (Setting also : RowOf(setting).alsoWrites)
        settings_->write(also);
}

void Session::applyChoice(Setting setting, int item) {
    TransportController& t = *transport_;
    switch (setting) {
        case Setting::AutoRewind:
            return t.chooseRewind(item);
        case Setting::SpeedChoice:
            return t.chooseSpeed(item);
        case Setting::RepeatInterval:
            return t.chooseRepeatInterval(item);
        case Setting::CentrePedal:
            return pedal_->chooseCentreAction(item);
        case Setting::LeftPedal:
            return pedal_->chooseLeftAction(item);
        case Setting::RightPedal:
            return pedal_->chooseRightAction(item);
        case Setting::ForwardStep:
            return t.chooseForwardStep(item);
        case Setting::RewindStep:
            return t.chooseRewindStep(item);
        case Setting::PedalMode:
            return pedal_->chooseMode(item);
        default:
            return;
    }
}

void Session::rememberWindowPosition(QPoint topLeft) {
    if (!settings_->fileExists()) return;
    settings_->set(Setting::WindowTop, topLeft.y());
    settings_->set(Setting::WindowLeft, topLeft.x());
    settings_->write({Setting::WindowTop, Setting::WindowLeft});
}

// ---- The URL panel -----------------------------------------------------------------------------

void Session::pasteAddress(const QString& clipboardText) {
    request([&] { urlPanel_->paste(clipboardText); });
}

void Session::playAddress(const QString& boxText) {
    request([&] { urlPanel_->play(boxText); });
}

void Session::openAddressInBrowser(const QString& boxText) {
    request([&] { urlPanel_->openInBrowser(boxText); });
}
