// The about box and the version display on the volume bar.

#include <QAction>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

#include "app/about_box.h"
#include "fakes/window_fixture.h"

namespace {
const QString kVersion = QStringLiteral("Ver. 14.07.02");

// Remembers what the about box said at the moment it was shown.
class VersionRecordingDialogs : public FakeDialogs {
public:
    QStringList versions;
    int exec(QDialog& dialog) override {
        auto* box = qobject_cast<AboutBox*>(&dialog);
        versions << (box ? control<QLabel>(*box, "versionLabel")->text()
                         : QStringLiteral("<not the about box>"));
        return FakeDialogs::exec(dialog);
    }
};
}  // namespace

class AboutBoxTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void showsVersionEachTime();
    void hasFixedLayout();
    void closesWithOkEnterOrCloseBox_data();
    void closesWithOkEnterOrCloseBox();
    void versionDisplayLastsUntilNextPlayState();
};

void AboutBoxTest::showsVersionEachTime() {
    WindowFixture f;
    f.writeSettings("[Play]\nSpeed=2\n");
    VersionRecordingDialogs dialogs;
    Session session(SessionServices{.player = &f.player,
                                    .clock = &f.clock,
                                    .dialogs = &dialogs,
                                    .settingsFolder = f.folder(),
                                    .pedalLibrary = &f.pedalLibrary,
                                    .keyState = &f.keyState,
                                    .programFolder = f.folder(),
                                    .clipboard = &f.clipboard});
    MainWindow w(session);
    QVERIFY(session.startUp());
    const QString prefix = control<ProgressBar>(w, "volumeBar")->positionTextPrefix();
    const QString suffix = control<ProgressBar>(w, "volumeBar")->positionTextSuffix();

    control<QAction>(w, "aboutAction")->trigger();
    control<QLabel>(w, "versionLabel")->setText(QStringLiteral("changed meanwhile"));
    control<QAction>(w, "aboutAction")->trigger();
    QCOMPARE(dialogs.dialogsShown, QStringList(2, QStringLiteral("このプログラムについて")));
    QCOMPARE(dialogs.versions, QStringList(2, kVersion));
    QVERIFY(dialogs.errors.isEmpty());
    // Nothing of the main window moves because of it.
    QCOMPARE(control<ProgressBar>(w, "volumeBar")->positionTextPrefix(), prefix);
    QCOMPARE(control<ProgressBar>(w, "volumeBar")->positionTextSuffix(), suffix);
}

void AboutBoxTest::hasFixedLayout() {
    AboutBox box;
    QCOMPARE(box.windowTitle(), QStringLiteral("このプログラムについて"));
    QCOMPARE(box.size(), QSize(372, 344));
    QCOMPARE(box.minimumSize(), box.maximumSize());
    QVERIFY(!box.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!box.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QCOMPARE(control<QFrame>(box, "frame")->geometry(), QRect(6, 8, 355, 289));
    QCOMPARE(control<QLabel>(box, "versionLabel")->pos(), QPoint(176, 32));
    QCOMPARE(control<QLabel>(box, "versionLabel")->text(), kVersion);
    QCOMPARE(control<QPushButton>(box, "okButton")->text(), QStringLiteral("OK"));
    QCOMPARE(control<QPushButton>(box, "okButton")->geometry(), QRect(150, 306, 65, 26));
    QVERIFY(control<QPushButton>(box, "okButton")->isDefault());
}

void AboutBoxTest::closesWithOkEnterOrCloseBox_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("result");
    QTest::newRow("OK button") << QStringLiteral("click") << int(QDialog::Accepted);
    QTest::newRow("Enter key") << QStringLiteral("enter") << int(QDialog::Accepted);
    QTest::newRow("close box") << QStringLiteral("close") << int(QDialog::Rejected);
}

void AboutBoxTest::closesWithOkEnterOrCloseBox() {
    QFETCH(QString, how);
    QFETCH(int, result);
    WindowFixture f;
    MainWindow& w = f.create();
    AboutBox& box = *control<AboutBox>(w, "aboutBox");
    box.setResult(-1);
    box.open();
    QTRY_VERIFY(box.isVisible());
    QVERIFY(box.isModal());
    QCOMPARE(box.focusWidget(), control<QPushButton>(box, "okButton"));
    // Centred on the screen, give or take the window frame.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QPoint off = box.geometry().center() - screen->availableGeometry().center();
        QVERIFY2(off.manhattanLength() <= 4,
                 qPrintable(QStringLiteral("%1,%2").arg(off.x()).arg(off.y())));
    }

    if (how == QLatin1String("click"))
        QTest::mouseClick(control<QPushButton>(box, "okButton"), Qt::LeftButton);
    else if (how == QLatin1String("enter"))
        QTest::keyClick(box.focusWidget(), Qt::Key_Return);
    else
        box.close();
    QTRY_VERIFY(!box.isVisible());
    QCOMPARE(box.result(), result);

    // It opens again as it was.
    box.open();
    QTRY_VERIFY(box.isVisible());
    QCOMPARE(control<QLabel>(box, "versionLabel")->text(), kVersion);
    box.close();
}

void AboutBoxTest::versionDisplayLastsUntilNextPlayState() {
    WindowFixture f;
    const QString media = f.addMediaFile(QStringLiteral("talk.mp3"), 600);
    f.writeSettings("[Play]\nSpeed=2\n", QStringLiteral("Scribo_office.inf"));
    QVERIFY(f.start());
    MainWindow& w = f.window();
    f.openMedia(media);
    control<QAction>(w, "versionAction")->trigger();
    QCOMPARE(control<ProgressBar>(w, "volumeBar")->positionTextPrefix(), kVersion);
    QCOMPARE(control<ProgressBar>(w, "volumeBar")->positionTextSuffix(),
             QStringLiteral("    Scribo_office.inf"));

    control<QAction>(w, "playPauseAction")->trigger();
    QCOMPARE(control<ProgressBar>(w, "volumeBar")->positionTextPrefix(),
             QStringLiteral("     再生速度[ 1.0 ］"));
    QCOMPARE(control<ProgressBar>(w, "volumeBar")->positionTextSuffix(),
             QStringLiteral("     音量[ 50 ］"));
}

QTEST_MAIN(AboutBoxTest)
#include "about_box_test.moc"
