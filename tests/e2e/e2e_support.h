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

// `scribo --cmd action` on the running Scribo: its status; its standard error into *error.
int command(const ScriboProcess& scribo, const QString& action, QString* error = nullptr);
// Puts the text on the clipboard as another program would; true once it is there.
bool copyToClipboard(const QString& text);
QString clipboardText();

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

// Top-level windows of the process other than its main window: the message boxes it shows.
QStringList messageBoxes(ScriboProcess& scribo, quint64 mainWindow);
// Closes the boxes with Return, as a user would; true when none is left.
bool dismissMessageBoxes(ScriboProcess& scribo, quint64 mainWindow);

// Sets an environment variable for the programs started while it lives.
// A null value unsets the variable.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QString& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    QByteArray old_;
    bool had_;
};

// For a Scribo that plays video. Mesa's drivers are unloaded before the program ends, so the
// leak checker of a sanitizer build can no longer tell their blocks from ours: it is off there.
class VideoLeakCheck {
public:
    VideoLeakCheck();

private:
    ScopedEnv options_;
};

// The stand-in HID library (tests/standin) with a script in the given folder, for the programs
// started while it lives: append() hands the pedal its next command.
class StandinPedal {
public:
    explicit StandinPedal(const QString& folder);
    void append(const QByteArray& line);
    int opens() const;  // how often a device was opened

private:
    QString script_, log_, devices_;
    ScopedEnv library_, scriptEnv_, logEnv_, devicesEnv_;
    int plugs_ = 0;
};

// python3's HTTP server on the loopback address, serving a folder; base() is empty when it did
// not start.
class LocalWebServer {
public:
    // With a certificate (key and certificate in one PEM file) it serves https.
    explicit LocalWebServer(const QString& folder, const QString& certificate = {});
    ~LocalWebServer();
    QString base() const { return base_; }  // http(s)://127.0.0.1:<port>/

private:
    QProcess server_;
    QString base_;
};

// Asks Scribo to close over the desktop media interface, as a desktop client would; true when
// it answered.
bool quitScribo();

// playerctl on the Scribo of this test (-p scribo), its standard output trimmed.
QString playerctl(const QStringList& arguments, int* exitCode = nullptr);
// What the desktop media interface says: "Playing", "Paused", …; the position in seconds, or -1.
QString playerStatus();
double playerPosition();
