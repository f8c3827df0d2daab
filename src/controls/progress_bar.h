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
    Q_PROPERTY(QColor BackgroundColor READ BackgroundColor WRITE setBackgroundColor)
    Q_PROPERTY(QImage BarBitmap READ BarBitmap WRITE setBarBitmap)
    Q_PROPERTY(QColor BarColor1 READ BarColor1 WRITE setBarColor1)
    Q_PROPERTY(QColor BarColor2 READ BarColor2 WRITE setBarColor2)
    Q_PROPERTY(QColor BarColor3 READ BarColor3 WRITE setBarColor3)
    Q_PROPERTY(TBarColorStyle BarColorStyle READ BarColorStyle WRITE setBarColorStyle)
    Q_PROPERTY(QColor BorderColor1 READ BorderColor1 WRITE setBorderColor1)
    Q_PROPERTY(QColor BorderColor2 READ BorderColor2 WRITE setBorderColor2)
    Q_PROPERTY(TProgressDirection Direction READ Direction WRITE setDirection)
    Q_PROPERTY(int Max READ Max WRITE setMax)
    Q_PROPERTY(int Min READ Min WRITE setMin)
    Q_PROPERTY(bool Percentage READ Percentage WRITE setPercentage)
    Q_PROPERTY(int Position READ Position WRITE setPosition)
    Q_PROPERTY(QString PosTextPrefix READ PosTextPrefix WRITE setPosTextPrefix)
    Q_PROPERTY(QString PosTextSuffix READ PosTextSuffix WRITE setPosTextSuffix)
    Q_PROPERTY(bool ShowBorder READ ShowBorder WRITE setShowBorder)
    Q_PROPERTY(bool ShowPosText READ ShowPosText WRITE setShowPosText)
    Q_PROPERTY(QColor FontColor READ FontColor WRITE setFontColor)
public:
    explicit ProgressBar(QWidget* parent = nullptr);
    ~ProgressBar() override;

    QColor BackgroundColor() const { return backgroundColor_; }
    void setBackgroundColor(const QColor& color);
    QImage BarBitmap() const { return barBitmap_; }
    void setBarBitmap(const QImage& bitmap);
    QColor BarColor1() const { return barColor1_; }
    void setBarColor1(const QColor& color);
    QColor BarColor2() const { return barColor2_; }
    void setBarColor2(const QColor& color);
    QColor BarColor3() const { return barColor3_; }
    void setBarColor3(const QColor& color);
    TBarColorStyle BarColorStyle() const { return barColorStyle_; }
    void setBarColorStyle(TBarColorStyle style);
    QColor BorderColor1() const { return borderColor1_; }
    void setBorderColor1(const QColor& color);
    QColor BorderColor2() const { return borderColor2_; }
    void setBorderColor2(const QColor& color);
    TProgressDirection Direction() const { return direction_; }
    void setDirection(TProgressDirection direction);
    int Max() const { return max_; }
    void setMax(int max);
    int Min() const { return min_; }
    void setMin(int min);
    bool Percentage() const { return percentage_; }
    void setPercentage(bool on);
    int Position() const { return position_; }
    // Ignored when equal to the current position, above Max or below Min.
    void setPosition(int position);
    QString PosTextPrefix() const { return prefix_; }
    void setPosTextPrefix(const QString& text);
    QString PosTextSuffix() const { return suffix_; }
    void setPosTextSuffix(const QString& text);
    bool ShowBorder() const { return showBorder_; }
    void setShowBorder(bool on);
    bool ShowPosText() const { return showPosText_; }
    void setShowPosText(bool on);
    // Colour of the text (the font colour).
    QColor FontColor() const { return fontColor_; }
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
    TProgressDirection direction_ = TProgressDirection::pdLeftToRight;
    bool showPosText_ = true;
    QString suffix_, prefix_;
    TBarColorStyle barColorStyle_ = TBarColorStyle::cs3Colors;
    QColor barColor1_, barColor2_, barColor3_;
    bool rebuild_ = true;
    mutable QImage barImage_;
    bool percentage_ = false;
    QColor fontColor_ = Qt::black;
    bool leftPressed_ = false;
    mutable int barImageBuilds_ = 0;
};
