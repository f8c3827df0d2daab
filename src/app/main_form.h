#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

#include "app/settings_table.h"
#include "controls/al_progress_bar.h"
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
class TAboutBox;
class ProfileFile;
class TransportController;

// What the window is given from outside: the player, time, the modal boxes and where the
// program lives. main.cpp passes the real ones, tests pass fakes.
struct FormServices {
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
// TransportController reports and forwards its controls to it (transport_view.cpp); its own state
// is private. Handlers never catch the errors of the player or of the settings file: the guard
// around each connection does (see main_form_wiring.cpp).
class TAMainForm : public QWidget, private WebAddressPlayer {
    Q_OBJECT
public:
    explicit TAMainForm(const FormServices& services, QWidget* parent = nullptr);
    ~TAMainForm() override;

    // ---- Controls ------------------------------------------------------------------------
    QMenuBar* MainMenu1 = nullptr;
    QWidget* PanelTop = nullptr;
    TALProgressBar* volumeBar = nullptr;
    TALProgressBar* positionBar = nullptr;
    QWidget* PanelTimePicker = nullptr;
    QTimeEdit* timePicker = nullptr;
    QToolButton* setTimeButton = nullptr;
    QToolBar* transportToolBar = nullptr;
    QAction* playPauseAction = nullptr;
    QAction* speedSwitchAction = nullptr;
    QAction* skipAction = nullptr;
    QAction* panelAction = nullptr;
    QAction* openFileAction = nullptr;
    QAction* exitAction = nullptr;
    QLabel* dropHintLabel = nullptr;
    QLabel* dragHintLabel = nullptr;
    QLabel* lengthCaptionLabel = nullptr;
    QLabel* lengthLabel = nullptr;
    QLabel* playTimeLabel = nullptr;

    QWidget* PanelSettings = nullptr;
    QTabWidget* PageControlSetting = nullptr;
    QWidget* PageControlSettingTab01Screen = nullptr;
    QWidget* PageControlSettingTab02Speed = nullptr;
    QWidget* PageControlSettingTab03Pedal = nullptr;
    QWidget* PageControlSettingTab04Keyboard = nullptr;
    QLabel* heldKeysLabel = nullptr;  // keys another program holds, on the keyboard tab
    QWidget* PageControlSettingTab06DescIndex = nullptr;
    QWidget* PageControlSettingTab08Info = nullptr;
    PlayerView* playerView = nullptr;  // the player's picture and its own controls
    QComboBox* ComboBoxURL = nullptr;
    QToolButton* sbOPenIE = nullptr;
    QToolButton* sbURLPaste = nullptr;
    QToolButton* sbURLgo = nullptr;

    RadioGroup* RadioGroupAutoBackSpace = nullptr;
    RadioGroup* RadioGroupPlaySpeed = nullptr;
    RadioGroup* RadioGroupRepeatTime = nullptr;
    RadioGroup* RadioGroupRedalPLAY = nullptr;
    RadioGroup* RadioGroupPedalREW = nullptr;
    RadioGroup* RadioGroupPedalFWD = nullptr;
    RadioGroup* RadioGroupREWPitch = nullptr;
    RadioGroup* RadioGroupFWDPitch = nullptr;
    RadioGroup* RadioGroupPedalMode = nullptr;

    // File menu
    QMenu* MenuFile = nullptr;
    QAction* MenuFileCloseWithSattings = nullptr;
    QAction* MenuFileOpen = nullptr;
    QAction* MenuFileAppearThiPostion = nullptr;
    QAction* MenuFileGetFilename = nullptr;
    QAction* MenuFileGetFoldername = nullptr;
    QAction* MenuFileCloseWithoutSetting = nullptr;
    // Index menus: entry n is sbSetIndex[n] (play, Tag 400 + n) and srSetIndex[n] (register,
    // Tag 500 + n); [0] is unused.
    QMenu* MenuIndexPlayTop = nullptr;
    QMenu* MenuIndexSettingTop = nullptr;
    QMenu* MenuIndexRegisterTop = nullptr;
    std::array<QAction*, kIndexEntries + 1> sbSetIndex{};
    std::array<QAction*, kIndexEntries + 1> srSetIndex{};
    QAction* MenuIndexSettingsAddClipboard = nullptr;
    QAction* MenuIndexSettingsProtecIndexEntry = nullptr;
    QAction* MenuIndexSttingsSaveAsCSV = nullptr;
    QAction* MenuIndexSettingsSaveTime = nullptr;
    QAction* MenuIndexSettngsRestore = nullptr;
    QAction* MenuIndexSttingsClearIndex = nullptr;
    // Settings menu
    QMenu* MenuSettings = nullptr;
    QAction* MenuSettingsSave = nullptr;  // the pedal status line
    QAction* MenuSettingDontUseCapsLockkey = nullptr;
    QAction* MenuSettingDontUseCtrlSpaceKey = nullptr;
    QAction* MenuSettingDontUseBackSpace = nullptr;
    QAction* MenuSettingDontUseInsert = nullptr;
    QAction* MenuSettingDontUseConvert = nullptr;
    QAction* MenuSettingDontUsePrintScr = nullptr;
    QAction* MenuSettingDontUseBackSlash = nullptr;
    QAction* MenuSettingDontUseAltPrintableKey = nullptr;
    QAction* MenuSettingDontUseRightSQBKT = nullptr;
    QAction* MenuSettingDontUseF1 = nullptr;
    QAction* MenuSettingDontUseF2 = nullptr;
    QAction* MenuSettingsDontSpeadVolumeChange = nullptr;
    QAction* MenuDontUseFootPedal = nullptr;
    QAction* MenuSettingKeepPanel = nullptr;
    QAction* MenuSettingsThisProgram = nullptr;
    QAction* MenuSettingsVersion = nullptr;
    QAction* MenuSettingsInitialize = nullptr;

    // The pedal's diagnostics, never shown.
    QWidget* GroupBoxFootPedalDiagnostics = nullptr;
    QLabel* LabelFootPedalCurrentState = nullptr;
    QLabel* LabelCurFootPadalState = nullptr;
    QLabel* LabelVolume = nullptr;
    QLabel* LabelPedalState = nullptr;
    QLabel* LabelPlayingstate = nullptr;

    TAboutBox* AboutBox = nullptr;

    // ---- Services ------------------------------------------------------------------------
    Clock& clock;
    Dialogs& dialogs;
    TransportController& transport() { return *transport_; }
    PedalController& pedal() { return *pedal_; }
    IndexController& index() { return *index_; }
    IndexCommands& indexCommands() { return *indexCommands_; }
    // Shut while the window closes and while a handler waits; see outside_entry.cpp.
    EntryGate& entryGate() { return gate_; }
    // Requests from outside. An open arriving while the gate is shut waits for it to open
    // again, the latest one replacing any earlier; one arriving while closing is dropped. A
    // quit arriving during a wait follows when the wait is over.
    // A web address (http or https link) is played as the URL panel plays it.
    void openFromOutside(const QString& path);
    void quitFromOutside();

    // ---- Start-up, main window and shutdown (app/) ---------------------------------------
    void FormCreate();
    void Initialize();
    void LabelInitialize();
    void TextInitialize();
    // The start-up sequence. False when the program must end at once (no settings file).
    bool FormShow();
    // A file (or several) dropped on the window.
    void DropFiles(const QStringList& paths);
    void FormMouseDown(Qt::MouseButton button, QPoint globalPos);
    void panelClicked();
    void ExpandSettingPanel();
    void CollapseSettingPanel();
    void FileReset();
    void Resettings();
    void ReleaseInitialize();
    void MenuSettingsInitializeClick();
    void MenuFileCloseWithSattingsClick();
    void MenuFileCloseWithoutSettingClick();
    void exitClicked();
    bool FormCloseQuery();
    // A failed write ends it with an error; the window then stays open.
    void FormClose();
    void FormDestroy();
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

    // ---- Settings file (app/) -------------------------------------------------------------
    void LoadIniSettings(const QString& path);
    void SaveIniSettings(const QString& path);
    void MenuFileAppearThiPostionClick();
    void MenuSettingsSaveClick() {}

    // ---- About box and version (app/) -----------------------------------------------------
    void MenuSettingsThisProgramClick();
    void MenuSettingsVersionClick();

    // ---- Transport: what the window shows of it and forwards to it (transport_view.cpp) --------
    void Delay(int ms);
    void MenuFileOpenClick();
    void openFileClicked();
    bool askForMediaFile(const QString& initialFolder, QString& fileName);
    void pauseForPicker();
    void setTimeClicked();
    void seekToTimeText(const QString& commaTime);
    void MenuFileGetFilenameClick();
    void MenuFileGetFoldernameClick();

    void playPauseClicked();

    void speedSwitchClicked();
    void skipClicked() {}

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

    // ---- URL panel (web_panel.cpp) -------------------------------------------------------
    void sbURLPasteClick();
    void sbURLgoClick();
    void sbOPenIEClick();
    const UrlPanel& urlPanel() const { return *urlPanel_; }

    // ---- Subsystems of later steps: their entry points do nothing yet --------------------
    void ProcessRegisterHotkey();
    void ProcessUnRegisterHotkey();
    // Lists on the keyboard tab the keys that stay with another program.
    void showKeysHeldElsewhere();
    // Says on the keyboard tab that no system-wide keys are to be had, why, and what instead.
    void showKeysUnavailable(const QString& reason);
    void CreateStringList() {}
    void FreeStringList() {}

    // Runs a handler; a player, settings-file or CSV-file error ends it with the standard error
    // box. False when it ended that way.
    bool guard(const std::function<void()>& handler);

    // Exit status the program should end with (non-zero when start-up refused to run).
    int exitCode() const { return exitCode_; }
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
    void connectTransport();   // transport_view.cpp
    void buildControls();      // main_form_ui.cpp
    void buildMenus();         // main_form_menus.cpp
    void buildSettingsTabs();  // main_form_tabs.cpp
    void wireSignals();        // main_form_wiring.cpp
    void wireIndex();          // main_form_wiring.cpp
    void wireUrlPanel();       // web_panel.cpp
    // The reset, then the address in the player with the position poll off and nothing of the
    // run saved at shutdown.
    void playWebAddress(const QString& address) override;
    // The settings table (settings_file.cpp): one row per setting.
    void buildSettingsTable();
    void resetSettingControls();
    void writeSettings(std::initializer_list<std::pair<QString, QString>> keys);
    void toggleSetting(const SettingRow& row);
    void chooseGroupItem(const SettingRow& row);

    std::unique_ptr<Clipboard> ownClipboard_;
    TransportController* transport_;
    PedalController* pedal_ = nullptr;
    void connectPedal();  // pedal_view.cpp
    IndexController* index_;
    IndexCommands* indexCommands_;
    HotkeyController* hotkeys_ = nullptr;
    void reregisterHotkeys();  // keyboard_view.cpp
    QLabel* keysUnavailableLabel_ = nullptr;
    std::vector<SettingRow> settings_;
    void runDeferred();

    EntryGate gate_;
    BrowserLauncher* browser_ = nullptr;
    UrlPanel* urlPanel_ = nullptr;
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
    bool closeFailed_ = false;
    bool manualMove_ = false;
    QPoint moveOffset_;
};
