// The controls of the main window: the top strip (bars, toolbar, time picker, labels), the
// settings panel and the timers. Menus and the contents of the tabs have files of their own.

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QTabWidget>
#include <QTimeEdit>
#include <QToolBar>
#include <QToolButton>

#include "app/fonts.h"
#include "app/main_window.h"
#include "app/toolbar_icons.h"
#include "transport/player_view.h"

namespace {
constexpr int kMenuHeight = 22;
constexpr int kStripHeight = MainWindow::kCollapsedHeight - kMenuHeight;  // 85
constexpr int kBarWidth = 317;
constexpr int kBarHeight = 23;
constexpr int kLabelColumn = MainWindow::kWidth - kBarWidth;  // 73

QLabel* makeLabel(QWidget* parent, int x, int y, int w, int h) {
    auto* label = new QLabel(parent);
    label->setGeometry(x, y, w, h);
    label->setFont(Fonts::ui(12));
    // Presses on labels move the window like presses on the bare window.
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}
}  // namespace

void MainWindow::buildControls() {
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(192, 192, 192));  // silver
    setPalette(pal);
    // Menus, message boxes and dialogs are windows of their own and do not take this window's
    // font; in Qt's default face their Japanese fell back to a second Gothic file (2.1 MiB
    // resident). One face for every widget.
    QApplication::setFont(Fonts::ui(12));
    setFont(Fonts::ui(12));
    setFixedSize(kWidth, kExpandedHeight);

    menuBar_ = new QMenuBar(this);
    menuBar_->setNativeMenuBar(false);
    buildMenus();
    // The menu bar must fit its five menus into the narrow window at the classic height.
    menuBar_->setStyleSheet(
        QStringLiteral("QMenuBar { padding: 0px; }"
                       "QMenuBar::item { padding: 2px 6px; margin: 0px; }"));
    menuBar_->setGeometry(0, 0, kWidth, kMenuHeight);
    menuBar_->setAccessibleName(QStringLiteral("メニュー"));

    // Labels left of the bars, top to bottom: the drop hint, the length and the playing time.
    dropHintLabel_ = makeLabel(this, 4, kMenuHeight + 1, kLabelColumn - 6, 15);
    dropHintLabel_->setText(QStringLiteral("↓ ここに"));
    dragHintLabel_ = makeLabel(this, 4, kMenuHeight + 16, kLabelColumn - 6, 15);
    lengthCaptionLabel_ = makeLabel(this, 4, kMenuHeight + 31, kLabelColumn - 6, 15);
    lengthLabel_ = makeLabel(this, 4, kMenuHeight + 46, kLabelColumn - 6, 15);
    playTimeLabel_ =
        makeLabel(this, 4, kMenuHeight + kStripHeight - kBarHeight + 2, kLabelColumn - 6, 19);
    QFont timeFont = Fonts::ui(13);
    timeFont.setBold(true);
    playTimeLabel_->setFont(timeFont);

    topPanel_ = new QWidget(this);
    topPanel_->setGeometry(kLabelColumn, kMenuHeight, kBarWidth, kStripHeight);

    volumeBar_ = new ProgressBar(topPanel_);
    volumeBar_->setGeometry(0, 0, kBarWidth, kBarHeight);
    volumeBar_->setBarColor1(QColor(255, 255, 0));
    volumeBar_->setMaximum(100);
    volumeBar_->setFont(Fonts::barRegular());
    volumeBar_->setAccessibleName(QStringLiteral("音量"));

    positionBar_ = new ProgressBar(topPanel_);
    positionBar_->setGeometry(0, kStripHeight - kBarHeight, kBarWidth, kBarHeight);
    positionBar_->setBarColor1(QColor(0, 255, 0));
    positionBar_->setBarColor2(QColor(0, 128, 0));
    positionBar_->setMaximum(0);
    positionBar_->setFont(Fonts::barBold());
    positionBar_->setAccessibleName(QStringLiteral("再生位置"));

    transportToolBar_ = new QToolBar(topPanel_);
    transportToolBar_->setGeometry(0, kBarHeight + 3, 206, kStripHeight - 2 * kBarHeight - 6);
    transportToolBar_->setIconSize(QSize(20, 20));
    transportToolBar_->setStyleSheet(
        QStringLiteral("QToolBar { spacing: 0px; padding: 0px; }"
                       "QToolButton { padding: 1px; margin: 0px; }"));
    transportToolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    transportToolBar_->setAccessibleName(QStringLiteral("再生制御"));
    auto addTool = [this](const QIcon& icon, const QString& hint) {
        QAction* action = transportToolBar_->addAction(icon, QString());
        action->setToolTip(hint);
        action->setStatusTip(hint);
        // An icon alone says nothing to a screen reader; the hint does.
        transportToolBar_->widgetForAction(action)->setAccessibleName(hint);
        return action;
    };
    playIcon_ = ToolbarIcons::play();
    pauseIcon_ = ToolbarIcons::pause();
    playPauseAction_ =
        addTool(playIcon_,
                QStringLiteral("再生（ Play ）／一時停止（ Pause ）【　英数 または Pauseキー 】"));
    speedSwitchAction_ = transportToolBar_->addAction(QStringLiteral("１．０"));
    speedSwitchAction_->setToolTip(
        QStringLiteral("再生速度を「１．０ 」 と 「 設定した 」速度との切換【 Ａｌｔ＋Space 】"));
    if (auto* speedButton =
            qobject_cast<QToolButton*>(transportToolBar_->widgetForAction(speedSwitchAction_))) {
        speedButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
        // Its name is the speed it shows; the hint tells what pressing it does.
        speedButton->setAccessibleDescription(speedSwitchAction_->toolTip());
    }
    skipAction_ = addTool(ToolbarIcons::skip(),
                          QStringLiteral("早戻し（ Ａｌｔ＋無変換 ）・早送り（ Ａｌｔ＋変換 ）"));
    panelAction_ = addTool(ToolbarIcons::panel(), QStringLiteral("設定パネルの開閉"));
    openFileAction_ =
        addTool(ToolbarIcons::openFile(), QStringLiteral("メディア（音声・動画）ファイルを開く"));
    exitAction_ = addTool(ToolbarIcons::exit(), QStringLiteral("終了"));

    timePickerPanel_ = new QWidget(topPanel_);
    timePickerPanel_->setGeometry(208, kBarHeight + 5, kBarWidth - 208, 28);
    auto* pickerLayout = new QHBoxLayout(timePickerPanel_);
    pickerLayout->setContentsMargins(0, 0, 2, 0);
    pickerLayout->setSpacing(2);
    timePicker_ = new QTimeEdit(timePickerPanel_);
    timePicker_->setDisplayFormat(QStringLiteral("H:mm:ss"));
    timePicker_->setFont(Fonts::ui(12));
    timePicker_->setAccessibleName(QStringLiteral("再生位置のセット"));
    setTimeButton_ = new QToolButton(timePickerPanel_);
    setTimeButton_->setIcon(ToolbarIcons::setTime());
    setTimeButton_->setAutoRaise(true);
    setTimeButton_->setToolTip(QStringLiteral("再生位置のセット（ ＝ 繰り返し再生位置 ）"));
    setTimeButton_->setAccessibleName(setTimeButton_->toolTip());
    pickerLayout->addWidget(timePicker_, 1);
    pickerLayout->addWidget(setTimeButton_);

    settingsPanel_ = new QWidget(this);
    settingsPanel_->setGeometry(0, kCollapsedHeight, kWidth, kExpandedHeight - kCollapsedHeight);
    settingsTabs_ = new QTabWidget(settingsPanel_);
    settingsTabs_->setGeometry(2, 2, kWidth - 4, kExpandedHeight - kCollapsedHeight - 4);
    buildSettingsTabs();
    nameControls();
}

void MainWindow::nameControls() {
    // Tests and screen readers find the controls by these names.
    const std::pair<QObject*, const char*> names[] = {
        {menuBar_, "menuBar"},
        {topPanel_, "topPanel"},
        {volumeBar_, "volumeBar"},
        {positionBar_, "positionBar"},
        {timePickerPanel_, "timePickerPanel"},
        {timePicker_, "timePicker"},
        {setTimeButton_, "setTimeButton"},
        {transportToolBar_, "transportToolBar"},
        {playPauseAction_, "playPauseAction"},
        {speedSwitchAction_, "speedSwitchAction"},
        {skipAction_, "skipAction"},
        {panelAction_, "panelAction"},
        {openFileAction_, "openFileAction"},
        {exitAction_, "exitAction"},
        {dropHintLabel_, "dropHintLabel"},
        {dragHintLabel_, "dragHintLabel"},
        {lengthCaptionLabel_, "lengthCaptionLabel"},
        {lengthLabel_, "lengthLabel"},
        {playTimeLabel_, "playTimeLabel"},
        {settingsPanel_, "settingsPanel"},
        {settingsTabs_, "settingsTabs"},
        {playerTab_, "playerTab"},
        {playbackTab_, "playbackTab"},
        {pedalTab_, "pedalTab"},
        {keysHelpTab_, "keysHelpTab"},
        {heldKeysLabel_, "heldKeysLabel"},
        {indexHelpTab_, "indexHelpTab"},
        {timeCodeHelpTab_, "timeCodeHelpTab"},
        {playerView_, "playerView"},
        {addressBox_, "addressBox"},
        {openInBrowserButton_, "openInBrowserButton"},
        {pasteAddressButton_, "pasteAddressButton"},
        {playAddressButton_, "playAddressButton"},
        {autoRewindGroup_, "autoRewindGroup"},
        {speedGroup_, "speedGroup"},
        {repeatIntervalGroup_, "repeatIntervalGroup"},
        {centrePedalGroup_, "centrePedalGroup"},
        {leftPedalGroup_, "leftPedalGroup"},
        {rightPedalGroup_, "rightPedalGroup"},
        {rewindStepGroup_, "rewindStepGroup"},
        {forwardStepGroup_, "forwardStepGroup"},
        {pedalModeGroup_, "pedalModeGroup"},
        {fileMenu_, "fileMenu"},
        {exitSavingSettingsAction_, "exitSavingSettingsAction"},
        {openMediaAction_, "openMediaAction"},
        {appearHereAction_, "appearHereAction"},
        {showFileNameAction_, "showFileNameAction"},
        {showFolderNameAction_, "showFolderNameAction"},
        {exitWithoutSavingIndexAction_, "exitWithoutSavingIndexAction"},
        {indexPlayMenu_, "indexPlayMenu"},
        {indexSettingsMenu_, "indexSettingsMenu"},
        {indexRegisterMenu_, "indexRegisterMenu"},
        {addClipboardNoteAction_, "addClipboardNoteAction"},
        {protectEntriesAction_, "protectEntriesAction"},
        {exportCsvAction_, "exportCsvAction"},
        {exportUtf8CsvAction_, "exportUtf8CsvAction"},
        {exportTextAction_, "exportTextAction"},
        {savePositionAction_, "savePositionAction"},
        {restorePositionAction_, "restorePositionAction"},
        {clearIndexAction_, "clearIndexAction"},
        {undoErasureAction_, "undoErasureAction"},
        {settingsMenu_, "settingsMenu"},
        {pedalStatusAction_, "pedalStatusAction"},
        {ignoreCapsLockAction_, "ignoreCapsLockAction"},
        {ignoreCtrlSpaceAction_, "ignoreCtrlSpaceAction"},
        {ignoreBackspaceAction_, "ignoreBackspaceAction"},
        {ignoreInsertAction_, "ignoreInsertAction"},
        {ignoreConvertKeysAction_, "ignoreConvertKeysAction"},
        {ignorePrintScreenAction_, "ignorePrintScreenAction"},
        {ignoreBackslashAction_, "ignoreBackslashAction"},
        {ignoreAltCharacterAction_, "ignoreAltCharacterAction"},
        {ignoreBracketKeyAction_, "ignoreBracketKeyAction"},
        {ignoreF1Action_, "ignoreF1Action"},
        {ignoreF2Action_, "ignoreF2Action"},
        {twoPedalsKeepSpeedAndVolumeAction_, "twoPedalsKeepSpeedAndVolumeAction"},
        {ignorePedalAction_, "ignorePedalAction"},
        {keepPanelOpenAction_, "keepPanelOpenAction"},
        {aboutAction_, "aboutAction"},
        {versionAction_, "versionAction"},
        {resetAction_, "resetAction"},
    };
    for (const auto& [object, name] : names)
        object->setObjectName(QLatin1String(name));
    for (int n = 1; n <= kIndexEntries; ++n) {
        playEntryActions_[n]->setObjectName(QStringLiteral("playEntryAction%1").arg(n));
        registerEntryActions_[n]->setObjectName(QStringLiteral("registerEntryAction%1").arg(n));
    }
}
