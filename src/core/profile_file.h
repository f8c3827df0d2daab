#pragma once

#include <QByteArray>
#include <QHash>
#include <QMap>
#include <QString>
#include <optional>
#include <stdexcept>
#include <utility>
#include <vector>

// A write the system refused. The message is "<path> に書き込めません".
class ProfileWriteError : public std::runtime_error {
public:
    explicit ProfileWriteError(const QString& path);
    QString path() const { return path_; }

private:
    QString path_;
};

// One reading of an INI-format file, parsed once, that answers every key query without going
// back to the disk: reading an index file asks for some 90 keys. The answers are those of
// ProfileFile (below).
class ProfileSnapshot {
public:
    ProfileSnapshot() = default;
    explicit ProfileSnapshot(const QByteArray& bytes);

    QString readString(const QString& section, const QString& key, const QString& def) const;
    int readInteger(const QString& section, const QString& key, int def) const;
    bool readBool(const QString& section, const QString& key, bool def) const;
    double readFloat(const QString& section, const QString& key, double def) const;
    bool valueExists(const QString& section, const QString& key) const;
    QString readUtf8String(const QString& section, const QString& key, const QString& def) const;

private:
    // The value's bytes, quotes taken off.
    std::optional<QByteArray> rawValue(const QString& section, const QString& key) const;
    // Section and key names case-folded; only the first section of a name and the first key of
    // a name in it count.
    QMap<QString, QHash<QString, QByteArray>> values_;
};

// An INI-format file with the semantics of the Windows profile functions: sections and keys are
// matched without regard to case; a write replaces the key's value on its own line, adds a missing
// key at the end of its section, a missing section at the end of the file, creates a missing
// file, and leaves every other line byte for byte as it was. The file is CP932 with CR LF. Every
// call reads the file afresh (load() once for many reads); every write reaches the disk at once
// through a temporary file that is renamed into place (replaceFile()), so a failed write leaves
// the old file intact. Only a regular file up to kSmallFileLimit is read: anything else reads as
// an empty file and refuses writes.
class ProfileFile {
public:
    explicit ProfileFile(QString path) : path_(std::move(path)) {}
    const QString& path() const { return path_; }
    bool exists() const;
    ProfileSnapshot load() const;

    // A value is read up to 2047 bytes; a pair of matching quotes around it is removed.
    QString readString(const QString& section, const QString& key, const QString& def) const;
    // Missing keys and values that do not convert give the default.
    int readInteger(const QString& section, const QString& key, int def) const;
    bool readBool(const QString& section, const QString& key, bool def) const;
    double readFloat(const QString& section, const QString& key, double def) const;
    bool valueExists(const QString& section, const QString& key) const;
    // A value stored as UTF-8, for text code page 932 cannot hold. Programs that read the file as
    // code page 932 see other characters, so such values belong in a section of their own. Bytes
    // that are not UTF-8 read as the default.
    QString readUtf8String(const QString& section, const QString& key, const QString& def) const;

    // Throw ProfileWriteError when the file or its folder refuses the write, and also when the
    // file exists but cannot be read (writing it anew would lose its other keys). A line break
    // inside a written value becomes a blank, so that the value stays on its own line.
    void writeString(const QString& section, const QString& key, const QString& value) const;
    void writeUtf8String(const QString& section, const QString& key, const QString& value) const;
    // Takes the key's line out; a section left with nothing but blank lines goes with it. A
    // missing key or file leaves the file untouched.
    void removeKey(const QString& section, const QString& key) const;
    void writeInteger(const QString& section, const QString& key, int value) const;
    void writeBool(const QString& section, const QString& key, bool value) const;
    // Not-a-number and infinity are written as "0".
    void writeFloat(const QString& section, const QString& key, double value) const;

private:
    QString path_;
};

// One line of a file being edited (profile_file.cpp).
struct ProfileLine;

// Several writes to one file, made on one reading of it and saved by commit() in one
// replacement: the file ends as the same writes through ProfileFile would leave it, without
// reading, replacing and syncing it once for every key. Nothing reaches the disk before
// commit(); the writes throw for a file that exists but cannot be read, commit() for a refused
// save, which leaves the file as it was.
class ProfileEdit {
public:
    explicit ProfileEdit(QString path);
    ~ProfileEdit();

    void writeString(const QString& section, const QString& key, const QString& value);
    void writeUtf8String(const QString& section, const QString& key, const QString& value);
    void removeKey(const QString& section, const QString& key);
    void writeInteger(const QString& section, const QString& key, int value);
    void writeBool(const QString& section, const QString& key, bool value);
    void writeFloat(const QString& section, const QString& key, double value);
    void commit();

    // The file as it was read, before the writes.
    const ProfileSnapshot& before() const { return before_; }

private:
    QString path_;
    std::vector<ProfileLine> lines_;
    ProfileSnapshot before_;
    bool unreadable_ = false;
    bool changed_ = false;
};
