#include "index/index_file.h"

#include "core/profile_file.h"

#include <QFileInfo>

namespace {
const QString kTimeSection = QStringLiteral("Index");
const QString kRecordSection = QStringLiteral("IndexComment");
// Written empty with every save, as every index file already on disk has it.
const QString kTrailingKey = QStringLiteral("40");
}  // namespace

QString withExtension(const QString& path, const QString& extension) {
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const qsizetype oldLength = dot < 0 ? 0 : name.size() - dot;
    return path.left(path.size() - oldLength) + extension;
}

QString indexFileNameFor(const QString& mediaPath) {
    return withExtension(mediaPath, QStringLiteral(".mpx"));
}

IndexBook readIndexFile(const QString& path) {
    IndexBook book;
    const ProfileFile file(path);
    if (!file.exists()) return book;
    for (int n = 1; n <= IndexBook::kEntryCount; ++n) {
        const QString key = QString::number(n);
        book.loadEntry(n, file.readFloat(kTimeSection, key, 0),
                       file.readString(kRecordSection, key, QString()));
    }
    return book;
}

void writeIndexFile(const QString& path, const IndexBook& book) {
    // One edit saved in one replacement: a refused write leaves the old file whole.
    ProfileEdit edit(path);
    for (int n = 1; n <= IndexBook::kEntryCount; ++n)
        edit.writeFloat(kTimeSection, QString::number(n), book.entry(n).time);
    for (int n = 1; n <= IndexBook::kEntryCount; ++n)
        edit.writeString(kRecordSection, QString::number(n), book.entry(n).recordText);
    edit.writeString(kRecordSection, kTrailingKey, QString());
    edit.commit();
}
