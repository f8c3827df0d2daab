#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>

// The real binary in a program folder of its own, on the X server and session bus that
// tools/with-display started for the test.
class ScriboProcess {
public:
    ScriboProcess();
    ~ScriboProcess();

    QString folder() const { return dir_.path() + QLatin1Char('/'); }
    QString binary() const { return folder() + QStringLiteral("scribo"); }
    // Writes the settings file (lines joined with CR LF, CP932 left to the caller).
    void writeSettings(const QByteArray& lines, const QString& name = QStringLiteral("Scribo.inf"));
    QByteArray settingsBytes(const QString& name = QStringLiteral("Scribo.inf")) const;

    void start(const QStringList& arguments = {});
    bool waitForExit(int ms);
    QProcess& process() { return *process_; }
    // The X window id of the main window once it is mapped; 0 when it did not appear in time.
    quint64 waitForWindow(int ms = 15000);

private:
    QTemporaryDir dir_;
    std::unique_ptr<QProcess> process_;
};

// Runs a command to its end and returns its standard output; empty on failure.
QString runTool(const QString& program, const QStringList& arguments, int timeoutMs = 10000,
                int* exitCode = nullptr);
// xdotool with the given arguments; true when it succeeded.
bool xdotool(const QStringList& arguments);
// The top-level windows of the process that are shown now: the main window, and its menu popups
// while one is open.
QList<quint64> visibleTopLevelWindows(qint64 pid);
// Asks the window to close as a window manager's close button does (WM_DELETE_WINDOW); the
// test's X server runs no window manager to send it.
void requestClose(quint64 window);
// Polls until the predicate holds or the time is up.
bool waitUntil(const std::function<bool()>& predicate, int ms);

// playerctl on the Scribo of this test (-p scribo), its standard output trimmed.
QString playerctl(const QStringList& arguments, int* exitCode = nullptr);
// What the desktop media interface says: "Playing", "Paused", …; the position in seconds, or -1.
QString playerStatus();
double playerPosition();
