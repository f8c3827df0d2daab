#pragma once

#include "index/entry_book.h"

#include <QByteArray>
#include <QString>
#include <stdexcept>

// An export file (the CSVs or the plain text) that could not be written; the message names the
// file and the system's reason.
class CsvExportError : public std::runtime_error {
public:
    CsvExportError(const QString& path, const QString& reason);
};

// One line of the CSV export from a record text: "0:01:23,　会議開始,%24/07/02,13:05:09" gives
// "0:01:23,会議開始,24/07/02,13:05:09". Half-width blanks are dropped everywhere, ideographic
// ones kept but for the one after the time code; nothing is quoted. A field that starts with
// "=", "+", "-", "@", a tab, a CR or a quote (a note's, or a note's part after a comma) gets a
// leading "'" so that a spreadsheet shows it instead of running it.
QString csvLine(const QString& recordText);

// The file's bytes: one CP932 line ending in CR LF for every entry with a time above 0, in entry
// order; no header, no byte-order mark, nothing at all for an empty index.
QByteArray csvBytes(const IndexBook& book);

// Creates or replaces the file through a temporary file renamed into place; throws
// CsvExportError.
void writeCsvFile(const QString& path, const IndexBook& book);

// The same for any export's bytes.
void writeExportFile(const QString& path, const QByteArray& bytes);
