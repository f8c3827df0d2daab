// The window on fakes when the user's files misbehave: settings or index files that cannot be
// written or have gone, damaged bytes and huge lines in them, and a clipboard of a megabyte.
// Every file the user had is either left byte for byte or fully updated, and nothing crashes.

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QToolButton>
#include <QtTest>

#include "core/entry_gate.h"
#include "fakes/test_files.h"
#include "fakes/transport_setup.h"
#include "fakes/window_fixture.h"
#include "index/index_file.h"
#include "keyboard/hotkey_dispatcher.h"

namespace {
const QString kMedia = QStringLiteral("talk.mp3");
const QByteArray kIndex = "[Index]\n1=12.5\n[IndexComment]\n1=冒頭\n40=\n";

// A megabyte of text that is neither a time code nor an address, with line breaks and
// characters CP932 cannot hold.
QString megabyteOfText() {
    QString text;
    text.reserve(1 << 20);
    while (text.size() < (1 << 20))
        text += QStringLiteral("会議の記録 1:02:03 line\r\n\U0001F600 www example ");
    return text;
}

QByteArray crLf(QByteArray lines) {
    return lines.replace("\n", "\r\n");
}

// Whether the file holds these whole lines one after the other.
bool containsLines(const QByteArray& file, const QByteArray& block) {
    const QList<QByteArray> lines = file.split('\n');
    QList<QByteArray> wanted = (block + "\r\n").split('\n');
    wanted.removeLast();  // what follows the last line break
    for (qsizetype i = 0; i + wanted.size() <= lines.size(); ++i)
        if (std::equal(wanted.begin(), wanted.end(), lines.begin() + i)) return true;
    return false;
}

enum class Fault { SettingsReadOnly, IndexReadOnly, FolderReadOnly, FolderRemoved };
}  // namespace

Q_DECLARE_METATYPE(Fault)

class FileFaultsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void refusedFilesAtCloseAreLeftWhole_data();
    void refusedFilesAtCloseAreLeftWhole();
    void damagedLinesSurviveReadAndWrite_data();
    void damagedLinesSurviveReadAndWrite();
    void megabyteClipboardIsHandled();
};

void FileFaultsTest::refusedFilesAtCloseAreLeftWhole_data() {
    QTest::addColumn<Fault>("fault");
    QTest::newRow("settings file read-only") << Fault::SettingsReadOnly;
    QTest::newRow("index file read-only") << Fault::IndexReadOnly;
    QTest::newRow("folder read-only") << Fault::FolderReadOnly;
    QTest::newRow("folder removed") << Fault::FolderRemoved;
}

void FileFaultsTest::refusedFilesAtCloseAreLeftWhole() {
    QFETCH(Fault, fault);
    WindowFixture f;
    testfiles::writeCrLf(f.folder() + QStringLiteral("talk.mpx"), kIndex);
    transportsetup::startWithMedia(f, kMedia, 600);
    MainWindow& w = f.window();
    w.show();
    const QString settings = f.settings().path();
    const QString index = f.folder() + QStringLiteral("talk.mpx");
    const QByteArray settingsBefore = testfiles::readAll(settings);
    const QByteArray indexBefore = testfiles::readAll(index);
    const auto readOnly = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    switch (fault) {
        case Fault::SettingsReadOnly:
            QVERIFY(QFile::setPermissions(settings, readOnly));
            break;
        case Fault::IndexReadOnly:
            QVERIFY(QFile::setPermissions(index, readOnly));
            break;
        case Fault::FolderReadOnly:
            QVERIFY(QFile::setPermissions(f.folder(), readOnly | QFile::ExeOwner));
            break;
        case Fault::FolderRemoved:
            QVERIFY(QDir(f.folder()).removeRecursively());
            break;
    }
    f.player.setPosition(30);
    registerEntryAction(w, 2)->trigger();

    // Close says which file it cannot write and stays open, so nothing is lost unnoticed.
    QVERIFY(!f.close());
    QVERIFY(w.isVisible());
    QCOMPARE(f.dialogs.errors.size(), 1);
    QVERIFY2(f.dialogs.errors.first().endsWith(QStringLiteral(" に書き込めません")),
             qPrintable(f.dialogs.errors.first()));
    // Leaving without saving still ends the program.
    control<QAction>(w, "exitWithoutSavingIndexAction")->trigger();
    QVERIFY(!w.isVisible());
    QCOMPARE(f.dialogs.errors.size(), 1);

    QFile::setPermissions(f.folder(), readOnly | QFile::ExeOwner | QFile::WriteOwner);
    if (fault == Fault::FolderRemoved) {
        QVERIFY(!QDir(f.folder()).exists());  // nothing was recreated behind the user's back
    } else {
        const QByteArray settingsAfter = testfiles::readAll(settings);
        if (fault == Fault::IndexReadOnly)  // written in full before the index was refused
            QVERIFY(settingsAfter.startsWith(settingsBefore) &&
                    settingsAfter.endsWith("[Record]\r\nPosition=30\r\n"));
        else
            QCOMPARE(settingsAfter, settingsBefore);
        QCOMPARE(testfiles::readAll(index), indexBefore);
        QCOMPARE(QDir(f.folder()).entryList(QDir::Files).size(), 3);  // no temporary left
    }
}

void FileFaultsTest::damagedLinesSurviveReadAndWrite_data() {
    QTest::addColumn<QByteArray>("damage");
    // Lead bytes without their trail byte, bytes CP932 does not use, and a stray CR.
    QTest::newRow("invalid CP932") << QByteArray("; \x81\n\x82\x20\xff\xfe\xa0\x85\x40=\x81\r\x81");
    QTest::newRow("100 000-byte lines")
        << (QByteArray("Long=") + QByteArray(100'000, 'x') + '\n' + QByteArray(100'000, '\x82'));
}

void FileFaultsTest::damagedLinesSurviveReadAndWrite() {
    QFETCH(QByteArray, damage);
    WindowFixture f;
    const QString media = f.addMediaFile(kMedia, 600);
    const QString index = f.folder() + QStringLiteral("talk.mpx");
    // The damage sits in the sections that are read and written, between the keys used.
    const QByteArray settingsLines =
        "[FormPosition]\nTop=120\n" + damage + "\nLeft=300\n[Record]\n" + damage + "\nPosition=7\n";
    f.writeSettings(settingsLines);
    testfiles::writeCrLf(index, "[Index]\n" + damage + "\n1=12.5\n[IndexComment]\n1=" + damage +
                                    "\n" + damage + "\n");
    QVERIFY(f.start());
    QCOMPARE(f.settings().item(Setting::WindowTop), 120);
    f.openMedia(media);
    MainWindow& w = f.window();
    QCOMPARE(f.session().index().book().entry(1).time, 12.5);
    f.player.setPosition(75);
    registerEntryAction(w, 2)->trigger();
    QVERIFY(f.close());
    QVERIFY2(f.dialogs.errors.isEmpty(), qPrintable(f.dialogs.errors.join(QLatin1Char('\n'))));

    // Damaged lines are compared line by line: a search for one of them would take minutes.
    QVERIFY(f.settingsBytes().startsWith(
        crLf("[FormPosition]\nTop=120\n" + damage + "\nLeft=300\n[Record]\n" + damage + "\n")));
    const QByteArray indexAfter = testfiles::readAll(index);
    QVERIFY(indexAfter.startsWith(crLf("[Index]\n" + damage + "\n1=12.5\n2=75\n")));
    // Entry 1's record text is written anew as read; the damage after it stays as it was.
    QVERIFY(containsLines(indexAfter, crLf(damage.mid(damage.indexOf('\n') + 1) + '\n' + damage)));
    const IndexBook reread = readIndexFile(index);
    QCOMPARE(reread.entry(1).time, 12.5);
    QCOMPARE(reread.entry(2).time, 75.0);
}

void FileFaultsTest::megabyteClipboardIsHandled() {
    WindowFixture f;
    transportsetup::startWithMedia(f, kMedia, 600);
    MainWindow& w = f.window();
    const QString text = megabyteOfText();
    QElapsedTimer timer;
    timer.start();

    // Ctrl+Print Screen finds no time code in it and leaves the clipboard alone.
    FakeKeystrokeOutput keystrokes;
    HotkeyDispatcher keys(f.transport(), f.session().indexCommands(), f.clipboard, keystrokes,
                          f.session().gate());
    f.clipboard.content = text;
    f.player.setPosition(40);
    QVERIFY(!keys.playFromClipboardTimeCode());
    QCOMPARE(f.player.position(), 40.0);
    QCOMPARE(f.clipboard.content.size(), text.size());

    // The URL panel's paste finds no address in it.
    QGuiApplication::clipboard()->setText(text);
    control<QToolButton>(w, "pasteAddressButton")->click();
    QCOMPARE(f.session().urlPanel().pastedAddresses().size(), 0);
    QCOMPARE(f.transport().mediaPath(), f.folder() + kMedia);

    // An index entry takes it as its note; the index file holds it and reads back.
    control<QAction>(w, "addClipboardNoteAction")->setChecked(true);
    registerEntryAction(w, 4)->trigger();
    QVERIFY(f.session().index().isChanged());
    QVERIFY(f.close());
    QVERIFY(f.dialogs.errors.isEmpty());
    const IndexBook reread = readIndexFile(f.folder() + QStringLiteral("talk.mpx"));
    QCOMPARE(reread.entry(4).time, 40.0);
    QVERIFY(!reread.entry(4).recordText.isEmpty());
    QVERIFY2(timer.elapsed() < 10'000, qPrintable(QString::number(timer.elapsed())));
}

QTEST_MAIN(FileFaultsTest)
#include "file_faults_test.moc"
