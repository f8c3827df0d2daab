#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <memory>

#include "app/main_window.h"
#include "fakes/fake_browser_launcher.h"
#include "fakes/fake_clipboard.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_dialogs.h"
#include "fakes/fake_keyboard.h"
#include "fakes/fake_pedal_library.h"
#include "fakes/fake_player.h"
#include "fakes/window_controls.h"
#include "index/index_commands.h"
#include "index/index_controller.h"
#include "keyboard/hotkey_controller.h"
#include "pedal/pedal_controller.h"
#include "session/session.h"
#include "session/settings_store.h"
#include "transport/transport_controller.h"

class ProgressBar;
class QAction;
class QTimer;
class SessionFixture;

// Index entry n's items in the play and register menus.
QAction* playEntryAction(QObject& window, int n);
QAction* registerEntryAction(QObject& window, int n);

// The mouse on a bar as a user moves it, in the bar's coordinates. A drag is a move with the left
// button held, pressed on the bar or not.
void pressBar(ProgressBar* bar, Qt::MouseButton button, int x, int y);
void dragBar(ProgressBar* bar, int x, int y);
void releaseBar(ProgressBar* bar, Qt::MouseButton button, int x, int y);
void clickBar(ProgressBar* bar);

// One of the transport's timers, by its name ("repeatTimer", "positionPollTimer", ...).
QTimer* transportTimer(SessionFixture& f, const char* name);

// A session on fakes, living in a temporary program folder, without a window.
class SessionFixture {
public:
    SessionFixture();
    virtual ~SessionFixture();

    QString folder() const;  // with a trailing separator
    // Writes a settings file (CP932 bytes as given, "\n" turned into CR LF) into the folder.
    QString writeSettings(const QByteArray& lines,
                          const QString& name = QStringLiteral("Scribo.inf"));
    QByteArray settingsBytes(const QString& name = QStringLiteral("Scribo.inf")) const;
    // Creates an (empty) file in the folder that the fake player plays with the given length.
    QString addMediaFile(const QString& name, double duration, bool rateAvailable = true);

    Session& session();
    // Runs the start-up sequence (making the session first); false when it refused to start.
    virtual bool start();
    // Closes as the window's close would and tells whether it closed.
    virtual bool close();
    // Opens a media file as a drop would, and lets the length probe finish.
    void openMedia(const QString& path);
    // Shortcuts to the session's controllers.
    TransportController& transport() { return session().transport(); }
    SettingsStore& settings() { return session().settings(); }

    QTemporaryDir dir;
    FakeClock clock;
    FakePlayer player{clock};
    FakeDialogs dialogs;
    FakePedalLibrary pedalLibrary;
    FakeKeyState keyState;
    FakeClipboard clipboard;
    // System-wide keys in memory: tests never grab the real keyboard.
    FakeHotkeyService hotkeyService;
    HotkeyController hotkeys{hotkeyService, clock};
    FakeKeystrokeOutput keystrokes;
    FakeBrowserLauncher browser;

protected:
    virtual void created() {}
    std::unique_ptr<Session> session_;
};

// The same session with the main window on it.
class WindowFixture : public SessionFixture {
public:
    WindowFixture();
    ~WindowFixture() override;

    MainWindow& create();
    bool start() override;
    // Closes the window as the system would and tells whether it closed.
    bool close() override;

    MainWindow& window() { return *window_; }
    // Ends the window, then the session.
    void destroy() {
        window_.reset();
        session_.reset();
    }

private:
    void created() override;
    std::unique_ptr<MainWindow> window_;
};
