// The index as the window's menus reach it: registering, playing, clearing, exporting and the
// index file written at close, on fakes.

#include <QAction>
#include <QDir>
#include <QFile>
#include <QtTest>

#include "core/profile_file.h"
#include "core/settings_keys.h"
#include "fakes/transport_setup.h"
#include "fakes/window_fixture.h"
#include "index/entry_book.h"

using transportsetup::startWithMedia;

class IndexMenuTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void registersFromMenuWithClipboardNoteAndPlaysIt();
    void closeWritesIndexFileThatComesBackInTheMenus();
    void refusedIndexWriteAtCloseKeepsWindowOpen();
    void clearAllAsksAndCsvErrorShowsBox();
};

void IndexMenuTest::registersFromMenuWithClipboardNoteAndPlaysIt() {
    WindowFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.window();
    control<QAction>(w, "addClipboardNoteAction")->setChecked(true);
    f.player.setPosition(83.4);
    f.clipboard.content = QStringLiteral("会議\r\n開始 & 決定");

    registerEntryAction(w, 3)->trigger();

    QVERIFY(f.dialogs.errors.isEmpty());
    const QString caption = f.session().index().caption(3);
    QVERIFY2(caption.startsWith(QStringLiteral(" 3.")), qPrintable(caption));
    QVERIFY2(caption.contains(QStringLiteral("会議 開始 & 決定")), qPrintable(caption));
    // Both menus show it, the "&" doubled so that it is not taken for a shortcut mark.
    QCOMPARE(registerEntryAction(w, 3)->text(), f.session().indexCommands().menuText(3));
    QCOMPARE(playEntryAction(w, 3)->text(), f.session().indexCommands().menuText(3));
    QVERIFY(playEntryAction(w, 3)->text().contains(QStringLiteral("&& 決定")));
    QCOMPARE(playEntryAction(w, 4)->text(), IndexBook::entryLabel(4));
    QVERIFY(f.clipboard.content.isEmpty());
    QVERIFY(f.session().index().isChanged());

    f.player.setPosition(0);
    playEntryAction(w, 3)->trigger();
    QVERIFY(std::abs(f.player.position() - 83.4) < 1.0);
}

void IndexMenuTest::closeWritesIndexFileThatComesBackInTheMenus() {
    WindowFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.window();
    control<QAction>(w, "addClipboardNoteAction")->setChecked(true);
    f.player.setPosition(12);
    f.clipboard.content = QStringLiteral("冒頭");
    registerEntryAction(w, 1)->trigger();
    f.player.setPosition(75);
    registerEntryAction(w, 2)->trigger();
    const QString first = playEntryAction(w, 1)->text(), second = playEntryAction(w, 2)->text();
    const QString indexFile = f.folder() + QStringLiteral("talk.mpx");
    QVERIFY(!QFile::exists(indexFile));

    // The full settings write names the open media's index file.
    f.settings().saveAll();
    QCOMPARE(ProfileFile(f.settings().path()).readString(Ini::General, Ini::IndexFile, QString()),
             indexFile);

    QVERIFY(f.close());
    QVERIFY(QFile::exists(indexFile));

    // The next start opens the remembered media and its index with it.
    WindowFixture again;
    QVERIFY(QFile::copy(indexFile, again.folder() + QStringLiteral("talk.mpx")));
    again.addMediaFile(QStringLiteral("talk.mp3"), 600);
    const QByteArray settings =
        f.settingsBytes().replace(f.folder().toUtf8(), again.folder().toUtf8());
    QFile ini(again.folder() + QStringLiteral("Scribo.inf"));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write(settings);
    ini.close();
    QVERIFY(again.start());
    QCOMPARE(again.transport().mediaPath(), again.folder() + QStringLiteral("talk.mp3"));
    QCOMPARE(playEntryAction(again.window(), 1)->text(), first);
    QCOMPARE(registerEntryAction(again.window(), 2)->text(), second);
    QVERIFY(!again.session().index().isChanged());
}

void IndexMenuTest::refusedIndexWriteAtCloseKeepsWindowOpen() {
    WindowFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.window();
    w.show();
    const QString indexFile = f.folder() + QStringLiteral("talk.mpx");
    // A folder where the index file should be cannot be written over.
    QVERIFY(QDir(f.folder()).mkdir(QStringLiteral("talk.mpx")));
    f.player.setPosition(30);
    registerEntryAction(w, 1)->trigger();

    QVERIFY(!f.close());
    QVERIFY(w.isVisible());
    QCOMPARE(f.dialogs.errors, QStringList{indexFile + QStringLiteral(" に書き込めません")});
    QVERIFY(f.session().index().isChanged());
    // Leaving without saving the index still closes.
    control<QAction>(w, "exitWithoutSavingIndexAction")->trigger();
    QVERIFY(!w.isVisible());
    QCOMPARE(f.dialogs.errors.size(), 1);
}

void IndexMenuTest::clearAllAsksAndCsvErrorShowsBox() {
    WindowFixture f;
    startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    MainWindow& w = f.window();
    f.player.setPosition(30);
    registerEntryAction(w, 5)->trigger();

    f.dialogs.yesNoAnswers = {false};
    control<QAction>(w, "clearIndexAction")->trigger();
    QCOMPARE(f.dialogs.questions.size(), 1);
    QVERIFY(playEntryAction(w, 5)->text() != IndexBook::entryLabel(5));

    // A CSV file that cannot be written ends the command with the error box.
    QVERIFY(QDir(f.folder()).mkdir(QStringLiteral("talk.csv")));
    control<QAction>(w, "exportCsvAction")->trigger();
    QCOMPARE(f.dialogs.errors.size(), 1);

    control<QAction>(w, "clearIndexAction")->trigger();  // Yes
    QCOMPARE(playEntryAction(w, 5)->text(), IndexBook::entryLabel(5));
    QVERIFY(f.session().index().isChanged());
}

QTEST_MAIN(IndexMenuTest)
#include "index_menu_test.moc"
