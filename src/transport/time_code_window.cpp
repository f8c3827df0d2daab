// The window's time operations: the media length and position from the player's own strings,
// and the wait that keeps the window responsive.

#include <QFileInfo>
#include <cmath>

#include "app/main_form.h"
#include "core/time_code.h"
#include "transport/clock.h"
#include "transport/media_player.h"

namespace {
bool namesExistingFile(const QString& path) {
    return !path.isEmpty() && QFileInfo::exists(path);
}
}  // namespace

QString TAMainForm::GetDurationTime() {
    if (!namesExistingFile(MediaPath)) return {};
    const QString text = WindowsMediaPlayer1.durationString();
    const double length = WindowsMediaPlayer1.duration();
    MediaLength = std::isfinite(length) && length > 0 ? static_cast<int>(std::trunc(length)) : 0;
    ProgressBarTimePosition->setMax(MediaLength);
    if (text.isEmpty()) return {};
    const auto code = PlayerStringToTimeCode(text);
    if (!code) return {};
    DurationSeconds = static_cast<int>(code->seconds);
    return code->text;
}

QString TAMainForm::GetCurrentTimePositionStr() {
    if (!namesExistingFile(MediaPath)) return {};
    const QString text = WindowsMediaPlayer1.currentPositionString();
    if (text.isEmpty()) return {};
    const auto code = PlayerStringToTimeCode(text);
    return code ? code->text : QString();
}

void TAMainForm::Delay(int ms) {
    clock.waitProcessingEvents(ms);
}
