#pragma once

#include <QColor>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <optional>

enum class BarColorStyle { OneColor, TwoColors, ThreeColors };
enum class ProgressDirection { LeftToRight, RightToLeft, BottomToTop, TopToBottom };

// The progress bar's arithmetic, apart from any widget so that every pixel rule can be checked
// in a table. Rectangles are QRects in the usual sense (right and bottom are the last pixels
// inside); sizes are the control's width W and height H.
namespace BarGeometry {

// A rectangle to fill with one colour; lists of them are filled in order, later over earlier.
struct Band {
    QRect rect;
    QColor colour;
    friend bool operator==(const Band&, const Band&) = default;
};

// Nearest integer, halves to the even neighbour, whatever the FPU's rounding mode is. Values
// beyond ±1e18 are clamped so the result always fits.
long long roundHalfEven(double value);

bool isVertical(ProgressDirection direction);

// L: the length along the direction, less the two border pixels when there is a border.
// Negative when the control is narrower than its border.
int barLength(ProgressDirection direction, QSize size, bool showBorder);

// The area inside the border (the whole control without one). Empty, never inverted, when the
// control is too small to have an inside.
QRect innerRect(QSize size, bool showBorder);

// How many of the L pixels are filled: 0 unless min < position and max != min, otherwise
// (position - min) / |max - min| x L rounded half to even. It exceeds L when Max was lowered
// below the position; the arithmetic is 64-bit so extreme ranges cannot overflow.
long long filledLength(int position, int min, int max, int length);

// The part of the inner rectangle painted with the background colour: the end opposite the
// start side, rest = L - filled pixels long (none when the fill is complete or over-full).
QRect unfilledRect(ProgressDirection direction, QSize size, bool showBorder, long long filled);

// The cached fill image for TwoColors and ThreeColors as bands of a W x H image. Only
// RightToLeft differs from solid colour1: all colour2 (TwoColors) or colour3 on the left half
// (x < W div 2) and colour1 on the right (ThreeColors). OneColor needs no image: empty list.
QList<Band> barImageBands(BarColorStyle style, ProgressDirection direction, QSize size,
                          const QColor& colour1, const QColor& colour2, const QColor& colour3);

// The sunken border: colour1 on the top row and left column, colour2 on the bottom row and the
// right column below the top row. Drawn as lines whose end points are left out, so the corners
// (0,0), (W-1,0) and (0,H-1) belong to colour1 and only (W-1,H-1) to colour2.
QList<Band> borderBands(QSize size, const QColor& colour1, const QColor& colour2);

// Columns and rows of bitmap copies that cover the control from (0,0): W div w + 1 by
// H div h + 1. Empty for an empty tile.
QSize tileGrid(QSize size, QSize tile);

// Top-left corner of the centred text box: W div 2 - text width div 2, H div 2 - text height
// div 2, truncating toward zero.
QPoint textPosition(QSize size, QSize textSize);

// Position / Max x 100 rounded half to even; Min plays no part. None with Max = 0, where the
// number is undefined: the text is then prefix + suffix alone.
std::optional<long long> percentageValue(int position, int max);

// The text the bar draws: prefix, the percentage number when asked for (no percent sign),
// suffix.
QString positionText(const QString& prefix, const QString& suffix, bool percentage, int position,
                     int max);

}  // namespace BarGeometry
