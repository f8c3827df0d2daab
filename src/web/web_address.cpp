#include "web/web_address.h"

#include <QUrl>
#include <algorithm>

namespace web {

namespace {

bool isBlankOrControl(QChar c) {
    return c.isSpace() || c.category() == QChar::Other_Control;
}

// Clipboard text may hold a format character such as a zero-width space; it is as invisible in
// the box as a blank and just as fatal to the address.
bool isInvisible(QChar c) {
    return isBlankOrControl(c) || c.category() == QChar::Other_Format;
}

bool startsWithScheme(const QString& text) {
    return text.startsWith(QLatin1String("http://")) || text.startsWith(QLatin1String("https://"));
}

QString trimBlanksAndControls(const QString& text) {
    qsizetype first = 0, last = text.size();
    while (first < last && isBlankOrControl(text.at(first)))
        ++first;
    while (last > first && isBlankOrControl(text.at(last - 1)))
        --last;
    return text.mid(first, last - first);
}

}  // namespace

QString tooLongMessage() {
    return QStringLiteral("アドレスが長すぎます（%1 文字まで）").arg(kMaxAddressLength);
}

QString cleanUrl(const QString& text) {
    QString result = text;
    result.removeIf([](QChar c) {
        return isInvisible(c) || c == QLatin1Char('"') || c == QLatin1Char('(') ||
               c == QLatin1Char(')') || c == QLatin1Char(',');
    });
    return result;
}

bool isWebAddress(const QString& text) {
    return startsWithScheme(cleanUrl(text));
}

QString browserAddress(const QString& text) {
    if (!isWebAddress(text)) return {};
    QString trimmed = trimBlanksAndControls(text);
    if (!startsWithScheme(trimmed)) return cleanUrl(text);
    // Blanks inside may be meant (the browser encodes them); control and format characters never.
    trimmed.removeIf([](QChar c) { return !c.isSpace() && isInvisible(c); });
    return trimmed;
}

QString linkAddress(const QUrl& link) {
    if (!link.isValid() || link.host().isEmpty()) return {};
    const QString scheme = link.scheme().toLower();
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https")) return {};
    QUrl normalized = link;
    normalized.setScheme(scheme);
    return normalized.toString(QUrl::FullyEncoded);
}

int dropDownListWidth(const QList<int>& entryWidths, int visibleEntries, int scrollBarWidth) {
    constexpr int kMargin = 6;
    const int widest = entryWidths.isEmpty() ? 0 : *std::ranges::max_element(entryWidths);
    const bool scrolls = entryWidths.size() > visibleEntries;
    return widest + kMargin + (scrolls ? scrollBarWidth : 0);
}

}  // namespace web
