#include "keyboard/clipboard_time_code.h"

#include <QRegularExpression>

#include "core/cp932.h"
#include "core/time_code.h"

namespace {
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
    const qsizetype bytes = cp932Length(clipboardText);
    if (bytes <= 6 || bytes >= 30) return false;
    return clipboardText.contains(QLatin1Char('[')) && clipboardText.contains(QLatin1Char(']'));
}

std::optional<ClipboardTimeCode> readClipboardTimeCode(const QString& clipboardText) {
    if (clipboardText.isEmpty() || cp932Length(clipboardText) > 60) return std::nullopt;
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
