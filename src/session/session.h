#pragma once

#include <QColor>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QTime>
#include <functional>
#include <memory>
#include <optional>

#include "core/entry_gate.h"
#include "keyboard/hotkey_table.h"
#include "session/request_outcome.h"
#include "session/settings_table.h"
#include "web/url_panel.h"

class BrowserLauncher;
class Clipboard;
class Clock;
class Dialogs;
class HotkeyController;
class HotkeyDispatcher;
class IndexCommands;
class IndexController;
class KeyState;
class KeystrokeOutput;
class MediaPlayer;
class PedalController;
class PedalLibrary;
class SettingsStore;
class TransportController;

// What the session is given from outside: the player, time, the modal boxes, the devices and
// where the program lives. main.cpp passes the real ones, tests pass fakes.
struct SessionServices {
    MediaPlayer* player = nullptr;
    Clock* clock = nullptr;
    Dialogs* dialogs = nullptr;
    // Where start-up looks for the settings file, with a trailing separator.
    QString settingsFolder;
    PedalLibrary* pedalLibrary = nullptr;
    KeyState* keyState = nullptr;
    // Where the program itself lives, with a trailing separator.
    QString programFolder;
    Clipboard* clipboard = nullptr;
    // The system-wide keys; none means the session claims none.
    HotkeyController* hotkeys = nullptr;
    BrowserLauncher* browser = nullptr;     // none: the desktop's default browser
    KeystrokeOutput* keystrokes = nullptr;  // none: XTest where there is an X display
};

// The application without its window: the controllers of every subsystem, the settings, the
// entry gate and the error guard, and the start-up, close and reset sequences. The window shows
// what the session and its controllers report and forwards its controls here; everything from
// outside (the desktop media interface, D-Bus actions, the portal, hotkeys, the pedal, the
// command-line hand-over, the URL panel) comes in through request(), requestOpen() and
// requestQuit().
class Session : public QObject, private WebAddressPlayer {
    Q_OBJECT
public:
    explicit Session(const SessionServices& services, QObject* parent = nullptr);
    ~Session() override;

    TransportController& transport() { return *transport_; }
    IndexController& index() { return *index_; }
    IndexCommands& indexCommands() { return *indexCommands_; }
    PedalController& pedal() { return *pedal_; }
    HotkeyDispatcher& keys() { return *keys_; }
    UrlPanel& urlPanel() { return *urlPanel_; }
    SettingsStore& settings() { return *settings_; }
    const SettingsStore& settings() const { return *settings_; }
    MediaPlayer& player();
    Dialogs& dialogs() { return dialogs_; }
    // Shut while the session closes and while a command waits processing events.
    const EntryGate& gate() const { return gate_; }
    EntryGate& gate() { return gate_; }

    // ---- The way in --------------------------------------------------------------------------
    // Runs a command from outside: refused (Busy) while the gate is shut; a player, settings-file
    // or CSV-file error ends it with the standard error box (Failed).
    RequestOutcome request(const std::function<void()>& command);
    // A command of a system-wide key, a D-Bus action or a desktop shortcut.
    RequestOutcome requestKey(HotkeyCommand command);
    // Opens a media file as a drop would (without the pause) or plays a web address as the URL
    // panel does. While the gate is shut the latest such request waits for it to open again; one
    // arriving while closing is dropped.
    void requestOpen(const QString& pathOrAddress);
    // Closes as the exit button does; deferred like an open.
    void requestQuit();
    // Ends as "終了する" does (the settings written in full, then the close): a logout, a
    // shutdown or an interrupt. Deferred like a quit.
    void requestEnd();
    // Runs a handler of the window's own controls inside the error guard; false when it ended
    // with the error box.
    bool run(const std::function<void()>& handler);
    // Waits while events are processed, with the gate shut meanwhile.
    void waitProcessingEvents(int ms);

    // ---- Start-up, close and reset -----------------------------------------------------------
    // Finds and reads the settings file, restores the last media and claims the keys. False when
    // the program must end at once (exitCode() says with what).
    bool startUp();
    // The same in two halves, so that the window can show in between: the settings and the keys
    // (startedUp), then, with the player, the last media. Requests wait for the second half.
    bool beginStartUp();
    void completeStartUp();
    int exitCode() const { return exitCode_; }
    bool isStarted() const { return started_; }
    // Whether closing stores the open media and its position.
    bool savesOnClose() const { return saveOnClose_; }
    // The close: stops the timers, lets the player settle and stores what is to be kept. False
    // when the window must stay open: a close is under way already, or a write was refused.
    bool close();
    // "終了する": the full write of the settings, then the close (closeRequested).
    void exitSavingSettings();
    // Closes without writing the index or the media's place.
    void exitWithoutSavingIndex();
    // What the close keeps, written at once, without waiting for the player or asking anything:
    // the settings, the open media and its place, and a changed index. For a session that is
    // ending or a display that is gone; a write that fails is said on standard error only.
    // Nothing before start-up has finished, or after a close without saving.
    void saveWithoutWaiting();
    // "初期状態に戻す": the media let go, then every setting back to its default.
    void resetToDefaults();

    // ---- Commands of the window's controls ---------------------------------------------------
    // The open command: the dropped file waiting for it, or one asked for with the dialog.
    void openMedia();
    // A file (or several) dropped on the window; only one media file is taken.
    void dropFiles(const QStringList& paths);
    const QString& pendingMediaPath() const { return pendingMediaPath_; }
    // The time picker's set button: goes to the picked time and repeats from there.
    void seekToPickedTime();
    void showFileName();
    void showFolderName();
    // A menu check mark clicked: flips the flag and writes it when its row says so.
    void toggle(Setting setting);
    // A settings panel item chosen: in effect at once and written (once started).
    void choose(Setting setting, int item);
    // "この位置に出現させる": the window's place is remembered.
    void rememberWindowPosition(QPoint topLeft);
    // The URL panel's buttons, with the box's text (or the clipboard's).
    void pasteAddress(const QString& clipboardText);
    void playAddress(const QString& boxText);
    void openAddressInBrowser(const QString& boxText);
    // Re-reads which keys another program holds and reports them (heldKeysChanged).
    void reportHeldKeys();
    // The volume bar's two texts: as they stand, and new ones.
    void showVolumeBarTexts(const QString& leading, const QString& trailing);
    const QString& volumeBarLeading() const { return volumeBarLeading_; }
    const QString& volumeBarTrailing() const { return volumeBarTrailing_; }

Q_SIGNALS:
    // Start-up is over; the media is open if one was remembered and is still there.
    void startedUp(bool mediaRemembered);
    // The window should close now, as its exit button does.
    void closeRequested();
    void quitRequested();
    // The media was let go by the reset or a web address: back to the texts of a new window.
    void mediaReleased();
    // The reset is over: the window reopens its settings panel.
    void wasReset();
    // The volume bar's two texts (beside the volume) and the colour of the position text: many
    // commands change them, and they have this one owner.
    void volumeBarTextsChanged(const QString& leading, const QString& trailing);
    void positionTextColorChanged(const QColor& color);
    // Keys another program holds (empty: none).
    void heldKeysChanged(const QStringList& combinations);

private:
    void playWebAddress(const QString& address) override;
    void wireControllers();
    void applyChoice(Setting setting, int item);
    void applyLoadedChoices();
    void showInitialVolumeBarTexts();
    void showVolumeBarLeading(const QString& text);
    void showVolumeBarTrailing(const QString& text);
    void showSpeedText(const QString& speedText);
    void showVolumeText(const QString& volumeText);
    bool takeMediaFile(const QString& path);
    void openFromOutside(const QString& pathOrAddress);
    void runDeferred();
    void shutDown();
    void releaseMedia();
    void resetSettings();
    void registerHotkeys();
    void reregisterHotkeys();

    Clock& clock_;
    Dialogs& dialogs_;
    HotkeyController* hotkeys_;
    QString settingsFolder_;
    EntryGate gate_;
    std::optional<EntryGate::Wait> startingWait_;
    std::unique_ptr<Clipboard> ownClipboard_;
    std::unique_ptr<BrowserLauncher> ownBrowser_;
    std::unique_ptr<KeystrokeOutput> ownKeystrokes_;
    SettingsStore* settings_;
    TransportController* transport_;
    IndexController* index_;
    IndexCommands* indexCommands_;
    PedalController* pedal_;
    HotkeyDispatcher* keys_;
    UrlPanel* urlPanel_;

    QString volumeBarLeading_, volumeBarTrailing_;
    QString pendingMediaPath_;
    QString deferredOpen_;
    bool deferredQuit_ = false;
    bool started_ = false;
    bool saveOnClose_ = false;
    int exitCode_ = 0;
};
