#include "core/window_placement.h"

#include <algorithm>
#include <cstdint>

namespace {
// The top strip: about the menu bar's height. Enough of it to grab with the mouse must show.
constexpr std::int64_t kStripHeight = 20;
constexpr std::int64_t kGripWidth = 60;
constexpr std::int64_t kGripHeight = 10;

// How far [from, from + length) and [otherFrom, otherFrom + otherLength) overlap. In 64 bits: a
// position read from the settings file may lie near the end of int, where the window's right
// edge would wrap round to a negative number.
std::int64_t overlap(std::int64_t from, std::int64_t length, std::int64_t otherFrom,
                     std::int64_t otherLength) {
    const std::int64_t end = std::min(from + length, otherFrom + otherLength);
    return std::max<std::int64_t>(0, end - std::max(from, otherFrom));
}
}  // namespace

bool isReachable(const QPoint& topLeft, const QSize& size, const QList<QRect>& screens) {
    const std::int64_t stripWidth = size.width();
    const std::int64_t stripHeight = std::min<std::int64_t>(size.height(), kStripHeight);
    const std::int64_t needWidth = std::max<std::int64_t>(1, std::min(stripWidth, kGripWidth));
    const std::int64_t needHeight = std::max<std::int64_t>(1, std::min(stripHeight, kGripHeight));
    return std::any_of(screens.begin(), screens.end(), [&](const QRect& screen) {
        return overlap(topLeft.x(), stripWidth, screen.x(), screen.width()) >= needWidth &&
               overlap(topLeft.y(), stripHeight, screen.y(), screen.height()) >= needHeight;
    });
}

QPoint reachablePosition(const QPoint& topLeft, const QSize& size, const QList<QRect>& screens,
                         const QPoint& fallback) {
    if (screens.isEmpty() || isReachable(topLeft, size, screens)) return topLeft;
    return fallback;
}
