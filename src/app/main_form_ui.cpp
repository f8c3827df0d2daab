// The controls of the main window: the top strip (bars, toolbar, time picker, labels), the
// settings panel and the timers. Menus and the contents of the tabs have files of their own.

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QTabWidget>
#include <QTimeEdit>
#include <QToolBar>
#include <QToolButton>

#include "app/fonts.h"
#include "app/main_form.h"
#include "app/toolbar_icons.h"
#include "transport/player_view.h"

namespace {
constexpr int kMenuHeight = 22;
constexpr int kStripHeight = TAMainForm::kCollapsedHeight - kMenuHeight;  // 85
constexpr int kBarWidth = 317;
constexpr int kBarHeight = 23;
constexpr int kLabelColumn = TAMainForm::kWidth - kBarWidth;  // 73

QLabel* makeLabel(QWidget* parent, int x, int y, int w, int h) {
    auto* label = new QLabel(parent);
    label->setGeometry(x, y, w, h);
    label->setFont(Fonts::ui(12));
    // Presses on labels move the window like presses on the bare window.
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}
}  // namespace

void TAMainForm::buildControls() {
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(192, 192, 192));  // silver
    setPalette(pal);
    setFont(Fonts::ui(12));
    setFixedSize(kWidth, kExpandedHeight);

    MainMenu1 = new QMenuBar(this);
    MainMenu1->setNativeMenuBar(false);
    buildMenus();
    // The menu bar must fit its five menus into the narrow window at the classic height.
    MainMenu1->setStyleSheet(
        QStringLiteral("QMenuBar { padding: 0px; }"
                       "QMenuBar::item { padding: 2px 6px; margin: 0px; }"));
    MainMenu1->setGeometry(0, 0, kWidth, kMenuHeight);
    MainMenu1->setAccessibleName(QStringLiteral("メニュー"));

    // Labels left of the bars, top to bottom: the drop hint, the length and the playing time.
    dropHintLabel = makeLabel(this, 4, kMenuHeight + 1, kLabelColumn - 6, 15);
    dropHintLabel->setText(QStringLiteral("↓ ここに"));
    dragHintLabel = makeLabel(this, 4, kMenuHeight + 16, kLabelColumn - 6, 15);
    lengthCaptionLabel = makeLabel(this, 4, kMenuHeight + 31, kLabelColumn - 6, 15);
    lengthLabel = makeLabel(this, 4, kMenuHeight + 46, kLabelColumn - 6, 15);
    playTimeLabel =
        makeLabel(this, 4, kMenuHeight + kStripHeight - kBarHeight + 2, kLabelColumn - 6, 19);
    QFont timeFont = Fonts::ui(13);
    timeFont.setBold(true);
    playTimeLabel->setFont(timeFont);

    PanelTop = new QWidget(this);
    PanelTop->setGeometry(kLabelColumn, kMenuHeight, kBarWidth, kStripHeight);

    volumeBar = new TALProgressBar(PanelTop);
    volumeBar->setGeometry(0, 0, kBarWidth, kBarHeight);
    volumeBar->setBarColor1(QColor(255, 255, 0));
    volumeBar->setMax(100);
    volumeBar->setFont(Fonts::barRegular());
    volumeBar->setAccessibleName(QStringLiteral("音量"));

    positionBar = new TALProgressBar(PanelTop);
    positionBar->setGeometry(0, kStripHeight - kBarHeight, kBarWidth, kBarHeight);
    positionBar->setBarColor1(QColor(0, 255, 0));
    positionBar->setBarColor2(QColor(0, 128, 0));
    positionBar->setMax(0);
    positionBar->setFont(Fonts::barBold());
    positionBar->setAccessibleName(QStringLiteral("再生位置"));

    transportToolBar = new QToolBar(PanelTop);
    transportToolBar->setGeometry(0, kBarHeight + 3, 206, kStripHeight - 2 * kBarHeight - 6);
    transportToolBar->setIconSize(QSize(20, 20));
    transportToolBar->setStyleSheet(
        QStringLiteral("QToolBar { spacing: 0px; padding: 0px; }"
                       "QToolButton { padding: 1px; margin: 0px; }"));
    transportToolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    transportToolBar->setAccessibleName(QStringLiteral("再生制御"));
    auto addTool = [this](const QIcon& icon, const QString& hint) {
        QAction* action = transportToolBar->addAction(icon, QString());
        action->setToolTip(hint);
        action->setStatusTip(hint);
        // An icon alone says nothing to a screen reader; the hint does.
        transportToolBar->widgetForAction(action)->setAccessibleName(hint);
        return action;
    };
    playPauseAction =
        addTool(ToolbarIcons::play(),
                QStringLiteral("再生（ Play ）／一時停止（ Pause ）【　英数 または Pauseキー 】"));
    speedSwitchAction = transportToolBar->addAction(QStringLiteral("１．０"));
    speedSwitchAction->setToolTip(
        QStringLiteral("再生速度を「１．０ 」 と 「 設定した 」速度との切換【 Ａｌｔ＋Space 】"));
    if (auto* speedButton =
            qobject_cast<QToolButton*>(transportToolBar->widgetForAction(speedSwitchAction))) {
        speedButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
        // Its name is the speed it shows; the hint tells what pressing it does.
        speedButton->setAccessibleDescription(speedSwitchAction->toolTip());
    }
    skipAction = addTool(ToolbarIcons::skip(),
                         QStringLiteral("早戻し（ Ａｌｔ＋無変換 ）・早送り（ Ａｌｔ＋変換 ）"));
    panelAction = addTool(ToolbarIcons::panel(), QStringLiteral("設定パネルの開閉"));
    openFileAction =
        addTool(ToolbarIcons::openFile(), QStringLiteral("メディア（音声・動画）ファイルを開く"));
    exitAction = addTool(ToolbarIcons::exit(), QStringLiteral("終了"));

    PanelTimePicker = new QWidget(PanelTop);
    PanelTimePicker->setGeometry(208, kBarHeight + 5, kBarWidth - 208, 28);
    auto* pickerLayout = new QHBoxLayout(PanelTimePicker);
    pickerLayout->setContentsMargins(0, 0, 2, 0);
    pickerLayout->setSpacing(2);
    timePicker = new QTimeEdit(PanelTimePicker);
    timePicker->setDisplayFormat(QStringLiteral("H:mm:ss"));
    timePicker->setFont(Fonts::ui(12));
    timePicker->setAccessibleName(QStringLiteral("再生位置のセット"));
    setTimeButton = new QToolButton(PanelTimePicker);
    setTimeButton->setIcon(ToolbarIcons::setTime());
    setTimeButton->setAutoRaise(true);
    setTimeButton->setToolTip(QStringLiteral("再生位置のセット（ ＝ 繰り返し再生位置 ）"));
    setTimeButton->setAccessibleName(setTimeButton->toolTip());
    pickerLayout->addWidget(timePicker, 1);
    pickerLayout->addWidget(setTimeButton);

    PanelSettings = new QWidget(this);
    PanelSettings->setGeometry(0, kCollapsedHeight, kWidth, kExpandedHeight - kCollapsedHeight);
    PageControlSetting = new QTabWidget(PanelSettings);
    PageControlSetting->setGeometry(2, 2, kWidth - 4, kExpandedHeight - kCollapsedHeight - 4);
    buildSettingsTabs();
    // Tests and screen readers find the controls by these names.
    volumeBar->setObjectName(QStringLiteral("volumeBar"));
    positionBar->setObjectName(QStringLiteral("positionBar"));
    transportToolBar->setObjectName(QStringLiteral("transportToolBar"));
    timePicker->setObjectName(QStringLiteral("timePicker"));
    setTimeButton->setObjectName(QStringLiteral("setTimeButton"));
    playTimeLabel->setObjectName(QStringLiteral("playTimeLabel"));
    lengthLabel->setObjectName(QStringLiteral("lengthLabel"));
    lengthCaptionLabel->setObjectName(QStringLiteral("lengthCaptionLabel"));
    dragHintLabel->setObjectName(QStringLiteral("dragHintLabel"));
    dropHintLabel->setObjectName(QStringLiteral("dropHintLabel"));
    playPauseAction->setObjectName(QStringLiteral("playPauseAction"));
    speedSwitchAction->setObjectName(QStringLiteral("speedSwitchAction"));
    skipAction->setObjectName(QStringLiteral("skipAction"));
    panelAction->setObjectName(QStringLiteral("panelAction"));
    openFileAction->setObjectName(QStringLiteral("openFileAction"));
    exitAction->setObjectName(QStringLiteral("exitAction"));
}
