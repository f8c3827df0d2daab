// The pedal device over a run: set-up, polling, and finding the pedal again, on the scripted fake
// library.

#include <QtTest>

#include "fakes/fake_pedal_library.h"
#include "pedal/pedal_session.h"

class PedalSessionTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void setUpFindsThenOpensThePedal();
    void setUpWithoutPedalSearchesAtOnce();
    void missingLibraryIsNeverCalledAgain();
    void pedalThatCannotBeOpenedIsNeverRead();
    void noMediaNoRead();
    void readsAreHandedOnUntilNothingIsNew();
    void unpluggedPedalIsFoundAgainAfterReplug();

private:
    // Both halves of set-up with a pedal plugged in; whether it was found.
    static bool setUpPedal(PedalSession& session);
    // Ticks with media open until one hands on a read; how many ticks that took.
    static int ticksUntilRead(PedalSession& session, int limit);
};

bool PedalSessionTest::setUpPedal(PedalSession& session) {
    if (session.beginSetUp() != PedalSession::Found::Pedal) return false;
    session.finishSetUp();
    return true;
}

int PedalSessionTest::ticksUntilRead(PedalSession& session, int limit) {
    for (int i = 1; i <= limit; ++i)
        if (session.tick(true)) return i;
    return -1;
}

void PedalSessionTest::setUpFindsThenOpensThePedal() {
    FakePedalLibrary library;
    PedalSession session(library);
    QCOMPARE(session.beginSetUp(), PedalSession::Found::Pedal);
    // Nothing is opened before the second half.
    QCOMPARE(library.log, (QStringList{"load", "enumerate 1523"}));
    QCOMPARE(session.state(), PedalSession::State::Off);
    session.finishSetUp();
    QCOMPARE(library.log, (QStringList{"load", "enumerate 1523", "setup 0", "clear 0"}));
    QCOMPARE(session.state(), PedalSession::State::Ready);
    QCOMPARE(session.deviceIndex(), 0);
}

void PedalSessionTest::setUpWithoutPedalSearchesAtOnce() {
    FakePedalLibrary library;
    library.unplug();
    PedalSession session(library);
    QCOMPARE(session.beginSetUp(), PedalSession::Found::NoPedal);
    QCOMPARE(session.state(), PedalSession::State::Searching);
    QVERIFY(!session.lookAgain());
    library.plugIn();
    QVERIFY(session.lookAgain());
    QCOMPARE(session.state(), PedalSession::State::Ready);
}

void PedalSessionTest::missingLibraryIsNeverCalledAgain() {
    FakePedalLibrary library;
    library.loadSucceeds = false;
    PedalSession session(library);
    QCOMPARE(session.beginSetUp(), PedalSession::Found::NoLibrary);
    QCOMPARE(session.deviceIndex(), -1);
    QCOMPARE(ticksUntilRead(session, 3 * PedalSession::kSearchTicks), -1);
    QCOMPARE(library.log, QStringList{"load"});
}

void PedalSessionTest::pedalThatCannotBeOpenedIsNeverRead() {
    FakePedalLibrary library;
    library.setupAnswer = 1;
    PedalSession session(library);
    QVERIFY(setUpPedal(session));
    QCOMPARE(session.state(), PedalSession::State::Searching);
    QCOMPARE(ticksUntilRead(session, 3 * PedalSession::kSearchTicks), -1);
    QCOMPARE(library.count("read"), 0);
    QCOMPARE(library.count("setup"), 4);  // looked for again every few seconds
}

void PedalSessionTest::noMediaNoRead() {
    FakePedalLibrary library;
    PedalSession session(library);
    QVERIFY(setUpPedal(session));
    library.queueReport(2);
    for (int i = 0; i < 5; ++i)
        QVERIFY(!session.tick(false));
    QCOMPARE(library.count("read"), 0);
}

void PedalSessionTest::readsAreHandedOnUntilNothingIsNew() {
    FakePedalLibrary library;
    PedalSession session(library);
    QVERIFY(setUpPedal(session));
    library.queueReport(6);
    library.queueRead(5, 2);
    std::optional<PedalRead> read = session.tick(true);
    QVERIFY(read);
    QCOMPARE(read->result, 0);
    QCOMPARE(read->bits, 6);  // centre and right held
    read = session.tick(true);
    QVERIFY(read);
    QCOMPARE(read->result, 5);
    QVERIFY(!session.tick(true));
    QCOMPARE(session.lastResult(), PedalResults::NothingNew);
}

void PedalSessionTest::unpluggedPedalIsFoundAgainAfterReplug() {
    FakePedalLibrary library;
    PedalSession session(library);
    QVERIFY(setUpPedal(session));
    library.unplug();
    const std::optional<PedalRead> gone = session.tick(true);
    QVERIFY(gone);
    QCOMPARE(gone->result, PedalResults::DeviceGone);
    session.releaseDevice();
    QCOMPARE(library.count("cleanup"), 1);
    QVERIFY(!library.isOpen());

    // Still unplugged: looked for, never read.
    QCOMPARE(ticksUntilRead(session, 2 * PedalSession::kSearchTicks), -1);
    QCOMPARE(library.count("read"), 1);

    library.plugIn();
    int ticks = 0;
    while (session.state() != PedalSession::State::Ready && ticks < 100) {
        session.tick(true);
        ++ticks;
    }
    QVERIFY2(ticks <= PedalSession::kSearchTicks, qPrintable(QString::number(ticks)));
    library.queueReport(2);
    const std::optional<PedalRead> read = session.tick(true);
    QVERIFY(read);
    QCOMPARE(read->bits, 2);
}

QTEST_GUILESS_MAIN(PedalSessionTest)
#include "pedal_session_test.moc"
