#pragma once

#include <QString>
#include <optional>

// Real numbers in INI-format files: the shortest text of at most 15 significant digits, "." as
// the decimal point whatever the locale, no trailing zeros or point; fixed notation from 0.00001
// up to below 1E15, otherwise the form 1E-6 / 1.5E20. Not-a-number and infinity give "0", which
// every reader takes.
QString formatIniNumber(double value);
// Reads any decimal number in those forms (also with blanks around it), independent of the
// locale; nothing when the text is not a number.
std::optional<double> parseIniNumber(const QString& text);
