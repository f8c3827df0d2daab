// The about box and the version display on the volume bar.

#include <QAction>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

#include "app/about_box.h"
#include "fakes/form_fixture.h"

namespace {
const QString kVersion = QStringLiteral("Ver. 14.07.02");

// Remembers what the about box said at the moment it was shown.
class VersionRecordingDialogs : public FakeDialogs {
public:
    QStringList versions;
    int exec(QDialog& dialog) override {
        const auto* box = qobject_cast<TAboutBox*>(&dialog);
        versions << (box ? box->LabelVersion->text() : QStringLiteral("<not the about box>"));
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
    FormFixture f;
    f.writeSettings("[Play]\nSpeed=2\n");
    VersionRecordingDialogs dialogs;
    TAMainForm w(FormServices{&f.player, &f.clock, &dialogs, f.folder(), &f.pedalLibrary,
                              &f.keyState, f.folder()});
    QVERIFY(w.FormShow());
    const QString prefix = w.volumeBar->PosTextPrefix();
    const QString suffix = w.volumeBar->PosTextSuffix();

    w.MenuSettingsThisProgram->trigger();
    w.AboutBox->LabelVersion->setText(QStringLiteral("changed meanwhile"));
    w.MenuSettingsThisProgram->trigger();
    QCOMPARE(dialogs.dialogsShown, QStringList(2, QStringLiteral("このプログラムについて")));
    QCOMPARE(dialogs.versions, QStringList(2, kVersion));
    QVERIFY(dialogs.errors.isEmpty());
    // Nothing of the main window moves because of it.
    QCOMPARE(w.volumeBar->PosTextPrefix(), prefix);
    QCOMPARE(w.volumeBar->PosTextSuffix(), suffix);
}

void AboutBoxTest::hasFixedLayout() {
    TAboutBox box;
    QCOMPARE(box.windowTitle(), QStringLiteral("このプログラムについて"));
    QCOMPARE(box.size(), QSize(372, 344));
    QCOMPARE(box.minimumSize(), box.maximumSize());
    QVERIFY(!box.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!box.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QCOMPARE(box.Panel1->geometry(), QRect(6, 8, 355, 289));
    QCOMPARE(box.LabelVersion->pos(), QPoint(176, 32));
    QCOMPARE(box.LabelVersion->text(), kVersion);
    QCOMPARE(box.OKButton->text(), QStringLiteral("OK"));
    QCOMPARE(box.OKButton->geometry(), QRect(150, 306, 65, 26));
    QVERIFY(box.OKButton->isDefault());
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
    FormFixture f;
    TAMainForm& w = f.create();
    TAboutBox& box = *w.AboutBox;
    box.setResult(-1);
    box.open();
    QTRY_VERIFY(box.isVisible());
    QVERIFY(box.isModal());
    QCOMPARE(box.focusWidget(), box.OKButton);
    // Centred on the screen, give or take the window frame.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QPoint off = box.geometry().center() - screen->availableGeometry().center();
        QVERIFY2(off.manhattanLength() <= 4,
                 qPrintable(QStringLiteral("%1,%2").arg(off.x()).arg(off.y())));
    }

    if (how == QLatin1String("click"))
        QTest::mouseClick(box.OKButton, Qt::LeftButton);
    else if (how == QLatin1String("enter"))
        QTest::keyClick(box.focusWidget(), Qt::Key_Return);
    else
        box.close();
    QTRY_VERIFY(!box.isVisible());
    QCOMPARE(box.result(), result);

    // It opens again as it was.
    box.open();
    QTRY_VERIFY(box.isVisible());
    QCOMPARE(box.LabelVersion->text(), kVersion);
    box.close();
}

void AboutBoxTest::versionDisplayLastsUntilNextPlayState() {
    FormFixture f;
    const QString media = f.addMediaFile(QStringLiteral("talk.mp3"), 600);
    f.writeSettings("[Play]\nSpeed=2\n", QStringLiteral("Scribo_office.inf"));
    QVERIFY(f.start());
    TAMainForm& w = f.form();
    f.openMedia(media);
    w.MenuSettingsVersion->trigger();
    QCOMPARE(w.volumeBar->PosTextPrefix(), kVersion);
    QCOMPARE(w.volumeBar->PosTextSuffix(), QStringLiteral("    Scribo_office.inf"));

    w.playPauseAction->trigger();
    QCOMPARE(w.volumeBar->PosTextPrefix(), QStringLiteral("     再生速度[ 1.0 ］"));
    QCOMPARE(w.volumeBar->PosTextSuffix(), QStringLiteral("     音量[ 50 ］"));
}

QTEST_MAIN(AboutBoxTest)
#include "about_box_test.moc"
