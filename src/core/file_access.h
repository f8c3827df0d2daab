#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The user's small files (the settings file, the index files, the exports), read and replaced by
// their bytes: paths go to the system through fileNameToBytes(), so names that are not UTF-8 stay
// apart, and nothing here can block on a FIFO or read a device without end.

// Far above any settings or index file (an index holds 29 entries with 2047-byte values at
// most), far below what would freeze the window.
inline constexpr qint64 kSmallFileLimit = 2 * 1024 * 1024;

struct FileContents {
    enum class Status { Read, Missing, NotRegular, TooLarge, Unreadable };
    Status status = Status::Missing;
    QByteArray bytes;  // only when Read

    bool wasRead() const { return status == Status::Read; }
    // Something is there that cannot be read as a file: writing it anew would lose it or block.
    bool refusesWrite() const { return status != Status::Read && status != Status::Missing; }
};

// A link to a regular file is read through; a FIFO, a device, a folder or anything larger than
// the limit is not read at all.
FileContents readSmallFile(const QString& path, qint64 limit = kSmallFileLimit);

// Whether something, even a dangling link, stands at the path.
bool pathIsTaken(const QString& path);
// Whether the path names a regular file that nobody may write (no write bit at all, which counts
// even for root) or that this user may not write; a link is not looked through.
bool isReadOnlyFile(const QString& path);
// Whether files can be made in the folder.
bool isWritableFolder(const QString& folder);

// Replaces the file with the bytes: they are written to a temporary file beside it (see
// temporaryFileName), synced and renamed into place, so a failed write leaves the old file as it
// was. A regular file's permissions are kept. A link at the path is replaced itself, never
// written through, so neither the file it points to nor a missing target is touched. Returns 0,
// or the errno of the step that failed.
int replaceFile(const QString& path, const QByteArray& bytes);

// The temporary files of replaceFile: ".NAME.scribo-" and six letters or digits, a pattern no
// other program makes.
QByteArray temporaryFileName(QByteArrayView fileName, QByteArrayView sixCharacters);
bool isTemporaryFileOf(QByteArrayView fileName, QByteArrayView candidate);
// Removes the regular files of that pattern beside the file that are older than the given age,
// left by a write that was killed; a younger one may be another Scribo's write under way.
void removeLeftoverTemporaryFiles(const QString& path, int minimumAgeSeconds = 60);
