#include "keyboard/clipboard_time_code.h"

#include <QRegularExpression>

#include "core/cp932.h"
#include "core/time_code.h"

namespace {
// A character is at least one byte of CP932 and a surrogate pair at least one: a text of more
// code units than twice a byte limit is over it without being encoded, which takes seconds for
// a clipboard of megabytes.
bool surelyLongerThan(const QString& text, qsizetype bytes) {
    return text.size() > 2 * bytes;
}

const QString kOpen = QStringLiteral("▼");
const QString kClose = QStringLiteral("▲");

void removeFirst(QString& text, const QString& part) {
    const qsizetype at = text.indexOf(part);
    if (at >= 0) text.remove(at, part.size());
}
}  // namespace

QString timeCodeClipText(double seconds) {
    return QStringLiteral("{") + kOpen + QStringLiteral("[") + TimeCodeText(seconds) +
           QStringLiteral("]") + kClose + QStringLiteral("}");
}

bool isTimeCodeClipText(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^\\{▼\\[\\d+:\\d\\d:\\d\\d\\]▲\\}$"));
    return pattern.match(text).hasMatch();
}

bool clipboardMayHoldTimeCode(const QString& clipboardText) {
    if (surelyLongerThan(clipboardText, 30)) return false;
    const qsizetype bytes = cp932Length(clipboardText);
    if (bytes <= 6 || bytes >= 30) return false;
    return clipboardText.contains(QLatin1Char('[')) && clipboardText.contains(QLatin1Char(']'));
}

std::optional<ClipboardTimeCode> readClipboardTimeCode(const QString& clipboardText) {
    if (clipboardText.isEmpty() || surelyLongerThan(clipboardText, 60) ||
        cp932Length(clipboardText) > 60)
        return std::nullopt;
    if (!clipboardText.contains(QLatin1Char(':'))) return std::nullopt;
    QString t = clipboardText;
    if (const qsizetype at = t.indexOf(QLatin1Char('{')); at >= 0) t = t.mid(at + 1);
    if (const qsizetype at = t.indexOf(QLatin1Char('}')); at >= 0) t.truncate(at);
    if (const qsizetype at = t.indexOf(QLatin1Char('[')); at >= 0) t = t.mid(at + 1);
    removeFirst(t, kOpen);
    removeFirst(t, kClose);
    for (const QChar c :
         {QChar(u' '), QChar(u'\u3000'), QChar(u'['), QChar(u']'), QChar(u'='), QChar(u'/')})
        t.remove(c);
    return ClipboardTimeCode{t, TimeCodeSeconds(t)};
}

bool isJumpTarget(double seconds, double duration) {
    return seconds > 0 && !(seconds > duration);
}
