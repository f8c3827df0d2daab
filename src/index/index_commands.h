#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTime>
#include <functional>
#include <optional>

class Clipboard;
class IndexBook;
class IndexController;
class QTimer;
class TransportController;

// The index's commands as the window's menus and the index hotkey call them, one call each, and
// the moments at which the index file is read and written. It asks the transport for the
// position and the length, the clipboard for the note, and hands what the window shows out as
// signals; the captions of both index menus follow IndexController::entriesChanged.
//
// Errors are not caught here: a player error (PlayerError), a refused write of the index or
// settings file (ProfileWriteError) and an export file that cannot be written (CsvExportError) end
// the command at the failing call, with nothing after it done, for the session's guard to show.
class IndexCommands : public QObject {
    Q_OBJECT
public:
    // A Yes/No question; true for Yes.
    using Confirm = std::function<bool(const QString& question)>;
    // A save dialog: its title, a "description|pattern" filter and the path it first offers;
    // nothing when cancelled.
    using ChooseSavePath = std::function<std::optional<QString>(
        const QString& title, const QString& filter, const QString& offeredPath)>;

    IndexCommands(IndexController& index, TransportController& transport, Clipboard& clipboard,
                  Confirm confirm, QObject* parent = nullptr);

    // What the window decides, asked afresh at each command so that it never goes stale: whether
    // the clipboard's text is added as a note, protect mode, and the settings file's path (none:
    // saving and restoring the position do nothing). Notes are on and protection off until set.
    void setAddClipboard(std::function<bool()> checked) { addClipboard_ = std::move(checked); }
    void setProtectEntries(std::function<bool()> checked) { protect_ = std::move(checked); }
    void setSettingsPath(std::function<QString()> path) { settingsPath_ = std::move(path); }
    // The registration's date and time; the local clock unless set.
    void setNow(std::function<QDateTime()> now) { now_ = std::move(now); }
    // Where the exports that ask go; cancelled unless set.
    void setChooseSavePath(ChooseSavePath choose) { chooseSavePath_ = std::move(choose); }

    // The text for the menu items of an entry (1 to 29): the caption as it stands, safe from
    // the menu's own reading of "&" (a shortcut mark) and of a tab (the start of a shortcut).
    QString menuText(int entry) const;

    // ---- Commands: nothing happens without a loaded media, unless said otherwise. ----------
    // A registration-menu item: registers an empty entry, clears an occupied one (protect mode
    // refuses). With notes on, the clipboard is emptied afterwards, whatever the result.
    void registerEntry(int entry);
    // A play-menu item: from the entry's position on, which also becomes the repeat position.
    void playEntry(int entry);
    // The index hotkey: registers after the last occupied entry; leaves the clipboard alone.
    void registerAppending();
    // Asks first; anything but No empties every entry and marks the index changed. Needs no media.
    void clearAll();
    // Brings back what the last erasure or clear emptied (IndexController::undoErasure).
    void undoErasure();
    // Writes the CSV file beside the open local media file; nothing without one.
    void exportCsv();
    // Ask where, offering the CSV's folder, then write the UTF-8 CSV or the plain text of the
    // notes there; nothing without an open local media file or when the dialog is cancelled.
    void exportUtf8Csv();
    void exportText();
    // Pauses, then saves the position in the settings file and writes the index.
    void savePosition();
    // Pauses, then goes to the saved position while the player stands before the end.
    void restorePosition();

    // ---- Moments of the index file ------------------------------------------------------
    // Before another media file is asked for or taken from a drop, also when the choice is then
    // cancelled: a changed index goes to its file first. A refused write stops the open.
    void saveBeforeOpen();
    // Start-up found the remembered media file gone: no index file name is kept, so nothing can
    // later be written over the index of a file that is not open.
    void startUpWithoutMedia();
    // The window closes: a changed index goes to its file, unless closeWithoutSaving() came
    // first, which puts the file back as it was when the media was opened. A refused write
    // throws; the window then stays open so that nothing is lost.
    void saveAtClose();
    void closeWithoutSaving();
    // Between those moments every change is written a moment after it is made, so that a crash
    // or a power cut loses at most that moment; a refused write is said once in the status
    // line, and the close says it again with its box.
    static constexpr int kAutosaveDelayMs = 500;
    // Opening a local file, playing a web address and the settings reset reach the index
    // through the transport's signals (mediaCleared, indexFileNeeded) and need no call.

Q_SIGNALS:
    // The volume bar's leading text (the status line) and trailing text.
    void volumeBarLeadingTextChanged(const QString& text);
    void volumeBarTrailingTextChanged(const QString& text);
    // The position bar's trailing text (the media's name); a refused registration empties it.
    void positionBarTrailingTextChanged(const QString& text);
    // The repeat-position time picker shows where an entry started playing (a time of day; a
    // position of 24 hours or more shows 23:59:59).
    void timePickerTimeChanged(const QTime& time);

private:
    bool hasMedia() const;
    void autosave();
    QString clipboardTextIfWanted(bool addClipboard) const;
    void showStatus(const QString& text);
    void showRefusal(const QString& text);
    void exportChosen(const QString& filter, const QString& nameEnd,
                      QByteArray (*bytes)(const IndexBook&));

    IndexController& index_;
    TransportController& transport_;
    Clipboard& clipboard_;
    Confirm confirm_;
    std::function<bool()> addClipboard_;
    std::function<bool()> protect_;
    std::function<QString()> settingsPath_;
    std::function<QDateTime()> now_;
    ChooseSavePath chooseSavePath_;
    bool discardAtClose_ = false;
    QTimer* autosaveTimer_;
    bool autosaveRefusalShown_ = false;
};
