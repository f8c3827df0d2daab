#pragma once

#include <QString>
#include <optional>

// The text Ctrl+Insert puts into the clipboard for a position: {▼[1:02:03]▲}.
QString timeCodeClipText(double seconds);
// Whether the text is one of those, exactly: Scribo's own code is never a note of the typist's.
bool isTimeCodeClipText(const QString& text);

// Whether Ctrl+Print Screen takes the clipboard text as a time code at all: 7 to 29 bytes of
// CP932 with a "[" and a "]".
bool clipboardMayHoldTimeCode(const QString& clipboardText);

// A time code read back from the clipboard: the text that remains after the marks are taken
// off (shown in the status line), and its seconds.
struct ClipboardTimeCode {
    QString text;
    double seconds = 0;
};
// Nothing for an empty text, one over 60 CP932 bytes or one without a ":"; otherwise the text
// inside the braces after the first "[", without the marks, blanks, brackets, "=" and "/".
std::optional<ClipboardTimeCode> readClipboardTimeCode(const QString& clipboardText);

// Whether the player may jump to a read time code in media of the given duration: a time of 0,
// a negative one or one beyond the end is refused.
bool isJumpTarget(double seconds, double duration);
