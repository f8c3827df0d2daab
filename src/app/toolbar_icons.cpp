#include "app/toolbar_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {
constexpr int kSize = 20;
const QColor kInk(32, 32, 32);

QIcon paint(const std::function<void(QPainter&)>& draw) {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kInk);
    draw(painter);
    return QIcon(pixmap);
}

QPolygonF triangle(qreal x, qreal y, qreal w, qreal h, bool right) {
    if (right) return QPolygonF({QPointF(x, y), QPointF(x + w, y + h / 2), QPointF(x, y + h)});
    return QPolygonF({QPointF(x + w, y), QPointF(x, y + h / 2), QPointF(x + w, y + h)});
}
}  // namespace

namespace ToolbarIcons {

QIcon play() {
    return paint([](QPainter& p) {
        p.setBrush(QColor(0, 128, 0));
        p.drawPolygon(triangle(5, 3, 12, 14, true));
    });
}

QIcon pause() {
    return paint([](QPainter& p) {
        p.setBrush(QColor(200, 0, 0));
        p.drawRect(QRectF(5, 3, 4, 14));
        p.drawRect(QRectF(11, 3, 4, 14));
    });
}

QIcon skip() {
    return paint([](QPainter& p) {
        p.drawPolygon(triangle(1, 5, 8, 10, false));
        p.drawPolygon(triangle(11, 5, 8, 10, true));
    });
}

QIcon panel() {
    return paint([](QPainter& p) {
        p.setPen(QPen(kInk, 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(3, 3, 14, 14));
        p.setBrush(kInk);
        p.drawRect(QRectF(3, 3, 14, 5));
    });
}

QIcon openFile() {
    return paint([](QPainter& p) {
        p.setBrush(QColor(214, 170, 60));
        QPainterPath folder;
        folder.moveTo(2, 5);
        folder.lineTo(8, 5);
        folder.lineTo(10, 7);
        folder.lineTo(18, 7);
        folder.lineTo(18, 16);
        folder.lineTo(2, 16);
        folder.closeSubpath();
        p.drawPath(folder);
    });
}

QIcon exit() {
    return paint([](QPainter& p) {
        p.setPen(QPen(QColor(160, 0, 0), 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(5, 5), QPointF(15, 15));
        p.drawLine(QPointF(15, 5), QPointF(5, 15));
    });
}

QIcon setTime() {
    return paint([](QPainter& p) {
        p.setPen(QPen(kInk, 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(3, 3, 14, 14));
        p.drawLine(QPointF(10, 10), QPointF(10, 5));
        p.drawLine(QPointF(10, 10), QPointF(14, 10));
    });
}

QIcon indexPlay() {
    return play();
}

QIcon indexRegister() {
    return paint([](QPainter& p) {
        p.setBrush(QColor(0, 64, 192));
        QPainterPath mark;
        mark.moveTo(5, 2);
        mark.lineTo(15, 2);
        mark.lineTo(15, 18);
        mark.lineTo(10, 13);
        mark.lineTo(5, 18);
        mark.closeSubpath();
        p.drawPath(mark);
    });
}

}  // namespace ToolbarIcons
