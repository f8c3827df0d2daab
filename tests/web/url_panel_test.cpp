#include "web/url_panel.h"

#include <QSignalSpy>
#include <QtTest>

#include "fakes/fake_browser_launcher.h"
#include "transport/media_player.h"

namespace {

struct RecordingPlayer : WebAddressPlayer {
    QStringList played;
    bool fails = false;
    void playWebAddress(const QString& address) override {
        played << address;
        if (fails) throw PlayerError("Cannot open");
    }
};

}  // namespace

class UrlPanelTest : public QObject {
    Q_OBJECT

private:
    RecordingPlayer player_;
    FakeBrowserLauncher browser_;

private slots:
    void init() {
        player_ = {};
        browser_ = {};
    }

    void paste_data() {
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("played");  // empty: refused
        QTest::newRow("blanks around https") << QStringLiteral(" \thttps://example.org/a.mp3 \n")
                                             << QStringLiteral("https://example.org/a.mp3");
        QTest::newRow("HTTP in capitals")
            << QStringLiteral("HTTP://example.org/a.mp3") << QString();
        QTest::newRow("ftp") << QStringLiteral("ftp://example.org/a.mp3") << QString();
        const QString longest = QStringLiteral("https://example.org/") + QString(32747, u'a');
        QTest::newRow("32,767 characters") << longest << longest;
        QTest::newRow("a megabyte, blanks taken off")
            << longest + QString(1 << 20, u' ') + QStringLiteral("b") << QString();
    }
    void paste() {
        QFETCH(QString, clipboard);
        QFETCH(QString, played);
        UrlPanel panel(player_, browser_);
        QSignalSpy listed(&panel, &UrlPanel::addressListed);
        QSignalSpy shown(&panel, &UrlPanel::boxTextChanged);
        QSignalSpy told(&panel, &UrlPanel::messageRequested);

        QCOMPARE(panel.paste(clipboard), !played.isEmpty());
        // Only an address too long to take is worth a word.
        QCOMPARE(told.count(), played.isEmpty() && clipboard.size() > (1 << 20) ? 1 : 0);
        if (played.isEmpty()) {
            // The box keeps what the user had in it.
            QCOMPARE(shown.count(), 0);
            QCOMPARE(listed.count(), 0);
            QVERIFY(player_.played.isEmpty());
            QVERIFY(panel.pastedAddresses().isEmpty());
            return;
        }
        QCOMPARE(player_.played, QStringList{played});
        QCOMPARE(panel.pastedAddresses(), QStringList{played});
        QCOMPARE(listed.count(), 1);
        QCOMPARE(listed.first().at(0).toString(), played);
        QCOMPARE(shown.last().at(0).toString(), played);
    }

    void sameAddressPastedTwiceIsListedTwice() {
        UrlPanel panel(player_, browser_);
        QSignalSpy listed(&panel, &UrlPanel::addressListed);
        const QString a = QStringLiteral("https://example.org/a.mp3");
        const QString b = QStringLiteral("https://example.org/b.mp3");
        panel.paste(a);
        panel.paste(QStringLiteral("  ") + a);
        panel.paste(QStringLiteral("ftp://example.org/c.mp3"));
        panel.paste(b);
        QCOMPARE(panel.pastedAddresses(), (QStringList{a, a, b}));
        QCOMPARE(listed.count(), 3);
        QCOMPARE(player_.played, (QStringList{a, a, b}));
    }

    void pastedAddressIsListedEvenWhenThePlayerFails() {
        UrlPanel panel(player_, browser_);
        player_.fails = true;
        const QString a = QStringLiteral("https://example.org/a.mp3");
        QVERIFY_THROWS_EXCEPTION(PlayerError, panel.paste(a));
        QCOMPARE(panel.pastedAddresses(), QStringList{a});
    }

    void playShowsTheCleanedText_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("plays");
        QTest::newRow("inner blank") << QStringLiteral(" https://example.org/a b.mp3")
                                     << QStringLiteral("https://example.org/ab.mp3") << true;
        QTest::newRow("not an address") << QStringLiteral(" (ftp://example.org/a b) ")
                                        << QStringLiteral("ftp://example.org/ab") << false;
        QTest::newRow("empty") << QString() << QString() << false;
    }
    void playShowsTheCleanedText() {
        QFETCH(QString, box);
        QFETCH(QString, shown);
        QFETCH(bool, plays);
        UrlPanel panel(player_, browser_);
        QSignalSpy shownSpy(&panel, &UrlPanel::boxTextChanged);
        QCOMPARE(panel.play(box), plays);
        QCOMPARE(shownSpy.count(), 1);
        QCOMPARE(shownSpy.first().at(0).toString(), shown);
        QCOMPARE(player_.played, plays ? QStringList{shown} : QStringList{});
        // Only the clipboard fills the list.
        QVERIFY(panel.pastedAddresses().isEmpty());
    }

    void browserGetsTheTrimmedAddress_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("opened");  // empty: the browser is not asked
        QTest::newRow("inner blank kept") << QStringLiteral("  https://example.org/a b.mp3\t")
                                          << QStringLiteral("https://example.org/a b.mp3");
        QTest::newRow("HTTP in capitals")
            << QStringLiteral("HTTP://example.org/a.mp3") << QString();
    }
    void browserGetsTheTrimmedAddress() {
        QFETCH(QString, box);
        QFETCH(QString, opened);
        UrlPanel panel(player_, browser_);
        QSignalSpy shown(&panel, &UrlPanel::boxTextChanged);
        QCOMPARE(panel.openInBrowser(box), !opened.isEmpty());
        QCOMPARE(browser_.opened, opened.isEmpty() ? QStringList{} : QStringList{opened});
        QVERIFY(player_.played.isEmpty());
        QCOMPARE(shown.count(), 0);
    }
};

QTEST_GUILESS_MAIN(UrlPanelTest)
#include "url_panel_test.moc"
