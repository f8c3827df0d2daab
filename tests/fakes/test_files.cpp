#include "fakes/test_files.h"

#include <QFile>

namespace testfiles {
void writeCrLf(const QString& path, const QByteArray& lines) {
    QByteArray bytes = lines;
    bytes.replace("\r\n", "\n");
    bytes.replace("\n", "\r\n");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(path));
    file.write(bytes);
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
}  // namespace testfiles
