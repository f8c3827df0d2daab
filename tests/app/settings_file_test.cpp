// The settings file as the window uses it: the start-up read, the full write and the writes of
// single keys, on fakes. Key names are spelled out here rather than taken from the program, so a
// misspelt key in the program shows up as a failure.

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimeEdit>
#include <QtTest>

#include "core/cp932.h"
#include "core/profile_file.h"
#include "fakes/window_fixture.h"
#include "transport/media_player.h"

namespace {
QString readKey(const QString& path, const QString& section, const QString& key) {
    return ProfileFile(path).readString(section, key, QStringLiteral("<missing>"));
}

QString flagText(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

struct MenuFlag {
    const char* item;
    const char* key;
};

// In the order of the full write; the last one is written only by its own toggle.
const MenuFlag kMenuFlags[] = {
    {"addClipboardNoteAction", "AddClipboard"},
    {"ignoreCapsLockAction", "DontUseCapsLockkey"},
    {"ignoreCtrlSpaceAction", "DontUseCtrlSpacekey"},
    {"keepPanelOpenAction", "SettingPanel"},
    {"protectEntriesAction", "ProtectItem"},
    {"ignoreBackspaceAction", "DontUseBackSpace"},
    {"ignoreInsertAction", "DontUseInsert"},
    {"ignorePrintScreenAction", "DontUsePrintScr"},
    {"ignoreAltCharacterAction", "DontUseAltPrintableKey"},
    {"ignoreConvertKeysAction", "DontUseConvert"},
    {"ignoreBackslashAction", "DontUseBackSlash"},
    {"ignoreBracketKeyAction", "DontUseRightSQBKT"},
    {"ignoreF1Action", "DontUseF1"},
    {"ignoreF2Action", "DontUseF2"},
    {"ignorePedalAction", "DontUseUseFooptPeadl"},
    {"twoPedalsKeepSpeedAndVolumeAction", "DontChangeSpeedVolume"},
};

const MenuFlag kHotkeyToggles[] = {
    {"ignoreCapsLockAction", "DontUseCapsLockkey"},
    {"ignoreCtrlSpaceAction", "DontUseCtrlSpacekey"},
    {"ignoreBackspaceAction", "DontUseBackSpace"},
    {"ignoreInsertAction", "DontUseInsert"},
    {"ignoreConvertKeysAction", "DontUseConvert"},
    {"ignorePrintScreenAction", "DontUsePrintScr"},
    {"ignoreBackslashAction", "DontUseBackSlash"},
    {"ignoreAltCharacterAction", "DontUseAltPrintableKey"},
    {"ignoreBracketKeyAction", "DontUseRightSQBKT"},
    {"ignoreF1Action", "DontUseF1"},
    {"ignoreF2Action", "DontUseF2"},
};

const char* const kGroups[] = {
    "autoRewindGroup",  "repeatIntervalGroup", "speedGroup",
    "centrePedalGroup", "leftPedalGroup",      "rightPedalGroup",
    "forwardStepGroup", "rewindStepGroup",     "pedalModeGroup",
};

// Everything the settings file restores, with what follows from it, as comparable lines.
QStringList snapshot(WindowFixture& f) {
    MainWindow& w = f.window();
    const MediaPlayer& player = f.player;
    QStringList s;
    for (auto group : kGroups)
        s << QString::number(control<RadioGroup>(w, group)->itemIndex());
    for (const MenuFlag& flag : kMenuFlags)
        s << QStringLiteral("%1=%2").arg(flag.key,
                                         flagText(control<QAction>(w, flag.item)->isChecked()));
    s << control<QTimeEdit>(w, "timePicker")->time().toString(QStringLiteral("H:mm:ss.zzz"))
      << QString::number(f.transport().volume()) << f.transport().mediaPath()
      << f.transport().mediaName() << f.transport().mediaUrl()
      << f.session().index().indexFileName() << QString::number(player.position())
      << QString::number(f.transport().chosenSpeed())
      << QString::number(f.transport().rewindSeconds())
      << QString::number(f.transport().repeatInterval())
      << QString::number(f.transport().forwardStep()) << QString::number(f.transport().rewindStep())
      << QString::number(int(f.session().pedal().settings().centre))
      << QString::number(int(f.session().pedal().settings().left))
      << QString::number(int(f.session().pedal().settings().right));
    return s;
}

const QByteArray kPlainSettings = "[FormPosition]\nTop=120\nLeft=300\n[Play]\nSpeed=2\n";
}  // namespace

class SettingsFileTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fullWriteRoundTripsSettings();
    void fullWriteRoundTripsMediaAndPosition();
    void fullWriteKeepsOtherLinesInPlace();
    void fullWriteOfEmptyFileHasFixedBytes();
    void mediaPathIsWrittenAsCp932();
    void namesCp932CannotHoldSurviveRestart_data();
    void namesCp932CannotHoldSurviveRestart();
    void everyStoredPathKeepsItsExactForm();
    void windowPositionFallsBackWhenUnreachable_data();
    void windowPositionFallsBackWhenUnreachable();
    void speedItemIsClamped_data();
    void speedItemIsClamped();
    void missingOrDamagedKeysReadAsZero();
    void startUpWritesNothingAndGroupsWriteAfterIt();
    void actualTimeIsFractionOfDay();
    void fileVolumeLeavesPlayerAndIsWrittenBack();
    void panelAndClipboardTogglesNeedMedia();
    void protectItemNeedsMediaButNotFile();
    void hotkeyTogglesWriteAndPauseWithFile();
    void hotkeyTogglesWithoutFileOnlyFlip();
    void pedalAndSpeedVolumeTogglesWriteWithFile();
    void refusedWriteShowsErrorAndStopsHandler();
    void refusedFullWriteLeavesFileWhole();
    void appearHereStoresWindowPosition();
};

void SettingsFileTest::fullWriteRoundTripsSettings() {
    WindowFixture a;
    const QString ini = a.writeSettings(kPlainSettings);
    QVERIFY(a.start());
    MainWindow& w = a.window();
    const int items[] = {11, 5, 5, 1, 2, 0, 6, 4, 1};
    for (std::size_t i = 0; i < std::size(kGroups); ++i)
        control<RadioGroup>(w, kGroups[i])->setItemIndex(items[i]);
    // Every flag the full write keeps goes to the other side of where it stood.
    for (const MenuFlag& flag : kMenuFlags) {
        QAction* item = control<QAction>(w, flag.item);
        if (item != control<QAction>(w, "twoPedalsKeepSpeedAndVolumeAction"))
            item->setChecked(!item->isChecked());
    }
    control<QTimeEdit>(w, "timePicker")->setTime(QTime(1, 23, 45));
    a.transport().loadVolume(73);
    a.transport().setMediaUrl(QStringLiteral("https://example.com/talk?id=7&x=a b"));
    a.settings().saveAll();
    const QStringList before = snapshot(a);

    WindowFixture b;
    b.writeSettings(a.settingsBytes());
    QVERIFY(b.start());
    QCOMPARE(snapshot(b), before);
    QCOMPARE(control<RadioGroup>(b.window(), "autoRewindGroup")->itemIndex(), 11);
}

void SettingsFileTest::fullWriteRoundTripsMediaAndPosition() {
    WindowFixture a;
    const QString media = a.addMediaFile(QStringLiteral("interview.mp3"), 600);
    const QString ini = a.writeSettings(kPlainSettings);
    QVERIFY(a.start());
    MainWindow& w = a.window();
    a.openMedia(media);
    a.player.setPosition(83.4);
    control<RadioGroup>(w, "speedGroup")->setItemIndex(4);
    control<QAction>(w, "ignoreInsertAction")->setChecked(true);
    a.settings().saveAll();
    const QStringList before = snapshot(a);

    WindowFixture b;
    b.player.addMedia(media, 600);  // the media stays in the first folder
    b.writeSettings(a.settingsBytes());
    QVERIFY(b.start());
    QCOMPARE(snapshot(b), before);
    QCOMPARE(b.transport().mediaPath(), media);
    QCOMPARE(b.transport().mediaName(), QStringLiteral("interview.mp3"));
    QCOMPARE(b.transport().savedPosition(), 83.4);
    QCOMPARE(b.player.address(), media);
    QCOMPARE(b.player.position(), 83.4);
}

void SettingsFileTest::fullWriteKeepsOtherLinesInPlace() {
    WindowFixture f;
    const QString ini = f.writeSettings(
        "; Scribo settings, edited by hand\n[FormPosition]\nTop=120\n  Left = 300  \n"
        "[Custom]\nFoo = bar  baz\n# not a key\n\n"
        "[general]\nFILE=\nExtra=keep me\n\n"
        "[Play]\nvolume = 35\nUnknown  =  spaced  \nSpeed=4\nAutoBackSpace=9\n"
        "[Pedal]\nCenter=2\nRight=1\nFWDPitch=5\nREWPitch=6\nPedalMode=1\n"
        "[Menu]\nMystery=yes\nDontChangeSpeedVolume=1\nDontUseF1=1\nAddClipboard=1\n");
    QVERIFY(f.start());
    f.settings().saveAll();
    // Lines already there keep their place and bytes; written keys keep the file's spelling;
    // missing keys go to the end of their section, missing sections to the end of the file.
    const QByteArray expected =
        "; Scribo settings, edited by hand\r\n[FormPosition]\r\nTop=120\r\n  Left = 300  \r\n"
        "[Custom]\r\nFoo = bar  baz\r\n# not a key\r\n\r\n"
        "[general]\r\nFILE=\r\nExtra=keep me\r\nURL=\r\nIndex=\r\n\r\n"
        "[Play]\r\nvolume=35\r\nUnknown  =  spaced  \r\nSpeed=4\r\nAutoBackSpace=9\r\n"
        "ActualTime=0\r\nActualSpeed=1.5\r\nRepeatTime=0\r\n"
        "[Pedal]\r\nCenter=2\r\nRight=1\r\nFWDPitch=5\r\nREWPitch=6\r\nPedalMode=1\r\nLeft=0\r\n"
        "[Menu]\r\nMystery=yes\r\nDontChangeSpeedVolume=1\r\nDontUseF1=1\r\nAddClipboard=1\r\n"
        "DontUseCapsLockkey=0\r\nDontUseCtrlSpacekey=0\r\nSettingPanel=0\r\nProtectItem=0\r\n"
        "DontUseBackSpace=0\r\nDontUseInsert=0\r\nDontUsePrintScr=0\r\n"
        "DontUseAltPrintableKey=0\r\nDontUseConvert=0\r\nDontUseBackSlash=0\r\n"
        "DontUseRightSQBKT=0\r\nDontUseF2=0\r\nDontUseUseFooptPeadl=0\r\n"
        "[Record]\r\nPosition=0\r\n";
    QCOMPARE(f.settingsBytes(), expected);
}

void SettingsFileTest::fullWriteOfEmptyFileHasFixedBytes() {
    WindowFixture f;
    const QString ini = f.writeSettings("");
    QVERIFY(f.start());
    f.settings().saveAll();
    // Speed item 0 is 0.6 times; every other value of an empty file is 0.
    const QByteArray expected =
        "[General]\r\nFile=\r\nURL=\r\nIndex=\r\n"
        "[Record]\r\nPosition=0\r\n"
        "[Play]\r\nActualTime=0\r\nVolume=0\r\nActualSpeed=0.6\r\nAutoBackSpace=0\r\nSpeed=0\r\n"
        "RepeatTime=0\r\n"
        "[Pedal]\r\nCenter=0\r\nLeft=0\r\nRight=0\r\nFWDPitch=0\r\nREWPitch=0\r\nPedalMode=0\r\n"
        "[Menu]\r\nAddClipboard=0\r\nDontUseCapsLockkey=0\r\nDontUseCtrlSpacekey=0\r\n"
        "SettingPanel=0\r\nProtectItem=0\r\nDontUseBackSpace=0\r\nDontUseInsert=0\r\n"
        "DontUsePrintScr=0\r\nDontUseAltPrintableKey=0\r\nDontUseConvert=0\r\n"
        "DontUseBackSlash=0\r\nDontUseRightSQBKT=0\r\nDontUseF1=0\r\nDontUseF2=0\r\n"
        "DontUseUseFooptPeadl=0\r\n";
    QCOMPARE(f.settingsBytes(), expected);
}

void SettingsFileTest::mediaPathIsWrittenAsCp932() {
    WindowFixture f;
    // 表 and ソ end in the byte of a backslash, which must pass through untouched.
    const QString media = f.addMediaFile(QStringLiteral("表示ソフト録音.mp3"), 60);
    const QString ini = f.writeSettings("");
    QVERIFY(f.start());
    f.openMedia(media);
    f.settings().saveAll();
    const QByteArray line = "File=" + QFile::encodeName(f.folder()) +
                            "\x95\x5c\x8e\xa6\x83\x5c\x83t\x83g\x98^\x89\xb9.mp3\r\n";
    QVERIFY2(f.settingsBytes().contains("[General]\r\n" + line), f.settingsBytes().constData());
    QCOMPARE(readKey(ini, QStringLiteral("General"), QStringLiteral("File")), media);
}

void SettingsFileTest::namesCp932CannotHoldSurviveRestart_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("keptApart");
    QTest::newRow("e acute") << QStringLiteral("Café.mp3") << true;
    QTest::newRow("en dash") << QStringLiteral("interview – part 2.mp3") << true;
    QTest::newRow("emoji") << QStringLiteral("memo 😀.mp3") << true;
    // Comes back from code page 932 as U+FF5E.
    QTest::newRow("wave dash") << QStringLiteral("会議〜続き.mp3") << true;
    QTest::newRow("code page 932") << QStringLiteral("表示ソフト録音～.mp3") << false;
}

void SettingsFileTest::namesCp932CannotHoldSurviveRestart() {
    QFETCH(QString, name);
    QFETCH(bool, keptApart);
    WindowFixture a;
    const QString media = a.addMediaFile(name, 600);
    a.writeSettings(kPlainSettings);
    QVERIFY(a.start());
    a.openMedia(media);
    a.player.setPosition(12.5);
    QVERIFY(a.close());
    // General/File as always, for whoever else reads the file.
    QVERIFY(a.settingsBytes().contains("[General]\r\nFile=" + toCp932(media) + "\r\n"));
    QCOMPARE(a.settingsBytes().contains("Scribo.UTF8"), keptApart);

    WindowFixture b;
    b.player.addMedia(media, 600);
    b.writeSettings(a.settingsBytes());
    QVERIFY(b.start());
    QCOMPARE(b.transport().mediaPath(), media);
    QCOMPARE(b.player.address(), media);
    QCOMPARE(b.player.position(), 12.5);
}

void SettingsFileTest::everyStoredPathKeepsItsExactForm() {
    WindowFixture a;
    const QString media = a.addMediaFile(QStringLiteral("Zoë 😀.mp3"), 600);
    const QString ini = a.writeSettings(kPlainSettings);
    QVERIFY(a.start());
    a.openMedia(media);
    const QString address = QStringLiteral("https://example.com/Zoë–talk");
    a.transport().setMediaUrl(address);
    a.settings().saveAll();
    const ProfileFile file(ini);
    auto exact = [&](const char* key) {
        return file.readUtf8String(QStringLiteral("Scribo.UTF8"), QLatin1String(key),
                                   QStringLiteral("<missing>"));
    };
    QCOMPARE(exact("File"), media);
    QCOMPARE(exact("URL"), address);
    QCOMPARE(exact("Index"), a.folder() + QStringLiteral("Zoë 😀.mpx"));
    WindowFixture b;
    b.player.addMedia(media, 600);
    b.writeSettings(a.settingsBytes());
    QVERIFY(b.start());
    QCOMPARE(b.transport().mediaPath(), media);
    QCOMPARE(b.transport().mediaUrl(), address);

    // Once the texts fit code page 932 again, nothing of ours stays behind.
    a.openMedia(a.addMediaFile(QStringLiteral("plain.mp3"), 60));
    a.transport().setMediaUrl(QString());
    a.settings().saveAll();
    QVERIFY(!a.settingsBytes().contains("Scribo.UTF8"));

    // A value another program wrote since makes ours stale: what it wrote wins.
    WindowFixture c;
    const QString other = c.addMediaFile(QStringLiteral("other.mp3"), 60);
    c.player.addMedia(media, 600);
    c.writeSettings("[General]\nFile=" + other.toUtf8() +
                    "\n[Scribo.UTF8]\nFile=" + media.toUtf8() + "\n");
    QVERIFY(c.start());
    QCOMPARE(c.transport().mediaPath(), other);
}

void SettingsFileTest::windowPositionFallsBackWhenUnreachable_data() {
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QPoint>("topLeft");
    QTest::newRow("zero and negative")
        << QByteArray("[FormPosition]\nTop=0\nLeft=-20\n") << QPoint(800, 100);
    QTest::newRow("small but positive")
        << QByteArray("[FormPosition]\nTop=5\nLeft=5\n") << QPoint(5, 5);
    QTest::newRow("missing") << QByteArray("[Play]\nSpeed=2\n") << QPoint(800, 100);
    // Saved on a monitor that is no longer there.
    QTest::newRow("off every screen")
        << QByteArray("[FormPosition]\nTop=40000\nLeft=40000\n") << QPoint(800, 100);
    QTest::newRow("beside the screen")
        << QByteArray("[FormPosition]\nTop=100\nLeft=2500\n") << QPoint(800, 100);
}

void SettingsFileTest::windowPositionFallsBackWhenUnreachable() {
    QFETCH(QByteArray, settings);
    QFETCH(QPoint, topLeft);
    WindowFixture f;
    f.writeSettings(settings);
    QVERIFY(f.start());
    QCOMPARE(f.settings().item(Setting::WindowTop), topLeft.y());
    QCOMPARE(f.settings().item(Setting::WindowLeft), topLeft.x());
    QCOMPARE(f.window().pos(), topLeft);
}

void SettingsFileTest::speedItemIsClamped_data() {
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<int>("item");
    QTest::addColumn<double>("speed");
    QTest::newRow("beyond the last") << QByteArray("99") << 6 << 2.0;
    QTest::newRow("negative") << QByteArray("-1") << -1 << 1.0;
}

void SettingsFileTest::speedItemIsClamped() {
    QFETCH(QByteArray, value);
    QFETCH(int, item);
    QFETCH(double, speed);
    WindowFixture f;
    f.writeSettings("[Play]\nSpeed=" + value + "\n");
    // Start-up puts the item read into effect, then puts the player back to its normal rate.
    QVERIFY(f.start());
    MainWindow& w = f.window();
    QCOMPARE(control<RadioGroup>(w, "speedGroup")->itemIndex(), item);
    QCOMPARE(f.transport().chosenSpeed(), speed);
    QVERIFY(!f.transport().speedSwitchOn());
    QCOMPARE(f.player.rate(), 1.0);
    QCOMPARE(f.player.log.filter(QStringLiteral("setRate")),
             (QStringList{QStringLiteral("setRate %1").arg(speed), QStringLiteral("setRate 1")}));
}

void SettingsFileTest::missingOrDamagedKeysReadAsZero() {
    // No Play, Pedal or Menu section at all; then the sections with values that are no numbers.
    for (const QByteArray& settings :
         {QByteArray("[FormPosition]\nTop=5\nLeft=5\n"),
          QByteArray("[Play]\nAutoBackSpace=x\nSpeed=fast\nRepeatTime=\nVolume=loud\n"
                     "ActualTime=noon\n[Pedal]\nCenter=one\n[Menu]\nDontUseF1=yes\n"
                     "AddClipboard=\nDontChangeSpeedVolume=on\n")}) {
        WindowFixture f;
        f.writeSettings(settings);
        QVERIFY(f.start());
        MainWindow& w = f.window();
        for (auto group : kGroups)
            QCOMPARE(control<RadioGroup>(w, group)->itemIndex(), 0);
        // Including the flags the initial settings check.
        for (const MenuFlag& flag : kMenuFlags)
            QVERIFY2(!control<QAction>(w, flag.item)->isChecked(), flag.key);
        QCOMPARE(f.transport().rewindSeconds(), 0.0);
        QCOMPARE(f.transport().repeatInterval(), 2000);
        QCOMPARE(f.transport().chosenSpeed(), 0.6);
        QCOMPARE(f.transport().volume(), 0);
        QCOMPARE(control<QTimeEdit>(w, "timePicker")->time(), QTime(0, 0, 0));
        QVERIFY(f.transport().mediaUrl().isEmpty());
        QVERIFY(f.session().index().indexFileName().isEmpty());
        QCOMPARE(int(f.session().pedal().settings().centre), 1);
        QCOMPARE(int(f.session().pedal().settings().left), 1);
        QCOMPARE(int(f.session().pedal().settings().right), 1);
        QCOMPARE(f.transport().forwardStep(), 2.0);
    }
}

void SettingsFileTest::startUpWritesNothingAndGroupsWriteAfterIt() {
    WindowFixture f;
    // Every item differs from the window's initial one, so every group's handler runs while
    // the file is read; none may write yet.
    const QString ini = f.writeSettings(
        "[Play]\nAutoBackSpace=1\nRepeatTime=0\nSpeed=0\n"
        "[Pedal]\nCenter=2\nLeft=0\nRight=1\nFWDPitch=5\nREWPitch=6\nPedalMode=1\n");
    const QByteArray before = f.settingsBytes();
    QVERIFY(f.start());
    MainWindow& w = f.window();
    QCOMPARE(f.settingsBytes(), before);
    QCOMPARE(int(f.session().pedal().settings().centre), 3);
    QCOMPARE(int(f.session().pedal().settings().left), 1);
    QCOMPARE(int(f.session().pedal().settings().right), 2);
    QCOMPARE(f.transport().forwardStep(), 300.0);
    QCOMPARE(f.transport().rewindStep(), 600.0);

    control<RadioGroup>(w, "centrePedalGroup")->setItemIndex(1);
    control<RadioGroup>(w, "leftPedalGroup")->setItemIndex(2);
    control<RadioGroup>(w, "rightPedalGroup")->setItemIndex(0);
    control<RadioGroup>(w, "pedalModeGroup")->setItemIndex(0);
    control<RadioGroup>(w, "forwardStepGroup")->setItemIndex(2);
    control<RadioGroup>(w, "rewindStepGroup")->setItemIndex(1);
    const QString pedal = QStringLiteral("Pedal");
    QCOMPARE(readKey(ini, pedal, QStringLiteral("Center")), QStringLiteral("1"));
    QCOMPARE(readKey(ini, pedal, QStringLiteral("Left")), QStringLiteral("2"));
    QCOMPARE(readKey(ini, pedal, QStringLiteral("Right")), QStringLiteral("0"));
    QCOMPARE(readKey(ini, pedal, QStringLiteral("PedalMode")), QStringLiteral("0"));
    QCOMPARE(readKey(ini, pedal, QStringLiteral("FWDPitch")), QStringLiteral("2"));
    QCOMPARE(readKey(ini, pedal, QStringLiteral("REWPitch")), QStringLiteral("1"));
    QCOMPARE(int(f.session().pedal().settings().centre), 2);
    QCOMPARE(int(f.session().pedal().settings().left), 3);
    QCOMPARE(int(f.session().pedal().settings().right), 1);
    QCOMPARE(f.transport().forwardStep(), 10.0);
    QCOMPARE(f.transport().rewindStep(), 5.0);
}

void SettingsFileTest::actualTimeIsFractionOfDay() {
    WindowFixture f;
    const QString ini = f.writeSettings("");
    QVERIFY(f.start());
    const struct {
        QTime time;
        const char* text;
    } cases[] = {{QTime(0, 1, 0), "0.000694444444444444"},
                 {QTime(1, 0, 0), "0.0416666666666667"},
                 {QTime(23, 59, 59), "0.999988425925926"}};
    for (const auto& c : cases) {
        control<QTimeEdit>(f.window(), "timePicker")->setTime(c.time);
        f.settings().saveAll();
        QCOMPARE(readKey(ini, QStringLiteral("Play"), QStringLiteral("ActualTime")),
                 QString::fromLatin1(c.text));

        WindowFixture g;
        g.writeSettings(QByteArray("[Play]\nActualTime=") + c.text + "\n");
        QVERIFY(g.start());
        QCOMPARE(control<QTimeEdit>(g.window(), "timePicker")->time(), c.time);
    }
}

void SettingsFileTest::fileVolumeLeavesPlayerAndIsWrittenBack() {
    for (const bool drag : {false, true}) {
        WindowFixture f;
        const QString ini = f.writeSettings("[Play]\nVolume=80\n");
        QVERIFY(f.start());
        MainWindow& w = f.window();
        QCOMPARE(f.transport().volume(), 80);
        QCOMPARE(f.player.volume(), 50);
        QCOMPARE(f.player.count(QStringLiteral("setVolume")), 0);
        int expected = 80;
        if (drag) {
            const int x = control<ProgressBar>(w, "volumeBar")->width() / 4;
            pressBar(control<ProgressBar>(w, "volumeBar"), Qt::LeftButton, x, 1);
            dragBar(control<ProgressBar>(w, "volumeBar"), x, 1);
            releaseBar(control<ProgressBar>(w, "volumeBar"), Qt::LeftButton, x, 1);
            expected = f.player.volume();
            QVERIFY(expected != 80 && expected != 50);
        }
        control<QAction>(w, "exitSavingSettingsAction")->trigger();
        QCOMPARE(readKey(ini, QStringLiteral("Play"), QStringLiteral("Volume")),
                 QString::number(expected));
    }
}

void SettingsFileTest::panelAndClipboardTogglesNeedMedia() {
    WindowFixture f;
    const QString media = f.addMediaFile(QStringLiteral("talk.mp3"), 600);
    const QString ini = f.writeSettings(kPlainSettings);
    QVERIFY(f.start());
    MainWindow& w = f.window();
    const std::pair<QAction*, QString> toggles[] = {
        {control<QAction>(w, "keepPanelOpenAction"), QStringLiteral("SettingPanel")},
        {control<QAction>(w, "addClipboardNoteAction"), QStringLiteral("AddClipboard")}};
    const QByteArray before = f.settingsBytes();
    for (const auto& [item, key] : toggles) {
        const bool was = item->isChecked();
        item->trigger();
        QCOMPARE(item->isChecked(), !was);
        QCOMPARE(f.settingsBytes(), before);
    }
    f.openMedia(media);
    for (const auto& [item, key] : toggles) {
        const bool was = item->isChecked();
        item->trigger();
        QCOMPARE(item->isChecked(), !was);
        QCOMPARE(readKey(ini, QStringLiteral("Menu"), key), flagText(!was));
    }
}

void SettingsFileTest::protectItemNeedsMediaButNotFile() {
    WindowFixture f;
    const QString media = f.addMediaFile(QStringLiteral("talk.mp3"), 600);
    const QString ini = f.writeSettings(kPlainSettings);
    QVERIFY(f.start());
    QAction* item = control<QAction>(f.window(), "protectEntriesAction");
    const QByteArray before = f.settingsBytes();
    item->trigger();
    QVERIFY(item->isChecked());
    QCOMPARE(f.settingsBytes(), before);

    f.openMedia(media);
    item->trigger();
    QVERIFY(!item->isChecked());
    QCOMPARE(readKey(ini, QStringLiteral("Menu"), QStringLiteral("ProtectItem")),
             QStringLiteral("0"));

    QVERIFY(QFile::remove(ini));
    item->trigger();
    QVERIFY(item->isChecked());
    QCOMPARE(f.settingsBytes(), QByteArray("[Menu]\r\nProtectItem=1\r\n"));
}

void SettingsFileTest::hotkeyTogglesWriteAndPauseWithFile() {
    WindowFixture f;
    const QString ini = f.writeSettings("[Menu]\nDontUseF1=1\nDontUseInsert=0\n");
    QVERIFY(f.start());
    for (const MenuFlag& toggle : kHotkeyToggles) {
        QAction* item = control<QAction>(f.window(), toggle.item);
        for (int round = 0; round < 2; ++round) {
            const bool was = item->isChecked();
            const qint64 waited = f.clock.waitedMs();
            item->trigger();
            QVERIFY2(item->isChecked() == !was, toggle.key);
            QCOMPARE(readKey(ini, QStringLiteral("Menu"), QString::fromLatin1(toggle.key)),
                     flagText(!was));
            // The hotkeys are released and registered again with a pause between.
            QCOMPARE(f.clock.waitedMs() - waited, 300);
        }
    }
}

void SettingsFileTest::hotkeyTogglesWithoutFileOnlyFlip() {
    WindowFixture f;
    const QString ini = f.writeSettings(kPlainSettings);
    QVERIFY(f.start());
    QVERIFY(QFile::remove(ini));
    const qint64 waited = f.clock.waitedMs();
    for (const MenuFlag& toggle : kHotkeyToggles) {
        QAction* item = control<QAction>(f.window(), toggle.item);
        const bool was = item->isChecked();
        item->trigger();
        QVERIFY2(item->isChecked() == !was, toggle.key);
    }
    QCOMPARE(f.clock.waitedMs(), waited);
    QVERIFY(f.dialogs.errors.isEmpty());
    QVERIFY(QDir(f.folder()).isEmpty());
}

void SettingsFileTest::pedalAndSpeedVolumeTogglesWriteWithFile() {
    WindowFixture f;
    const QString ini = f.writeSettings(kPlainSettings);
    QVERIFY(f.start());
    MainWindow& w = f.window();
    const std::pair<QAction*, QString> toggles[] = {
        {control<QAction>(w, "ignorePedalAction"), QStringLiteral("DontUseUseFooptPeadl")},
        {control<QAction>(w, "twoPedalsKeepSpeedAndVolumeAction"),
         QStringLiteral("DontChangeSpeedVolume")}};
    for (const auto& [item, key] : toggles) {
        const bool was = item->isChecked();
        item->trigger();
        QCOMPARE(item->isChecked(), !was);
        QCOMPARE(readKey(ini, QStringLiteral("Menu"), key), flagText(!was));
    }
    QVERIFY(QFile::remove(ini));
    for (const auto& [item, key] : toggles) {
        const bool was = item->isChecked();
        item->trigger();
        QCOMPARE(item->isChecked(), !was);
    }
    QVERIFY(QDir(f.folder()).isEmpty());
}

void SettingsFileTest::refusedWriteShowsErrorAndStopsHandler() {
    WindowFixture f;
    const QString ini = f.writeSettings(kPlainSettings);
    QVERIFY(f.start());
    MainWindow& w = f.window();
    QVERIFY(QFile::setPermissions(ini, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    const QByteArray before = f.settingsBytes();
    const QString message = ini + QStringLiteral(" に書き込めません");

    // Through the control, as a click would: the speed is changed before the write fails.
    control<RadioGroup>(w, "speedGroup")->setItemIndex(5);
    QCOMPARE(f.dialogs.errors, QStringList{message});
    QCOMPARE(f.player.rate(), 1.8);
    QCOMPARE(f.transport().chosenSpeed(), 1.8);

    // A hotkey toggle keeps its flipped check but does not get to the pause.
    const qint64 waited = f.clock.waitedMs();
    control<QAction>(w, "ignoreF2Action")->trigger();
    QCOMPARE(f.dialogs.errors, (QStringList{message, message}));
    QVERIFY(control<QAction>(w, "ignoreF2Action")->isChecked());
    QCOMPARE(f.clock.waitedMs(), waited);

    control<RadioGroup>(w, "centrePedalGroup")->setItemIndex(2);
    QCOMPARE(f.dialogs.errors.size(), 3);
    QCOMPARE(f.settingsBytes(), before);
}

void SettingsFileTest::refusedFullWriteLeavesFileWhole() {
    WindowFixture f;
    const QString ini = f.writeSettings(kPlainSettings);
    QVERIFY(f.start());
    control<RadioGroup>(f.window(), "repeatIntervalGroup")->setItemIndex(3);
    QVERIFY(QFile::setPermissions(ini, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    const QByteArray before = f.settingsBytes();
    try {
        f.settings().saveAll();
        QFAIL("a read-only settings file was written");
    } catch (const ProfileWriteError& e) {
        QCOMPARE(e.path(), ini);
    }
    QCOMPARE(f.settingsBytes(), before);

    // Written again once it may be: every key in one go.
    QVERIFY(QFile::setPermissions(ini, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    f.settings().saveAll();
    QCOMPARE(readKey(ini, QStringLiteral("Play"), QStringLiteral("RepeatTime")),
             QStringLiteral("3"));
    QCOMPARE(readKey(ini, QStringLiteral("Menu"), QStringLiteral("DontUseUseFooptPeadl")),
             QStringLiteral("0"));
}

void SettingsFileTest::appearHereStoresWindowPosition() {
    WindowFixture f;
    const QString ini = f.writeSettings(kPlainSettings);
    QVERIFY(f.start());
    MainWindow& w = f.window();
    w.move(321, 234);
    control<QAction>(w, "appearHereAction")->trigger();
    QCOMPARE(f.settings().item(Setting::WindowTop), 234);
    QCOMPARE(f.settings().item(Setting::WindowLeft), 321);
    QCOMPARE(readKey(ini, QStringLiteral("FormPosition"), QStringLiteral("Top")),
             QStringLiteral("234"));
    QCOMPARE(readKey(ini, QStringLiteral("FormPosition"), QStringLiteral("Left")),
             QStringLiteral("321"));

    QVERIFY(QFile::remove(ini));
    w.move(40, 50);
    control<QAction>(w, "appearHereAction")->trigger();
    QCOMPARE(f.settings().item(Setting::WindowTop), 234);
    QCOMPARE(f.settings().item(Setting::WindowLeft), 321);
    QVERIFY(QDir(f.folder()).isEmpty());
    QVERIFY(f.dialogs.errors.isEmpty());
}

QTEST_MAIN(SettingsFileTest)
#include "settings_file_test.moc"
