#pragma once

#include "index/entry_book.h"

#include <QByteArray>
#include <QString>

// Exports of the index that keep the note as it stands, beside the legacy CP932 CSV: a UTF-8 CSV
// for spreadsheets and a plain text for documents. Both take the entries with a time above 0, in
// entry order, as the legacy CSV does, and show the position as the menus' time code.

// The note of a record text: what follows the time code and the separator's ideographic blank,
// up to the registration stamp; empty for an entry registered without one.
QString noteText(const QString& recordText);

// The registration stamp's local date and time as "2024-07-02T13:05:09"; empty when the record
// text has no stamp or a damaged one.
QString registrationTime(const QString& recordText);

// One CSV field: quoted when it holds a comma, a quote, CR or LF, with its quotes doubled, and
// kept from being run as a formula.
QString csvField(const QString& text);

// The UTF-8 CSV's bytes: a header row, then entry, time code, note and registration time of each
// entry; every row ends in CR LF; no byte-order mark.
QByteArray utf8CsvBytes(const IndexBook& book);

// One line of the plain text, without its end: "0:01:23  note", or the time code alone; line
// breaks inside the note become blanks so that each entry stays on one line.
QString textLine(const IndexEntry& entry);

// The plain text's UTF-8 bytes, every line ending in LF; nothing for an empty index.
QByteArray textBytes(const IndexBook& book);
