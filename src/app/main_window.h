#pragma once

#include <QIcon>
#include <QString>
#include <QWidget>
#include <array>

#include "controls/progress_bar.h"
#include "controls/radio_group.h"

class PlayerView;
class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QMenuBar;
class QTabWidget;
class QTimeEdit;
class QToolBar;
class QToolButton;
class AboutBox;
class Session;

inline constexpr int kIndexEntries = 29;

// The main window: its widgets, its place on the screen, the settings panel and the menus. It
// shows what the session and its controllers report and forwards its controls to the session in
// a line or two; the menu check marks, the settings panel's groups and the time picker are bound
// to the session's settings (setting_binders.h). Its state and its controls are private: tests and
// screen readers find a control by its object name, the member's name without the trailing
// underscore (see nameControls).
class MainWindow : public QWidget {
    Q_OBJECT
public:
    explicit MainWindow(Session& session, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The native window the player draws video into.
    quintptr videoWindowId();
    // Says on the keyboard tab that no system-wide keys are to be had, why, and what instead.
    void showKeysUnavailable(const QString& reason);

    // Height of the window with the settings panel shown, and collapsed.
    static constexpr int kExpandedHeight = 450;
    static constexpr int kCollapsedHeight = 107;
    static constexpr int kWidth = 390;

protected:
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // ---- Building (main_window_ui.cpp, main_window_menus.cpp, main_window_tabs.cpp)
    // ------------------
    void buildControls();
    void buildMenus();
    void buildSettingsTabs();
    void nameControls();
    void resetLabels();
    void wireSignals();       // main_window_wiring.cpp
    void bindSettings();      // main_window_wiring.cpp
    void wireUrlPanel();      // web_panel.cpp
    void connectTransport();  // transport_view.cpp
    void connectPedal();      // pedal_view.cpp
    void connectKeys();       // keyboard_view.cpp

    // ---- What the window does itself ---------------------------------------------------------
    // Its part of start-up: the labels, its place on a screen, the panel (startup.cpp).
    void showStarted(bool mediaRemembered);
    void showMediaReleased();
    void beginWindowMove(Qt::MouseButton button, QPoint globalPos);
    void togglePanel();
    void expandSettingsPanel();
    void collapseSettingsPanel();
    void showAboutBox();
    void showVersion();
    void exitProgram();
    void showPositionText(const QString& timeText);
    void showHeldKeys(const QStringList& combinations);
    void volumeBarDragged(int x, int y);
    void positionBarDragged(int x, int y);

    Session& session_;

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
    // Made once: every new icon leaves its pixmaps in Qt's pixmap cache, so painting one at
    // each play and pause grew the program by some 10 MB over a day.
    QIcon playIcon_;
    QIcon pauseIcon_;
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
    QAction* exportUtf8CsvAction_ = nullptr;
    QAction* exportTextAction_ = nullptr;
    QAction* savePositionAction_ = nullptr;
    QAction* restorePositionAction_ = nullptr;
    QAction* clearIndexAction_ = nullptr;
    QAction* undoErasureAction_ = nullptr;
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
    QLabel* keysUnavailableLabel_ = nullptr;

    // ---- Window state ------------------------------------------------------------------------
    bool panelCollapsed_ = false;
    bool positionDragging_ = false, volumeDragging_ = false;
    bool manualMove_ = false;
    QPoint moveOffset_;
};
