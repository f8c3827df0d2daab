// Start-up, the settings panel, the reset and the three ways of closing, on fakes.

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

#include "core/profile_file.h"
#include "fakes/window_fixture.h"
#include "transport/media_player.h"

namespace {
QString readKey(const QString& path, const QString& section, const QString& key) {
    return ProfileFile(path).readString(section, key, QStringLiteral("<missing>"));
}

const QByteArray kPlainSettings =
    "[FormPosition]\nTop=120\nLeft=300\n[Play]\nAutoBackSpace=7\nSpeed=2\nRepeatTime=2\n";
}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void createdWindowHasItsInitialState();
    void startsWithoutMediaWhenRememberedFileIsGone_data();
    void startsWithoutMediaWhenRememberedFileIsGone();
    void startsCollapsedWithMediaAndTogglesPanel();
    void keepPanelOptionKeepsPanelOpen();
    void restoresRememberedMediaAtItsPosition();
    void resetReturnsToInitialStateAndForgetsMedia();
    void closeWithSettingsWritesEverything();
    void closeWithoutSavingWritesNothing();
    void exitButtonDisablesItselfAndCloses();
    void closePausesAndWaitsWithTimersStopped();
    void refusedWriteAtCloseKeepsWindowOpen();
    void dropOfNonMediaOrSeveralFiles();
    void playerErrorEndsHandlerWithErrorBox();
};

void MainWindowTest::createdWindowHasItsInitialState() {
    WindowFixture f;
    MainWindow& w = f.create();
    QCOMPARE(w.windowTitle(), QStringLiteral("Scribo"));
    QVERIFY(w.windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(w.width(), 390);
    QCOMPARE(w.height(), 450);
    QVERIFY(!f.session().isStarted());
    QVERIFY(!f.session().savesOnClose());
    QCOMPARE(control<RadioGroup>(w, "autoRewindGroup")->itemIndex(), 7);
    QCOMPARE(control<RadioGroup>(w, "speedGroup")->itemIndex(), 2);
    QCOMPARE(control<RadioGroup>(w, "repeatIntervalGroup")->itemIndex(), 2);
    QCOMPARE(control<RadioGroup>(w, "centrePedalGroup")->itemIndex(), 0);
    QCOMPARE(control<RadioGroup>(w, "leftPedalGroup")->itemIndex(), 1);
    QCOMPARE(control<RadioGroup>(w, "rightPedalGroup")->itemIndex(), 2);
    QCOMPARE(control<RadioGroup>(w, "rewindStepGroup")->itemIndex(), 3);
    QCOMPARE(control<RadioGroup>(w, "forwardStepGroup")->itemIndex(), 3);
    QCOMPARE(control<RadioGroup>(w, "pedalModeGroup")->itemIndex(), 0);
    QVERIFY(control<QAction>(w, "addClipboardNoteAction")->isChecked());
    QVERIFY(control<QAction>(w, "ignoreF1Action")->isChecked());
    QVERIFY(!control<QAction>(w, "ignoreInsertAction")->isChecked());
    QVERIFY(control<QAction>(w, "twoPedalsKeepSpeedAndVolumeAction")->isChecked());
    QVERIFY(!control<QAction>(w, "ignorePedalAction")->isChecked());
    QCOMPARE(f.transport().rewindSeconds(), 3.0);  // the group's item applies only at start-up
    QCOMPARE(control<QLabel>(w, "playTimeLabel")->text(), QStringLiteral("位置移動"));
    QCOMPARE(control<QLabel>(w, "lengthLabel")->text(), QStringLiteral("ﾄﾞﾗｯｸﾞして"));
    QCOMPARE(control<ProgressBar>(w, "volumeBar")->position(), 50);
    QCOMPARE(control<ProgressBar>(w, "volumeBar")->positionTextSuffix(),
             QStringLiteral("ここ（音量バー）をドラッグして、音量を調節してください"));
    QCOMPARE(playEntryAction(w, 7)->text(), QStringLiteral(" 7."));
    QCOMPARE(registerEntryAction(w, 12)->text(), QStringLiteral("12."));
    QVERIFY(!f.session().pedal().isPolling());  // start-up starts it once the pedal is set up
    QCOMPARE(transportTimer(f, "positionPollTimer")->interval(), 500);
    QVERIFY(!transportTimer(f, "positionPollTimer")->isActive());
    QCOMPARE(transportTimer(f, "restoreTimer")->interval(), 3000);
    QCOMPARE(control<QTabWidget>(w, "settingsTabs")->count(), 6);
}

void MainWindowTest::startsWithoutMediaWhenRememberedFileIsGone_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("folder");
    QTest::newRow("deleted file") << QStringLiteral("gone.mp3") << false;
    QTest::newRow("folder") << QStringLiteral("talks") << true;
    QTest::newRow("folder named like media") << QStringLiteral("talks.mp3") << true;
}

void MainWindowTest::startsWithoutMediaWhenRememberedFileIsGone() {
    QFETCH(QString, name);
    QFETCH(bool, folder);
    WindowFixture f;
    if (folder) QVERIFY(QDir(f.folder()).mkdir(name));
    f.writeSettings("[General]\nFile=" + (f.folder() + name).toUtf8() +
                    "\n[Record]\nPosition=12.5\n");
    QVERIFY(f.start());
    MainWindow& w = f.window();
    QVERIFY(f.transport().mediaPath().isEmpty());
    QCOMPARE(control<QTabWidget>(w, "settingsTabs")->currentWidget(),
             control<QWidget>(w, "playbackTab"));
    QVERIFY(!(w.height() == MainWindow::kCollapsedHeight));
    QCOMPARE(w.height(), 450);
    QVERIFY(f.session().isStarted());
    QVERIFY(f.session().savesOnClose());
    QVERIFY(f.player.address().isEmpty());
    QVERIFY(transportTimer(f, "positionPollTimer")->isActive());
}

void MainWindowTest::startsCollapsedWithMediaAndTogglesPanel() {
    WindowFixture f;
    const QString media = f.addMediaFile(QStringLiteral("talk.mp3"), 600);
    f.writeSettings("[General]\nFile=" + media.toUtf8() + "\n");
    QVERIFY(f.start());
    MainWindow& w = f.window();
    QCOMPARE(f.transport().mediaPath(), media);
    QVERIFY((w.height() == MainWindow::kCollapsedHeight));
    QCOMPARE(w.height(), 107);
    control<QAction>(w, "panelAction")->trigger();
    QCOMPARE(w.height(), 450);
    QVERIFY(!(w.height() == MainWindow::kCollapsedHeight));
    control<QAction>(w, "panelAction")->trigger();
    QCOMPARE(w.height(), 107);
}

void MainWindowTest::keepPanelOptionKeepsPanelOpen() {
    WindowFixture f;
    const QString media = f.addMediaFile(QStringLiteral("talk.mp3"), 600);
    f.writeSettings("[General]\nFile=" + media.toUtf8() + "\n[Menu]\nSettingPanel=1\n");
    QVERIFY(f.start());
    QVERIFY(!(f.window().height() == MainWindow::kCollapsedHeight));
    QCOMPARE(f.window().height(), 450);
}

void MainWindowTest::restoresRememberedMediaAtItsPosition() {
    WindowFixture f;
    const QString media = f.addMediaFile(QStringLiteral("talk.wav"), 600);
    f.writeSettings("[General]\nFile=" + media.toUtf8() + "\n[Record]\nPosition=75.4\n");
    QVERIFY(f.start());
    MainWindow& w = f.window();
    QCOMPARE(f.player.address(), media);
    QCOMPARE(f.player.position(), 75.4);
    QCOMPARE(control<QLabel>(w, "playTimeLabel")->text(), QStringLiteral("0:01:15"));
    QVERIFY(transportTimer(f, "restoreTimer")->isActive());
    QCOMPARE(f.player.rate(), 1.0);
    f.clock.advance(1000);
    f.transport().finishLengthProbe();
    f.transport().restorePosition();
    QVERIFY(!transportTimer(f, "restoreTimer")->isActive());
    QCOMPARE(control<ProgressBar>(w, "positionBar")->maximum(), 600);
    QCOMPARE(control<ProgressBar>(w, "positionBar")->position(), 75);
    QCOMPARE(f.transport().shownSeconds(), 75);
}

void MainWindowTest::resetReturnsToInitialStateAndForgetsMedia() {
    WindowFixture f;
    const QString media = f.addMediaFile(QStringLiteral("talk.mp3"), 600);
    const QString ini =
        f.writeSettings("[General]\nFile=" + media.toUtf8() + "\n[Record]\nPosition=30\n" +
                        "[Play]\nAutoBackSpace=3\nSpeed=4\n[Menu]\nDontUseF1=0\n");
    QVERIFY(f.start());
    MainWindow& w = f.window();
    f.player.play();
    control<QAction>(w, "resetAction")->trigger();

    QVERIFY(f.transport().mediaPath().isEmpty());
    QVERIFY(f.session().index().indexFileName().isEmpty());
    QVERIFY(!f.session().savesOnClose());
    QCOMPARE(f.player.playState(), PlayState::Paused);
    QCOMPARE(control<RadioGroup>(w, "autoRewindGroup")->itemIndex(), 7);
    QCOMPARE(f.transport().rewindSeconds(), 2.5);  // the group's handler ran: Started is 1 now
    QCOMPARE(control<RadioGroup>(w, "speedGroup")->itemIndex(), 2);
    QVERIFY(control<QAction>(w, "ignoreF1Action")->isChecked());
    QCOMPARE(control<ProgressBar>(w, "positionBar")->maximum(), 0);
    QCOMPARE(w.pos(), QPoint(800, 100));
    QVERIFY(!(w.height() == MainWindow::kCollapsedHeight));
    QCOMPARE(w.height(), 450);
    QCOMPARE(readKey(ini, QStringLiteral("General"), QStringLiteral("File")), QString());
    QCOMPARE(readKey(ini, QStringLiteral("Record"), QStringLiteral("Position")),
             QStringLiteral("0"));
    QCOMPARE(readKey(ini, QStringLiteral("Play"), QStringLiteral("AutoBackSpace")),
             QStringLiteral("7"));
    QCOMPARE(readKey(ini, QStringLiteral("FormPosition"), QStringLiteral("Top")),
             QStringLiteral("100"));
    QCOMPARE(readKey(ini, QStringLiteral("FormPosition"), QStringLiteral("Left")),
             QStringLiteral("800"));

    // Until a new file is opened, closing writes neither the media nor the position.
    const QByteArray before = f.settingsBytes();
    QVERIFY(f.close());
    QCOMPARE(f.settingsBytes(), before);
}

void MainWindowTest::closeWithSettingsWritesEverything() {
    WindowFixture f;
    const QString ini = f.writeSettings(kPlainSettings);
    QVERIFY(f.start());
    control<QAction>(f.window(), "exitSavingSettingsAction")->trigger();
    QVERIFY(!f.window().isVisible());
    QCOMPARE(readKey(ini, QStringLiteral("Play"), QStringLiteral("Volume")), QStringLiteral("0"));
    QCOMPARE(readKey(ini, QStringLiteral("Menu"), QStringLiteral("DontUseF2")),
             QStringLiteral("0"));
    QCOMPARE(readKey(ini, QStringLiteral("FormPosition"), QStringLiteral("Top")),
             QStringLiteral("120"));
}

void MainWindowTest::closeWithoutSavingWritesNothing() {
    WindowFixture f;
    const QString media = f.addMediaFile(QStringLiteral("talk.mp3"), 600);
    f.writeSettings("[General]\nFile=old.mp3\n[Record]\nPosition=5\n");
    QVERIFY(f.start());
    f.openMedia(media);
    f.player.setPosition(42);
    const QByteArray before = f.settingsBytes();
    control<QAction>(f.window(), "exitWithoutSavingIndexAction")->trigger();
    QCOMPARE(f.settingsBytes(), before);
}

void MainWindowTest::exitButtonDisablesItselfAndCloses() {
    WindowFixture f;
    const QString ini = f.writeSettings(kPlainSettings);
    const QString media = f.addMediaFile(QStringLiteral("talk.mp3"), 600);
    QVERIFY(f.start());
    f.openMedia(media);
    f.window().show();
    control<QAction>(f.window(), "exitAction")->trigger();
    QVERIFY(!control<QAction>(f.window(), "exitAction")->isEnabled());
    QVERIFY(!f.window().isVisible());
    QCOMPARE(readKey(ini, QStringLiteral("General"), QStringLiteral("File")), media);
    QCOMPARE(readKey(ini, QStringLiteral("Play"), QStringLiteral("Volume")),
             QStringLiteral("<missing>"));
}

void MainWindowTest::closePausesAndWaitsWithTimersStopped() {
    WindowFixture f;
    f.writeSettings(kPlainSettings);
    const QString media = f.addMediaFile(QStringLiteral("talk.mp3"), 600);
    QVERIFY(f.start());
    f.openMedia(media);
    f.player.play();
    transportTimer(f, "repeatTimer")->start();
    const qint64 waitedBefore = f.clock.waitedMs();
    QVERIFY(f.close());
    QCOMPARE(f.player.playState(), PlayState::Paused);
    QCOMPARE(f.clock.waitedMs() - waitedBefore, 1300);
    for (QTimer* t : f.window().findChildren<QTimer*>(Qt::FindDirectChildrenOnly))
        QVERIFY2(!t->isActive(), "every timer stops at shutdown");
}

void MainWindowTest::refusedWriteAtCloseKeepsWindowOpen() {
    WindowFixture f;
    const QString ini = f.writeSettings(kPlainSettings);
    const QString media = f.addMediaFile(QStringLiteral("talk.mp3"), 600);
    QVERIFY(f.start());
    f.openMedia(media);
    f.window().show();
    QFile::setPermissions(ini, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    const QByteArray before = f.settingsBytes();
    QVERIFY(!f.close());
    QVERIFY(f.window().isVisible());
    QCOMPARE(f.dialogs.errors, QStringList{ini + QStringLiteral(" に書き込めません")});
    QCOMPARE(f.settingsBytes(), before);
    // Closing without saving still works.
    control<QAction>(f.window(), "exitWithoutSavingIndexAction")->trigger();
    QVERIFY(!f.window().isVisible());
}

void MainWindowTest::dropOfNonMediaOrSeveralFiles() {
    WindowFixture f;
    f.writeSettings(kPlainSettings);
    QVERIFY(f.start());
    MainWindow& w = f.window();
    const QString a = f.addMediaFile(QStringLiteral("a.mp3"), 10);
    const QString b = f.addMediaFile(QStringLiteral("b.mp3"), 10);
    f.player.log.clear();
    f.session().dropFiles({a, b});
    QVERIFY(f.transport().mediaPath().isEmpty());
    QVERIFY(f.player.log.isEmpty());
    f.session().dropFiles({f.folder() + QStringLiteral("notes.txt")});
    QCOMPARE(control<ProgressBar>(w, "volumeBar")->positionTextPrefix(),
             QStringLiteral("▼notes.txt▲"));
    QVERIFY(f.session().pendingMediaPath().isEmpty());
    QVERIFY(f.transport().mediaPath().isEmpty());
    QVERIFY(QDir(f.folder()).mkdir(QStringLiteral("talks.mp3")));
    f.session().dropFiles({f.folder() + QStringLiteral("talks.mp3")});
    QCOMPARE(control<ProgressBar>(w, "volumeBar")->positionTextPrefix(),
             QStringLiteral("▼talks.mp3▲"));
    QVERIFY(f.transport().mediaPath().isEmpty());
    QVERIFY(f.player.log.isEmpty());
}

void MainWindowTest::playerErrorEndsHandlerWithErrorBox() {
    WindowFixture f;
    f.writeSettings(kPlainSettings);
    const QString media = f.addMediaFile(QStringLiteral("talk.mp3"), 600);
    QVERIFY(f.start());
    f.openMedia(media);
    f.player.failNext(QStringLiteral("play"));
    // Through the toolbar button, as a user would.
    control<QAction>(f.window(), "playPauseAction")->trigger();
    QCOMPARE(f.dialogs.errors.size(), 1);
    QVERIFY(f.dialogs.errors.first().contains(QStringLiteral("play")));
    QCOMPARE(f.player.playState(), PlayState::Paused);
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
