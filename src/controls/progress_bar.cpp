#include "controls/progress_bar.h"

#include <QAccessible>
#include <QEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>

#include "controls/progress_bar_accessible.h"

ProgressBar::ProgressBar(QWidget* parent)
    : QWidget(parent),
      borderColor1_(palette().color(QPalette::Dark)),
      borderColor2_(palette().color(QPalette::Light)),
      backgroundColor_(palette().color(QPalette::Button)),
      barColor1_(0, 128, 0),
      barColor2_(255, 255, 0),
      barColor3_(255, 0, 0) {
    ProgressBarAccessible::installFactory();
    // Moves without a button down are reported too.
    setMouseTracking(true);
    // Every pixel comes from the composed image.
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(200, 20);
    compose();
}

ProgressBar::~ProgressBar() = default;

void ProgressBar::setBackgroundColor(const QColor& color) {
    backgroundColor_ = color;
    changed();
}

void ProgressBar::setBarBitmap(const QImage& bitmap) {
    // Our own opaque copy: the tiles replace what lies under them.
    barBitmap_ = bitmap.isNull() ? QImage() : bitmap.convertToFormat(QImage::Format_RGB32);
    changed();
}

void ProgressBar::setBarColor1(const QColor& color) {
    barColor1_ = color;
    changed();
}

void ProgressBar::setBarColor2(const QColor& color) {
    barColor2_ = color;
    changed();
}

void ProgressBar::setBarColor3(const QColor& color) {
    barColor3_ = color;
    changed();
}

void ProgressBar::setBarColorStyle(BarColorStyle style) {
    barColorStyle_ = style;
    changed();
}

void ProgressBar::setBorderColor1(const QColor& color) {
    borderColor1_ = color;
    changed();
}

void ProgressBar::setBorderColor2(const QColor& color) {
    borderColor2_ = color;
    changed();
}

void ProgressBar::setDirection(ProgressDirection direction) {
    direction_ = direction;
    changed();
}

void ProgressBar::setMaximum(int max) {
    const QString before = text();
    max_ = max;
    changed();
    announceTextChange(before);
}

void ProgressBar::setMinimum(int min) {
    min_ = min;
    changed();
}

void ProgressBar::setPercentage(bool on) {
    const QString before = text();
    percentage_ = on;
    changed();
    announceTextChange(before);
}

void ProgressBar::setPosition(int position) {
    if (position == position_ || position > max_ || position < min_) return;
    const QString before = text();
    position_ = position;
    // Position changes come twice a second and on every drag step: reuse the cached fill.
    rebuild_ = false;
    changed();
    rebuild_ = true;
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(this, position_);
        QAccessible::updateAccessibility(&event);
    }
    announceTextChange(before);
}

void ProgressBar::setPositionTextPrefix(const QString& text) {
    const QString before = this->text();
    prefix_ = text;
    changed();
    announceTextChange(before);
}

void ProgressBar::setPositionTextSuffix(const QString& text) {
    const QString before = this->text();
    suffix_ = text;
    changed();
    announceTextChange(before);
}

void ProgressBar::setShowBorder(bool on) {
    showBorder_ = on;
    changed();
}

void ProgressBar::setShowPositionText(bool on) {
    showPosText_ = on;
    changed();
}

void ProgressBar::setFontColor(const QColor& color) {
    fontColor_ = color;
    changed();
}

QString ProgressBar::text() const {
    return BarGeometry::positionText(prefix_, suffix_, percentage_, position_, max_);
}

QImage ProgressBar::image() const {
    // A hidden widget gets no resize event, so its size may have moved on since the last compose.
    if (buffer_.size() != size()) compose();
    return buffer_;
}

void ProgressBar::changed() {
    // Composed now so the image is current at once; the copy to the screen is one blit.
    compose();
    update();
}

void ProgressBar::announceTextChange(const QString& before) {
    if (!QAccessible::isActive() || text() == before) return;
    if (accessibleName().isEmpty()) {
        // The accessible name falls back to the text.
        QAccessibleEvent nameEvent(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&nameEvent);
    }
    QAccessibleEvent descriptionEvent(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&descriptionEvent);
}

void ProgressBar::compose() const {
    const QSize sz = size();
    if (sz.isEmpty()) {
        buffer_ = QImage();
        return;
    }
    if (buffer_.size() != sz) buffer_ = QImage(sz, QImage::Format_RGB32);
    const bool rebuild = rebuild_ || barImage_.size() != sz;

    QPainter painter(&buffer_);
    if (!barBitmap_.isNull()) {
        if (rebuild) {
            barImage_ = QImage(sz, QImage::Format_RGB32);
            barImage_.fill(Qt::black);
            QPainter tiles(&barImage_);
            const QSize grid = BarGeometry::tileGrid(sz, barBitmap_.size());
            for (int row = 0; row < grid.height(); ++row)
                for (int column = 0; column < grid.width(); ++column)
                    tiles.drawImage(column * barBitmap_.width(), row * barBitmap_.height(),
                                    barBitmap_);
            ++barImageBuilds_;
        }
        painter.drawImage(0, 0, barImage_);
    } else if (barColorStyle_ == BarColorStyle::OneColor) {
        painter.fillRect(buffer_.rect(), barColor1_);
    } else {
        if (rebuild) {
            barImage_ = QImage(sz, QImage::Format_RGB32);
            barImage_.fill(Qt::black);
            QPainter bands(&barImage_);
            for (const auto& band : BarGeometry::barImageBands(barColorStyle_, direction_, sz,
                                                               barColor1_, barColor2_, barColor3_))
                bands.fillRect(band.rect, band.colour);
            ++barImageBuilds_;
        }
        painter.drawImage(0, 0, barImage_);
    }

    const long long filled = BarGeometry::filledLength(
        position_, min_, max_, BarGeometry::barLength(direction_, sz, showBorder_));
    const QRect unfilled = BarGeometry::unfilledRect(direction_, sz, showBorder_, filled);
    if (!unfilled.isEmpty()) painter.fillRect(unfilled, backgroundColor_);

    if (showBorder_) {
        for (const auto& band : BarGeometry::borderBands(sz, borderColor1_, borderColor2_))
            painter.fillRect(band.rect, band.colour);
    }

    const QString shown = text();
    if (showPosText_ && !shown.isEmpty()) {
        // Measured on the buffer so the metrics match the resolution the text is drawn at.
        const QFontMetrics metrics(font(), &buffer_);
        const QPoint origin = BarGeometry::textPosition(
            sz, QSize(metrics.horizontalAdvance(shown), metrics.height()));
        painter.setFont(font());
        painter.setPen(fontColor_);
        painter.drawText(origin.x(), origin.y() + metrics.ascent(), shown);
    }
}

void ProgressBar::paintEvent(QPaintEvent* /*event*/) {
    if (buffer_.size() != size()) compose();
    QPainter painter(this);
    painter.drawImage(0, 0, buffer_);
}

void ProgressBar::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) changed();
}

void ProgressBar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    compose();
}

void ProgressBar::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton) leftPressed_ = true;
    Q_EMIT mouseDown(event->button(), event->modifiers(), at.x(), at.y());
}

void ProgressBar::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    Q_EMIT mouseMove(event->modifiers(), at.x(), at.y());
}

void ProgressBar::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const bool left = event->button() == Qt::LeftButton;
    const bool click = left && leftPressed_ && rect().contains(at);
    if (left) leftPressed_ = false;
    Q_EMIT mouseUp(event->button(), event->modifiers(), at.x(), at.y());
    if (click) Q_EMIT clicked();
}

void ProgressBar::mouseDoubleClickEvent(QMouseEvent* event) {
    // Not a fresh press for clicked(): a double click toggles whatever it drives only once.
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton) Q_EMIT doubleClicked();
    Q_EMIT mouseDown(event->button(), event->modifiers(), at.x(), at.y());
}
