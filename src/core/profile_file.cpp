#include "core/profile_file.h"

#include "core/cp932.h"
#include "core/file_access.h"
#include "core/file_name.h"
#include "core/ini_number.h"

#include <QFileInfo>

#include <sys/stat.h>
#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

namespace {

// Longest value a read returns, in bytes of CP932.
constexpr qsizetype kMaxValueBytes = 2047;

// Every byte tested here is below 0x40, so it can never be the second byte of a double-byte
// character: finding it in the raw bytes is safe.
bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

bool isLeadByte(char c) {
    const auto b = static_cast<unsigned char>(c);
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

QByteArray trimBlanks(const QByteArray& bytes) {
    qsizetype begin = 0;
    qsizetype end = bytes.size();
    while (begin < end && isBlank(bytes[begin]))
        ++begin;
    while (end > begin && isBlank(bytes[end - 1]))
        --end;
    return bytes.mid(begin, end - begin);
}

QString trimBlanks(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    auto blank = [](QChar c) {
        return c.unicode() < 0x80 && isBlank(static_cast<char>(c.unicode()));
    };
    while (begin < end && blank(text[begin]))
        ++begin;
    while (end > begin && blank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

enum class LineKind { Other, Section, Key };

}  // namespace

struct ProfileLine {
    QByteArray content;  // without the line ending
    QByteArray ending;   // "\r\n", "\n", or empty for a last line without one
    LineKind kind = LineKind::Other;
    QString name;         // section or key name, decoded
    QByteArray rawKey;    // the key's bytes as they stand in the file, trimmed
    QByteArray rawValue;  // the value's bytes, trimmed
};

namespace {

using Line = ProfileLine;

void classify(Line& line) {
    const QByteArray text = trimBlanks(line.content);
    if (text.startsWith('[')) {
        // "]" may be the second byte of a double-byte character: search the decoded text.
        const QString rest = fromCp932(text.mid(1));
        const qsizetype close = rest.indexOf(QLatin1Char(']'));
        if (close >= 0) {
            line.kind = LineKind::Section;
            line.name = trimBlanks(rest.left(close));
            return;
        }
    }
    const qsizetype eq = text.indexOf('=');
    if (eq < 0) return;
    line.kind = LineKind::Key;
    line.rawKey = trimBlanks(text.left(eq));
    line.rawValue = trimBlanks(text.mid(eq + 1));
    line.name = fromCp932(line.rawKey);
}

std::vector<Line> parse(const QByteArray& bytes) {
    std::vector<Line> lines;
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        Line line;
        const qsizetype lf = bytes.indexOf('\n', pos);
        qsizetype end = lf < 0 ? bytes.size() : lf;
        if (lf >= 0) {
            if (end > pos && bytes[end - 1] == '\r') --end;
            line.ending = bytes.mid(end, lf + 1 - end);
        }
        line.content = bytes.mid(pos, end - pos);
        classify(line);
        lines.push_back(std::move(line));
        pos = lf < 0 ? bytes.size() : lf + 1;
    }
    return lines;
}

bool sameName(const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

// Where a section stands: its header line and the line after its last line.
struct SectionRange {
    std::size_t header = 0;
    std::size_t end = 0;
};

// The first section of that name wins, as with the Windows functions.
std::optional<SectionRange> findSection(const std::vector<Line>& lines, const QString& section) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind != LineKind::Section || !sameName(lines[i].name, section)) continue;
        std::size_t end = i + 1;
        while (end < lines.size() && lines[end].kind != LineKind::Section)
            ++end;
        return SectionRange{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> findKey(const std::vector<Line>& lines, const SectionRange& range,
                                   const QString& key) {
    for (std::size_t i = range.header + 1; i < range.end; ++i)
        if (lines[i].kind == LineKind::Key && sameName(lines[i].name, key)) return i;
    return std::nullopt;
}

// A line break inside a written name or value would split its line; each becomes a blank.
QString singleLine(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

void save(const QString& path, const QByteArray& bytes) {
    // A file or folder without any write bit counts as read-only even for root, so the program
    // behaves the same whoever runs it.
    if (isReadOnlyFile(path) || !isWritableFolder(QFileInfo(path).absolutePath()))
        throw ProfileWriteError(path);
    if (replaceFile(path, bytes) != 0) throw ProfileWriteError(path);
}

QByteArray join(const std::vector<Line>& lines) {
    QByteArray out;
    for (const Line& line : lines) {
        out += line.content;
        out += line.ending;
    }
    return out;
}

Line newLine(const QByteArray& content) {
    Line line;
    line.content = content;
    line.ending = QByteArrayLiteral("\r\n");
    // Named like a parsed line, so that later writes of the same edit find it.
    classify(line);
    return line;
}

bool isBlankLine(const Line& line) {
    return trimBlanks(line.content).isEmpty();
}

// One write of a value already encoded; see ProfileFile for where the line goes.
void setValue(std::vector<Line>& lines, const QString& section, const QString& key,
              const QByteArray& rawValue) {
    const auto range = findSection(lines, section);
    if (!range) {
        if (!lines.empty() && lines.back().ending.isEmpty())
            lines.back().ending = QByteArrayLiteral("\r\n");
        lines.push_back(newLine('[' + toCp932(singleLine(section)) + ']'));
        lines.push_back(newLine(toCp932(singleLine(key)) + '=' + rawValue));
    } else if (const auto index = findKey(lines, *range, key)) {
        // Keep the key as the file spells it, so only the value changes.
        lines[*index] = newLine(lines[*index].rawKey + '=' + rawValue);
    } else {
        // After the section's last line that is not blank, before blank lines that separate
        // it from the next section.
        std::size_t last = range->end - 1;
        while (last > range->header && isBlankLine(lines[last]))
            --last;
        if (lines[last].ending.isEmpty()) lines[last].ending = QByteArrayLiteral("\r\n");
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(last + 1),
                     newLine(toCp932(singleLine(key)) + '=' + rawValue));
    }
}

// Takes the key out; false when it is not there. A section left with nothing but blank lines
// goes with its last key.
bool removeValue(std::vector<Line>& lines, const QString& section, const QString& key) {
    const auto range = findSection(lines, section);
    if (!range) return false;
    const auto index = findKey(lines, *range, key);
    if (!index) return false;
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(*index));
    const auto first = lines.begin() + static_cast<std::ptrdiff_t>(range->header);
    const auto end = lines.begin() + static_cast<std::ptrdiff_t>(range->end - 1);
    if (std::all_of(first + 1, end, isBlankLine)) lines.erase(first, end);
    return true;
}

// Case folded as QString::compare() folds for Qt::CaseInsensitive: one character at a time.
QString foldedName(const QString& name) {
    QList<uint> code = name.toUcs4();
    for (uint& c : code)
        c = QChar::toCaseFolded(c);
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(code.constData()), code.size());
}

// Saves the lines as change() leaves them, unless it changes nothing.
template <typename Change>
void rewrite(const QString& path, Change change) {
    const FileContents contents = readSmallFile(path);
    // A file that is there but cannot be read must not be replaced by a file of one key.
    if (contents.refusesWrite()) throw ProfileWriteError(path);
    std::vector<Line> lines = parse(contents.bytes);
    if (change(lines)) save(path, join(lines));
}

}  // namespace

ProfileWriteError::ProfileWriteError(const QString& path)
    : std::runtime_error(QStringLiteral("%1 に書き込めません").arg(path).toStdString()),
      path_(path) {}

ProfileSnapshot::ProfileSnapshot(const QByteArray& bytes) {
    QHash<QString, QByteArray>* section = nullptr;
    for (const Line& line : parse(bytes)) {
        if (line.kind == LineKind::Section) {
            const QString name = foldedName(line.name);
            // The first section of that name wins, as with the Windows functions.
            section = values_.contains(name) ? nullptr : &values_[name];
        } else if (line.kind == LineKind::Key && section) {
            // The first key of that name wins too.
            const QString name = foldedName(line.name);
            if (!section->contains(name)) section->insert(name, line.rawValue);
        }
    }
}

std::optional<QByteArray> ProfileSnapshot::rawValue(const QString& section,
                                                    const QString& key) const {
    const auto found = values_.constFind(foldedName(section));
    if (found == values_.cend()) return std::nullopt;
    const auto value = found->constFind(foldedName(key));
    if (value == found->cend()) return std::nullopt;
    QByteArray bytes = *value;
    if (bytes.size() >= 2) {
        const char first = bytes.front();
        if ((first == '"' || first == '\'') && bytes.back() == first)
            bytes = bytes.mid(1, bytes.size() - 2);
    }
    return bytes;
}

QString ProfileSnapshot::readString(const QString& section, const QString& key,
                                    const QString& def) const {
    const auto raw = rawValue(section, key);
    if (!raw) return def;
    QByteArray value = *raw;
    if (value.size() > kMaxValueBytes) {
        // Cut before the character that would cross the limit, never inside one.
        qsizetype cut = 0;
        while (cut < value.size()) {
            const qsizetype width = isLeadByte(value[cut]) && cut + 1 < value.size() ? 2 : 1;
            if (cut + width > kMaxValueBytes) break;
            cut += width;
        }
        value.truncate(cut);
    }
    // A stray CR inside a line reads as the blank a write would make of it, so what is read
    // survives being saved again.
    return singleLine(fromCp932(value));
}

int ProfileSnapshot::readInteger(const QString& section, const QString& key, int def) const {
    const QString text = readString(section, key, QString()).trimmed();
    // Decimal digits with an optional sign, nothing else (no hexadecimal forms).
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const bool sign = i == 0 && (c == QLatin1Char('-') || c == QLatin1Char('+'));
        if (!sign && (c < QLatin1Char('0') || c > QLatin1Char('9'))) return def;
    }
    bool ok = false;
    const qlonglong value = text.toLongLong(&ok, 10);
    if (!ok || value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return def;
    return static_cast<int>(value);
}

bool ProfileSnapshot::readBool(const QString& section, const QString& key, bool def) const {
    return readInteger(section, key, def ? 1 : 0) != 0;
}

double ProfileSnapshot::readFloat(const QString& section, const QString& key, double def) const {
    const auto value = parseIniNumber(readString(section, key, QString()));
    return value ? *value : def;
}

QString ProfileSnapshot::readUtf8String(const QString& section, const QString& key,
                                        const QString& def) const {
    const auto raw = rawValue(section, key);
    if (!raw) return def;
    // Read as a file name is: bytes that are not UTF-8 (a name from a non-UTF-8 folder) come
    // back as the same bytes.
    return singleLine(fileNameFromBytes(*raw));
}

bool ProfileSnapshot::valueExists(const QString& section, const QString& key) const {
    return rawValue(section, key).has_value();
}

bool ProfileFile::exists() const {
    struct stat status {};
    return ::stat(fileNameToBytes(path_).constData(), &status) == 0 && S_ISREG(status.st_mode);
}

ProfileSnapshot ProfileFile::load() const {
    return ProfileSnapshot(readSmallFile(path_).bytes);
}

QString ProfileFile::readString(const QString& section, const QString& key,
                                const QString& def) const {
    return load().readString(section, key, def);
}

int ProfileFile::readInteger(const QString& section, const QString& key, int def) const {
    return load().readInteger(section, key, def);
}

bool ProfileFile::readBool(const QString& section, const QString& key, bool def) const {
    return load().readBool(section, key, def);
}

double ProfileFile::readFloat(const QString& section, const QString& key, double def) const {
    return load().readFloat(section, key, def);
}

QString ProfileFile::readUtf8String(const QString& section, const QString& key,
                                    const QString& def) const {
    return load().readUtf8String(section, key, def);
}

bool ProfileFile::valueExists(const QString& section, const QString& key) const {
    return load().valueExists(section, key);
}

void ProfileFile::writeString(const QString& section, const QString& key,
                              const QString& value) const {
    rewrite(path_, [&](std::vector<Line>& lines) {
        setValue(lines, section, key, toCp932(singleLine(value)));
        return true;
    });
}

void ProfileFile::writeUtf8String(const QString& section, const QString& key,
                                  const QString& value) const {
    rewrite(path_, [&](std::vector<Line>& lines) {
        setValue(lines, section, key, fileNameToBytes(singleLine(value)));
        return true;
    });
}

void ProfileFile::removeKey(const QString& section, const QString& key) const {
    rewrite(path_, [&](std::vector<Line>& lines) { return removeValue(lines, section, key); });
}

void ProfileFile::writeInteger(const QString& section, const QString& key, int value) const {
    writeString(section, key, QString::number(value));
}

void ProfileFile::writeBool(const QString& section, const QString& key, bool value) const {
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void ProfileFile::writeFloat(const QString& section, const QString& key, double value) const {
    writeString(section, key, formatIniNumber(value));
}

ProfileEdit::ProfileEdit(QString path) : path_(std::move(path)) {
    const FileContents contents = readSmallFile(path_);
    unreadable_ = contents.refusesWrite();
    lines_ = parse(contents.bytes);
    before_ = ProfileSnapshot(contents.bytes);
}

ProfileEdit::~ProfileEdit() = default;

void ProfileEdit::writeString(const QString& section, const QString& key, const QString& value) {
    if (unreadable_) throw ProfileWriteError(path_);
    setValue(lines_, section, key, toCp932(singleLine(value)));
    changed_ = true;
}

void ProfileEdit::writeUtf8String(const QString& section, const QString& key,
                                  const QString& value) {
    if (unreadable_) throw ProfileWriteError(path_);
    setValue(lines_, section, key, fileNameToBytes(singleLine(value)));
    changed_ = true;
}

void ProfileEdit::removeKey(const QString& section, const QString& key) {
    if (unreadable_) throw ProfileWriteError(path_);
    if (removeValue(lines_, section, key)) changed_ = true;
}

void ProfileEdit::writeInteger(const QString& section, const QString& key, int value) {
    writeString(section, key, QString::number(value));
}

void ProfileEdit::writeBool(const QString& section, const QString& key, bool value) {
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void ProfileEdit::writeFloat(const QString& section, const QString& key, double value) {
    writeString(section, key, formatIniNumber(value));
}

void ProfileEdit::commit() {
    if (!changed_) return;
    save(path_, join(lines_));
    changed_ = false;
}
