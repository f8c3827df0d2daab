// The session's ways in from outside while it closes: each entry is refused during the close wait
// and changes nothing, and the same requests do act while the gate is open.

#include <QSignalSpy>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <optional>

#include "fakes/transport_setup.h"
#include "fakes/window_fixture.h"
#include "transport/media_player.h"

namespace {
constexpr int kPauseKeyId = 1;  // the Pause key, a play/pause key that no setting suppresses
constexpr int kCentrePedal = 2;
const QString kAddress = QStringLiteral("https://example.org/talk.mp3");

using Answer = std::optional<RequestOutcome>;  // none: an entry that answers nothing
using Ask = std::function<Answer(SessionFixture&, const QString& otherMedia)>;

Ask silent(std::function<void(SessionFixture&, const QString&)> ask) {
    return [ask](SessionFixture& f, const QString& other) -> Answer {
        ask(f, other);
        return std::nullopt;
    };
}

const std::pair<const char*, Ask> kEntries[] = {
    {"request",
     [](SessionFixture& f, const QString&) -> Answer {
         return f.session().request([&f] { f.transport().playPause(); });
     }},
    {"requestKey",
     [](SessionFixture& f, const QString&) -> Answer {
         return f.session().requestKey(HotkeyCommand::PlayPause);
     }},
    {"hotkey press", silent([](SessionFixture& f, const QString&) {
         if (!f.hotkeyService.press(kPauseKeyId)) qFatal("the Pause key is not grabbed");
     })},
    {"URL panel",
     silent([](SessionFixture& f, const QString&) { f.session().playAddress(kAddress); })},
    {"pedal tick", silent([](SessionFixture& f, const QString&) {
         f.pedalLibrary.queueReport(kCentrePedal);
         f.session().pedal().pollTick();
     })},
    {"requestOpen",
     silent([](SessionFixture& f, const QString& other) { f.session().requestOpen(other); })},
    {"requestQuit", silent([](SessionFixture& f, const QString&) { f.session().requestQuit(); })},
};

// What the entries can change: the player plays or opens, or the session asks to quit.
struct Effects {
    explicit Effects(SessionFixture& f) : f_(f), quits_(&f.session(), &Session::quitRequested) {
        f.player.log.clear();
    }
    bool any() const {
        return f_.player.count(QStringLiteral("play")) > 0 ||
               f_.player.count(QStringLiteral("open")) > 0 || !quits_.isEmpty();
    }

private:
    SessionFixture& f_;
    QSignalSpy quits_;
};
}  // namespace

class SessionTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void entriesActWhileTheGateIsOpen_data() { addEntryRows(); }
    void entriesActWhileTheGateIsOpen();
    void entriesDuringTheCloseWaitChangeNothing_data() { addEntryRows(); }
    void entriesDuringTheCloseWaitChangeNothing();
    // The window shows between the halves of the start-up, before the player has started.
    void entriesBetweenTheStartUpHalvesWait_data() { addEntryRows(); }
    void entriesBetweenTheStartUpHalvesWait();

private:
    static void addEntryRows();
};

void SessionTest::addEntryRows() {
    QTest::addColumn<int>("entry");
    for (int i = 0; i < int(std::size(kEntries)); ++i)
        QTest::newRow(kEntries[i].first) << i;
}

void SessionTest::entriesActWhileTheGateIsOpen() {
    QFETCH(int, entry);
    SessionFixture f;
    transportsetup::startWithMedia(f, QStringLiteral("a.mp3"), 600);
    const QString other = f.addMediaFile(QStringLiteral("b.mp3"), 600);
    f.player.addMedia(kAddress, 300);
    const Effects effects(f);
    const Answer outcome = kEntries[entry].second(f, other);
    if (outcome) QCOMPARE(*outcome, RequestOutcome::Done);
    QVERIFY(effects.any());
    QVERIFY(f.dialogs.errors.isEmpty());
}

void SessionTest::entriesDuringTheCloseWaitChangeNothing() {
    QFETCH(int, entry);
    SessionFixture f;
    const QString media = transportsetup::startWithMedia(f, QStringLiteral("a.mp3"), 600);
    const QString other = f.addMediaFile(QStringLiteral("b.mp3"), 600);
    f.player.addMedia(kAddress, 300);
    f.player.setPosition(42);
    Answer outcome;
    bool askedWhileShut = false;
    // Arrives while the close waits for the player.
    QTimer::singleShot(0, &f.session(), [&] {
        askedWhileShut = !f.session().gate().isOpen();
        outcome = kEntries[entry].second(f, other);
    });
    const Effects effects(f);

    QVERIFY(f.close());
    QVERIFY(askedWhileShut);
    if (outcome) QCOMPARE(*outcome, RequestOutcome::Busy);
    // Nothing was left to run once the close was over either.
    QCoreApplication::processEvents();
    QVERIFY(!effects.any());
    QCOMPARE(f.transport().mediaPath(), media);
    const QByteArray saved = f.settingsBytes();
    QVERIFY(saved.contains("File=" + media.toUtf8()));
    QVERIFY(saved.contains("Position=42"));
}

void SessionTest::entriesBetweenTheStartUpHalvesWait() {
    QFETCH(int, entry);
    SessionFixture f;
    const QString media = f.addMediaFile(QStringLiteral("a.mp3"), 600);
    const QString other = f.addMediaFile(QStringLiteral("b.mp3"), 600);
    f.player.addMedia(kAddress, 300);
    f.writeSettings(transportsetup::kSettings + "[General]\nFile=" + media.toUtf8() +
                    "\n[Record]\nPosition=42\n");
    QVERIFY(f.session().beginStartUp());
    const Effects effects(f);
    const Answer outcome = kEntries[entry].second(f, other);
    if (outcome) QCOMPARE(*outcome, RequestOutcome::Busy);
    QVERIFY(!effects.any());
    QVERIFY(!f.session().isStarted());

    const QSignalSpy quits(&f.session(), &Session::quitRequested);
    f.session().completeStartUp();
    QCoreApplication::processEvents();
    QVERIFY(f.session().isStarted());
    QVERIFY(f.dialogs.errors.isEmpty());
    // An open or a quit asked for meanwhile runs now, after the restore; the rest were refused.
    const QString entryName = QLatin1String(kEntries[entry].first);
    const QString expected = entryName == QLatin1String("requestOpen") ? other : media;
    QCOMPARE(f.player.address(), expected);
    QCOMPARE(quits.count(), entryName == QLatin1String("requestQuit") ? 1 : 0);
    QCOMPARE(f.player.count(QStringLiteral("play")), 0);
}

QTEST_MAIN(SessionTest)
#include "session_test.moc"
