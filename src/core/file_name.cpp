#include "core/file_name.h"

#include <sys/stat.h>
#include <unistd.h>

#include <memory>

namespace {

constexpr char16_t kEscapeBase = 0xDC00;

// Length of the valid UTF-8 sequence at the start of the bytes, or 0 when it is not one.
qsizetype validSequenceLength(QByteArrayView bytes) {
    const auto byte = [&](qsizetype i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    qsizetype length = 0;
    char32_t lowest = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        lowest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        lowest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        lowest = 0x10000;
    } else {
        return 0;
    }
    if (bytes.size() < length) return 0;
    char32_t code = lead & (0x7F >> length);
    for (qsizetype i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0;
        code = (code << 6) | (byte(i) & 0x3F);
    }
    // Overlong forms, encoded surrogates and code points past Unicode are not valid UTF-8.
    if (code < lowest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}

}  // namespace

QString fileNameFromBytes(QByteArrayView bytes) {
    QString name;
    name.reserve(bytes.size());
    qsizetype runStart = 0;
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        if (const qsizetype length = validSequenceLength(bytes.sliced(pos)); length > 0) {
            pos += length;
            continue;
        }
        name += QString::fromUtf8(bytes.sliced(runStart, pos - runStart));
        name += QChar(kEscapeBase + static_cast<unsigned char>(bytes[pos]));
        runStart = ++pos;
    }
    name += QString::fromUtf8(bytes.sliced(runStart));
    return name;
}

QByteArray fileNameToBytes(const QString& name) {
    QByteArray bytes;
    bytes.reserve(name.size());
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t unit = name.at(i).unicode();
        // Only bytes 0x80-0xFF are ever escaped; a lone surrogate after a high one is a pair.
        const bool escaped = unit >= kEscapeBase + 0x80 && unit <= kEscapeBase + 0xFF &&
                             (i == 0 || !name.at(i - 1).isHighSurrogate());
        if (!escaped) continue;
        bytes += QStringView(name).sliced(runStart, i - runStart).toUtf8();
        bytes += static_cast<char>(unit - kEscapeBase);
        runStart = i + 1;
    }
    bytes += QStringView(name).sliced(runStart).toUtf8();
    return bytes;
}

QStringList argumentsFromBytes(int argc, const char* const* argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << fileNameFromBytes(argv[i]);
    return arguments;
}

QString currentFolder() {
    const std::unique_ptr<char, decltype(&::free)> folder(::getcwd(nullptr, 0), &::free);
    return folder ? fileNameFromBytes(folder.get()) : QString();
}

bool fileExists(const QString& path) {
    struct stat status {};
    return !path.isEmpty() && ::stat(fileNameToBytes(path).constData(), &status) == 0;
}

bool isFolder(const QString& path) {
    struct stat status {};
    return !path.isEmpty() && ::stat(fileNameToBytes(path).constData(), &status) == 0 &&
           S_ISDIR(status.st_mode);
}

QString localFileUri(const QString& path) {
    // QUrl::toPercentEncoding() takes text and would lose the bytes; QByteArray's keeps them.
    return QStringLiteral("file://") +
           QString::fromLatin1(fileNameToBytes(path).toPercentEncoding("/"));
}

QString localFileFromUri(const QUrl& url) {
    if (url.scheme().compare(QLatin1String("file"), Qt::CaseInsensitive) != 0) return {};
    // The encoded path keeps the bytes the sender percent-encoded; decoded text would not.
    return fileNameFromBytes(
        QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()));
}
