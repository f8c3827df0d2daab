#pragma once

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// A property the fuzzed unit broke: print it and abort, so libFuzzer keeps the input.
#define FUZZ_CHECK(condition, what)                              \
    do {                                                         \
        if (!(condition)) {                                      \
            std::fprintf(stderr, "property broken: %s\n", what); \
            std::abort();                                        \
        }                                                        \
    } while (false)

inline QByteArray fuzzBytes(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// Files the targets write go to memory where the system offers it: every write is synced to
// disk, which would otherwise hold a target to a few dozen inputs a second.
inline QString fuzzScratchFolder() {
    const QFileInfo shm(QStringLiteral("/dev/shm"));
    return shm.isDir() && shm.isWritable() ? shm.filePath() : QDir::tempPath();
}
