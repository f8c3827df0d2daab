#include "index/text_exports.h"

#include "core/time_code.h"

#include <QDate>
#include <QRegularExpression>
#include <QTime>

namespace {

const QString kStampMark = QStringLiteral(",%");

bool isExported(const IndexEntry& entry) {
    return entry.time > 0;
}

// Spreadsheets run a cell that starts with one of these as a formula (tab and CR because some
// drop them first), so a note such as "=HYPERLINK(...)" could act when the file is opened. As
// OWASP advises against CSV injection, a leading apostrophe makes the cell plain text.
bool looksLikeFormula(const QString& field) {
    static const QString starts = QStringLiteral("=+-@\t\r");
    return !field.isEmpty() && starts.contains(field.front());
}

}  // namespace

QString noteText(const QString& recordText) {
    const QString shown = displayText(recordText);
    const qsizetype comma = shown.indexOf(QLatin1Char(','));
    if (comma < 0) return QString();
    QString note = shown.mid(comma + 1);
    if (note.startsWith(QChar(0x3000))) note.remove(0, 1);
    return note;
}

QString registrationTime(const QString& recordText) {
    static const QRegularExpression stamp(
        QStringLiteral("^(\\d\\d)/(\\d\\d)/(\\d\\d),(\\d\\d):(\\d\\d):(\\d\\d)$"));
    const qsizetype at = recordText.indexOf(kStampMark);
    if (at < 0) return QString();
    const auto match = stamp.match(recordText.mid(at + kStampMark.size()));
    if (!match.hasMatch()) return QString();
    auto number = [&match](int n) { return match.captured(n).toInt(); };
    // The stamp keeps two digits of the year; Scribo wrote none before 2000.
    const QDate date(2000 + number(1), number(2), number(3));
    const QTime time(number(4), number(5), number(6));
    if (!date.isValid() || !time.isValid()) return QString();
    return date.toString(Qt::ISODate) + QLatin1Char('T') + time.toString(Qt::ISODate);
}

QString csvField(const QString& text) {
    QString field = looksLikeFormula(text) ? QLatin1Char('\'') + text : text;
    static const QRegularExpression needsQuotes(QStringLiteral("[,\"\r\n]"));
    if (!field.contains(needsQuotes)) return field;
    field.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + field + QLatin1Char('"');
}

QByteArray utf8CsvBytes(const IndexBook& book) {
    const QString rowEnd = QStringLiteral("\r\n");
    QString text = QStringLiteral("エントリー,タイムコード,テキスト,登録日時") + rowEnd;
    for (int n = 1; n <= IndexBook::kEntryCount; ++n) {
        const IndexEntry& entry = book.entry(n);
        if (!isExported(entry)) continue;
        const QStringList fields{QString::number(n), TimeCodeText(entry.time),
                                 noteText(entry.recordText), registrationTime(entry.recordText)};
        QStringList row;
        for (const QString& field : fields)
            row << csvField(field);
        text += row.join(QLatin1Char(',')) + rowEnd;
    }
    return text.toUtf8();
}

QString textLine(const IndexEntry& entry) {
    static const QRegularExpression lineBreaks(QStringLiteral("[\r\n]+"));
    const QString note = noteText(entry.recordText).replace(lineBreaks, QStringLiteral(" "));
    const QString timeCode = TimeCodeText(entry.time);
    return note.isEmpty() ? timeCode : timeCode + QStringLiteral("  ") + note;
}

QByteArray textBytes(const IndexBook& book) {
    QString text;
    for (int n = 1; n <= IndexBook::kEntryCount; ++n) {
        const IndexEntry& entry = book.entry(n);
        if (isExported(entry)) text += textLine(entry) + QLatin1Char('\n');
    }
    return text.toUtf8();
}
