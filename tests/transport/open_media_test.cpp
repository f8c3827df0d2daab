// Opening media (by drop and by the dialog), the muted length probe, the @ names, the time
// picker and the File-menu displays, on the fake player.

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QTimeEdit>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include "app/dialogs.h"
#include "core/profile_file.h"
#include "fakes/transport_setup.h"
#include "fakes/window_fixture.h"
#include "transport/media_files.h"
#include "transport/media_player.h"

using transportsetup::startWithMedia;
using transportsetup::startWithoutMedia;

namespace {
const QString kFilter = QStringLiteral(
    "【基本】動画・音声（*.wmv/mpg/wav/wma/mp3/m4a/aac）|*.wmv;*.mpg;*.mpeg;*.wma;*.mp3;*.wav;*mp4;"
    "*.aac;;*.m4a|【拡張】動画・音声( *.mp4;*.3gp;*.3gpp;*.3gp2;*.3g2;*.mov)|*.aac;*.mp4;*.3gp;"
    "*.3gpp;*.3gp2;*.3g2;*.mov|すべてのメディア・ファイル( *.*)|*.*");

// Picks the time and goes there as the picker's set button does.
void setTime(SessionFixture& f, const QTime& time) {
    f.settings().set(Setting::PickedTime, time);
    f.session().run([&] { f.session().seekToPickedTime(); });
}

// Sets the picker and presses its button.
void setTime(MainWindow& w, const QTime& time) {
    control<QTimeEdit>(w, "timePicker")->setTime(time);
    control<QToolButton>(w, "setTimeButton")->click();
}
}  // namespace

class OpenMediaTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void openWhilePlayingStopsOldAndProbesNew();
    void openShowsNewMediaState();
    void atNameSetsPicker_data();
    void atNameSetsPicker();
    void invalidAtTimeStillOpens();
    void openThroughDialog();
    void cancelledDialogChangesNothing_data();
    void cancelledDialogChangesNothing();
    void openTurnsSaveOnCloseOn();
    void unplayableNameShowsNoLength();
    void openErrorEndsHandlerAtFailingCall();
    void pickerAcceptsExactlyTheLength();
    void pickerAtZeroSeeksWithoutPlayback();
    void pickerStartsOnePlayback();
    void pickerErrorEndsHandlerAtFailingCall();
    void fileMenuDisplays();
};

void OpenMediaTest::openWhilePlayingStopsOldAndProbesNew() {
    WindowFixture f;
    startWithMedia(f, QStringLiteral("a.mp3"), 600);
    MainWindow& w = f.window();
    const QString b = f.addMediaFile(QStringLiteral("b.mp3"), 90);
    f.player.play();
    f.clock.advance(5000);
    f.player.setVolume(80);
    f.player.setRate(1.5);
    f.player.log.clear();

    f.session().dropFiles({b});
    const QStringList& log = f.player.log;
    QCOMPARE(log.mid(0, 3), (QStringList{QStringLiteral("stop"), QStringLiteral("setPosition 0"),
                                         QStringLiteral("close")}));
    // Muted, then opened once, and not played.
    QCOMPARE(log.mid(log.size() - 2),
             (QStringList{QStringLiteral("setMuted 1"), QStringLiteral("open ") + b}));
    QCOMPARE(f.player.count(QStringLiteral("open")), 1);
    QCOMPARE(f.player.playState(), PlayState::Paused);
    QVERIFY(f.player.isMuted());
    QCOMPARE(f.player.address(), b);
    QVERIFY(transportTimer(f, "lengthProbeTimer")->isActive());
    QVERIFY(transportTimer(f, "positionPollTimer")->isActive());
    // The texts, not the player's values.
    QCOMPARE(control<ProgressBar>(w, "volumeBar")->positionTextPrefix(),
             QStringLiteral("     再生速度[ 1.0 ］"));
    QCOMPARE(control<ProgressBar>(w, "volumeBar")->positionTextSuffix(),
             QStringLiteral("     音量[ 50 ］"));
    QCOMPARE(f.player.volume(), 80);
    QCOMPARE(f.player.rate(), 1.5);

    // Playing before the probe's second is over ends the probe there, with the sound on.
    f.clock.advance(300);
    f.player.log.clear();
    f.transport().playPause();
    QCOMPARE(f.player.log, (QStringList{QStringLiteral("play"), QStringLiteral("setMuted 0")}));
    QVERIFY(!f.player.isMuted());
    QCOMPARE(f.player.playState(), PlayState::Playing);
    QVERIFY(!transportTimer(f, "lengthProbeTimer")->isActive());
    QCOMPARE(control<QLabel>(w, "lengthLabel")->text(), QStringLiteral("0:01:30"));
    QCOMPARE(f.transport().mediaLength(), 90);
    QCOMPARE(f.transport().durationSeconds(), 90);
    QCOMPARE(control<ProgressBar>(w, "positionBar")->maximum(), 90);
}

void OpenMediaTest::openShowsNewMediaState() {
    WindowFixture f;
    const QString media = startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.window();
    QCOMPARE(f.transport().mediaPath(), media);
    QCOMPARE(f.transport().mediaName(), QStringLiteral("talk.mp3"));
    QCOMPARE(f.session().index().indexFileName(), f.folder() + QStringLiteral("talk.mpx"));
    QVERIFY(f.session().pendingMediaPath().isEmpty());
    QCOMPARE(f.transport().savedPosition(), 0.0);
    QCOMPARE(f.transport().shownSeconds(), 0);
    QCOMPARE(control<QLabel>(w, "playTimeLabel")->text(), QStringLiteral("0:00:00"));
    QCOMPARE(control<QLabel>(w, "dropHintLabel")->text(), QStringLiteral("↓ ここに"));
    QVERIFY(!control<QLabel>(w, "dropHintLabel")->isHidden());
    QCOMPARE(control<QLabel>(w, "dragHintLabel")->text(), QStringLiteral("Drag＆Drop"));
    QVERIFY(!control<QLabel>(w, "dragHintLabel")->font().bold());
    QCOMPARE(control<QLabel>(w, "lengthCaptionLabel")->text(), QStringLiteral("録音時間"));
    QVERIFY(control<QLabel>(w, "lengthCaptionLabel")->font().bold());
    QVERIFY(!control<QLabel>(w, "lengthCaptionLabel")->isHidden());
    QCOMPARE(control<QLabel>(w, "lengthLabel")->text(), QStringLiteral("0:10:00"));
    QVERIFY(control<ProgressBar>(w, "positionBar")->font().bold());
    QCOMPARE(control<ProgressBar>(w, "positionBar")->positionTextPrefix(),
             QStringLiteral("0:00:00"));
    QCOMPARE(control<ProgressBar>(w, "positionBar")->positionTextSuffix(),
             QStringLiteral("    [ talk.mp3 ]"));
    QCOMPARE(control<ProgressBar>(w, "positionBar")->maximum(), 600);
    QCOMPARE(control<ProgressBar>(w, "volumeBar")->font().pointSize(), 12);
    QCOMPARE(f.player.playState(), PlayState::Paused);
    QCOMPARE(f.player.position(), 0.0);
}

void OpenMediaTest::atNameSetsPicker_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QTime>("picker");
    QTest::newRow("h_mm_ss") << QStringLiteral("@1_02_03=talk.wav") << QTime(1, 2, 3);
    QTest::newRow("no =") << QStringLiteral("@talk.wav") << QTime(0, 0, 0);
    QTest::newRow("no _") << QStringLiteral("@12=talk.wav") << QTime(0, 0, 0);
    QTest::newRow("no @") << QStringLiteral("0_12_30=talk.wav") << QTime(0, 0, 0);
    QTest::newRow("h_mm") << QStringLiteral("@0_12=talk.mp3") << QTime(0, 12, 0);
}

void OpenMediaTest::atNameSetsPicker() {
    QFETCH(QString, name);
    QFETCH(QTime, picker);
    SessionFixture f;
    startWithoutMedia(f);
    const QString media = f.addMediaFile(name, 7200);
    f.settings().set(Setting::PickedTime, QTime(0, 5, 0));
    f.openMedia(media);
    QCOMPARE(f.settings().value(Setting::PickedTime).toTime(), picker);
    // With a time in the name or without, the open leaves the player paused at the start.
    QVERIFY(f.player.log.contains(QStringLiteral("open ") + media));
    QCOMPARE(f.player.count(QStringLiteral("play")), 0);
    QCOMPARE(f.player.playState(), PlayState::Paused);
    QCOMPARE(f.player.position(), 0.0);
    QCOMPARE(f.transport().mediaPath(), media);
    QVERIFY(f.dialogs.errors.isEmpty());
}

void OpenMediaTest::invalidAtTimeStillOpens() {
    WindowFixture f;
    startWithoutMedia(f);
    MainWindow& w = f.window();
    const QString media = f.addMediaFile(QStringLiteral("@1_99_00=x.wav"), 600);
    control<QTimeEdit>(w, "timePicker")->setTime(QTime(0, 5, 0));
    f.session().dropFiles({media});
    QCOMPARE(control<QTimeEdit>(w, "timePicker")->time(), QTime(0, 0, 0));
    QCOMPARE(f.player.address(), media);
    QVERIFY(transportTimer(f, "lengthProbeTimer")->isActive());
    QVERIFY(transportTimer(f, "positionPollTimer")->isActive());
    QVERIFY(f.session().savesOnClose());
    QVERIFY(f.dialogs.errors.isEmpty());
    QVERIFY(f.dialogs.messages.isEmpty());
    f.clock.advance(1000);
    f.transport().finishLengthProbe();
    QCOMPARE(control<QLabel>(w, "lengthLabel")->text(), QStringLiteral("0:10:00"));
    QCOMPARE(control<ProgressBar>(w, "positionBar")->maximum(), 600);
}

void OpenMediaTest::openThroughDialog() {
    WindowFixture f;
    startWithoutMedia(f);
    MainWindow& w = f.window();
    const QString media = f.addMediaFile(QStringLiteral("talk.m4a"), 120);
    f.dialogs.openAnswers << media;
    control<QAction>(w, "openMediaAction")->trigger();
    QCOMPARE(f.dialogs.lastOpenTitle, QStringLiteral("開く"));
    QCOMPARE(f.dialogs.lastOpenSuffix, QStringLiteral(".mp3"));
    // The three filters of old, after one of our own for every format the player plays.
    QVERIFY(f.dialogs.lastOpenFilter.endsWith(QLatin1Char('|') + kFilter));
    const QStringList filters = fileDialogNameFilters(f.dialogs.lastOpenFilter);
    QCOMPARE(filters.size(), 4);
    QStringList extensions(kMediaExtensions.begin(), kMediaExtensions.end());
    for (const FurtherMediaType& type : FurtherMediaTypes())
        extensions << type.extension;
    for (const QString& extension : extensions)
        if (!extension.isEmpty())
            QVERIFY2(filters.first().contains(QLatin1Char('*') + extension + QLatin1Char(' ')) ||
                         filters.first().contains(QLatin1Char('*') + extension + QLatin1Char(')')),
                     qPrintable(extension));
    QCOMPARE(f.transport().mediaPath(), media);
    QCOMPARE(f.player.address(), media);
    QVERIFY(f.dialogs.errors.isEmpty());

    // The toolbar button is the same command.
    const QString other = f.addMediaFile(QStringLiteral("other.mp3"), 60);
    f.dialogs.openAnswers << other;
    control<QAction>(w, "openFileAction")->trigger();
    QCOMPARE(f.transport().mediaPath(), other);
    QCOMPARE(f.session().index().indexFileName(), f.folder() + QStringLiteral("other.mpx"));
}

void OpenMediaTest::cancelledDialogChangesNothing_data() {
    QTest::addColumn<bool>("playing");
    QTest::newRow("playing") << true;
    QTest::newRow("paused") << false;
}

void OpenMediaTest::cancelledDialogChangesNothing() {
    QFETCH(bool, playing);
    WindowFixture f;
    const QString media = startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.window();
    f.player.play();
    f.clock.advance(5000);
    f.transport().pollPosition();
    if (!playing) control<QAction>(w, "playPauseAction")->trigger();
    f.player.log.clear();
    control<QAction>(w, "openMediaAction")->trigger();
    QCOMPARE(f.dialogs.lastOpenTitle, QStringLiteral("開く"));
    QCOMPARE(f.player.log, QStringList());
    QCOMPARE(f.player.address(), media);
    const PlayState state = playing ? PlayState::Playing : PlayState::Paused;
    QCOMPARE(f.player.playState(), state);
    QCOMPARE(f.transport().mediaPath(), media);
    QCOMPARE(control<ProgressBar>(w, "positionBar")->positionTextPrefix(),
             QStringLiteral("0:00:05"));
    // The play control still reaches the media, and the close keeps the place.
    control<QAction>(w, "playPauseAction")->trigger();
    QVERIFY(f.player.playState() != state);
    control<QAction>(w, "playPauseAction")->trigger();
    QCOMPARE(f.player.playState(), state);
    QVERIFY(f.close());
    QCOMPARE(ProfileFile(f.folder() + QStringLiteral("Scribo.inf"))
                 .readString(QStringLiteral("Record"), QStringLiteral("Position"), QString()),
             QStringLiteral("5"));
}

void OpenMediaTest::openTurnsSaveOnCloseOn() {
    SessionFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    f.session().resetToDefaults();  // the reset turns it off
    QVERIFY(!f.session().savesOnClose());
    f.openMedia(f.addMediaFile(QStringLiteral("next.mp3"), 60));
    QVERIFY(f.session().savesOnClose());
}

void OpenMediaTest::unplayableNameShowsNoLength() {
    WindowFixture f;
    startWithoutMedia(f);
    MainWindow& w = f.window();
    const QString notes = f.folder() + QStringLiteral("notes.txt");
    QFile file(notes);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    f.dialogs.openAnswers << notes;
    control<QAction>(w, "openMediaAction")->trigger();
    QCOMPARE(f.transport().mediaPath(), notes);
    QCOMPARE(f.player.address(), notes);
    f.clock.advance(1000);
    f.transport().finishLengthProbe();
    QCOMPARE(control<QLabel>(w, "lengthLabel")->text(), QString());
    QCOMPARE(control<ProgressBar>(w, "positionBar")->maximum(), 0);
    QVERIFY(f.dialogs.errors.isEmpty());
}

void OpenMediaTest::openErrorEndsHandlerAtFailingCall() {
    SessionFixture f;
    const QString media = startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    f.dialogs.openAnswers << f.addMediaFile(QStringLiteral("next.mp3"), 60);
    f.player.failNext(QStringLiteral("close"));
    f.player.log.clear();
    QVERIFY(!f.session().run([&] { f.session().openMedia(); }));
    QCOMPARE(f.dialogs.errors.size(), 1);
    QVERIFY(f.dialogs.errors.first().contains(QStringLiteral("close")));
    QCOMPARE(f.dialogs.lastOpenTitle, QStringLiteral("開く"));  // the file is chosen first
    QCOMPARE(f.player.log, QStringList{QStringLiteral("close")});
    QCOMPARE(f.transport().mediaPath(), media);
}

void OpenMediaTest::pickerAcceptsExactlyTheLength() {
    WindowFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.window();
    QCOMPARE(f.transport().durationSeconds(), 600);
    f.transport().setRepeatPosition(42);
    f.player.log.clear();
    setTime(w, QTime(0, 10, 1));
    QCOMPARE(f.dialogs.messages, QStringList{QStringLiteral("録画・録音時間を超えています")});
    QCOMPARE(f.player.count(QStringLiteral("setPosition")), 0);
    QCOMPARE(f.player.count(QStringLiteral("play")), 0);
    QCOMPARE(f.transport().repeatPosition(), 42.0);

    setTime(w, QTime(0, 10, 0));
    QCOMPARE(f.dialogs.messages.size(), 1);
    QCOMPARE(f.player.log.first(), QStringLiteral("setPosition 600"));
    QCOMPARE(f.transport().repeatPosition(), 600.0);
    QCOMPARE(control<ProgressBar>(w, "positionBar")->position(), 600);
    QCOMPARE(control<ProgressBar>(w, "positionBar")->positionTextPrefix(),
             QStringLiteral("0:10:00"));
}

void OpenMediaTest::pickerAtZeroSeeksWithoutPlayback() {
    SessionFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    f.player.setPosition(30);
    f.transport().setRepeatPosition(42);
    f.player.log.clear();
    setTime(f, QTime(0, 0, 0));
    QCOMPARE(f.player.log, QStringList{QStringLiteral("setPosition 0")});
    QCOMPARE(f.transport().repeatPosition(), 0.0);
    QCOMPARE(f.player.playState(), PlayState::Paused);
    QCOMPARE(f.player.position(), 0.0);
    QVERIFY(!transportTimer(f, "repeatTimer")->isActive());
    QVERIFY(f.dialogs.messages.isEmpty());
}

void OpenMediaTest::pickerStartsOnePlayback() {
    WindowFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.window();
    f.player.setPosition(20);
    f.player.play();
    f.player.log.clear();
    setTime(w, QTime(0, 1, 30));
    QCOMPARE(f.player.log, (QStringList{QStringLiteral("setPosition 90"), QStringLiteral("pause"),
                                        QStringLiteral("setPosition 90"), QStringLiteral("play")}));
    QCOMPARE(f.transport().repeatPosition(), 90.0);
    QCOMPARE(f.player.playState(), PlayState::Playing);
    QCOMPARE(control<ProgressBar>(w, "positionBar")->position(), 90);
    QCOMPARE(control<ProgressBar>(w, "positionBar")->positionTextPrefix(),
             QStringLiteral("0:01:30"));
    QVERIFY(!transportTimer(f, "repeatTimer")->isActive());  // one playback, no repeat
    f.clock.advance(2500);
    QCOMPARE(f.player.position(), 92.5);
}

void OpenMediaTest::pickerErrorEndsHandlerAtFailingCall() {
    SessionFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    transportTimer(f, "repeatTimer")->start();
    f.player.failNext(QStringLiteral("play"));
    f.settings().set(Setting::PickedTime, QTime(0, 1, 0));
    QVERIFY(!f.session().run([&] { f.session().seekToPickedTime(); }));
    QCOMPARE(f.dialogs.errors.size(), 1);
    QCOMPARE(f.transport().repeatPosition(), 60.0);  // set before the failing call
    QCOMPARE(f.player.position(), 60.0);             // sought before it too
    QCOMPARE(f.player.playState(), PlayState::Paused);
    QVERIFY(transportTimer(f, "repeatTimer")->isActive());  // the button's own stop never ran
}

void OpenMediaTest::fileMenuDisplays() {
    SessionFixture f;
    startWithoutMedia(f);
    Session& s = f.session();
    Q_EMIT s.indexCommands().volumeBarLeadingTextChanged(QStringLiteral("p"));
    Q_EMIT s.indexCommands().volumeBarTrailingTextChanged(QStringLiteral("s"));
    s.showFileName();
    s.showFolderName();
    QCOMPARE(s.volumeBarLeading(), QStringLiteral("p"));
    QCOMPARE(s.volumeBarTrailing(), QStringLiteral("s"));

    f.openMedia(f.addMediaFile(QStringLiteral("talk.mp3"), 600));
    const QString folder = f.folder().chopped(1);
    s.showFileName();
    QCOMPARE(s.volumeBarLeading(), QStringLiteral("talk.mp3 - ") + folder + QLatin1Char('/'));
    QCOMPARE(s.volumeBarTrailing(), QString());
    Q_EMIT s.indexCommands().volumeBarLeadingTextChanged(QStringLiteral("p"));
    Q_EMIT s.indexCommands().volumeBarTrailingTextChanged(QStringLiteral("s"));
    s.showFolderName();
    QCOMPARE(s.volumeBarLeading(), folder);
    QCOMPARE(s.volumeBarTrailing(), QString());
}

QTEST_MAIN(OpenMediaTest)
#include "open_media_test.moc"
