// Start-up, the close and the opening of dropped and handed-over files, on the session alone.

#include <QDir>
#include <QtTest>

#include "core/profile_file.h"
#include "fakes/transport_setup.h"
#include "fakes/window_fixture.h"

namespace {
QString readKey(const QString& path, const QString& section, const QString& key) {
    return ProfileFile(path).readString(section, key, QStringLiteral("<missing>"));
}
}  // namespace

class SessionSequencesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void refusesToStartWithoutSettingsFile();
    void takesFirstSettingsFileInNameOrder();
    void closeWritesMediaAndPosition();
    void dropKeepsLongPathsWhole();
    void onlyDropsWaitBeforeOpening_data();
    void onlyDropsWaitBeforeOpening();
};

void SessionSequencesTest::refusesToStartWithoutSettingsFile() {
    SessionFixture f;
    QDir(f.folder()).mkdir(QStringLiteral("Scribo.inf"));  // a folder does not count
    QVERIFY(!f.start());
    QCOMPARE(f.session().exitCode(), 2);
    f.close();
    // Nothing was written: only the folder we made is there.
    QCOMPARE(QDir(f.folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("Scribo.inf")});
}

void SessionSequencesTest::takesFirstSettingsFileInNameOrder() {
    SessionFixture f;
    f.writeSettings("[FormPosition]\nTop=5\nLeft=5\n", QStringLiteral("Scribo_b.inf"));
    f.writeSettings("[FormPosition]\nTop=7\nLeft=7\n", QStringLiteral("scribo_A.inf"));
    f.writeSettings("", QStringLiteral("Other.inf"));
    QVERIFY(f.start());
    QCOMPARE(f.settings().path(), f.folder() + QStringLiteral("scribo_A.inf"));
    QCOMPARE(f.settings().item(Setting::WindowTop), 7);
}

void SessionSequencesTest::closeWritesMediaAndPosition() {
    SessionFixture f;
    const QString media = f.addMediaFile(QStringLiteral("talk.mp3"), 600);
    const QString ini = f.writeSettings(transportsetup::kSettings);
    QVERIFY(f.start());
    f.openMedia(media);
    f.player.setPosition(83.4);
    QVERIFY(f.close());
    QCOMPARE(readKey(ini, QStringLiteral("General"), QStringLiteral("File")), media);
    QCOMPARE(readKey(ini, QStringLiteral("Record"), QStringLiteral("Position")),
             QStringLiteral("83.4"));
    // Only those two keys: the full write did not run.
    QCOMPARE(readKey(ini, QStringLiteral("Play"), QStringLiteral("Volume")),
             QStringLiteral("<missing>"));
}

void SessionSequencesTest::dropKeepsLongPathsWhole() {
    SessionFixture f;
    f.writeSettings(transportsetup::kSettings);
    QVERIFY(f.start());
    QString deep = f.folder();
    for (int i = 0; i < 10; ++i)
        deep += QStringLiteral("a-rather-long-folder-name-%1/").arg(i);
    QVERIFY(QDir().mkpath(deep));
    const QString name = deep.mid(f.folder().size()) + QStringLiteral("recording.mp3");
    const QString media = f.addMediaFile(name, 60);
    QVERIFY(media.size() > 255);
    f.session().dropFiles({media});
    QCOMPARE(f.transport().mediaPath(), media);
    QCOMPARE(f.player.address(), media);
}

void SessionSequencesTest::onlyDropsWaitBeforeOpening_data() {
    QTest::addColumn<bool>("dropped");
    QTest::addColumn<bool>("replacing");  // another file is open already
    QTest::addColumn<int>("waitedMs");
    // A file from the command line or the desktop opens at once; closing an open one lets the
    // player settle while events go on.
    QTest::newRow("from outside, first file") << false << false << 0;
    QTest::newRow("from outside, replacing") << false << true << 100;
    QTest::newRow("drop, first file") << true << false << 300;
    QTest::newRow("drop, replacing") << true << true << 400;
}

void SessionSequencesTest::onlyDropsWaitBeforeOpening() {
    QFETCH(bool, dropped);
    QFETCH(bool, replacing);
    SessionFixture f;
    f.writeSettings(transportsetup::kSettings);
    const QString first = f.addMediaFile(QStringLiteral("first.mp3"), 60);
    const QString media = f.addMediaFile(QStringLiteral("talk.mp3"), 600);
    QVERIFY(f.start());
    if (replacing) f.openMedia(first);
    const qint64 before = f.clock.ticks();
    if (dropped)
        f.session().dropFiles({media});
    else
        f.session().requestOpen(media);
    QTEST(int(f.clock.ticks() - before), "waitedMs");
    QCOMPARE(f.transport().mediaPath(), media);
    QCOMPARE(f.player.address(), media);
}

QTEST_MAIN(SessionSequencesTest)
#include "session_sequences_test.moc"
