#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <functional>

#include "app/settings_table.h"
#include "controls/al_progress_bar.h"
#include "controls/radio_group.h"
#include "core/entry_gate.h"

class Clock;
class Dialogs;
class MediaPlayer;
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
};

inline constexpr int kIndexEntries = 29;

// The main window. It owns every piece of shared state and every control; each handler is a
// method of it, defined in the folder of the subsystem it belongs to. Handlers never catch the
// errors of the player or of the settings file: the guard around each connection does
// (see main_form_wiring.cpp).
class TAMainForm : public QWidget {
    Q_OBJECT
public:
    explicit TAMainForm(const FormServices& services, QWidget* parent = nullptr);
    ~TAMainForm() override;

    // ---- Shared state -------------------------------------------------------------------
    QString SettingsPath;
    QString ProgramFolder;
    QString PedalLibraryPath;
    QString SettingsPrefix;
    bool Started = false;
    bool SaveOnClose = false;
    bool PanelCollapsed = false;
    int WindowTop = 0, WindowLeft = 0;
    QString PendingMediaPath;
    bool PositionDragging = false, VolumeDragging = false;
    std::array<double, kIndexEntries + 1> IndexTime{};      // entries 1..29; [0] unused
    std::array<QString, kIndexEntries + 1> IndexComment{};  // entries 1..29; [0] unused
    bool IndexChanged = false;
    QString IndexFileName;
    bool PedalLibraryPresent = false, PedalReady = false;
    int PedalDeviceIndex = 0;
    int PedalBits = 0;
    int PedalLeftAction = 2, PedalCenterAction = 1, PedalRightAction = 3;
    bool SwitchOn = false, PressHandled = false, ReleaseResets = false;
    QString PedalReadyText, PedalNotReadyText, PedalOffText;

    // ---- Controls ------------------------------------------------------------------------
    QMenuBar* MainMenu1 = nullptr;
    QWidget* PanelTop = nullptr;
    TALProgressBar* ProgressBarVolume = nullptr;
    TALProgressBar* ProgressBarTimePosition = nullptr;
    QWidget* PanelTimePicker = nullptr;
    QTimeEdit* DateTimePickerSetting = nullptr;
    QToolButton* sbSetTime = nullptr;
    QToolBar* ToolBarMPCotrol = nullptr;
    QAction* ToolBarMPCotrol01Playpause = nullptr;
    QAction* ToolBarMPCotrol02Speed = nullptr;
    QAction* ToolBarMPCotrol03FwdBwd = nullptr;
    QAction* ToolBarMPCotrol04Setting = nullptr;
    QAction* ToolBarMPCotrol05OpenFile = nullptr;
    QAction* ToolBarMPCotrol05Exit = nullptr;
    QLabel* LabelKokoni = nullptr;
    QLabel* LabelMovePostion1 = nullptr;
    QLabel* LabelMovePostion0 = nullptr;
    QLabel* LabelDuartionTime = nullptr;
    QLabel* LabelPlayTime = nullptr;

    QWidget* PanelSettings = nullptr;
    QTabWidget* PageControlSetting = nullptr;
    QWidget* PageControlSettingTab01Screen = nullptr;
    QWidget* PageControlSettingTab02Speed = nullptr;
    QWidget* PageControlSettingTab03Pedal = nullptr;
    QWidget* PageControlSettingTab04Keyboard = nullptr;
    QWidget* PageControlSettingTab06DescIndex = nullptr;
    QWidget* PageControlSettingTab08Info = nullptr;
    PlayerView* WindowsMediaPlayer1View = nullptr;  // the player's picture and its own controls
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

    QTimer* TimerFootPedal = nullptr;
    QTimer* TimerSpeedUp = nullptr;
    QTimer* TimerVolumeUp = nullptr;

    TAboutBox* AboutBox = nullptr;

    // ---- Services ------------------------------------------------------------------------
    MediaPlayer& WindowsMediaPlayer1;
    Clock& clock;
    Dialogs& dialogs;
    TransportController& transport() { return *transport_; }
    // Shut while the window closes and while a handler waits; see outside_entry.cpp.
    EntryGate& entryGate() { return gate_; }
    // Requests from outside. An open arriving while the gate is shut waits for it to open
    // again, the latest one replacing any earlier; one arriving while closing is dropped. A
    // quit arriving during a wait follows when the wait is over.
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
    void ToolBarMPCotrol04SettingClick();
    void ExpandSettingPanel();
    void CollapseSettingPanel();
    void FileReset();
    void Resettings();
    void ReleaseInitialize();
    void MenuSettingsInitializeClick();
    void MenuFileCloseWithSattingsClick();
    void MenuFileCloseWithoutSettingClick();
    void ToolBarMPCotrol05ExitClick();
    bool FormCloseQuery();
    // A failed write ends it with an error; the window then stays open.
    void FormClose();
    void FormDestroy();
    // Where start-up looked for the settings file.
    QString settingsFolder() const { return ProgramFolder; }

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
    void ToolBarMPCotrol05OpenFileClick();
    bool OpenMediaDialog(const QString& initialFolder, QString& fileName);
    void DateTimeChange();
    void sbSetTimeClick();
    void SetTimePickerSetting(const QString& commaTime);
    void MenuFileGetFilenameClick();
    void MenuFileGetFoldernameClick();

    void ToolBarMPCotrol01PlaypauseClick();

    void ToolBarMPCotrol02SpeedClick();
    void ToolBarMPCotrol03FwdBwdClick() {}

    void DisplayProgressBarTime(const QString& timeText);
    void DisplayProgressSpeed(const QString& speedText);
    void DisplayProgressVolume(const QString& volumeText);
    void DisplayProgressVolumeBar(const QString& prefix, const QString& suffix);
    void ProgressBarVolumeMouseDown(Qt::MouseButton button, int x, int y);
    void ProgressBarVolumeMouseMove(int x, int y);
    void ProgressBarVolumeMouseUp(Qt::MouseButton button, int x, int y);
    void ProgressBarTimePositionMouseDown(Qt::MouseButton button, int x, int y);
    void ProgressBarTimePositionMouseMove(int x, int y);
    void ProgressBarTimePositionMouseUp(Qt::MouseButton button, int x, int y);
    void ProgressBarTimePositionClick();

    // ---- Subsystems of later steps: their entry points do nothing yet --------------------
    void ProcessRegisterHotkey();
    void ProcessUnRegisterHotkey();
    void FootPedalInitialize();
    void FootPedalSetup();
    void TimerFootPedalTimer();
    void TimerSpeedUpTimer();
    void TimerVolumeUpTimer();
    void ChangePedalCenter();
    void ChangePedalLeft();
    void ChangePedalRight();
    bool WriteIndexIniFile(const QString& path);
    bool ReadIndexIniFile(const QString& path);
    void CreateStringList() {}
    void FreeStringList() {}

    // ---- Index entries (index/) -----------------------------------------------------------
    void ClearIndex();
    static QString IndexEntryLabel(int n);

    // Runs a handler; a player or settings-file error ends it with the standard error box.
    // False when it ended that way.
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
    // The settings table (settings_file.cpp): one row per setting.
    void buildSettingsTable();
    void resetSettingControls();
    void writeSettings(std::initializer_list<std::pair<QString, QString>> keys);
    void toggleSetting(const SettingRow& row);
    void chooseGroupItem(const SettingRow& row);

    TransportController* transport_;
    std::vector<SettingRow> settings_;
    void runDeferred();

    EntryGate gate_;
    QString deferredOpen_;
    bool deferredQuit_ = false;
    int exitCode_ = 0;
    bool closeFailed_ = false;
    bool manualMove_ = false;
    QPoint moveOffset_;
};
