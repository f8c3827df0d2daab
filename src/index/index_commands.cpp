#include "index/index_commands.h"

#include "core/clipboard.h"
#include "core/profile_file.h"
#include "index/csv_export.h"
#include "index/index_controller.h"
#include "index/text_exports.h"
#include "keyboard/clipboard_time_code.h"
#include "transport/media_player.h"
#include "transport/transport_controller.h"

#include <QFileInfo>
#include <QTimer>
#include <cmath>

namespace {
const QString kExportTitle = QStringLiteral("インデックスの書き出し");
const QString kUtf8CsvFilter = QStringLiteral("CSV（UTF-8）ファイル|*.csv");
const QString kTextFilter = QStringLiteral("テキスト・ファイル|*.txt");

// The time picker holds a time of day; a longer recording shows its last second.
QTime timeOfDay(double seconds) {
    constexpr int kLastSecondOfDay = 24 * 3600 - 1;
    const double whole = std::trunc(seconds);
    const int shown = whole >= kLastSecondOfDay ? kLastSecondOfDay : static_cast<int>(whole);
    return QTime(0, 0).addSecs(shown);
}
}  // namespace

IndexCommands::IndexCommands(IndexController& index, TransportController& transport,
                             Clipboard& clipboard, Confirm confirm, QObject* parent)
    : QObject(parent),
      index_(index),
      transport_(transport),
      clipboard_(clipboard),
      confirm_(std::move(confirm)),
      addClipboard_([] { return true; }),
      protect_([] { return false; }),
      settingsPath_([] { return QString(); }),
      now_([] { return QDateTime::currentDateTime(); }),
      chooseSavePath_([](const QString&, const QString&, const QString&) { return std::nullopt; }) {
    // Opening a local file empties the index (mediaCleared) and then reads the file's own
    // (indexFileNeeded); a web address and the reset only empty it, and nothing is written.
    connect(&transport_, &TransportController::mediaCleared, this,
            [this] { index_.forgetMedia(); });
    connect(&transport_, &TransportController::indexFileNeeded, this,
            [this](const QString& mediaPath) {
                index_.openMedia(mediaPath);
                if (!index_.loadProblem().isEmpty()) showStatus(index_.loadProblem());
            });

    autosaveTimer_ = new QTimer(this);
    autosaveTimer_->setObjectName(QStringLiteral("indexAutosaveTimer"));
    autosaveTimer_->setSingleShot(true);
    autosaveTimer_->setInterval(kAutosaveDelayMs);
    connect(autosaveTimer_, &QTimer::timeout, this, &IndexCommands::autosave);
    // Not restarted by the next change: a steady stream of them is still written every moment.
    connect(&index_, &IndexController::entriesChanged, this, [this] {
        if (index_.isChanged() && !discardAtClose_ && !autosaveTimer_->isActive())
            autosaveTimer_->start();
    });
}

void IndexCommands::autosave() {
    try {
        index_.saveIfChanged();
        autosaveRefusalShown_ = false;
    } catch (const ProfileWriteError& e) {
        if (autosaveRefusalShown_) return;
        autosaveRefusalShown_ = true;
        showStatus(QString::fromUtf8(e.what()));
    }
}

QString IndexCommands::menuText(int entry) const {
    QString text = index_.caption(entry);
    text.replace(QLatin1Char('&'), QStringLiteral("&&"));
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    return text;
}

bool IndexCommands::hasMedia() const {
    return !transport_.player().address().isEmpty();
}

QString IndexCommands::clipboardTextIfWanted(bool addClipboard) const {
    if (!addClipboard) return QString();
    const QString text = clipboard_.text();
    // Left by Ctrl+Insert, it is Scribo's own, not a note of the typist's.
    return isTimeCodeClipText(text) ? QString() : text;
}

void IndexCommands::showStatus(const QString& text) {
    Q_EMIT volumeBarLeadingTextChanged(text);
    Q_EMIT volumeBarTrailingTextChanged(QString());
}

// A refusal keeps the volume bar's trailing text and takes the media's name off the position bar
// instead, so that the message has room.
void IndexCommands::showRefusal(const QString& text) {
    Q_EMIT positionBarTrailingTextChanged(QString());
    Q_EMIT volumeBarLeadingTextChanged(text);
}

void IndexCommands::registerEntry(int entry) {
    if (!IndexBook::isValidEntry(entry) || !hasMedia()) return;
    const double position = transport_.position();
    const bool addClipboard = addClipboard_();
    const RegistrationOutcome outcome = index_.registerByClick(
        entry, position, clipboardTextIfWanted(addClipboard), addClipboard, protect_(), now_());
    if (outcome.changedEntries())
        showStatus(outcome.statusText);
    else
        showRefusal(outcome.statusText);
    // The note has been used: the next registration should not pick it up again by mistake.
    if (addClipboard) clipboard_.clear();
}

void IndexCommands::playEntry(int entry) {
    if (!IndexBook::isValidEntry(entry) || !hasMedia()) return;
    const PlayRequest request = index_.playRequest(entry, transport_.duration());
    switch (request.result) {
        case PlayRequest::Result::Ignored:
            return;
        case PlayRequest::Result::BeyondLength:
            showStatus(request.statusText);
            return;
        case PlayRequest::Result::Play:
            break;
    }
    transport_.setRepeatPosition(request.position);
    Q_EMIT timePickerTimeChanged(timeOfDay(request.position));
    transport_.seek(request.position);
    transport_.player().play();
    transport_.refreshPlayState();
}

void IndexCommands::registerAppending() {
    if (!hasMedia()) return;
    if (index_.isFull()) {
        showRefusal(IndexTexts::IndexFull);
        return;
    }
    const double position = transport_.position();
    transport_.setRepeatPosition(position);
    const bool addClipboard = addClipboard_();
    const RegistrationOutcome outcome = index_.registerAppending(
        position, clipboardTextIfWanted(addClipboard), addClipboard, now_());
    showStatus(outcome.statusText);
}

void IndexCommands::clearAll() {
    if (!confirm_(IndexTexts::ClearAllPrompt)) return;
    index_.clearAll();
}

void IndexCommands::undoErasure() {
    index_.undoErasure();
}

void IndexCommands::exportCsv() {
    if (const auto name = index_.exportCsv()) showStatus(*name);
}

void IndexCommands::exportUtf8Csv() {
    exportChosen(kUtf8CsvFilter, QStringLiteral("-index.csv"), utf8CsvBytes);
}

void IndexCommands::exportText() {
    exportChosen(kTextFilter, QStringLiteral("-index.txt"), textBytes);
}

// The offered name differs from the legacy CSV's, which a later legacy export would overwrite,
// and from a transcript named after the media.
void IndexCommands::exportChosen(const QString& filter, const QString& nameEnd,
                                 QByteArray (*bytes)(const IndexBook&)) {
    const QFileInfo legacy(index_.csvFileName());
    if (legacy.filePath().isEmpty()) return;
    const auto path =
        chooseSavePath_(kExportTitle, filter,
                        legacy.path() + QLatin1Char('/') + legacy.completeBaseName() + nameEnd);
    if (!path || path->isEmpty()) return;
    writeExportFile(*path, bytes(index_.book()));
    showStatus(QFileInfo(*path).fileName());
}

void IndexCommands::savePosition() {
    const QString settingsPath = settingsPath_();
    if (transport_.mediaPath().isEmpty() || settingsPath.isEmpty()) return;
    if (transport_.isPlaying()) {
        transport_.player().pause();
        transport_.refreshPlayState();
    }
    index_.savePositionAndIndex(settingsPath, transport_.position());
}

void IndexCommands::restorePosition() {
    const QString settingsPath = settingsPath_();
    if (transport_.mediaPath().isEmpty() || settingsPath.isEmpty()) return;
    if (transport_.isPlaying()) {
        transport_.player().pause();
        transport_.refreshPlayState();
    }
    const double saved = IndexController::readSavedPosition(settingsPath);
    transport_.setSavedPosition(saved);
    if (IndexController::restoreSeeks(saved, transport_.position(), transport_.duration()))
        transport_.seek(saved);
}

void IndexCommands::saveBeforeOpen() {
    index_.saveIfChanged();
}

void IndexCommands::startUpWithoutMedia() {
    index_.forgetMedia();
}

void IndexCommands::saveAtClose() {
    autosaveTimer_->stop();
    if (discardAtClose_) return;
    index_.saveIfChanged();
}

void IndexCommands::closeWithoutSaving() {
    autosaveTimer_->stop();
    index_.restoreFileAsOpened();
    discardAtClose_ = true;
}
