#include "core/window_placement.h"

#include <QtTest>

class WindowPlacementTest : public QObject {
    Q_OBJECT

private slots:
    void placement_data() {
        QTest::addColumn<QPoint>("saved");
        QTest::addColumn<QList<QRect>>("screens");
        QTest::addColumn<QPoint>("placed");
        const QList<QRect> one = {QRect(0, 0, 1920, 1040)};
        // A second monitor left of the first, and one above it, both reaching negative values.
        const QList<QRect> two = {QRect(0, 0, 1920, 1040), QRect(-1280, 0, 1280, 1000)};
        const QList<QRect> stacked = {QRect(0, 0, 1920, 1040), QRect(0, -1080, 1920, 1050)};
        const QPoint home(800, 100);
        QTest::newRow("on the screen") << QPoint(300, 120) << one << QPoint(300, 120);
        QTest::newRow("far beyond") << QPoint(40000, 40000) << one << home;
        QTest::newRow("second monitor gone") << QPoint(-900, 200) << one << home;
        QTest::newRow("second monitor there") << QPoint(-900, 200) << two << QPoint(-900, 200);
        QTest::newRow("monitor above there") << QPoint(50, -600) << stacked << QPoint(50, -600);
        QTest::newRow("monitor above gone") << QPoint(50, -600) << one << home;
        QTest::newRow("strip above the top") << QPoint(300, -15) << one << home;
        QTest::newRow("body below the bottom") << QPoint(300, 1000) << one << QPoint(300, 1000);
        QTest::newRow("only the strip's left end shows")
            << QPoint(1900, 100) << one << home;  // 20 px of strip: too little to grab
        QTest::newRow("enough of the strip's left end")
            << QPoint(1850, 100) << one << QPoint(1850, 100);
        QTest::newRow("mostly off the left edge") << QPoint(-340, 100) << one << QPoint(-340, 100);
        QTest::newRow("at the end of int") << QPoint(2147483647, 100) << one << home;
        QTest::newRow("at the end of int, upwards") << QPoint(300, 2147483600) << one << home;
        QTest::newRow("no screen known")
            << QPoint(40000, 40000) << QList<QRect>() << QPoint(40000, 40000);
    }
    void placement() {
        QFETCH(QPoint, saved);
        QFETCH(QList<QRect>, screens);
        QFETCH(QPoint, placed);
        QCOMPARE(reachablePosition(saved, QSize(400, 450), screens, QPoint(800, 100)), placed);
    }
};

QTEST_GUILESS_MAIN(WindowPlacementTest)
#include "window_placement_test.moc"
