#include "index/entry_book.h"

#include "core/time_code.h"

#include <stdexcept>
#include <utility>

namespace {

constexpr QChar kIdeographicSpace(0x3000);
const QString kClipSeparator = QStringLiteral(",　");
const QString kStampMark = QStringLiteral(",%");
constexpr int kNoteCharacters = 30;

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == kIdeographicSpace;
}

// Control characters, half-width and ideographic spaces, in any mix.
bool isNoteEdge(QChar c) {
    return c.unicode() <= 0x20 || c == kIdeographicSpace;
}

QString trimmed(const QString& text, bool (*drop)(QChar)) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && drop(text[begin]))
        ++begin;
    while (end > begin && drop(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

bool isLineBreak(QChar c) {
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

// A note must stay on one line of the index file.
QString joinLines(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!isLineBreak(text[i])) {
            out += text[i];
            continue;
        }
        while (i + 1 < text.size() && isLineBreak(text[i + 1]))
            ++i;
        out += QLatin1Char(' ');
    }
    return out;
}

// The first characters of the text, a surrogate pair counting as one.
QString firstCharacters(const QString& text, int count) {
    qsizetype pos = 0;
    for (int n = 0; n < count && pos < text.size(); ++n) {
        const bool pair =
            text[pos].isHighSurrogate() && pos + 1 < text.size() && text[pos + 1].isLowSurrogate();
        pos += pair ? 2 : 1;
    }
    return text.left(pos);
}

QString twoDigits(int value) {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

}  // namespace

QString IndexBook::entryLabel(int entry) {
    return QStringLiteral("%1.").arg(entry, 2, 10, QLatin1Char(' '));
}

IndexBook::IndexBook() {
    clear();
}

const IndexEntry& IndexBook::entry(int entry) const {
    if (!isValidEntry(entry)) throw std::out_of_range("index entry out of range");
    return entries_[static_cast<std::size_t>(entry - 1)];
}

IndexEntry& IndexBook::at(int entry) {
    return const_cast<IndexEntry&>(std::as_const(*this).entry(entry));
}

bool IndexBook::isOccupied(int entry) const {
    // The label alone has 3 characters, the label with its blank 4.
    return this->entry(entry).caption.size() > 4;
}

bool IndexBook::isEmpty() const {
    for (int n = 1; n <= kEntryCount; ++n)
        if (isOccupied(n)) return false;
    return true;
}

int IndexBook::appendTarget() const {
    if (isOccupied(kEntryCount)) return 0;
    for (int n = kEntryCount - 1; n >= 1; --n)
        if (isOccupied(n)) return n + 1;
    return 1;
}

void IndexBook::clear() {
    for (int n = 1; n <= kEntryCount; ++n)
        clearEntry(n);
}

void IndexBook::clearEntry(int entry) {
    at(entry) = IndexEntry{0, QString(), entryLabel(entry)};
}

void IndexBook::registerEntry(int entry, double position, const QString& clipPart,
                              const QDateTime& when) {
    const QString timeCode = TimeCodeText(position);
    at(entry) = IndexEntry{position, timeCode + clipPart + registrationStamp(when),
                           entryLabel(entry) + QLatin1Char(' ') + timeCode + clipPart};
}

IndexBook::ClickResult IndexBook::click(int entry, double position, const QString& clipPart,
                                        const QDateTime& when, bool protect) {
    if (isOccupied(entry)) {
        if (protect) return ClickResult::Protected;
        clearEntry(entry);
        return ClickResult::Cleared;
    }
    registerEntry(entry, position, clipPart, when);
    return ClickResult::Registered;
}

void IndexBook::loadEntry(int entry, double time, const QString& recordText) {
    const QString label = entryLabel(entry);
    at(entry) = IndexEntry{time, recordText,
                           time > 1.0 ? label + QLatin1Char(' ') + displayText(recordText) : label};
}

QString trimBlanks(const QString& text) {
    return trimmed(text, isBlank);
}

QString displayText(const QString& recordText) {
    const qsizetype stamp = recordText.indexOf(kStampMark);
    return stamp < 0 ? recordText : recordText.left(stamp);
}

QString clipPart(bool addClipboard, const QString& clipboardText) {
    if (!addClipboard) return kClipSeparator;
    const QString note = trimmed(clipboardText, isNoteEdge);
    if (note.isEmpty()) return QString();
    QString cut = firstCharacters(joinLines(note), kNoteCharacters);
    // ",%" inside a note would be taken for the stamp's start when the entry is read back; a
    // blank keeps them apart, and the CSV line, which drops half-width blanks, joins them again.
    cut.replace(kStampMark, QStringLiteral(", %"));
    return kClipSeparator + cut;
}

QString registrationStamp(const QDateTime& when) {
    const QDate date = when.date();
    const QTime time = when.time();
    return kStampMark + twoDigits(date.year() % 100) + QLatin1Char('/') + twoDigits(date.month()) +
           QLatin1Char('/') + twoDigits(date.day()) + QLatin1Char(',') + twoDigits(time.hour()) +
           QLatin1Char(':') + twoDigits(time.minute()) + QLatin1Char(':') +
           twoDigits(time.second());
}
