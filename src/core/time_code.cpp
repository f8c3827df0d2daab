#include "core/time_code.h"

#include <cmath>
#include <limits>

namespace {

constexpr long long kMaxSeconds = std::numeric_limits<long long>::max();

long long saturated(bool negative) {
    return negative ? std::numeric_limits<long long>::min() : kMaxSeconds;
}

// Adds up h:m:s without wrapping: absurd field values saturate instead of overflowing.
long long combineHms(long long h, long long m, long long s) {
    long long result = 0;
    long long part = 0;
    if (__builtin_mul_overflow(h, 3600LL, &part)) return saturated(h < 0);
    if (__builtin_add_overflow(result, part, &result)) return saturated(part < 0);
    if (__builtin_mul_overflow(m, 60LL, &part)) return saturated(m < 0);
    if (__builtin_add_overflow(result, part, &result)) return saturated(part < 0);
    if (__builtin_add_overflow(result, s, &result)) return saturated(s < 0);
    return result;
}

bool isBlankOrControl(QChar c) {
    return c.unicode() >= 1 && c.unicode() <= ' ';
}

}  // namespace

int WholeSeconds(double seconds) {
    if (!std::isfinite(seconds) || seconds < 1.0) return 0;
    constexpr double kLargest = std::numeric_limits<int>::max();
    return seconds >= kLargest ? std::numeric_limits<int>::max() : static_cast<int>(seconds);
}

QString TimeCodeText(double seconds) {
    long long n = 0;
    if (std::isfinite(seconds) && seconds >= 1.0) {
        // 2^63 is the first double past the long long range.
        n = seconds >= 9223372036854775808.0 ? kMaxSeconds : static_cast<long long>(seconds);
    }
    const long long hours = n / 3600;
    const int minutes = static_cast<int>(n % 3600 / 60);
    const int secs = static_cast<int>(n % 60);
    return QStringLiteral("%1:%2:%3")
        .arg(hours)
        .arg(minutes, 2, 10, QLatin1Char('0'))
        .arg(secs, 2, 10, QLatin1Char('0'));
}

QStringList SplitTimeFields(const QString& text) {
    // The comma-list reading of the classic delimited-text property: blanks and control
    // characters separate fields too, and a NUL ends the text.
    QString s = text;
    const qsizetype nul = s.indexOf(QChar(u'\0'));
    if (nul >= 0) s.truncate(nul);
    s.replace(QLatin1Char(':'), QLatin1Char(','));

    QStringList fields;
    const qsizetype n = s.size();
    qsizetype p = 0;
    while (p < n && isBlankOrControl(s[p]))
        ++p;
    while (p < n) {
        QString field;
        if (s[p] == QLatin1Char('"')) {
            ++p;
            while (p < n) {
                if (s[p] == QLatin1Char('"')) {
                    if (p + 1 < n && s[p + 1] == QLatin1Char('"')) {
                        field += QLatin1Char('"');
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                field += s[p];
                ++p;
            }
        } else {
            const qsizetype start = p;
            while (p < n && s[p].unicode() > ' ' && s[p] != QLatin1Char(','))
                ++p;
            field = s.mid(start, p - start);
        }
        fields.append(field);
        while (p < n && isBlankOrControl(s[p]))
            ++p;
        if (p < n && s[p] == QLatin1Char(',')) {
            if (p + 1 == n) fields.append(QString());
            ++p;
            while (p < n && isBlankOrControl(s[p]))
                ++p;
        }
    }
    return fields;
}

long long TimeFieldValue(const QString& field) {
    qsizetype i = 0;
    bool negative = false;
    if (i < field.size() && (field[i] == QLatin1Char('-') || field[i] == QLatin1Char('+'))) {
        negative = field[i] == QLatin1Char('-');
        ++i;
    }
    if (i == field.size()) return 0;
    // Accumulate the magnitude unsigned so that the most negative value still fits.
    unsigned long long magnitude = 0;
    const unsigned long long limit =
        negative ? static_cast<unsigned long long>(std::numeric_limits<long long>::max()) + 1
                 : static_cast<unsigned long long>(std::numeric_limits<long long>::max());
    for (; i < field.size(); ++i) {
        const char16_t c = field[i].unicode();
        if (c < u'0' || c > u'9') return 0;
        const unsigned digit = c - u'0';
        if (magnitude > (limit - digit) / 10) return 0;
        magnitude = magnitude * 10 + digit;
    }
    if (!negative) return static_cast<long long>(magnitude);
    return magnitude == 0 ? 0 : -static_cast<long long>(magnitude - 1) - 1;
}

double TimeCodeSeconds(const QString& text) {
    if (text.isEmpty()) return 0;
    const QStringList fields = SplitTimeFields(text);
    if (fields.size() < 2) return 0;
    if (fields.size() == 3) {
        return static_cast<double>(combineHms(TimeFieldValue(fields[0]), TimeFieldValue(fields[1]),
                                              TimeFieldValue(fields[2])));
    }
    return static_cast<double>(combineHms(0, TimeFieldValue(fields[0]), TimeFieldValue(fields[1])));
}

std::optional<PlayerTimeCode> PlayerStringToTimeCode(const QString& playerString) {
    if (playerString.isEmpty()) return std::nullopt;
    const QStringList fields = SplitTimeFields(playerString);
    // A single field would give a text of bare colons; the player never sends one.
    if (fields.size() < 2 || fields.size() > 3) return std::nullopt;
    QString h = fields.size() == 3 ? fields[0] : QStringLiteral("0");
    const QString& m = fields[fields.size() - 2];
    const QString& s = fields[fields.size() - 1];
    // The player pads hours to two digits; the time code does not.
    if (h.size() == 2) h = QString::number(TimeFieldValue(h));
    PlayerTimeCode result;
    result.text = h + QLatin1Char(':') + m + QLatin1Char(':') + s;
    result.seconds = combineHms(TimeFieldValue(h), TimeFieldValue(m), TimeFieldValue(s));
    return result;
}

long long PickerTextSeconds(const QString& commaTime) {
    const QStringList fields = SplitTimeFields(commaTime);
    auto field = [&](qsizetype i) { return i < fields.size() ? TimeFieldValue(fields[i]) : 0; };
    return fields.size() == 3 ? field(0) * 3600 + field(1) * 60 + field(2)
                              : field(0) * 60 + field(1);
}
