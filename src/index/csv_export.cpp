#include "index/csv_export.h"

#include "core/cp932.h"
#include "core/file_access.h"

#include <QFileInfo>

#include <cerrno>

namespace {

// A spreadsheet runs a cell that starts with one of these as a formula (tab and CR because some
// drop them first), and one that starts with a quote as a quoted field that swallows the commas
// and columns after it. A leading apostrophe makes either plain text and moves no column.
bool needsApostrophe(QStringView field) {
    static const QString starts = QStringLiteral("=+-@\t\r\"");
    return !field.isEmpty() && starts.contains(field.front());
}

QString neutralised(const QString& line) {
    QStringList fields = line.split(QLatin1Char(','));
    for (QString& field : fields)
        if (needsApostrophe(field)) field.prepend(QLatin1Char('\''));
    return fields.join(QLatin1Char(','));
}

}  // namespace

CsvExportError::CsvExportError(const QString& path, const QString& reason)
    : std::runtime_error(
          QStringLiteral("%1 を作成できません。\n%2").arg(path, reason).toStdString()) {}

QString csvLine(const QString& recordText) {
    QString line = trimBlanks(recordText);
    const qsizetype space = line.indexOf(QChar(0x3000));
    if (space >= 0) line.remove(space, 1);
    const qsizetype stamp = line.indexOf(QStringLiteral(",%"));
    if (stamp >= 0) line.remove(stamp + 1, 1);
    line.remove(QLatin1Char(' '));
    return neutralised(line);
}

QByteArray csvBytes(const IndexBook& book) {
    QString text;
    for (int n = 1; n <= IndexBook::kEntryCount; ++n) {
        const IndexEntry& entry = book.entry(n);
        if (entry.time > 0) text += csvLine(entry.recordText) + QStringLiteral("\r\n");
    }
    return toCp932(text);
}

void writeCsvFile(const QString& path, const IndexBook& book) {
    writeExportFile(path, csvBytes(book));
}

void writeExportFile(const QString& path, const QByteArray& bytes) {
    // A file or folder without any write bit counts as read-only even for root, as with the
    // settings and index files, so the export behaves the same whoever runs it.
    const QString folder = QFileInfo(path).absolutePath();
    if (isReadOnlyFile(path) || (pathIsTaken(folder) && !isWritableFolder(folder)))
        throw CsvExportError(path, qt_error_string(EACCES));
    if (const int error = replaceFile(path, bytes))
        throw CsvExportError(path, qt_error_string(error));
}
