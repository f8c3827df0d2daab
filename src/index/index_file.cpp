#include "index/index_file.h"

#include "core/cp932.h"
#include "core/profile_file.h"
#include "core/settings_keys.h"

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
        const QString stored = file.readString(kRecordSection, key, QString());
        // The exact text counts only while the stored one is what it becomes in code page 932:
        // after a program that knows nothing of it has written another note, it is stale.
        const QString exact = file.readUtf8String(Ini::ExactText, key, QString());
        const bool current = !exact.isEmpty() && toCp932(exact) == toCp932(stored);
        book.loadEntry(n, file.readFloat(kTimeSection, key, 0), current ? exact : stored);
    }
    return book;
}

void writeIndexFile(const QString& path, const IndexBook& book) {
    // One edit saved in one replacement: a refused write leaves the old file whole.
    ProfileEdit edit(path);
    for (int n = 1; n <= IndexBook::kEntryCount; ++n)
        edit.writeFloat(kTimeSection, QString::number(n), book.entry(n).time);
    for (int n = 1; n <= IndexBook::kEntryCount; ++n) {
        const QString& text = book.entry(n).recordText;
        edit.writeString(kRecordSection, QString::number(n), text);
        // What code page 932 loses is kept exactly in a section of our own, which readers that
        // know only the two above pass by; notes it can hold add nothing to the file.
        if (survivesCp932(text))
            edit.removeKey(Ini::ExactText, QString::number(n));
        else
            edit.writeUtf8String(Ini::ExactText, QString::number(n), text);
    }
    edit.writeString(kRecordSection, kTrailingKey, QString());
    edit.commit();
}
