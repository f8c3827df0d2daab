#pragma once

#include <QByteArray>
#include <QString>

namespace testfiles {
// Writes the lines with every "\n" turned into CR LF, as settings and index files are stored.
void writeCrLf(const QString& path, const QByteArray& lines);
// The file's bytes; empty when it cannot be read.
QByteArray readAll(const QString& path);
}  // namespace testfiles
