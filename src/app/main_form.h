#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

#include "app/settings_table.h"
#include "controls/progress_bar.h"
#include "controls/radio_group.h"
#include "core/entry_gate.h"
#include "web/url_panel.h"

class Clipboard;
class BrowserLauncher;
class Clock;
class Dialogs;
class KeyState;
class IndexCommands;
class IndexController;
class HotkeyController;
class MediaPlayer;
class PedalController;
class PedalLibrary;
class PlayerView;
class HotkeyDispatcher;
class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QMenuBar;
class QTabWidget;
class QTimeEdit;
class QTimer;
class QToolBar;
class QToolButton;
class AboutBox;
class ProfileFile;
class TransportController;

// What the window is given from outside: the player, time, the modal boxes and where the
// program lives. main.cpp passes the real ones, tests pass fakes.
struct WindowServices {
    MediaPlayer* player = nullptr;
    Clock* clock = nullptr;
    Dialogs* dialogs = nullptr;
    QString programFolder;  // with a trailing separator
    PedalLibrary* pedalLibrary = nullptr;
    KeyState* keyState = nullptr;
    QString executableFolder;        // where the program itself lives, with a trailing separator
    Clipboard* clipboard = nullptr;  // none: the desktop's
    // The system-wide keys; none means the window registers none.
    HotkeyController* hotkeys = nullptr;
    BrowserLauncher* browser = nullptr;  // none: the desktop's default browser
};

inline constexpr int kIndexEntries = 29;

// The main window: its widgets, its position, the settings panel and the menus. It shows what the
// TransportController reports and forwards its controls to it (transport_view.cpp); its state and
// its controls are private. Tests and screen readers find a control by its object name, which is
// the member's name without the trailing underscore (see nameControls). Handlers never catch the
// errors of the player or of the settings file: the guard around each connection does (see
// main_form_wiring.cpp).
class MainWindow : public QWidget, private WebAddressPlayer {
    Q_OBJECT
public:
    explicit MainWindow(const WindowServices& services, QWidget* parent = nullptr);
    ~MainWindow() override;

    // ---- Services and outside entry points ---------------------------------------------------
    TransportController& transport() { return *transport_; }
    PedalController& pedal() { return *pedal_; }
    IndexController& index() { return *index_; }
    IndexCommands& indexCommands() { return *indexCommands_; }
    const UrlPanel& urlPanel() const { return *urlPanel_; }
    // Shut while the window closes and while a handler waits; see outside_entry.cpp.
    EntryGate& entryGate() { return gate_; }
    // Requests from outside. An open arriving while the gate is shut waits for it to open
    // again, the latest one replacing any earlier; one arriving while closing is dropped. A
    // quit arriving during a wait follows when the wait is over.
    // A web address (http or https link) is played as the URL panel plays it.
    void openFromOutside(const QString& path);
    void quitFromOutside();
    // A file (or several) dropped on the window.
    void dropFiles(const QStringList& paths);
    // Runs a handler; a player, settings-file or CSV-file error ends it with the standard error
    // box. False when it ended that way.
    bool guard(const std::function<void()>& handler);
    // The hotkeys' commands run inside the guard and their texts show on the bars.
    void attachHotkeyDispatcher(HotkeyController& hotkeys, HotkeyDispatcher& dispatcher);
    // Says on the keyboard tab that no system-wide keys are to be had, why, and what instead.
    void showKeysUnavailable(const QString& reason);
    // The native window the player draws video into.
    quintptr videoWindowId();

    // The start-up sequence. False when the program must end at once (no settings file).
    bool startUp();
    // Exit status the program should end with (non-zero when start-up refused to run).
    int exitCode() const { return exitCode_; }

    // ---- The settings file ----------------------------------------------------------------
    void loadSettings(const QString& path);
    // The full write that "終了する" makes.
    void saveAllSettings(const QString& path);

    // ---- What the window holds, read-only ---------------------------------------------------
    // Where start-up looked for the settings file, and the one it uses.
    QString settingsFolder() const { return programFolder_; }
    const QString& settingsPath() const { return settingsPath_; }
    bool isStarted() const { return started_; }
    // Whether closing stores the open media and its position.
    bool savesOnClose() const { return saveOnClose_; }
    bool isPanelCollapsed() const { return panelCollapsed_; }
    // The remembered window position (what the file holds or the default).
    int windowTop() const { return windowTop_; }
    int windowLeft() const { return windowLeft_; }
    // A dropped file waiting for the open command.
    const QString& pendingMediaPath() const { return pendingMediaPath_; }
    bool isDraggingPosition() const { return positionDragging_; }
    bool isDraggingVolume() const { return volumeDragging_; }

    // Height of the window with the settings panel shown, and collapsed.
    static constexpr int kExpandedHeight = 450;
    static constexpr int kCollapsedHeight = 107;
    static constexpr int kWidth = 390;
    // Where the window stands when the file names no place, and after the reset.
    static constexpr int kDefaultLeft = 800;
    static constexpr int kDefaultTop = 100;

protected:
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // ---- Building (main_form_ui.cpp, main_form_menus.cpp, main_form_tabs.cpp) ------------------
    void buildWindow();
    void initializeState();
    void resetLabels();
    void buildControls();
    void buildMenus();
    void buildSettingsTabs();
    void nameControls();
    void wireSignals();       // main_form_wiring.cpp
    void wireIndex();         // main_form_wiring.cpp
    void wireUrlPanel();      // web_panel.cpp
    void connectTransport();  // transport_view.cpp
    void connectPedal();      // pedal_view.cpp

    // ---- Handlers of the window's controls -------------------------------------------------
    void beginWindowMove(Qt::MouseButton button, QPoint globalPos);
    void togglePanel();
    void expandSettingsPanel();
    void collapseSettingsPanel();
    void rememberWindowPosition();
    void showAboutBox();
    void showVersion();
    // Reset (reset.cpp): the media let go, then everything back to the defaults.
    void forgetMedia();
    void clearRemembered();
    void releaseMedia();
    void resetToDefaults();
    // Exit (shutdown.cpp).
    void exitSavingSettings();
    void exitWithoutSavingIndex();
    void exitProgram();
    // A failed write ends it with an error; the window then stays open.
    void shutDown();
    void releaseHotkeys();

    // Transport (transport_view.cpp).
    // A wait that keeps processing events, with the entry gate shut meanwhile.
    void waitProcessingEvents(int ms);
    void openMedia();
    bool askForMediaFile(QString& fileName);
    void seekToPickedTime();
    void seekToTimeText(const QString& commaTime);
    void showFileName();
    void showFolderName();
    void togglePlay();
    void toggleSpeedSwitch();
    void showPositionText(const QString& timeText);
    void showSpeedText(const QString& speedText);
    void showVolumeText(const QString& volumeText);
    void showVolumeBarText(const QString& prefix, const QString& suffix);
    void volumeBarPressed(Qt::MouseButton button, int x, int y);
    void volumeBarDragged(int x, int y);
    void volumeBarReleased(Qt::MouseButton button, int x, int y);
    void positionBarPressed(Qt::MouseButton button, int x, int y);
    void positionBarDragged(int x, int y);
    void positionBarReleased(Qt::MouseButton button, int x, int y);
    void positionBarClicked();

    // URL panel (web_panel.cpp).
    void pasteAddress();
    void playAddress();
    void openAddressInBrowser();
    // The reset, then the address in the player with the position poll off and nothing of the
    // run saved at shutdown.
    void playWebAddress(const QString& address) override;

    // System-wide keys (keyboard_view.cpp).
    void registerHotkeys();
    void unregisterHotkeys();
    void reregisterHotkeys();
    // Lists on the keyboard tab the keys that stay with another program.
    void showKeysHeldElsewhere();
    QLabel* keysUnavailableLabel_ = nullptr;

    // The settings table (settings_file.cpp): one row per setting.
    void buildSettingsTable();
    void resetSettingControls();
    void writeSettings(std::initializer_list<std::pair<QString, QString>> keys);
    void toggleSetting(const SettingRow& row);
    void chooseGroupItem(const SettingRow& row);

    void runDeferred();
    // Takes a file to open next when its name is a media file's; otherwise shows it refused.
    bool takeMediaFile(const QString& path);

    // ---- Services ----------------------------------------------------------------------------
    Clock& clock_;
    Dialogs& dialogs_;
    std::unique_ptr<Clipboard> ownClipboard_;
    TransportController* transport_;
    PedalController* pedal_ = nullptr;
    IndexController* index_;
    IndexCommands* indexCommands_;
    HotkeyController* hotkeys_ = nullptr;
    BrowserLauncher* browser_ = nullptr;
    UrlPanel* urlPanel_ = nullptr;
    std::vector<SettingRow> settings_;
    EntryGate gate_;

    // ---- Controls ----------------------------------------------------------------------------
    QMenuBar* menuBar_ = nullptr;
    QWidget* topPanel_ = nullptr;
    ProgressBar* volumeBar_ = nullptr;
    ProgressBar* positionBar_ = nullptr;
    QWidget* timePickerPanel_ = nullptr;
    QTimeEdit* timePicker_ = nullptr;
    QToolButton* setTimeButton_ = nullptr;
    QToolBar* transportToolBar_ = nullptr;
    QAction* playPauseAction_ = nullptr;
    QAction* speedSwitchAction_ = nullptr;
    QAction* skipAction_ = nullptr;
    QAction* panelAction_ = nullptr;
    QAction* openFileAction_ = nullptr;
    QAction* exitAction_ = nullptr;
    QLabel* dropHintLabel_ = nullptr;
    QLabel* dragHintLabel_ = nullptr;
    QLabel* lengthCaptionLabel_ = nullptr;
    QLabel* lengthLabel_ = nullptr;
    QLabel* playTimeLabel_ = nullptr;

    QWidget* settingsPanel_ = nullptr;
    QTabWidget* settingsTabs_ = nullptr;
    QWidget* playerTab_ = nullptr;
    QWidget* playbackTab_ = nullptr;
    QWidget* pedalTab_ = nullptr;
    QWidget* keysHelpTab_ = nullptr;
    QLabel* heldKeysLabel_ = nullptr;  // keys another program holds, on the keys tab
    QWidget* indexHelpTab_ = nullptr;
    QWidget* timeCodeHelpTab_ = nullptr;
    PlayerView* playerView_ = nullptr;  // the player's picture and its own controls
    QComboBox* addressBox_ = nullptr;
    QToolButton* openInBrowserButton_ = nullptr;
    QToolButton* pasteAddressButton_ = nullptr;
    QToolButton* playAddressButton_ = nullptr;

    RadioGroup* autoRewindGroup_ = nullptr;
    RadioGroup* speedGroup_ = nullptr;
    RadioGroup* repeatIntervalGroup_ = nullptr;
    RadioGroup* centrePedalGroup_ = nullptr;
    RadioGroup* leftPedalGroup_ = nullptr;
    RadioGroup* rightPedalGroup_ = nullptr;
    RadioGroup* rewindStepGroup_ = nullptr;
    RadioGroup* forwardStepGroup_ = nullptr;
    RadioGroup* pedalModeGroup_ = nullptr;

    // File menu
    QMenu* fileMenu_ = nullptr;
    QAction* exitSavingSettingsAction_ = nullptr;
    QAction* openMediaAction_ = nullptr;
    QAction* appearHereAction_ = nullptr;
    QAction* showFileNameAction_ = nullptr;
    QAction* showFolderNameAction_ = nullptr;
    QAction* exitWithoutSavingIndexAction_ = nullptr;
    // Index menus: entry n is playEntryActions_[n] (Tag 400 + n, object name "playEntryAction<n>")
    // and registerEntryActions_[n] (Tag 500 + n, "registerEntryAction<n>"); [0] is unused.
    QMenu* indexPlayMenu_ = nullptr;
    QMenu* indexSettingsMenu_ = nullptr;
    QMenu* indexRegisterMenu_ = nullptr;
    std::array<QAction*, kIndexEntries + 1> playEntryActions_{};
    std::array<QAction*, kIndexEntries + 1> registerEntryActions_{};
    QAction* addClipboardNoteAction_ = nullptr;
    QAction* protectEntriesAction_ = nullptr;
    QAction* exportCsvAction_ = nullptr;
    QAction* savePositionAction_ = nullptr;
    QAction* restorePositionAction_ = nullptr;
    QAction* clearIndexAction_ = nullptr;
    // Settings menu
    QMenu* settingsMenu_ = nullptr;
    QAction* pedalStatusAction_ = nullptr;
    QAction* ignoreCapsLockAction_ = nullptr;
    QAction* ignoreCtrlSpaceAction_ = nullptr;
    QAction* ignoreBackspaceAction_ = nullptr;
    QAction* ignoreInsertAction_ = nullptr;
    QAction* ignoreConvertKeysAction_ = nullptr;
    QAction* ignorePrintScreenAction_ = nullptr;
    QAction* ignoreBackslashAction_ = nullptr;
    QAction* ignoreAltCharacterAction_ = nullptr;
    QAction* ignoreBracketKeyAction_ = nullptr;
    QAction* ignoreF1Action_ = nullptr;
    QAction* ignoreF2Action_ = nullptr;
    // Checked: pressing two pedals together steps neither the speed nor the volume.
    QAction* twoPedalsKeepSpeedAndVolumeAction_ = nullptr;
    QAction* ignorePedalAction_ = nullptr;
    QAction* keepPanelOpenAction_ = nullptr;
    QAction* aboutAction_ = nullptr;
    QAction* versionAction_ = nullptr;
    QAction* resetAction_ = nullptr;

    AboutBox* aboutBox_ = nullptr;

    // ---- Window state (the transport's is in TransportController) ----------------------
    QString settingsPath_;
    QString programFolder_;
    QString settingsPrefix_;
    bool started_ = false;
    bool saveOnClose_ = false;
    bool panelCollapsed_ = false;
    int windowTop_ = 0, windowLeft_ = 0;
    QString pendingMediaPath_;
    bool positionDragging_ = false, volumeDragging_ = false;

    QString deferredOpen_;
    bool deferredQuit_ = false;
    int exitCode_ = 0;
    bool manualMove_ = false;
    QPoint moveOffset_;
};
