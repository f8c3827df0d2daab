#include "controls/bar_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace BarGeometry {

namespace {

// Built from edges because QRect(left, top, width, height) with a negative extent would be
// inverted rather than empty.
QRect rectFromEdges(long long left, long long top, long long right, long long bottom) {
    if (right <= left || bottom <= top) return {};
    return QRect(QPoint(int(left), int(top)), QPoint(int(right - 1), int(bottom - 1)));
}

}  // namespace

long long roundHalfEven(double value) {
    constexpr double limit = 1e18;
    if (std::isnan(value)) return 0;
    value = std::clamp(value, -limit, limit);
    double whole = std::floor(value);
    const double fraction = value - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0)) whole += 1.0;
    return static_cast<long long>(whole);
}

bool isVertical(ProgressDirection direction) {
    return direction == ProgressDirection::BottomToTop ||
           direction == ProgressDirection::TopToBottom;
}

int barLength(ProgressDirection direction, QSize size, bool showBorder) {
    const int length = isVertical(direction) ? size.height() : size.width();
    return showBorder ? length - 2 : length;
}

QRect innerRect(QSize size, bool showBorder) {
    const int margin = showBorder ? 1 : 0;
    return rectFromEdges(margin, margin, size.width() - margin, size.height() - margin);
}

long long filledLength(int position, int min, int max, int length) {
    if (!(min < position) || max == min) return 0;
    const double span = double(std::llabs(static_cast<long long>(max) - min));
    const double ratio = double(static_cast<long long>(position) - min) / span;
    return roundHalfEven(ratio * length);
}

QRect unfilledRect(ProgressDirection direction, QSize size, bool showBorder, long long filled) {
    const int margin = showBorder ? 1 : 0;
    const long long left = margin, top = margin;
    const long long right = size.width() - margin, bottom = size.height() - margin;
    const long long length = barLength(direction, size, showBorder);
    // Over-full (Max lowered below Position) or a control thinner than its border.
    const long long rest = std::clamp(length - filled, 0LL, std::max(length, 0LL));
    switch (direction) {
        case ProgressDirection::LeftToRight:
            return rectFromEdges(right - rest, top, right, bottom);
        case ProgressDirection::RightToLeft:
            return rectFromEdges(left, top, left + rest, bottom);
        case ProgressDirection::BottomToTop:
            return rectFromEdges(left, top, right, top + rest);
        case ProgressDirection::TopToBottom:
            return rectFromEdges(left, bottom - rest, right, bottom);
    }
    return {};
}

QList<Band> barImageBands(BarColorStyle style, ProgressDirection direction, QSize size,
                          const QColor& colour1, const QColor& colour2, const QColor& colour3) {
    if (style == BarColorStyle::OneColor) return {};
    const bool three = style == BarColorStyle::ThreeColors;
    const int width = size.width(), height = size.height();
    QList<Band> bands;
    auto add = [&bands](QRect rect, const QColor& colour) {
        if (!rect.isEmpty()) bands.append({rect, colour});
    };
    if (isVertical(direction)) {
        const int h = three ? height / 2 : height;
        add(rectFromEdges(0, 0, width, h), colour1);
        if (three) add(rectFromEdges(0, h, width, height), colour1);
    } else {
        const int w = three ? width / 2 : width;
        QColor first = colour1;
        if (direction == ProgressDirection::RightToLeft) first = three ? colour3 : colour2;
        add(rectFromEdges(0, 0, w, height), first);
        if (three) add(rectFromEdges(w, 0, width, height), colour1);
    }
    return bands;
}

QList<Band> borderBands(QSize size, const QColor& colour1, const QColor& colour2) {
    const int width = size.width(), height = size.height();
    QList<Band> bands;
    auto add = [&bands](QRect rect, const QColor& colour) {
        if (!rect.isEmpty()) bands.append({rect, colour});
    };
    // (W-1,0) -> (0,0): row 0 from x = W-1 down to 1; -> (0,H): column 0 from y = 0 to H-1.
    add(rectFromEdges(1, 0, width, 1), colour1);
    add(rectFromEdges(0, 0, 1, height), colour1);
    // (1,H-1) -> (W-1,H-1): row H-1 from x = 1 to W-2; -> (W-1,0): column W-1, y = H-1 to 1.
    add(rectFromEdges(1, height - 1, width - 1, height), colour2);
    add(rectFromEdges(width - 1, 1, width, height), colour2);
    return bands;
}

QSize tileGrid(QSize size, QSize tile) {
    if (tile.width() <= 0 || tile.height() <= 0) return {0, 0};
    return {std::max(size.width(), 0) / tile.width() + 1,
            std::max(size.height(), 0) / tile.height() + 1};
}

QPoint textPosition(QSize size, QSize textSize) {
    return {size.width() / 2 - textSize.width() / 2, size.height() / 2 - textSize.height() / 2};
}

std::optional<long long> percentageValue(int position, int max) {
    if (max == 0) return std::nullopt;
    return roundHalfEven(double(position) / double(max) * 100.0);
}

QString positionText(const QString& prefix, const QString& suffix, bool percentage, int position,
                     int max) {
    if (!percentage) return prefix + suffix;
    const auto value = percentageValue(position, max);
    return value ? prefix + QString::number(*value) + suffix : prefix + suffix;
}

}  // namespace BarGeometry
