#include <QtTest>

#include <climits>

#include "controls/bar_geometry.h"

using namespace BarGeometry;
using D = ProgressDirection;
using S = BarColorStyle;

Q_DECLARE_METATYPE(ProgressDirection)
Q_DECLARE_METATYPE(BarColorStyle)
Q_DECLARE_METATYPE(BarGeometry::Band)

namespace {
const QColor c1(0, 128, 0), c2(255, 255, 0), c3(255, 0, 0);
const QColor b1(10, 20, 30), b2(200, 210, 220);
}  // namespace

class BarGeometryTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void roundsHalfToEven_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<long long>("expected");
        QTest::newRow("0.5") << 0.5 << 0LL;
        QTest::newRow("1.5") << 1.5 << 2LL;
        QTest::newRow("2.5") << 2.5 << 2LL;
        QTest::newRow("2.5000001") << 2.5000001 << 3LL;
        QTest::newRow("2.4999999") << 2.4999999 << 2LL;
        QTest::newRow("-0.5") << -0.5 << 0LL;
        QTest::newRow("-1.5") << -1.5 << -2LL;
        QTest::newRow("-2.6") << -2.6 << -3LL;
        QTest::newRow("huge") << 1e30 << 1000000000000000000LL;
        QTest::newRow("nan") << std::nan("") << 0LL;
    }
    void roundsHalfToEven() {
        QFETCH(double, value);
        QFETCH(long long, expected);
        QCOMPARE(roundHalfEven(value), expected);
    }

    void lengthAndInnerRect() {
        QCOMPARE(barLength(D::LeftToRight, {202, 20}, true), 200);
        QCOMPARE(barLength(D::RightToLeft, {202, 20}, false), 202);
        QCOMPARE(barLength(D::BottomToTop, {20, 202}, true), 200);
        QCOMPARE(barLength(D::TopToBottom, {20, 202}, false), 202);
        QCOMPARE(barLength(D::LeftToRight, {1, 20}, true), -1);
        QCOMPARE(innerRect({202, 20}, true), QRect(1, 1, 200, 18));
        QCOMPARE(innerRect({202, 20}, false), QRect(0, 0, 202, 20));
        QVERIFY(innerRect({2, 20}, true).isEmpty());
        QVERIFY(innerRect({1, 1}, true).isEmpty());
    }

    void filled_data() {
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("min");
        QTest::addColumn<int>("max");
        QTest::addColumn<int>("length");
        QTest::addColumn<long long>("expected");
        QTest::newRow("half of 200") << 50 << 0 << 100 << 200 << 100LL;
        QTest::newRow("at min") << 0 << 0 << 100 << 200 << 0LL;
        QTest::newRow("below min") << -5 << 0 << 100 << 200 << 0LL;
        QTest::newRow("at max") << 100 << 0 << 100 << 200 << 200LL;
        QTest::newRow("max lowered below position") << 100 << 0 << 50 << 200 << 400LL;
        QTest::newRow("empty range") << 5 << 0 << 0 << 200 << 0LL;
        QTest::newRow("1 of 8 on 4: 0.5 -> 0") << 1 << 0 << 8 << 4 << 0LL;
        QTest::newRow("3 of 8 on 4: 1.5 -> 2") << 3 << 0 << 8 << 4 << 2LL;
        QTest::newRow("5 of 8 on 4: 2.5 -> 2") << 5 << 0 << 8 << 4 << 2LL;
        QTest::newRow("offset range") << 150 << 100 << 200 << 200 << 100LL;
        QTest::newRow("inverted range uses |max-min|") << 5 << 0 << -10 << 200 << 100LL;
        QTest::newRow("full int range, no overflow")
            << INT_MAX << INT_MIN << INT_MAX << 100 << 100LL;
        QTest::newRow("one step of full int range")
            << INT_MIN + 1 << INT_MIN << INT_MAX << 1000 << 0LL;
        QTest::newRow("third") << 1 << 0 << 3 << 300 << 100LL;
    }
    void filled() {
        QFETCH(int, position);
        QFETCH(int, min);
        QFETCH(int, max);
        QFETCH(int, length);
        QFETCH(long long, expected);
        QCOMPARE(filledLength(position, min, max, length), expected);
    }

    void unfilled_data() {
        QTest::addColumn<ProgressDirection>("direction");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("border");
        QTest::addColumn<long long>("filledPixels");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("ltr half") << D::LeftToRight << QSize(202, 20) << true << 100LL
                                  << QRect(101, 1, 100, 18);
        QTest::newRow("rtl half") << D::RightToLeft << QSize(202, 20) << true << 100LL
                                  << QRect(1, 1, 100, 18);
        QTest::newRow("btt half") << D::BottomToTop << QSize(20, 202) << true << 100LL
                                  << QRect(1, 1, 18, 100);
        QTest::newRow("ttb half") << D::TopToBottom << QSize(20, 202) << true << 100LL
                                  << QRect(1, 101, 18, 100);
        QTest::newRow("ltr empty no border")
            << D::LeftToRight << QSize(200, 20) << false << 0LL << QRect(0, 0, 200, 20);
        QTest::newRow("ttb 30 no border")
            << D::TopToBottom << QSize(20, 200) << false << 30LL << QRect(0, 30, 20, 170);
        QTest::newRow("ltr full") << D::LeftToRight << QSize(202, 20) << true << 200LL << QRect();
        QTest::newRow("over-full") << D::RightToLeft << QSize(202, 20) << true << 5000LL << QRect();
        QTest::newRow("thinner than border")
            << D::LeftToRight << QSize(1, 20) << true << 0LL << QRect();
    }
    void unfilled() {
        QFETCH(ProgressDirection, direction);
        QFETCH(QSize, size);
        QFETCH(bool, border);
        QFETCH(long long, filledPixels);
        QFETCH(QRect, expected);
        const QRect rect = unfilledRect(direction, size, border, filledPixels);
        if (expected.isNull()) {
            QVERIFY2(rect.isEmpty(), qPrintable(QDebug::toString(rect)));
        } else {
            QCOMPARE(rect, expected);
        }
    }

    void barImage_data() {
        QTest::addColumn<BarColorStyle>("style");
        QTest::addColumn<ProgressDirection>("direction");
        QTest::addColumn<QList<Band>>("expected");
        const QSize size(11, 6);
        QTest::newRow("cs1 has no image") << S::OneColor << D::RightToLeft << QList<Band>{};
        QTest::newRow("cs2 ltr") << S::TwoColors << D::LeftToRight
                                 << QList<Band>{{QRect(QPoint(0, 0), size), c1}};
        QTest::newRow("cs2 rtl") << S::TwoColors << D::RightToLeft
                                 << QList<Band>{{QRect(QPoint(0, 0), size), c2}};
        QTest::newRow("cs3 rtl: left half colour3, x < W div 2")
            << S::ThreeColors << D::RightToLeft
            << QList<Band>{{QRect(0, 0, 5, 6), c3}, {QRect(5, 0, 6, 6), c1}};
        QTest::newRow("cs3 ltr") << S::ThreeColors << D::LeftToRight
                                 << QList<Band>{{QRect(0, 0, 5, 6), c1}, {QRect(5, 0, 6, 6), c1}};
        QTest::newRow("cs3 btt") << S::ThreeColors << D::BottomToTop
                                 << QList<Band>{{QRect(0, 0, 11, 3), c1}, {QRect(0, 3, 11, 3), c1}};
        QTest::newRow("cs2 ttb") << S::TwoColors << D::TopToBottom
                                 << QList<Band>{{QRect(0, 0, 11, 6), c1}};
    }
    void barImage() {
        QFETCH(BarColorStyle, style);
        QFETCH(ProgressDirection, direction);
        QFETCH(QList<Band>, expected);
        QCOMPARE(barImageBands(style, direction, QSize(11, 6), c1, c2, c3), expected);
    }

    void border() {
        // Rows and columns as the two pens leave them, end points excluded.
        QCOMPARE(borderBands({5, 4}, b1, b2), (QList<Band>{{QRect(1, 0, 4, 1), b1},
                                                           {QRect(0, 0, 1, 4), b1},
                                                           {QRect(1, 3, 3, 1), b2},
                                                           {QRect(4, 1, 1, 3), b2}}));
        // One pixel wide: the second pen's column covers column 0 below the top row.
        QCOMPARE(borderBands({1, 3}, b1, b2),
                 (QList<Band>{{QRect(0, 0, 1, 3), b1}, {QRect(0, 1, 1, 2), b2}}));
        QVERIFY(borderBands({0, 0}, b1, b2).isEmpty());
    }

    void tilesAndText() {
        QCOMPARE(tileGrid({202, 20}, {3, 3}), QSize(68, 7));
        QCOMPARE(tileGrid({9, 9}, {3, 3}), QSize(4, 4));
        QCOMPARE(tileGrid({9, 9}, {0, 3}), QSize(0, 0));
        QCOMPARE(textPosition({200, 20}, {51, 13}), QPoint(75, 4));
        QCOMPARE(textPosition({201, 21}, {50, 12}), QPoint(75, 4));
        // Text wider than the bar starts left of it (truncating division, not floor).
        QCOMPARE(textPosition({100, 20}, {301, 13}), QPoint(-100, 4));
    }

    void text_data() {
        QTest::addColumn<bool>("percentage");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("max");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << false << 50 << 100 << QStringLiteral("ab");
        QTest::newRow("50 of 100") << true << 50 << 100 << QStringLiteral("a50b");
        QTest::newRow("1 of 8: 12.5 -> 12") << true << 1 << 8 << QStringLiteral("a12b");
        QTest::newRow("3 of 8: 37.5 -> 38") << true << 3 << 8 << QStringLiteral("a38b");
        QTest::newRow("min ignored, above 100") << true << 300 << 200 << QStringLiteral("a150b");
        QTest::newRow("negative") << true << -1 << 4 << QStringLiteral("a-25b");
        QTest::newRow("max 0: no number") << true << 0 << 0 << QStringLiteral("ab");
    }
    void text() {
        QFETCH(bool, percentage);
        QFETCH(int, position);
        QFETCH(int, max);
        QFETCH(QString, expected);
        QCOMPARE(positionText(QStringLiteral("a"), QStringLiteral("b"), percentage, position, max),
                 expected);
    }
};

QTEST_APPLESS_MAIN(BarGeometryTest)
#include "bar_geometry_test.moc"
