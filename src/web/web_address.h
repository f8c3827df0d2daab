#pragma once

#include <QList>
#include <QString>

class QUrl;

// Web addresses as the URL panel takes them from the clipboard, the address box, a dropped
// link or the desktop media interface.
namespace web {

// The longest address taken, in characters: as much as the address box holds by default. A
// longer one would reach the browser cut short, so it is refused with tooLongMessage() instead.
inline constexpr qsizetype kMaxAddressLength = 32767;
QString tooLongMessage();

// Strips what usually surrounds an address copied out of running text: blanks and control
// characters at both ends, and every blank (and other white space), double quote, parenthesis
// and comma anywhere in it. `("https://example.org/a b"),` becomes `https://example.org/ab`.
QString cleanUrl(const QString& text);

// Whether the cleaned text starts with "http://" or "https://", exactly in lower case.
bool isWebAddress(const QString& text);

// The address given to the browser: the text as typed, only trimmed, so that inner blanks reach
// the browser (which encodes them) rather than being dropped. Text wrapped in quotes or
// parentheses does not start with its scheme; the cleaned form is used then. Empty when the
// text is no web address.
QString browserAddress(const QString& text);

// A link dropped on the window or handed over by the desktop media interface, as an address for
// the panel: fully encoded (a blank inside stays as %20 rather than being cleaned away), with the
// scheme in lower case as links may spell it otherwise. Empty for anything but http and https.
QString linkAddress(const QUrl& link);

// The width of the address box's drop-down list: its widest entry, a small margin, and room for
// the scroll bar when the list holds more entries than it shows at once.
int dropDownListWidth(const QList<int>& entryWidths, int visibleEntries, int scrollBarWidth);

}  // namespace web
