// Which displays Qt will try, from the command line and the environment, and what is said when
// none of them answers.

#include <QtTest>

#include "core/display_choice.h"

class DisplayChoiceTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void reason_data();
    void reason();
};

void DisplayChoiceTest::reason_data() {
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<QStringList>("environment");  // NAME=value; the others unset
    QTest::addColumn<QStringList>("answering");    // the addresses that can be opened
    QTest::addColumn<QString>("reason");

    const QString deadX = QStringLiteral("the X display \":99\" cannot be reached");
    QTest::newRow("X11 display answers")
        << "" << QStringList{"DISPLAY=:0"} << QStringList{":0"} << "";
    QTest::newRow("X11 display without a server")
        << "" << QStringList{"DISPLAY=:99"} << QStringList{":0"} << deadX;
    QTest::newRow("xcb chosen, no DISPLAY")
        << "" << QStringList{"QT_QPA_PLATFORM=xcb"} << QStringList{":0"} << "DISPLAY is not set";
    QTest::newRow("Wayland naming nothing, no DISPLAY")
        << "" << QStringList{"WAYLAND_DISPLAY=nothing"} << QStringList{"/run/1/wayland-0"}
        << "the Wayland display \"/run/1/nothing\" cannot be reached; DISPLAY is not set";
    QTest::newRow("X11 dead, Wayland answers")
        << "" << QStringList{"DISPLAY=:99", "WAYLAND_DISPLAY=/tmp/w"} << QStringList{"/tmp/w"}
        << "";
    QTest::newRow("Wayland session, default socket")
        << "" << QStringList{"XDG_SESSION_TYPE=wayland"} << QStringList{"/run/1/wayland-0"} << "";
    QTest::newRow("Wayland chosen, no runtime folder")
        << "" << QStringList{"QT_QPA_PLATFORM=wayland", "XDG_RUNTIME_DIR="} << QStringList{}
        << "XDG_RUNTIME_DIR is not set for Wayland";
    QTest::newRow("handed a Wayland connection")
        << "" << QStringList{"QT_QPA_PLATFORM=wayland", "WAYLAND_SOCKET=5"} << QStringList{} << "";
    QTest::newRow("offscreen needs no display")
        << "" << QStringList{"QT_QPA_PLATFORM=offscreen:size=100x100"} << QStringList{} << "";
    QTest::newRow("-platform before QT_QPA_PLATFORM")
        << "--platform offscreen" << QStringList{"QT_QPA_PLATFORM=xcb"} << QStringList{} << "";
    QTest::newRow("-display before DISPLAY")
        << "-display :99" << QStringList{"DISPLAY=:0"} << QStringList{":0"} << deadX;
    QTest::newRow("a list is tried in order")
        << "" << QStringList{"QT_QPA_PLATFORM=wayland;xcb", "DISPLAY=:0"} << QStringList{":0"}
        << "";
}

void DisplayChoiceTest::reason() {
    QFETCH(QString, arguments);
    QFETCH(QStringList, environment);
    QFETCH(QStringList, answering);
    for (const char* name :
         {"DISPLAY", "WAYLAND_DISPLAY", "WAYLAND_SOCKET", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE"})
        qunsetenv(name);
    qputenv("XDG_RUNTIME_DIR", "/run/1");
    for (const QString& entry : environment)
        qputenv(qPrintable(entry.section(QLatin1Char('='), 0, 0)),
                entry.section(QLatin1Char('='), 1).toLocal8Bit());
    QList<QByteArray> words{"scribo"};
    for (const QString& word : arguments.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        words << word.toLocal8Bit();
    QList<char*> argv;
    for (QByteArray& word : words)
        argv << word.data();

    const QList<DisplayTarget> targets =
        displayTargets(currentDisplayEnvironment(int(argv.size()), argv.data()));
    QTEST(unreachableDisplayReason(
              targets, [&](const DisplayTarget& t) { return answering.contains(t.address); }),
          "reason");
}

QTEST_GUILESS_MAIN(DisplayChoiceTest)
#include "display_choice_test.moc"
