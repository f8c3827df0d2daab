#pragma once

#include <QDateTime>
#include <QString>
#include <array>

// One index entry: a playing position, its record text (time code, clip part, registration
// stamp) and the caption both menus show for it.
struct IndexEntry {
    double time = 0;     // seconds; 0 for an empty entry
    QString recordText;  // stored in the index file as it stands
    QString caption;     // entry label, or label + " " + display text
};

// The 29 entries of the current media's index. An entry counts as occupied by its caption, not by
// its time: a registration at 0.5 s is occupied although its time shows 0:00:00, and an entry read
// from a file with an empty record text shows "label + blank" and counts as empty.
class IndexBook {
public:
    static constexpr int kEntryCount = 29;

    // " 1." to " 9.", then "10." to "29.".
    static QString entryLabel(int entry);
    static bool isValidEntry(int entry) { return entry >= 1 && entry <= kEntryCount; }

    IndexBook();

    // entry: 1 to 29.
    const IndexEntry& entry(int entry) const;
    bool isOccupied(int entry) const;
    bool isEmpty() const;
    // The entry an appending registration fills: the one after the highest occupied entry
    // (gaps below it stay), 1 when none is occupied, 0 when entry 29 is occupied (full).
    int appendTarget() const;

    void clear();
    void clearEntry(int entry);
    // Registers the position into the entry, whatever it held.
    void registerEntry(int entry, double position, const QString& clipPart, const QDateTime& when);

    // A click in the registration menu: an empty entry is registered; an occupied one is cleared,
    // or kept in protect mode.
    enum class ClickResult { Registered, Cleared, Protected };
    ClickResult click(int entry, double position, const QString& clipPart, const QDateTime& when,
                      bool protect);

    // An entry as read from an index file: only times above one second show their display text.
    void loadEntry(int entry, double time, const QString& recordText);

private:
    IndexEntry& at(int entry);
    std::array<IndexEntry, kEntryCount> entries_;
};

// Half-width and ideographic spaces removed at both ends; nothing else.
QString trimBlanks(const QString& text);

// The record text up to its first ",%" (the registration stamp); all of it without one.
QString displayText(const QString& recordText);

// What a registration adds after the time code: ",　" when notes are off; with notes on,
// ",　" + the clipboard's text cleaned and cut to 30 characters, or nothing for a clipboard
// that holds only blanks.
QString clipPart(bool addClipboard, const QString& clipboardText);

// ",%yy/mm/dd,hh:mm:ss" of the registration's local date and time.
QString registrationStamp(const QDateTime& when);
