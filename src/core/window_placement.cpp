#include "core/window_placement.h"

#include <algorithm>

namespace {
// The top strip: about the menu bar's height. Enough of it to grab with the mouse must show.
constexpr int kStripHeight = 20;
constexpr int kGripWidth = 60;
constexpr int kGripHeight = 10;
}  // namespace

bool isReachable(const QRect& window, const QList<QRect>& screens) {
    const QRect strip(window.topLeft(),
                      QSize(window.width(), std::min(window.height(), kStripHeight)));
    const int needWidth = std::min(strip.width(), kGripWidth);
    const int needHeight = std::min(strip.height(), kGripHeight);
    return std::any_of(screens.begin(), screens.end(), [&](const QRect& screen) {
        const QRect shown = strip.intersected(screen);
        return !shown.isEmpty() && shown.width() >= needWidth && shown.height() >= needHeight;
    });
}

QPoint reachablePosition(const QRect& window, const QList<QRect>& screens, const QPoint& fallback) {
    if (screens.isEmpty() || isReachable(window, screens)) return window.topLeft();
    return fallback;
}
