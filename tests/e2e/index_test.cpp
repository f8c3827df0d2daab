// The index as the typist keeps it with the real binary: two entries registered from the menu,
// one with a note put on the clipboard by another program, the index file written beside the
// media when the window manager closes the window, and the entries back at the next start.

#include <QDateTime>
#include <QFile>
#include <QtTest>

#include "core/cp932.h"
#include "e2e/e2e_support.h"
#include "fakes/test_files.h"
#include "fakes/test_media.h"

namespace {
enum Menu { IndexPlay = 1, IndexSettings = 2, IndexRegister = 3 };

// The window's menus, reached as a user does: a click on the File menu's title, then the arrow
// keys to the wanted menu, which opens with its first item highlighted.
class Menus {
public:
    Menus(ScriboProcess& scribo, quint64 window) : scribo_(scribo), window_(window) {}

    // Opens the menu and returns its popup window; 0 when it did not show.
    quint64 open(Menu menu) {
        if (!xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"),
                      QString::number(window_), QStringLiteral("15"), QStringLiteral("8"),
                      QStringLiteral("click"), QStringLiteral("1")}))
            return 0;
        const quint64 file = waitForPopup(0);
        QStringList keys{QStringLiteral("key")};
        for (int i = 0; i < menu; ++i)
            keys << QStringLiteral("Right");
        return file && xdotool(keys) ? waitForPopup(file) : 0;
    }
    bool close() {
        return xdotool(
                   {QStringLiteral("key"), QStringLiteral("Escape"), QStringLiteral("Escape")}) &&
               waitUntil([&] { return popups().isEmpty(); }, 5000);
    }
    // Clicks the item (1 for the first) and waits until the menu is gone.
    bool choose(Menu menu, int item) {
        if (!open(menu)) return false;
        QStringList keys{QStringLiteral("key")};
        for (int i = 1; i < item; ++i)
            keys << QStringLiteral("Down");
        keys << QStringLiteral("Return");
        return xdotool(keys) && waitUntil([&] { return popups().isEmpty(); }, 5000);
    }
    // What the open menu looks like, as xwd dumps it.
    QByteArray picture(quint64 popup) const {
        const QString path = scribo_.folder() + QStringLiteral("menu.xwd");
        runTool(QStringLiteral("xwd"), {QStringLiteral("-silent"), QStringLiteral("-id"),
                                        QString::number(popup), QStringLiteral("-out"), path});
        return testfiles::readAll(path);
    }
    QByteArray pictureOf(Menu menu) {
        const quint64 popup = open(menu);
        const QByteArray bytes = popup ? picture(popup) : QByteArray();
        return close() ? bytes : QByteArray();
    }

private:
    QList<quint64> popups() const {
        QList<quint64> windows = visibleTopLevelWindows(scribo_.process().processId());
        windows.removeAll(window_);
        return windows;
    }
    // The one popup shown, other than the one given.
    quint64 waitForPopup(quint64 other) const {
        quint64 shown = 0;
        waitUntil(
            [&] {
                const QList<quint64> windows = popups();
                shown = windows.size() == 1 && windows.first() != other ? windows.first() : 0;
                return shown != 0;
            },
            5000);
        return shown;
    }

    ScriboProcess& scribo_;
    quint64 window_;
};

// The registration stamps the index file may hold for a registration made between the two
// moments, one for each second.
QStringList stampsBetween(const QDateTime& from, const QDateTime& to) {
    QStringList stamps;
    for (QDateTime t = from.addMSecs(-from.time().msec()); t <= to; t = t.addSecs(1))
        stamps << t.toString(QStringLiteral(",%yy/MM/dd,HH:mm:ss"));
    return stamps;
}

QByteArray indexFile(const QString& firstStamp, const QString& secondStamp) {
    QString text = QStringLiteral("[Index]\n1=12.5\n2=47\n");
    for (int n = 3; n <= 29; ++n)
        text += QStringLiteral("%1=0\n").arg(n);
    text += QStringLiteral("[IndexComment]\n1=0:00:12,　会議開始") + firstStamp +
            QStringLiteral("\n2=0:00:47,　") + secondStamp + QStringLiteral("\n");
    for (int n = 3; n <= 29; ++n)
        text += QStringLiteral("%1=\n").arg(n);
    text += QStringLiteral("40=\n");
    return toCp932(text.replace(QStringLiteral("\n"), QStringLiteral("\r\n")));
}

bool seekTo(double seconds) {
    playerctl({QStringLiteral("position"), QString::number(seconds)});
    return waitUntil([&] { return playerPosition() == seconds; }, 5000);
}

// About one close request in six leaves this binary running on Xvfb without its close handler
// ever being reached (cause not found yet); a second request, as a user clicking again would
// make, closes it. The shutdown itself takes about 1.3 s.
bool closeAsAWindowManagerWould(ScriboProcess& scribo, quint64 window) {
    for (int ask = 1; ask <= 3; ++ask) {
        requestClose(window);
        if (scribo.waitForExit(ask == 1 ? 5000 : 10000)) return true;
        qWarning("close request %d went unanswered; asking again", ask);
    }
    return false;
}

}  // namespace

class IndexTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void entriesComeBackAfterTheWindowManagerClosesTheWindow();
};

void IndexTest::entriesComeBackAfterTheWindowManagerClosesTheWindow() {
    ScriboProcess scribo;
    const QString media = scribo.folder() + QStringLiteral("talk.wav");
    const QString index = scribo.folder() + QStringLiteral("talk.mpx");
    QVERIFY(testmedia::writeWav(media, 60, 440, {8000, 1, 16}));
    scribo.writeSettings("[FormPosition]\nTop=10\nLeft=10\n[Menu]\nAddClipboard=1\n");
    scribo.start({media});
    quint64 window = scribo.waitForWindow();
    QVERIFY(window != 0);
    QVERIFY2(waitUntil([] { return playerStatus() == QStringLiteral("Paused"); }, 20000),
             qPrintable(playerStatus()));
    Menus menus(scribo, window);
    const QByteArray emptyMenu = menus.pictureOf(IndexRegister);
    QVERIFY(!emptyMenu.isEmpty());

    // Entry 1 with the note another program put on the clipboard; the click uses it up.
    const QString note = scribo.folder() + QStringLiteral("note.txt");
    QFile noteFile(note);
    QVERIFY(noteFile.open(QIODevice::WriteOnly) && noteFile.write("会議開始") > 0);
    noteFile.close();
    runTool(QStringLiteral("xclip"), {QStringLiteral("-selection"), QStringLiteral("clipboard"),
                                      QStringLiteral("-i"), note});
    QVERIFY(waitUntil([] { return clipboardText() == QStringLiteral("会議開始"); }, 5000));
    QVERIFY(seekTo(12.5));
    const QDateTime beforeFirst = QDateTime::currentDateTime();
    QVERIFY(menus.choose(IndexRegister, 1));
    QVERIFY(waitUntil([] { return clipboardText().isEmpty(); }, 5000));
    const QDateTime afterFirst = QDateTime::currentDateTime();

    // Entry 2 without a note: the clipboard item turned off first.
    QVERIFY(menus.choose(IndexSettings, 1));
    QVERIFY(seekTo(47));
    const QDateTime beforeSecond = QDateTime::currentDateTime();
    QVERIFY(menus.choose(IndexRegister, 2));
    const QDateTime afterSecond = QDateTime::currentDateTime();
    const QByteArray registeredMenu = menus.pictureOf(IndexRegister);
    QVERIFY(!registeredMenu.isEmpty());
    QVERIFY(registeredMenu != emptyMenu);

    QVERIFY(closeAsAWindowManagerWould(scribo, window));
    QCOMPARE(scribo.process().exitCode(), 0);
    const QByteArray written = testfiles::readAll(index);
    bool matches = false;
    for (const QString& first : stampsBetween(beforeFirst, afterFirst))
        for (const QString& second : stampsBetween(beforeSecond, afterSecond))
            matches = matches || written == indexFile(first, second);
    QVERIFY2(matches, written.constData());

    // The next start reopens the media with its index: the menu looks as it did, and the
    // first entry plays from where it was registered.
    scribo.start();
    window = scribo.waitForWindow();
    QVERIFY(window != 0);
    QVERIFY(waitUntil([] { return playerStatus() == QStringLiteral("Paused"); }, 20000));
    Menus again(scribo, window);
    QCOMPARE(again.pictureOf(IndexRegister), registeredMenu);
    QElapsedTimer sincePlay;
    sincePlay.start();
    QVERIFY(again.choose(IndexPlay, 1));
    QVERIFY(waitUntil([] { return playerStatus() == QStringLiteral("Playing"); }, 5000));
    const double position = playerPosition();
    QVERIFY2(position >= 12.5 - 1e-3 && position <= 12.5 + sincePlay.elapsed() / 1000.0 + 0.1,
             qPrintable(QString::number(position)));

    QVERIFY(closeAsAWindowManagerWould(scribo, window));
    QCOMPARE(testfiles::readAll(index), written);  // read and played, not changed
}

QTEST_MAIN(IndexTest)
#include "index_test.moc"
