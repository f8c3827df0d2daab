#include "web/address_box.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QtTest>

class AddressBoxTest : public QObject {
    Q_OBJECT

private slots:
    void dropDownIsAsWideAsTheLongestEntry_data() {
        QTest::addColumn<int>("entries");
        QTest::newRow("all shown") << 3;
        QTest::newRow("scrolls") << 12;
    }
    void dropDownIsAsWideAsTheLongestEntry() {
        QFETCH(int, entries);
        QWidget window;
        AddressBox box(&window);
        box.setFixedWidth(120);
        const QString longest =
            QStringLiteral("https://media.example.org/recordings/2026/interview-part-2.mp3");
        for (int i = 1; i < entries; ++i)
            box.addItem(QStringLiteral("https://example.org/%1.mp3").arg(i));
        box.addItem(longest);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        box.showPopup();
        const int textWidth = QFontMetrics(box.view()->font()).horizontalAdvance(longest);
        QTRY_VERIFY(box.view()->isVisible());
        QVERIFY2(
            box.view()->viewport()->width() >= textWidth,
            qPrintable(
                QStringLiteral("%1 < %2").arg(box.view()->viewport()->width()).arg(textWidth)));
        QCOMPARE(box.width(), 120);
        box.hidePopup();
    }

    void typedAddressIsNotListed() {
        AddressBox box;
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QTest::keyClicks(box.lineEdit(), QStringLiteral("https://example.org/typed.mp3"));
        QTest::keyClick(box.lineEdit(), Qt::Key_Return);
        QCOMPARE(box.count(), 0);
        QCOMPARE(box.currentText(), QStringLiteral("https://example.org/typed.mp3"));
    }
};

QTEST_MAIN(AddressBoxTest)
#include "address_box_test.moc"
