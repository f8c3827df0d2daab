// A saved position that is no position of the media (damaged or foreign settings) is held to the
// media's range instead of being converted with undefined results.

#include <QtTest>

#include "fakes/form_fixture.h"
#include "fakes/transport_setup.h"
#include "transport/media_player.h"
#include "transport/transport_controller.h"

class SavedPositionTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void restoredPositionStaysWithinTheMedia_data();
    void restoredPositionStaysWithinTheMedia();
};

void SavedPositionTest::restoredPositionStaysWithinTheMedia_data() {
    QTest::addColumn<QByteArray>("saved");
    QTest::addColumn<double>("expected");
    QTest::newRow("inside") << QByteArray("12.5") << 12.5;
    QTest::newRow("beyond int seconds") << QByteArray("3e9") << 600.0;
    QTest::newRow("huge") << QByteArray("1e300") << 600.0;
    QTest::newRow("hugely negative") << QByteArray("-1e300") << 0.0;
    QTest::newRow("not a number") << QByteArray("nan") << 0.0;
}

void SavedPositionTest::restoredPositionStaysWithinTheMedia() {
    QFETCH(QByteArray, saved);
    QFETCH(double, expected);
    FormFixture f;
    const QString media = f.addMediaFile(QStringLiteral("talk.mp3"), 600);
    f.writeSettings(transportsetup::kSettings + "[General]\nFile=" + media.toUtf8() +
                    "\n[Record]\nPosition=" + saved + "\n");
    QVERIFY(f.start());
    const TransportController& t = f.form().transport();
    QCOMPARE(t.savedPosition(), expected);
    QCOMPARE(f.player.currentPosition(), expected);
    QVERIFY(t.shownSeconds() >= 0 && t.shownSeconds() <= 600);
}

QTEST_MAIN(SavedPositionTest)
#include "saved_position_test.moc"
