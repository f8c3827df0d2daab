#include "core/ini_number.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

// Not-a-number and infinity have no text form the readers accept; they are written as "0".
QString formatIniNumber(double value) {
    if (!std::isfinite(value) || value == 0) return QStringLiteral("0");

    // Fifteen significant digits, correctly rounded: d.dddddddddddddde[+-]x.
    char buf[64];
    const auto res =
        std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, 14);
    const std::string sci(buf, res.ptr);
    const std::size_t ePos = sci.find('e');
    std::string digits = sci.substr(0, 1) + sci.substr(2, ePos - 2);
    const int exponent = std::atoi(sci.c_str() + ePos + 1);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string text = value < 0 ? "-" : "";
    // The decision uses the rounded digits, so 9.999999999999999E14 is written 1E15.
    if (exponent >= -5 && exponent < 15) {
        if (exponent < 0) {
            text += "0.";
            text.append(static_cast<std::size_t>(-exponent - 1), '0');
            text += digits;
        } else {
            const auto intDigits = static_cast<std::size_t>(exponent) + 1;
            if (digits.size() <= intDigits) {
                text += digits;
                text.append(intDigits - digits.size(), '0');
            } else {
                text += digits.substr(0, intDigits);
                text += '.';
                text += digits.substr(intDigits);
            }
        }
    } else {
        text += digits.substr(0, 1);
        if (digits.size() > 1) {
            text += '.';
            text += digits.substr(1);
        }
        text += 'E';
        text += std::to_string(exponent);
    }
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::optional<double> parseIniNumber(const QString& text) {
    const QByteArray trimmed = text.trimmed().toLatin1();
    if (trimmed.isEmpty()) return std::nullopt;
    // Only the plain decimal forms: no "inf", "nan" or hexadecimal, which from_chars would take.
    for (char c : trimmed) {
        const bool ok =
            (c >= '0' && c <= '9') || c == '.' || c == 'e' || c == 'E' || c == '+' || c == '-';
        if (!ok) return std::nullopt;
    }
    const char* begin = trimmed.constData();
    const char* end = begin + trimmed.size();
    // from_chars takes no leading "+".
    if (*begin == '+') {
        ++begin;
        if (begin == end || *begin == '-' || *begin == '+') return std::nullopt;
    }
    double value = 0;
    const auto res = std::from_chars(begin, end, value, std::chars_format::general);
    if (res.ec != std::errc() || res.ptr != end) return std::nullopt;
    return value;
}
