// An index file of arbitrary bytes (damaged, hand-edited, from another program): reading it never
// crashes, what was read survives being written and read again, character for character, and
// written back over itself unchanged, every line of it stays byte for byte.

#include <unistd.h>
#include <QDir>
#include <QFile>

#include "fuzz_support.h"
#include "index/csv_export.h"
#include "index/index_file.h"

namespace {
QString scratchPath(const char* name) {
    return fuzzScratchFolder() + QStringLiteral("/scribo-fuzz-%1-%2.mpx").arg(::getpid()).arg(name);
}

QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Whether the lines of `before` stand in `after` in their order, others between them; the last
// one may have gained its line end.
bool keepsEveryLine(const QByteArray& before, const QByteArray& after) {
    const QList<QByteArray> old = before.split('\n');
    const QList<QByteArray> now = after.split('\n');
    qsizetype at = 0;
    for (qsizetype i = 0; i < old.size(); ++i) {
        const bool last = i + 1 == old.size();
        while (at < now.size() && now[at] != old[i] && !(last && now[at] == old[i] + '\r'))
            ++at;
        if (at++ == now.size()) return false;
    }
    return true;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString input = scratchPath("in");
    const QString output = scratchPath("out");
    {
        QFile file(input);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 0;
        file.write(fuzzBytes(data, size));
    }
    QFile::remove(output);
    const IndexBook read = readIndexFile(input);
    csvBytes(read);
    writeIndexFile(output, read);
    const IndexBook again = readIndexFile(output);
    for (int n = 1; n <= IndexBook::kEntryCount; ++n) {
        FUZZ_CHECK(again.entry(n).time == read.entry(n).time, "an entry's time changed");
        // Even a damaged byte, read as U+FFFD, comes back: what CP932 cannot hold is kept in
        // the exact-text section.
        FUZZ_CHECK(again.entry(n).caption == read.entry(n).caption, "an entry's caption changed");
    }

    // Nothing was edited: nothing of the file is encoded anew, the second time nothing at all.
    writeIndexFile(input, read);
    const QByteArray once = readBytes(input);
    FUZZ_CHECK(keepsEveryLine(fuzzBytes(data, size), once), "an unchanged line was rewritten");
    writeIndexFile(input, readIndexFile(input));
    FUZZ_CHECK(readBytes(input) == once, "a second save changed the file");
    return 0;
}
