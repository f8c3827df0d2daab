#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

// The window has no title bar: it is moved by dragging its top strip (the menu bar). A saved
// position where too little of that strip is on any screen (a monitor that has gone, a
// hand-edited 40000) would leave it where nobody can take hold of it. Position and size apart:
// a QRect of them could not hold a position near the end of int.
bool isReachable(const QPoint& topLeft, const QSize& size, const QList<QRect>& screens);

// Where the window goes: where it was saved, or the fallback when it could not be reached
// there. Without any screen known it stays where it was saved.
QPoint reachablePosition(const QPoint& topLeft, const QSize& size, const QList<QRect>& screens,
                         const QPoint& fallback);
