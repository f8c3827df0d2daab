#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <QWidget>

#include "controls/bar_geometry.h"

// A bar filled in proportion to Position between Min and Max, with an optional sunken border and
// an optional centred text made of a prefix, an optional percentage and a suffix. The bar is
// composed off-screen and copied to the screen in one step; the coloured fill image is cached
// and reused while only the position changes.
class ProgressBar : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QColor backgroundColor READ backgroundColor WRITE setBackgroundColor)
    Q_PROPERTY(QImage barBitmap READ barBitmap WRITE setBarBitmap)
    Q_PROPERTY(QColor barColor1 READ barColor1 WRITE setBarColor1)
    Q_PROPERTY(QColor barColor2 READ barColor2 WRITE setBarColor2)
    Q_PROPERTY(QColor barColor3 READ barColor3 WRITE setBarColor3)
    Q_PROPERTY(BarColorStyle barColorStyle READ barColorStyle WRITE setBarColorStyle)
    Q_PROPERTY(QColor borderColor1 READ borderColor1 WRITE setBorderColor1)
    Q_PROPERTY(QColor borderColor2 READ borderColor2 WRITE setBorderColor2)
    Q_PROPERTY(ProgressDirection direction READ direction WRITE setDirection)
    Q_PROPERTY(int maximum READ maximum WRITE setMaximum)
    Q_PROPERTY(int minimum READ minimum WRITE setMinimum)
    Q_PROPERTY(bool percentage READ percentage WRITE setPercentage)
    Q_PROPERTY(int position READ position WRITE setPosition)
    Q_PROPERTY(QString positionTextPrefix READ positionTextPrefix WRITE setPositionTextPrefix)
    Q_PROPERTY(QString positionTextSuffix READ positionTextSuffix WRITE setPositionTextSuffix)
    Q_PROPERTY(bool showBorder READ showsBorder WRITE setShowBorder)
    Q_PROPERTY(bool showPositionText READ showsPositionText WRITE setShowPositionText)
    Q_PROPERTY(QColor fontColor READ fontColor WRITE setFontColor)
public:
    explicit ProgressBar(QWidget* parent = nullptr);
    ~ProgressBar() override;

    QColor backgroundColor() const { return backgroundColor_; }
    void setBackgroundColor(const QColor& color);
    QImage barBitmap() const { return barBitmap_; }
    void setBarBitmap(const QImage& bitmap);
    QColor barColor1() const { return barColor1_; }
    void setBarColor1(const QColor& color);
    QColor barColor2() const { return barColor2_; }
    void setBarColor2(const QColor& color);
    QColor barColor3() const { return barColor3_; }
    void setBarColor3(const QColor& color);
    BarColorStyle barColorStyle() const { return barColorStyle_; }
    void setBarColorStyle(BarColorStyle style);
    QColor borderColor1() const { return borderColor1_; }
    void setBorderColor1(const QColor& color);
    QColor borderColor2() const { return borderColor2_; }
    void setBorderColor2(const QColor& color);
    ProgressDirection direction() const { return direction_; }
    void setDirection(ProgressDirection direction);
    int maximum() const { return max_; }
    void setMaximum(int max);
    int minimum() const { return min_; }
    void setMinimum(int min);
    bool percentage() const { return percentage_; }
    void setPercentage(bool on);
    int position() const { return position_; }
    // Ignored when equal to the current position, above Max or below Min.
    void setPosition(int position);
    QString positionTextPrefix() const { return prefix_; }
    void setPositionTextPrefix(const QString& text);
    QString positionTextSuffix() const { return suffix_; }
    void setPositionTextSuffix(const QString& text);
    bool showsBorder() const { return showBorder_; }
    void setShowBorder(bool on);
    bool showsPositionText() const { return showPosText_; }
    void setShowPositionText(bool on);
    // Colour of the text (the font colour).
    QColor fontColor() const { return fontColor_; }
    void setFontColor(const QColor& color);

    // The text as drawn: prefix, the percentage when asked for, suffix. With Percentage and
    // Max = 0 the number is left out (it would divide by zero).
    QString text() const;
    // The composed image that paintEvent copies to the screen. Composed by every setter, so it
    // is current even while the widget is hidden.
    QImage image() const;
    // How often the cached fill image was rebuilt; position changes must not add to it.
    int barImageBuildCount() const { return barImageBuilds_; }

    QSize sizeHint() const override { return {200, 20}; }

Q_SIGNALS:
    // The left button was released inside the bar after being pressed on it, also at the end of
    // a drag. Raised after mouseUp, so a drag has ended when the click is handled.
    void clicked();
    // The second press of a double click; it raises mouseDown but no second clicked().
    void doubleClicked();
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    void mouseMove(Qt::KeyboardModifiers modifiers, int x, int y);
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // Draws the whole bar into buffer_; the fill image is rebuilt only when rebuild_ is set or
    // the size changed. Const because buffer_ and barImage_ are caches of the properties.
    void compose() const;
    void changed();
    void announceTextChange(const QString& before);

    mutable QImage buffer_;
    QColor borderColor1_, borderColor2_, backgroundColor_;
    int position_ = 0;
    QImage barBitmap_;
    int min_ = 0, max_ = 100;
    bool showBorder_ = true;
    ProgressDirection direction_ = ProgressDirection::LeftToRight;
    bool showPosText_ = true;
    QString suffix_, prefix_;
    BarColorStyle barColorStyle_ = BarColorStyle::ThreeColors;
    QColor barColor1_, barColor2_, barColor3_;
    bool rebuild_ = true;
    mutable QImage barImage_;
    bool percentage_ = false;
    QColor fontColor_ = Qt::black;
    bool leftPressed_ = false;
    mutable int barImageBuilds_ = 0;
};
