#include "index/csv_export.h"

#include "core/cp932.h"

#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>

namespace {

// A file or folder without any write bit counts as read-only even for root, as with the
// settings and index files, so the export behaves the same whoever runs it.
bool writable(const QFileInfo& info) {
    constexpr auto anyWrite =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return info.isWritable() && (info.permissions() & anyWrite);
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
    return line;
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
    const QFileInfo info(path);
    const QFileInfo folder(info.absolutePath());
    if ((info.exists() && !writable(info)) || (folder.exists() && !writable(folder)))
        throw CsvExportError(path, qt_error_string(EACCES));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) throw CsvExportError(path, file.errorString());
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw CsvExportError(path, reason);
    }
    if (!file.commit()) throw CsvExportError(path, file.errorString());
}
