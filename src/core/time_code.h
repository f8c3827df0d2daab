#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The time code H:MM:SS: hours without leading zeros and without upper limit, whole seconds
// truncated (never rounded). Values below 1, negative or not a number give "0:00:00".
QString TimeCodeText(double seconds);

// Whole seconds of a position or length for the bars and labels: truncated, 0 for values below
// 1 or not a number, and held at the largest int for values beyond it (a damaged settings file
// may hold 1e300).
int WholeSeconds(double seconds);

// Splits a time text into fields: every ":" counts as ",", and the text is read as a comma list
// whose fields also end at blanks and control characters; blanks around a field are skipped, two
// commas in a row give an empty field, a comma at the very end gives a last empty field, and a
// field starting with a double quote runs to its closing quote.
QStringList SplitTimeFields(const QString& text);

// A field read as a signed decimal integer; anything else counts 0.
long long TimeFieldValue(const QString& field);

// Seconds of the time picker's "h,mm,ss" text: three fields are h, m, s; otherwise the first two
// are m, s. A field that is no integer or is missing counts 0.
long long PickerTextSeconds(const QString& commaTime);

// Whole seconds of a time code: three fields are h:m:s, any other count of two or more is m:s
// from the first two fields; fewer than two fields give 0. No range check (0:75:00 is 4500).
double TimeCodeSeconds(const QString& text);

// A player position or duration string ("MM:SS" or "HH:MM:SS") rebuilt as a time code, with its
// whole seconds. Empty, single-field and over-long strings give nothing.
struct PlayerTimeCode {
    QString text;
    long long seconds = 0;
};
std::optional<PlayerTimeCode> PlayerStringToTimeCode(const QString& playerString);
