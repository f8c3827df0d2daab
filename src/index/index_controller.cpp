#include "index/index_controller.h"

#include "core/file_access.h"
#include "core/file_name.h"
#include "core/profile_file.h"
#include "core/settings_keys.h"
#include "index/csv_export.h"
#include "index/index_file.h"

#include <QFileInfo>

#include <unistd.h>

namespace {
QString loadProblemText(FileContents::Status status, const QString& path) {
    switch (status) {
        case FileContents::Status::NotRegular:
            return QStringLiteral("%1 はファイルではないため読み込めません").arg(path);
        case FileContents::Status::TooLarge:
            return QStringLiteral("%1 は大きすぎるため読み込めません").arg(path);
        case FileContents::Status::Unreadable:
            return QStringLiteral("%1 を読み込めません").arg(path);
        case FileContents::Status::Read:
        case FileContents::Status::Missing:
            break;
    }
    return {};
}
}  // namespace

IndexController::IndexController(QObject* parent) : QObject(parent) {}

void IndexController::openMedia(const QString& mediaPath) {
    indexFileName_ = indexFileNameFor(mediaPath);
    removeLeftoverTemporaryFiles(indexFileName_);
    // Read once: the bytes to put back on a close that keeps nothing, and the entries.
    const FileContents contents = readSmallFile(indexFileName_);
    openedFileExisted_ = pathIsTaken(indexFileName_);
    openedBytes_.reset();
    if (contents.wasRead()) openedBytes_ = contents.bytes;
    loadProblem_ = loadProblemText(contents.status, indexFileName_);
    writtenSinceOpen_ = false;
    erased_.clear();
    book_ = readIndexBook(ProfileSnapshot(contents.bytes));
    changed_ = false;
    emit entriesChanged();
}

void IndexController::forgetMedia() {
    indexFileName_.clear();
    loadProblem_.clear();
    openedBytes_.reset();
    openedFileExisted_ = false;
    writtenSinceOpen_ = false;
    erased_.clear();
    book_.clear();
    changed_ = false;
    emit entriesChanged();
}

void IndexController::rememberErased(const QList<int>& entries) {
    erased_.clear();
    for (int n : entries)
        if (book_.isOccupied(n)) erased_.append({n, book_.entry(n)});
}

void IndexController::undoErasure() {
    if (erased_.isEmpty()) return;
    for (const auto& [n, entry] : std::as_const(erased_))
        if (!book_.isOccupied(n)) book_.loadEntry(n, entry.time, entry.recordText);
    erased_.clear();
    changed_ = true;
    emit entriesChanged();
}

void IndexController::restoreFileAsOpened() {
    if (!writtenSinceOpen_ || indexFileName_.isEmpty()) return;
    if (!openedFileExisted_) {
        ::unlink(fileNameToBytes(indexFileName_).constData());
    } else if (openedBytes_ && replaceFile(indexFileName_, *openedBytes_) != 0) {
        throw ProfileWriteError(indexFileName_);
    }
    writtenSinceOpen_ = false;
    changed_ = false;
}

bool IndexController::saveIfChanged() {
    if (!changed_ || indexFileName_.isEmpty()) return false;
    save();
    return true;
}

void IndexController::save() {
    if (indexFileName_.isEmpty()) return;
    writeIndexFile(indexFileName_, book_);
    writtenSinceOpen_ = true;
    changed_ = false;
}

RegistrationOutcome IndexController::outcome(IndexBook::ClickResult result, int entry) const {
    switch (result) {
        case IndexBook::ClickResult::Registered:
            return {RegistrationOutcome::Result::Registered, entry, caption(entry)};
        case IndexBook::ClickResult::Cleared:
            return {RegistrationOutcome::Result::Cleared, entry, QString()};
        case IndexBook::ClickResult::Protected:
            break;
    }
    return {RegistrationOutcome::Result::EntryProtected, entry, IndexTexts::EntryLocked};
}

RegistrationOutcome IndexController::registerByClick(int entry, double position,
                                                     const QString& clipboardText,
                                                     bool addClipboard, bool protect,
                                                     const QDateTime& now) {
    const QString clip = clipPart(addClipboard, clipboardText);
    changed_ = true;
    if (!protect && book_.isOccupied(entry)) rememberErased({entry});
    const auto result = book_.click(entry, position, clip, now, protect);
    if (result != IndexBook::ClickResult::Protected) emit entriesChanged();
    return outcome(result, entry);
}

RegistrationOutcome IndexController::registerAppending(double position,
                                                       const QString& clipboardText,
                                                       bool addClipboard, const QDateTime& now) {
    const int entry = book_.appendTarget();
    if (entry == 0) return {RegistrationOutcome::Result::IndexFull, 0, IndexTexts::IndexFull};
    book_.registerEntry(entry, position, clipPart(addClipboard, clipboardText), now);
    changed_ = true;
    emit entriesChanged();
    return outcome(IndexBook::ClickResult::Registered, entry);
}

PlayRequest IndexController::playRequest(int entry, double mediaLength) const {
    const double position = book_.entry(entry).time;
    if (!(position >= 1.0)) return {};
    if (mediaLength < position)
        return {PlayRequest::Result::BeyondLength, position, IndexTexts::BeyondLength};
    return {PlayRequest::Result::Play, position, QString()};
}

void IndexController::clearAll() {
    QList<int> all;
    for (int n = 1; n <= IndexBook::kEntryCount; ++n)
        all << n;
    rememberErased(all);
    book_.clear();
    changed_ = true;
    emit entriesChanged();
}

QString IndexController::csvFileName() const {
    return indexFileName_.isEmpty() ? QString()
                                    : withExtension(indexFileName_, QStringLiteral(".csv"));
}

std::optional<QString> IndexController::exportCsv() const {
    const QString path = csvFileName();
    if (path.isEmpty()) return std::nullopt;
    writeCsvFile(path, book_);
    return QFileInfo(path).fileName();
}

void IndexController::savePositionAndIndex(const QString& settingsPath, double position) {
    if (settingsPath.isEmpty()) return;
    ProfileFile(settingsPath).writeFloat(Ini::Record, Ini::SavedPosition, position);
    save();
}

double IndexController::readSavedPosition(const QString& settingsPath) {
    if (settingsPath.isEmpty()) return 0;
    const double saved = ProfileFile(settingsPath).readFloat(Ini::Record, Ini::SavedPosition, 0);
    return saved > 0 ? saved : 0;
}

bool IndexController::restoreSeeks(double savedPosition, double currentPosition, double duration) {
    return savedPosition > 0 && currentPosition < duration;
}
