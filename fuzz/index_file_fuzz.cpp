// An index file of arbitrary bytes (damaged, hand-edited, from another program): reading it never
// crashes, and what was read survives being written and read again, character for character.

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
    return 0;
}
