#include "core/file_access.h"

#include "core/file_name.h"

#include <QRandomGenerator>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <ctime>
#include <utility>

namespace {

constexpr QByteArrayView kTemporaryMark = ".scribo-";
constexpr int kRandomLength = 6;

QByteArray systemPath(const QString& path) {
    return fileNameToBytes(path);
}

// The folder and the name of a path, as bytes.
std::pair<QByteArray, QByteArray> splitPath(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0) return {QByteArray("."), path};
    return {slash == 0 ? QByteArray("/") : path.left(slash), path.mid(slash + 1)};
}

bool isNameCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

QByteArray randomCharacters() {
    static constexpr char kCharacters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray text(kRandomLength, Qt::Uninitialized);
    for (char& c : text)
        c = kCharacters[QRandomGenerator::global()->bounded(int(sizeof kCharacters) - 1)];
    return text;
}

bool writeAll(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += n;
    }
    return true;
}

// The temporary file beside the target, made anew (never one that is there already).
int createTemporary(const QByteArray& folder, const QByteArray& name, QByteArray& temporary) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = folder + '/' + temporaryFileName(name, randomCharacters());
        const int fd = ::open(temporary.constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

}  // namespace

FileContents readSmallFile(const QString& path, qint64 limit) {
    using Status = FileContents::Status;
    const QByteArray name = systemPath(path);
    struct stat status {};
    // Looked at before opening: opening a device or a FIFO can block or do something.
    if (::stat(name.constData(), &status) != 0)
        return {errno == ENOENT || errno == ENOTDIR ? Status::Missing : Status::Unreadable, {}};
    if (!S_ISREG(status.st_mode)) return {Status::NotRegular, {}};
    if (status.st_size > limit) return {Status::TooLarge, {}};
    // O_NONBLOCK: should a FIFO take the file's place meanwhile, the open does not wait for a
    // writer; fstat() then finds it.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return {Status::Unreadable, {}};
    FileContents contents{Status::Read, {}};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        contents.status = Status::NotRegular;
    } else {
        char buffer[65536];
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) contents.status = Status::Unreadable;
            if (n <= 0) break;
            contents.bytes.append(buffer, n);
            if (contents.bytes.size() > limit) {
                contents.status = Status::TooLarge;  // it grew while being read
                break;
            }
        }
    }
    ::close(fd);
    if (!contents.wasRead()) contents.bytes.clear();
    return contents;
}

bool pathIsTaken(const QString& path) {
    struct stat status {};
    return !path.isEmpty() && ::lstat(systemPath(path).constData(), &status) == 0;
}

bool isReadOnlyFile(const QString& path) {
    const QByteArray name = systemPath(path);
    struct stat status {};
    if (::lstat(name.constData(), &status) != 0 || !S_ISREG(status.st_mode)) return false;
    return (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ||
           ::access(name.constData(), W_OK) != 0;
}

bool isWritableFolder(const QString& folder) {
    const QByteArray name = systemPath(folder);
    struct stat status {};
    return ::stat(name.constData(), &status) == 0 && S_ISDIR(status.st_mode) &&
           (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 &&
           ::access(name.constData(), W_OK | X_OK) == 0;
}

int replaceFile(const QString& path, const QByteArray& bytes) {
    const QByteArray target = systemPath(path);
    const auto [folder, name] = splitPath(target);
    struct stat status {};
    const bool found = ::lstat(target.constData(), &status) == 0;
    if (!found && errno != ENOENT) return errno;
    const bool replacesFile = found && S_ISREG(status.st_mode);
    // A FIFO or a device is no file of ours to replace.
    if (found && !replacesFile && !S_ISLNK(status.st_mode))
        return S_ISDIR(status.st_mode) ? EISDIR : EEXIST;

    QByteArray temporary;
    const int fd = createTemporary(folder, name, temporary);
    if (fd < 0) return errno;
    int error = 0;
    if (replacesFile && ::fchmod(fd, status.st_mode & 07777) != 0) error = errno;
    if (!error && !writeAll(fd, bytes)) error = errno ? errno : EIO;
    if (!error && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && !error) error = errno;
    if (!error && ::rename(temporary.constData(), target.constData()) != 0) error = errno;
    if (error) {
        ::unlink(temporary.constData());
        return error;
    }
    // The rename itself reaches the disk with the folder.
    if (const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return 0;
}

QByteArray temporaryFileName(QByteArrayView fileName, QByteArrayView sixCharacters) {
    return '.' + fileName.toByteArray() + kTemporaryMark.toByteArray() +
           sixCharacters.toByteArray();
}

bool isTemporaryFileOf(QByteArrayView fileName, QByteArrayView candidate) {
    const qsizetype stem = 1 + fileName.size() + kTemporaryMark.size();
    if (fileName.isEmpty() || candidate.size() != stem + kRandomLength) return false;
    if (candidate.first(stem) != temporaryFileName(fileName, {})) return false;
    const QByteArrayView random = candidate.sliced(stem);
    return std::all_of(random.begin(), random.end(), isNameCharacter);
}

void removeLeftoverTemporaryFiles(const QString& path, int minimumAgeSeconds) {
    const auto [folder, name] = splitPath(systemPath(path));
    DIR* dir = ::opendir(folder.constData());
    if (!dir) return;
    const std::time_t old = std::time(nullptr) - minimumAgeSeconds;
    while (const dirent* entry = ::readdir(dir)) {
        if (!isTemporaryFileOf(name, entry->d_name)) continue;
        const QByteArray leftover = folder + '/' + entry->d_name;
        struct stat status {};
        if (::lstat(leftover.constData(), &status) == 0 && S_ISREG(status.st_mode) &&
            status.st_mtime < old)
            ::unlink(leftover.constData());
    }
    ::closedir(dir);
}
