#include "index/index_commands.h"
#include "core/profile_file.h"
#include "core/settings_keys.h"
#include "fakes/fake_clipboard.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_player.h"
#include "fakes/test_files.h"
#include "index/index_controller.h"
#include "transport/transport_controller.h"

#include <QSignalSpy>
#include <QtTest>

namespace {
const QDateTime kWhen(QDate(2024, 7, 2), QTime(13, 5, 9));

// The index's commands on a fake player, as the window would hold them.
struct Rig {
    FakeClock clock;
    FakePlayer player{clock};
    TransportController transport{player, clock};
    IndexController index;
    FakeClipboard clipboard;
    QStringList questions;
    bool answer = true;
    bool addClipboard = true;
    bool protect = false;
    QString settingsPath;
    std::optional<QString> savePath;  // the save dialog's answer
    QStringList offeredPaths;
    IndexCommands commands{index, transport, clipboard, [this](const QString& question) {
                               questions << question;
                               return answer;
                           }};
    QSignalSpy leading{&commands, &IndexCommands::volumeBarLeadingTextChanged};
    QSignalSpy trailing{&commands, &IndexCommands::volumeBarTrailingTextChanged};
    QSignalSpy positionTrailing{&commands, &IndexCommands::positionBarTrailingTextChanged};
    QSignalSpy picker{&commands, &IndexCommands::timePickerTimeChanged};

    Rig() {
        commands.setAddClipboard([this] { return addClipboard; });
        commands.setProtectEntries([this] { return protect; });
        commands.setSettingsPath([this] { return settingsPath; });
        commands.setNow([] { return kWhen; });
        commands.setChooseSavePath([this](const QString&, const QString&, const QString& offered) {
            offeredPaths << offered;
            return savePath;
        });
    }

    // Opens a media file as the window's open command does, the index written first.
    void open(const QString& path, double duration) {
        player.addMedia(path, duration);
        commands.saveBeforeOpen();
        transport.closeMedia();
        transport.open(path);
    }
    void registerAt(int entry, double seconds) {
        transport.seek(seconds);
        commands.registerEntry(entry);
    }
    QString lastLeading() const { return leading.isEmpty() ? "-" : leading.last()[0].toString(); }
};
}  // namespace

class IndexCommandsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    int counter_ = 0;

    QString folder() {
        const QString path = dir_.filePath(QString::number(++counter_));
        QDir().mkpath(path);
        return path;
    }

private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    void registerFromMenu_data() {
        QTest::addColumn<bool>("addClipboard");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("clipboardAfter");
        QTest::addColumn<QString>("clipboard");
        QTest::newRow("with the note") << true << " 3. 0:01:23,　会議開始"
                                       << ""
                                       << "会議開始";
        QTest::newRow("notes off") << false << " 3. 0:01:23,　"
                                   << "会議開始"
                                   << "会議開始";
        // What Ctrl+Insert left there is Scribo's own, never a note.
        QTest::newRow("a pasted time code") << true << " 3. 0:01:23"
                                            << ""
                                            << "{▼[0:00:53]▲}";
    }

    void registerFromMenu() {
        QFETCH(bool, addClipboard);
        QFETCH(QString, caption);
        QFETCH(QString, clipboardAfter);
        QFETCH(QString, clipboard);
        Rig r;
        r.open(folder() + "/meeting.wma", 600);
        r.addClipboard = addClipboard;
        r.clipboard.content = clipboard;
        r.registerAt(3, 83.4);
        QCOMPARE(r.index.caption(3), caption);
        QCOMPARE(r.lastLeading(), caption);
        QCOMPARE(r.trailing.size(), 1);
        QCOMPARE(r.trailing.last()[0].toString(), QString());
        QVERIFY(r.positionTrailing.isEmpty());
        QCOMPARE(r.clipboard.content, clipboardAfter);
        QVERIFY(r.index.isChanged());
    }

    void menuTextIsSafeForMenus() {
        Rig r;
        r.open(folder() + "/meeting.wma", 600);
        r.clipboard.content = QStringLiteral("A&B\tC");
        r.registerAt(1, 83.4);
        QCOMPARE(r.commands.menuText(1), QStringLiteral(" 1. 0:01:23,　A&&B C"));
    }

    void protectModeRefusesAnOccupiedEntry() {
        Rig r;
        r.open(folder() + "/meeting.wma", 600);
        r.registerAt(3, 83.4);
        const QString caption = r.index.caption(3);
        r.protect = true;
        r.trailing.clear();
        r.clipboard.content = QStringLiteral("新しい");
        r.registerAt(3, 120);
        QCOMPARE(r.index.caption(3), caption);
        QCOMPARE(r.lastLeading(), IndexTexts::EntryLocked);
        QCOMPARE(r.positionTrailing.size(), 1);
        QVERIFY(r.trailing.isEmpty());
        // The note is used up whatever the click did.
        QCOMPARE(r.clipboard.content, QString());
    }

    void playEntry_data() {
        QTest::addColumn<qint64>("durationDelay");
        QTest::addColumn<bool>("plays");
        QTest::newRow("plays") << qint64(0) << true;
        // The length is still 0 just after opening: the entry lies beyond it.
        QTest::newRow("beyond the length") << qint64(60'000) << false;
    }

    void playEntry() {
        QFETCH(qint64, durationDelay);
        QFETCH(bool, plays);
        Rig r;
        r.player.setDurationDelay(durationDelay);
        r.open(folder() + "/meeting.wma", 600);
        r.registerAt(2, 30.5);
        r.transport.seek(100);
        r.transport.setRepeatPosition(7);
        r.player.log.clear();
        r.trailing.clear();

        r.commands.playEntry(2);
        QCOMPARE(r.transport.isPlaying(), plays);
        QCOMPARE(r.transport.repeatPosition(), plays ? 30.5 : 7.0);
        if (plays) {
            QCOMPARE(r.player.log.mid(0, 2), QStringList({"setPosition 30.5", "play"}));
            QCOMPARE(r.picker.last()[0].toTime(), QTime(0, 0, 30));
        } else {
            QVERIFY(r.player.log.isEmpty());
            QCOMPARE(r.lastLeading(), IndexTexts::BeyondLength);
            QCOMPARE(r.trailing.size(), 1);
            QVERIFY(r.picker.isEmpty());
        }
    }

    void appendingRegistrationFillsTheNextEntry() {
        Rig r;
        r.open(folder() + "/meeting.wma", 600);
        for (int n : {1, 2, 5})
            r.registerAt(n, 10.0 * n);
        r.clipboard.content = QStringLiteral("残る");
        r.transport.seek(83.4);
        r.commands.registerAppending();
        QCOMPARE(r.index.caption(6), QStringLiteral(" 6. 0:01:23,　残る"));
        QVERIFY(!r.index.book().isOccupied(3));
        QCOMPARE(r.transport.repeatPosition(), 83.4);
        QCOMPARE(r.lastLeading(), r.index.caption(6));
        QCOMPARE(r.clipboard.content, QStringLiteral("残る"));

        r.registerAt(29, 200);
        r.trailing.clear();
        r.commands.registerAppending();
        QCOMPARE(r.lastLeading(), IndexTexts::IndexFull);
        QCOMPARE(r.positionTrailing.size(), 1);
        QVERIFY(r.trailing.isEmpty());
    }

    void openingAnotherFileWritesTheFirstAndReadsTheSecond() {
        const QString first = folder() + "/first.wma";
        const QString second = folder() + "/second.mp3";
        {
            IndexController other;
            other.openMedia(second);
            other.registerAppending(50, QStringLiteral("二番目"), true, kWhen);
            other.save();
        }
        Rig r;
        r.open(first, 600);
        r.registerAt(1, 83.4);
        QSignalSpy captions(&r.index, &IndexController::entriesChanged);
        r.open(second, 600);

        IndexController reread;
        reread.openMedia(first);
        QCOMPARE(reread.caption(1), QStringLiteral(" 1. 0:01:23"));
        QCOMPARE(r.index.indexFileName(), QFileInfo(second).path() + "/second.mpx");
        QCOMPARE(r.index.caption(1), QStringLiteral(" 1. 0:00:50,　二番目"));
        QVERIFY(!r.index.isChanged());
        QVERIFY(!captions.isEmpty());
    }

    void refusedWriteKeepsTheChangeForTheGuard() {
        const QString media = folder() + "/meeting.wma";
        // A folder where the index file belongs cannot be replaced by a file.
        QVERIFY(QDir().mkpath(QFileInfo(media).path() + "/meeting.mpx"));
        Rig r;
        r.open(media, 600);
        r.registerAt(1, 83.4);
        QVERIFY_THROWS_EXCEPTION(ProfileWriteError, r.open(folder() + "/other.wma", 600));
        QVERIFY(r.index.isChanged());
        QCOMPARE(r.transport.mediaPath(), media);
        QVERIFY_THROWS_EXCEPTION(ProfileWriteError, r.commands.saveAtClose());
        QVERIFY(r.index.isChanged());
    }

    void closing_data() {
        QTest::addColumn<bool>("withoutSaving");
        QTest::addColumn<bool>("fileBefore");
        QTest::newRow("close") << false << false;
        QTest::newRow("close without saving, new file") << true << false;
        QTest::newRow("close without saving, file there") << true << true;
    }

    void closing() {
        QFETCH(bool, withoutSaving);
        QFETCH(bool, fileBefore);
        Rig r;
        const QString media = folder() + "/meeting.wma";
        const QString file = QFileInfo(media).path() + "/meeting.mpx";
        const QByteArray before = "[Memo]\r\nkept=1\r\n[Index]\r\n1=5\r\n";
        if (fileBefore) {
            QFile out(file);
            QVERIFY(out.open(QIODevice::WriteOnly) && out.write(before) == before.size());
        }
        r.open(media, 600);
        r.registerAt(2, 83.4);
        // Written a moment after the change, without waiting for the close.
        QTRY_VERIFY_WITH_TIMEOUT(testfiles::readAll(file).contains("\r\n2=83.4\r\n"), 3000);
        r.registerAt(3, 90);
        if (withoutSaving) r.commands.closeWithoutSaving();
        r.commands.saveAtClose();
        if (!withoutSaving)
            QVERIFY(testfiles::readAll(file).contains("\r\n3=90\r\n"));
        else if (fileBefore)
            QCOMPARE(testfiles::readAll(file), before);
        else
            QVERIFY(!QFileInfo::exists(file));
    }

    void undoBringsBackWhatWasErased_data() {
        QTest::addColumn<bool>("clearAll");
        QTest::newRow("a click on a filled entry") << false;
        QTest::newRow("the clear") << true;
    }

    void undoBringsBackWhatWasErased() {
        QFETCH(bool, clearAll);
        Rig r;
        r.open(folder() + "/meeting.wma", 600);
        r.registerAt(1, 10);
        r.registerAt(2, 20);
        QVERIFY(!r.index.canUndoErasure());
        if (clearAll)
            r.commands.clearAll();
        else
            r.registerAt(2, 30);  // erases entry 2
        QVERIFY(!r.index.book().isOccupied(2));
        r.registerAt(clearAll ? 1 : 5, 40);  // a registration since stays
        r.commands.undoErasure();
        QCOMPARE(r.index.book().entry(2).time, 20.0);
        QCOMPARE(r.index.book().entry(1).time, clearAll ? 40.0 : 10.0);
        QVERIFY(r.index.isChanged());
        QVERIFY(!r.index.canUndoErasure());
        // Another media file takes the undo with it.
        r.registerAt(2, 30);
        QVERIFY(r.index.canUndoErasure());
        r.open(folder() + "/other.wma", 600);
        QVERIFY(!r.index.canUndoErasure());
    }

    void nothingOfTheIndexOutlivesItsMedia() {
        const QString media = folder() + "/meeting.wma";
        Rig r;
        r.open(media, 600);
        r.registerAt(1, 83.4);
        r.player.addMedia("https://example.org/talk.mp3", 600);
        r.transport.openWebAddress("https://example.org/talk.mp3");
        QVERIFY(r.index.book().isEmpty());
        QVERIFY(r.index.indexFileName().isEmpty());
        QVERIFY(!QFileInfo::exists(QFileInfo(media).path() + "/meeting.mpx"));
    }

    void exportCsvNeedsAnOpenMedia() {
        const QString media = folder() + "/meeting.wma";
        Rig r;
        r.open(media, 600);
        r.registerAt(2, 83.4);
        r.commands.exportCsv();
        QCOMPARE(r.lastLeading(), QStringLiteral("meeting.csv"));
        QVERIFY(QFile::remove(QFileInfo(media).path() + "/meeting.csv"));
        // The remembered file was gone at start-up: no stale name to export under.
        r.commands.startUpWithoutMedia();
        r.leading.clear();
        r.commands.exportCsv();
        QVERIFY(r.leading.isEmpty());
        QCOMPARE(QDir(QFileInfo(media).path()).entryList(QDir::Files), QStringList());
    }

    void exportsAskWhere() {
        const QString dir = folder();
        Rig r;
        r.open(dir + "/meeting.wma", 600);
        r.clipboard.content = QStringLiteral("会議開始");
        r.registerAt(2, 83.4);
        r.commands.exportUtf8Csv();  // cancelled
        r.commands.exportText();     // cancelled
        QCOMPARE(r.offeredPaths,
                 QStringList({dir + "/meeting-index.csv", dir + "/meeting-index.txt"}));
        QCOMPARE(QDir(dir).entryList(QDir::Files), QStringList());

        r.savePath = dir + "/chosen.csv";
        r.commands.exportUtf8Csv();
        QCOMPARE(testfiles::readAll(*r.savePath),
                 QByteArray("エントリー,タイムコード,テキスト,登録日時\r\n"
                            "2,0:01:23,会議開始,2024-07-02T13:05:09\r\n"));
        r.savePath = dir + "/chosen.txt";
        r.commands.exportText();
        QCOMPARE(testfiles::readAll(*r.savePath), QByteArray("0:01:23  会議開始\n"));
        QCOMPARE(r.lastLeading(), QStringLiteral("chosen.txt"));
        r.commands.startUpWithoutMedia();  // the media file was gone at start-up
        r.commands.exportText();
        QCOMPARE(r.offeredPaths.size(), 4);
    }

    void clearAllAsksFirst_data() {
        QTest::addColumn<bool>("answer");
        QTest::newRow("yes") << true;
        QTest::newRow("no") << false;
    }

    void clearAllAsksFirst() {
        QFETCH(bool, answer);
        Rig r;
        r.open(folder() + "/meeting.wma", 600);
        r.registerAt(1, 83.4);
        r.index.save();
        r.answer = answer;
        r.commands.clearAll();
        QCOMPARE(r.questions, QStringList{IndexTexts::ClearAllPrompt});
        QCOMPARE(r.index.book().isEmpty(), answer);
        QCOMPARE(r.index.isChanged(), answer);
    }

    void savingAndRestoringThePosition() {
        const QString dir = folder();
        Rig r;
        r.settingsPath = dir + "/Scribo.inf";
        r.open(dir + "/meeting.wma", 600);
        r.registerAt(1, 83.4);
        r.transport.seek(300);
        r.player.play();
        r.commands.savePosition();
        QVERIFY(!r.transport.isPlaying());
        QVERIFY(!r.index.isChanged());
        QCOMPARE(ProfileFile(r.settingsPath).readFloat(Ini::Record, Ini::SavedPosition, 0), 300.0);

        r.transport.seek(20);
        r.player.play();
        r.commands.restorePosition();
        QVERIFY(!r.transport.isPlaying());
        QCOMPARE(r.transport.position(), 300.0);
        QCOMPARE(r.transport.savedPosition(), 300.0);
    }

    void restoringAtTheVeryEndOnlyPauses() {
        const QString dir = folder();
        Rig r;
        r.settingsPath = dir + "/Scribo.inf";
        r.open(dir + "/meeting.wma", 600);
        ProfileFile(r.settingsPath).writeFloat(Ini::Record, Ini::SavedPosition, 300);
        r.transport.seek(600);
        r.player.log.clear();
        r.commands.restorePosition();
        QCOMPARE(r.player.count("setPosition"), 0);
        QCOMPARE(r.transport.position(), 600.0);
    }

    void withoutMediaNothingHappens() {
        Rig r;
        r.settingsPath = folder() + "/Scribo.inf";
        r.commands.registerEntry(1);
        r.commands.registerAppending();
        r.commands.savePosition();
        QVERIFY(r.leading.isEmpty());
        QVERIFY(!r.index.isChanged());
        QVERIFY(!QFileInfo::exists(r.settingsPath));
        QCOMPARE(r.clipboard.clears, 0);
    }
};

QTEST_GUILESS_MAIN(IndexCommandsTest)
#include "index_commands_test.moc"
