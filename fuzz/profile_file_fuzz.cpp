// A settings or index file of arbitrary bytes: reading it never crashes, and writing one key
// leaves that key holding the value and every other line as it was.

#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QList>

#include "core/profile_file.h"
#include "fuzz_support.h"

namespace {

QString scratchPath() {
    static const QString path =
        fuzzScratchFolder() + QStringLiteral("/scribo-fuzz-%1.ini").arg(::getpid());
    return path;
}

// Lines without their endings (and without stray carriage returns before them): adding a key
// after a last line that had no ending gives that line one, which is not a change of the line.
QList<QByteArray> linesOf(const QByteArray& bytes) {
    QList<QByteArray> lines = bytes.split('\n');
    if (lines.last().isEmpty()) lines.removeLast();  // the file ended with a line ending
    for (QByteArray& line : lines)
        while (line.endsWith('\r'))
            line.chop(1);
    return lines;
}

// The new lines are the old ones with at most one line replaced and at most two added
// (a key, and a section header before it) in one place.
bool onlyOnePlaceChanged(const QList<QByteArray>& before, const QList<QByteArray>& after) {
    qsizetype head = 0;
    while (head < before.size() && head < after.size() && before[head] == after[head])
        ++head;
    qsizetype tailBefore = before.size();
    qsizetype tailAfter = after.size();
    while (tailBefore > head && tailAfter > head &&
           before[tailBefore - 1] == after[tailAfter - 1]) {
        --tailBefore;
        --tailAfter;
    }
    return tailBefore - head <= 1 && tailAfter - head <= 2;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = fuzzBytes(data, size);
    const QString path = scratchPath();
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 0;
        file.write(bytes);
    }
    const ProfileFile profile(path);
    profile.readString(QStringLiteral("General"), QStringLiteral("File"), QString());
    profile.readInteger(QStringLiteral("Play"), QStringLiteral("Speed"), -1);
    profile.readFloat(QStringLiteral("Record"), QStringLiteral("Position"), 0.0);
    profile.readBool(QStringLiteral("Menu"), QStringLiteral("AddClipboard"), false);

    // A plain value, so that quoting and trimming on reading cannot change it.
    QString value = QStringLiteral("v");
    for (size_t i = 0; i < size && i < 16; ++i)
        value += QChar(u'a' + data[i] % 26);
    profile.writeString(QStringLiteral("Fuzz"), QStringLiteral("Key"), value);
    FUZZ_CHECK(
        profile.readString(QStringLiteral("fuzz"), QStringLiteral("KEY"), QString()) == value,
        "the written key does not hold its value");

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) std::abort();
    const QByteArray after = file.readAll();
    if (!onlyOnePlaceChanged(linesOf(bytes), linesOf(after)))
        std::fprintf(stderr, "before: %s\nafter:  %s\n", bytes.toHex(' ').constData(),
                     after.toHex(' ').constData());
    FUZZ_CHECK(onlyOnePlaceChanged(linesOf(bytes), linesOf(after)),
               "a write changed lines other than its own");
    return 0;
}
