#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QUrl>

// File names on Linux are bytes, not text. Qt reads them as UTF-8 and turns every byte that is
// not part of valid UTF-8 into U+FFFD, so such a file could not be found again. Here each of
// those bytes is kept as a lone surrogate U+DC80 + byte instead (Python's "surrogateescape"),
// which turns back into the same byte. Valid UTF-8 names read exactly as Qt reads them.
QString fileNameFromBytes(QByteArrayView bytes);
QByteArray fileNameToBytes(const QString& name);

// The program's arguments and its working folder, read like file names.
QStringList argumentsFromBytes(int argc, const char* const* argv);
QString currentFolder();

// Whether something of that name exists, and whether it is a folder (links followed).
bool fileExists(const QString& path);
bool isFolder(const QString& path);

// A file: URI for a local path, every byte that needs it percent-encoded; and the local path
// back from a file: URI, byte for byte (empty for other schemes).
QString localFileUri(const QString& path);
QString localFileFromUri(const QUrl& url);
