#pragma once

#include "index/entry_book.h"

class ProfileSnapshot;

#include <QString>

// The path with its extension (from the last "." of the file name on) replaced by another one,
// or with that extension appended to a file name without a ".".
QString withExtension(const QString& path, const QString& extension);

// The index file beside a media file: "meeting.wma" keeps its index in "meeting.mpx", which
// "meeting.mp3" shares.
QString indexFileNameFor(const QString& mediaPath);

// Reads the entries of an index file: section "Index" keys "1" to "29" hold the times (0 when
// missing or not a number), section "IndexComment" the record texts (empty when missing), and our
// own section the exact text of those that code page 932 cannot hold. Other keys and sections
// are not read. A missing or unreadable file gives an empty book.
IndexBook readIndexFile(const QString& path);
IndexBook readIndexBook(const ProfileSnapshot& file);

// Writes all 29 times and record texts and the empty key "40" into the file, replacing values in
// place and keeping every other line. A value that already reads as the book holds it is left
// byte for byte: what was not edited is never encoded anew. The file is replaced as a whole or not
// at all; throws ProfileWriteError ("<path> に書き込めません") when it cannot be written.
void writeIndexFile(const QString& path, const IndexBook& book);
