// The window as a screen reader meets it: every control has a name to read, and choosing a radio
// item through the accessibility interface applies it like a click.

#include <QAccessible>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include "core/profile_file.h"
#include "fakes/transport_setup.h"
#include "fakes/window_fixture.h"

namespace {
enum class Way { Toggle, Press, Mouse, Keyboard };

void choose(QRadioButton* button, Way way) {
    QAccessibleInterface* item = QAccessible::queryAccessibleInterface(button);
    switch (way) {
        case Way::Toggle:
            item->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
            break;
        case Way::Press:
            item->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
            break;
        case Way::Mouse:
            QTest::mouseClick(button, Qt::LeftButton);
            break;
        case Way::Keyboard:
            button->setFocus();
            QTest::keyClick(button, Qt::Key_Space);
            break;
    }
}
}  // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyWayOfChoosingApplies_data();
    void everyWayOfChoosingApplies();
    void choiceBeforeStartUpIsNotApplied();
    void everyControlHasAName();
};

void AccessibilityTest::everyWayOfChoosingApplies_data() {
    QTest::addColumn<Way>("way");
    QTest::newRow("screen reader toggle") << Way::Toggle;
    QTest::newRow("screen reader press") << Way::Press;
    QTest::newRow("mouse") << Way::Mouse;
    QTest::newRow("keyboard") << Way::Keyboard;
}

void AccessibilityTest::everyWayOfChoosingApplies() {
    QFETCH(Way, way);
    WindowFixture f;
    f.writeSettings(transportsetup::kSettings);
    QVERIFY(f.start());
    f.window().show();
    auto* speed = control<RadioGroup>(f.window(), "speedGroup");
    control<QTabWidget>(f.window(), "settingsTabs")->setCurrentWidget(speed->parentWidget());
    QSignalSpy chosen(speed, &RadioGroup::clicked);

    choose(speed->findChildren<QRadioButton*>().at(4), way);  // １．５

    QTRY_COMPARE(speed->itemIndex(), 4);
    QCOMPARE(chosen.count(), 1);  // applied once, not once per signal
    QCOMPARE(f.transport().chosenSpeed(), 1.5);
    QCOMPARE(ProfileFile(f.settings().path())
                 .readString(QStringLiteral("Play"), QStringLiteral("Speed"), {}),
             QStringLiteral("4"));
}

void AccessibilityTest::choiceBeforeStartUpIsNotApplied() {
    WindowFixture f;
    f.writeSettings(transportsetup::kSettings);
    f.create();
    auto* speed = control<RadioGroup>(f.window(), "speedGroup");
    choose(speed->findChildren<QRadioButton*>().at(4), Way::Toggle);
    QCOMPARE(speed->itemIndex(), 4);
    QCOMPARE(f.transport().chosenSpeed(), 1.0);
    QVERIFY(f.settingsBytes().contains("Speed=2"));
    QVERIFY(f.start());
    QCOMPARE(speed->itemIndex(), 2);  // the saved choice wins
    QCOMPARE(f.transport().chosenSpeed(), 1.0);
}

void AccessibilityTest::everyControlHasAName() {
    WindowFixture f;
    transportsetup::startWithMedia(f, QStringLiteral("talk.mp3"), 600);
    QWidget& window = f.window();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // Containers and texts read as themselves; what a user can act on or watch needs a name.
    const QList<QAccessible::Role> unnamed = {QAccessible::Client,     QAccessible::Pane,
                                              QAccessible::StaticText, QAccessible::Separator,
                                              QAccessible::Grouping,   QAccessible::ScrollBar,
                                              QAccessible::LayeredPane};
    QStringList missing;
    int checked = 0;
    const auto walk = [&](QWidget* tab) {
        for (QWidget* widget : tab->findChildren<QWidget*>()) {
            if (!widget->isVisibleTo(&window)) continue;
            QAccessibleInterface* item = QAccessible::queryAccessibleInterface(widget);
            if (!item || unnamed.contains(item->role())) continue;
            ++checked;
            if (item->text(QAccessible::Name).trimmed().isEmpty())
                missing << QStringLiteral("%1 (%2)").arg(widget->objectName(),
                                                         widget->metaObject()->className());
        }
    };
    // Each tab of the settings panel in turn, so that its controls are visible.
    auto* tabs = control<QTabWidget>(window, "settingsTabs");
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        walk(&window);
    }
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QStringLiteral(", "))));
    QVERIFY(checked > 20);
    // The toolbar's buttons read their hints.
    auto* toolbar = control<QToolBar>(window, "transportToolBar");
    for (QAction* action : toolbar->actions())
        QVERIFY(!QAccessible::queryAccessibleInterface(toolbar->widgetForAction(action))
                     ->text(QAccessible::Name)
                     .isEmpty());
}

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
