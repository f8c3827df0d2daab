#pragma once

#include "index/entry_book.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <optional>

namespace IndexTexts {
inline const QString EntryLocked = QStringLiteral("このｲﾝﾃﾞｯｸｽ・ｴﾝﾄﾘには登録／削除できません");
inline const QString IndexFull = QStringLiteral("ｲﾝﾃﾞｯｸｽ・ｴﾝﾄﾘが満杯です");
inline const QString BeyondLength = QStringLiteral("録画・録音時間を超えています");
inline const QString ClearAllPrompt =
    QStringLiteral("インデックスの登録内容を、すべてクリアしますか？");
}  // namespace IndexTexts

// What a registration did, and the status text (the volume bar's leading text) that shows it.
struct RegistrationOutcome {
    enum class Result { Registered, Cleared, EntryProtected, IndexFull };
    Result result = Result::Registered;
    int entry = 0;  // 1 to 29; 0 when the index was full
    QString statusText;

    bool changedEntries() const {
        return result == Result::Registered || result == Result::Cleared;
    }
    // A change empties the volume bar's trailing text; a refusal leaves it and empties the
    // position bar's trailing text (the media's name) instead.
    bool clearsVolumeSuffix() const { return changedEntries(); }
    bool clearsPositionSuffix() const { return !changedEntries(); }
};

// Whether playing from an entry seeks, and where.
struct PlayRequest {
    enum class Result { Ignored, BeyondLength, Play };
    Result result = Result::Ignored;
    double position = 0;
    QString statusText;  // BeyondLength only; the volume bar's trailing text is then emptied
};

// The index of the current media: its 29 entries, its index file and whether it changed since the
// file was last read or written. It knows neither the window nor the player: callers pass the
// position, the media's length, the clipboard text and the clock's time. File writes throw
// ProfileWriteError ("<path> に書き込めません") and leave the file and the changed flag as they
// were.
class IndexController : public QObject {
    Q_OBJECT
public:
    explicit IndexController(QObject* parent = nullptr);

    const IndexBook& book() const { return book_; }
    QString caption(int entry) const { return book_.entry(entry).caption; }
    // Empty while no local media file is open.
    const QString& indexFileName() const { return indexFileName_; }
    bool isChanged() const { return changed_; }
    // Why the index file found at the last open could not be read (not a regular file, too
    // large, unreadable), for the status line; empty when it was read or there was none.
    const QString& loadProblem() const { return loadProblem_; }
    bool isFull() const { return book_.appendTarget() == 0; }

    // A local media file was chosen: the index starts empty and is filled from the media's index
    // file when there is one.
    void openMedia(const QString& mediaPath);
    // No local media: after a settings reset, before a web address plays, or at start-up when
    // the remembered media file is gone. Nothing is written.
    void forgetMedia();

    // Before another media file is chosen and when the window closes: writes a changed index.
    // Returns whether it wrote.
    bool saveIfChanged();
    // Writes the index whether or not it changed.
    void save();

    // A click on a registration menu item. The index counts as changed even when the entry is
    // protected; with notes on, the caller empties the clipboard afterwards whatever happened.
    RegistrationOutcome registerByClick(int entry, double position, const QString& clipboardText,
                                        bool addClipboard, bool protect, const QDateTime& now);
    // The index hotkey: registers right after the last occupied entry. When it registers, the
    // position also becomes the repeat position; the clipboard stays as it is.
    RegistrationOutcome registerAppending(double position, const QString& clipboardText,
                                          bool addClipboard, const QDateTime& now);
    // A click on a play menu item. Entries below one second cannot be played.
    PlayRequest playRequest(int entry, double mediaLength) const;
    // After the user confirmed: every entry emptied, and the empty index written like any change.
    void clearAll();
    // The entries the last erasure (a click on a filled entry, or the clear) emptied come back
    // where they are still empty; until another media file is opened.
    bool canUndoErasure() const { return !erased_.isEmpty(); }
    void undoErasure();
    // Puts the index file back as it was when the media was opened (removed if there was none),
    // when it has been written since; for the close that keeps nothing. Throws
    // ProfileWriteError.
    void restoreFileAsOpened();

    // The CSV file beside the media; empty without an open media file.
    QString csvFileName() const;
    // Writes the CSV file and gives its name without folder for the status text; nothing without
    // an open media file. Throws CsvExportError.
    std::optional<QString> exportCsv() const;

    // Saves the position in the settings file ("Record", "Position"), then the index; the index
    // stays unwritten and the changed flag as it was when the settings file refuses the write.
    void savePositionAndIndex(const QString& settingsPath, double position);
    // The saved position; 0 when missing, not a number or not above 0.
    static double readSavedPosition(const QString& settingsPath);
    // Restoring seeks only to a saved position and only while the player stands before the end.
    static bool restoreSeeks(double savedPosition, double currentPosition, double duration);

signals:
    // Any caption may have changed: rebuild both index menus.
    void entriesChanged();

private:
    RegistrationOutcome outcome(IndexBook::ClickResult result, int entry) const;

    void rememberErased(const QList<int>& entries);

    IndexBook book_;
    QString indexFileName_;
    QString loadProblem_;
    bool changed_ = false;
    // The index file's bytes when the media was opened; none when there was no file, or one
    // that could not be kept (too large, unreadable).
    std::optional<QByteArray> openedBytes_;
    bool openedFileExisted_ = false;
    bool writtenSinceOpen_ = false;
    QList<QPair<int, IndexEntry>> erased_;
};
