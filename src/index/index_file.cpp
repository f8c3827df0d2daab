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

double storedTime(const ProfileSnapshot& file, int n) {
    return file.readFloat(kTimeSection, QString::number(n), 0);
}

QString storedText(const ProfileSnapshot& file, int n) {
    const QString key = QString::number(n);
    const QString stored = file.readString(kRecordSection, key, QString());
    // The exact text counts only while the stored one is what it becomes in code page 932:
    // after a program that knows nothing of it has written another note, it is stale.
    const QString exact = file.readUtf8String(Ini::ExactText, key, QString());
    const bool current = !exact.isEmpty() && toCp932(exact) == toCp932(stored);
    return current ? exact : stored;
}
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

IndexBook readIndexBook(const ProfileSnapshot& file) {
    IndexBook book;
    for (int n = 1; n <= IndexBook::kEntryCount; ++n)
        book.loadEntry(n, storedTime(file, n), storedText(file, n));
    return book;
}

IndexBook readIndexFile(const QString& path) {
    const ProfileFile file(path);
    return file.exists() ? readIndexBook(file.load()) : IndexBook();
}

void writeIndexFile(const QString& path, const IndexBook& book) {
    // One edit saved in one replacement: a refused write leaves the old file whole.
    ProfileEdit edit(path);
    // What reads back as the book holds it stays as its bytes stand, and only a missing key is
    // added: nothing that was not edited goes through code page 932 again, so a file another
    // program wrote in UTF-8 keeps the notes nobody touched.
    const ProfileSnapshot& stored = edit.before();
    for (int n = 1; n <= IndexBook::kEntryCount; ++n) {
        const QString key = QString::number(n);
        const double time = book.entry(n).time;
        if (!stored.valueExists(kTimeSection, key) || storedTime(stored, n) != time)
            edit.writeFloat(kTimeSection, key, time);
    }
    for (int n = 1; n <= IndexBook::kEntryCount; ++n) {
        const QString key = QString::number(n);
        const QString& text = book.entry(n).recordText;
        if (storedText(stored, n) == text) {
            if (!stored.valueExists(kRecordSection, key))
                edit.writeString(kRecordSection, key, text);
            continue;
        }
        edit.writeString(kRecordSection, key, text);
        // What code page 932 loses is kept exactly in a section of our own, which readers that
        // know only the two above pass by; notes it can hold add nothing to the file.
        if (survivesCp932(text))
            edit.removeKey(Ini::ExactText, key);
        else
            edit.writeUtf8String(Ini::ExactText, key, text);
    }
    if (!stored.valueExists(kRecordSection, kTrailingKey))
        edit.writeString(kRecordSection, kTrailingKey, QString());
    edit.commit();
}
