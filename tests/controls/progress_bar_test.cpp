#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QtTest>

#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>
#include <memory>

#include "controls/progress_bar.h"

using D = ProgressDirection;
using S = BarColorStyle;

Q_DECLARE_METATYPE(ProgressDirection)

namespace {

const QColor kFill(0, 128, 0);
const QColor kBackground(230, 230, 230);
const QColor kBorder1(64, 64, 64);
const QColor kBorder2(250, 250, 250);

std::unique_ptr<ProgressBar> makeBar(QSize size, D direction = D::LeftToRight) {
    auto bar = std::make_unique<ProgressBar>();
    bar->resize(size);
    bar->setDirection(direction);
    bar->setBarColorStyle(S::OneColor);
    bar->setBarColor1(kFill);
    bar->setBackgroundColor(kBackground);
    bar->setBorderColor1(kBorder1);
    bar->setBorderColor2(kBorder2);
    return bar;
}

// Distance of an inner pixel from the side the fill starts at.
int fromStart(D direction, QSize size, bool border, int x, int y) {
    const int m = border ? 1 : 0;
    switch (direction) {
        case D::LeftToRight:
            return x - m;
        case D::RightToLeft:
            return size.width() - m - 1 - x;
        case D::BottomToTop:
            return size.height() - m - 1 - y;
        case D::TopToBottom:
            return y - m;
    }
    return -1;
}

// Empty when every inner pixel is the fill colour within `filled` pixels of the start side and
// the background colour beyond; otherwise the first mismatch.
QString checkFill(const QImage& image, D direction, bool border, int filled,
                  const QColor& fill = kFill) {
    const int m = border ? 1 : 0;
    for (int y = m; y < image.height() - m; ++y)
        for (int x = m; x < image.width() - m; ++x) {
            const bool inFill = fromStart(direction, image.size(), border, x, y) < filled;
            const QColor want = inFill ? fill : kBackground;
            if (image.pixelColor(x, y) != want)
                return QStringLiteral("(%1,%2) is %3, want %4")
                    .arg(x)
                    .arg(y)
                    .arg(image.pixelColor(x, y).name(), want.name());
        }
    return {};
}

bool isDark(QRgb pixel) {
    return qGray(pixel) < 128;
}

void send(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButton button,
          Qt::MouseButtons buttons) {
    QMouseEvent event(type, at, widget->mapToGlobal(at), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

}  // namespace

class ProgressBarTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void defaults() {
        ProgressBar bar;
        QCOMPARE(bar.size(), QSize(200, 20));
        QCOMPARE(bar.sizeHint(), QSize(200, 20));
        QCOMPARE(bar.backgroundColor(), bar.palette().color(QPalette::Button));
        QCOMPARE(bar.borderColor1(), bar.palette().color(QPalette::Dark));
        QCOMPARE(bar.borderColor2(), bar.palette().color(QPalette::Light));
        QCOMPARE(bar.barColor1(), QColor(0, 128, 0));
        QCOMPARE(bar.barColor2(), QColor(255, 255, 0));
        QCOMPARE(bar.barColor3(), QColor(255, 0, 0));
        QCOMPARE(bar.barColorStyle(), S::ThreeColors);
        QCOMPARE(bar.direction(), D::LeftToRight);
        QCOMPARE(bar.maximum(), 100);
        QCOMPARE(bar.minimum(), 0);
        QCOMPARE(bar.position(), 0);
        QVERIFY(bar.showsBorder() && bar.showsPositionText() && !bar.percentage());
        QCOMPARE(bar.fontColor(), QColor(Qt::black));
        // Composed without ever being shown: the empty default bar is background inside.
        const QImage image = bar.image();
        QCOMPARE(image.size(), QSize(200, 20));
        QCOMPARE(image.pixelColor(100, 10), bar.backgroundColor());
        QCOMPARE(bar.property("maximum").toInt(), 100);
    }

    void fillsFromStartSide_data() {
        QTest::addColumn<ProgressDirection>("direction");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("filled");
        for (auto [d, name] : {std::pair{D::LeftToRight, "ltr"},
                               {D::RightToLeft, "rtl"},
                               {D::BottomToTop, "btt"},
                               {D::TopToBottom, "ttb"}}) {
            QTest::addRow("%s 50", name) << d << 50 << 100;
            QTest::addRow("%s max", name) << d << 100 << 200;
            QTest::addRow("%s 1", name) << d << 1 << 2;
            QTest::addRow("%s 99", name) << d << 99 << 198;
        }
    }
    void fillsFromStartSide() {
        QFETCH(ProgressDirection, direction);
        QFETCH(int, position);
        QFETCH(int, filled);
        const bool vertical = BarGeometry::isVertical(direction);
        auto bar = makeBar(vertical ? QSize(20, 202) : QSize(202, 20), direction);
        QCOMPARE(checkFill(bar->image(), direction, true, 0), QString());
        bar->setPosition(position);
        QCOMPARE(checkFill(bar->image(), direction, true, filled), QString());
        // Back to Min: no fill at all.
        bar->setPosition(0);
        QCOMPARE(checkFill(bar->image(), direction, true, 0), QString());
    }

    void roundsHalvesToEven() {
        // W = 6 with a border: L = 4.
        auto bar = makeBar({6, 20});
        bar->setMaximum(8);
        bar->setPosition(1);  // 0.5
        QCOMPARE(checkFill(bar->image(), D::LeftToRight, true, 0), QString());
        bar->setPosition(3);  // 1.5
        QCOMPARE(checkFill(bar->image(), D::LeftToRight, true, 2), QString());
        bar->setPosition(5);  // 2.5
        QCOMPARE(checkFill(bar->image(), D::LeftToRight, true, 2), QString());
    }

    void maxBelowPositionShowsFullBar() {
        auto bar = makeBar({202, 20});
        bar->setPosition(80);
        bar->setMaximum(50);
        QCOMPARE(bar->position(), 80);
        QCOMPARE(checkFill(bar->image(), D::LeftToRight, true, 200), QString());
        // Min does not clamp either.
        bar->setMinimum(90);
        QCOMPARE(bar->position(), 80);
        QCOMPARE(checkFill(bar->image(), D::LeftToRight, true, 0), QString());
    }

    void withoutBorderFillSpansControl() {
        auto bar = makeBar({200, 20});
        bar->setShowBorder(false);
        bar->setPosition(50);
        QCOMPARE(checkFill(bar->image(), D::LeftToRight, false, 100), QString());
        bar->setPosition(100);
        const QImage image = bar->image();
        for (QPoint p : {QPoint(0, 0), QPoint(199, 0), QPoint(0, 19), QPoint(199, 19)})
            QCOMPARE(image.pixelColor(p), kFill);
    }

    void borderLines() {
        auto bar = makeBar({30, 10});
        bar->setPosition(100);
        const QImage image = bar->image();
        const int w = 30, h = 10;
        for (int x = 0; x < w; ++x)
            QCOMPARE(image.pixelColor(x, 0), kBorder1);
        for (int y = 0; y < h; ++y)
            QCOMPARE(image.pixelColor(0, y), kBorder1);
        for (int x = 1; x < w; ++x)
            QCOMPARE(image.pixelColor(x, h - 1), kBorder2);
        for (int y = 1; y < h; ++y)
            QCOMPARE(image.pixelColor(w - 1, y), kBorder2);
        QCOMPARE(image.pixelColor(0, 0), kBorder1);
        QCOMPARE(image.pixelColor(w - 1, 0), kBorder1);
        QCOMPARE(image.pixelColor(0, h - 1), kBorder1);
        QCOMPARE(image.pixelColor(w - 1, h - 1), kBorder2);
        QCOMPARE(image.pixelColor(1, 1), kFill);
        QCOMPARE(image.pixelColor(w - 2, h - 2), kFill);
    }

    void barImageColours() {
        auto bar = makeBar({202, 20}, D::RightToLeft);
        bar->setBarColor2(QColor(255, 255, 0));
        bar->setBarColor3(QColor(255, 0, 0));
        bar->setBarColorStyle(S::ThreeColors);
        bar->setPosition(100);
        QImage image = bar->image();
        for (int x = 1; x <= 200; ++x)
            QCOMPARE(image.pixelColor(x, 10), x < 101 ? QColor(255, 0, 0) : kFill);
        // Half filled from the right: only the BarColor1 half shows.
        bar->setPosition(50);
        QCOMPARE(checkFill(bar->image(), D::RightToLeft, true, 100), QString());
        bar->setBarColorStyle(S::TwoColors);
        QCOMPARE(checkFill(bar->image(), D::RightToLeft, true, 100, QColor(255, 255, 0)),
                 QString());
        // Every other direction is solid BarColor1, cs2 or cs3.
        bar->setDirection(D::LeftToRight);
        QCOMPARE(checkFill(bar->image(), D::LeftToRight, true, 100), QString());
        bar->setBarColorStyle(S::ThreeColors);
        QCOMPARE(checkFill(bar->image(), D::LeftToRight, true, 100), QString());
    }

    void tiledBitmap() {
        QImage checker(3, 3, QImage::Format_RGB32);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 3; ++x)
                checker.setPixelColor(x, y, (x + y) % 2 ? QColor(0, 0, 200) : QColor(200, 0, 0));
        checker.setPixelColor(2, 2, QColor(0, 200, 200));  // makes tile phase visible
        auto bar = makeBar({202, 20});
        bar->setBarBitmap(checker);
        bar->setPosition(100);
        QImage image = bar->image();
        for (int y = 1; y < 19; ++y)
            for (int x = 1; x < 201; ++x)
                QCOMPARE(image.pixelColor(x, y), checker.pixelColor(x % 3, y % 3));
        bar->setPosition(50);
        image = bar->image();
        QCOMPARE(image.pixelColor(100, 2), checker.pixelColor(1, 2));
        QCOMPARE(image.pixelColor(101, 2), kBackground);
        // Without the bitmap the colours come back.
        bar->setBarBitmap(QImage());
        QCOMPARE(checkFill(bar->image(), D::LeftToRight, true, 100), QString());
    }

    void positionOutsideRangeIgnored() {
        auto bar = makeBar({202, 20});
        bar->setPosition(40);
        const QImage before = bar->image();
        bar->setPosition(101);
        QCOMPARE(bar->position(), 40);
        QCOMPARE(bar->image(), before);
        bar->setMinimum(10);
        bar->setPosition(9);
        QCOMPARE(bar->position(), 40);
        bar->setMinimum(0);
        bar->setMaximum(0);
        for (int p : {1, 10, 1000}) {
            bar->setPosition(p);
            QCOMPARE(bar->position(), 40);
        }
        bar->setPosition(0);
        QCOMPARE(bar->position(), 0);
    }

    void positionReusesCachedFill() {
        auto bar = makeBar({202, 20});
        bar->setBarColorStyle(S::ThreeColors);
        const int builds = bar->barImageBuildCount();
        for (int p = 1; p <= 100; ++p)
            bar->setPosition(p);
        QCOMPARE(bar->barImageBuildCount(), builds);
        QCOMPARE(checkFill(bar->image(), D::LeftToRight, true, 200), QString());
        bar->setBarColor1(QColor(1, 2, 3));
        QCOMPARE(bar->barImageBuildCount(), builds + 1);
        QCOMPARE(bar->image().pixelColor(5, 5), QColor(1, 2, 3));
        // The next position change still rebuilds nothing, and shows the new colour.
        bar->setPosition(50);
        QCOMPARE(bar->barImageBuildCount(), builds + 1);
        QCOMPARE(checkFill(bar->image(), D::LeftToRight, true, 100, QColor(1, 2, 3)), QString());
    }

    void resizeRecomposes() {
        auto bar = makeBar({202, 20});
        bar->setPosition(50);
        bar->resize(302, 30);
        QCOMPARE(bar->image().size(), QSize(302, 30));
        QCOMPARE(checkFill(bar->image(), D::LeftToRight, true, 150), QString());
        bar->show();
        QVERIFY(QTest::qWaitForWindowExposed(bar.get()));
        bar->resize(102, 20);
        QCOMPARE(checkFill(bar->image(), D::LeftToRight, true, 50), QString());
        // What reaches the screen is the composed image.
        QCOMPARE(bar->grab().toImage().convertToFormat(QImage::Format_RGB32), bar->image());
    }

    void prefixIsCentred() {
        auto bar = makeBar({200, 20});
        bar->setShowBorder(false);
        bar->setBarColor1(Qt::white);
        bar->setBackgroundColor(Qt::white);
        QFont font = bar->font();
        font.setPixelSize(13);
        bar->setFont(font);
        const QString text = QStringLiteral("HHHH");
        bar->setPositionTextPrefix(text);
        const QImage image = bar->image();
        const QFontMetrics metrics(bar->font(), &image);
        const int tw = metrics.horizontalAdvance(text), th = metrics.height();
        const QRect box(200 / 2 - tw / 2, 20 / 2 - th / 2, tw, th);
        QRect ink;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (isDark(image.pixel(x, y))) ink |= QRect(x, y, 1, 1);
        QVERIFY2(!ink.isEmpty(), "no text drawn");
        QVERIFY2(box.adjusted(-1, 0, 1, 0).contains(ink),
                 qPrintable(QDebug::toString(ink) + " outside " + QDebug::toString(box)));
        // Centred: equal margins either side, within a pixel of side bearing and rounding.
        QVERIFY(qAbs(ink.left() - (199 - ink.right())) <= 2);
        // A font change is applied at once.
        font.setPixelSize(18);
        bar->setFont(font);
        QVERIFY(bar->image() != image);
    }

    void textColourAndVisibility() {
        auto bar = makeBar({200, 20});
        bar->setShowPositionText(false);
        const QImage plain = bar->image();
        bar->setShowPositionText(true);
        // Empty prefix and suffix draw nothing.
        QCOMPARE(bar->image(), plain);
        bar->setPositionTextSuffix(QStringLiteral("■"));
        QVERIFY(bar->image() != plain);
        bar->setShowPositionText(false);
        QCOMPARE(bar->image(), plain);
        bar->setShowPositionText(true);
        bar->setFontColor(QColor(0, 0, 255));
        const QImage blue = bar->image();
        bool found = false;
        for (int y = 0; y < 20 && !found; ++y)
            for (int x = 0; x < 200 && !found; ++x)
                found = blue.pixelColor(x, y) == QColor(0, 0, 255);
        QVERIFY(found);
    }

    void percentageText() {
        auto bar = makeBar({200, 20});
        bar->setPercentage(true);
        bar->setPosition(50);
        QCOMPARE(bar->text(), QStringLiteral("50"));
        auto reference = makeBar({200, 20});
        reference->setPosition(50);
        reference->setPositionTextPrefix(QStringLiteral("50"));
        QCOMPARE(bar->image(), reference->image());
        bar->setPositionTextPrefix(QStringLiteral("["));
        bar->setPositionTextSuffix(QStringLiteral("]"));
        QCOMPARE(bar->text(), QStringLiteral("[50]"));
        // Max = 0 has no percentage: only the texts remain.
        bar->setMaximum(0);
        QCOMPARE(bar->text(), QStringLiteral("[]"));
    }

    void mouseSignals() {
        ProgressBar bar;
        QStringList log;
        connect(&bar, &ProgressBar::mouseDown, this,
                [&log](Qt::MouseButton b, Qt::KeyboardModifiers, int x, int y) {
                    log << QStringLiteral("down %1 %2,%3").arg(int(b)).arg(x).arg(y);
                });
        connect(&bar, &ProgressBar::mouseMove, this, [&log](Qt::KeyboardModifiers, int x, int y) {
            log << QStringLiteral("move %1,%2").arg(x).arg(y);
        });
        connect(&bar, &ProgressBar::mouseUp, this,
                [&log](Qt::MouseButton b, Qt::KeyboardModifiers, int x, int y) {
                    log << QStringLiteral("up %1 %2,%3").arg(int(b)).arg(x).arg(y);
                });
        connect(&bar, &ProgressBar::clicked, this, [&log] { log << QStringLiteral("click"); });
        connect(&bar, &ProgressBar::doubleClicked, this,
                [&log] { log << QStringLiteral("double"); });
        const auto L = Qt::LeftButton, R = Qt::RightButton, N = Qt::NoButton;

        send(&bar, QEvent::MouseMove, {5, 6}, N, N);
        send(&bar, QEvent::MouseButtonPress, {10, 5}, L, L);
        send(&bar, QEvent::MouseButtonRelease, {12, 5}, L, N);
        QCOMPARE(log, (QStringList{"move 5,6", "down 1 10,5", "up 1 12,5", "click"}));

        // A drag leaving the bar and ending outside is no click; one ending back on it is.
        log.clear();
        send(&bar, QEvent::MouseButtonPress, {10, 5}, L, L);
        send(&bar, QEvent::MouseMove, {-4, 30}, N, L);
        send(&bar, QEvent::MouseButtonRelease, {-4, 30}, L, N);
        send(&bar, QEvent::MouseButtonPress, {10, 5}, L, L);
        send(&bar, QEvent::MouseMove, {250, 5}, N, L);
        send(&bar, QEvent::MouseButtonRelease, {199, 19}, L, N);
        QCOMPARE(log, (QStringList{"down 1 10,5", "move -4,30", "up 1 -4,30", "down 1 10,5",
                                   "move 250,5", "up 1 199,19", "click"}));

        // Other buttons report down and up but never click.
        log.clear();
        send(&bar, QEvent::MouseButtonPress, {3, 3}, R, R);
        send(&bar, QEvent::MouseButtonRelease, {3, 3}, R, N);
        QCOMPARE(log, (QStringList{"down 2 3,3", "up 2 3,3"}));

        // A double click clicks once.
        log.clear();
        send(&bar, QEvent::MouseButtonPress, {7, 7}, L, L);
        send(&bar, QEvent::MouseButtonRelease, {7, 7}, L, N);
        send(&bar, QEvent::MouseButtonDblClick, {7, 7}, L, L);
        send(&bar, QEvent::MouseButtonRelease, {7, 7}, L, N);
        QCOMPARE(log.count(QStringLiteral("click")), 1);
        QCOMPARE(log.count(QStringLiteral("double")), 1);
        QCOMPARE(log.count(QStringLiteral("down 1 7,7")), 2);
    }

    void accessibility() {
        ProgressBar bar;
        bar.setMaximum(200);
        bar.setPosition(30);
        bar.setPositionTextPrefix(QStringLiteral("0:00:30"));
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&bar);
        QVERIFY(iface);
        QCOMPARE(iface->role(), QAccessible::ProgressBar);
        QCOMPARE(iface->text(QAccessible::Value), QStringLiteral("0:00:30"));
        QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("0:00:30"));
        bar.setAccessibleName(QStringLiteral("位置バー"));
        QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("位置バー"));
        QCOMPARE(iface->text(QAccessible::Description), QStringLiteral("0:00:30"));
        QAccessibleValueInterface* value = iface->valueInterface();
        QVERIFY(value);
        QCOMPARE(value->currentValue().toInt(), 30);
        QCOMPARE(value->minimumValue().toInt(), 0);
        QCOMPARE(value->maximumValue().toInt(), 200);
        value->setCurrentValue(90);
        QCOMPARE(bar.position(), 30);
        bar.setPosition(40);
        QCOMPARE(value->currentValue().toInt(), 40);
    }

    void accessibilityEvents() {
        static QList<std::pair<QAccessible::Event, QVariant>> events;
        events.clear();
        const auto previous = QAccessible::installUpdateHandler([](QAccessibleEvent* event) {
            QVariant v;
            if (event->type() == QAccessible::ValueChanged)
                v = static_cast<QAccessibleValueChangeEvent*>(event)->value();
            events.append({event->type(), v});
        });
        // Stands in for a screen reader connecting.
        QPlatformAccessibility* platform =
            QGuiApplicationPrivate::platformIntegration()->accessibility();
        QVERIFY(platform);
        platform->setActive(true);
        QVERIFY(QAccessible::isActive());
        ProgressBar bar;
        events.clear();
        bar.setPosition(25);
        bar.setPositionTextPrefix(QStringLiteral("a"));
        bar.setPositionTextPrefix(QStringLiteral("a"));  // unchanged text: no event
        bar.setAccessibleName(QStringLiteral("x"));
        bar.setPositionTextPrefix(QStringLiteral("b"));  // the name no longer follows the text
        QAccessible::installUpdateHandler(previous);
        platform->setActive(false);
        QCOMPARE(events.count({QAccessible::ValueChanged, QVariant(25)}), 1);
        // One from the text, one from setAccessibleName.
        QCOMPARE(events.count({QAccessible::NameChanged, QVariant()}), 2);
        QCOMPARE(events.count({QAccessible::DescriptionChanged, QVariant()}), 2);
    }
};

QTEST_MAIN(ProgressBarTest)
#include "progress_bar_test.moc"
