#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <memory>

#include "app/main_form.h"
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
#include "transport/transport_controller.h"

class ProgressBar;
class QAction;
class QTimer;

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
QTimer* transportTimer(MainWindow& form, const char* name);

// A main window on fakes, living in a temporary program folder.
class FormFixture {
public:
    FormFixture();
    ~FormFixture();

    QString folder() const;  // with a trailing separator
    // Writes a settings file (CP932 bytes as given, "\n" turned into CR LF) into the folder.
    QString writeSettings(const QByteArray& lines,
                          const QString& name = QStringLiteral("Scribo.inf"));
    QByteArray settingsBytes(const QString& name = QStringLiteral("Scribo.inf")) const;
    // Creates an (empty) file in the folder that the fake player plays with the given length.
    QString addMediaFile(const QString& name, double duration, bool rateAvailable = true);

    MainWindow& create();
    // Creates the window and runs the start-up sequence; false when it refused to start.
    bool start();
    // Closes the window as the system would and tells whether it closed.
    bool closeForm();
    // Opens a media file as a drop would, and lets the length probe finish.
    void openMedia(const QString& path);

    MainWindow& form() { return *form_; }
    void destroyForm() { form_.reset(); }
    QTemporaryDir dir;
    FakeClock clock;
    FakePlayer player{clock};
    FakeDialogs dialogs;
    FakePedalLibrary pedalLibrary;
    FakeKeyState keyState;
    FakeClipboard clipboard;
    // System-wide keys in memory: window tests never grab the real keyboard.
    FakeHotkeyService hotkeyService;
    HotkeyController hotkeys{hotkeyService, clock};
    FakeBrowserLauncher browser;

private:
    std::unique_ptr<MainWindow> form_;
};
