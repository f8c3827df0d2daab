// The URL panel in the window, on fakes: paste, play, the browser button and dropped links.

#include <QClipboard>
#include <QComboBox>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include "core/profile_file.h"
#include "fakes/window_fixture.h"

namespace {
const QByteArray kSettings = "[Play]\nAutoBackSpace=7\nSpeed=2\nRepeatTime=2\n";
const QString kAddress = QStringLiteral("https://example.org/ab.mp3");

QString readKey(const QString& path, const QString& section, const QString& key) {
    return ProfileFile(path).readString(section, key, QStringLiteral("<missing>"));
}

void drop(MainWindow& w, const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    // Without a drag in progress the application drops the event; hand it to the window.
    static_cast<QObject&>(w).event(&event);
}
}  // namespace

class WebPanelTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void pasteListsResetsAndPlaysWithNothingSavedAtClose();
    void nonWebTextPlaysNothing();
    void browserGetsTheTrimmedAddress();
    void droppedLinkPlaysOnceTheWaitIsOver();
};

void WebPanelTest::pasteListsResetsAndPlaysWithNothingSavedAtClose() {
    WindowFixture f;
    const QString ini = f.writeSettings(kSettings);
    const QString media = f.addMediaFile(QStringLiteral("talk.mp3"), 600);
    f.player.addMedia(kAddress, 300);
    QVERIFY(f.start());
    MainWindow& w = f.window();
    f.openMedia(media);
    control<RadioGroup>(w, "speedGroup")->setItemIndex(5);
    QGuiApplication::clipboard()->setText(QStringLiteral("  (\"https://example.org/a b.mp3\"), "));
    control<QToolButton>(w, "pasteAddressButton")->click();
    control<QToolButton>(w, "pasteAddressButton")->click();
    QCOMPARE(control<QComboBox>(w, "addressBox")->count(), 2);  // listed twice
    QCOMPARE(control<QComboBox>(w, "addressBox")->itemText(1), kAddress);
    QCOMPARE(control<QComboBox>(w, "addressBox")->currentText(), kAddress);
    QCOMPARE(f.player.address(), kAddress);
    QCOMPARE(f.player.playState(), PlayState::Playing);
    QVERIFY(f.transport().mediaPath().isEmpty());
    QCOMPARE(control<RadioGroup>(w, "speedGroup")->itemIndex(), 2);  // the reset ran
    QVERIFY(!transportTimer(f, "positionPollTimer")->isActive());
    QVERIFY(!f.session().savesOnClose());
    QVERIFY(f.close());
    QCOMPARE(readKey(ini, QStringLiteral("General"), QStringLiteral("File")),
             QStringLiteral("<missing>"));
    QCOMPARE(readKey(ini, QStringLiteral("Record"), QStringLiteral("Position")),
             QStringLiteral("<missing>"));
}

void WebPanelTest::nonWebTextPlaysNothing() {
    WindowFixture f;
    f.writeSettings(kSettings);
    QVERIFY(f.start());
    MainWindow& w = f.window();
    const auto texts = {QStringLiteral("HTTP://example.org/a.mp3"),
                        QStringLiteral("ftp://example.org/a.mp3")};
    for (const QString& text : texts) {
        f.player.log.clear();
        QGuiApplication::clipboard()->setText(text);
        control<QToolButton>(w, "pasteAddressButton")->click();
        QCOMPARE(control<QComboBox>(w, "addressBox")->count(), 0);
        control<QComboBox>(w, "addressBox")->setEditText(QStringLiteral(" ") + text);
        control<QToolButton>(w, "playAddressButton")->click();
        QCOMPARE(control<QComboBox>(w, "addressBox")->currentText(),
                 text);  // cleaned, kept, not played
        control<QToolButton>(w, "openInBrowserButton")->click();
        QVERIFY(f.player.log.isEmpty());
    }
    QVERIFY(f.browser.opened.isEmpty());
}

void WebPanelTest::browserGetsTheTrimmedAddress() {
    WindowFixture f;
    f.writeSettings(kSettings);
    QVERIFY(f.start());
    MainWindow& w = f.window();
    f.player.log.clear();
    control<QComboBox>(w, "addressBox")
        ->setEditText(QStringLiteral("  https://example.org/a b.mp3 \t"));
    control<QToolButton>(w, "openInBrowserButton")->click();
    QCOMPARE(f.browser.opened, QStringList{QStringLiteral("https://example.org/a b.mp3")});
    QVERIFY(f.player.log.isEmpty());
}

void WebPanelTest::droppedLinkPlaysOnceTheWaitIsOver() {
    WindowFixture f;
    f.writeSettings(kSettings);
    f.player.addMedia(kAddress, 300);
    QVERIFY(f.start());
    MainWindow& w = f.window();
    {
        const EntryGate::Wait wait(f.session().gate());
        drop(w, {QUrl(kAddress)});
        QVERIFY(f.player.address().isEmpty());
    }
    QTRY_COMPARE(f.player.address(), kAddress);
    QCOMPARE(control<QComboBox>(w, "addressBox")->currentText(), kAddress);
    QVERIFY(f.transport().mediaPath().isEmpty());
    QVERIFY(!f.session().savesOnClose());
    // Several links are no web address to play; neither is a local file.
    f.player.log.clear();
    drop(w, {QUrl(kAddress), QUrl(QStringLiteral("https://example.org/b.mp3"))});
    QVERIFY(f.player.log.isEmpty());
}

QTEST_MAIN(WebPanelTest)
#include "web_panel_test.moc"
